// The program's private clipboard formats: one MIME type per format, named by the model
// library's strings. Registered at start-up; views pass the list to the priority check
// before pasting.
#pragma once

#include <array>
#include <string>

struct OClipboardFormats {
    static constexpr int kCount = 9;
    // The string ids of the names, in registration order.
    static constexpr std::array<int, kCount> kNameIds = {5321, 5319, 5341, 5322, 5342,
                                                         5346, 5347, 5349, 5350};

    std::string projectText;          // 5321
    std::string partsFamily1;         // 5319
    std::string partsFamily2;         // 5341
    std::string toolFamily1;          // 5322
    std::string toolFamily2;          // 5342
    std::string checkProgramFamily1;  // 5346
    std::string checkProgramFamily2;  // 5347
    std::string dataOutput;           // 5349
    std::string projectData;          // 5350
    // The same nine in registration order.
    std::array<std::string, kCount> list;

    static OClipboardFormats Register();
};
