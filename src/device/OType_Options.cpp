#include "device/OType_Options.h"

#include <string_view>

#include "platform/Settings.h"

namespace {

// Value names of the integer options, bound to their fields.
struct IntOption {
    const char* name;
    int OOptionValues::*field;
};

constexpr IntOption kIntOptions[] = {
    {"CONTYPE", &OOptionValues::connectionKind},
    {"AUTOSPEED", &OOptionValues::autoSpeed},
    {"MSG_BEEP", &OOptionValues::msgBeep},
    {"USEFEATURESDIFFERFROMCONTUR", &OOptionValues::useDifferingFeatures},
    {"PARTBUFFERSIZE", &OOptionValues::partBufferSize},
    {"HANDLEMAXPARTSLIMITREACHED", &OOptionValues::partLimitPolicy},
    {"REJECTDEFECTCONTURPART", &OOptionValues::rejectDefectContourParts},
    {"HIDEDISABLEDFEATURES", &OOptionValues::hideDisabledFeatures},
    {"AUTOSHOWCAMERAORCONTORIMAGE", &OOptionValues::autoShowCameraOrContourImage},
    {"SHOW_FLAGWORD_INFO", &OOptionValues::showFlagwordInfo},
    {"SHOW_AS_WORLD_COORDS", &OOptionValues::showWorldCoords},
    {"SHOW_UNSELECTED_TOOLS", &OOptionValues::showUnselectedTools},
    {"DISPLAYRECEIVEDPART", &OOptionValues::displayReceivedPart},
};

constexpr const char* kViewerPath = "MIRREL_PATH";
constexpr const char* kDisplayReceivedPart = "DISPLAYRECEIVEDPART";

// The largest value each option takes; every option starts at 0 except the part buffer.
int iMaxOf(const IntOption& option) {
    const std::string_view name = option.name;
    if (name == "CONTYPE") return 3;
    if (name == "PARTBUFFERSIZE") return 25000;
    if (name == "HANDLEMAXPARTSLIMITREACHED") return 3;
    return 1;
}

}  // namespace

OType_Options::OType_Options(Settings& settings) : m_settings(settings) {
    Assign(Read(settings));
}

OType_Options::~OType_Options() {
    WriteBack(true);
}

OOptionValues OType_Options::Read(const Settings& settings) {
    OOptionValues values;
    // A value out of its range (an edited settings file) reads as the default.
    for (const IntOption& option : kIntOptions) {
        const int value = settings.iGetInt(kSection, option.name, values.*option.field);
        const int min = std::string_view(option.name) == "PARTBUFFERSIZE" ? 1 : 0;
        if (value >= min && value <= iMaxOf(option)) values.*option.field = value;
    }
    values.viewerPath = settings.GetText(kSection, kViewerPath, values.viewerPath);
    return values;
}

void OType_Options::Write(Settings& settings, const OOptionValues& values,
                          bool withDisplayReceivedPart) {
    for (const IntOption& option : kIntOptions) {
        if (!withDisplayReceivedPart && std::string_view(option.name) == kDisplayReceivedPart)
            continue;
        settings.SetInt(kSection, option.name, values.*option.field);
    }
    settings.SetText(kSection, kViewerPath, values.viewerPath);
}

void OType_Options::WriteBack(bool withDisplayReceivedPart) const {
    Write(m_settings, Values(), withDisplayReceivedPart);
}
