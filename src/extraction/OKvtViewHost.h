// What the family-2 part contour view needs from the document and the device session beyond
// OExtractorHost: the tape measure's Z, the show-unselected-tools setting, the automatic
// image switch option and removing a tool with the tools that read it. The document
// implements it (ODocKvtViewHost); tests may use their own.
#pragma once

#include <string>
#include <vector>

class OType_ZRPartSet;

class OKvtViewHost {
  public:
    virtual ~OKvtViewHost() = default;
    // The tape measure's Z coordinate (world units), kept with the project's scaling.
    virtual double dGetTapeZ() const = 0;
    virtual void SetTapeZ(double z) = 0;
    // "SHOW_UNSELECTED_TOOLS": the positions of all tools are drawn, not only the selected one.
    virtual bool bShowUnselectedTools() const = 0;
    virtual void SetShowUnselectedTools(bool on) = 0;
    // The option that lets the view switch between contour and camera image by the selected
    // tool's image.
    virtual bool bAutoShowCameraOrContourImage() const = 0;
    // The names of the tool at `position` and of every tool that reads it, directly or not.
    virtual std::vector<std::string> DependentToolNames(const OType_ZRPartSet& partSet,
                                                        int position) = 0;
    // Removes them all (recompute and undo step included); false when nothing was removed.
    virtual bool bRemoveToolWithDependents(OType_ZRPartSet& partSet, int position) = 0;
};
