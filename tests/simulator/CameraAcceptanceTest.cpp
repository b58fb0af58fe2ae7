// A camera device from the first picture to the classified part, as a new user goes about it
// with kalvorctl: pictures of two part types taken from the device are imported into a project,
// image tools are placed on them, the project is sent to another device of the same kind, and
// the parts that device records come back classified exactly as the program itself classifies
// them.
#include <gtest/gtest.h>

#include <fstream>

#include "document/ODoc.h"
#include "document/OHeadlessDocument.h"
#include "model/image/ImageCodec.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"
#include "support/CtlRun.h"
#include "support/DevsimProcess.h"
#include "support/TempDir.h"

namespace {

const std::vector<std::string> kCamera = {"--hardware",     "7", "--image", "640x480",
                                          "--pixel-format", "8", "--rate",  "0"};

std::vector<std::string> CameraWith(std::vector<std::string> more) {
    std::vector<std::string> options = kCamera;
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

std::string Host(const DevsimProcess& device) {
    return "127.0.0.1:" + device.PortText(0);
}

std::unique_ptr<OType_ZRPartSet> LoadList(const std::filesystem::path& file, bool teach) {
    auto set = std::make_unique<OType_ZRPartSet>();
    std::string error;
    EXPECT_EQ(set->iLoadParts(file, teach, &error), 1) << error;
    return set;
}

// Writes the camera image of every part of a recorded list as a BMP file; the file names.
std::vector<std::string> WritePictures(const TempDir& dir, const std::string& list,
                                       const std::string& stem) {
    const auto set = LoadList(dir / list, true);
    std::vector<std::string> names;
    for (int i = 0; i < set->TeachParts().iGetSize(); ++i) {
        const OType_Image* image = set->TeachParts().GetAt_NoSort(i)->opGetImage(0);
        if (!image) {
            ADD_FAILURE() << "part " << i + 1 << " of " << list << " has no camera image";
            continue;
        }
        const std::vector<uint8_t> bmp = ImageCodec::EncodeBmp(*image);
        names.push_back(stem + std::to_string(i + 1) + ".bmp");
        std::ofstream(dir / names.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()),
                   static_cast<std::streamsize>(bmp.size()));
    }
    return names;
}

void Succeeds(const TempDir& dir, std::vector<std::string> args) {
    const CtlRun run = Ctl(dir.Path(), args);
    ASSERT_EQ(run.status, 0) << args[0] << " " << args[1] << ": " << run.err;
}

}  // namespace

TEST(CameraAcceptance, ImportedTypesAreTaughtSentAndClassifiedByTheDeviceAsByTheProgram) {
    TempDir dir;
    // Pictures of each part type, taken with the camera of a device.
    for (const int type : {1, 2}) {
        DevsimProcess camera(CameraWith({"--schedule", std::to_string(type) + ":1"}));
        ASSERT_TRUE(camera.bIsReady());
        const std::string list = "type" + std::to_string(type) + ".kvl";
        ASSERT_NO_FATAL_FAILURE(Succeeds(dir, {"device", "record", "--host", Host(camera),
                                               "--count", "3", "--teach", "--images", list}));
        if (type == 1) {
            ASSERT_NO_FATAL_FAILURE(Succeeds(
                dir, {"device", "identify", "--host", Host(camera), "--project", "line.kvp"}));
        }
    }
    for (const int type : {1, 2}) {
        const std::string t = std::to_string(type);
        std::vector<std::string> args = {"import-images", "line.kvp"};
        for (const std::string& name : WritePictures(dir, "type" + t + ".kvl", "type" + t + "_"))
            args.push_back(name);
        for (const char* option : {"--type", t.c_str(), "--orientation", "1", "--no-settings"})
            args.push_back(option);
        ASSERT_NO_FATAL_FAILURE(Succeeds(dir, args));
    }

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
    for (const auto& tool : tools) {
        std::vector<std::string> args = {"tool", "add", "line.kvp", "line.kvp"};
        args.insert(args.end(), tool.begin(), tool.end());
        args.insert(args.end(), {"--set", "image=1", "--no-settings"});
        ASSERT_NO_FATAL_FAILURE(Succeeds(dir, args));
    }
    const CtlRun extracted = Ctl(dir.Path(), {"extract", "line.kvp", "--json", "--no-settings"});
    ASSERT_EQ(extracted.status, 0) << extracted.err;
    EXPECT_NE(extracted.out.find("\"text\": \"KVT-1\""), std::string::npos) << extracted.out;
    EXPECT_NE(extracted.out.find("\"text\": \"KVT-2\""), std::string::npos) << extracted.out;

    // The program goes to a second camera, which then records parts of both types.
    DevsimProcess device(CameraWith({"--label-parts", "--schedule", "1:1x2,2:1x2"}));
    ASSERT_TRUE(device.bIsReady());
    ASSERT_NO_FATAL_FAILURE(
        Succeeds(dir, {"device", "send", "line.kvp", "--program", "0", "--host", Host(device)}));
    ASSERT_NO_FATAL_FAILURE(Succeeds(dir, {"device", "record", "--host", Host(device), "--count",
                                           "8", "--test", "--images", "recorded.kvl"}));
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
