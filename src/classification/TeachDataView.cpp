#include "classification/TeachDataView.h"

#include <algorithm>
#include <cmath>

#include "classification/ClassificationStrings.h"
#include "classification/OClassifier.h"
#include "device/TargetSystem.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"

namespace TeachDataView {

namespace {

constexpr double kExponentFrom = 100000.0;
const std::string kExcluded = " -- ";

constexpr uint32_t kClassColours[] = {0x000000, 0x00FF00, 0xFF00FF, 0xFFFF00, 0xFF0000,
                                      0x00FFFF, 0xFF7F00, 0x007FFF, 0x7F7FFF};

std::vector<OColumn> Columns() {
    using namespace ClassificationText;
    return {
        {ResStr(kListNumberHeader), 15, false, true},
        {ResStr(kListToolHeader), 80, false, false},
        {"Feature:", 100, false, false},
        {"Separates:", 60, false, false},
        {"Tol. F.:", 50, false, false},
        {"Min:", 75, true, true},
        {"Tol.:", 35, true, false},
        {"Mean:", 75, true, true},
        {"Max:", 75, true, true},
        {"Tol.:", 30, true, false},
    };
}

// The tool column: the tool's name on its first feature only.
std::string ToolCell(const OType_ZRPartSet& partSet, const OType_VectorArray& vectors, int i) {
    const int toolId = vectors.At(i).toolId;
    if (toolId < 0) return {};
    if (i > 0 && vectors.At(i - 1).toolId == toolId) return {};
    const OType_ConfigTool* tool = partSet.Tools().opFindById(toolId);
    if (!tool) return " - ";
    if (tool->GetName().empty()) return ResStr(ClassificationText::kToolWithoutName);
    return tool->GetName();
}

// The classes this feature separates from the shown class.
std::string SeparatesCell(const OClassifier& classifier, int type, int orientation, int feature,
                          bool severalTypes) {
    std::string text;
    for (int t = 0; t < classifier.iGetTypeCount(); ++t) {
        for (int o = 0; o < classifier.iGetOrientationCount(t); ++o) {
            if (t == type && o == orientation) continue;
            if (classifier.iGetSeparatingFeature(type, orientation, t, o) != feature) continue;
            text +=
                severalTypes ? FormatPrintf("->%d/%d", t + 1, o + 1) : FormatPrintf("->%d", o + 1);
        }
    }
    return text;
}

ORow FeatureRow(const OClassifier& classifier, const OType_ZRPartSet& partSet,
                const OType_VectorArray& vectors, int i, int type, int orientation,
                int typeTolerance, int displayMode) {
    const OType_Vector& v = vectors.At(i);
    const int option = static_cast<int>(v.option & 7u);
    ORow row;
    row.icon = iRowIcon(option, displayMode);
    row.cells[0] = FormatPrintf("%d.", i + 1);
    row.cells[1] = ToolCell(partSet, vectors, i);
    row.cells[2] = v.name;
    row.cells[3] = SeparatesCell(classifier, type, orientation, i, partSet.iGetNum_SubTypes() > 1);
    if (v.factor != 1.0) row.cells[4] = FormatFactor(v.factor);
    if (option == 1) {
        row.cells[5] = row.cells[7] = row.cells[8] = kExcluded;
        return row;
    }
    if (v.textFeature) {
        row.cells[7] = v.classText;
        return row;
    }
    row.cells[5] = FormatValue(displayMode == 1 ? v.minimum : v.lowerBound);
    row.cells[7] = FormatValue(v.mean);
    row.cells[8] = FormatValue(displayMode == 1 ? v.maximum : v.upperBound);
    OClassCell cell;
    if (classifier.bGetCell(type, orientation, i, cell)) {
        row.cells[6] = ToleranceCell(cell.usedToleranceBelow, v.factor, typeTolerance);
        row.cells[9] = ToleranceCell(cell.usedToleranceAbove, v.factor, typeTolerance);
    }
    return row;
}

// Columns 4, 6 and 9 take no room unless a row shows something in them.
void HideEmptyOptionalColumns(ODisplay& display) {
    for (int column : {4, 6, 9}) {
        const bool used = std::any_of(display.rows.begin(), display.rows.end(),
                                      [column](const ORow& r) { return !r.cells[column].empty(); });
        if (!used) display.columns[column].width = 0;
    }
}

}  // namespace

uint32_t ClassColour(int orientation) {
    return orientation >= 1 && orientation <= 8 ? kClassColours[orientation] : kClassColours[0];
}

std::string FormatValue(double value) {
    return FormatPrintf(std::fabs(value) >= kExponentFrom ? "%05.4le" : "%05.2lf", value);
}

std::string FormatFactor(double factor) {
    return FormatPrintf(std::fabs(factor) >= kExponentFrom ? "%03.4le" : "%03.2lf", factor);
}

int iRowIcon(int option, int displayMode) {
    switch (option) {
        case 1:
            return 2;
        case 2:
            return 5;
        case 3:
            return 1;
        default:
            return displayMode == 1 ? 0 : 4;
    }
}

std::string ToleranceCell(int usedTolerance, double factor, int typeTolerance) {
    const double used = usedTolerance * factor;
    if (used == static_cast<double>(typeTolerance)) return {};
    if (usedTolerance == typeTolerance) return FormatPrintf("%2.2lf%%", used);
    return FormatPrintf("[%2.2lf%%]", used);
}

int iNextTolerance(int value, int delta) {
    const int current = std::clamp(value, 0, kMaxTolerance);
    if (delta > 0) return current < kMaxTolerance ? current + 1 : 0;
    if (delta < 0) return current > 0 ? current - 1 : kMaxTolerance;
    return current;
}

std::string ComposeErrorText(int teachError, const std::string& e20List, const std::string& e21List,
                             const std::string& warningList) {
    const char* kFormat = "%s\r\n%s\r\n%s\r\n%s";
    const std::string kSimilar = "->Orientations/types are too similar";
    if (teachError == 20) {
        const std::string e21 = e21List.empty() ? std::string() : "Error E 21: " + e21List;
        return FormatPrintf(kFormat, "Error E 20:", e20List, kSimilar, e21);
    }
    if (teachError == 21) return FormatPrintf(kFormat, "Error E 21:", e21List, kSimilar, "");
    if (teachError == 0) {
        if (warningList.empty()) return {};
        return FormatPrintf(kFormat, "Warning for Marrow using OS 3.0:",
                            "Orient./Types can be detected only upto the given tolerance.",
                            warningList, "");
    }
    return FormatPrintf(kFormat, "Error:", FormatPrintf("E%d %s:", teachError, ""),
                        "->No Description for Error available", "");
}

bool bShowsErrorText(int teachError, const std::string& warningList) {
    return teachError != 0 || !warningList.empty();
}

int iDisplayModeOf(const OType_ZRPartSet& partSet) {
    return partSet.iShowGetTeachTest();
}

ODisplay BuildDisplay(const OClassifier& classifier, const OType_ZRPartSet* partSet,
                      const OContext& context) {
    ODisplay display;
    display.columns = Columns();
    const OType_ZRPartSet_SubType* record =
        partSet ? partSet->opGetSubType(partSet->iShowSubTypeGetNo()) : nullptr;
    if (!record) {
        HideEmptyOptionalColumns(display);
        return display;
    }
    const int type = partSet->iShowSubTypeGetNo();
    const int orientation = partSet->iShowVectorGetNo();
    const int tolerance = record->iGetTolerance();

    if (context.useTypes) {
        display.orientationCaption = "Type/Ori.";
        display.orientationValue =
            FormatPrintf("%d", type + 1) + FormatPrintf(" / %d", orientation + 1);
    } else {
        display.orientationCaption = ResStr(ClassificationText::kOrientationCaption);
        display.orientationValue = FormatPrintf("%d", orientation + 1);
    }
    display.toleranceText = FormatPrintf("%d%%", tolerance);
    display.spinValue = tolerance;
    display.counterShown = TargetSystem::bIsCounterEdition(context.deviceKind);
    if (display.counterShown)
        display.counterValue = FormatPrintf("%d", record->iGetCounterTarget());
    display.statusDisplayMode =
        ResStr(context.displayMode == 1 ? ClassificationText::kStatusTeachData
                                        : ClassificationText::kStatusTestData);
    display.statusTolerance = display.toleranceText;

    const OType_VectorArray* vectors = orientation < record->iGetNumOrientations()
                                           ? record->opGetVectorArray(orientation)
                                           : nullptr;
    if (vectors) {
        for (int i = 0; i < vectors->iGetNumOfVectors(); ++i)
            display.rows.push_back(FeatureRow(classifier, *partSet, *vectors, i, type, orientation,
                                              tolerance, context.displayMode));
        const int current = partSet->iShowFeatureGetNo();
        if (current >= 0 && current < static_cast<int>(display.rows.size()))
            display.selectedRow = current;
    }
    HideEmptyOptionalColumns(display);

    const int teachError = classifier.iGetTeachErrorCode();
    display.errorShown = bShowsErrorText(teachError, classifier.GetWarningList());
    if (display.errorShown) {
        display.errorText = ComposeErrorText(teachError, classifier.GetE20List(),
                                             classifier.GetE21List(), classifier.GetWarningList());
    } else {
        display.learningCurve =
            BuildLearningCurve(*partSet, type, partSet->iShowGetTeachTest() == 0,
                               context.chartWidth, context.chartHeight);
    }
    return display;
}

OLearningCurve BuildLearningCurve(const OType_ZRPartSet& partSet, int type, bool testParts,
                                  int width, int height) {
    constexpr double kLeft = 25.0, kRightMargin = 10.0, kTop = 10.0, kBottomMargin = 20.0;
    OLearningCurve curve;
    curve.plotRight = std::max(kLeft, width - kRightMargin);
    curve.plotTop = kTop;
    curve.plotBottom = std::max(kTop, height - kBottomMargin);

    const OType_PartArray& parts = testParts ? partSet.TestParts() : partSet.TeachParts();
    for (int i = 0; i < parts.iGetSize(); ++i) {
        const OType_Part& part = *parts.GetAt(i);
        if (part.iGetType() != type + 1) continue;
        OCurvePoint point;
        point.value = part.dGetResultValue(2);
        point.orientation = part.iGetOrientation();
        point.colour = ClassColour(point.orientation);
        point.partNumber = part.iGetRecordNo();
        curve.points.push_back(point);
    }
    if (curve.points.empty()) return curve;

    double low = curve.points.front().value, high = low;
    for (const OCurvePoint& p : curve.points) {
        low = std::min(low, p.value);
        high = std::max(high, p.value);
    }
    if (high == low) high = low + 10.0;
    curve.bottomValue = low;
    curve.topValue = high;
    curve.topLabel = FormatPrintf("C=%.0lf", high);
    curve.bottomLabel = FormatPrintf("C=%.0lf", low);

    const size_t n = curve.points.size();
    const double step = n > 1 ? (curve.plotRight - kLeft) / static_cast<double>(n - 1) : 0.0;
    std::array<int, 9> previous;
    previous.fill(-1);
    for (size_t i = 0; i < n; ++i) {
        OCurvePoint& p = curve.points[i];
        p.x = kLeft + step * static_cast<double>(i);
        p.y =
            curve.plotBottom - (p.value - low) / (high - low) * (curve.plotBottom - curve.plotTop);
        if (i % 10 == 0) curve.ticks.push_back({p.x, FormatPrintf("%d", p.partNumber)});
        const int colourIndex = p.orientation >= 1 && p.orientation <= 8 ? p.orientation : 0;
        if (previous[colourIndex] >= 0) {
            const OCurvePoint& q = curve.points[static_cast<size_t>(previous[colourIndex])];
            curve.lines.push_back({q.x, q.y, p.x, p.y, p.colour});
        }
        previous[colourIndex] = static_cast<int>(i);
    }
    return curve;
}

OPrintout BuildPrintout(const OType_ZRPartSet& partSet, int displayMode) {
    OPrintout printout;
    const int type = partSet.iShowSubTypeGetNo();
    const OType_ZRPartSet_SubType* record = partSet.opGetSubType(type);
    if (!record) return printout;
    printout.header = FormatPrintf("%s: %d%%", record->GetName(), record->iGetTolerance());
    for (int o = 0; o < record->iGetNumOrientations(); ++o) {
        const OType_VectorArray* vectors = record->opGetVectorArray(o);
        if (!vectors) continue;
        OPrintTable table;
        table.heading =
            FormatPrintf("%s: %d, %s %d", ResStr(ClassificationText::kPrintTypeCaption), type + 1,
                         ResStr(ClassificationText::kPrintOrientationCaption), o + 1);
        table.columns = {"Min:", "Mean:", "Max:", "Tol. F.:"};
        for (const OType_Vector& v : *vectors) {
            std::array<std::string, 4> row;
            if ((v.option & 7u) == 1) {
                row = {kExcluded, kExcluded, kExcluded, FormatFactor(v.factor)};
            } else if (v.textFeature) {
                row = {std::string(), v.classText, std::string(), FormatFactor(v.factor)};
            } else {
                row = {FormatValue(displayMode == 1 ? v.minimum : v.lowerBound),
                       FormatValue(v.mean),
                       FormatValue(displayMode == 1 ? v.maximum : v.upperBound),
                       FormatFactor(v.factor)};
            }
            table.rows.push_back(std::move(row));
        }
        printout.tables.push_back(std::move(table));
    }
    return printout;
}

}  // namespace TeachDataView
