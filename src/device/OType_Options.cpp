#include "device/OType_Options.h"

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

}  // namespace

OType_Options::OType_Options(Settings& settings) : m_settings(settings) {
    Assign(Read(settings));
}

OType_Options::~OType_Options() {
    WriteBack(true);
}

OOptionValues OType_Options::Read(const Settings& settings) {
    OOptionValues values;
    for (const IntOption& option : kIntOptions)
        values.*option.field = settings.iGetInt(kSection, option.name, values.*option.field);
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
