// A row of the Teach-Data evaluation list: a rating icon, the text and the view command the
// user should open to improve what the row reports.
#pragma once

#include <string>

// View commands attached to evaluation rows.
namespace EvaluationCommand {
inline constexpr int kNone = 0;
inline constexpr int kPartContour = 32860;
inline constexpr int kTeachData = 32861;
inline constexpr int kPartList = 32862;
inline constexpr int kRecordSampleParts = 32883;
}  // namespace EvaluationCommand

// Icons of the evaluation image list (indexes 0..7).
namespace EvaluationIcon {
inline constexpr int kIndentedAdvice = 6;  // rows with this icon are indented
inline constexpr int kInformation = 4;
}  // namespace EvaluationIcon

struct OEvaluationRow {
    int icon = 0;
    std::string text;  // as shown: indented rows begin with two spaces
    int command = EvaluationCommand::kNone;
    bool indent = false;

    bool operator==(const OEvaluationRow&) const = default;
};
