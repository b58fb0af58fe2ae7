// The view windows this program has, by view kind and device family. Each subsystem
// registers the windows of its views; the main frame creates them when the document opens a
// view: in a plain child frame, or in a split frame when the template names a companion
// view for the right-hand pane.
#pragma once

#include <functional>
#include <string>

#include "document/ViewHost.h"

class ODoc;
class QWidget;

// Makes the view's widget (which should implement OViewWidget) for the document.
using ViewCreator = std::function<QWidget*(ODoc& doc, QWidget* parent)>;

struct OViewTemplate {
    ViewCreator create;
    // The right-hand companion view of a split frame; none: a plain frame.
    ViewCreator createCompanion;
    // The "Settings" value that keeps the companion's width in pixels.
    std::string splitterSetting;
    int defaultCompanionWidth = 300;
    // The device families the window serves: bit 0 family 1, bit 1 family 2.
    int families = 0b11;

    bool bServesFamily(int family) const { return (families >> (family - 1)) & 1; }
    bool bIsSplit() const { return static_cast<bool>(createCompanion); }
};

void RegisterViewTemplate(ViewKind kind, OViewTemplate view);
// A plain frame for every family (replaces what was registered for the kind).
void RegisterViewCreator(ViewKind kind, ViewCreator creator);
// The window for the kind in a project of the family; nullptr when there is none.
const OViewTemplate* FindViewTemplate(ViewKind kind, int family);
const ViewCreator* FindViewCreator(ViewKind kind);
// Registers the windows of this program version (called once at start).
void RegisterProgramViews();
