#include "model/tools/OPropertyList.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace PropertyList {
namespace {

std::string Lower(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

std::string NumberText(double value, int decimals) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", std::clamp(decimals, 0, 12), value);
    return buffer;
}

std::string RangeText(const OProperty& p) {
    const int decimals = p.kind == OPropertyKind::Real ? p.decimals : 0;
    return NumberText(p.minimum, decimals) + " ... " + NumberText(p.maximum, decimals);
}

bool bParseInteger(std::string_view text, int64_t& out) {
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end;
}

bool bParseReal(std::string_view text, double& out) {
    const auto* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && std::isfinite(out);
}

const OPropertyChoice* FindChoice(const OProperty& p, int64_t value) {
    for (const auto& c : p.choices) {
        if (c.value == value) {
            return &c;
        }
    }
    return nullptr;
}

}  // namespace

const OProperty* Find(const OPropertyList& list, std::string_view name) {
    for (const auto& p : list) {
        if (p.name == name) {
            return &p;
        }
    }
    return nullptr;
}

bool bParse(const OProperty& p, std::string_view rawText, OPropertyValue& value,
            std::string& error) {
    const std::string_view text = p.kind == OPropertyKind::Text ? rawText : Trim(rawText);
    switch (p.kind) {
        case OPropertyKind::Integer: {
            int64_t v = 0;
            if (!bParseInteger(text, v)) {
                error = p.label + ": \"" + std::string(text) + "\" is not a whole number.";
                return false;
            }
            value = v;
            break;
        }
        case OPropertyKind::Real: {
            double v = 0;
            if (!bParseReal(text, v)) {
                error = p.label + ": \"" + std::string(text) + "\" is not a number.";
                return false;
            }
            value = v;
            break;
        }
        case OPropertyKind::Text:
            value = std::string(text);
            break;
        case OPropertyKind::Choice: {
            int64_t v = 0;
            if (bParseInteger(text, v)) {
                value = v;
                break;
            }
            const std::string wanted = Lower(text);
            const auto it = std::find_if(p.choices.begin(), p.choices.end(),
                                         [&](const auto& c) { return Lower(c.text) == wanted; });
            if (it == p.choices.end()) {
                error = p.label + ": \"" + std::string(text) + "\" is not one of the choices.";
                return false;
            }
            value = it->value;
            break;
        }
        case OPropertyKind::Flag: {
            const std::string t = Lower(text);
            if (t == "1" || t == "true" || t == "yes" || t == "on") {
                value = true;
            } else if (t == "0" || t == "false" || t == "no" || t == "off") {
                value = false;
            } else {
                error = p.label + ": \"" + std::string(text) + "\" is neither on nor off.";
                return false;
            }
            break;
        }
    }
    return bValidate(p, value, error);
}

bool bValidate(const OProperty& p, const OPropertyValue& value, std::string& error) {
    if (p.readOnly) {
        error = p.label + " cannot be changed.";
        return false;
    }
    switch (p.kind) {
        case OPropertyKind::Integer:
        case OPropertyKind::Real: {
            double v = 0;
            if (const auto* i = std::get_if<int64_t>(&value)) {
                v = static_cast<double>(*i);
            } else if (const auto* d = std::get_if<double>(&value);
                       d && p.kind == OPropertyKind::Real) {
                v = *d;
            } else {
                error = p.label + ": a number is needed.";
                return false;
            }
            if (!std::isfinite(v) || v < p.minimum || v > p.maximum) {
                error = p.label + " must lie within " + RangeText(p) + ".";
                return false;
            }
            return true;
        }
        case OPropertyKind::Text: {
            const auto* s = std::get_if<std::string>(&value);
            if (!s) {
                error = p.label + ": a text is needed.";
                return false;
            }
            if (p.maxLength > 0 && static_cast<int>(s->size()) > p.maxLength) {
                error =
                    p.label + " may have at most " + std::to_string(p.maxLength) + " characters.";
                return false;
            }
            return true;
        }
        case OPropertyKind::Choice: {
            const auto* i = std::get_if<int64_t>(&value);
            if (!i || !FindChoice(p, *i)) {
                error = p.label + ": not one of the choices.";
                return false;
            }
            return true;
        }
        case OPropertyKind::Flag:
            if (!std::holds_alternative<bool>(value)) {
                error = p.label + ": on or off is needed.";
                return false;
            }
            return true;
    }
    return false;
}

bool bValidateAll(const OPropertyList& list, const OPropertyValues& values, std::string& error) {
    for (const auto& [name, value] : values) {
        const OProperty* p = Find(list, name);
        if (!p) {
            error = "There is no property \"" + name + "\".";
            return false;
        }
        if (!bValidate(*p, value, error)) {
            return false;
        }
    }
    return true;
}

OPropertyValues Merge(const OPropertyList& list, const OPropertyValues& values) {
    OPropertyValues merged;
    for (const auto& p : list) {
        merged[p.name] = p.value;
    }
    for (const auto& [name, value] : values) {
        merged[name] = value;
    }
    return merged;
}

bool bAnyChanged(const OPropertyList& list, const OPropertyValues& values) {
    for (const auto& [name, value] : values) {
        const OProperty* p = Find(list, name);
        if (!p) {
            return true;
        }
        const bool realAndInt = p->kind == OPropertyKind::Real;
        if (realAndInt) {
            if (dGet(values, name, 0) != dGet(OPropertyValues{{name, p->value}}, name, 0)) {
                return true;
            }
        } else if (!(p->value == value)) {
            return true;
        }
    }
    return false;
}

std::string Display(const OProperty& p) {
    return std::visit(
        [&](const auto& v) -> std::string {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>) {
                return v ? "on" : "off";
            } else if constexpr (std::is_same_v<T, std::string>) {
                return v;
            } else if constexpr (std::is_same_v<T, double>) {
                return NumberText(v, p.decimals);
            } else {
                if (p.kind == OPropertyKind::Choice) {
                    if (const auto* c = FindChoice(p, v)) {
                        return c->text;
                    }
                }
                return std::to_string(v);
            }
        },
        p.value);
}

int64_t iGet(const OPropertyValues& values, std::string_view name, int64_t fallback) {
    const auto it = values.find(name);
    if (it == values.end()) {
        return fallback;
    }
    if (const auto* i = std::get_if<int64_t>(&it->second)) {
        return *i;
    }
    if (const auto* d = std::get_if<double>(&it->second)) {
        return static_cast<int64_t>(std::llround(*d));
    }
    if (const auto* b = std::get_if<bool>(&it->second)) {
        return *b ? 1 : 0;
    }
    return fallback;
}

double dGet(const OPropertyValues& values, std::string_view name, double fallback) {
    const auto it = values.find(name);
    if (it == values.end()) {
        return fallback;
    }
    if (const auto* d = std::get_if<double>(&it->second)) {
        return *d;
    }
    if (const auto* i = std::get_if<int64_t>(&it->second)) {
        return static_cast<double>(*i);
    }
    return fallback;
}

std::string sGet(const OPropertyValues& values, std::string_view name, std::string fallback) {
    const auto it = values.find(name);
    if (it == values.end()) {
        return fallback;
    }
    if (const auto* s = std::get_if<std::string>(&it->second)) {
        return *s;
    }
    return fallback;
}

bool bGet(const OPropertyValues& values, std::string_view name, bool fallback) {
    const auto it = values.find(name);
    if (it == values.end()) {
        return fallback;
    }
    if (const auto* b = std::get_if<bool>(&it->second)) {
        return *b;
    }
    if (const auto* i = std::get_if<int64_t>(&it->second)) {
        return *i != 0;
    }
    return fallback;
}

OProperty Integer(std::string name, std::string label, std::string page, int64_t value,
                  int64_t minimum, int64_t maximum, std::string unit) {
    OProperty p;
    p.name = std::move(name);
    p.label = std::move(label);
    p.page = std::move(page);
    p.kind = OPropertyKind::Integer;
    p.value = value;
    p.minimum = static_cast<double>(minimum);
    p.maximum = static_cast<double>(maximum);
    p.unit = std::move(unit);
    return p;
}

OProperty Real(std::string name, std::string label, std::string page, double value, double minimum,
               double maximum, int decimals, std::string unit) {
    OProperty p;
    p.name = std::move(name);
    p.label = std::move(label);
    p.page = std::move(page);
    p.kind = OPropertyKind::Real;
    p.value = value;
    p.minimum = minimum;
    p.maximum = maximum;
    p.decimals = decimals;
    p.unit = std::move(unit);
    return p;
}

OProperty Text(std::string name, std::string label, std::string page, std::string value,
               int maxLength) {
    OProperty p;
    p.name = std::move(name);
    p.label = std::move(label);
    p.page = std::move(page);
    p.kind = OPropertyKind::Text;
    p.value = std::move(value);
    p.maxLength = maxLength;
    return p;
}

OProperty Choice(std::string name, std::string label, std::string page, int64_t value,
                 std::vector<OPropertyChoice> choices) {
    OProperty p;
    p.name = std::move(name);
    p.label = std::move(label);
    p.page = std::move(page);
    p.kind = OPropertyKind::Choice;
    p.value = value;
    p.choices = std::move(choices);
    return p;
}

OProperty Flag(std::string name, std::string label, std::string page, bool value) {
    OProperty p;
    p.name = std::move(name);
    p.label = std::move(label);
    p.page = std::move(page);
    p.kind = OPropertyKind::Flag;
    p.value = value;
    return p;
}

}  // namespace PropertyList
