#include "tools/patternmatching/OPatternMatcher.h"

#include <algorithm>
#include <cmath>

#include <opencv2/imgproc.hpp>

#include "tools/kvt/OKvtTeaching.h"

namespace PatternMatcher {
namespace {

using Template = OPatternMatching_V2_Template;
using Settings = OPatternMatching_V2_SearchParameter;

constexpr double kDegree = CV_PI / 180.0;
// Smallest template side and search side on the coarsest level of the search.
constexpr int kMinTemplateSide = 12;
constexpr int kMinSearchSide = 24;
constexpr int kMaxLevels = 4;
// A score no place can have: marks places whose window leaves the picture.
constexpr float kNoScore = -2.0f;

struct OPlace {
    double x = 0, y = 0;  // template centre in the search picture
    double angle = 0, scale = 1;
    double score = 0;
    bool inverted = false;
};

// from, from + step, ... up to from + extent (always including both ends).
std::vector<double> Steps(double from, double extent, double step) {
    std::vector<double> values{from};
    if (extent <= 0 || step <= 0) return values;
    const int n = static_cast<int>(std::floor(extent / step + 1e-9));
    for (int i = 1; i <= n; ++i)
        values.push_back(from + i * step);
    if (values.back() < from + extent - 1e-9) values.push_back(from + extent);
    return values;
}

// Turns a picture point about `pivot` by -angle and scales it by 1 / scale: the map under
// which a pattern turned by `angle` and scaled by `scale` appears like the template.
cv::Mat UprightMap(cv::Point2d pivot, double angle, double scale) {
    return cv::getRotationMatrix2D(cv::Point2f(float(pivot.x), float(pivot.y)), -angle,
                                   1.0 / scale);
}

cv::Point2d Apply(const cv::Mat& m, cv::Point2d p) {
    return {m.at<double>(0, 0) * p.x + m.at<double>(0, 1) * p.y + m.at<double>(0, 2),
            m.at<double>(1, 0) * p.x + m.at<double>(1, 1) * p.y + m.at<double>(1, 2)};
}

// Correlation of the template at every place of `picture` warped by `map` into `size`;
// places whose window reaches outside the picture get kNoScore. The map is affine, so a
// window lies inside the (convex) picture when its four corners do.
cv::Mat Scores(const cv::Mat& picture, const cv::Mat& templ, const cv::Mat& map, cv::Size size) {
    if (size.width < templ.cols || size.height < templ.rows) return {};
    cv::Mat warped;
    cv::warpAffine(picture, warped, map, size, cv::INTER_LINEAR, cv::BORDER_CONSTANT,
                   cv::Scalar(0));
    cv::Mat scores;
    cv::matchTemplate(warped, templ, scores, cv::TM_CCOEFF_NORMED);
    cv::Mat inverse;
    cv::invertAffineTransform(map, inverse);
    const cv::Point2d across = Apply(inverse, {double(templ.cols - 1), 0}) - Apply(inverse, {0, 0});
    const cv::Point2d down = Apply(inverse, {0, double(templ.rows - 1)}) - Apply(inverse, {0, 0});
    const double right = picture.cols - 1 + 1e-6, bottom = picture.rows - 1 + 1e-6;
    auto inside = [&](cv::Point2d p) {
        return p.x >= -1e-6 && p.y >= -1e-6 && p.x <= right && p.y <= bottom;
    };
    for (int v = 0; v < scores.rows; ++v) {
        float* s = scores.ptr<float>(v);
        for (int u = 0; u < scores.cols; ++u) {
            const cv::Point2d corner = Apply(inverse, {double(u), double(v)});
            if (!std::isfinite(s[u]) || !inside(corner) || !inside(corner + across) ||
                !inside(corner + down) || !inside(corner + across + down))
                s[u] = kNoScore;
        }
    }
    return scores;
}

// Scores as compared: their amount when inverted contrast counts; unscored places stay below.
cv::Mat Compared(const cv::Mat& scores, bool allowInverted) {
    if (!allowInverted) return scores;
    cv::Mat values = cv::abs(scores);
    values.setTo(kNoScore, scores == kNoScore);
    return values;
}

// The offset (-0.5 ... 0.5) of the top of a parabola through three neighbouring values.
double Vertex(double before, double at, double after) {
    const double curve = before - 2 * at + after;
    if (curve >= 0) return 0;
    return std::clamp(0.5 * (before - after) / curve, -0.5, 0.5);
}

struct OLevels {
    std::vector<cv::Mat> search, templ;
};

int LevelCount(const cv::Mat& search, const cv::Mat& templ, int wanted) {
    int levels = 0;
    while (levels < kMaxLevels &&
           std::min(templ.cols, templ.rows) >> (levels + 1) >= kMinTemplateSide &&
           std::min(search.cols, search.rows) >> (levels + 1) >= kMinSearchSide)
        ++levels;
    return wanted > 0 ? std::min(wanted, levels) : levels;
}

// Candidates on the coarsest level: local maxima of every angle and scale of the coarse grid.
std::vector<OPlace> CoarsePlaces(const cv::Mat& search, const cv::Mat& templ, double factor,
                                 const std::vector<double>& angles,
                                 const std::vector<double>& scales, double threshold,
                                 bool allowInverted) {
    std::vector<OPlace> places;
    OPlace best{0, 0, 0, 1, kNoScore, false};
    const cv::Point2d centre((search.cols - 1) / 2.0, (search.rows - 1) / 2.0);
    const cv::Point2d templCentre((templ.cols - 1) / 2.0, (templ.rows - 1) / 2.0);
    for (double scale : scales)
        for (double angle : angles) {
            cv::Mat map = UprightMap(centre, angle, scale);
            // Make room for the whole turned picture.
            double minX = 1e30, minY = 1e30, maxX = -1e30, maxY = -1e30;
            for (cv::Point2d c :
                 {cv::Point2d(0, 0), cv::Point2d(search.cols - 1, 0),
                  cv::Point2d(0, search.rows - 1), cv::Point2d(search.cols - 1, search.rows - 1)}) {
                const cv::Point2d t = Apply(map, c);
                minX = std::min(minX, t.x);
                minY = std::min(minY, t.y);
                maxX = std::max(maxX, t.x);
                maxY = std::max(maxY, t.y);
            }
            map.at<double>(0, 2) -= std::floor(minX);
            map.at<double>(1, 2) -= std::floor(minY);
            const cv::Size size(int(std::ceil(maxX) - std::floor(minX)) + 1,
                                int(std::ceil(maxY) - std::floor(minY)) + 1);
            cv::Mat scores = Scores(search, templ, map, size);
            if (scores.empty()) continue;
            const cv::Mat values = Compared(scores, allowInverted);
            cv::Mat peaks;
            cv::dilate(values, peaks, cv::Mat());
            cv::Mat inverse;
            cv::invertAffineTransform(map, inverse);
            for (int v = 0; v < values.rows; ++v) {
                const float* s = values.ptr<float>(v);
                const float* p = peaks.ptr<float>(v);
                const float* raw = scores.ptr<float>(v);
                for (int u = 0; u < values.cols; ++u) {
                    if (s[u] < p[u] || (s[u] < threshold && s[u] <= best.score)) continue;
                    const cv::Point2d at = Apply(inverse, {u + templCentre.x, v + templCentre.y});
                    const OPlace place{at.x * factor, at.y * factor, angle,
                                       scale,         s[u],          raw[u] < 0};
                    if (s[u] > best.score) best = place;
                    if (s[u] >= threshold) places.push_back(place);
                }
            }
        }
    // Without a place good enough, the best one is still refined: its score is reported.
    if (places.empty() && best.score > kNoScore) places.push_back(best);
    std::sort(places.begin(), places.end(),
              [](const OPlace& a, const OPlace& b) { return a.score > b.score; });
    return places;
}

// The best place near a candidate on the full picture: every angle and scale of the fine
// grid around it, the window moved by up to `margin` pixels, then sub-pixel refinement.
OPlace Refine(const cv::Mat& search, const cv::Mat& templ, const OPlace& start, double margin,
              const std::vector<double>& angles, const std::vector<double>& scales,
              bool allowInverted) {
    OPlace best = start;
    best.score = -1;
    const int r = int(std::ceil(margin));
    const cv::Size patch(templ.cols + 2 * r, templ.rows + 2 * r);
    const cv::Point2d templCentre((templ.cols - 1) / 2.0, (templ.rows - 1) / 2.0);
    std::vector<double> angleScores(angles.size(), -1);
    size_t bestAngle = 0;
    for (double scale : scales)
        for (size_t ai = 0; ai < angles.size(); ++ai) {
            cv::Mat map = UprightMap({start.x, start.y}, angles[ai], scale);
            map.at<double>(0, 2) += (patch.width - 1) / 2.0 - start.x;
            map.at<double>(1, 2) += (patch.height - 1) / 2.0 - start.y;
            const cv::Mat scores = Scores(search, templ, map, patch);
            if (scores.empty()) continue;
            const cv::Mat values = Compared(scores, allowInverted);
            double value = 0;
            cv::Point at;
            cv::minMaxLoc(values, nullptr, &value, nullptr, &at);
            if (value <= kNoScore) continue;  // no place inside the picture
            const bool inverted = scores.at<float>(at) < 0;
            angleScores[ai] = std::max(angleScores[ai], value);
            if (value <= best.score) continue;
            // Sub-pixel position from the scores around the peak.
            auto score = [&](int u, int v) {
                u = std::clamp(u, 0, values.cols - 1);
                v = std::clamp(v, 0, values.rows - 1);
                const float s = values.at<float>(v, u);
                return s == kNoScore ? value : double(s);
            };
            const double du = Vertex(score(at.x - 1, at.y), value, score(at.x + 1, at.y));
            const double dv = Vertex(score(at.x, at.y - 1), value, score(at.x, at.y + 1));
            cv::Mat inverse;
            cv::invertAffineTransform(map, inverse);
            const cv::Point2d p =
                Apply(inverse, {at.x + du + templCentre.x, at.y + dv + templCentre.y});
            best = {p.x, p.y, angles[ai], scale, value, inverted};
            bestAngle = ai;
        }
    // Sub-step angle from the neighbouring angles' best scores.
    if (best.score > 0 && bestAngle > 0 && bestAngle + 1 < angles.size() &&
        angleScores[bestAngle - 1] > 0 && angleScores[bestAngle + 1] > 0) {
        const double step = angles[bestAngle + 1] - angles[bestAngle];
        best.angle += step * Vertex(angleScores[bestAngle - 1], angleScores[bestAngle],
                                    angleScores[bestAngle + 1]);
    }
    return best;
}

// Drops places that overlap a better one too much; keeps at most `count`.
std::vector<OPlace> Suppress(std::vector<OPlace> places, cv::Size2d templSize, double maxOverlap,
                             size_t count) {
    std::sort(places.begin(), places.end(),
              [](const OPlace& a, const OPlace& b) { return a.score > b.score; });
    std::vector<OPlace> kept;
    for (const OPlace& p : places) {
        if (kept.size() >= count) break;
        const OPatternMatch pm{p.x, p.y, p.angle, p.scale, p.score};
        const bool covered = std::any_of(kept.begin(), kept.end(), [&](const OPlace& k) {
            return Overlap(pm, {k.x, k.y, k.angle, k.scale, k.score}, templSize) > maxOverlap;
        });
        if (!covered) kept.push_back(p);
    }
    return kept;
}

size_t WantedCount(const Settings& s) {
    return s.numMatches <= 0 ? size_t(kMaxMatches) : size_t(std::min(s.numMatches, kMaxMatches));
}

}  // namespace

cv::Mat TemplateGrey(const Template& t) {
    return KvtTeaching::GreyOf(t.image);
}

bool bHasContrast(const cv::Mat& grey, int minContrast) {
    if (grey.empty()) return false;
    double low = 0, high = 0;
    cv::minMaxLoc(grey, &low, &high);
    return high - low >= std::max(1, minContrast);
}

double Overlap(const OPatternMatch& a, const OPatternMatch& b, cv::Size2d size) {
    const cv::RotatedRect ra(cv::Point2f(float(a.x), float(a.y)),
                             cv::Size2f(float(size.width * a.scale), float(size.height * a.scale)),
                             float(-a.angle));
    const cv::RotatedRect rb(cv::Point2f(float(b.x), float(b.y)),
                             cv::Size2f(float(size.width * b.scale), float(size.height * b.scale)),
                             float(-b.angle));
    std::vector<cv::Point2f> region;
    if (cv::rotatedRectangleIntersection(ra, rb, region) == cv::INTERSECT_NONE || region.size() < 3)
        return 0;
    std::vector<cv::Point2f> hull;
    cv::convexHull(region, hull);
    const double smaller = std::min(ra.size.area(), rb.size.area());
    return smaller > 0 ? std::min(1.0, cv::contourArea(hull) / smaller) : 0;
}

OPatternSearch Search(const cv::Mat& search, const Template& t, const Settings& settings) {
    OPatternSearch result;
    std::vector<OPatternMatch>& matches = result.matches;
    const cv::Mat templ = TemplateGrey(t);
    if (search.empty() || templ.empty() || search.type() != CV_8UC1) return result;
    if (!bHasContrast(templ, 1)) return result;
    const bool allowInverted = settings.option2 == 1;
    const double angleStep = std::max(0.1, t.params[Template::kAngleStepTenths] / 10.0);
    const double scaleStep = std::max(0.01, t.params[Template::kScaleStepPercent] / 100.0);
    const double tolerance = std::clamp(settings.option1, 0, 50) / 100.0;
    const double baseScale = t.scale > 0.1 && t.scale < 10 ? t.scale : 1.0;
    const double scaleFrom = baseScale * (1 - tolerance), scaleExtent = baseScale * 2 * tolerance;
    const double angleFrom = t.startAngle, angleExtent = std::clamp(t.angleExtent, 0.0, 360.0);

    // The pyramid: both pictures halved `levels` times.
    const int levels = LevelCount(search, templ, t.params[Template::kPyramidLevels]);
    cv::Mat coarseSearch = search, coarseTempl = templ;
    for (int l = 0; l < levels; ++l) {
        cv::pyrDown(coarseSearch, coarseSearch);
        cv::pyrDown(coarseTempl, coarseTempl);
    }
    if (coarseTempl.cols > coarseSearch.cols && coarseTempl.rows > coarseSearch.rows) return result;
    const double factor = double(1 << levels);
    // On the coarse level an angle step turns the template's corners by about a pixel.
    const double diagonal = std::hypot(coarseTempl.cols, coarseTempl.rows);
    const double coarseAngleStep = std::max(angleStep, 2.0 / diagonal / kDegree);
    const double coarseScaleStep = std::max(scaleStep, 2.0 / diagonal);
    const std::vector<double> coarseAngles = Steps(angleFrom, angleExtent, coarseAngleStep);
    const std::vector<double> coarseScales = Steps(scaleFrom, scaleExtent, coarseScaleStep);

    // Greediness 1 keeps only coarse places close to the minimum score, 0 keeps far more.
    const double greed = std::clamp(settings.greediness, 0.0, 1.0);
    const double minScore = std::clamp(settings.minScore, 0.0, 1.0);
    const double threshold = minScore * (0.6 + 0.3 * greed);
    const size_t wanted = WantedCount(settings);
    const size_t candidates = wanted * size_t(1 + std::lround(4 * (1 - greed))) + 2;
    const cv::Size2d templSize(templ.cols, templ.rows);
    std::vector<OPlace> coarse =
        Suppress(CoarsePlaces(coarseSearch, coarseTempl, factor, coarseAngles, coarseScales,
                              threshold, allowInverted),
                 templSize, 0.5, candidates);

    std::vector<OPlace> fine;
    for (const OPlace& c : coarse) {
        const std::vector<double> angles =
            Steps(std::max(angleFrom, c.angle - coarseAngleStep),
                  std::min(angleFrom + angleExtent, c.angle + coarseAngleStep) -
                      std::max(angleFrom, c.angle - coarseAngleStep),
                  angleStep);
        const std::vector<double> scales =
            Steps(std::max(scaleFrom, c.scale - coarseScaleStep),
                  std::min(scaleFrom + scaleExtent, c.scale + coarseScaleStep) -
                      std::max(scaleFrom, c.scale - coarseScaleStep),
                  scaleStep);
        const OPlace p = Refine(search, templ, c, factor + 2, angles, scales, allowInverted);
        if (p.score > result.bestScore) result.bestScore = p.score;
        if (p.score >= minScore) fine.push_back(p);
    }
    const double maxOverlap = std::clamp(settings.maxOverlap, 0.0, 1.0);
    for (const OPlace& p : Suppress(fine, templSize, maxOverlap, wanted)) {
        OPatternMatch m{p.x, p.y, p.angle, p.scale, p.score, 0, p.inverted};
        // The reported point is the template's reference point, turned and scaled with it.
        const int rx = t.params[Template::kReferenceX], ry = t.params[Template::kReferenceY];
        if (rx >= 0 && ry >= 0) {
            const double dx = (rx - (templ.cols - 1) / 2.0) * p.scale;
            const double dy = (ry - (templ.rows - 1) / 2.0) * p.scale;
            const double c = std::cos(p.angle * kDegree), s = std::sin(p.angle * kDegree);
            m.x += dx * c + dy * s;
            m.y += -dx * s + dy * c;
        }
        matches.push_back(m);
    }
    if (!matches.empty()) result.bestTemplate = 0;
    return result;
}

std::vector<OPatternMatch> Find(const cv::Mat& search, const Template& t,
                                const Settings& settings) {
    return Search(search, t, settings).matches;
}

OPatternSearch SearchAny(const cv::Mat& search, const OPatternMatching_V2_TemplateArray& templates,
                         const Settings& settings) {
    OPatternSearch result;
    std::vector<OPatternMatch> all;
    for (int i = 0; i < templates.iGetSize(); ++i) {
        const OPatternSearch one = Search(search, *templates.GetAt(i), settings);
        if (one.bestScore > result.bestScore) result.bestScore = one.bestScore;
        for (OPatternMatch m : one.matches) {
            m.templateIndex = i;
            all.push_back(m);
        }
    }
    std::sort(all.begin(), all.end(),
              [](const OPatternMatch& a, const OPatternMatch& b) { return a.score > b.score; });
    // Matches of different templates at one place: the best stays.
    const size_t wanted = WantedCount(settings);
    const double maxOverlap = std::clamp(settings.maxOverlap, 0.0, 1.0);
    for (const OPatternMatch& m : all) {
        if (result.matches.size() >= wanted) break;
        const OType_Image& image = templates.GetAt(m.templateIndex)->image;
        const cv::Size2d size(image.iGetWidth(), image.iGetHeight());
        if (std::none_of(result.matches.begin(), result.matches.end(),
                         [&](const OPatternMatch& k) { return Overlap(m, k, size) > maxOverlap; }))
            result.matches.push_back(m);
    }
    if (!result.matches.empty()) result.bestTemplate = result.matches[0].templateIndex;
    return result;
}

std::vector<OPatternMatch> FindAny(const cv::Mat& search,
                                   const OPatternMatching_V2_TemplateArray& templates,
                                   const Settings& settings) {
    return SearchAny(search, templates, settings).matches;
}

}  // namespace PatternMatcher
