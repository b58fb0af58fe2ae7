#include "managers/OPropertyPageModel.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace {

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

const std::string kEmpty;

}  // namespace

OPropertyPageModel::OPropertyPageModel(OPropertyList list) : m_list(std::move(list)) {
    for (const OProperty& p : m_list) {
        m_shown[p.name] = EditText(p);
        m_texts[p.name] = m_shown[p.name];
    }
}

std::vector<std::string> OPropertyPageModel::PageTitles() const {
    std::vector<std::string> titles;
    for (const OProperty& p : m_list) {
        if (std::find(titles.begin(), titles.end(), p.page) == titles.end())
            titles.push_back(p.page);
    }
    return titles;
}

std::vector<const OProperty*> OPropertyPageModel::PropertiesOnPage(const std::string& title) const {
    std::vector<const OProperty*> out;
    for (const OProperty& p : m_list) {
        if (p.page == title) out.push_back(&p);
    }
    return out;
}

std::string OPropertyPageModel::EditText(const OProperty& p) {
    switch (p.kind) {
        case OPropertyKind::Choice:
            return std::to_string(PropertyList::iGet({{p.name, p.value}}, p.name, 0));
        case OPropertyKind::Flag:
            return PropertyList::bGet({{p.name, p.value}}, p.name, false) ? "1" : "0";
        default:
            return PropertyList::Display(p);
    }
}

std::string OPropertyPageModel::Signature(const OPropertyList& list) {
    std::string signature;
    for (const OProperty& p : list) {
        signature += p.name + '\x1f' + p.page + '\x1f' + p.label + '\x1f' +
                     std::to_string(static_cast<int>(p.kind)) + '\x1f' + EditText(p) + '\x1f' +
                     std::to_string(p.minimum) + '\x1f' + std::to_string(p.maximum) + '\x1f' +
                     (p.readOnly ? "r" : "w");
        for (const OPropertyChoice& c : p.choices)
            signature += '\x1f' + std::to_string(c.value) + '=' + c.text;
        signature += '\x1e';
    }
    return signature;
}

const std::string& OPropertyPageModel::ShownText(const std::string& name) const {
    const auto it = m_shown.find(name);
    return it == m_shown.end() ? kEmpty : it->second;
}

const std::string& OPropertyPageModel::Text(const std::string& name) const {
    const auto it = m_texts.find(name);
    return it == m_texts.end() ? kEmpty : it->second;
}

void OPropertyPageModel::SetText(const std::string& name, std::string text) {
    const auto it = m_texts.find(name);
    if (it != m_texts.end()) it->second = std::move(text);
}

std::vector<std::string> OPropertyPageModel::EditedNames() const {
    std::vector<std::string> names;
    for (const OProperty& p : m_list) {
        const std::string& now = Text(p.name);
        const std::string& shown = ShownText(p.name);
        // Blanks around a number are no change; in a text field they are.
        const bool changed =
            p.kind == OPropertyKind::Text ? now != shown : Trimmed(now) != Trimmed(shown);
        if (changed && !p.readOnly) names.push_back(p.name);
    }
    return names;
}

bool OPropertyPageModel::bIsEdited() const {
    return !EditedNames().empty();
}

bool OPropertyPageModel::bCollect(OPropertyValues& values, std::string& error,
                                  std::string& failedName) const {
    OPropertyValues collected;
    for (const std::string& name : EditedNames()) {
        const OProperty& p = *PropertyList::Find(m_list, name);
        OPropertyValue value;
        if (!PropertyList::bParse(p, Text(name), value, error)) {
            failedName = name;
            return false;
        }
        collected[name] = std::move(value);
    }
    values = std::move(collected);
    return true;
}
