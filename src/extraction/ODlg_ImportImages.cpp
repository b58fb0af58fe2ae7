#include "extraction/ODlg_ImportImages.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <utility>

#include "model/image/ImageCodec.h"
#include "model/strings/ResStr.h"
#include "platform/OProgressCtrl.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

// String ids of the texts this dialog shows.
constexpr int kStrThresholdInside = 5354;
constexpr int kStrThresholdOutside = 5355;
constexpr int kStrOutsideField = 5356;
constexpr int kStrUnreadableFiles = 5357;
constexpr int kStrImporting = 5358;
// At most this many unreadable files are named one by one.
constexpr size_t kListedFiles = 12;

int Clamped(int position) {
    return std::clamp(position, -ODlg_ImportImages::kMaxPosition, ODlg_ImportImages::kMaxPosition);
}

}  // namespace

ODlg_ImportImages::ODlg_ImportImages(Settings& settings, std::vector<std::string> files,
                                     UserInteraction* ui, OProgressCtrl* progress)
    : m_settings(settings), m_files(std::move(files)), m_ui(ui), m_progress(progress) {
    m_positionY = settings.iGetInt(kSection, kKeyPositionY, 0);
    m_positionX = settings.iGetInt(kSection, kKeyPositionX, 0);
    m_threshold.type = settings.iGetInt(kSection, kKeyThresholdType, 0);
    m_threshold.dark = settings.iGetInt(kSection, kKeyDark, 0);
    m_threshold.bright = settings.iGetInt(kSection, kKeyBright, 127);
}

ODlg_ImportImages::~ODlg_ImportImages() {
    m_settings.SetInt(kSection, kKeyPositionY, m_positionY);
    m_settings.SetInt(kSection, kKeyPositionX, m_positionX);
    m_settings.SetInt(kSection, kKeyThresholdType, m_threshold.type);
    m_settings.SetInt(kSection, kKeyDark, m_threshold.dark);
    m_settings.SetInt(kSection, kKeyBright, m_threshold.bright);
}

std::string ODlg_ImportImages::PositionYLabel() {
    return "Position Y (bottom)\r\nSame as system parameter 'Lower limit of viewing area':";
}

std::string ODlg_ImportImages::PositionXLabel() {
    return "Position X (left)\r\nSame as system parameter 'Left limit of viewing area':";
}

std::vector<std::string> ODlg_ImportImages::ThresholdTypeNames() {
    return {ResStr(kStrThresholdInside), ResStr(kStrThresholdOutside)};
}

bool ODlg_ImportImages::bValidate(std::string& message) {
    if (Clamped(m_positionX) != m_positionX || Clamped(m_positionY) != m_positionY) {
        message = "The positions must lie between -" + std::to_string(kMaxPosition) + " and " +
                  std::to_string(kMaxPosition) + ".";
        return false;
    }
    if (m_threshold.type != 0 && m_threshold.type != 1) {
        message = "Choose one of the two threshold types.";
        return false;
    }
    if (m_threshold.dark < 0 || m_threshold.dark > 255 || m_threshold.bright < 0 ||
        m_threshold.bright > 255) {
        message = "The brightness limits must lie between 0 and 255.";
        return false;
    }
    if (m_threshold.dark > m_threshold.bright) {
        message = "The lower brightness limit must not lie above the upper one.";
        return false;
    }
    return true;
}

bool ODlg_ImportImages::bIsOutsideField(int x, int y, int width, int height) {
    return x < 0 || y < 0 || static_cast<int64_t>(x) + width > kFieldWidth ||
           static_cast<int64_t>(y) + height > kFieldHeight;
}

int ODlg_ImportImages::iImport() {
    m_parts.clear();
    m_skipped.clear();
    const int posX = Clamped(m_positionX);
    const int posY = Clamped(m_positionY);
    m_outsideField = posX < 0 || posY < 0;
    if (m_progress) {
        m_progress->Start();
        m_progress->Length(static_cast<int64_t>(m_files.size()));
        m_progress->SetStatusText(ResStr(kStrImporting));
    }
    for (const std::string& path : m_files) {
        OType_Image image;
        std::string error;
        if (!ImageCodec::bLoadFile(path, image, error)) {
            m_skipped.push_back({path, error});
        } else {
            image.SetPos(std::abs(posX), std::abs(posY));
            if (bIsOutsideField(posX, posY, image.iGetWidth(), image.iGetHeight()))
                m_outsideField = true;
            auto part = std::make_unique<OType_Part>();
            part->SetComment(path);
            part->SetConturData(ImageContour::FromImage(image, m_threshold));
            part->AddImage(std::move(image));
            m_parts.push_back(std::move(part));
        }
        if (m_progress) {
            m_progress->Increase(1);
            m_progress->bUpdateDisplayIfDue(std::chrono::steady_clock::now());
        }
    }
    if (m_progress) m_progress->End();
    return static_cast<int>(m_parts.size());
}

std::vector<std::unique_ptr<OType_Part>> ODlg_ImportImages::TakeParts() {
    return std::exchange(m_parts, {});
}

void ODlg_ImportImages::OnOk() {
    if (!m_ui) {
        iImport();
        return;
    }
    m_ui->BeginWaitCursor();
    iImport();
    m_ui->EndWaitCursor();
    if (m_outsideField) m_ui->Message(ResStr(kStrOutsideField), MsgIcon::Warning);
    if (!m_skipped.empty()) {
        std::string text = ResStr(kStrUnreadableFiles);
        for (size_t i = 0; i < m_skipped.size() && i < kListedFiles; ++i)
            text += "\n" + m_skipped[i].reason;
        if (m_skipped.size() > kListedFiles)
            text += "\n... (" + std::to_string(m_skipped.size() - kListedFiles) + " more)";
        m_ui->Message(text, MsgIcon::Warning);
    }
}
