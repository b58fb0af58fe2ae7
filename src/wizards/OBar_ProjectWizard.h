// The checklist of the "Project Wizard Bar": the next steps of building a project by hand,
// each with a status icon and the command that opens the view or starts the action it names.
// The bar rebuilds it from the project on every view refresh; the window only shows it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ODoc;

// Icons of a checklist line: 0..4 rate from bad to good (4 also marks headings), 5 a step to
// check, 6 an indented detail line, 7 a step not yet done.
namespace WizardBarIcon {
inline constexpr int kHeading = 4;
inline constexpr int kCheck = 5;
inline constexpr int kDetail = 6;
inline constexpr int kToDo = 7;
}  // namespace WizardBarIcon

// The commands behind the lines.
namespace WizardBarCommand {
inline constexpr int kNone = 0;
inline constexpr int kStartMirrel = 32912;
inline constexpr int kRecordSampleParts = 32883;
inline constexpr int kRecordTestParts = 32884;
inline constexpr int kPartContour = 32860;
inline constexpr int kTeachData = 32861;
inline constexpr int kPartList = 32862;
inline constexpr int kCounterProperties = 32878;
inline constexpr int kProjectDocumentation = 32889;
inline constexpr int kSave = 57603;
inline constexpr int kCheckProgramManager = 32915;
}  // namespace WizardBarCommand

struct OWizardBarLine {
    std::string text;  // detail lines begin with two blanks
    int icon = 0;
    int command = WizardBarCommand::kNone;
    bool operator==(const OWizardBarLine&) const = default;
};

// What the checklist is built from.
struct OWizardBarInput {
    struct Type {
        bool taught = false;             // has an orientation record
        std::vector<int> sampleParts;    // per orientation
        int testParts = 0;               // of all orientations
        std::vector<double> separation;  // orientation k from orientation 1, index k; [0] unused
        uint32_t counterTarget = 1;
    };
    struct TypePair {
        int typeA = 0, orientationA = 0, typeB = 0, orientationB = 0;  // 0-based
        double separation = 0.0;
    };

    bool useTypes = false;
    bool useOrientation = false;
    int maxTypes = 1;         // T
    int maxOrientations = 1;  // O
    int hardware = 0;
    bool newPlatform = false;
    int tools = 0;
    int teachError = 0;
    std::vector<Type> types;  // the part types of the active check program
    std::vector<TypePair> typePairs;
    bool documented = false;  // project number and engineer filled in
    bool modified = false;
};

class OBar_ProjectWizard {
  public:
    static constexpr const char* kTitle = "Project Wizard Bar";

    // The input from the open project (an empty one without a check program).
    static OWizardBarInput Gather(ODoc& doc);
    static std::vector<OWizardBarLine> Build(const OWizardBarInput& input);
};
