// The editions the simulator can play and the texts it reports for them. The device type
// texts (bytes 158-189 of ZRINFO) are this simulator's model names; they live in this one
// table so that they can follow the program's identification patterns.
#pragma once

#include <string>
#include <vector>

#include "device/TargetSystem.h"
#include "model/device/ZRINFO.h"

struct OSimEdition {
    int hardware = 0;
    int defaultSoftware = 0;
    const char* deviceType = "";  // model name reported in the device type text
};

namespace SimEditions {

const std::vector<OSimEdition>& Table();
// The table row of a hardware code; nullptr when the code is not in it.
const OSimEdition* Find(int hardware);
// Finds a row by the hardware's display name ("Kesta 1b"), any case.
const OSimEdition* FindByName(const std::string& name);

}  // namespace SimEditions

// What the device reports about itself; unset fields take the edition's values.
struct OSimDeviceSpec {
    OTargetSystem target{7, 818, 0, 256, 16, 8};
    int tools = -1;                    // tool capacity; -1: the edition's
    TargetSystem::OToolLimits limits;  // classic editions' per-kind limits
    int imageWidth = 0;                // 0: the edition's
    int imageHeight = 0;
    int pixelFormat = 0;        // 8 grey, 24 colour; 0: the edition's
    int partDataProtocol = -1;  // -1: the edition's (1 new platform, 0 classic)
    int coordTrans = -1;        // byte 771; -1: the edition's
    bool encoder = false;       // bit 0 of byte 157: a conveyor encoder is connected
    std::string serialNumber = "SIM-000001";
    std::string webName = "kalvor-devsim";
    std::string deviceType;  // empty: the table's model name
};

ZRINFO MakeSimulatedDeviceInfo(const OSimDeviceSpec& spec);
