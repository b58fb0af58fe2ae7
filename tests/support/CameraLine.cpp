#include "support/CameraLine.h"

#include <gtest/gtest.h>

#include <fstream>

#include "model/image/ImageCodec.h"
#include "model/partset/OType_ZRPartSet.h"
#include "support/CtlRun.h"

std::vector<std::string> CameraWith(std::vector<std::string> more) {
    std::vector<std::string> options = {"--hardware",     "7", "--image", "640x480",
                                        "--pixel-format", "8", "--rate",  "0"};
    options.insert(options.end(), more.begin(), more.end());
    return options;
}

std::string Host(const DevsimProcess& device) {
    return "127.0.0.1:" + device.PortText(0);
}

void CtlSucceeds(const std::filesystem::path& folder, const std::vector<std::string>& args) {
    const CtlRun run = Ctl(folder, args);
    ASSERT_EQ(run.status, 0) << args.at(0) << " " << args.at(1) << ": " << run.err;
}

std::vector<std::string> WritePictures(const std::filesystem::path& folder, const std::string& list,
                                       const std::string& stem) {
    OType_ZRPartSet set;
    std::string error;
    EXPECT_EQ(set.iLoadParts(folder / list, true, &error), 1) << error;
    std::vector<std::string> names;
    for (int i = 0; i < set.TeachParts().iGetSize(); ++i) {
        const OType_Image* image = set.TeachParts().GetAt_NoSort(i)->opGetImage(0);
        if (!image) {
            ADD_FAILURE() << "part " << i + 1 << " of " << list << " has no camera image";
            continue;
        }
        const std::vector<uint8_t> bmp = ImageCodec::EncodeBmp(*image);
        names.push_back(stem + std::to_string(i + 1) + ".bmp");
        std::ofstream(folder / names.back(), std::ios::binary)
            .write(reinterpret_cast<const char*>(bmp.data()),
                   static_cast<std::streamsize>(bmp.size()));
    }
    return names;
}

void ImportTwoRecordedTypes(const std::filesystem::path& folder, const std::string& project) {
    for (const int type : {1, 2}) {
        DevsimProcess camera(CameraWith({"--schedule", std::to_string(type) + ":1"}));
        ASSERT_TRUE(camera.bIsReady());
        const std::string list = "type" + std::to_string(type) + ".kvl";
        ASSERT_NO_FATAL_FAILURE(CtlSucceeds(folder, {"device", "record", "--host", Host(camera),
                                                     "--count", "3", "--teach", "--images", list}));
        if (type == 1) {
            ASSERT_NO_FATAL_FAILURE(CtlSucceeds(
                folder, {"device", "identify", "--host", Host(camera), "--project", project}));
        }
    }
    for (const int type : {1, 2}) {
        const std::string t = std::to_string(type);
        std::vector<std::string> args = {"import-images", project};
        for (const std::string& name : WritePictures(folder, "type" + t + ".kvl", "type" + t + "_"))
            args.push_back(name);
        for (const char* option : {"--type", t.c_str(), "--orientation", "1", "--no-settings"})
            args.push_back(option);
        ASSERT_NO_FATAL_FAILURE(CtlSucceeds(folder, args));
    }
}

void AddImageTools(const std::filesystem::path& folder, const std::string& project,
                   const std::vector<std::vector<std::string>>& tools) {
    for (const auto& tool : tools) {
        std::vector<std::string> args = {"tool", "add", project, project};
        args.insert(args.end(), tool.begin(), tool.end());
        args.insert(args.end(), {"--set", "image=1", "--no-settings"});
        ASSERT_NO_FATAL_FAILURE(CtlSucceeds(folder, args));
    }
}
