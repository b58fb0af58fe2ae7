#include "device/ui/OView_QuillonConsole.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "document/ODoc.h"

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QGroupBox* RadioGroup(QWidget* parent, const QString& title,
                      const std::vector<std::pair<int, QString>>& radios, QButtonGroup*& group) {
    auto* box = new QGroupBox(title, parent);
    auto* layout = new QVBoxLayout(box);
    group = new QButtonGroup(box);
    for (size_t i = 0; i < radios.size(); ++i) {
        auto* radio = new QRadioButton(radios[i].second, box);
        radio->setObjectName(QString::number(radios[i].first));
        group->addButton(radio, static_cast<int>(i));
        layout->addWidget(radio);
    }
    return box;
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& items, int index) {
    const QSignalBlocker block(combo);
    QStringList texts;
    for (const std::string& item : items)
        texts << Q(item);
    QStringList now;
    for (int i = 0; i < combo->count(); ++i)
        now << combo->itemText(i);
    if (now != texts) {
        combo->clear();
        combo->addItems(texts);
    }
    combo->setCurrentIndex(index);
}

}  // namespace

OView_QuillonConsole::OView_QuillonConsole(ODoc& doc, QWidget* parent)
    : QWidget(parent), m_doc(doc), m_console(doc) {
    setObjectName("OView_QuillonConsole");
    using namespace ConsoleControl;
    auto* layout = new QVBoxLayout(this);
    m_connect = new QPushButton(tr("Connect to device"), this);
    m_connect->setObjectName(QString::number(kConnect));
    m_connect->setCheckable(true);
    layout->addWidget(m_connect);

    layout->addWidget(RadioGroup(this, tr("Record images:"),
                                 {{kImageNone, tr("none")},
                                  {kImageContour, tr("record contour images")},
                                  {kImageContourAndCamera, tr("record contour and camera images")}},
                                 m_images));
    layout->addWidget(
        RadioGroup(this, tr("Record parts via connection:"),
                   {{kRecordNone, tr("none")},
                    {kRecordSampleParts, tr("sample parts for teach")},
                    {kRecordTestParts, tr("test parts")},
                    {kRecordToFile, tr("record received parts to *.kvl/*.zrl file...")}},
                   m_recording));

    auto* grid = new QGridLayout;
    m_orientationLabel = new QLabel(tr("orientation:"), this);
    m_orientation = new QComboBox(this);
    m_orientation->setObjectName(QString::number(kOrientation));
    m_typeLabel = new QLabel(tr("part type:"), this);
    m_type = new QComboBox(this);
    m_type->setObjectName(QString::number(kPartType));
    grid->addWidget(m_orientationLabel, 0, 0);
    grid->addWidget(m_orientation, 0, 1);
    grid->addWidget(m_typeLabel, 1, 0);
    grid->addWidget(m_type, 1, 1);
    m_orientation->setMinimumWidth(140);
    m_type->setMinimumWidth(140);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    m_status = new QLabel(this);
    m_status->setObjectName(QString::number(kStatus));
    m_status->setWordWrap(true);
    layout->addWidget(m_status);
    layout->addStretch(1);

    // Every control runs a command; the document's refresh shows what the device does.
    connect(m_connect, &QPushButton::clicked, this, [this] {
        if (!m_showing) m_console.Connect();
        OnUpdate();
    });
    connect(m_images, &QButtonGroup::idClicked, this, [this](int mode) {
        if (!m_showing) m_console.ChooseImageMode(mode);
        OnUpdate();
    });
    connect(m_recording, &QButtonGroup::idClicked, this, [this](int choice) {
        if (!m_showing) m_console.ChooseRecording(choice);
        OnUpdate();
    });
    connect(m_orientation, &QComboBox::activated, this,
            [this](int index) { m_console.ChooseOrientation(index); });
    connect(m_type, &QComboBox::activated, this,
            [this](int index) { m_console.ChooseType(index); });
    OnUpdate();
}

QSize OView_QuillonConsole::sizeHint() const {
    return {340, 420};
}

void OView_QuillonConsole::OnUpdate() {
    if (m_doc.iGetBusy()) return;
    Show(m_console.Refresh());
}

void OView_QuillonConsole::Show(const OConsoleState& state) {
    m_showing = true;
    {
        const QSignalBlocker block(m_connect);
        m_connect->setChecked(state.connected);
        m_connect->setText(state.connected ? tr("Disconnect from device")
                                           : tr("Connect to device"));
    }
    for (QAbstractButton* b : m_images->buttons())
        b->setEnabled(state.radiosEnabled && (m_images->id(b) != 2 || state.cameraModeEnabled));
    for (QAbstractButton* b : m_recording->buttons())
        b->setEnabled(state.radiosEnabled);
    m_images->button(state.imageMode)->setChecked(true);
    m_recording->button(state.recording)->setChecked(true);
    FillCombo(m_orientation, state.orientations, state.orientationIndex);
    FillCombo(m_type, state.types, state.typeIndex);
    m_orientationLabel->setVisible(state.orientationShown);
    m_orientation->setVisible(state.orientationShown);
    m_typeLabel->setVisible(state.typeShown);
    m_type->setVisible(state.typeShown);
    m_status->setText(Q(state.status));
    m_status->setVisible(!state.status.empty());
    m_showing = false;
}
