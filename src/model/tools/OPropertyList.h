// Editable properties of tools and data outputs, described as data. Each tool or data-output
// kind lists what a user may change (name, kind of value, range or choices, unit, page);
// one page builder in the desktop renders the list, kalvorctl sets values by name, and
// applying always goes back through the object, which validates everything before it
// changes anything.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class OType_ZRPartSet;
class ZRINFO;

enum class OPropertyKind {
    Integer,  // whole number within [minimum, maximum]
    Real,     // number within [minimum, maximum], shown with `decimals` places
    Text,     // free text of at most `maxLength` characters (0: no limit)
    Choice,   // one of `choices`; the value is the choice's number
    Flag,     // on or off
};

using OPropertyValue = std::variant<int64_t, double, std::string, bool>;

struct OPropertyChoice {
    int64_t value = 0;
    std::string text;
};

struct OProperty {
    std::string name;   // stable key, used by kalvorctl and to apply ("region.left", "subkind")
    std::string label;  // what the page shows beside the field
    std::string page;   // title of the page the field is on
    OPropertyKind kind = OPropertyKind::Integer;
    OPropertyValue value;
    double minimum = 0;
    double maximum = 0;
    int decimals = 0;
    int maxLength = 0;
    std::string unit;
    std::vector<OPropertyChoice> choices;
    bool readOnly = false;
    std::string help;  // one line shown under the field, empty when none
};

using OPropertyList = std::vector<OProperty>;
// New values by property name.
using OPropertyValues = std::map<std::string, OPropertyValue, std::less<>>;

// What a description or an apply may depend on: the part set (feature lists for operands)
// and the device (image size, limits). Either may be missing.
struct OPropertyContext {
    const OType_ZRPartSet* partSet = nullptr;
    const ZRINFO* deviceInfo = nullptr;
};

namespace PropertyList {

// Finds a property by name; nullptr when the list has none.
const OProperty* Find(const OPropertyList& list, std::string_view name);

// Parses `text` as a value of `property` (numbers in C locale, a choice by its number or its
// text, a flag as 1/0/true/false/yes/no/on/off). False with `error` set when it does not fit
// the kind or the range.
bool bParse(const OProperty& property, std::string_view text, OPropertyValue& value,
            std::string& error);

// Checks a value against the property: the right kind, inside the range, a known choice,
// not read-only, not too long. Integer values are accepted for real properties.
bool bValidate(const OProperty& property, const OPropertyValue& value, std::string& error);

// Checks every value of `values` against `list` (unknown names refused). Nothing is changed;
// this is what an object's apply runs first so that a refused value applies nothing.
bool bValidateAll(const OPropertyList& list, const OPropertyValues& values, std::string& error);

// The current value of every property of `list`, overwritten by `values`: what the object
// would hold after applying them (for checks between fields).
OPropertyValues Merge(const OPropertyList& list, const OPropertyValues& values);
// Whether any of `values` differs from the current value in `list`.
bool bAnyChanged(const OPropertyList& list, const OPropertyValues& values);

// Value display in the pages and in kalvorctl ("12", "0.25", "on", the choice's text).
std::string Display(const OProperty& property);

// Typed access for appliers; the fallback when the name is missing.
int64_t iGet(const OPropertyValues& values, std::string_view name, int64_t fallback);
double dGet(const OPropertyValues& values, std::string_view name, double fallback);
std::string sGet(const OPropertyValues& values, std::string_view name, std::string fallback);
bool bGet(const OPropertyValues& values, std::string_view name, bool fallback);

// Builders used by the kinds when they describe themselves.
OProperty Integer(std::string name, std::string label, std::string page, int64_t value,
                  int64_t minimum, int64_t maximum, std::string unit = {});
OProperty Real(std::string name, std::string label, std::string page, double value, double minimum,
               double maximum, int decimals, std::string unit = {});
OProperty Text(std::string name, std::string label, std::string page, std::string value,
               int maxLength = 0);
OProperty Choice(std::string name, std::string label, std::string page, int64_t value,
                 std::vector<OPropertyChoice> choices);
OProperty Flag(std::string name, std::string label, std::string page, bool value);

}  // namespace PropertyList
