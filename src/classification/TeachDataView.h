// What the teach-data view shows, computed without a window: the list of the shown class's
// features with every column text, the captions above the list, the status texts, the error
// text or the learning curve below it, and the printout's tables. The Qt view paints what
// these functions return.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class OClassifier;
class OType_ZRPartSet;

namespace TeachDataView {

inline constexpr int kColumns = 10;
inline constexpr int kMaxTolerance = 20;
// Control ids of the form.
inline constexpr int kListControl = 1259;
inline constexpr int kOrientationCaptionControl = 1015;
inline constexpr int kOrientationValueControl = 1162;
inline constexpr int kToleranceTextControl = 1161;
inline constexpr int kToleranceSpinControl = 1086;
inline constexpr int kCounterCaptionControl = 1074;
inline constexpr int kCounterValueControl = 1075;
inline constexpr int kCounterButton = 1008;
inline constexpr int kChartControl = 1035;
inline constexpr int kErrorTextControl = 1001;
// The view command of undo entries made here.
inline constexpr int kViewCommand = 32861;

// Colours of orientations 1..8 (index 0: unassigned), as COLORREF values 0x00BBGGRR.
uint32_t ClassColour(int orientation);
// Values: "%05.2lf", from magnitude 100000 "%05.4le". Factors: "%03.2lf" / "%03.4le".
std::string FormatValue(double value);
std::string FormatFactor(double factor);
// Row icon of a feature option (low three bits) in a display mode.
int iRowIcon(int option, int displayMode);
// Text of a tolerance column: empty when used x factor equals the type's tolerance, else the
// value, in brackets when the used tolerance was reduced.
std::string ToleranceCell(int usedTolerance, double factor, int typeTolerance);
// Add (+1) or decrease (-1) cyclically within 0..20.
int iNextTolerance(int value, int delta);

// The error edit's text for a teach error and the collected lists.
std::string ComposeErrorText(int teachError, const std::string& e20List, const std::string& e21List,
                             const std::string& warningList);
bool bShowsErrorText(int teachError, const std::string& warningList);

struct OColumn {
    std::string header;
    int width = 0;
    bool rightAligned = false;
    bool autoSize = false;  // sized to its contents after every refresh
};

struct ORow {
    int icon = 0;
    std::array<std::string, kColumns> cells;
};

struct OCurvePoint {
    double x = 0.0;
    double y = 0.0;
    double value = 0.0;  // the learning value
    int orientation = 0;
    uint32_t colour = 0;
    int partNumber = 0;
};
struct OCurveLine {
    double x1 = 0.0, y1 = 0.0, x2 = 0.0, y2 = 0.0;
    uint32_t colour = 0;
};
struct OCurveTick {
    double x = 0.0;
    std::string text;
};
struct OLearningCurve {
    std::vector<OCurvePoint> points;
    std::vector<OCurveLine> lines;  // consecutive points of one orientation
    std::vector<OCurveTick> ticks;  // every tenth part, with its part number
    double topValue = 0.0;
    double bottomValue = 0.0;
    std::string topLabel;     // "C=%.0lf" of the top value
    std::string bottomLabel;  // "C=%.0lf" of the bottom value
    double plotLeft = 25.0, plotRight = 0.0, plotTop = 0.0, plotBottom = 0.0;
    int markerSize = 4;
    std::string font = "Arial";
};

struct OContext {
    // 1: the sample statistics (minimum, maximum); any other value: the decision bounds.
    int displayMode = 1;
    bool useTypes = true;
    int deviceKind = 0;
    int chartWidth = 600;
    int chartHeight = 150;
};

struct ODisplay {
    std::vector<OColumn> columns;
    std::vector<ORow> rows;
    int selectedRow = -1;
    std::string orientationCaption;
    std::string orientationValue;
    std::string toleranceText;
    int spinValue = 0;
    bool counterShown = false;
    std::string counterValue;
    std::string statusDisplayMode;
    std::string statusTolerance;
    bool errorShown = false;
    std::string errorText;
    OLearningCurve learningCurve;  // empty while the error text is shown
};

// The display mode the document is in: 1 while teach data are shown, else 0.
int iDisplayModeOf(const OType_ZRPartSet& partSet);

ODisplay BuildDisplay(const OClassifier& classifier, const OType_ZRPartSet* partSet,
                      const OContext& context);

// One point per part of the type in list order, from the teach list or the test list.
OLearningCurve BuildLearningCurve(const OType_ZRPartSet& partSet, int type, bool testParts,
                                  int width, int height);

// The printout of the shown part type: a header and one table per orientation.
struct OPrintTable {
    std::string heading;                 // "%s: %d, %s %d"
    std::array<std::string, 4> columns;  // "Min:", "Mean:", "Max:", "Tol. F.:"
    std::vector<std::array<std::string, 4>> rows;
};
struct OPrintout {
    std::string header;  // "%s: %d%%" with the type name and tolerance
    double headerShare = 0.15;
    std::vector<OPrintTable> tables;
};
OPrintout BuildPrintout(const OType_ZRPartSet& partSet, int displayMode);

}  // namespace TeachDataView
