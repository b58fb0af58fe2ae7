#include "app/AboutTexts.h"

namespace AboutTexts {

std::vector<OSupportedDevice> SupportedDevices() {
    return {
        {"Tamrin:", 1332, std::string("3.5.0.0") + ", " + "3.6.0.0"},
        {"Oskel:", 1333, "3.6.0.0"},
    };
}

}  // namespace AboutTexts
