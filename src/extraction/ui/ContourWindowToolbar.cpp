#include "extraction/ui/ContourWindowToolbar.h"

#include <QAction>
#include <QSlider>
#include <QToolBar>

#include "app/ui/Artwork.h"
#include "document/CommandTable.h"
#include "extraction/OContourViewZoom.h"

namespace {

QSlider* ZoomSlider(QToolBar& toolbar, std::function<void(int)> zoom) {
    auto* slider = new QSlider(Qt::Horizontal, &toolbar);
    slider->setObjectName(QString::number(ContourViewZoom::kSliderId));
    slider->setRange(ContourViewZoom::kSliderMin, ContourViewZoom::kSliderMax);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setTickInterval(ContourViewZoom::kSliderTick - ContourViewZoom::kSliderMin);
    slider->setFixedWidth(ContourViewZoom::kSliderWidth);
    slider->setValue(ContourViewZoom::kSliderTick);
    slider->setToolTip("Zoom");
    slider->setFocusPolicy(Qt::NoFocus);
    QObject::connect(slider, &QSlider::valueChanged, slider, std::move(zoom));
    return slider;
}

}  // namespace

OContourToolbar BuildContourToolbar(QWidget& owner, int toolbarId, const std::vector<int>& commands,
                                    std::function<void(int)> run, std::function<void(int)> zoom) {
    OContourToolbar made;
    made.toolbar = new QToolBar(&owner);
    made.toolbar->setObjectName(QString::number(toolbarId));
    made.toolbar->setIconSize(QSize(16, 16));
    for (int id : commands) {
        if (id == 0) {
            made.toolbar->addSeparator();
        } else if (id == ContourViewZoom::kSliderId) {
            // The zoom slider takes the place of its button.
            made.slider = ZoomSlider(*made.toolbar, zoom);
            made.toolbar->addWidget(made.slider);
        } else {
            const OCommandInfo* info = FindCommand(id);
            QAction* action = made.toolbar->addAction(
                Artwork::CommandIcon(id),
                info ? QString::fromStdString(PlainLabel(info->text)) : QString());
            action->setObjectName(QString::number(id));
            QObject::connect(action, &QAction::triggered, action, [run, id] { run(id); });
            made.actions[id] = action;
        }
    }
    return made;
}
