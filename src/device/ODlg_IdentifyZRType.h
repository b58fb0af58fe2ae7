// The model of the project-properties dialog (template 253, "Project properties"): the
// target device and the project's settings. This part holds what identification needs:
// the choices its combos offer, the fields the target decides, identifying the connected
// device over Ethernet with taking over what it reports, and OK, which makes the
// device-information record of a changed target. Applying the result to the project
// (the target change and the project properties) is the caller's.
#pragma once

#include <string>
#include <vector>

#include "device/DeviceIdentification.h"
#include "device/TargetSystem.h"
#include "model/coordtrans/OCoordTrans_Tsai_Transformer.h"
#include "model/device/ZRINFO.h"
#include "platform/ODialogModel.h"

class OQuillon;
class OType_ProjectProperties;

class ODlg_IdentifyZRType : public ODialogModel {
  public:
    static constexpr int kTemplate = 253;
    // Control ids.
    static constexpr int kDeviceTypeCombo = 1206;
    static constexpr int kFirmwareCombo = 1207;
    static constexpr int kAddInCombo = 1208;
    static constexpr int kOrientations = 1061;
    static constexpr int kTools = 1002;
    static constexpr int kPartTypes = 1062;
    static constexpr int kPartsPerProgram = 1063;
    static constexpr int kStatusText = 1290;
    static constexpr int kEthernet = 1197;

    // Starts from the session's target and its tool capacity; the status shows 4007.
    explicit ODlg_IdentifyZRType(OQuillon& session);

    std::string DialogName() const override { return "ODlg_IdentifyZRType"; }

    // --- fields ---
    OTargetSystem target;
    int fixedFeatures = 12;
    int tools = 0;
    std::string statusText;
    bool insertIntoProjectDescription = true;     // 1283
    bool compatibleWithVersion1 = false;          // 1017
    bool multipleCheckPrograms = false;           // 1077
    bool orientationSeparation = true;            // 1079
    bool typeSeparation = true;                   // 1080
    bool deleteTypesWithoutParts = false;         // 1081
    bool deleteOrientationsWithoutParts = false;  // 1082
    bool qualityInspection = true;                // 1083
    bool coordTransOfFeatures = false;            // 1084
    bool toolsOnCameraImage = false;              // 1085

    // The ten check boxes from the project's properties (the two "Delete ... automatically"
    // boxes show the manual flags inverted), and back.
    void LoadProjectProperties(const OType_ProjectProperties& properties);
    // With the target given by the caller, OK always makes a fresh device-information
    // record from the entered values.
    void SetTargetGivenByCaller(bool given) { m_targetGiven = given; }

    // --- what the combos and fields offer for the current values ---
    // The device-type combo: the display names of hardware codes 16 and 1024.
    static std::vector<std::string> DeviceTypeChoices();
    static std::vector<int> DeviceTypeCodes() { return {16, 1024}; }
    // The firmware versions that fit a hardware code (codes, newest first).
    static std::vector<int> FirmwareChoices(int hardware);
    // The add-in choices (texts 4242, 4243) and whether the combo is enabled.
    std::vector<std::string> AddInChoices() const;
    bool bIsAddInEnabled() const;
    // Whether the number of orientations may be edited; when not, it is 8.
    bool bIsOrientationEditable() const;
    // Applies the rules that follow from hardware and software: the add-in and the fixed
    // orientations.
    void ApplyTargetRules();
    // The user picked a device type or a firmware version: the firmware is kept when it
    // fits the device type, else the newest that fits is taken; then the target rules, the
    // fixed features and the tool capacity of the pair follow.
    void ChooseHardware(int hardware);
    void ChooseSoftware(int software);
    // The user picked an add-in entry (0 or 1).
    void ChooseAddIn(int addIn);

    // --- "Ethernet interface" ---
    // Identifies the device over TCP and takes over what it reports; false (status 4009)
    // when its information could not be read.
    bool bIdentifyOverEthernet();
    const OIdentification& Identification() const { return m_identification; }
    const ZRINFO& ReportedDeviceInfo() const { return m_reported; }
    // The device's coordinate transformation, received during the identification.
    const OCoordTrans_Tsai_Transformer& ReceivedCoordTrans() const { return m_coordTrans; }
    bool bTakeCoordTrans() const { return m_takeCoordTrans; }
    // Whether a device was identified, and whether the user changed the add-in choice.
    bool bIdentified() const { return m_identified; }
    bool bAddInChanged() const { return m_addInChanged; }

    // --- OK ---
    bool bValidate(std::string& message) override;
    void OnOk() override;
    // Whether the target differs from the one the dialog started with.
    bool bTargetChanged() const;
    // Set by OK when the target changed: the record made without a device.
    const ZRINFO& NewDeviceInfo() const { return m_newInfo; }
    bool bHasNewDeviceInfo() const { return m_hasNewInfo; }

  private:
    OQuillon& m_session;
    OTargetSystem m_start;
    int m_startTools = 0;
    OIdentification m_identification;
    ZRINFO m_reported;
    OCoordTrans_Tsai_Transformer m_coordTrans;
    bool m_takeCoordTrans = false;
    bool m_identified = false;
    bool m_addInChanged = false;
    bool m_targetGiven = false;
    ZRINFO m_newInfo;
    bool m_hasNewInfo = false;
};
