// The project documentation: the sheet's four pages writing into the project (at once, or
// through the Project page's timer), "Today", the sheet clipboard between two projects, and
// the report view printed to PDF, with the warning about missing entries.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <fstream>

#include "SetupTestSupport.h"
#include "document/CommandIds.h"
#include "document/ODoc.h"
#include "documentation/ODocumentationEditor.h"
#include "documentation/OProjectReport.h"
#include "documentation/ui/OProjectDataSheet.h"
#include "documentation/ui/OView_Project.h"
#include "model/draw/ORecordingPainter.h"
#include "model/strings/ResStr.h"

namespace {

using namespace setuptest;

struct DocumentationDesk : SetupDesk {
    DocumentationDesk() : SetupDesk({16, 828, 0, 6, 1, 8}) {
        shell->Frame().show();
        ProcessEvents();
        Doc().SetModifiedFlag(0);
    }
    OType_ProjectData& Data() { return Session().ProjectData(); }
};

template <class T>
T* EditorOf(OProjectDataSheet& sheet, ProjectField field) {
    auto* editor = qobject_cast<T*>(sheet.Editor(field));
    EXPECT_NE(editor, nullptr) << OType_ProjectData::FieldKey(field);
    return editor;
}

TEST(Documentation, WriteDelays) {
    EXPECT_EQ(ODocumentationEditor::iWriteDelayMs("Line 4"), 800);
    EXPECT_EQ(ODocumentationEditor::iWriteDelayMs("Line 4."), 2400);
    EXPECT_EQ(ODocumentationEditor::iWriteDelayMs(""), 2400);
    EXPECT_TRUE(ODocumentationEditor::bMissesImportantInfo(OType_ProjectData()));
}

TEST(Documentation, TheSheetWritesAtOnceOrThroughThePagesTimer) {
    DocumentationDesk desk;
    OProjectDataSheet sheet(desk.Doc(), &desk.shell->Frame());
    sheet.show();
    ProcessEvents();
    ASSERT_EQ(sheet.Pages()->count(), 4);
    EXPECT_EQ(sheet.Pages()->tabText(3), "Transport system");

    auto* name = EditorOf<QLineEdit>(sheet, ProjectField::ProjectName);
    // The splash takes the program's first key press; the edit is made as typing makes it.
    name->setText("Line 4");
    emit name->textEdited(name->text());
    EXPECT_EQ(desk.Data().Get(ProjectField::ProjectName), "") << "the timer writes it";
    ASSERT_TRUE(PumpUntil([&] { return desk.Data().Get(ProjectField::ProjectName) == "Line 4"; },
                          std::chrono::seconds(3)));
    EXPECT_TRUE(desk.Doc().IsModified());

    auto* engineer = EditorOf<QLineEdit>(sheet, ProjectField::Engineer);
    engineer->setText("A. B.");
    emit engineer->textEdited(engineer->text());
    const auto typed = std::chrono::steady_clock::now();
    ASSERT_TRUE(PumpUntil([&] { return desk.Data().Get(ProjectField::Engineer) == "A. B."; },
                          std::chrono::seconds(5)));
    EXPECT_GE(std::chrono::steady_clock::now() - typed, std::chrono::milliseconds(2000))
        << "a text ending with a dot waits 2.4 s";

    sheet.Pages()->setCurrentIndex(1);
    auto* customer = EditorOf<QLineEdit>(sheet, ProjectField::CustomerName);
    customer->setText("Harlow Feeders");
    emit customer->textEdited(customer->text());
    EXPECT_EQ(desk.Data().Get(ProjectField::CustomerName), "Harlow Feeders") << "at once";
    auto* address = EditorOf<QPlainTextEdit>(sheet, ProjectField::CustomerAddress);
    address->setPlainText("Mill Lane 3\nHarlow");
    EXPECT_EQ(desk.Data().Get(ProjectField::CustomerAddress), "Mill Lane 3\r\nHarlow");

    sheet.Pages()->setCurrentIndex(0);
    Find<QPushButton>(sheet, "today")->click();
    EXPECT_EQ(desk.Data().Get(ProjectField::Date),
              ODocumentationEditor::DateText(std::chrono::system_clock::now()));
    EXPECT_EQ(EditorOf<QLineEdit>(sheet, ProjectField::Date)->text().toStdString(),
              desk.Data().Get(ProjectField::Date));
    TempDir dir;
    SaveScreenshot(Composite(desk.shell->Frame(), sheet), dir, "project_documentation_sheet");

    // Closing with entries missing warns.
    desk.shell->ui.ExpectMessage(MsgResult::Ok, "Project number");
    sheet.reject();
    EXPECT_TRUE(desk.shell->ui.bAllScriptUsed()) << desk.shell->ui.TranscriptText();
}

TEST(Documentation, TheSheetClipboardCarriesEveryFieldToAnotherProject) {
    DocumentationDesk desk;
    OType_ProjectData& data = desk.Data();
    for (const ODocumentationField& f : ODocumentationEditor::Fields())
        data.Set(f.field, std::string(OType_ProjectData::FieldKey(f.field)) + " text");
    const OType_ProjectData filled = data;
    {
        OProjectDataSheet sheet(desk.Doc(), &desk.shell->Frame());
        EXPECT_FALSE(sheet.bCanPaste());
        sheet.CopyRecord();
        EXPECT_TRUE(sheet.bCanPaste());
    }
    data.RemoveAll();
    desk.Doc().SetModifiedFlag(0);
    OProjectDataSheet other(desk.Doc(), &desk.shell->Frame());
    EXPECT_EQ(EditorOf<QLineEdit>(other, ProjectField::ProjectNo)->text(), "");
    ASSERT_TRUE(other.bPasteRecord());
    EXPECT_EQ(data, filled);
    EXPECT_EQ(EditorOf<QLineEdit>(other, ProjectField::ProjectNo)->text(), "ProjectNo text");
    EXPECT_EQ(EditorOf<QLineEdit>(other, ProjectField::DeviceOptions)->text(),
              "DeviceOptions text");
    EXPECT_TRUE(desk.Doc().IsModified());
}

TEST(Documentation, TheReportListsEveryPageAndPrintsToPdf) {
    DocumentationDesk desk;
    OType_ProjectData& data = desk.Data();
    data.Set(ProjectField::ProjectName, "Line 4");
    data.Set(ProjectField::Description, "Brackets from the press\r\ntwo orientations");
    OProjectReport report(data, {{"Hardware:", "Tamrin"}}, "2026-12-09");
    const int pages = report.iPreparePages(kA4PortraitArea);
    ASSERT_GE(pages, 1);
    ORecordingPainter painter;
    for (int page = 0; page < pages; ++page)
        report.PaintPage(painter, page, kA4PortraitArea);
    std::string drawn;
    for (const std::string& text : painter.Texts())
        drawn += text + "\n";
    for (const char* text :
         {"Project documentation", "Line 4", "Brackets from the press", "two orientations",
          "Transport system", "Tamrin", "(not specified)", "End customer (if differs from above):"})
        EXPECT_NE(drawn.find(text), std::string::npos) << text;

    desk.Doc().ShowChildFrames();
    ASSERT_TRUE(desk.Doc().ShowView(ViewKind::ProjectDocumentation));
    ProcessEvents();
    auto* view = desk.shell->Frame().findChild<OView_Project*>();
    ASSERT_NE(view, nullptr);
    // The report fills the main window, as a user reading it would have it.
    for (QWidget* w = view; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) {
            sub->showMaximized();
            break;
        }
    }
    ProcessEvents();
    TempDir dir;
    SaveScreenshot(desk.shell->Frame().grab().toImage(), dir, "project_documentation_view");
    const std::string pdf = (dir / "documentation.pdf").string();
    desk.shell->ui.ExpectMessage(MsgResult::Ok, "Project number");
    std::string error;
    ASSERT_TRUE(view->bWritePdf(QString::fromStdString(pdf), error)) << error;
    EXPECT_TRUE(desk.shell->ui.bAllScriptUsed()) << "the missing number and engineer are named";
    std::ifstream file(pdf, std::ios::binary);
    std::string head(4, '\0');
    file.read(head.data(), 4);
    EXPECT_EQ(head, "%PDF");

    data.Set(ProjectField::ProjectNo, "P-17");
    data.Set(ProjectField::Engineer, "Ann");
    desk.shell->ui.Clear();
    ASSERT_TRUE(view->bWritePdf(QString::fromStdString(pdf), error)) << error;
    EXPECT_TRUE(desk.shell->ui.Transcript().empty()) << "nothing is missing now";
}

}  // namespace
