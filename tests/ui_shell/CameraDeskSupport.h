// The family-2 side of the desktop tests: a colour camera as the target of new projects, and
// camera pictures written to files and imported through File › Import as the user does it.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/ui/OFrame_Main.h"
#include "device/TargetSystem.h"
#include "device/TargetSystemSettings.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "platform/OUserInteraction_Scripted.h"
#include "ui_shell/ShellTestSupport.h"

namespace shelltest {

// A colour camera of the new platform: twenty part types, three parts in a set.
inline constexpr OTargetSystem kColourCamera{9, 818, 0, 20, 3, 4};
// The pure red square of the camera pictures.
inline constexpr QRect kRedSquare(400, 300, 50, 50);

// A picture of the camera's full field of view (new tools are placed in it): grey ground, a
// dark bracket with a hole (something to match), shifted right by `shift`, and the red square.
inline QImage CameraPicture(int shift) {
    QImage image(1280, 1024, QImage::Format_RGB888);
    image.fill(QColor(150, 150, 150));
    QPainter p(&image);
    p.fillRect(QRect(120 + shift, 140, 160, 60), QColor(30, 30, 30));
    p.fillRect(QRect(120 + shift, 140, 40, 180), QColor(30, 30, 30));
    p.setBrush(QColor(150, 150, 150));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(230 + shift, 170), 12, 12);
    p.fillRect(kRedSquare, QColor(255, 0, 0));
    return image;
}

// Triggers a main-menu command as the user picks it; it must be there and enabled.
inline void TriggerMenu(OFrame_Main& frame, int id) {
    frame.UpdateActions();
    QAction* action = frame.Action(id);
    ASSERT_NE(action, nullptr) << id;
    ASSERT_TRUE(action->isEnabled()) << action->text().toStdString();
    action->trigger();
    ProcessEvents();
}

// File › Import › sample part pictures: `count` pictures written to `dir`, then picked.
inline void ImportCameraPictures(OFrame_Main& frame, ODoc& doc, OUserInteraction_Scripted& ui,
                                 const std::filesystem::path& dir, int count) {
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i) {
        const auto path = dir / ("picture_" + std::to_string(i) + ".png");
        ASSERT_TRUE(CameraPicture(i * 6).save(QString::fromStdString(path.string()), "PNG"));
        paths.push_back(path.string());
    }
    const auto entries = doc.Exchange().ImportEntries();
    const auto at = std::find(entries.begin(), entries.end(), ExchangeKind::TeachPartImages);
    ASSERT_NE(at, entries.end());
    ui.AnswerChoice(static_cast<int>(at - entries.begin()));
    ui.AnswerFileOpen(paths);
    ui.AnswerDialog([](ODialogModel&) { return true; }, "ODlg_ImportImages");
    TriggerMenu(frame, Cmd::kFileImport);
}

}  // namespace shelltest
