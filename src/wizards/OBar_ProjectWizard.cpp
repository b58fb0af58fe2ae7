#include "wizards/OBar_ProjectWizard.h"

#include <algorithm>
#include <climits>

#include "classification/EvaluationRating.h"
#include "classification/OClassifier.h"
#include "device/OQuillon.h"
#include "device/TargetSystem.h"
#include "document/ODoc.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"

namespace {

using namespace WizardBarCommand;
using Icon = int;

constexpr int kEnoughParts = 10;

// Which of four texts a step uses: per part type or not, with or without orientations.
struct Mode {
    bool perType = false;
    bool orientations = false;  // orientations on and more than one possible
    const char* Pick(const char* typeOrientations, const char* type, const char* orientations_,
                     const char* plain) const {
        if (perType) return orientations ? typeOrientations : type;
        return orientations ? orientations_ : plain;
    }
};

class Builder {
  public:
    explicit Builder(const OWizardBarInput& in) : m_in(in) {
        m_mode.perType =
            TargetSystem::bIsSortingEdition(in.hardware) && in.useTypes && in.maxTypes > 1;
        m_mode.orientations = in.useOrientation && in.maxOrientations > 1;
    }

    std::vector<OWizardBarLine> Build() {
        Add("Prepare the device for the parts (e.g. mechanical settings, parameter etc.)",
            WizardBarIcon::kCheck, kStartMirrel);
        const int types = m_mode.perType ? static_cast<int>(m_in.types.size())
                                         : std::min<int>(1, static_cast<int>(m_in.types.size()));
        int untaught = -1;
        for (int t = 0; t < types; ++t) {
            const OWizardBarInput::Type& type = m_in.types[static_cast<size_t>(t)];
            if (!type.taught) {
                if (untaught < 0) untaught = t;
                continue;
            }
            TypeSteps(t, type);
        }
        if (m_mode.perType) TypeSeparation(untaught < 0 ? types : untaught);
        Add("Add the project documentation.", m_in.documented ? 3 : WizardBarIcon::kToDo,
            kProjectDocumentation);
        Add("Save the project.", m_in.modified ? WizardBarIcon::kToDo : 3, kSave);
        Add("The Teach-Data created in Kalvor have to be transfered to the device.",
            WizardBarIcon::kHeading, kCheckProgramManager);
        return std::move(m_lines);
    }

  private:
    void Add(std::string text, Icon icon, int command) {
        m_lines.push_back({std::move(text), icon, command});
    }
    void Detail(const std::string& text, int command) {
        Add("  " + text, WizardBarIcon::kDetail, command);
    }

    void TypeSteps(int t, const OWizardBarInput::Type& type) {
        const int n = t + 1;
        if (m_mode.perType)
            Add(FormatPrintf("Steps for type %d ...", n), WizardBarIcon::kHeading,
                kRecordSampleParts);
        const std::vector<int>& counts = type.sampleParts;
        const int orientations = static_cast<int>(counts.size());
        const int smallest = counts.empty() ? 0 : *std::min_element(counts.begin(), counts.end());

        // Sample parts.
        if (!(orientations == 1 && counts[0] == 0)) {
            for (int o = 0; o < orientations; ++o) {
                const int c = counts[static_cast<size_t>(o)];
                if (c >= kEnoughParts) continue;
                const char* format = m_mode.Pick(
                    "For type %d, orientation %d only %d parts were used.",
                    "For type %d only %d parts were used.",
                    "For Orientation %d only %d parts were used.", "Only %d parts were used.");
                std::string text;
                if (m_mode.perType && m_mode.orientations)
                    text = FormatPrintf(format, n, o + 1, c);
                else if (m_mode.perType)
                    text = FormatPrintf(format, n, c);
                else if (m_mode.orientations)
                    text = FormatPrintf(format, o + 1, c);
                else
                    text = FormatPrintf(format, c);
                Detail(text, kRecordSampleParts);
            }
        }
        Add(Numbered(m_mode.Pick("Teach type %d via device connection - show at least 10 sample "
                                 "parts per possible orientation.",
                                 "Teach type %d via device connection - show at least 10 sample "
                                 "parts.",
                                 "Teach via device connection - show at least 10 sample parts "
                                 "per possible orientation.",
                                 "Teach via device connection - show at least 10 sample parts."),
                     n),
            CountIcon(smallest), kRecordSampleParts);
        Add(Numbered(m_mode.Pick("Check the sample parts of type %d regarding their assigned "
                                 "orientation and quality.",
                                 "Check the sample parts of type %d regarding quality.",
                                 "Check the sample parts regarding their assigned orientation "
                                 "and quality.",
                                 "Check the sample parts regarding their quality."),
                     n),
            WizardBarIcon::kCheck, kPartContour);

        if (m_in.useOrientation && orientations >= 2) OrientationSeparation(n, type);
        TestSteps(n, type, orientations);
        ToolSteps(smallest);
        if (type.testParts > 0)
            Add("Check the test parts regarding their results.", WizardBarIcon::kCheck,
                kPartContour);
        if (TargetSystem::bIsCounterEdition(m_in.hardware)) {
            const Icon icon = type.counterTarget == 0   ? WizardBarIcon::kToDo
                              : type.counterTarget == 1 ? WizardBarIcon::kCheck
                                                        : 3;
            Add(m_mode.perType ? FormatPrintf("In case the counter for type %d will be used, set "
                                              "the required target counter value.",
                                              n)
                               : std::string("In case the counter will be used, set the required "
                                             "target counter value."),
                icon, kCounterProperties);
        }
    }

    void OrientationSeparation(int n, const OWizardBarInput::Type& type) {
        int lowest = 4;
        bool weak = false;
        for (size_t k = 1; k < type.separation.size(); ++k) {
            const int rating =
                m_in.teachError == 20 ? 0 : EvaluationRating::iRating(type.separation[k]);
            lowest = std::min(lowest, rating);
            if (rating > 2) continue;
            weak = true;
            const std::string& word = EvaluationRating::RatingText(rating);
            const int o = static_cast<int>(k) + 1;
            Detail(m_mode.perType
                       ? FormatPrintf("Separation of type %d, orient. %d to type %d, orient. %d "
                                      "is %s",
                                      n, 1, n, o, word)
                       : FormatPrintf("Separation of Orient. %d from Orient. %d is %s", 1, o, word),
                   kTeachData);
        }
        if (weak) {
            Detail("Check sample parts for correct orientation assignment.", kPartList);
            Detail("Add tools to improove the orientation detection", kPartContour);
        }
        Add(TargetSystem::bIsSortingEdition(m_in.hardware)
                ? FormatPrintf("Check for a reliable orientation detection at type %d.", n)
                : std::string("Check for a reliable orientation detection."),
            std::min(lowest, 3), kTeachData);
    }

    void TestSteps(int n, const OWizardBarInput::Type& type, int orientations) {
        const int average = orientations > 0 ? type.testParts / orientations : 0;
        if (average > 0 && average < kEnoughParts) {
            Detail(m_in.useOrientation
                       ? FormatPrintf("Per orientation an average of only %d test parts have "
                                      "been used.",
                                      average)
                       : FormatPrintf("Only %d test parts have been used.", average),
                   kRecordTestParts);
        }
        Add(Numbered(m_mode.Pick("Test type %d via device connection - show at least 10 test "
                                 "parts ( of good and bad quality in the different "
                                 "orientations) and check the result for each part.",
                                 "Test type %d via device connection - show at least 10 test "
                                 "parts (of good and bad quality) and check the result for "
                                 "each part.",
                                 "Test via device connection - show at least 10 test parts ( "
                                 "of good and bad quality in the different orientations) and "
                                 "check the result for each part.",
                                 "Test via device connection - show at least 10 test parts (of "
                                 "good and bad quality) and check the result for each part."),
                     n),
            CountIcon(average), kRecordTestParts);
    }

    void ToolSteps(int smallest) {
        if (smallest >= 1 && !m_in.newPlatform) {
            Add("For checking special details for quality, appropriate tools have to be added.",
                WizardBarIcon::kCheck, kPartContour);
        } else if (smallest >= 1 && m_in.tools > 0) {
            Detail(
                "Features of the tools can be used for quality inspection but also as "
                "reference values for other tools (e.g. for a their position)",
                kPartContour);
        } else if (smallest >= 1) {
            Add("The project does not contain any tools. Add tools according to your "
                "application requirements.",
                0, kPartContour);
            Detail(
                "Tools specify which and how features are calculated on a part. These "
                "features are used for the quality inspection etc.",
                kPartContour);
        } else if (m_in.newPlatform) {
            Add("The check program does not contain any sample parts.", 0, kPartContour);
            Detail("Tools can be added to the check program only if sample parts are available,",
                   kPartContour);
        }
    }

    void TypeSeparation(int firstUntaught) {
        if (firstUntaught < m_in.maxTypes) {
            Add(FormatPrintf("Steps for types %d bis %d ...", firstUntaught + 1, m_in.maxTypes),
                WizardBarIcon::kHeading, kRecordSampleParts);
            Add(FormatPrintf("Teach types %d to %d via device connection - show at least 10 "
                             "sample parts per possible orientation.",
                             firstUntaught + 1, m_in.maxTypes),
                WizardBarIcon::kToDo, kRecordSampleParts);
        }
        Add("Separation of the part types", WizardBarIcon::kHeading, kNone);
        const bool e21 = m_in.teachError == 21;
        if (e21) Add("[E21] - The differnt types can not be clearly separated.", 0, kTeachData);
        for (const OWizardBarInput::TypePair& p : m_in.typePairs) {
            const int rating = EvaluationRating::iRating(p.separation);
            if (rating > 2) continue;
            const std::string& word = EvaluationRating::RatingText(rating);
            Detail(m_in.useOrientation
                       ? FormatPrintf("Separation of type %d, orient. %d to type %d, orient. %d "
                                      "is %s",
                                      p.typeA + 1, p.orientationA + 1, p.typeB + 1,
                                      p.orientationB + 1, word)
                       : FormatPrintf("Separation of type %d to type %d is %s", p.typeA + 1,
                                      p.typeB + 1, word),
                   kTeachData);
        }
        if (e21) Detail("Add tools to improove the type separation.", kPartContour);
    }

    // A step text that names the type only in per-type mode.
    std::string Numbered(const char* format, int type) const {
        return m_mode.perType ? FormatPrintf(format, type) : std::string(format);
    }

    // The icon of a step resting on n parts: 7 none, 0 for 1-2, 1 for 3-5, 2 for 6-9, 3 more.
    static Icon CountIcon(int n) {
        return n <= 0 ? WizardBarIcon::kToDo : EvaluationRating::iPartCountIcon(n);
    }

    const OWizardBarInput& m_in;
    Mode m_mode;
    std::vector<OWizardBarLine> m_lines;
};

// Parts of a class: the type counts only when types are used, the orientation only when
// orientations are (then every assigned part counts).
bool bInClass(const OType_Part& part, int type, int orientation, bool useTypes,
              bool useOrientation) {
    if (useTypes && part.iGetType() != type) return false;
    if (part.iGetOrientation() <= 0) return false;
    return !useOrientation || orientation < 0 || part.iGetOrientation() == orientation;
}

int iCount(const OType_PartArray& parts, int type, int orientation, bool useTypes,
           bool useOrientation) {
    int n = 0;
    for (int i = 0; i < parts.iGetSize(); ++i)
        n += bInClass(*parts.GetAt_NoSort(i), type, orientation, useTypes, useOrientation);
    return n;
}

}  // namespace

OWizardBarInput OBar_ProjectWizard::Gather(ODoc& doc) {
    OWizardBarInput in;
    const OQuillon* session = doc.opGetSession();
    const OType_ZRPartSet* partSet = doc.opGetActualPartSet();
    if (!session) return in;
    const OTargetSystem& target = session->GetTargetSystem();
    in.useTypes = session->ProjectProperties().useTypes != 0;
    in.useOrientation = session->ProjectProperties().useOrientation != 0;
    in.maxTypes = in.useTypes ? std::max(1, target.partsInSet) : 1;
    in.maxOrientations = in.useOrientation ? std::max(1, target.orientations) : 1;
    in.hardware = target.hardware;
    in.newPlatform = session->bIsNewPlatformTarget();
    in.documented = !session->ProjectData().Get(ProjectField::ProjectNo).empty() &&
                    !session->ProjectData().Get(ProjectField::Engineer).empty();
    in.modified = doc.IsModified();
    if (!partSet) return in;
    in.tools = partSet->Tools().iGetNum();
    OClassifier* classifier = doc.opGetClassifier();
    in.teachError = classifier ? classifier->GetTeachError() : 0;

    const int types = std::min(partSet->iGetNum_SubTypes(), in.maxTypes);
    for (int t = 0; t < types; ++t) {
        const OType_ZRPartSet_SubType& record = *partSet->opGetSubType(t);
        OWizardBarInput::Type type;
        // Type 1 is always listed, so that a new project shows its first steps.
        type.taught = t == 0 || record.Vectors().iGetNum() > 0;
        type.counterTarget = record.iGetCounterTarget();
        const int orientations = in.useOrientation ? std::max(1, record.iGetNumOrientations()) : 1;
        for (int o = 0; o < orientations; ++o)
            type.sampleParts.push_back(
                iCount(partSet->TeachParts(), t + 1, o + 1, in.useTypes, in.useOrientation));
        type.testParts = iCount(partSet->TestParts(), t + 1, -1, in.useTypes, in.useOrientation);
        type.separation.assign(static_cast<size_t>(orientations), 0.0);
        if (classifier && record.bHasData()) {
            for (int k = 1; k < orientations; ++k)
                type.separation[static_cast<size_t>(k)] =
                    classifier->GetSeparation(t, 0, t, k, -1) * 100.0;
        }
        in.types.push_back(std::move(type));
    }
    if (!classifier) return in;
    for (int a = 0; a < types; ++a) {
        const OType_ZRPartSet_SubType& recordA = *partSet->opGetSubType(a);
        if (!recordA.bHasData()) continue;
        for (int b = a + 1; b < types; ++b) {
            const OType_ZRPartSet_SubType& recordB = *partSet->opGetSubType(b);
            if (!recordB.bHasData()) continue;
            const int orientationsA = in.useOrientation ? recordA.iGetNumOrientations() : 1;
            const int orientationsB = in.useOrientation ? recordB.iGetNumOrientations() : 1;
            for (int i = 0; i < orientationsA; ++i)
                for (int j = 0; j < orientationsB; ++j)
                    in.typePairs.push_back(
                        {a, i, b, j, classifier->GetSeparation(a, i, b, j, -1) * 100.0});
        }
    }
    return in;
}

std::vector<OWizardBarLine> OBar_ProjectWizard::Build(const OWizardBarInput& input) {
    return Builder(input).Build();
}
