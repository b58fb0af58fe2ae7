// Finds a taught grey template in a grey search picture, turned and scaled within the ranges
// of the search settings, with OpenCV's normalised correlation (TM_CCOEFF_NORMED).
//
// The search runs coarse to fine: on a reduced picture every angle and scale of a coarse
// grid is tried by turning the search picture against the template (so the template needs
// no mask and keeps all its pixels), the best places are kept, and each is refined on the
// full picture at the template's angle and scale steps, to sub-pixel position and a
// fraction of the angle step. Places whose template window leaves the picture are not
// scored.
//
// Conventions: positions are search-picture pixels (x right, y down, pixel centres on whole
// numbers); angles are degrees, counter-clockwise on the screen, of the pattern against the
// template; the score is the correlation 0 ... 1 (its amount when inverted contrast is
// allowed).
#pragma once

#include <vector>

#include <opencv2/core.hpp>

#include "tools/patternmatching/OPatternMatching_V2.h"

struct OPatternMatch {
    double x = 0;  // the template's reference point
    double y = 0;
    double angle = 0;
    double scale = 1;
    double score = 0;
    int templateIndex = 0;
    bool inverted = false;  // found with inverted contrast
};

// A search's matches and the best score it met, also when that lies below the minimum.
struct OPatternSearch {
    std::vector<OPatternMatch> matches;  // best first
    double bestScore = 0;                // 0 when nothing could be compared
    int bestTemplate = -1;               // template of the best match; -1 without a match
};

namespace PatternMatcher {

// The most matches a search reports when the search settings ask for all (0).
inline constexpr int kMaxMatches = 100;

// The grey picture of a template (a view of its image's pixels when grey); empty when it has
// none.
cv::Mat TemplateGrey(const OPatternMatching_V2_Template& t);

// The spread of grey values (maximum - minimum) a picture must show to be taught.
bool bHasContrast(const cv::Mat& grey, int minContrast);

// All matches of one template, best first, at most as many as the settings ask for, none
// below the minimum score and none overlapping a better one by more than the maximum overlap.
OPatternSearch Search(const cv::Mat& search, const OPatternMatching_V2_Template& t,
                      const OPatternMatching_V2_SearchParameter& settings);
std::vector<OPatternMatch> Find(const cv::Mat& search, const OPatternMatching_V2_Template& t,
                                const OPatternMatching_V2_SearchParameter& settings);

// The matches of every template of the array together, best first, limited as above.
OPatternSearch SearchAny(const cv::Mat& search, const OPatternMatching_V2_TemplateArray& templates,
                         const OPatternMatching_V2_SearchParameter& settings);
std::vector<OPatternMatch> FindAny(const cv::Mat& search,
                                   const OPatternMatching_V2_TemplateArray& templates,
                                   const OPatternMatching_V2_SearchParameter& settings);

// The share (0 ... 1) of the smaller of two match boxes that the other one covers; boxes are
// the template's size times the match's scale, turned by its angle.
double Overlap(const OPatternMatch& a, const OPatternMatch& b, cv::Size2d templateSize);

}  // namespace PatternMatcher
