// The input of the verbs that teach: a project, a part list or a feature table loaded into a
// part set of a headless classifier host, with the device and project properties it came
// with (or the ones the options give).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "PartsInput.h"
#include "classification/OClassifierHost.h"
#include "device/DeviceInfoBuilder.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OUserInteraction_Console.h"

// Options of the input and the device it is taught for.
struct OTeachInputOptions {
    std::string file;
    bool json = false;
    int family = 0;  // 0: from the hardware code, else 1
    int hardware = -1;
    int software = -1;
    int tolerance = 5;
    int type = 0;  // 1-based; 0: the shown part type
    int deviceTypes = 16;
    int deviceOrientations = 8;
    bool useTypes = true;
    bool useOrientation = true;
};

bool bParseIntOption(const std::string& text, int& value);
// Checks the file and derives the defaults: family from the hardware code (1 without one),
// hardware 2 or 7, firmware 818.
bool bFinishTeachInputOptions(OTeachInputOptions& options, std::string& error);

// The document's part for a headless run: one part set, the options' device and properties.
class OCliClassifierHost : public OHeadlessClassifierHost {
  public:
    OCliClassifierHost(const OTeachInputOptions& options, std::ostream& err)
        : m_ui(err), m_options(options) {
        m_properties.useTypes = options.useTypes ? 1 : 0;
        m_properties.useOrientation = options.useOrientation ? 1 : 0;
        ODeviceInfoRequest request;
        request.target = {options.hardware,    options.software,    0,
                          options.deviceTypes, options.deviceTypes, options.deviceOrientations};
        request.fixedFeatures = iGetFixedFeatureCount();
        request.tools = iGetToolCapacity();
        m_info = DeviceInfo::MakeWithoutDevice(request);
        m_partSet.SetDeviceInfo(&m_info);
        m_partSet.SetFixedFeatures(iGetFixedFeatureCount());
    }

    // Takes over the device and the project properties of a loaded project or part list.
    void Adopt(const OPartsInput& input) {
        m_info = input.deviceInfo;
        if (input.fromProject) m_properties = input.properties;
        const OTargetSystem target = DeviceInfo::ReadTarget(m_info);
        m_family = TargetSystem::iFamily(target.hardware);
        m_orientations = std::max(1, target.orientations);
        m_types = std::max(1, target.partsInSet);
        m_partSet.SetDeviceInfo(&m_info);
        m_partSet.SetFixedFeatures(iGetFixedFeatureCount());
    }
    int iGetFamily() const { return m_family; }

    UserInteraction& UI() override { return m_ui; }
    OType_ZRPartSet* opGetActualPartSet() override { return &m_partSet; }
    const OType_ProjectProperties& ProjectProperties() const override { return m_properties; }
    const ZRINFO& DeviceInfo() const override { return m_info; }
    int iGetFixedFeatureCount() const override { return m_family == 2 ? 0 : 12; }
    int iGetToolCapacity() const override { return m_family == 2 ? 256 : 20; }
    int iGetDeviceOrientationCount() const override { return m_orientations; }
    int iGetDeviceTypeCount() const override { return m_types; }

    OType_ZRPartSet& PartSet() { return m_partSet; }

  private:
    OUserInteraction_Console m_ui;
    const OTeachInputOptions& m_options;
    int m_family = m_options.family;
    int m_orientations = m_options.deviceOrientations;
    int m_types = m_options.deviceTypes;
    OType_ProjectProperties m_properties;
    ZRINFO m_info;
    OType_ZRPartSet m_partSet;
};

// Fills the part set from FILE: a project, a part list or a feature table (CSV); family-1
// parts get their features extracted.
bool bLoadInput(const OTeachInputOptions& options, OCliClassifierHost& host, std::string& error);

// The pairs of a list such as "1/1->1/2  2/1->2/3  ".
std::vector<std::string> SplitPairs(const std::string& list);
