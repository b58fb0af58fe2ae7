#include "testcases/OCheckProgramRun.h"

#include <algorithm>
#include <iostream>

#include "device/DeviceInfoBuilder.h"
#include "device/TargetSystem.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/Log.h"

OCheckProgramRun::OCheckProgramRun(const ZRINFO& info)
    : m_info(info),
      m_ui(std::clog),
      m_extraction(info, DeviceInfo::ReadTarget(info), m_ui),
      m_classifier(*this),
      m_imageClassifier(*this),
      m_newPlatform(TargetSystem::bIsNewPlatform(DeviceInfo::ReadTarget(info).hardware)) {
    // The device tells orientations and types apart as far as its program has classes.
    m_properties.useOrientation = 1;
    m_properties.useTypes = 1;
}

OCheckProgramRun::~OCheckProgramRun() = default;

OClassifier& OCheckProgramRun::Classifier() {
    if (m_newPlatform) return m_imageClassifier;
    return m_classifier;
}

bool OCheckProgramRun::bCanInspect(const OType_Part& part) const {
    return m_newPlatform ? part.iGetNumImages() > 0 || part.iGetConturDataSize() > 0
                         : part.iGetConturDataSize() > 0;
}

bool OCheckProgramRun::bLoad(std::span<const uint8_t> program) {
    if (program.empty()) return false;
    if (std::equal(program.begin(), program.end(), m_loadedBytes.begin(), m_loadedBytes.end()))
        return m_program != nullptr;
    m_loadedBytes.assign(program.begin(), program.end());
    auto set = std::make_unique<OType_ZRPartSet>();
    m_extraction.PreparePartSet(*set);
    if (!set->iDecode(program)) {
        Log::Write(LogLevel::Warning, "check program",
                   "the check program cannot be decoded; it is not run");
        m_program.reset();
        return false;
    }
    // Once more after reading: the device's own feature count and names apply, not the stored.
    m_extraction.PreparePartSet(*set);
    set->TeachParts().RemoveAll();
    set->TestParts().RemoveAll();
    m_program = std::move(set);
    // What a device does once when a program becomes active: its stored statistics become
    // tolerance bands and decision thresholds.
    Classifier().ReloadTeachData(*m_program);
    Classifier().FindSeparatingFeatures();
    Classifier().FormToleranceBands();
    Log::Write(LogLevel::Info, "check program",
               "running check program \"" + m_program->GetName() + "\" on every part");
    return true;
}

OType_Part OCheckProgramRun::Inspect(const OType_Part& part) {
    if (!m_program) return part;
    OType_PartArray& list = m_program->TestParts();
    list.RemoveAll();
    auto copy = std::make_unique<OType_Part>();
    part.CopyTo(*copy);
    copy->SetTeachPart(false);
    OType_Part& inspected = *list.Add(std::move(copy));
    m_extraction.Recompute(*m_program, 1, 1, 0, 0, 0);
    if (m_newPlatform)
        m_imageClassifier.ClassifyPart(inspected, false);
    else
        m_classifier.ClassifyPart(inspected);
    OType_Part result = inspected;
    list.RemoveAll();
    return result;
}

int OCheckProgramRun::iGetFixedFeatureCount() const {
    return m_info.u16(ZRINFO::kBasicFeatures);
}

int OCheckProgramRun::iGetToolCapacity() const {
    return m_info.u16(ZRINFO::kToolCapacity);
}

int OCheckProgramRun::iGetDeviceOrientationCount() const {
    return std::max(1, DeviceInfo::ReadTarget(m_info).orientations);
}

int OCheckProgramRun::iGetDeviceTypeCount() const {
    return std::max(1, DeviceInfo::ReadTarget(m_info).partsInSet);
}
