// The settings store of the desktop program: QSettings in INI format, organisation
// "Brevik", application = the application title (user or machine-wide scope), or a given
// INI file. A section is a QSettings group; every value is stored as text.
#pragma once

#include <QSettings>
#include <memory>
#include <mutex>

#include "platform/Settings.h"

class OSettings_Qt : public Settings {
  public:
    OSettings_Qt(QSettings::Scope scope, const QString& organisation, const QString& application);
    explicit OSettings_Qt(const QString& iniFile);

    int iGetInt(std::string_view section, std::string_view name, int defaultValue) const override;
    std::string GetText(std::string_view section, std::string_view name,
                        std::string_view defaultValue) const override;
    void SetInt(std::string_view section, std::string_view name, int value) override;
    void SetText(std::string_view section, std::string_view name, std::string_view value) override;
    bool bHasValue(std::string_view section, std::string_view name) const override;
    void RemoveValue(std::string_view section, std::string_view name) override;
    bool bFlush() override;

    QString FileName() const;

  private:
    mutable std::mutex m_mutex;  // the device link's thread may read settings
    std::unique_ptr<QSettings> m_settings;
};
