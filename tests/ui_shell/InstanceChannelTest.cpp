// A file opened from the file manager while the program runs is handed to that program.
#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QTimer>
#include <QUuid>
#include <atomic>
#include <future>

#include "ShellTestSupport.h"
#include "app/ui/OInstanceChannel.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "model/part/OType_Part.h"

using namespace shelltest;

namespace {

QString UniqueName() {
    return "kalvor-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Runs the blocking hand-over on another thread while this one serves the events.
bool HandOverWhileServing(const OInstanceChannel& sender, const QString& file) {
    auto result = std::async(std::launch::async, [&] { return sender.bHandOver(file, 3000); });
    QElapsedTimer clock;
    clock.start();
    while (result.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready &&
           clock.elapsed() < 10000)
        QApplication::processEvents();
    return result.get();
}

void ServeEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

}  // namespace

TEST(InstanceChannel, HandsTheAbsolutePathToTheListener) {
    Application();
    const QString name = UniqueName();
    OInstanceChannel running(name);
    std::vector<QString> received;
    ASSERT_TRUE(running.bListen([&](const QString& path) { received.push_back(path); }));

    OInstanceChannel second(name);
    EXPECT_TRUE(HandOverWhileServing(second, "some folder/line 3.zrp"));
    ServeEventsFor(50);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0], QDir::current().absoluteFilePath("some folder/line 3.zrp"));

    // A path with characters beyond ASCII arrives unchanged.
    const QString umlauts = QDir::temp().absoluteFilePath("Prüfteil ß.kvp");
    EXPECT_TRUE(HandOverWhileServing(second, umlauts));
    ServeEventsFor(50);
    ASSERT_EQ(received.size(), 2u);
    EXPECT_EQ(received[1], umlauts);
}

TEST(InstanceChannel, NothingRunningMeansTheStartGoesOn) {
    Application();
    OInstanceChannel alone(UniqueName());
    EXPECT_FALSE(alone.bHandOver("/tmp/x.zrp", 300));
}

TEST(InstanceChannel, OnlyOneProgramServesTheName) {
    Application();
    const QString name = UniqueName();
    OInstanceChannel first(name);
    OInstanceChannel second(name);
    ASSERT_TRUE(first.bListen([](const QString&) {}));
    EXPECT_FALSE(second.bListen([](const QString&) {}))
        << "a live program keeps its socket; the second must not steal it";
}

TEST(InstanceChannel, ASocketLeftByACrashedProgramIsTakenOver) {
    Application();
    const QString name = UniqueName();
    {
        // A server that goes away without tidying up leaves its socket file behind on Unix;
        // QLocalServer::close removes it, so make the file by hand.
        QLocalServer leftover;
        ASSERT_TRUE(leftover.listen(name));
        const QString path = leftover.fullServerName();
        leftover.close();
        QFile stale(path);
        ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    }
    OInstanceChannel program(name);
    std::vector<QString> received;
    ASSERT_TRUE(program.bListen([&](const QString& p) { received.push_back(p); }));
    OInstanceChannel second(name);
    EXPECT_TRUE(HandOverWhileServing(second, "/tmp/after-crash.zrp"));
    ServeEventsFor(50);
    EXPECT_EQ(received, std::vector<QString>{"/tmp/after-crash.zrp"});
}

TEST(InstanceChannel, TheRunningDesktopOpensAHandedProjectOnceItsDialogIsClosed) {
    TempDir dir;
    const std::string project = (dir / "handed.zrp").string();
    {
        Shell maker;
        ASSERT_TRUE(maker.desktop->Start());
        maker.Frame().UpdateActions();
        maker.Frame().Action(Cmd::kFileNew)->trigger();
        ODoc* doc = maker.App().opGetDocument();
        ASSERT_NE(doc, nullptr);
        doc->opGetActualPartSet()->TeachParts().Add(std::make_unique<OType_Part>());
        doc->opGetActualPartSet()->TeachParts().Add(std::make_unique<OType_Part>());
        std::string error;
        ASSERT_EQ(doc->WriteProjectFile(project, error), 1) << error;
        doc->SetModifiedFlag(0);
    }

    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.Frame().show();
    shell.Frame().UpdateActions();
    shell.Frame().Action(Cmd::kFileNew)->trigger();

    // A modal dialog is open when the file arrives: it must not be opened underneath it.
    QDialog blocking(&shell.Frame());
    QTimer::singleShot(0, &blocking, [&] {
        shell.desktop->OpenHandedFile(project);
        ServeEventsFor(300);
        EXPECT_NE(shell.Frame().windowTitle(), "Kalvor 4.0 en - handed.zrp");
        blocking.accept();
    });
    blocking.exec();
    ServeEventsFor(500);

    ODoc* doc = shell.App().opGetDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->opGetActualPartSet()->TeachParts().iGetSize(), 2);
    EXPECT_EQ(shell.Frame().windowTitle(), "Kalvor 4.0 en - handed.zrp");
    EXPECT_TRUE(shell.ui.Mismatches().empty()) << shell.ui.TranscriptText();
}
