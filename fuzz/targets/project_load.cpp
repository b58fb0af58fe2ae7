// Loads arbitrary bytes as a project file into a device session. A project that loads must
// save and load again to the same part sets, project data and unknown blocks.
#include <cstdint>
#include <sstream>
#include <vector>

#include "../FuzzSeeds.h"
#include "device/OQuillon.h"
#include "document/files/ProjectBlocks.h"
#include "document/files/ProjectFileFormat.h"
#include "model/part/OType_Part.h"
#include "model/stream/OByteStream_Memory.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Console.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

struct Sandbox {
    OSettings_Memory settings;
    std::ostringstream messages;
    OUserInteraction_Console ui{messages};
    OQuillon session{settings, ui, nullptr};
};

std::vector<uint8_t> Save(OQuillon& session) {
    OByteStream_Memory out;
    std::string error;
    Check(ProjectFile::WriteProjectBlocks(out, session, nullptr, error) == 1);
    return out.TakeBytes();
}

std::vector<uint8_t> Sample(const OTargetSystem& target, int parts) {
    Sandbox box;
    box.session.bSetUpNewProject(target, {}, 2);
    for (int i = 0; i < parts; ++i) {
        auto part = std::make_unique<OType_Part>();
        part->SetConturData({static_cast<int16_t>(i), static_cast<int16_t>(-(i + 20)), 3, -9});
        part->SetOrientation(1 + i % 3);
        box.session.opGetPartSet(i % 2)->TeachParts().Add(std::move(part));
    }
    box.session.SetUnknownBlocks(WrapUnpaddedBlock("NEWER", std::vector<uint8_t>{1, 2, 3}));
    return Save(box.session);
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    return {Sample({1, 818, 0, 6, 2, 8}, 5), Sample({9, 818, 0, 20, 3, 4}, 3)};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Sandbox box;
    auto in = OByteStream_Memory::View({data, size});
    std::string error;
    if (ProjectFile::ReadProjectBlocks(in, box.session, box.settings, nullptr, error) != 1)
        return 0;
    Check(box.session.PartSets().iGetNum() > 0);
    const std::vector<uint8_t> saved = Save(box.session);

    Sandbox again;
    auto reread = OByteStream_Memory::View(saved);
    Check(ProjectFile::ReadProjectBlocks(reread, again.session, again.settings, nullptr, error) ==
          1);
    Check(again.session.PartSets().iGetNum() == box.session.PartSets().iGetNum());
    for (int i = 0; i < box.session.PartSets().iGetNum(); ++i)
        Check(again.session.opGetPartSet(i)->Encode() == box.session.opGetPartSet(i)->Encode());
    Check(again.session.ProjectData() == box.session.ProjectData());
    Check(again.session.UnknownBlocks() == box.session.UnknownBlocks());
    return 0;
}
