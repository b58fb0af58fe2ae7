// The window of the camera image import, driven offscreen: its fields bound by control id,
// the live preview of the threshold, and the run through the desktop's Qt interaction with
// a refused value, its message and a second try.
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>
#include <algorithm>
#include <fstream>

#include "ShellTestSupport.h"
#include "app/ui/OUserInteraction_Qt.h"
#include "extraction/ODlg_ImportImages.h"
#include "extraction/ui/ODlg_ImportImagesWindow.h"

namespace {

using namespace shelltest;

template <class T>
T* Child(QWidget& parent, const char* name) {
    return parent.findChild<T*>(QString::fromLatin1(name));
}

// A camera picture of a part as the device would see it: a dark bracket with two holes on a
// lit belt, a little shading; written by Qt's own encoder.
std::string PartPicture(const TempDir& dir, const std::string& name, int w, int h) {
    QImage picture(w, h, QImage::Format_Grayscale8);
    QLinearGradient belt(0, 0, w, h);
    belt.setColorAt(0, QColor(200, 200, 200));
    belt.setColorAt(1, QColor(232, 232, 232));
    QPainter p(&picture);
    p.fillRect(picture.rect(), belt);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(45, 45, 45));
    const QPolygonF outline({QPointF(0.18, 0.30), QPointF(0.82, 0.30), QPointF(0.82, 0.52),
                             QPointF(0.34, 0.52), QPointF(0.34, 0.82), QPointF(0.18, 0.82)});
    QPolygonF scaled;
    for (const QPointF& q : outline)
        scaled << QPointF(q.x() * w, q.y() * h);
    p.drawPolygon(scaled);
    p.setBrush(QColor(215, 215, 215));
    p.drawEllipse(QPointF(w * 0.55, h * 0.41), w * 0.04, w * 0.04);
    p.drawEllipse(QPointF(w * 0.72, h * 0.41), w * 0.04, w * 0.04);
    p.end();
    const auto path = dir / name;
    EXPECT_TRUE(picture.save(QString::fromStdString(path.string())));
    return path.string();
}

}  // namespace

TEST(ImportImagesDialog, FieldsByControlIdAndTheLivePreview) {
    TempDir dir;
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    shell.App().OnFileNew();
    OFrame_Main& frame = shell.Frame();
    frame.resize(1100, 720);
    const std::string first = PartPicture(dir, "bracket.png", 640, 480);
    const std::string second = PartPicture(dir, "bracket_2.jpg", 320, 240);
    const std::string broken = (dir / "broken.bmp").string();
    std::ofstream(broken) << "BM";
    OSettings_Memory settings;
    settings.SetInt("Settings", "VIEWINGAREALEFTLIMIT", 20);
    settings.SetInt("Settings", "THRESHOLDBRIGHT", 100);
    ODlg_ImportImages model(settings, {first, second, broken});

    std::unique_ptr<QDialog> made(shell.desktop->QtInteraction().CreateDialog(model, &frame));
    auto* window = qobject_cast<ODlg_ImportImagesWindow*>(made.get());
    ASSERT_NE(window, nullptr) << "the import model has its own window";
    window->show();
    ProcessEvents();
    EXPECT_EQ(window->windowTitle(), "Import of camera images");
    EXPECT_EQ(Child<QSpinBox>(*window, "1008")->value(), 20);
    EXPECT_EQ(Child<QSpinBox>(*window, "1007")->value(), 0);
    EXPECT_EQ(Child<QSpinBox>(*window, "1002")->value(), 100);
    EXPECT_EQ(Child<QComboBox>(*window, "1299")->count(), 2);
    EXPECT_EQ(Child<QListWidget>(*window, "files")->count(), 3);

    // The preview tints the part pixels: a pixel of the bracket is green, the belt is not.
    QLabel* preview = Child<QLabel>(*window, "preview");
    QLabel* info = Child<QLabel>(*window, "previewInfo");
    ASSERT_FALSE(preview->pixmap().isNull());
    QImage shown = preview->pixmap().toImage();
    const double scale = double(shown.width()) / 640;
    const QColor onPart = shown.pixelColor(int(640 * 0.22 * scale), int(480 * 0.6 * scale));
    const QColor onBelt = shown.pixelColor(int(640 * 0.9 * scale), int(480 * 0.9 * scale));
    EXPECT_GT(onPart.green(), onPart.red() + 80);
    EXPECT_EQ(onBelt.green(), onBelt.red());
    EXPECT_TRUE(info->text().contains("640 x 480 pixels, grey"));
    const QString before = info->text();
    // Raising the upper limit over the belt's brightness makes nearly everything part.
    Child<QSpinBox>(*window, "1002")->setValue(255);
    ProcessEvents();
    EXPECT_NE(info->text(), before);
    EXPECT_TRUE(info->text().contains("100.0 %"));
    // A position that puts the picture outside the field is pointed out at once.
    Child<QSpinBox>(*window, "1008")->setValue(700);
    ProcessEvents();
    EXPECT_TRUE(info->text().contains("outside the field of view"));

    Child<QSpinBox>(*window, "1002")->setValue(120);
    Child<QSpinBox>(*window, "1008")->setValue(40);
    Child<QSpinBox>(*window, "1007")->setValue(300);
    Child<QListWidget>(*window, "files")->setCurrentRow(0);
    ProcessEvents();
    SaveScreenshot(Composite(frame, *window), dir, "import_images_dialog");

    Child<QListWidget>(*window, "files")->setCurrentRow(2);
    ProcessEvents();
    EXPECT_EQ(preview->text(), "Cannot be read");
    EXPECT_TRUE(info->text().contains("broken.bmp"));
    Child<QComboBox>(*window, "1299")->setCurrentIndex(1);
    Child<QSpinBox>(*window, "1001")->setValue(30);
    Child<QPushButton>(*window, "1")->click();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(model.iGetPositionX(), 40);
    EXPECT_EQ(model.iGetPositionY(), 300);
    EXPECT_EQ(model.iGetThresholdType(), 1);
    EXPECT_EQ(model.iGetDark(), 30);
    EXPECT_EQ(model.iGetBright(), 120);
}

TEST(ImportImagesDialog, ARefusedValueIsExplainedAndTheDialogStaysOpen) {
    TempDir dir;
    Shell shell;
    ASSERT_TRUE(shell.desktop->Start());
    const std::string picture = PartPicture(dir, "part.bmp", 200, 150);
    OSettings_Memory settings;
    OUserInteraction_Qt& qt = shell.desktop->QtInteraction();
    ODlg_ImportImages model(settings, {picture}, &qt);
    int tries = 0;
    QStringList messages;
    // Plays the user: first an upper limit below the lower one, then a good pair.
    QTimer driver;
    QObject::connect(&driver, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            messages << box->text();
            box->accept();
        } else if (auto* window = qobject_cast<ODlg_ImportImagesWindow*>(modal)) {
            Child<QSpinBox>(*window, "1001")->setValue(tries == 0 ? 150 : 0);
            Child<QSpinBox>(*window, "1002")->setValue(tries == 0 ? 100 : 90);
            ++tries;
            Child<QPushButton>(*window, "1")->click();
        }
    });
    driver.start(20);
    EXPECT_TRUE(qt.bRunDialog(model));
    driver.stop();
    EXPECT_EQ(tries, 2);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("lower brightness limit"));
    ASSERT_EQ(model.Parts().size(), 1u);
    const OType_Part& part = *model.Parts()[0];
    EXPECT_EQ(part.opGetImage(0)->iGetWidth(), 200);
    // The bracket is dark: the columns through it hold runs, not just (1, -1).
    const auto runs = part.Contour();
    EXPECT_GT(std::count_if(runs.begin(), runs.end(), [](int16_t v) { return std::abs(v) > 1; }),
              200);
}
