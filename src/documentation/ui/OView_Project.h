// "Project documentation": the documentation record as the printable report, page by page
// on screen, with "Edit..." for the documentation sheet, print, print preview, PDF and the
// bitmap of the view.
#pragma once

#include <QWidget>
#include <memory>

#include "document/ui/OViewWidget.h"
#include "documentation/OProjectReport.h"

class ODoc;
class QLabel;
class QScrollArea;

class OView_Project : public QWidget, public OViewWidget {
    Q_OBJECT
  public:
    explicit OView_Project(ODoc& doc, QWidget* parent = nullptr);

    void OnUpdate() override;
    std::optional<OCommandState> ViewCommandState(int commandId) override;
    bool bOnViewCommand(int commandId) override;
    OPrintable* opGetPrintable() override;

    // Opens the documentation sheet (modal).
    void EditDocumentation();
    // Writes the report into a PDF file; error says why not.
    bool bWritePdf(const QString& path, std::string& error);
    // The report's pages as drawn on screen.
    QImage RenderPages(double dotsPerMillimetre) const;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    std::unique_ptr<OProjectReport> MakeReport() const;

    ODoc& m_doc;
    QScrollArea* m_scroll = nullptr;
    QLabel* m_page = nullptr;
    std::unique_ptr<OProjectReport> m_printable;
};
