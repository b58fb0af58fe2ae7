#include "app/ui/OFrame_SplitChild.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>
#include <QSplitter>
#include <algorithm>

#include "platform/Settings.h"

namespace {
constexpr const char* kSection = "Settings";
constexpr int kMinPaneWidth = 20;
}  // namespace

OFrame_SplitChild::OFrame_SplitChild(ViewKind kind, QWidget* view, QWidget* companion,
                                     Settings& settings, std::string widthSetting,
                                     int defaultCompanionWidth, QWidget* parent)
    : OFrame_Child(kind, nullptr, parent),
      m_settings(settings),
      m_widthSetting(std::move(widthSetting)) {
    m_splitter = new QSplitter(Qt::Horizontal);
    m_splitter->setObjectName("Splitter");
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(view);
    m_splitter->addWidget(companion);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    setWidget(m_splitter);
    m_storedWidth = m_settings.iGetInt(kSection, m_widthSetting, defaultCompanionWidth);
    if (m_storedWidth < kMinPaneWidth) m_storedWidth = defaultCompanionWidth;
}

OFrame_SplitChild::~OFrame_SplitChild() {
    StoreCompanionWidth();
}

QWidget* OFrame_SplitChild::View() const {
    return m_splitter->widget(0);
}

QWidget* OFrame_SplitChild::Companion() const {
    return m_splitter->widget(1);
}

int OFrame_SplitChild::iCompanionWidth() const {
    if (!m_widthApplied) return m_storedWidth;
    const QList<int> sizes = m_splitter->sizes();
    return sizes.size() > 1 ? sizes[1] : m_storedWidth;
}

void OFrame_SplitChild::StoreCompanionWidth() {
    if (m_stored) return;
    m_stored = true;
    m_settings.SetInt(kSection, m_widthSetting, iCompanionWidth());
}

void OFrame_SplitChild::ApplyCompanionWidth() {
    const int total = m_splitter->width() - m_splitter->handleWidth();
    if (total <= 2 * kMinPaneWidth) return;
    const int companion = std::clamp(m_storedWidth, kMinPaneWidth, total - kMinPaneWidth);
    m_splitter->setSizes({total - companion, companion});
    m_widthApplied = true;
}

void OFrame_SplitChild::showEvent(QShowEvent* event) {
    OFrame_Child::showEvent(event);
    if (!m_widthApplied) {
        // The splitter has its size once the frame is laid out.
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (!m_widthApplied) ApplyCompanionWidth();
            },
            Qt::QueuedConnection);
    }
}

void OFrame_SplitChild::closeEvent(QCloseEvent* event) {
    OFrame_Child::closeEvent(event);
    if (event->isAccepted()) StoreCompanionWidth();
}

std::vector<QWidget*> OFrame_SplitChild::ViewWidgets() const {
    return {View(), Companion()};
}

QWidget* OFrame_SplitChild::ActiveViewWidget() const {
    const QWidget* focus = QApplication::focusWidget();
    if (focus && Companion() && Companion()->isAncestorOf(focus)) return Companion();
    return View();
}
