// The project-properties dialog and what it applies: the target system, the project
// properties, the connection kind, the coordinate transformer, the edition templates and
// the device fields of the project documentation; and the check of every tool and data
// output against the target's device information.
#include <cstdio>

#include "device/ODlg_IdentifyZRType.h"
#include "device/TargetSystem.h"
#include "document/ODoc.h"
#include "link/OQuillonComInterface.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/strings/ResStr.h"
#include "platform/UserInteraction.h"

namespace {

constexpr int kTcp = 3;
constexpr int kTransformerInUse = 9829;

// The project properties as the dialog's boxes give them, the separation flags effective.
OType_ProjectProperties EnteredProperties(const ODlg_IdentifyZRType& d,
                                          const OType_ProjectProperties& stored) {
    OType_ProjectProperties p = stored;
    p.useMultiplePartSets = d.multipleCheckPrograms ? 1 : 0;
    p.useQuality = d.qualityInspection ? 1 : 0;
    p.useTypes = d.qualityInspection && d.typeSeparation ? 1 : 0;
    p.useOrientation = d.qualityInspection && d.orientationSeparation ? 1 : 0;
    p.useManualTypes = d.deleteTypesWithoutParts ? 0 : 1;
    p.useManualOrientation = d.deleteOrientationsWithoutParts ? 0 : 1;
    p.useAlternativeValue = d.coordTransOfFeatures ? 1 : 0;
    p.useNewToolsOnCameraImage = d.toolsOnCameraImage ? 1 : 0;
    p.addOldFormat = d.multipleCheckPrograms ? 0 : (d.compatibleWithVersion1 ? 1 : 0);
    p.updateProjectDescription = d.insertIntoProjectDescription ? 1 : 0;
    return p;
}

// The target with the effective part types per program and orientations.
OTargetSystem EffectiveTarget(const ODlg_IdentifyZRType& d) {
    OTargetSystem t = d.target;
    if (!d.qualityInspection || !d.typeSeparation) t.partsInSet = 1;
    if (!d.qualityInspection || !d.orientationSeparation) t.orientations = 1;
    return t;
}

bool bSameProperties(const OType_ProjectProperties& a, const OType_ProjectProperties& b) {
    return a.addOldFormat == b.addOldFormat && a.useMultiplePartSets == b.useMultiplePartSets &&
           a.useOrientation == b.useOrientation && a.useTypes == b.useTypes &&
           a.useManualOrientation == b.useManualOrientation &&
           a.useManualTypes == b.useManualTypes && a.useQuality == b.useQuality &&
           a.useAlternativeValue == b.useAlternativeValue &&
           a.useNewToolsOnCameraImage == b.useNewToolsOnCameraImage &&
           a.updateProjectDescription == b.updateProjectDescription;
}

std::string PixelsText(int hardware, const ZRINFO& info) {
    char text[32];
    const bool singleNumber =
        (hardware >= 0 && hardware <= 6) || hardware == 16 || hardware == 1024;
    if (singleNumber) {
        std::snprintf(text, sizeof text, "%d", static_cast<int>(info.s16(ZRINFO::kPixels)));
    } else {
        std::snprintf(text, sizeof text, "%dx%d", static_cast<int>(info.s16(ZRINFO::kImageWidth)),
                      static_cast<int>(info.s16(ZRINFO::kImageHeight)));
    }
    return text;
}

// What the dialog's values did: the result, and whether the check programs are to be
// filled with their edition's template.
struct OPropertiesOutcome {
    int result = 1;
    bool fillTemplates = false;
};

OPropertiesOutcome ApplyProjectProperties(ODoc& doc, const ODlg_IdentifyZRType& dialog,
                                          const OType_ProjectProperties& entered);
void UpdateDeviceFields(ODoc& doc, const ODlg_IdentifyZRType& dialog);

OPropertiesOutcome RunProjectPropertiesDialog(ODoc& doc, int force) {
    OQuillon& session = *doc.opGetSession();
    ODlg_IdentifyZRType dialog(session);
    dialog.LoadProjectProperties(session.ProjectProperties());
    dialog.SetTargetGivenByCaller(force == 1);
    const bool confirmed = doc.UI().bRunDialog(dialog);
    if (!confirmed && force == 0) return {};
    if (!confirmed) dialog.OnOk();  // with force the entered values are applied after Cancel

    OPropertiesOutcome outcome;
    const OType_ProjectProperties stored = session.ProjectProperties();
    const OType_ProjectProperties entered = EnteredProperties(dialog, stored);
    const OTargetSystem effective = EffectiveTarget(dialog);
    const OTargetSystem& current = session.GetTargetSystem();
    const int partSets = entered.useMultiplePartSets ? -1 : 1;
    const bool change = doc.iGetNewProject() == 1 || force == 1 || dialog.bIdentified() ||
                        dialog.bAddInChanged() || dialog.bTakeCoordTrans() ||
                        effective != current || dialog.tools != session.iGetToolCapacity() ||
                        dialog.fixedFeatures != session.iGetFixedFeatures() ||
                        (partSets == 1 && session.PartSets().iGetNum() != 1) ||
                        !bSameProperties(entered, stored);
    if (change) {
        OTargetChange request;
        request.deviceInfo =
            dialog.bHasNewDeviceInfo() ? dialog.NewDeviceInfo() : session.DeviceInfo();
        request.target = effective;
        request.partSets = partSets < 0 ? session.PartSets().iGetNum() : partSets;
        request.useManualTypes = entered.useManualTypes;
        request.useManualOrientation = entered.useManualOrientation;
        request.interactive = true;
        if (!session.ChangeTargetSystem(request)) {
            outcome.result = 0;
            doc.RecomputeAll(1, 0, 1, 1, 0);
        } else {
            outcome = ApplyProjectProperties(doc, dialog, entered);
        }
    }
    session.ProjectProperties().updateProjectDescription = entered.updateProjectDescription;
    if (entered.updateProjectDescription) UpdateDeviceFields(doc, dialog);
    return outcome;
}

}  // namespace

int ODoc::EditProjectProperties(int force) {
    if (!m_session) return 0;
    CloseCommunicationManager();
    m_services.views.DestroyView(ViewKind::ToolProperties);
    m_services.views.DestroyView(ViewKind::DataOutput);
    HideChildFrames();
    int result = 1;
    if (m_extensions.editProjectProperties) {
        result = m_extensions.editProjectProperties(force);
    } else {
        const OPropertiesOutcome outcome = RunProjectPropertiesDialog(*this, force);
        result = outcome.result;
        if (outcome.fillTemplates && m_extensions.createEditionTemplate) {
            OType_ZRPartSetArray& sets = m_session->PartSets();
            for (int i = 0; i < sets.iGetNum(); ++i) {
                if (sets.opGetPartSet(i)) FillEditionTemplate(*sets.opGetPartSet(i));
            }
        }
    }
    ShowChildFrames();
    RefreshViews();
    OType_ProjectProperties& properties = m_session->ProjectProperties();
    if (m_session->PartSets().iGetNum() > 1) properties.useMultiplePartSets = 1;
    RefreshPartSetBar(0);
    if (m_newProject) {
        SetModifiedFlag(0);
        m_newProject = 0;
    }
    return result;
}

namespace {

OPropertiesOutcome ApplyProjectProperties(ODoc& doc, const ODlg_IdentifyZRType& dialog,
                                          const OType_ProjectProperties& entered) {
    OPropertiesOutcome outcome;
    OQuillon& session = *doc.opGetSession();
    OType_ZRPartSetArray& sets = session.PartSets();
    OType_ProjectProperties& p = session.ProjectProperties();
    p.useMultiplePartSets = entered.useMultiplePartSets;
    if (!p.useMultiplePartSets) {
        for (int i = sets.iGetNum() - 1; i >= 1; --i)
            sets.RemoveAt(i);
    }
    const int keepDescription = p.updateProjectDescription;
    p = entered;
    p.updateProjectDescription = keepDescription;

    // The connection follows the family: TCP for the new platform, serial otherwise.
    const int hardware = session.GetTargetSystem().hardware;
    OQuillonComInterface* link = session.opGetConnection();
    if (TargetSystem::bIsNewPlatform(hardware)) {
        if (link && link->iGetInterfaceType() != kTcp) {
            if (session.bIsOnline()) {
                session.EnsureConnected();
                session.Disconnect(0);
            }
            session.CreateConnection(kTcp);
        }
        session.SetConnectionKind(kTcp);
    } else if (!link) {
        if (session.iGetConnectionKind() != 0 && session.iGetConnectionKind() != 1)
            session.SetConnectionKind(0);
    } else if (link->iGetInterfaceType() != 0 && link->iGetInterfaceType() != 1) {
        if (session.bIsOnline()) {
            session.EnsureConnected();
            session.Disconnect(0);
        }
        session.SetConnectionKind(0);
        session.CreateConnection(0);
    }

    // A received transformation is taken over unless a check program works with the one
    // in use.
    if (TargetSystem::bIsCamera(hardware) && dialog.bTakeCoordTrans() &&
        !dialog.ReceivedCoordTrans().bIsSameTransformation(session.CoordTransformer())) {
        bool used = false;
        for (int i = 0; i < sets.iGetNum(); ++i) {
            if (sets.opGetPartSet(i) && sets.opGetPartSet(i)->bIsCoordTransformerUsed())
                used = true;
        }
        if (used) {
            doc.UI().Message(ResStr(kTransformerInUse), MsgIcon::Warning);
        } else {
            session.CoordTransformer() = dialog.ReceivedCoordTrans();
        }
    }

    if (hardware == 16 || hardware == 1024) {
        bool anyTools = false;
        for (int i = 0; i < sets.iGetNum(); ++i) {
            if (sets.opGetPartSet(i) && sets.opGetPartSet(i)->Tools().iGetNum() > 0)
                anyTools = true;
        }
        outcome.fillTemplates = doc.iGetNewProject() == 1 || !anyTools;
    }
    return outcome;
}

void UpdateDeviceFields(ODoc& doc, const ODlg_IdentifyZRType& dialog) {
    OQuillon& session = *doc.opGetSession();
    bool changed = false;
    if (dialog.bIdentified() && !(session.DeviceInfo() == dialog.ReportedDeviceInfo())) {
        session.DeviceInfo() = dialog.ReportedDeviceInfo();
        changed = true;
    }
    const ZRINFO& info = session.DeviceInfo();
    OType_ProjectData& data = session.ProjectData();
    const auto assign = [&](ProjectField field, const std::string& text) {
        if (data.Get(field) == text) return;
        data.Set(field, text);
        changed = true;
    };
    assign(ProjectField::DeviceType, TargetSystem::HardwareName(dialog.target.hardware));
    assign(ProjectField::FirmwareVersion, TargetSystem::SoftwareName(dialog.target.software));
    assign(ProjectField::SerialNumber,
           info.Text(ZRINFO::kSerialNumber, ZRINFO::kSerialNumberLength));
    assign(ProjectField::NumberOfPixels, PixelsText(dialog.target.hardware, info));
    assign(ProjectField::DeviceOptions, info.bHasEncoder() ? "Encoder" : "");
    if (changed) doc.SetModifiedFlag(1);
}

}  // namespace

int ODoc::CheckProjectConsistency() {
    if (!m_session) return 0;
    int result = 1;
    const OTargetSystem& target = m_session->GetTargetSystem();
    const OType_ProjectProperties& properties = m_session->ProjectProperties();
    const bool switchOn = TargetSystem::bIsNewPlatform(target.hardware) && target.software >= 818 &&
                          properties.useAlternativeValue == 1;
    OType_ZRPartSetArray& sets = m_session->PartSets();
    for (int i = 0; i < sets.iGetNum(); ++i) {
        OType_ZRPartSet* set = sets.opGetPartSet(i);
        if (!set) continue;
        set->SetCoordTransSwitch(switchOn);
        for (int t = 0; t < set->Tools().iGetNum(); ++t) {
            OType_ConfigTool* tool = set->Tools().opGetAt(t);
            tool->SetCoordTransSwitch(switchOn);
            std::string explanation;
            if (tool->iCheckPropertyCompatibility(m_session->DeviceInfo(), explanation) != 0)
                result = 0;
        }
        for (int d = 0; d < set->DataOutputs().iGetNum(); ++d) {
            std::string explanation;
            if (set->DataOutputs().opGetAt(d)->iCheckPropertyCompatibility(m_session->DeviceInfo(),
                                                                           explanation) != 0)
                result = 0;
        }
        set->DataOutputs().Update_LUT_FeatureIndexLists(*set);
    }
    return result;
}
