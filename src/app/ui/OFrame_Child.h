// The plain child frame of a view: it keeps its base title and shows the actual check
// program's name after it when the project has two or more; the part list's frame is not
// closable — closing only hides it. The frame's object name is its window key.
#pragma once

#include <QMdiSubWindow>
#include <QRect>
#include <vector>

#include "document/ViewHost.h"

class OFrame_Child : public QMdiSubWindow {
    Q_OBJECT
  public:
    OFrame_Child(ViewKind kind, QWidget* view, QWidget* parent = nullptr);

    ViewKind Kind() const { return m_kind; }
    const QString& BaseTitle() const { return m_baseTitle; }
    bool bIsClosable() const { return m_closable; }
    void SetClosable(bool closable) { m_closable = closable; }
    void SetShowCheckProgram(bool show) { m_showCheckProgram = show; }
    // Sets the caption from the number of check programs and the actual one's name.
    void UpdateCaption(int partSets, const QString& actualName);
    // The rectangle of the frame when it is neither minimised nor maximised.
    QRect NormalRect() const { return m_normal; }
    // Destroys a frame even when it is not closable.
    void Destroy();

    // The view widgets the frame shows (a split frame has two, the main view first).
    virtual std::vector<QWidget*> ViewWidgets() const;
    // The view that commands go to first: the one with the keyboard focus, else the first.
    virtual QWidget* ActiveViewWidget() const;

  signals:
    void frameHidden(OFrame_Child* frame);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void TrackNormal();

    ViewKind m_kind;
    QString m_baseTitle;
    bool m_closable = true;
    bool m_showCheckProgram = true;
    bool m_destroying = false;
    QRect m_normal;
};
