#include "tools/ToolKindRegistry.h"

#include "model/partset/OType_ZRPartSet.h"

void RegisterToolAndDataOutputKinds(OType_ZRPartSet& /*partSet*/) {
    // Registration order: the family-1 contour tools ROI, VSTRIP, CTOOL, MEASURE, Hole,
    // ExtSensor, Combination; then the family-2 image tools; then the data outputs
    // EtherNetIP, PartDetector, DataCollection, XML, WebViewer, TelmarViewer, FileTransfer.
    // Each implemented kind adds `partSet.RegisterToolKind(std::make_unique<Kind>())` here.
}
