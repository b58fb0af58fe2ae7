// The feature graph without a window: which parts are plotted for the chosen feature, display
// mode, part type and orientation; the vertical scale and the histogram; the drawing through
// OPainter with the markers' rectangles for hit-testing; the description of the current part
// and the printed per-orientation table. The window (OView_FeatureGraph) draws what these
// functions return and turns clicks into the current part.
#pragma once

#include <string>
#include <vector>

#include "model/draw/OGeometry.h"

class OPainter;
class OType_ZRPartSet;

namespace FeatureGraph {

// Control ids of the form (template 188).
inline constexpr int kTemplate = 188;
inline constexpr int kGraph = 1035;
inline constexpr int kFeatureCombo = 1161;
inline constexpr int kDisplayCombo = 1007;
inline constexpr int kTypeCombo = 1000;
inline constexpr int kOrientationCombo = 1008;

// 0 values, 1 values & histogram, 2 transformed values, 3 transformed & histogram,
// 4 deviations, 5 deviations & histogram.
inline constexpr int kModes = 6;
inline bool bHistogram(int mode) {
    return mode % 2 == 1;
}
inline bool bDeviation(int mode) {
    return mode >= 4;
}
inline bool bTransformed(int mode) {
    return mode == 2 || mode == 3;
}
// The display entries; the transformed ones only when the parts carry transformed values.
std::vector<std::string> DisplayEntries(bool transformedOffered);
// The mode of a display-combo entry.
int iModeOfEntry(int entry, bool transformedOffered);
int iEntryOfMode(int mode, bool transformedOffered);

// Type and orientation choices: 0 all, 1 the parts selected in the part list, 2 (types only)
// the parts ignored at teach process; then the numbers.
inline constexpr int kAll = 0;
inline constexpr int kSelection = 1;
inline constexpr int kIgnored = 2;
std::vector<std::string> TypeEntries(int types);
std::vector<std::string> OrientationEntries(int orientations);

struct OChoice {
    int feature = 0;
    int mode = 0;
    int typeEntry = kAll;
    int orientationEntry = kAll;
    bool typesShown = false;         // the project detects part types
    bool orientationsShown = false;  // the shown type has more than one orientation
};

struct OGraphPoint {
    int partIndex = 0;  // in the shown list
    int partNumber = 0;
    int type = 0;  // 1-based
    int orientation = 0;
    double value = 0.0;
};

struct OBound {
    int orientation = 0;  // its colour
    double lower = 0.0;
    double upper = 0.0;
};

struct OScale {
    double bottom = 0.0;
    double top = 1.0;
    int bins = 0;  // 0: no histogram
    double binWidth = 0.0;
    std::vector<int> counts;
};

// Whether any part of the shown list carries a transformed value that differs from its value.
bool bHasTransformedValues(const OType_ZRPartSet& partSet);
// The plotted parts, in list order; parts whose feature is invalid are skipped.
std::vector<OGraphPoint> CollectPoints(const OType_ZRPartSet& partSet, const OChoice& choice);
// The decision bounds (or minimum and maximum while the teach data are shown) of the classes
// the choice shows; none in the deviation and transformed modes, whose values are not in the
// bounds' units.
std::vector<OBound> CollectBounds(const OType_ZRPartSet& partSet, const OChoice& choice);
OScale ComputeScale(const std::vector<OGraphPoint>& points, const std::vector<OBound>& bounds,
                    bool histogram);

// "%5.0lf", from magnitude 100000 "%2.3le"; "%" appended in the deviation modes.
std::string TickLabel(double value, bool deviation);

struct OPlot {
    std::vector<ORect> markers;  // one per point, in pixels of the area
    ORect plotArea{};
    int ticks = 0;
};
// Draws the graph into `area` (pixels) and returns where the markers are.
OPlot Paint(OPainter& painter, const ORect& area, const std::vector<OGraphPoint>& points,
            const std::vector<OBound>& bounds, const OScale& scale, int mode);
// The marker under a point (pixels), -1 when none; the topmost (last drawn) wins.
int iHitMarker(const OPlot& plot, int x, int y);

// The line above the graph: the current part and its value of the chosen feature.
std::string Description(const OType_ZRPartSet& partSet, int feature);

// Per orientation of the shown type: "Min:", "Mean:", "Max:" of the plotted values.
struct OTableRow {
    int orientation = 0;
    std::string minimum, mean, maximum;
};
std::vector<OTableRow> OrientationTable(const std::vector<OGraphPoint>& points);
// "%05.2lf", from magnitude 100000 "%05.5le".
std::string FormatValue(double value);

}  // namespace FeatureGraph
