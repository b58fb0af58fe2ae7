#include "extraction/OContourFilters.h"

#include <algorithm>
#include <limits>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/FormatPrintf.h"
#include "model/strings/ResStr.h"
#include "tools/OContourColumns.h"

namespace {

constexpr int kThinAreaNoteId = 26018;

using ORuns = std::vector<OContourRun>;

// The closed columns of a run list as runs (absolute values, bottom not below top).
std::vector<ORuns> ReadColumns(std::span<const int16_t> values) {
    OContourColumns index;
    index.Build(values);
    std::vector<ORuns> columns(static_cast<size_t>(index.iGetColumns()));
    for (int c = 0; c < index.iGetColumns(); ++c) {
        const auto v = index.ColumnValues(c);
        ORuns& runs = columns[static_cast<size_t>(c)];
        runs.reserve(v.size() / 2);
        for (size_t i = 0; i + 1 < v.size(); i += 2) {
            OContourRun r = ContourRunAt(v, i);
            // -32768 stands for row 32768, which no run value can hold when written back:
            // the filters see the rows they can write.
            r.top = std::min<int32_t>(r.top, std::numeric_limits<int16_t>::max());
            r.bottom = std::clamp<int32_t>(r.bottom, r.top, std::numeric_limits<int16_t>::max());
            runs.push_back(r);
        }
    }
    return columns;
}

bool bIsEmptyPair(const ORuns& column) {
    return column.size() == 1 && column[0].top == column[0].bottom;
}

bool bIsPair(const ORuns& column, int32_t v) {
    return column.size() == 1 && column[0].top == v && column[0].bottom == v;
}

void RemoveTrailing(std::vector<ORuns>& columns, int32_t v) {
    while (!columns.empty() && bIsPair(columns.back(), v))
        columns.pop_back();
}

void ReplacePairs(std::vector<ORuns>& columns, int32_t from, int32_t to) {
    for (ORuns& c : columns) {
        if (bIsPair(c, from)) c[0] = {to, to};
    }
}

int16_t Clamp16(int32_t v) {
    return static_cast<int16_t>(std::clamp<int32_t>(v, 0, std::numeric_limits<int16_t>::max()));
}

// Writes the columns back; the last run of each column gets its bottom negated. Rows above
// the 16-bit range are cut.
std::vector<int16_t> WriteColumns(const std::vector<ORuns>& columns) {
    std::vector<int16_t> out;
    for (const ORuns& c : columns) {
        for (size_t i = 0; i < c.size(); ++i) {
            const int16_t top = Clamp16(c[i].top);
            int16_t bottom = Clamp16(c[i].bottom);
            if (i + 1 == c.size()) {
                if (bottom == 0) {
                    // (0, -0) cannot mark a column end; an empty column is written as (1, -1).
                    out.push_back(1);
                    out.push_back(-1);
                    continue;
                }
                out.push_back(top);
                out.push_back(static_cast<int16_t>(-bottom));
            } else {
                out.push_back(top);
                out.push_back(bottom);
            }
        }
    }
    return out;
}

int32_t EmptyPairRow(int lower) {
    return std::max(lower, 1);
}

bool bStartFilter(OType_Part& part, int kind, std::vector<int16_t>& source) {
    if (part.iGetAppliedFilter() == kind) {
        if (!part.bHasBackup()) return false;
        source = part.BackupContour();
        part.SetComment(CutLastNote(part.GetComment()));
        return true;
    }
    if (part.iGetConturDataSize() == 0) return false;
    source.assign(part.Contour().begin(), part.Contour().end());
    part.SetBackupContour(source);
    part.SetAppliedFilter(kind);
    return true;
}

void FinishFilter(OType_Part& part, std::vector<int16_t> result, const std::string& note) {
    part.SetConturData(std::move(result));
    part.SetComment(part.GetComment() + note);
}

}  // namespace

std::vector<int16_t> FilterViewingArea(std::span<const int16_t> runs, int lower, int upper) {
    if (upper < lower) std::swap(lower, upper);
    const int32_t empty = EmptyPairRow(lower);
    auto clamp = [&](int32_t v) { return std::clamp<int32_t>(v, lower, upper); };
    std::vector<ORuns> out;
    for (const ORuns& column : ReadColumns(runs)) {
        ORuns kept;
        for (size_t i = 0; i < column.size(); ++i) {
            const int32_t t = clamp(column[i].top);
            const int32_t b = clamp(column[i].bottom);
            const bool last = i + 1 == column.size();
            if (t != b) {
                kept.push_back({t, b});
            } else if (last) {
                // Nothing left of the column's last run: the previous kept run closes the
                // column, or the column becomes empty. A zero-length run inside the band
                // stays as it is.
                const bool outside = t <= lower || t >= upper;
                if (outside && kept.empty()) kept.push_back({empty, empty});
                if (!outside) kept.push_back({t, t});
            }
        }
        if (kept.empty()) kept.push_back({empty, empty});
        if (out.empty() && bIsEmptyPair(kept)) continue;
        out.push_back(std::move(kept));
    }
    RemoveTrailing(out, empty);
    return WriteColumns(out);
}

std::vector<int16_t> FilterThinAreas(std::span<const int16_t> runs, int limit) {
    std::vector<ORuns> out;
    int32_t smallestTop = std::numeric_limits<int32_t>::max();
    for (const ORuns& column : ReadColumns(runs)) {
        ORuns kept;
        for (const OContourRun& r : column) {
            if (r.bottom - r.top > limit) {
                kept.push_back(r);
                smallestTop = std::min(smallestTop, r.top);
            }
        }
        if (kept.empty()) {
            if (out.empty()) continue;
            kept.push_back({1, 1});
        }
        out.push_back(std::move(kept));
    }
    RemoveTrailing(out, 1);
    if (!out.empty()) ReplacePairs(out, 1, std::max(smallestTop, 1));
    return WriteColumns(out);
}

std::vector<int16_t> FilterHoles(std::span<const int16_t> runs, int limit) {
    std::vector<ORuns> out;
    int32_t laterTop = std::numeric_limits<int32_t>::max();
    int32_t anyTop = std::numeric_limits<int32_t>::max();
    for (const ORuns& column : ReadColumns(runs)) {
        ORuns merged;
        for (const OContourRun& r : column) {
            if (r.bottom == r.top) continue;  // zero-length runs hold nothing to merge
            if (!merged.empty() && r.top - merged.back().bottom <= limit) {
                merged.back().bottom = std::max(merged.back().bottom, r.bottom);
            } else {
                merged.push_back(r);
            }
        }
        if (merged.empty()) {
            // A column without material keeps its mark; one at row 0 is written as (1, -1),
            // so it is that mark (and is dropped at the end like every trailing one).
            OContourRun mark = column.front();
            if (mark.bottom == 0) mark = {1, 1};
            merged.push_back(mark);
        }
        for (size_t i = 0; i < merged.size(); ++i) {
            if (merged[i].bottom == merged[i].top) continue;
            anyTop = std::min(anyTop, merged[i].top);
            if (i > 0) laterTop = std::min(laterTop, merged[i].top);
        }
        out.push_back(std::move(merged));
    }
    RemoveTrailing(out, 1);
    const int32_t m = laterTop != std::numeric_limits<int32_t>::max() ? laterTop : anyTop;
    if (m != std::numeric_limits<int32_t>::max()) ReplacePairs(out, 1, std::max(m, 1));
    return WriteColumns(out);
}

std::string CutLastNote(const std::string& comment) {
    const size_t at = comment.rfind('(');
    return at == std::string::npos ? comment : comment.substr(0, at);
}

std::string ViewingAreaNote(int lower, int upper) {
    return FormatPrintf("(filtered viewing area: %d...%d)", lower, upper);
}

std::string ThinAreaNote(int limit) {
    return ResStrFormat(kThinAreaNoteId, limit);
}

std::string HoleNote(int limit) {
    return FormatPrintf("(filtered: holes < %d)", limit);
}

bool ApplyViewingAreaFilter(OType_Part& part, int lower, int upper) {
    std::vector<int16_t> source;
    if (!bStartFilter(part, ContourFilterKind::kViewingArea, source)) return false;
    FinishFilter(part, FilterViewingArea(source, lower, upper), ViewingAreaNote(lower, upper));
    return true;
}

bool ApplyThinAreaFilter(OType_Part& part, int limit) {
    std::vector<int16_t> source;
    if (!bStartFilter(part, ContourFilterKind::kThinAreas, source)) return false;
    FinishFilter(part, FilterThinAreas(source, limit), ThinAreaNote(limit));
    return true;
}

bool ApplyHoleFilter(OType_Part& part, int limit) {
    std::vector<int16_t> source;
    if (!bStartFilter(part, ContourFilterKind::kHoles, source)) return false;
    FinishFilter(part, FilterHoles(source, limit), HoleNote(limit));
    return true;
}

bool ApplyPartSetFilter(const OType_ZRPartSet& partSet, OType_Part& part) {
    switch (partSet.iGetFilterMode()) {
        case ContourFilterKind::kViewingArea:
            return ApplyViewingAreaFilter(part, partSet.iGetFilterLimit1(),
                                          partSet.iGetFilterLimit2());
        case ContourFilterKind::kThinAreas:
            return ApplyThinAreaFilter(part, partSet.iGetFilterLimit1());
        case ContourFilterKind::kHoles:
            return ApplyHoleFilter(part, partSet.iGetFilterLimit1());
        default:
            return false;
    }
}

bool UndoLastFilter(OType_Part& part) {
    if (part.iGetAppliedFilter() == ContourFilterKind::kNone) return false;
    std::vector<int16_t> backup = part.BackupContour();
    part.RemoveBackupContour();
    part.SetAppliedFilter(ContourFilterKind::kNone);
    part.SetComment(CutLastNote(part.GetComment()));
    part.SetConturData(std::move(backup));
    return true;
}

bool bInitialViewingArea(const OType_ZRPartSet& partSet, int& lower, int& upper) {
    int32_t smallest = std::numeric_limits<int32_t>::max();
    int32_t largestEnd = std::numeric_limits<int32_t>::min();
    for (const OType_PartArray* list : {&partSet.TeachParts(), &partSet.TestParts()}) {
        for (int i = 0; i < list->iGetSize(); ++i) {
            for (int16_t v : list->GetAt_NoSort(i)->Contour()) {
                const int32_t a = std::abs(static_cast<int32_t>(v));
                smallest = std::min(smallest, a);
                if (v < 0) largestEnd = std::max(largestEnd, a);
            }
        }
    }
    if (largestEnd == std::numeric_limits<int32_t>::min()) return false;
    lower = smallest;
    upper = largestEnd;
    return true;
}
