#include "classification/OClassifier.h"

#include <algorithm>
#include <climits>

#include "classification/ClassificationStrings.h"
#include "classification/ClassifierSupport.h"
#include "classification/EvaluationRating.h"
#include "classification/OClassifierHost.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"

namespace {

constexpr int kMaxEvaluatedTypes = 16;

void AddRow(std::vector<OEvaluationRow>& rows, int icon, std::string text, int command) {
    OEvaluationRow row;
    row.icon = icon;
    row.indent = icon == EvaluationIcon::kIndentedAdvice;
    row.text = row.indent ? "  " + text : std::move(text);
    row.command = command;
    rows.push_back(std::move(row));
}

}  // namespace

void OClassifier::BuildEvaluationList(std::vector<OEvaluationRow>& rows) {
    using namespace EvaluationCommand;
    const OType_ZRPartSet* partSet = m_host.opGetActualPartSet();
    if (!partSet || !partSet->opGetSubType(partSet->iShowSubTypeGetNo())) return;
    const OType_ProjectProperties& properties = m_host.ProjectProperties();
    const bool useTypes = properties.useTypes != 0;
    const bool useOrientation = properties.useOrientation != 0;
    const bool showTypes = ClassifierSupport::bSupportsPartTypes(m_host.DeviceInfo()) && useTypes;
    const int teachError = GetTeachError();

    rows.clear();
    AddRow(rows, EvaluationIcon::kInformation,
           FormatPrintf("Used tools: %d", partSet->Tools().iGetNum()), kNone);
    AddFamilyEvaluationRows(*partSet, rows);

    int types = std::min(partSet->iGetNum_SubTypes(), kMaxEvaluatedTypes);
    if (!useTypes && types >= 2) types = 1;
    for (int type = 0; type < types; ++type) {
        const OType_ZRPartSet_SubType& record = *partSet->opGetSubType(type);
        const int orientations = record.iGetNumOrientations();
        if (orientations < 1) continue;

        int smallestCount = INT_MAX;
        int arrays = 0;
        for (int o = 0; o < orientations; ++o) {
            const OType_VectorArray* vectors = record.opGetVectorArray(o);
            if (!vectors) continue;
            ++arrays;
            const int count = vectors->iGetPartCount();
            smallestCount = std::min(smallestCount, count);
            if (orientations == 1 && count == 0) continue;
            std::string prefix;
            if (showTypes)
                prefix = FormatPrintf("%s %d", ResStr(ClassificationText::kTypeCaption), type + 1);
            if (useOrientation) {
                prefix += FormatPrintf(prefix.empty() ? "%s %d" : ", %s %d",
                                       ResStr(ClassificationText::kOrientationShortCaption), o + 1);
            }
            std::string text = FormatPrintf("%d parts were used.", count);
            if (!prefix.empty()) text = prefix + ": " + text;
            AddRow(rows, EvaluationRating::iPartCountIcon(count), std::move(text),
                   kRecordSampleParts);
        }
        if (arrays == 0 || smallestCount <= 0) continue;

        int worst = teachError == 20 ? 0 : 10;
        if (showTypes)
            AddRow(rows, EvaluationIcon::kInformation,
                   FormatPrintf("%s %d:", "Part type", type + 1), kRecordSampleParts);
        if (useOrientation) {
            const int taught = record.bHasData() ? orientations : 0;
            AddRow(rows, taught == 0 ? 0 : EvaluationIcon::kInformation,
                   FormatPrintf("Teached Orientations: %d", taught), kNone);
            bool advise = false;
            for (int k = 2; k <= taught; ++k) {
                const int rating =
                    EvaluationRating::iRating(GetSeparation(type, 0, type, k - 1, -1) * 100.0);
                AddRow(rows, rating,
                       FormatPrintf("Separation of Orient. %d from Orient. %d is %s", 1, k,
                                    EvaluationRating::RatingText(rating)),
                       kTeachData);
                worst = std::min(worst, rating);
                if (rating < 3) advise = true;
                if (advise) {
                    AddRow(rows, EvaluationIcon::kIndentedAdvice,
                           "Check sample parts for correct orientation assignment.", kPartList);
                    AddRow(rows, EvaluationIcon::kIndentedAdvice,
                           "Add tools to improove the orientation detection", kPartContour);
                }
            }
        }
        const int creationIcon =
            record.iGetNumFeatures() == 0 || worst == 0 ? 0 : std::min(worst, 3);
        AddRow(rows, creationIcon, "Creation of teach data", kTeachData);
    }

    int worstTypeRating = 10000;
    if (showTypes) {
        AddRow(rows, EvaluationIcon::kInformation, "Separation of the part types", kNone);
        if (teachError == 21)
            AddRow(rows, 0, "[E21] - The differnt types can not be clearly separated.", kTeachData);
        for (int a = 0; a < types; ++a) {
            const OType_ZRPartSet_SubType& recordA = *partSet->opGetSubType(a);
            if (!recordA.bHasData()) continue;
            for (int b = a + 1; b < types; ++b) {
                const OType_ZRPartSet_SubType& recordB = *partSet->opGetSubType(b);
                if (!recordB.bHasData()) continue;
                const int orientationsA = useOrientation ? recordA.iGetNumOrientations() : 1;
                const int orientationsB = useOrientation ? recordB.iGetNumOrientations() : 1;
                for (int i = 0; i < orientationsA; ++i) {
                    for (int j = 0; j < orientationsB; ++j) {
                        const int rating =
                            EvaluationRating::iRating(GetSeparation(a, i, b, j, -1) * 100.0);
                        const std::string& word = EvaluationRating::RatingText(rating);
                        std::string text =
                            useOrientation ? FormatPrintf(
                                                 "Separation of type %d, orient. %d to type %d, "
                                                 "orient. %d is %s",
                                                 a + 1, i + 1, b + 1, j + 1, word)
                                           : FormatPrintf("Separation of type %d to type %d is %s",
                                                          a + 1, b + 1, word);
                        AddRow(rows, std::min(rating, 3), std::move(text), kTeachData);
                        worstTypeRating = std::min(worstTypeRating, rating);
                    }
                }
            }
        }
    }
    if (worstTypeRating < 3 || teachError == 21)
        AddRow(rows, EvaluationIcon::kIndentedAdvice, "Add tools to improove the type separation.",
               kPartContour);
}
