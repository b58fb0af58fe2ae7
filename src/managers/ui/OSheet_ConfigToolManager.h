// The tool manager's property sheet: the information page (OPage_ConfigTool_Info) followed by
// the tool's own pages, or the manager's placeholder page (OPage_ConfigToolManager) when no
// feature is selected. The tool's pages come from the one property-page builder.
#pragma once

#include <QTabWidget>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "managers/ui/OPropertyPages.h"

class QLabel;
class QFormLayout;
class QPushButton;

// The information page: a title, label / value lines and a text below them.
class OPage_ConfigTool_Info : public QWidget {
    Q_OBJECT

  public:
    explicit OPage_ConfigTool_Info(QWidget* parent = nullptr);
    void Show(const std::string& title,
              const std::vector<std::pair<std::string, std::string>>& lines,
              const std::string& text);

  private:
    QLabel* m_title = nullptr;
    QFormLayout* m_lines = nullptr;
    QLabel* m_text = nullptr;
};

// The placeholder page shown while no feature is selected.
class OPage_ConfigToolManager : public QWidget {
    Q_OBJECT

  public:
    explicit OPage_ConfigToolManager(QWidget* parent = nullptr);
    void SetText(const std::string& text);

  private:
    QLabel* m_text = nullptr;
};

class OSheet_ConfigToolManager : public QTabWidget {
    Q_OBJECT

  public:
    explicit OSheet_ConfigToolManager(QWidget* parent = nullptr);

    // Removes every page; the tool's pages are destroyed, the two fixed pages kept.
    void RemoveAllPages();
    void ShowPlaceholder(const std::string& text);
    void ShowInformation(const std::string& title,
                         const std::vector<std::pair<std::string, std::string>>& lines,
                         const std::string& text);
    // The information page followed by the pages of `properties`.
    void ShowTool(const std::string& title,
                  const std::vector<std::pair<std::string, std::string>>& lines,
                  OPropertyList properties);
    // Only the pages of `properties` (a data output's pages).
    void ShowPages(OPropertyList properties);

    // The tool's pages; nullptr when the sheet shows none.
    OPropertyPages* ToolPages() const { return m_toolPages.get(); }
    bool bIsEdited() const { return m_toolPages && m_toolPages->bIsEdited(); }
    // The edited values; on a refusal the page of the refused field comes to the front.
    bool bCollect(OPropertyValues& values, std::string& error);

  signals:
    void edited();
    void applyRequested();

  private:
    void AddPages(OPropertyList properties);

    OPage_ConfigTool_Info* m_info = nullptr;
    OPage_ConfigToolManager* m_placeholder = nullptr;
    std::unique_ptr<OPropertyPages> m_toolPages;
};
