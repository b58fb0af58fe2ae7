#include "document/ODocKvtViewHost.h"

#include "device/OQuillon.h"
#include "document/ODoc.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/Settings.h"

// Without a session (no project) the view shows nothing that asks these.

// The Z coordinate is the project's third scale value.
double ODocKvtViewHost::dGetTapeZ() const {
    const OQuillon* session = m_doc.opGetSession();
    return session ? session->ProjectProperties().scale[2] : 0.0;
}

void ODocKvtViewHost::SetTapeZ(double z) {
    if (OQuillon* session = m_doc.opGetSession()) session->ProjectProperties().scale[2] = z;
}

bool ODocKvtViewHost::bShowUnselectedTools() const {
    const OQuillon* session = m_doc.opGetSession();
    return session && session->Options().showUnselectedTools != 0;
}

void ODocKvtViewHost::SetShowUnselectedTools(bool on) {
    if (OQuillon* session = m_doc.opGetSession()) session->Options().showUnselectedTools = on;
    m_doc.SettingsStore().SetInt("Settings", "SHOW_UNSELECTED_TOOLS", on ? 1 : 0);
}

bool ODocKvtViewHost::bAutoShowCameraOrContourImage() const {
    const OQuillon* session = m_doc.opGetSession();
    return !session || session->Options().autoShowCameraOrContourImage != 0;
}

std::vector<std::string> ODocKvtViewHost::DependentToolNames(const OType_ZRPartSet& partSet,
                                                             int position) {
    const OType_ConfigTool* tool = partSet.Tools().opGetAt(position);
    if (!tool) return {};
    std::vector<std::string> names;
    for (int id : OQuillon::DependentToolIds(partSet, tool->iGetToolId()))
        names.push_back(partSet.Tools().opFindById(id)->GetName());
    return names;
}

bool ODocKvtViewHost::bRemoveToolWithDependents(OType_ZRPartSet& partSet, int position) {
    OQuillon* session = m_doc.opGetSession();
    return session && !session->RemoveToolWithDependents(partSet, position).empty();
}
