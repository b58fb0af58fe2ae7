#include "document/PartListDisplay.h"

#include <cstdio>
#include <cstdlib>

#include "device/TargetSystem.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "model/strings/ResStr.h"
#include "tools/FeatureValueText.h"

namespace {

constexpr int kPartWord = 2146;
constexpr int kOrientationWord = 2183;
constexpr int kIgnoredWord = 2184;
constexpr int kTypeWord = 2227;
constexpr int kOrientationAboveOne = 7510;
constexpr int kGoodWord = 9300;
constexpr int kBadWord = 9301;
constexpr int kFirstSortName = 21000;

void AppendNumber(std::string& out, int value) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%d", value);
    out.append(buffer, static_cast<size_t>(n));
}

// " %s= %d"
void AppendValue(std::string& out, const std::string& word, int value) {
    out += ' ';
    out += word;
    out += "= ";
    AppendNumber(out, value);
}

// "%s: %d (%d%%)"
std::string CountText(int wordId, int count, int percent) {
    return ResStrFormat(21006, ResStr(wordId), count, percent);
}

}  // namespace

OPartListSettings OPartListSettings::Of(const OType_ProjectProperties& properties,
                                        const OTargetSystem& target) {
    OPartListSettings s;
    s.quality = properties.useQuality != 0;
    s.typesShown = properties.useTypes ? std::max(1, target.partsInSet) : 1;
    s.orientationsShown = properties.useOrientation != 0;
    if (!s.quality) {
        s.typesShown = 1;
        s.orientationsShown = false;
    }
    return s;
}

namespace PartListDisplay {

bool bIsGood(const OType_Part& part) {
    return part.dGetResultValue(0) <= kGoodLimit;
}

std::string ItemText(const OType_Part& part, bool sampleList, const OPartListSettings& settings) {
    std::string text;
    text.reserve(48 + part.GetComment().size());
    AppendNumber(text, part.iGetRecordNo());
    text += ". ";
    text += ResStr(kPartWord);
    if (settings.typesShown > 1) AppendValue(text, ResStr(kTypeWord), part.iGetType());
    if (settings.orientationsShown) {
        const int orientation = part.iGetOrientation();
        AppendValue(text, ResStr(kOrientationWord),
                    sampleList ? std::abs(orientation) : orientation);
    }
    const bool marked = sampleList ? part.iGetOrientation() < 0 : !bIsGood(part);
    if (marked) {
        text += " (";
        text += ResStr(sampleList ? kIgnoredWord : kBadWord);
        text += ')';
    }
    if (const std::string& comment = part.GetComment(); !comment.empty()) {
        text += ", ";
        for (size_t i = 0; i < comment.size(); ++i) {
            if (comment[i] == '\r' && i + 1 < comment.size() && comment[i + 1] == '\n') {
                text += ' ';
                ++i;
            } else {
                text += comment[i];
            }
        }
    }
    return text;
}

PartListIcon Icon(const OType_Part& part, bool sampleList, const OPartListSettings& settings) {
    if (sampleList)
        return part.iGetOrientation() < 0 ? PartListIcon::SampleIgnored : PartListIcon::SampleUsed;
    if (!settings.quality) return PartListIcon::Plain;
    return bIsGood(part) ? PartListIcon::TestGood : PartListIcon::TestBad;
}

void BuildRows(const OType_PartArray& list, bool sampleList, const OPartListSettings& settings,
               std::vector<OPartListRow>& rows) {
    const int size = list.iGetSize();
    rows.resize(static_cast<size_t>(size));
    for (int i = 0; i < size; ++i) {
        const OType_Part& part = *list.GetAt(i);
        OPartListRow& row = rows[static_cast<size_t>(i)];
        row.text = ItemText(part, sampleList, settings);
        row.icon = Icon(part, sampleList, settings);
    }
}

std::array<std::string, 3> StatusPanes(const OType_PartArray& testList,
                                       const OPartListSettings& settings) {
    std::array<std::string, 3> panes{" ", " ", " "};
    const int n = testList.iGetSize();
    if (n <= 0) return panes;
    int good = 0;
    int goodAboveOne = 0;
    for (int i = 0; i < n; ++i) {
        const OType_Part& part = *testList.GetAt_NoSort(i);
        if (!bIsGood(part)) continue;
        ++good;
        if (part.iGetOrientation() > 1) ++goodAboveOne;
    }
    const int percent = good * 100 / n;
    panes[0] = CountText(kGoodWord, good, percent);
    panes[1] = CountText(kBadWord, n - good, 100 - percent);
    if (settings.orientationsShown)
        panes[2] = CountText(kOrientationAboveOne, goodAboveOne, goodAboveOne * 100 / n);
    return panes;
}

std::vector<std::string> SortNames() {
    std::vector<std::string> names;
    for (int i = 0; i < kNumPartSortTypes; ++i)
        names.push_back(ResStr(kFirstSortName + i));
    return names;
}

namespace {

std::string SortFeatureName(const OType_PartArray& list) {
    const int feature = list.iGetSortFeature();
    for (int i = 0; i < list.iGetSize(); ++i) {
        const std::string& name = list.GetAt_NoSort(i)->Features().oGetFeatureNameAt(feature);
        if (!name.empty()) return name;
    }
    return "--";
}

}  // namespace

std::string ColumnHeading(const OType_PartArray& list, const OType_ZRPartSet& /*partSet*/) {
    std::string heading = ResStr(21007);
    if (list.GetSortType() == PartSortType::Feature) heading += " " + SortFeatureName(list);
    return heading;
}

std::string ToolTip(const OType_Part& part, bool sampleList, const OType_PartArray& list,
                    const OType_ZRPartSet& /*partSet*/, const OPartListSettings& settings) {
    std::string tip = ItemText(part, sampleList, settings);
    if (!sampleList) tip += "\n" + ResStrFormat(21008, part.dGetResultValue(0));
    if (list.GetSortType() == PartSortType::Feature) {
        tip += "\n" + SortFeatureName(list) + ": " +
               FormatFeatureValue(part.Features().dGetFeatureValueAt(list.iGetSortFeature()));
    }
    return tip;
}

}  // namespace PartListDisplay
