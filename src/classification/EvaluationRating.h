// Ratings of the Teach-Data evaluation: separation values and part counts.
#pragma once

#include <string>

namespace EvaluationRating {

// Rating 0..4 of a separation value already multiplied by 100.
inline int iRating(double separationTimes100) {
    if (separationTimes100 < 0.0) return 0;
    if (separationTimes100 < 5.0) return 1;
    if (separationTimes100 < 10.0) return 2;
    if (separationTimes100 < 15.0) return 3;
    return 4;
}

inline const std::string& RatingText(int rating) {
    static const std::string texts[] = {"not possible !!", "bad !", "acceptable", "good",
                                        "very good"};
    return texts[rating < 0 ? 0 : rating > 4 ? 4 : rating];
}

// Icon of a class resting on n sample parts.
inline int iPartCountIcon(int n) {
    if (n <= 2) return 0;
    if (n <= 5) return 1;
    if (n <= 9) return 2;
    return 3;
}

}  // namespace EvaluationRating
