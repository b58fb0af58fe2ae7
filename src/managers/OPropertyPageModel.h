// The headless side of the property pages of tools and data outputs: which pages an
// OPropertyList makes (in the order their titles first appear), the text each field starts
// with, and, when the user applies, the values of the fields he changed. The Qt page builder
// (managers/ui/OPropertyPages) makes one widget per property and feeds its text back here,
// so that parsing and range checks are the same for the desktop and kalvorctl.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "model/tools/OPropertyList.h"

class OPropertyPageModel {
  public:
    OPropertyPageModel() = default;
    explicit OPropertyPageModel(OPropertyList list);

    const OPropertyList& List() const { return m_list; }
    // Page titles in the order of their first property.
    std::vector<std::string> PageTitles() const;
    std::vector<const OProperty*> PropertiesOnPage(const std::string& title) const;

    // What a page shows of a list — names, kinds, starting texts, ranges and choices — as
    // one string: two lists with the same signature make the same pages.
    static std::string Signature(const OPropertyList& list);
    // The text a field starts with: the number in C locale with the property's decimals,
    // the text, the choice's number, "1" or "0" for a flag.
    static std::string EditText(const OProperty& property);
    const std::string& ShownText(const std::string& name) const;
    // What the field holds now.
    const std::string& Text(const std::string& name) const;
    void SetText(const std::string& name, std::string text);
    // Whether some field holds another text than it started with.
    bool bIsEdited() const;
    // Names of the fields whose text differs from the one they started with.
    std::vector<std::string> EditedNames() const;

    // The values of the edited fields. False when one of them does not parse or lies outside
    // its range: `error` says why, `failedName` names the field, and nothing is collected.
    bool bCollect(OPropertyValues& values, std::string& error, std::string& failedName) const;

  private:
    OPropertyList m_list;
    std::map<std::string, std::string, std::less<>> m_shown;
    std::map<std::string, std::string, std::less<>> m_texts;
};
