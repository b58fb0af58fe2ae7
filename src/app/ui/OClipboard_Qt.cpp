#include "app/ui/OClipboard_Qt.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

namespace {
QString Format(std::string_view format) {
    return QString::fromUtf8(format.data(), static_cast<qsizetype>(format.size()));
}
}  // namespace

bool OClipboard_Qt::bSetData(std::string_view format, std::span<const uint8_t> bytes) {
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) return false;
    auto* data = new QMimeData;
    data->setData(Format(format), QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size())));
    clipboard->setMimeData(data);  // the clipboard owns it from now on
    return true;
}

bool OClipboard_Qt::bGetData(std::string_view format, std::vector<uint8_t>& bytes) const {
    const QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    if (!data || !data->hasFormat(Format(format))) return false;
    const QByteArray content = data->data(Format(format));
    bytes.assign(content.begin(), content.end());
    return true;
}

bool OClipboard_Qt::bHasFormat(std::string_view format) const {
    const QClipboard* clipboard = QApplication::clipboard();
    const QMimeData* data = clipboard ? clipboard->mimeData() : nullptr;
    return data && data->hasFormat(Format(format));
}

void OClipboard_Qt::Clear() {
    if (QClipboard* clipboard = QApplication::clipboard()) clipboard->clear();
}
