// What the part list view shows, without a window: the text and icon of each list entry,
// the test statistics of its status bar, the names of the sort orders and which of the
// part's values the project shows.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/partset/OType_PartArray.h"

class OType_Part;
class OType_ProjectProperties;
class OType_ZRPartSet;
struct OTargetSystem;

// Which values of a part the lists show.
struct OPartListSettings {
    int typesShown = 1;  // part types shown; 1 shows none
    bool orientationsShown = true;
    bool quality = true;  // the project decides good and bad parts

    // Types: the target's parts-in-set number when the project uses types; orientations
    // when it uses them; neither when it does not use the quality decision.
    static OPartListSettings Of(const OType_ProjectProperties& properties,
                                const OTargetSystem& target);
    bool operator==(const OPartListSettings&) const = default;
};

// The icons of both lists, in the order of the view's image list.
enum class PartListIcon : int {
    SampleUsed = 0,     // a sample part used at teach
    SampleIgnored = 1,  // a sample part ignored at teach
    TestGood = 2,       // a test part whose result is at most 100
    TestBad = 3,        // a test part whose result is above 100
    Plain = 4,          // a test part of a project without quality decision
};
inline constexpr int kNumPartListIcons = 5;

// One entry of a list as the view shows it.
struct OPartListRow {
    std::string text;
    PartListIcon icon = PartListIcon::Plain;
    bool operator==(const OPartListRow&) const = default;
};

namespace PartListDisplay {

// The result value above which a test part counts as bad.
inline constexpr double kGoodLimit = 100.0;

bool bIsGood(const OType_Part& part);

// "%d. %s" with the record number, then the type and the orientation as the settings
// show them, the ignored or bad marker and the comment (line breaks become blanks).
std::string ItemText(const OType_Part& part, bool sampleList, const OPartListSettings& settings);
PartListIcon Icon(const OType_Part& part, bool sampleList, const OPartListSettings& settings);
// Text and icon of every part of the list in its sort order, into rows (reused).
void BuildRows(const OType_PartArray& list, bool sampleList, const OPartListSettings& settings,
               std::vector<OPartListRow>& rows);

// The three status panes from the test list: good parts, bad parts and good parts of an
// orientation above 1 (when orientations are shown), each with its share in percent; a
// blank for an empty pane.
std::array<std::string, 3> StatusPanes(const OType_PartArray& testList,
                                       const OPartListSettings& settings);

// The entries of the sort selectors, in the order of PartSortType.
std::vector<std::string> SortNames();
// The heading of a list's only column: "Feature:", followed by the sort feature's name
// while the list is sorted by a feature.
std::string ColumnHeading(const OType_PartArray& list, const OType_ZRPartSet& partSet);
// The tool tip of an entry: its text, the deviation of a test part and, while the list is
// sorted by a feature, that feature's value.
std::string ToolTip(const OType_Part& part, bool sampleList, const OType_PartArray& list,
                    const OType_ZRPartSet& partSet, const OPartListSettings& settings);

}  // namespace PartListDisplay
