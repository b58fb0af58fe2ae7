#include "document/ODlg_PartProperties.h"

#include <algorithm>
#include <cstdlib>

#include "device/TargetSystem.h"
#include "model/part/OType_Part.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/CodePage.h"
#include "model/strings/ResStr.h"

namespace {

constexpr int kIgnored = 2184;
constexpr int kUsed = 2228;
constexpr int kTeachUseLabel = 2229;
constexpr int kNotConvertible = 20407;
constexpr const char* kOrientationLabel = "Orientation:";

// The value common to every part, or `differs` when two parts disagree.
template <typename Value, typename Get>
Value Common(const std::vector<OType_Part*>& parts, Get get, Value differs) {
    if (parts.empty()) return differs;
    const Value first = get(*parts.front());
    for (const OType_Part* part : parts) {
        if (get(*part) != first) return differs;
    }
    return first;
}

}  // namespace

ODlg_PartProperties::ODlg_PartProperties(std::vector<OType_Part*> parts, bool sampleList,
                                         const OType_ProjectProperties& properties,
                                         const OTargetSystem& target)
    : m_parts(std::move(parts)),
      m_sampleList(sampleList),
      m_usesOrientations(properties.useOrientation != 0) {
    const bool usesTypes = properties.useTypes != 0;
    const int types = usesTypes ? std::max(1, target.partsInSet) : 1;
    for (int t = 1; t <= types; ++t)
        m_typeEntries.push_back(std::to_string(t));
    m_orientationEntries.push_back(ResStr(kIgnored));
    if (m_usesOrientations) {
        for (int o = 1; o <= target.orientations; ++o)
            m_orientationEntries.push_back(std::to_string(o));
        m_orientationLabel = kOrientationLabel;
    } else {
        m_orientationEntries.push_back(ResStr(kUsed));
        m_orientationLabel = ResStr(kTeachUseLabel);
    }
    const bool severalTypes = usesTypes && target.partsInSet > 1;
    if (sampleList) {
        m_typeControl = severalTypes ? Control::Shown : Control::Hidden;
        m_orientationControl = Control::Shown;
    } else {
        m_typeControl = severalTypes ? Control::Disabled : Control::Hidden;
        m_orientationControl =
            m_usesOrientations && target.orientations > 1 ? Control::Disabled : Control::Hidden;
    }

    comment = Common<std::string>(
        m_parts, [](const OType_Part& p) { return p.GetComment(); }, std::string());
    const int type = Common<int>(
        m_parts, [](const OType_Part& p) { return p.iGetType(); }, 0);
    typeEntry = type >= 1 && type <= static_cast<int>(m_typeEntries.size()) ? type - 1 : -1;
    const int entry = Common<int>(
        m_parts, [this](const OType_Part& p) { return iOrientationEntryOf(p.iGetOrientation()); },
        -1);
    orientationEntry = entry;
    m_initialComment = comment;
    m_initialType = typeEntry;
    m_initialOrientation = orientationEntry;
}

int ODlg_PartProperties::iOrientationEntryOf(int orientation) const {
    if (orientation < 0) return 0;
    if (orientation == 0) return -1;
    if (!m_usesOrientations) return 1;
    return orientation < static_cast<int>(m_orientationEntries.size()) ? orientation : -1;
}

int ODlg_PartProperties::iOrientationOfEntry(int entry, int current) const {
    // An ignored part keeps its orientation behind the sign; an unassigned one becomes
    // orientation 1 when it is used or ignored.
    const int magnitude = std::max(1, std::abs(current));
    if (entry == 0) return -magnitude;
    if (!m_usesOrientations) return magnitude;
    return entry;
}

bool ODlg_PartProperties::bValidate(std::string& message) {
    message.clear();
    if (comment != m_initialComment && !bIsConvertibleToAnsi(comment)) {
        message = ResStr(kNotConvertible);
        return false;
    }
    return true;
}

void ODlg_PartProperties::OnOk() {
    const bool commentChanged = comment != m_initialComment;
    // A type or orientation is taken when the user chose another entry; one that differed
    // between the parts stays as it is unless the user chose one.
    const bool takeType = m_sampleList && m_typeControl == Control::Shown && typeEntry >= 0 &&
                          typeEntry < static_cast<int>(m_typeEntries.size()) &&
                          typeEntry != m_initialType;
    const bool takeOrientation = m_sampleList && orientationEntry >= 0 &&
                                 orientationEntry < static_cast<int>(m_orientationEntries.size()) &&
                                 orientationEntry != m_initialOrientation;
    m_changed = false;
    for (OType_Part* part : m_parts) {
        if (commentChanged && part->GetComment() != comment) {
            part->SetComment(comment);
            m_changed = true;
        }
        if (takeType && part->iGetType() != typeEntry + 1) {
            part->SetType(typeEntry + 1);
            m_changed = true;
        }
        if (takeOrientation) {
            const int orientation = iOrientationOfEntry(orientationEntry, part->iGetOrientation());
            if (orientation != part->iGetOrientation()) {
                part->SetOrientation(orientation);
                m_changed = true;
            }
        }
    }
}
