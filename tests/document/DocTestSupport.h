// Shared pieces of the document tests: a headless document with a scripted user, sample
// parts, and project files written by hand block by block.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "device/DeviceInfoBuilder.h"
#include "document/OHeadlessDocument.h"
#include "document/files/ProjectBlocks.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectData.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/TempDir.h"

namespace doctest {

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

// A part with a small contour: `columns` columns of height depending on i.
inline std::unique_ptr<OType_Part> MakePart(int i, bool teach, int columns = 20) {
    auto part = std::make_unique<OType_Part>();
    std::vector<int16_t> runs;
    for (int x = 0; x < columns; ++x) {
        runs.push_back(static_cast<int16_t>(10 + (x + i) % 7));
        runs.push_back(static_cast<int16_t>(-(40 + (x * i) % 11)));
    }
    part->SetConturData(std::move(runs));
    part->SetOrientation(1 + i % 4);
    part->SetType(1);
    part->SetTeachPart(teach);
    part->SetComment("part " + std::to_string(i));
    return part;
}

inline void AddParts(OType_ZRPartSet& set, int teach, int test) {
    for (int i = 0; i < teach; ++i)
        set.TeachParts().Add(MakePart(i, true));
    for (int i = 0; i < test; ++i)
        set.TestParts().Add(MakePart(100 + i, false));
}

// The block sequence of a file, written by hand.
class HandFile {
  public:
    HandFile& Block(const std::string& name, const std::vector<uint8_t>& data) {
        const std::vector<uint8_t> b = WrapUnpaddedBlock(name, data);
        m_bytes.insert(m_bytes.end(), b.begin(), b.end());
        return *this;
    }
    HandFile& Raw(const std::vector<uint8_t>& data) {
        m_bytes.insert(m_bytes.end(), data.begin(), data.end());
        return *this;
    }
    const std::vector<uint8_t>& Bytes() const { return m_bytes; }

  private:
    std::vector<uint8_t> m_bytes;
};

inline std::vector<uint8_t> TargetBlock(const OTargetSystem& target) {
    ODeviceInfoRequest request;
    request.target = target;
    request.fixedFeatures = TargetSystem::iFixedFeatureCount(target.hardware);
    request.tools = TargetSystem::iToolCapacity(target.hardware, target.software, {});
    return DeviceInfo::MakeWithoutDevice(request).Encode();
}

// A stand-alone family-1 part set as the loader would decode it.
inline std::vector<uint8_t> PartSetBlock(int teachParts, const std::string& name = "") {
    OType_ZRPartSet set;
    set.SetNumSubTypes(2);
    set.SetName(name);
    AddParts(set, teachParts, 0);
    return set.Encode(1, 1);
}

struct DocFixture : ::testing::Test {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    TempDir dir;
    std::unique_ptr<OHeadlessDocument> headless =
        std::make_unique<OHeadlessDocument>(settings, &ui);

    ODoc& doc() { return headless->Doc(); }
    OQuillon& session() { return headless->Session(); }
    OViewHost_Recording& views() { return headless->Views(); }
    std::string Path(const std::string& name) const { return (dir / name).string(); }

    // A new project of the target, set up as File New would.
    void NewProject(const OTargetSystem& target) {
        TargetSystemSettings_Write(target);
        doc().OnNewDocument();
        doc().SetBusy(0);
    }
    void TargetSystemSettings_Write(const OTargetSystem& t) {
        settings.SetInt("Settings", "TARGET_SYSTEM_HW", t.hardware);
        settings.SetInt("Settings", "TARGET_SYSTEM_SW", t.software);
        settings.SetInt("Settings", "TARGET_SYSTEM_SW_ADDIN", t.addIn);
        settings.SetInt("Settings", "TARGET_SYSTEM_PARTTYPES", t.partTypes);
        settings.SetInt("Settings", "TARGET_SYSTEM_PARTSINSET", t.partsInSet);
        settings.SetInt("Settings", "TARGET_SYSTEM_ORI", t.orientations);
    }
    void ExpectNoMismatch() {
        EXPECT_TRUE(ui.Mismatches().empty()) << ui.TranscriptText();
        EXPECT_TRUE(ui.bAllScriptUsed()) << ui.TranscriptText();
    }
};

}  // namespace doctest
