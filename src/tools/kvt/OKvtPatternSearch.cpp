#include "tools/kvt/OKvtPatternSearch.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/FormatPrintf.h"
#include "tools/kvt/OKvtTeaching.h"
#include "tools/patternmatching/OPatternMatcher.h"

namespace {

using Template = OPatternMatching_V2_Template;
constexpr const char* kPatternPage = "Pattern";
constexpr const char* kSearchPage = "Search";

// Feature indices.
enum : size_t { kScore, kX, kY, kAngle, kCount, kScale, kTemplate };

std::vector<uint8_t> BlockOf(const auto& object) {
    OByteStream_Memory s;
    object.AddObjectDataTo(s);
    return s.TakeBytes();
}

// Reads one whole object block from bytes; false when it does not read or leaves bytes over.
bool bReadAll(const std::vector<uint8_t>& bytes, auto& object) {
    auto s = OByteStream_Memory::View(bytes);
    return object.GetObjectDataFrom(s, true) == 1 && s.bIsOk() && s.iRemaining() == 0;
}

}  // namespace

std::unique_ptr<OKvtRecognizer> OKvtPatternSearch::Clone() const {
    return std::make_unique<OKvtPatternSearch>(*this);
}

std::string OKvtPatternSearch::KindName() const {
    return m_plus ? "Pattern matching+" : "Pattern matching";
}

std::vector<OKvtFeatureDef> OKvtPatternSearch::FeatureDefs() const {
    std::vector<OKvtFeatureDef> defs = {
        {KvtFeatureType::kPatternScore, "Score", "%", OKvtQuantity::Plain},
        {KvtFeatureType::kPatternX, "X", "px", OKvtQuantity::ImageX},
        {KvtFeatureType::kPatternY, "Y", "px", OKvtQuantity::ImageY},
        {KvtFeatureType::kPatternAngle, "Angle", "°", OKvtQuantity::Angle},
        {KvtFeatureType::kPatternCount, "Matches", "", OKvtQuantity::Plain},
    };
    if (m_plus) {
        defs.push_back({KvtFeatureType::kPatternScale, "Scale", "%", OKvtQuantity::Plain});
        defs.push_back({KvtFeatureType::kPatternTemplate, "Pattern", "", OKvtQuantity::Plain});
    }
    return defs;
}

cv::Size OKvtPatternSearch::TemplateSize(const OKvtRegion& region) const {
    const int rw = std::max(1, int(std::lround(region.width)));
    const int rh = std::max(1, int(std::lround(region.height)));
    const int w = m_templateWidth > 0 ? m_templateWidth : rw / 2;
    const int h = m_templateHeight > 0 ? m_templateHeight : rh / 2;
    return {std::clamp(w, 1, rw), std::clamp(h, 1, rh)};
}

void OKvtPatternSearch::Describe(OPropertyList& list) const {
    using namespace PropertyList;
    std::string taught = "none yet: taught from the sample parts at the next extraction";
    if (m_templates.iGetSize() > 0) {
        const OType_Image& first = m_templates.GetAt(0)->image;
        taught = FormatPrintf("%d, %d x %d pixels", m_templates.iGetSize(), first.iGetWidth(),
                              first.iGetHeight());
    }
    OProperty state = Text("pattern.taught", "Taught patterns", kPatternPage, taught);
    state.readOnly = true;
    list.push_back(state);
    OProperty teach = Flag("pattern.teach", "Teach again", kPatternPage, false);
    teach.help = "Forget the patterns; they are taught again from the sample parts.";
    list.push_back(teach);
    OProperty width =
        Integer("pattern.width", "Pattern width", kPatternPage, m_templateWidth, 0, 4096, "px");
    width.help = "The middle of the region this wide is the pattern; 0 takes half the region.";
    list.push_back(width);
    list.push_back(
        Integer("pattern.height", "Pattern height", kPatternPage, m_templateHeight, 0, 4096, "px"));
    list.push_back(Integer("pattern.contrast", "Least contrast to teach", kPatternPage,
                           m_minContrast, 1, 255, "grey levels"));
    list.push_back(
        Real("search.start", "First angle", kSearchPage, m_search.startAngle, -360, 360, 1, "°"));
    list.push_back(
        Real("search.extent", "Angle range", kSearchPage, m_search.angleExtent, 0, 360, 1, "°"));
    list.push_back(
        Real("search.step", "Angle step", kSearchPage, m_angleStepTenths / 10.0, 0.1, 10, 1, "°"));
    list.push_back(
        Integer("search.scale", "Scale tolerance", kSearchPage, m_search.option1, 0, 50, "%"));
    list.push_back(Real("search.minScore", "Least score", kSearchPage, m_search.minScore * 100, 0,
                        100, 0, "%"));
    OProperty count =
        Integer("search.matches", "Matches wanted", kSearchPage, m_search.numMatches, 0, 100);
    count.help = "0 reports every match.";
    list.push_back(count);
    list.push_back(Real("search.overlap", "Most overlap", kSearchPage, m_search.maxOverlap * 100, 0,
                        100, 0, "%"));
    list.push_back(
        Flag("search.inverted", "Also with inverted contrast", kSearchPage, m_search.option2 == 1));
    OProperty greed = Real("search.greediness", "Greediness", kSearchPage,
                           m_search.greediness * 100, 0, 100, 0, "%");
    greed.help = "0 searches most thoroughly, 100 fastest.";
    list.push_back(greed);
}

bool OKvtPatternSearch::bCheck(const OPropertyValues&, std::string&) const {
    return true;
}

void OKvtPatternSearch::Apply(const OPropertyValues& v) {
    using PropertyList::bGet;
    using PropertyList::dGet;
    using PropertyList::iGet;
    const int width = int(iGet(v, "pattern.width", m_templateWidth));
    const int height = int(iGet(v, "pattern.height", m_templateHeight));
    const int contrast = int(iGet(v, "pattern.contrast", m_minContrast));
    if (bGet(v, "pattern.teach", false) || width != m_templateWidth || height != m_templateHeight ||
        contrast != m_minContrast)
        m_templates.RemoveAll();
    m_templateWidth = width;
    m_templateHeight = height;
    m_minContrast = contrast;
    m_angleStepTenths =
        std::clamp(int(std::lround(dGet(v, "search.step", m_angleStepTenths / 10.0) * 10)), 1, 100);
    m_search.startAngle = dGet(v, "search.start", m_search.startAngle);
    m_search.angleExtent = dGet(v, "search.extent", m_search.angleExtent);
    m_search.option1 = int(iGet(v, "search.scale", m_search.option1));
    m_search.minScore = dGet(v, "search.minScore", m_search.minScore * 100) / 100;
    m_search.numMatches = int(iGet(v, "search.matches", m_search.numMatches));
    m_search.maxOverlap = dGet(v, "search.overlap", m_search.maxOverlap * 100) / 100;
    m_search.option2 = bGet(v, "search.inverted", m_search.option2 == 1) ? 1 : 0;
    m_search.greediness = dGet(v, "search.greediness", m_search.greediness * 100) / 100;
    // The taught patterns follow the search settings.
    for (int i = 0; i < m_templates.iGetSize(); ++i) {
        Template& t = *m_templates.GetAt(i);
        t.startAngle = m_search.startAngle;
        t.angleExtent = m_search.angleExtent;
        t.params[Template::kAngleStepTenths] = m_angleStepTenths;
    }
}

void OKvtPatternSearch::Encode(OByteStream& s) const {
    s.bWriteI32(m_templateWidth);
    s.bWriteI32(m_templateHeight);
    s.bWriteI32(m_minContrast);
    s.bWriteI32(m_angleStepTenths);
    s.bWriteByteArray(BlockOf(m_search));
    s.bWriteByteArray(BlockOf(m_templates));
}

bool OKvtPatternSearch::bDecode(OBlockFieldReader& r) {
    std::vector<uint8_t> search, templates;
    if (!r.I32(m_templateWidth, 0, 4096) || !r.I32(m_templateHeight, 0, 4096) ||
        !r.I32(m_minContrast, 1, 255) || !r.I32(m_angleStepTenths, 1, 100) || !r.Bytes(search) ||
        !r.Bytes(templates))
        return false;
    // Blocks the block ended before keep their defaults.
    if (!search.empty() && !bReadAll(search, m_search)) return false;
    if (!templates.empty() && !bReadAll(templates, m_templates)) return false;
    return m_templates.iGetSize() <= kMaxTemplates;
}

void OKvtPatternSearch::Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const {
    const OKvtRegionSample& sample = *in.sample;
    const OKvtRegion& region = sample.Region();
    if (m_templates.iGetSize() == 0) {
        out.drawing.Text(region.ToImage(0, -8), "no pattern taught", OKvtMarkRole::Failure);
        return;
    }
    const OPatternSearch found = PatternMatcher::SearchAny(sample.Grey(), m_templates, m_search);
    out.Set(kScore, found.bestScore * 100);
    out.Set(kCount, double(found.matches.size()));
    for (size_t i = 0; i < found.matches.size(); ++i) {
        const OPatternMatch& m = found.matches[i];
        const OType_Image& pattern = m_templates.GetAt(m.templateIndex)->image;
        const double hw = pattern.iGetWidth() * m.scale / 2,
                     hh = pattern.iGetHeight() * m.scale / 2;
        const double c = std::cos(m.angle * CV_PI / 180), s = std::sin(m.angle * CV_PI / 180);
        std::vector<OPointD> corners;
        for (auto [u, v] : {std::pair{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}})
            corners.push_back(sample.PixelToImage(m.x + u * c + v * s, m.y - u * s + v * c));
        const OPointD at = sample.PixelToImage(m.x, m.y);
        out.drawing.Polygon(corners, i == 0 ? OKvtMarkRole::Found : OKvtMarkRole::Rejected);
        out.drawing.Cross(at, 6);
        out.drawing.Text(corners[0], FormatPrintf("%.0f %%", m.score * 100));
        if (i > 0) continue;
        out.Set(kX, at.x);
        out.Set(kY, at.y);
        out.Set(kAngle, m.angle);
        if (m_plus) {
            out.Set(kScale, m.scale * 100);
            out.Set(kTemplate, m.templateIndex + 1);
        }
    }
}

bool OKvtPatternSearch::bTeach(const OType_ZRPartSet& partSet, const ZRINFO& info,
                               const OType_ConfigTool_KVT& tool) {
    if (m_templates.iGetSize() > 0) return false;
    const cv::Size size = TemplateSize(tool.GetShape());
    const OType_PartArray& parts = partSet.TeachParts();
    std::vector<std::pair<int, std::unique_ptr<Template>>> taught;  // by part type
    std::set<int> types;
    for (int i = 0; i < parts.iGetSize(); ++i) {
        const OType_Part& part = *parts.GetAt(i);
        if (m_plus ? types.count(part.iGetType()) > 0 : !taught.empty()) continue;
        const cv::Mat grey = KvtTeaching::RegionGrey(part, tool, info);
        if (grey.empty()) continue;
        const cv::Rect middle((grey.cols - size.width) / 2, (grey.rows - size.height) / 2,
                              std::min(size.width, grey.cols), std::min(size.height, grey.rows));
        const cv::Mat crop = grey(middle);
        if (!PatternMatcher::bHasContrast(crop, m_minContrast)) continue;
        auto t = std::make_unique<Template>();
        t->startAngle = m_search.startAngle;
        t->angleExtent = m_search.angleExtent;
        t->params[Template::kAngleStepTenths] = m_angleStepTenths;
        t->params[Template::kMinContrast] = m_minContrast;
        t->name = m_plus ? FormatPrintf("Type %d", part.iGetType()) : "Pattern";
        t->image = KvtTeaching::ImageOf(crop);
        types.insert(part.iGetType());
        taught.emplace_back(part.iGetType(), std::move(t));
        if (m_plus && int(taught.size()) == kMaxTemplates) break;
    }
    std::stable_sort(taught.begin(), taught.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [type, t] : taught)
        m_templates.Add(std::move(t));
    return m_templates.iGetSize() > 0;
}
