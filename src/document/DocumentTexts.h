// The document's own texts (the model library's texts come from ResStr).
#pragma once

namespace DocumentText {

inline constexpr const char* kCannotCreateFrame = "Can't create Frame";
inline constexpr const char* kOldFileKept = "The previous file has been left unchanged.";
inline constexpr const char* kSavedWithoutOldFormat =
    "The project has been saved without the copy in the old format.";
inline constexpr const char* kUndoPrefix = "UNDO:";
inline constexpr const char* kUndoLongSuffix = " ...";
inline constexpr const char* kUndoDataOutputAdded = "Data output added";
inline constexpr const char* kUndoStandardReferences = "Changed standard references";
inline constexpr const char* kUndoPropertiesChanged = "PropertiesChanged";
inline constexpr const char* kUndoPartSetProperties = "Partsetproperties";
// Part editing and the part list.
inline constexpr const char* kUndoOrientationAssigned = "Orientation assigned";
inline constexpr const char* kUndoTypeAssigned = "Part type assigned";
inline constexpr const char* kUndoPartsIgnored = "Parts ignored at teach";
inline constexpr const char* kUndoPartsUsed = "Parts used at teach";
inline constexpr const char* kUndoPartProperties = "Part properties changed";
inline constexpr const char* kUndoCameraImagesDeleted = "Camera images deleted";
inline constexpr const char* kUndoPartsCopied = "Parts copied";
inline constexpr const char* kUndoPartsMoved = "Parts moved";
inline constexpr const char* kUndoPartsDeleted = "Parts deleted";
inline constexpr const char* kUndoPartsPasted = "Parts pasted";
inline constexpr const char* kGotoPartTitle = "Goto part no.";

}  // namespace DocumentText
