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

}  // namespace DocumentText
