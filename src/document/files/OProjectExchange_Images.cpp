// The export of camera images: the first image of the shown part, or of every part of a list,
// as BMP or JPEG pictures.
#include <cctype>
#include <new>

#include "document/ODoc.h"
#include "document/files/OProjectExchange.h"
#include "document/files/OSafeFileWriter.h"
#include "document/files/ProjectPaths.h"
#include "model/image/ImageCodec.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream.h"
#include "model/strings/ResStr.h"
#include "platform/OWaitCursor.h"

using namespace ExchangePaths;

namespace {

constexpr int kCannotSave = 5121;
constexpr int kOutOfMemory = 3300;

struct OImageName {
    std::string base;  // folder and name without the extension
    std::string extension;
    ImageCodec::Format format = ImageCodec::Format::Bmp;
};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The chosen name decides the folder, the base name and the format: JPEG when it ends in
// ".jpg" (or ".jpeg"), else BMP.
OImageName NameOf(const std::string& file) {
    OImageName name;
    std::string title = ProjectPaths::FileTitleOf(file);
    const size_t dot = title.rfind('.');
    const std::string extension = dot == std::string::npos ? "" : Lower(title.substr(dot));
    if (extension == ".jpg" || extension == ".jpeg") {
        name.format = ImageCodec::Format::Jpeg;
        name.extension = "jpg";
    } else {
        name.extension = "bmp";
    }
    if (extension == ".jpg" || extension == ".jpeg" || extension == ".bmp") title.resize(dot);
    name.base = ProjectPaths::Join(ProjectPaths::FolderOf(file), title);
    return name;
}

bool bHasImage(const OType_Part* part) {
    return part && part->iGetNumImages() > 0 && part->opGetImage(0) &&
           !part->opGetImage(0)->bIsEmpty();
}

}  // namespace

OExchangeResult OProjectExchange::SaveCameraImages(CameraImages which, const std::string& path) {
    ODoc::OBusyScope busy(m_doc);
    const OType_ZRPartSet* set = m_doc.opGetActualPartSet();
    // The parts whose first image is written, with their sort position (-1: the shown part).
    std::vector<std::pair<int, const OType_Part*>> parts;
    if (which == CameraImages::ShownPart) {
        if (bHasImage(set->opGetShowPart())) parts.emplace_back(-1, set->opGetShowPart());
    } else {
        const OType_PartArray& list =
            which == CameraImages::TeachParts ? set->TeachParts() : set->TestParts();
        for (int i = 0; i < list.iGetSize(); ++i) {
            if (bHasImage(list.GetAt(i))) parts.emplace_back(i, list.GetAt(i));
        }
    }
    if (parts.empty())
        return Failure(kCannotSave, which == CameraImages::ShownPart
                                        ? "The part shown has no camera image."
                                        : "No part of the list has a camera image.");
    const std::string file =
        SavePath(path, {{".bmp", ".jpg", ".jpeg"}, ResStr(5351), "bmp"}, "*.bmp");
    if (file.empty()) return {OExchangeResult::Cancelled};

    const OImageName name = NameOf(file);
    OExchangeResult result{OExchangeResult::Done};
    OWaitCursor wait(m_doc.UI());
    for (const auto& [position, part] : parts) {
        const std::string target =
            position < 0 ? name.base + "." + name.extension
                         : name.base + "_" + std::to_string(position) + "." + name.extension;
        std::vector<uint8_t> bytes;
        std::string error;
        try {
            if (!ImageCodec::bEncode(*part->opGetImage(0), name.format, bytes, error) ||
                !bWriteFileSafely(
                    target,
                    [&](OByteStream& out) { return out.bWriteRaw(bytes.data(), bytes.size()); },
                    error)) {
                OExchangeResult failed =
                    Failure(kCannotSave, ProjectPaths::FileTitleOf(target) + ": " + error);
                failed.files = std::move(result.files);
                return failed;
            }
        } catch (const std::bad_alloc&) {
            OExchangeResult failed = Failure(kOutOfMemory, {});
            failed.files = std::move(result.files);
            return failed;
        }
        result.files.push_back(target);
    }
    return result;
}
