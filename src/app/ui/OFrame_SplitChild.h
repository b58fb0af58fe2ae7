// The child frame of a view with a companion: the view on the left, the companion view on
// the right, a splitter between them. The companion's width is read from "Settings" under
// the template's value when the frame is built and written back when the frame goes away.
#pragma once

#include <string>

#include "app/ui/OFrame_Child.h"

class QSplitter;
class Settings;

class OFrame_SplitChild : public OFrame_Child {
    Q_OBJECT
  public:
    OFrame_SplitChild(ViewKind kind, QWidget* view, QWidget* companion, Settings& settings,
                      std::string widthSetting, int defaultCompanionWidth,
                      QWidget* parent = nullptr);
    ~OFrame_SplitChild() override;

    QSplitter* Splitter() const { return m_splitter; }
    QWidget* View() const;
    QWidget* Companion() const;
    // The companion's width as the splitter shows it (the stored one before first layout).
    int iCompanionWidth() const;
    // Stores the companion's width under the setting.
    void StoreCompanionWidth();

    std::vector<QWidget*> ViewWidgets() const override;
    QWidget* ActiveViewWidget() const override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void ApplyCompanionWidth();

    QSplitter* m_splitter = nullptr;
    Settings& m_settings;
    std::string m_widthSetting;
    int m_storedWidth = 0;
    bool m_widthApplied = false;
    bool m_stored = false;
};
