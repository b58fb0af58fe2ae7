#include "document/ODocClassifierHost.h"

#include "document/ODoc.h"

UserInteraction& ODocClassifierHost::UI() {
    return m_doc.UI();
}

OType_ZRPartSet* ODocClassifierHost::opGetActualPartSet() {
    return m_doc.opGetActualPartSet();
}

const OType_ProjectProperties& ODocClassifierHost::ProjectProperties() const {
    return m_doc.opGetSession()->ProjectProperties();
}

const ZRINFO& ODocClassifierHost::DeviceInfo() const {
    return m_doc.opGetSession()->DeviceInfo();
}

int ODocClassifierHost::iGetFixedFeatureCount() const {
    return m_doc.opGetSession()->iGetFixedFeatures();
}

int ODocClassifierHost::iGetToolCapacity() const {
    return m_doc.opGetSession()->iGetToolCapacity();
}

int ODocClassifierHost::iGetDeviceOrientationCount() const {
    return m_doc.opGetSession()->GetTargetSystem().orientations;
}

int ODocClassifierHost::iGetDeviceTypeCount() const {
    return m_doc.opGetSession()->GetTargetSystem().partsInSet;
}

void ODocClassifierHost::SetModifiedFlag() {
    m_doc.SetModifiedFlag(1);
}

void ODocClassifierHost::RedrawTeachDataView() {
    m_doc.Views().UpdateView(ViewKind::TeachData);
}

void ODocClassifierHost::RecomputeProject() {
    m_doc.Recompute(m_doc.opGetActualPartSet(), 0, 0, 1, 1, 0);
}

void ODocClassifierHost::UpdateAllViews() {
    m_doc.RefreshViews();
}
