// The view windows this program has, by view kind. Each subsystem registers the windows of
// its views; the main frame creates them when the document opens a view.
#pragma once

#include <functional>

#include "document/ViewHost.h"

class ODoc;
class QWidget;

// Makes the view's widget (which should implement OViewWidget) for the document.
using ViewCreator = std::function<QWidget*(ODoc& doc, QWidget* parent)>;

void RegisterViewCreator(ViewKind kind, ViewCreator creator);
const ViewCreator* FindViewCreator(ViewKind kind);
// Registers the windows of this program version (called once at start).
void RegisterProgramViews();
