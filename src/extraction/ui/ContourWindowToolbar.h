// The toolbar of the part contour windows of both families: command buttons with their
// icons and labels, separators, and the zoom slider in the place of its command.
#pragma once

#include <functional>
#include <map>
#include <vector>

class QAction;
class QSlider;
class QToolBar;
class QWidget;

struct OContourToolbar {
    QToolBar* toolbar = nullptr;
    QSlider* slider = nullptr;
    std::map<int, QAction*> actions;  // by command id
};

// commands: ids in order, 0 for a separator. run is called with the id of a pressed button,
// zoom with the slider's new value.
OContourToolbar BuildContourToolbar(QWidget& owner, int toolbarId, const std::vector<int>& commands,
                                    std::function<void(int)> run, std::function<void(int)> zoom);
