// What the family-1 extraction engine and its part contour view need from the document and
// the device session. The document implements it; tests use a double (tests/extraction).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "device/TargetSystem.h"

class OProgressCtrl;
class OType_ConfigTool;
class OType_ZRPartSet;
class Settings;
class UserInteraction;
class ZRINFO;

class OExtractorHost {
  public:
    virtual ~OExtractorHost() = default;

    // --- session values ---
    // The session's device information (image height at byte 688, basic feature count at
    // byte 12, tool capacity at byte 692).
    virtual const ZRINFO& GetDeviceInfo() const = 0;
    virtual OTargetSystem GetTargetSystem() const = 0;
    // Decides the variant arithmetic of the basic features (the target's software code).
    virtual int iGetDeviceTypeCode() const = 0;
    // 1: basic features whose option bit 3 is set keep their stored value.
    virtual int iGetKeepMarkedBasicValues() const = 0;
    // Maximum number of parts per list and the policy when a list holds more (0 ask,
    // 1 remove newest, 2 raise the limit, 3 remove oldest).
    virtual int iGetMaxPartsPerList() const = 0;
    virtual int iGetPartLimitPolicy() const = 0;
    // Project properties the view shows by: orientations and types used, quality decision.
    virtual bool bUsesOrientations() const = 0;
    virtual bool bUsesTypes() const = 0;
    virtual bool bUsesQualityDecision() const = 0;
    // The device's feature-selection option (whether features may be switched off for the
    // quality decision).
    virtual bool bFeatureSelectionAllowed() const = 0;

    // --- platform ---
    virtual UserInteraction& GetUserInteraction() = 0;
    virtual OProgressCtrl* opGetProgress() = 0;
    virtual Settings& GetSettings() = 0;

    // --- document services ---
    virtual OType_ZRPartSet* opGetActualPartSet() = 0;
    virtual void Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly,
                           int resortTeach, int resortTest, int option) = 0;
    virtual void UpdateAllViews() = 0;
    virtual void SelectFeature(int feature, bool redraw) = 0;
    virtual void SetModified() = 0;
    // The part properties dialog for the shown part; true when it changed something.
    virtual bool bEditPartProperties() = 0;
    // Opens the tool property sheet for the selected feature.
    virtual void OpenToolProperties() = 0;
    // Closes the document's separate result window when it is open.
    virtual void CloseResultWindow() = 0;
    // Prints the part contour view once (the view's printing, for a series of samples).
    virtual void PrintContourView() = 0;
    // Repaints the part contour view (after an extraction run).
    virtual void RedrawContourView() = 0;

    // --- tools through the session ---
    // The session's IsToolAllowed for the actual part set.
    virtual bool bIsToolAllowed(int kind, int subKind) = 0;
    // Creates a tool of the kind in the part set the way the session adds tools (placed
    // among the tools of its kind, named, with feature records); nullptr when refused.
    virtual OType_ConfigTool* opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) = 0;

    // --- clipboard (format = the registered format name) ---
    virtual bool bClipboardHasFormat(std::string_view format) = 0;
    virtual bool bReadClipboard(std::string_view format, std::vector<uint8_t>& bytes) = 0;
    virtual bool bWriteClipboard(std::string_view format, const std::vector<uint8_t>& bytes) = 0;

    // --- tape measure scaling ("Settings for tape measure"), kept with the project ---
    virtual double dGetTapeScaleX() const = 0;
    virtual double dGetTapeScaleY() const = 0;
    virtual void SetTapeScale(double x, double y) = 0;
};
