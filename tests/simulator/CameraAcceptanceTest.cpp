// A camera device from the first picture to the classified part, as a new user goes about it
// with kalvorctl: pictures of two part types taken from the device are imported into a project,
// image tools are placed on them, the project is sent to another device of the same kind, and
// the parts that device records come back classified exactly as the program itself classifies
// them.
#include <gtest/gtest.h>

#include "document/ODoc.h"
#include "document/OHeadlessDocument.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/CameraLine.h"
#include "support/CtlRun.h"
#include "support/DevsimProcess.h"
#include "support/TempDir.h"

namespace {

std::unique_ptr<OType_ZRPartSet> LoadList(const std::filesystem::path& file, bool teach) {
    auto set = std::make_unique<OType_ZRPartSet>();
    std::string error;
    EXPECT_EQ(set->iLoadParts(file, teach, &error), 1) << error;
    return set;
}

}  // namespace

TEST(CameraAcceptance, ImportedTypesAreTaughtSentAndClassifiedByTheDeviceAsByTheProgram) {
    TempDir dir;
    // Pictures of each part type, taken with the camera of a device.
    ASSERT_NO_FATAL_FAILURE(ImportTwoRecordedTypes(dir.Path(), "line.kvp"));

    // The tools: a blob finder and a brightness detection over the part, a pattern matching
    // tool taught from the first picture, a data-matrix reader on the printed code and an
    // edge finder across the part.
    const std::vector<std::vector<std::string>> tools = {
        {"--kind", "103", "--region", "120,80,400,320"},
        {"--kind", "105", "--subkind", "369", "--region", "120,80,400,320"},
        {"--kind", "107", "--region", "120,80,400,320"},
        {"--kind", "106", "--region", "0,0,180,120"},
        {"--kind", "114", "--subkind", "800", "--region", "40,220,560,40"},
    };
    ASSERT_NO_FATAL_FAILURE(AddImageTools(dir.Path(), "line.kvp", tools));
    const CtlRun extracted = Ctl(dir.Path(), {"extract", "line.kvp", "--json", "--no-settings"});
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_NE(extracted.out.find("\"text\": \"KVT-1\""), std::string::npos) << extracted.out;
    EXPECT_NE(extracted.out.find("\"text\": \"KVT-2\""), std::string::npos) << extracted.out;

    // The program goes to a second camera, which then records parts of both types.
    DevsimProcess device(CameraWith({"--label-parts", "--schedule", "1:1x2,2:1x2"}));
    ASSERT_TRUE(device.bIsReady());
    ASSERT_NO_FATAL_FAILURE(CtlSucceeds(
        dir.Path(), {"device", "send", "line.kvp", "--program", "0", "--host", Host(device)}));
    ASSERT_NO_FATAL_FAILURE(
        CtlSucceeds(dir.Path(), {"device", "record", "--host", Host(device), "--count", "8",
                                 "--test", "--images", "recorded.kvl"}));
    const auto recorded = LoadList(dir / "recorded.kvl", false);
    ASSERT_EQ(recorded->TestParts().iGetSize(), 8);

    // The program's own classification of the same pictures with the project's tools.
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OHeadlessDocument headless(settings, &ui);
    std::string error;
    ASSERT_EQ(headless.Doc().LoadProjectFile((dir / "line.kvp").string(), error, 1), 1) << error;
    OType_ZRPartSet* program = headless.Session().opGetActualPartSet();
    ASSERT_NE(program, nullptr);
    for (int i = 0; i < recorded->TestParts().iGetSize(); ++i) {
        auto copy = std::make_unique<OType_Part>();
        recorded->TestParts().GetAt_NoSort(i)->CopyTo(*copy);
        program->TestParts().Add(std::move(copy));
    }
    headless.Doc().Recompute(program, 0, 1, 1, 1, 0);
    const OType_PartArray& own = program->TestParts();
    ASSERT_EQ(own.iGetSize(), 8);

    for (int i = 0; i < 8; ++i) {
        const OType_Part& byDevice = *recorded->TestParts().GetAt_NoSort(i);
        const OType_Part& byProgram = *own.GetAt_NoSort(i);
        const std::string label = byDevice.GetComment();
        const int scheduledType = (std::stoi(label.substr(1)) - 1) % 4 < 2 ? 1 : 2;
        EXPECT_EQ(byDevice.iGetType(), scheduledType) << label;
        EXPECT_EQ(byDevice.iGetOrientation(), 1) << label;
        EXPECT_NE(byDevice.dGetResultValue(0), 12.5) << label << ": the device ran no program";
        EXPECT_EQ(byProgram.iGetType(), byDevice.iGetType()) << label;
        EXPECT_EQ(byProgram.iGetOrientation(), byDevice.iGetOrientation()) << label;
        for (int r = 0; r < 3; ++r) {
            EXPECT_NEAR(byProgram.dGetResultValue(r), byDevice.dGetResultValue(r),
                        1e-4 * std::max(1.0, std::abs(byDevice.dGetResultValue(r))))
                << label << ", result " << r;
        }
    }
}
