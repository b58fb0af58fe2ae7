// Model-library string ids used by the teach-data view, its dialogs and the evaluation list.
#pragma once

namespace ClassificationText {
inline constexpr int kListNumberHeader = 20400;         // header of list column 0
inline constexpr int kListToolHeader = 20401;           // header of list column 1
inline constexpr int kOrientationCaption = 20402;       // caption of a single orientation value
inline constexpr int kStatusTeachData = 20403;          // status bar, display mode 1
inline constexpr int kStatusTestData = 20404;           // status bar, other display mode
inline constexpr int kToolWithoutName = 20405;          // list column 1 for a tool without name
inline constexpr int kRangeValidation = 20406;          // "... between %d and %d."
inline constexpr int kNotConvertibleToAnsi = 20407;     // a name outside Windows-1252
inline constexpr int kPartTypeNamePrompt = 20408;       // prompt of the part type properties
inline constexpr int kTypeCaption = 20409;              // evaluation count rows: type
inline constexpr int kOrientationShortCaption = 20410;  // evaluation count rows: orientation
inline constexpr int kPrintTypeCaption = 20411;         // printout table heading: type
inline constexpr int kPrintOrientationCaption = 20412;  // printout table heading: orientation
inline constexpr int kNumberValidation = 20413;         // a field that must hold a number
}  // namespace ClassificationText
