// The program's settings store: sections of named values, each an integer or a text,
// read with a default when missing. Implementations keep one value per name, so an integer
// written as text reads back through iGetInt and an integer reads back as its decimal text.
#pragma once

#include <string>
#include <string_view>

class Settings {
  public:
    virtual ~Settings() = default;

    // The stored integer; defaultValue when the value is missing or its text is not an integer
    // in the range of int.
    virtual int iGetInt(std::string_view section, std::string_view name,
                        int defaultValue) const = 0;
    virtual std::string GetText(std::string_view section, std::string_view name,
                                std::string_view defaultValue) const = 0;
    virtual void SetInt(std::string_view section, std::string_view name, int value) = 0;
    virtual void SetText(std::string_view section, std::string_view name,
                         std::string_view value) = 0;
    virtual bool bHasValue(std::string_view section, std::string_view name) const = 0;
    virtual void RemoveValue(std::string_view section, std::string_view name) = 0;
    // Persists the store; false when that failed (the previous persisted state is kept).
    virtual bool bFlush() = 0;
};
