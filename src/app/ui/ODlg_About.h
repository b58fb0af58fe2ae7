// The about box "Information on Kalvor": the logo strip drawn at (right - 93, top + 93),
// the description and the copyright (controls 1337 and 1338) and the supported devices
// with their firmware versions (controls 1332 and 1333).
#pragma once

#include <QDialog>
#include <QPixmap>

class ODlg_About : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kLogoRightOffset = 93;
    static constexpr int kLogoTop = 93;

    ODlg_About(const QString& description, const QString& copyright, QWidget* parent = nullptr);
    // Where the logo strip is drawn in the dialog.
    QPoint LogoPosition() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap m_logo;
};
