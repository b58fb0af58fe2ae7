// The model of the "Part properties" dialog (template 246): the comment, the part type and
// the orientation (or teach use) of one part, or of the selected parts of the shown list.
//
// Orientation entries: "ignored" first, then "1" up to the target's orientations; in a
// project without orientations "ignored" and "used", and the label becomes "Teach use:".
// Values that differ between the selected parts show as an empty comment or no entry and
// stay as they are unless the user chooses one.
#pragma once

#include <string>
#include <vector>

#include "platform/ODialogModel.h"

class OType_Part;
class OType_PartArray;
class OType_ProjectProperties;
struct OTargetSystem;

class ODlg_PartProperties : public ODialogModel {
  public:
    static constexpr int kTemplate = 246;
    enum class Control { Shown, Disabled, Hidden };

    // parts: the part the dialog is opened for, or the selected parts of the shown list;
    // sampleList: whether they are sample parts.
    ODlg_PartProperties(std::vector<OType_Part*> parts, bool sampleList,
                        const OType_ProjectProperties& properties, const OTargetSystem& target);

    std::string DialogName() const override { return "ODlg_PartProperties"; }
    bool bValidate(std::string& message) override;
    // Stores the values in the parts: the comment when it was changed; for sample parts also
    // the chosen type and orientation; test parts keep theirs.
    void OnOk() override;

    const std::vector<std::string>& TypeEntries() const { return m_typeEntries; }
    const std::vector<std::string>& OrientationEntries() const { return m_orientationEntries; }
    const std::string& OrientationLabel() const { return m_orientationLabel; }
    Control TypeControl() const { return m_typeControl; }
    Control OrientationControl() const { return m_orientationControl; }
    bool bForSampleParts() const { return m_sampleList; }
    int iGetNumParts() const { return static_cast<int>(m_parts.size()); }
    // Whether OK changed a value of a part.
    bool bChanged() const { return m_changed; }

    // The orientation entry of an orientation value; -1 when the entries have none.
    int iOrientationEntryOf(int orientation) const;
    // The orientation a part gets for an entry.
    int iOrientationOfEntry(int entry, int current) const;

    // --- the fields ---
    std::string comment;
    int typeEntry = -1;         // -1: no entry chosen
    int orientationEntry = -1;  // 0 "ignored", then the orientations (or "used")

  private:
    std::vector<OType_Part*> m_parts;
    bool m_sampleList;
    bool m_usesOrientations;
    std::vector<std::string> m_typeEntries;
    std::vector<std::string> m_orientationEntries;
    std::string m_orientationLabel;
    Control m_typeControl = Control::Shown;
    Control m_orientationControl = Control::Shown;
    std::string m_initialComment;
    int m_initialType = -1;
    int m_initialOrientation = -1;
    bool m_changed = false;
};
