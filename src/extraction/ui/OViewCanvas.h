// The drawing surface of the part contour windows of both families: it hands its paint,
// mouse, wheel and key events to the window that owns it.
#pragma once

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>

class OViewCanvasClient {
  public:
    virtual ~OViewCanvasClient() = default;
    virtual void PaintCanvas(QPainter& painter) = 0;
    virtual void CanvasMousePress(Qt::MouseButton button, QPoint at) = 0;
    virtual void CanvasMouseMove(QPoint at, bool leftDown) = 0;
    virtual void CanvasMouseRelease(Qt::MouseButton button, QPoint at) = 0;
    virtual void CanvasDoubleClick(Qt::MouseButton button, QPoint at) = 0;
    virtual void CanvasWheel(int delta, QPoint at) = 0;
    // True when the key was taken.
    virtual bool bCanvasKey(int key, Qt::KeyboardModifiers modifiers) = 0;
};

class OViewCanvas : public QWidget {
  public:
    OViewCanvas(OViewCanvasClient& client, QWidget* parent) : QWidget(parent), m_client(client) {
        setObjectName("canvas");
        setMouseTracking(true);
        setFocusPolicy(Qt::StrongFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMinimumSize(120, 80);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_client.PaintCanvas(painter);
    }
    void mousePressEvent(QMouseEvent* e) override {
        m_client.CanvasMousePress(e->button(), e->position().toPoint());
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        m_client.CanvasMouseMove(e->position().toPoint(), e->buttons() & Qt::LeftButton);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        m_client.CanvasMouseRelease(e->button(), e->position().toPoint());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override {
        m_client.CanvasDoubleClick(e->button(), e->position().toPoint());
    }
    void wheelEvent(QWheelEvent* e) override {
        m_client.CanvasWheel(e->angleDelta().y(), e->position().toPoint());
        e->accept();
    }
    void keyPressEvent(QKeyEvent* e) override {
        if (!m_client.bCanvasKey(e->key(), e->modifiers())) QWidget::keyPressEvent(e);
    }
    bool event(QEvent* e) override {
        // Ctrl+arrows belong to the canvas (moving the tool), not to a menu shortcut.
        if (e->type() == QEvent::ShortcutOverride) {
            auto* key = static_cast<QKeyEvent*>(e);
            const bool arrow = key->key() == Qt::Key_Left || key->key() == Qt::Key_Right ||
                               key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
            if (arrow && (key->modifiers() & Qt::ControlModifier)) {
                e->accept();
                return true;
            }
        }
        return QWidget::event(e);
    }

  private:
    OViewCanvasClient& m_client;
};
