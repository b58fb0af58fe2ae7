#include "tools/ToolKindRegistry.h"

#include "model/partset/OType_ZRPartSet.h"
#include "tools/OType_ConfigTool_CTOOL.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_ExtSensor.h"
#include "tools/OType_ConfigTool_Hole.h"
#include "tools/OType_ConfigTool_MEASURE.h"
#include "tools/OType_ConfigTool_ROI.h"
#include "tools/OType_ConfigTool_VSTRIP.h"

void RegisterToolAndDataOutputKinds(OType_ZRPartSet& partSet) {
    // Registration order: the family-1 contour tools ROI, VSTRIP, CTOOL, MEASURE, Hole,
    // ExtSensor, Combination; then the family-2 image tools; then the data outputs
    // EtherNetIP, PartDetector, DataCollection, XML, WebViewer, TelmarViewer, FileTransfer.
    // Each implemented kind adds `partSet.RegisterToolKind(std::make_unique<Kind>())` here.
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_ROI>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_VSTRIP>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_CTOOL>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_MEASURE>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_Hole>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_ExtSensor>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_Combination>());
}
