#include "document/files/ProjectFileFormat.h"

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "device/OQuillon.h"
#include "document/DocumentTexts.h"
#include "document/files/LegacyProjectFormat.h"
#include "document/files/ProjectBlocks.h"
#include "model/stream/OByteStream.h"
#include "model/strings/ResStr.h"
#include "platform/Log.h"
#include "platform/OProgressCtrl.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace ProjectFile {
namespace {

using namespace ProjectBlocks;

constexpr int kDamagedText = 5105;
constexpr int kSavingText = 5232;
constexpr int kLoadingText = 5230;

// Shows a progress bar with a status text for the lifetime of the guard.
class ProgressScope {
  public:
    ProgressScope(OProgressCtrl* progress, uint64_t length, int textId) : m_progress(progress) {
        if (!m_progress) return;
        m_progress->Start();
        m_progress->Length(static_cast<int64_t>(length));
        m_progress->SetStatusText(ResStr(textId));
        m_progress->UpdateDisplay();
    }
    ~ProgressScope() {
        if (m_progress) m_progress->End();
    }
    ProgressScope(const ProgressScope&) = delete;
    ProgressScope& operator=(const ProgressScope&) = delete;

  private:
    OProgressCtrl* m_progress;
};

// A block whose data is written straight into the file: header with a placeholder length,
// the data, the length patched in, the end marker.
bool WriteStreamedBlock(OByteStream& file, const std::string& name,
                        const std::function<int(OByteStream&)>& encode) {
    const int64_t lengthField = WriteBlockHeader(file, name);
    if (lengthField < 0) return false;
    const uint64_t dataStart = file.iGetPos();
    const bool encoded = encode(file) == 1;
    const uint64_t dataEnd = file.iGetPos();
    return RewriteBlockLength(file, static_cast<uint64_t>(lengthField), dataEnd - dataStart) &&
           WriteBlockEnd(file) && encoded;
}

bool IsKnownFixedName(std::string_view name) {
    for (std::string_view known : {kLegacyCopyBlock, kTargetSystemBlock, kProjectDataBlock,
                                   kPartSetArrayBlock, kCoordTransBlock, kPropertiesBlock}) {
        if (name == known) return true;
    }
    return false;
}

// The PARTTYPE numbers that run on without a gap from 0, or else from 1.
std::set<std::string> KnownPartTypeNames(const std::vector<OProjectBlock>& blocks) {
    std::set<std::string> present;
    for (const OProjectBlock& b : blocks)
        present.insert(b.name);
    std::set<std::string> known;
    for (int n = present.count(PartTypeBlockName(0)) ? 0 : 1;
         present.count(PartTypeBlockName(n)) != 0; ++n)
        known.insert(PartTypeBlockName(n));
    return known;
}

class BlockReader {
  public:
    BlockReader(OByteStream& file, std::vector<OProjectBlock> blocks)
        : m_file(file), m_blocks(std::move(blocks)), m_fileLength(file.iGetSize()) {}

    // The block FindBlock finds: the first of that name, when it has data that ends
    // before the end of the file.
    const OProjectBlock* Find(std::string_view name) const {
        for (const OProjectBlock& b : m_blocks) {
            if (b.name != name) continue;
            return b.length > 0 && b.dataOffset + b.length < m_fileLength ? &b : nullptr;
        }
        return nullptr;
    }
    // Every block ends inside the file (its end marker starts before the end).
    bool bIsComplete() const {
        return std::all_of(m_blocks.begin(), m_blocks.end(), [&](const OProjectBlock& b) {
            return b.dataOffset + b.length < m_fileLength;
        });
    }
    bool bRead(const OProjectBlock& block, std::vector<uint8_t>& bytes) {
        return m_file.bSeek(block.dataOffset) && m_file.bReadBytes(bytes, block.length);
    }
    // Decodes from the file itself, confined to the block's data.
    bool bDecodeInPlace(const OProjectBlock& block, OProgressCtrl* progress,
                        const std::function<int(OByteStream&)>& decode) {
        if (!m_file.bSeek(block.dataOffset) || !m_file.bPushLimit(block.dataOffset + block.length))
            return false;
        bool ok = false;
        {
            OStreamProgressScope scope(m_file, progress);
            ok = decode(m_file) == 1 && m_file.bIsOk();
        }
        m_file.PopLimit();
        return ok && m_file.bIsOk();
    }
    const std::vector<OProjectBlock>& Blocks() const { return m_blocks; }

  private:
    OByteStream& m_file;
    std::vector<OProjectBlock> m_blocks;
    uint64_t m_fileLength;
};

int Damaged(std::string& errorText) {
    errorText = ResStr(kDamagedText);
    return 0;
}

// A block can be written back only when its re-wrapped header reads back the same: its
// name holds no header marker and the header fits a scan window, which starts one byte
// before it.
bool bCanBeWrittenBack(const OProjectBlock& block) {
    for (std::string_view marker : {kStartMarker, kNameMarker, kLengthMarker}) {
        if (block.name.find(marker) != std::string::npos) return false;
    }
    const size_t header = kStartMarker.size() + kNameMarker.size() + block.name.size() + 1 +
                          kLengthMarker.size() + std::to_string(block.length).size() + 1;
    return header + 1 <= kWindowSize;
}

void KeepUnknownBlocks(BlockReader& reader, OQuillon& session) {
    const std::set<std::string> partTypes = KnownPartTypeNames(reader.Blocks());
    std::vector<uint8_t> kept;
    for (const OProjectBlock& block : reader.Blocks()) {
        if (IsKnownFixedName(block.name) || partTypes.count(block.name)) continue;
        if (!bCanBeWrittenBack(block)) {
            Log::Write(LogLevel::Warning, "project",
                       "a block whose header cannot be written back is dropped: " + block.name);
            continue;
        }
        std::vector<uint8_t> data;
        if (block.length > 0 && !reader.bRead(block, data)) continue;
        const std::vector<uint8_t> wrapped = WrapUnpaddedBlock(block.name, data);
        kept.insert(kept.end(), wrapped.begin(), wrapped.end());
    }
    session.SetUnknownBlocks(std::move(kept));
}

bool ReadPartSets(BlockReader& reader, OQuillon& session, OProgressCtrl* progress) {
    OType_ZRPartSetArray& sets = session.PartSets();
    if (const OProjectBlock* array = reader.Find(kPartSetArrayBlock)) {
        ProgressScope scope(progress, array->length, kLoadingText);
        const bool ok = reader.bDecodeInPlace(*array, progress, [&](OByteStream& s) {
            // The loader restarts every part set's history once the project is set up.
            return sets.iDecode(
                s, [&](OType_ZRPartSet& set) { session.PreparePartSet(set); },
                OType_ZRPartSet::DecodeHistory::Clear);
        });
        if (!ok) return false;
        if (sets.iGetNum() == 0) session.AddPartSet(true);
        return sets.iGetNum() > 0;
    }
    uint64_t total = 0;
    for (int n = 1; const OProjectBlock* b = reader.Find(PartTypeBlockName(n)); ++n)
        total += b->length;
    ProgressScope scope(progress, total, kLoadingText);
    for (int n = 1; const OProjectBlock* block = reader.Find(PartTypeBlockName(n)); ++n) {
        OType_ZRPartSet* set = session.AddPartSet(false);
        if (!set) return false;
        if (!reader.bDecodeInPlace(*block, progress, [&](OByteStream& s) {
                return set->iDecode(s, OType_ZRPartSet::DecodeHistory::Clear);
            }))
            return false;
    }
    sets.iSetActualPartSetNo(0);
    return sets.iGetNum() > 0;
}

// The "ZRP_FORMAT10" block: the project in the legacy layout. When the project does not fit
// that layout the block is left out (never written in part) and the user is told; the rest
// of the file is written all the same.
void WriteLegacyCopy(OByteStream& file, OQuillon& session) {
    LegacyProject::OTeachDataSections sections;
    std::string why;
    if (!LegacyProject::iPrepare(session, sections, why)) {
        Log::Write(LogLevel::Warning, "project", "no copy in the old format: " + why);
        session.UI().Message(
            ResStr(2017) + "\r\n\r\n" + why + "\r\n\r\n" + DocumentText::kSavedWithoutOldFormat,
            MsgIcon::Warning);
        return;
    }
    WriteStreamedBlock(file, kLegacyCopyBlock,
                       [&](OByteStream& s) { return LegacyProject::iWrite(s, session, sections); });
}

}  // namespace

std::string PartTypeBlockName(int number) {
    return kPartTypeBlockPrefix + std::to_string(number);
}

bool bIsLegacyProjectHeader(std::span<const uint8_t> firstBytes) {
    const std::string_view text(reinterpret_cast<const char*>(firstBytes.data()),
                                std::min(firstBytes.size(), kLegacyProbeSize));
    if (text.find(kLegacyCopyHeader) != std::string_view::npos) return false;
    for (std::string_view marker : kLegacyVersionMarkers) {
        if (text.find(marker) != std::string_view::npos) return true;
    }
    return false;
}

bool bIsLegacyProjectFile(OByteStream& file) {
    const uint64_t back = file.iGetPos();
    std::vector<uint8_t> first;
    const uint64_t size = std::min<uint64_t>(file.iGetSize(), kLegacyProbeSize);
    const bool read = file.bSeek(0) && file.bReadBytes(first, size);
    file.bSeek(back);
    return read && bIsLegacyProjectHeader(first);
}

OType_ProjectProperties ProjectPropertiesFromSettings(const Settings& s) {
    constexpr const char* kSection = "Settings";
    OType_ProjectProperties p;
    p.addOldFormat = s.iGetInt(kSection, "PROJECT_FILE_ADD_OLDFORMAT", 0);
    p.useMultiplePartSets = s.iGetInt(kSection, "PROJECT_USE_MULTI_PARTSET", 1);
    p.useOrientation = s.iGetInt(kSection, "PROJECT_USE_ORIENTATION", 0);
    p.useTypes = s.iGetInt(kSection, "PROJECT_USE_TYPES", 0);
    p.useManualOrientation = s.iGetInt(kSection, "PROJECT_USE_MANUALORIENTATION", 0);
    p.useManualTypes = s.iGetInt(kSection, "PROJECT_USE_MANUALTYPES", 0);
    p.useQuality = s.iGetInt(kSection, "PROJECT_USE_QUALITY", 1);
    p.useAlternativeValue = s.iGetInt(kSection, "PROJECT_USE_ALTERNATIVE_VALUE", 0);
    p.useNewToolsOnCameraImage = s.iGetInt(kSection, "PROJECT_USE_NEWTOOLSONCAMERAIMAGE", 0);
    p.updateProjectDescription = s.iGetInt(kSection, "UPDATE_PROJECTDESCRIPTION", 1);
    return p;
}

OType_ProjectProperties PropertiesWithoutRecord(const Settings& settings, int partSets) {
    OType_ProjectProperties p = ProjectPropertiesFromSettings(settings);
    p.useTypes = p.useManualTypes = 1;
    p.useOrientation = p.useManualOrientation = 1;
    p.useQuality = 1;
    p.useAlternativeValue = p.useNewToolsOnCameraImage = 0;
    p.useMultiplePartSets = partSets > 1 ? 1 : 0;
    return p;
}

int WriteProjectBlocks(OByteStream& file, OQuillon& session, OProgressCtrl* progress,
                       std::string& errorText) {
    int result = 1;
    auto failed = [&](const char* block) {
        result = 0;
        if (errorText.empty())
            errorText = std::string("The block ") + block + " could not be written.";
    };
    const bool family2 = session.bIsFamily2();
    const OType_ProjectProperties& properties = session.ProjectProperties();
    if (!family2 && properties.addOldFormat == 1) WriteLegacyCopy(file, session);
    if (!WriteBlock(file, kTargetSystemBlock, session.DeviceInfo().Encode()))
        failed(kTargetSystemBlock);
    if (!WriteBlock(file, kProjectDataBlock, session.ProjectData().Encode()))
        failed(kProjectDataBlock);

    OType_ZRPartSetArray& sets = session.PartSets();
    if (family2 && sets.iGetNum() > 0) {
        ProgressScope scope(progress, sets.iGetObjectSize(), kSavingText);
        if (!WriteStreamedBlock(file, kPartSetArrayBlock, [&](OByteStream& s) {
                OStreamProgressScope scope(s, progress);
                return sets.iEncode(s) == 1 ? 1 : 0;
            }))
            failed(kPartSetArrayBlock);
    }
    const OCoordTrans_Tsai_Transformer& transformer = session.CoordTransformer();
    if (family2 && transformer.bIsSetUp()) {
        if (!WriteStreamedBlock(file, kCoordTransBlock,
                                [&](OByteStream& s) { return transformer.iEncode(s); }))
            failed(kCoordTransBlock);
    }
    if (family2) {
        if (!WriteStreamedBlock(file, kPropertiesBlock,
                                [&](OByteStream& s) { return properties.iEncode(s); }))
            failed(kPropertiesBlock);
    }
    if (!family2) {
        ProgressScope scope(progress, sets.iGetObjectSize(), kSavingText);
        for (int i = 0; i < sets.iGetNum(); ++i) {
            const std::string name = PartTypeBlockName(i + 1);
            if (!WriteStreamedBlock(file, name, [&](OByteStream& s) {
                    OStreamProgressScope scope(s, progress);
                    return sets.opGetPartSet(i)->iEncode(s, 1, 1) == 1 ? 1 : 0;
                }))
                failed(name.c_str());
        }
    }
    const std::vector<uint8_t>& unknown = session.UnknownBlocks();
    if (!file.bWriteRaw(unknown.data(), unknown.size()) || !file.bFlush())
        failed("of newer versions");
    return file.bIsOk() ? result : 0;
}

int ReadProjectBlocks(OByteStream& file, OQuillon& session, const Settings& settings,
                      OProgressCtrl* progress, std::string& errorText) {
    errorText.clear();
    std::vector<OProjectBlock> blocks;
    if (!ScanBlocks(file, blocks)) return Damaged(errorText);
    BlockReader reader(file, std::move(blocks));
    if (!reader.bIsComplete()) return Damaged(errorText);

    const OProjectBlock* targetBlock = reader.Find(kTargetSystemBlock);
    const OProjectBlock* dataBlock = reader.Find(kProjectDataBlock);
    const OProjectBlock* propertiesBlock = reader.Find(kPropertiesBlock);
    const OProjectBlock* coordBlock = reader.Find(kCoordTransBlock);
    const bool hasPartSets = reader.Find(PartTypeBlockName(1)) || reader.Find(kPartSetArrayBlock);
    if (!targetBlock || !dataBlock || !hasPartSets) return Damaged(errorText);
    std::vector<uint8_t> targetBytes, dataBytes;
    if (!reader.bRead(*targetBlock, targetBytes) || !reader.bRead(*dataBlock, dataBytes))
        return Damaged(errorText);

    OType_ProjectProperties properties;
    if (propertiesBlock) {
        std::vector<uint8_t> bytes;
        if (!reader.bRead(*propertiesBlock, bytes) || !properties.iDecode(bytes))
            return Damaged(errorText);
    } else {
        properties = PropertiesWithoutRecord(settings, 1);
    }

    ZRINFO deviceInfo;
    if (!deviceInfo.iDecode(targetBytes)) return Damaged(errorText);
    if (!session.bConfigureFromDeviceInfo(deviceInfo, properties)) return 0;

    session.ProjectData().RemoveAll();
    if (!session.ProjectData().iDecode(dataBytes)) return Damaged(errorText);

    if (!ReadPartSets(reader, session, progress)) return Damaged(errorText);
    if (!propertiesBlock)
        session.ProjectProperties().useMultiplePartSets = session.PartSets().iGetNum() > 1 ? 1 : 0;

    if (coordBlock) {
        std::vector<uint8_t> bytes;
        if (!reader.bRead(*coordBlock, bytes) || !session.CoordTransformer().iDecode(bytes))
            return Damaged(errorText);
    }
    KeepUnknownBlocks(reader, session);

    if (session.bIsFamily2()) {
        session.SetConnectionKind(3);
    } else if (session.iGetConnectionKind() == 3) {
        session.SetConnectionKind(0);
    }
    return 1;
}

}  // namespace ProjectFile
