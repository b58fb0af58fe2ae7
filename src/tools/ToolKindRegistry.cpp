#include "tools/ToolKindRegistry.h"

#include "model/partset/OType_ZRPartSet.h"
#include "tools/OType_ConfigTool_CTOOL.h"
#include "tools/OType_ConfigTool_Combination.h"
#include "tools/OType_ConfigTool_ExtSensor.h"
#include "tools/OType_ConfigTool_Hole.h"
#include "tools/OType_ConfigTool_MEASURE.h"
#include "tools/OType_ConfigTool_ROI.h"
#include "tools/OType_ConfigTool_VSTRIP.h"
#include "tools/dataio/OType_DeviceDataIO_DataCollection.h"
#include "tools/dataio/OType_DeviceDataIO_EtherNetIP.h"
#include "tools/dataio/OType_DeviceDataIO_FileTransfer.h"
#include "tools/dataio/OType_DeviceDataIO_PartDetector.h"
#include "tools/dataio/OType_DeviceDataIO_TelmarViewer.h"
#include "tools/dataio/OType_DeviceDataIO_WebViewer.h"
#include "tools/dataio/OType_DeviceDataIO_XML.h"
#include "tools/kvt/OType_ConfigTool_KVT_BLOBTOOL.h"
#include "tools/kvt/OType_ConfigTool_KVT_COLOR.h"
#include "tools/kvt/OType_ConfigTool_KVT_COMBINATION.h"
#include "tools/kvt/OType_ConfigTool_KVT_COORDTRANS.h"
#include "tools/kvt/OType_ConfigTool_KVT_CTOOL.h"
#include "tools/kvt/OType_ConfigTool_KVT_CTOOL_V2.h"
#include "tools/kvt/OType_ConfigTool_KVT_DATAACCESS.h"
#include "tools/kvt/OType_ConfigTool_KVT_DEVICE_FEATURES.h"
#include "tools/kvt/OType_ConfigTool_KVT_IMGCOMPARE.h"
#include "tools/kvt/OType_ConfigTool_KVT_IOACCESS.h"
#include "tools/kvt/OType_ConfigTool_KVT_MEASURE.h"
#include "tools/kvt/OType_ConfigTool_KVT_PMATCH.h"
#include "tools/kvt/OType_ConfigTool_KVT_RAYTOOL.h"
#include "tools/kvt/OType_ConfigTool_KVT_ROI.h"

void RegisterToolAndDataOutputKinds(OType_ZRPartSet& partSet) {
    // Registration order: the family-1 contour tools ROI, VSTRIP, CTOOL, MEASURE, Hole,
    // ExtSensor, Combination; then the family-2 image tools KVT_ROI, KVT_CTOOL, KVT_MEASURE,
    // KVT_BLOBTOOL, KVT_COMBINATION, KVT_COLOR, KVT_PMATCH, KVT_RAYTOOL, KVT_IMGCOMPARE,
    // KVT_COORDTRANS, KVT_CTOOL_V2, KVT_DATAACCESS, KVT_IOACCESS, KVT_DEVICE_FEATURES; then
    // the data outputs EtherNetIP, PartDetector, DataCollection, XML, WebViewer, TelmarViewer,
    // FileTransfer. A class that serves several kinds (blob finder and blob finder+, say)
    // registers one instance per kind, in the place of its class.
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_ROI>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_VSTRIP>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_CTOOL>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_MEASURE>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_Hole>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_ExtSensor>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_Combination>());

    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_ROI>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_CTOOL>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_MEASURE>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_BLOBTOOL>(KvtToolKind::kBlob));
    partSet.RegisterToolKind(
        std::make_unique<OType_ConfigTool_KVT_BLOBTOOL>(KvtToolKind::kBlobPlus));
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_COMBINATION>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_COLOR>());
    // KVT_PMATCH serves pattern matching (107, 122) and the code and text readers (106, 111,
    // 112).
    for (int kind : OType_ConfigTool_KVT_PMATCH::Kinds())
        partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_PMATCH>(kind));
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_RAYTOOL>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_IMGCOMPARE>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_COORDTRANS>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_CTOOL_V2>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_DATAACCESS>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_IOACCESS>());
    partSet.RegisterToolKind(std::make_unique<OType_ConfigTool_KVT_DEVICE_FEATURES>());

    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_EtherNetIP>());
    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_PartDetector>());
    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_DataCollection>());
    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_XML>());
    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_WebViewer>());
    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_TelmarViewer>());
    partSet.RegisterDataOutputKind(std::make_unique<OType_DeviceDataIO_FileTransfer>());
}
