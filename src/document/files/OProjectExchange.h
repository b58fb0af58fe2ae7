// Export and Import: the single pieces of a project that go to and come from files of their
// own — the project text, part lists, feature tables, the Teach-Data of one part type, the
// check-program configuration, camera images and the calibration of the coordinate
// transformation. The document's Export and Import commands, opening such a file by its
// path and kalvorctl's export and import all run through here.
//
// Every operation takes a path: one that names a file of the kind is used as it is, any
// other (an empty one, say) opens the file dialog, which starts in the document's last
// folder. Failures are shown to the user and returned; nothing is changed by an import that
// fails, and an export that fails leaves an existing file as it was.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/files/OProjectExchangeSupport.h"

class ODoc;
class OQuillon;
class OType_ZRPartSet;

// The entries of the Export and Import list dialog.
enum class ExchangeKind {
    ProjectText,        // 5201
    TeachPartList,      // 5216
    TeachFeatureTable,  // 5209
    TestPartList,       // 5217
    TestFeatureTable,   // 5210
    Configuration,      // 5228 (family 2)
    TeachData,          // 5204 (family 1)
    ShownPartImage,     // 5233
    TeachPartImages,    // 5234
    TestPartImages,     // 5235
    Calibration,        // 5236 (family 2)
};

// The list dialog's text of an entry.
int iExchangeTextId(ExchangeKind kind);

class OProjectExchange {
  public:
    explicit OProjectExchange(ODoc& doc);
    ~OProjectExchange();
    OProjectExchange(const OProjectExchange&) = delete;
    OProjectExchange& operator=(const OProjectExchange&) = delete;

    // The entries the Export / Import list offers now, in order.
    std::vector<ExchangeKind> ExportEntries() const;
    std::vector<ExchangeKind> ImportEntries() const;
    // The Export (32907) and Import (32906) commands: the list dialog, then the entry.
    void OnExport();
    void OnImport();
    // One entry; partType (0-based) chooses the part type of the Teach-Data, -1 asks.
    OExchangeResult Export(ExchangeKind kind, const std::string& path = {}, int partType = -1);
    OExchangeResult Import(ExchangeKind kind, const std::vector<std::string>& paths = {},
                           int partType = -1);

    // --- the single operations ---
    OExchangeResult SaveProjectText(const std::string& path);
    // Asks 5116 first.
    OExchangeResult LoadProjectText(const std::string& path);
    OExchangeResult SavePartList(bool teach, const std::string& path);
    // Appends the parts of every file in turn; the first failure stops (the files before
    // it stay loaded). No path, or one without a part-list extension, opens the dialog,
    // which takes several files.
    OExchangeResult LoadPartLists(bool teach, const std::vector<std::string>& paths);
    OExchangeResult SaveFeatureTable(bool teach, const std::string& path);
    OExchangeResult SaveTeachData(int partType, const std::string& path);
    OExchangeResult LoadTeachData(int partType, const std::string& path);
    // partSetNo: the check program to save; -1 saves the actual one.
    OExchangeResult SaveConfiguration(const std::string& path, int partSetNo = -1);
    // partSetNo: the check program to load into; a number outside the array adds one.
    OExchangeResult LoadConfiguration(int partSetNo, const std::string& path);
    // The first camera image of the shown part, or of every part of a list in sort order
    // ("name_n" with the sort position n), as BMP or, for a name ending in ".jpg", JPEG.
    enum class CameraImages { ShownPart, TeachParts, TestParts };
    OExchangeResult SaveCameraImages(CameraImages which, const std::string& path);
    OExchangeResult SaveCalibration(const std::string& path);
    // Asks 5133 first.
    OExchangeResult LoadCalibration(const std::string& path);

    // --- opening such a file by its path: read and check first, then apply ---
    // The file kinds a project can be opened from besides project files.
    enum class OpenKind { TeachData, Configuration, PartList };
    // Reads and checks the file without touching the project; false with a message text.
    bool bPrepareOpen(OpenKind kind, const std::string& path, std::string& message);
    // Applies the prepared file to the (new) project; 0 when that failed (the user has
    // been told why).
    int iApplyOpen();

  private:
    // Shows a failure (the text, two line breaks and the detail) and returns it.
    OExchangeResult Failure(int textId, const std::string& detail) const;
    // The path to write: `path` when it names a file of the kind, else the save dialog's.
    std::string SavePath(const std::string& path, const OExchangeFileKind& kind,
                         const std::string& proposedName) const;
    // The paths to read: `paths` when they name files of the kind, else the open dialog's.
    std::vector<std::string> OpenPaths(const std::vector<std::string>& paths,
                                       const OExchangeFileKind& kind, bool multiple) const;

    // The part type to save: the one given, the only one, or the one chosen in the list
    // dialog; -1 when there is none, -2 when the user cancelled.
    int ChoosePartType(int partType) const;

    OExchangeResult ApplyTeachData(int partType, std::span<const uint8_t> bytes);
    // Reads and decodes a configuration file with the session's kinds; false with the
    // message to show.
    bool bDecodeConfiguration(const std::string& file, OType_ZRPartSet& decoded,
                              std::string& message);
    OExchangeResult ApplyConfiguration(int partSetNo, OType_ZRPartSet& decoded);

    ODoc& m_doc;
    std::optional<std::vector<uint8_t>> m_openBytes;
    std::unique_ptr<OType_ZRPartSet> m_openParts;
    OpenKind m_openKind = OpenKind::TeachData;
    std::string m_openPath;
};
