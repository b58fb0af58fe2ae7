// Reads arbitrary bytes as a legacy project file into a device session. A project that
// loads and fits the old layout must write and read again to the same parts, tools, part
// types and project text.
#include <cstdint>
#include <sstream>
#include <vector>

#include "../FuzzSeeds.h"
#include "device/OQuillon.h"
#include "document/files/LegacyProjectFormat.h"
#include "document/files/ProjectFileFormat.h"
#include "model/part/OType_Part.h"
#include "model/stream/OByteStream_Memory.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Console.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

constexpr OTargetSystem kClassic{1, 818, 0, 6, 1, 8};

struct Sandbox {
    OSettings_Memory settings;
    std::ostringstream messages;
    OUserInteraction_Console ui{messages};
    OQuillon session{settings, ui, nullptr};
    Sandbox() { session.bSetUpNewProject(kClassic, {}, 1); }

    int Read(std::span<const uint8_t> bytes) {
        std::string error;
        std::vector<std::string> notes;
        return LegacyProject::iRead(
            bytes, session, ProjectFile::PropertiesWithoutRecord(settings, 1), error, notes);
    }
};

std::vector<uint8_t> Written(OQuillon& session) {
    OByteStream_Memory out;
    std::string error;
    if (!LegacyProject::iWrite(out, session, error)) return {};
    return out.TakeBytes();
}

std::vector<uint8_t> Parts(const OType_PartArray& list) {
    OByteStream_Memory out;
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& p = *list.GetAt(i);
        out.bWriteI32(p.iGetType());
        out.bWriteI32(p.iGetOrientation());
        out.bWriteI16Array(p.Contour());
    }
    return out.TakeBytes();
}

std::vector<uint8_t> CheckProgram(const OType_ZRPartSet& set) {
    return set.Encode(0, 0);
}

std::vector<uint8_t> Sample(int parts, bool withTool) {
    Sandbox box;
    OType_ZRPartSet& set = *box.session.opGetActualPartSet();
    for (int i = 0; i < parts; ++i) {
        auto part = std::make_unique<OType_Part>();
        part->SetConturData({static_cast<int16_t>(i), static_cast<int16_t>(-(i + 20)), 3, -9});
        part->SetOrientation(1 + i % 3);
        (i % 2 ? set.TestParts() : set.TeachParts()).Add(std::move(part));
    }
    if (withTool) set.Tools().Add(set.ToolPrototypes().Create(1));
    box.session.ProjectData().Set(ProjectField::Engineer, "[x] \\ y");
    return Written(box.session);
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {Sample(5, true), Sample(0, false)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    LegacyProject::OLegacyContent content;
    std::string error;
    if (!LegacyProject::iParse({data, size}, content, error)) {
        Check(!error.empty());
        return 0;
    }
    Check(content.targetSystem.size() <= ZRINFO::kSize);
    Sandbox box;
    if (box.Read({data, size}) != 1) return 0;
    Check(box.session.PartSets().iGetNum() == 1);
    const std::vector<uint8_t> written = Written(box.session);
    if (written.empty()) return 0;  // more than the old layout holds

    Sandbox again;
    Check(again.Read(written) == 1);
    const OType_ZRPartSet& a = *box.session.opGetActualPartSet();
    const OType_ZRPartSet& b = *again.session.opGetActualPartSet();
    Check(Parts(a.TeachParts()) == Parts(b.TeachParts()));
    Check(Parts(a.TestParts()) == Parts(b.TestParts()));
    Check(CheckProgram(a) == CheckProgram(b));
    Check(again.session.ProjectData() == box.session.ProjectData());
    return 0;
}
