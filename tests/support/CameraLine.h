// A camera line set up the way a family-2 user starts one with kalvorctl: parts of each type
// recorded from the camera simulator, their pictures written as BMP files and imported into a
// project.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "support/DevsimProcess.h"

// Simulator options of a grey 640 x 480 camera with the extra options appended.
std::vector<std::string> CameraWith(std::vector<std::string> more = {});
// The simulator's command channel as kalvorctl's --host expects it.
std::string Host(const DevsimProcess& device);
// Runs kalvorctl in `folder` and fails the test unless it exits with 0.
void CtlSucceeds(const std::filesystem::path& folder, const std::vector<std::string>& args);
// Writes the camera image of every part of a recorded list as "<stem><n>.bmp"; the file names.
std::vector<std::string> WritePictures(const std::filesystem::path& folder, const std::string& list,
                                       const std::string& stem);
// Records three parts of types 1 and 2 from a camera each ("type1.kvl", "type2.kvl"), makes
// `project` for that camera and imports both types' pictures into it as orientation 1.
void ImportTwoRecordedTypes(const std::filesystem::path& folder, const std::string& project);
// Adds each tool (kalvorctl "tool add" options) on the first camera image to `project`.
void AddImageTools(const std::filesystem::path& folder, const std::string& project,
                   const std::vector<std::vector<std::string>>& tools);
