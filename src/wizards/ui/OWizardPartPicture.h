// A part as the project wizard's recording pages show it: its first camera image when it has
// one, otherwise its contour (material dark on a bright ground), scaled to fit the widget
// with its shape kept.
#pragma once

#include <QImage>
#include <QWidget>

class OType_Part;
class ZRINFO;

class OWizardPartPicture : public QWidget {
    Q_OBJECT
  public:
    explicit OWizardPartPicture(QWidget* parent = nullptr);

    // Takes a copy of the part's picture and repaints; nullptr shows the empty ground.
    void ShowPart(const OType_Part* part, const ZRINFO& deviceInfo);
    const QImage& Picture() const { return m_picture; }
    // Where the picture lands in the widget (empty without one).
    QRect PictureRect() const;

    QSize sizeHint() const override { return {320, 200}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage m_picture;
};
