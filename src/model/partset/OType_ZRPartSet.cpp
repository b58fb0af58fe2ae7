#include "model/partset/OType_ZRPartSet.h"

#include <algorithm>

#include "model/partset/DefaultFeatureNames.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"
#include "model/stream/ObjectIds.h"
#include "model/strings/MultiLanguageText.h"

namespace {
int ClampIndex(int n, int size) {
    if (size <= 0) return 0;
    return std::clamp(n, 0, size - 1);
}
}  // namespace

OType_ZRPartSet::OType_ZRPartSet() : m_featureNames(DefaultFeatureNames()) {
    m_undo.bStartUndoRedo(*this);
}

OType_ZRPartSet::OType_ZRPartSet(NoHistory) : m_featureNames(DefaultFeatureNames()) {}

OType_ZRPartSet::~OType_ZRPartSet() = default;

void OType_ZRPartSet::SetCompatibilityFirmwareVersion(std::string minimum, std::string maximum) {
    m_firmwareMin = std::move(minimum);
    m_firmwareMax = std::move(maximum);
}

OType_ZRPartSet_SubType* OType_ZRPartSet::opGetSubType(int i) {
    return i >= 0 && i < iGetNum_SubTypes() ? &m_subTypes[static_cast<size_t>(i)] : nullptr;
}

const OType_ZRPartSet_SubType* OType_ZRPartSet::opGetSubType(int i) const {
    return i >= 0 && i < iGetNum_SubTypes() ? &m_subTypes[static_cast<size_t>(i)] : nullptr;
}

OType_ZRPartSet_SubType* OType_ZRPartSet::opAddSubType() {
    if (iGetNum_SubTypes() >= kMaxSubTypes) return nullptr;
    return &m_subTypes.emplace_back();
}

void OType_ZRPartSet::RemoveSubTypeAt(int i) {
    if (i < 0 || i >= iGetNum_SubTypes()) return;
    m_subTypes.erase(m_subTypes.begin() + i);
    ClampShowState();
}

void OType_ZRPartSet::SetNumSubTypes(int n) {
    m_subTypes.resize(static_cast<size_t>(std::clamp(n, 0, kMaxSubTypes)));
    ClampShowState();
}

void OType_ZRPartSet::RemoveAllVectors() {
    for (auto& t : m_subTypes)
        t.Vectors().RemoveAll();
}

const std::string* OType_ZRPartSet::FindFeatureName(int number) const {
    for (const auto& entry : m_featureNames) {
        if (entry.number == number) return &entry.name;
    }
    return nullptr;
}

std::string OType_ZRPartSet::GetFeatureNameOrDash(int number) const {
    const std::string* name = FindFeatureName(number);
    return name ? *name : std::string("--");
}

bool OType_ZRPartSet::bSetFeatureName(int number, std::string name) {
    for (auto& entry : m_featureNames) {
        if (entry.number == number) {
            entry.name = std::move(name);
            return true;
        }
    }
    m_featureNames.push_back({number, std::move(name)});
    return true;
}

void OType_ZRPartSet::bResetFeatureNames() {
    m_featureNames = DefaultFeatureNames();
}

void OType_ZRPartSet::ExtractFeatureNameLanguage(int language) {
    for (auto& entry : m_featureNames)
        entry.name = oStrExtractLanguage(entry.name, language);
}

bool OType_ZRPartSet::bIsFeatureEnabled(int feature) const {
    if (feature < 0 || feature >= kMaxFeatureFlags) return false;
    return static_cast<size_t>(feature) >= m_featureDisabled.size() ||
           m_featureDisabled[static_cast<size_t>(feature)] == 0;
}

int OType_ZRPartSet::SetFeatureEnable(int feature, int state) {
    if (feature < 0 || feature >= kMaxFeatureFlags) return -1;
    const bool enable = state < 0 ? !bIsFeatureEnabled(feature) : state != 0;
    if (static_cast<size_t>(feature) >= m_featureDisabled.size()) {
        if (enable) return 1;
        m_featureDisabled.resize(static_cast<size_t>(feature) + 1, 0);
    }
    m_featureDisabled[static_cast<size_t>(feature)] = enable ? 0 : 1;
    return enable ? 1 : 0;
}

int OType_ZRPartSet::iShowSetTeachTest(int teach) {
    m_showTeach = teach != 0;
    return iShowGetTeachTest();
}

int OType_ZRPartSet::iShowTeachPartNo(int n, int mode) {
    m_showTeachPart = (mode == 1 && n == -1) ? -1 : ClampIndex(n, m_teach.iGetSize());
    return m_showTeachPart;
}

int OType_ZRPartSet::iShowTestPartNo(int n, int mode) {
    m_showTestPart = (mode == 1 && n == -1) ? -1 : ClampIndex(n, m_test.iGetSize());
    return m_showTestPart;
}

int OType_ZRPartSet::iShowFeatureNo(int n) {
    m_showFeature = ClampIndex(n, iGetNumOfFeatures());
    return m_showFeature;
}

int OType_ZRPartSet::iShowToolNo(int n) {
    m_showTool = m_tools.iGetNum() == 0 ? -1 : ClampIndex(n, m_tools.iGetNum());
    return m_showTool;
}

int OType_ZRPartSet::iShowVectorNo(int n) {
    const OType_ZRPartSet_SubType* type = opGetSubType(m_showSubType);
    const int count = type ? std::max(type->iGetNumOrientations(), type->Vectors().iGetNum()) : 0;
    m_showVector = ClampIndex(n, count);
    return m_showVector;
}

int OType_ZRPartSet::iShowDataOutputNo(int n) {
    const int count = m_dataOutputs.iGetNum();
    m_dataOutputs.SetSelected(count == 0 ? -1 : ClampIndex(n, count));
    return m_dataOutputs.iGetSelected();
}

int OType_ZRPartSet::iShowSubTypeNo(int n) {
    m_showSubType = ClampIndex(n, iGetNum_SubTypes());
    iShowVectorNo(m_showVector);
    return m_showSubType;
}

OType_Part* OType_ZRPartSet::opGetShowPart() const {
    return m_showTeach ? m_teach.GetAt(m_showTeachPart) : m_test.GetAt(m_showTestPart);
}

OType_ConfigTool* OType_ZRPartSet::opShowFeatureGetConfigTool() const {
    return m_tools.opGetCFToolAtFeature(m_showFeature, m_fixedFeatures);
}

void OType_ZRPartSet::ClampShowState() {
    if (m_showTeachPart != -1) iShowTeachPartNo(m_showTeachPart);
    if (m_showTestPart != -1) iShowTestPartNo(m_showTestPart);
    m_showSubType = ClampIndex(m_showSubType, iGetNum_SubTypes());
    iShowVectorNo(m_showVector);
    iShowFeatureNo(m_showFeature);
    if (m_showTool != -1 || m_tools.iGetNum() == 0) iShowToolNo(m_showTool);
}

void OType_ZRPartSet::CopyContentFrom(const OType_ZRPartSet& o) {
    if (this == &o) return;
    CopySettingsFrom(o);
    m_teach = o.m_teach;
    m_test = o.m_test;
}

void OType_ZRPartSet::TakeSettingsFrom(const OType_ZRPartSet& other) {
    if (this == &other) return;
    CopySettingsFrom(other);
    ClampShowState();
}

void OType_ZRPartSet::CopySettingsFrom(const OType_ZRPartSet& o) {
    m_fixedFeatures = o.m_fixedFeatures;
    m_name = o.m_name;
    m_timeStamp = o.m_timeStamp;
    m_programNo = o.m_programNo;
    m_firmwareMin = o.m_firmwareMin;
    m_firmwareMax = o.m_firmwareMax;
    m_subTypes = o.m_subTypes;
    m_tools = o.m_tools;
    m_dataOutputs = o.m_dataOutputs;
    m_featureNames = o.m_featureNames;
    m_defaultReferences = o.m_defaultReferences;
    m_filterMode = o.m_filterMode;
    m_filterLimit1 = o.m_filterLimit1;
    m_filterLimit2 = o.m_filterLimit2;
    m_coordTransSwitch = o.m_coordTransSwitch;
    m_zCoordinate = o.m_zCoordinate;
    m_featureDisabled = o.m_featureDisabled;
    m_showTeach = o.m_showTeach;
    m_showTeachPart = o.m_showTeachPart;
    m_showTestPart = o.m_showTestPart;
    m_showFeature = o.m_showFeature;
    m_showTool = o.m_showTool;
    m_showVector = o.m_showVector;
    m_showSubType = o.m_showSubType;
    m_trailer = o.m_trailer;
}

void OType_ZRPartSet::Clear() {
    m_name.clear();
    m_timeStamp = 0;
    m_programNo = 0;
    m_firmwareMin = m_firmwareMax = "0.0.0.0";
    m_subTypes.clear();
    // Fresh lists, so that sort orders, id counters and kept bytes go as well.
    m_teach = OType_PartArray();
    m_test = OType_PartArray();
    m_tools = OType_ConfigToolArray();
    m_dataOutputs = OType_DeviceDataIOArray();
    m_featureNames = DefaultFeatureNames();
    m_defaultReferences.Reset();
    m_filterMode = 0;
    m_filterLimit1 = m_filterLimit2 = 0;
    m_coordTransSwitch = false;
    m_zCoordinate = 0.0;
    m_featureDisabled.clear();
    m_showTeach = true;
    m_showTeachPart = m_showTestPart = m_showFeature = m_showVector = m_showSubType = 0;
    m_showTool = -1;
    m_trailer.clear();
}

int OType_ZRPartSet::iEncode(OByteStream& s, int withParts, int withImages) const {
    OObjectBlockWriter block(s, ObjectId::kPartSet);
    const uint32_t flags = (withParts ? 1u : 0u) | (withImages ? 2u : 0u);
    s.bWriteU32(flags);
    s.bWriteString(m_name);
    s.bWriteI64(m_timeStamp);
    s.bWriteI32(m_programNo);
    s.bWriteString(m_firmwareMin);
    s.bWriteString(m_firmwareMax);
    s.bWriteI32(m_fixedFeatures);
    s.bWriteI32(m_filterMode);
    s.bWriteI32(m_filterLimit1);
    s.bWriteI32(m_filterLimit2);
    s.bWriteBool(m_coordTransSwitch);
    s.bWriteDouble(m_zCoordinate);
    s.bWriteByteArray(m_featureDisabled);
    s.bWriteBool(m_showTeach);
    for (int v : {m_showTeachPart, m_showTestPart, m_showFeature, m_showTool, m_showVector,
                  m_showSubType}) {
        s.bWriteI32(v);
    }
    s.bWriteU32(static_cast<uint32_t>(m_featureNames.size()));
    for (const auto& n : m_featureNames) {
        s.bWriteI32(n.number);
        s.bWriteString(n.name);
    }
    for (int i = 0; i < OType_DefaultReferenceFeatures::kCount; ++i)
        s.bWriteI32(m_defaultReferences.iGetAt(i));
    s.bWriteU32(static_cast<uint32_t>(m_subTypes.size()));
    for (const auto& t : m_subTypes)
        t.iEncode(s);
    m_tools.iEncode(s);
    m_dataOutputs.iEncode(s);
    if (withParts) {
        const uint32_t content =
            withImages ? PartContent::kAll : (PartContent::kContour | PartContent::kFeatures);
        m_teach.iEncode(s, content);
        m_test.iEncode(s, content);
    }
    block.bWriteTrailer(m_trailer);
    return block.bClose() ? 1 : 0;
}

std::vector<uint8_t> OType_ZRPartSet::Encode(int withParts, int withImages) const {
    OByteStream_Memory s;
    s.Reserve(static_cast<size_t>(iGetObjectSize(withParts, withImages)));
    iEncode(s, withParts, withImages);
    return s.TakeBytes();
}

int OType_ZRPartSet::iDecode(OByteStream& s, DecodeHistory history) {
    Clear();
    m_undo.Clear();
    OType_ZRPartSet d{NoHistory{}};
    d.m_toolPrototypes = m_toolPrototypes;
    d.m_dataOutputPrototypes = m_dataOutputPrototypes;
    OObjectBlockReader block(s, ObjectId::kPartSet);
    uint32_t flags = 0;
    int32_t limit1 = 0, limit2 = 0;
    s.bReadU32(flags);
    s.bReadString(d.m_name);
    s.bReadI64(d.m_timeStamp);
    s.bReadI32(d.m_programNo);
    s.bReadString(d.m_firmwareMin);
    s.bReadString(d.m_firmwareMax);
    s.bReadI32(d.m_fixedFeatures);
    s.bReadI32(d.m_filterMode);
    s.bReadI32(limit1);
    s.bReadI32(limit2);
    s.bReadBool(d.m_coordTransSwitch);
    s.bReadDouble(d.m_zCoordinate);
    s.bReadByteArray(d.m_featureDisabled);
    s.bReadBool(d.m_showTeach);
    for (int* v : {&d.m_showTeachPart, &d.m_showTestPart, &d.m_showFeature, &d.m_showTool,
                   &d.m_showVector, &d.m_showSubType}) {
        s.bReadI32(*v);
    }
    if (!block.bIsOk() || d.m_fixedFeatures < 0 || d.m_fixedFeatures > 64 ||
        d.m_featureDisabled.size() > static_cast<size_t>(kMaxFeatureFlags)) {
        return s.Fail();
    }
    d.m_filterLimit1 = static_cast<int16_t>(limit1);
    d.m_filterLimit2 = static_cast<int16_t>(limit2);
    uint32_t names = 0;
    if (!s.bReadCount(names, 8)) return 0;
    d.m_featureNames.assign(names, {});
    for (auto& n : d.m_featureNames) {
        s.bReadI32(n.number);
        s.bReadString(n.name);
    }
    for (int i = 0; i < OType_DefaultReferenceFeatures::kCount; ++i) {
        int32_t f = -1;
        s.bReadI32(f);
        d.m_defaultReferences.SetAt(i, f);
    }
    uint32_t types = 0;
    if (!s.bReadCount(types, 8) || types > static_cast<uint32_t>(kMaxSubTypes)) return s.Fail();
    d.m_subTypes.resize(types);
    for (auto& t : d.m_subTypes) {
        if (!t.iDecode(s)) return 0;
    }
    if (!d.m_tools.iDecode(s, m_toolPrototypes)) return 0;
    if (!d.m_dataOutputs.iDecode(s, m_dataOutputPrototypes)) return 0;
    if (flags & 1u) {
        if (!d.m_teach.iDecode(s) || !d.m_test.iDecode(s)) return 0;
    }
    d.m_trailer = block.TakeTrailer();
    if (!block.bClose()) return 0;
    // The part lists are moved; everything else is small and copied.
    m_teach = std::move(d.m_teach);
    m_test = std::move(d.m_test);
    CopySettingsFrom(d);
    ClampShowState();
    if (history == DecodeHistory::Restart) m_undo.bStartUndoRedo(*this);
    return 1;
}

int OType_ZRPartSet::iDecode(std::span<const uint8_t> bytes, DecodeHistory history) {
    auto s = OByteStream_Memory::View(bytes);
    return iDecode(s, history);
}

uint64_t OType_ZRPartSet::iGetObjectSize(int withParts, int withImages) const {
    uint64_t size = 1024 + m_featureNames.size() * 32;
    for (const auto& t : m_subTypes) {
        for (int o = 0; o < t.Vectors().iGetNum(); ++o)
            size += 96 * t.Vectors().opGetAt(o)->iGetNumOfVectors() + 32;
    }
    size += 256 * static_cast<uint64_t>(m_tools.iGetNum() + m_dataOutputs.iGetNum());
    if (withParts) {
        const uint32_t content =
            withImages ? PartContent::kAll : (PartContent::kContour | PartContent::kFeatures);
        size += m_teach.iGetObjectSize(content) + m_test.iGetObjectSize(content);
    }
    return size;
}
