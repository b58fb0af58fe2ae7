#include "document/ODocExtractionHosts.h"

#include "document/ODoc.h"
#include "platform/Clipboard.h"

namespace {
OQuillon& Session(ODoc& doc) {
    return *doc.opGetSession();
}
}  // namespace

// --- the extraction engine's host ---

const ZRINFO& ODocExtractorHost::GetDeviceInfo() const {
    return Session(m_doc).DeviceInfo();
}
OTargetSystem ODocExtractorHost::GetTargetSystem() const {
    return Session(m_doc).GetTargetSystem();
}
// The variant arithmetic of the basic features follows the target's firmware line.
int ODocExtractorHost::iGetDeviceTypeCode() const {
    return Session(m_doc).GetTargetSystem().software;
}
// Features the device computes differently from the contour keep the device's values.
int ODocExtractorHost::iGetKeepMarkedBasicValues() const {
    return Session(m_doc).Options().useDifferingFeatures;
}
// The session's limit: the option raised by the answers to the limit question.
int ODocExtractorHost::iGetMaxPartsPerList() const {
    return Session(m_doc).iGetPartLimit();
}
int ODocExtractorHost::iGetPartLimitPolicy() const {
    return Session(m_doc).Options().partLimitPolicy;
}
bool ODocExtractorHost::bUsesOrientations() const {
    return Session(m_doc).ProjectProperties().useOrientation != 0;
}
bool ODocExtractorHost::bUsesTypes() const {
    return Session(m_doc).ProjectProperties().useTypes != 0;
}
bool ODocExtractorHost::bUsesQualityDecision() const {
    return Session(m_doc).ProjectProperties().useQuality != 0;
}
// Features can be switched off for the quality decision only when the project decides quality.
bool ODocExtractorHost::bFeatureSelectionAllowed() const {
    return bUsesQualityDecision();
}
UserInteraction& ODocExtractorHost::GetUserInteraction() {
    return m_doc.UI();
}
OProgressCtrl* ODocExtractorHost::opGetProgress() {
    return m_doc.opGetProgress();
}
Settings& ODocExtractorHost::GetSettings() {
    return m_doc.SettingsStore();
}
OType_ZRPartSet* ODocExtractorHost::opGetActualPartSet() {
    return m_doc.opGetActualPartSet();
}

void ODocExtractorHost::Recompute(OType_ZRPartSet& partSet, int toolsChanged, int testOnly,
                                  int resortTeach, int resortTest, int option) {
    m_doc.Recompute(&partSet, toolsChanged, testOnly, resortTeach, resortTest, option);
}

void ODocExtractorHost::UpdateAllViews() {
    m_doc.RefreshViews();
}
void ODocExtractorHost::SelectFeature(int feature, bool redraw) {
    m_doc.SelectFeature(feature, redraw ? 1 : 0);
}
void ODocExtractorHost::SetModified() {
    m_doc.SetModifiedFlag(1);
}
// The part properties dialog belongs to the part editing commands, which this version has not.
bool ODocExtractorHost::bEditPartProperties() {
    return m_doc.bEditPartProperties(false);
}
void ODocExtractorHost::OpenToolProperties() {
    m_doc.ShowView(ViewKind::ToolProperties);
}
void ODocExtractorHost::CloseResultWindow() {
    m_doc.CloseCommunicationManager();
}
// The part contour window has no printout in this version.
void ODocExtractorHost::PrintContourView() {}
void ODocExtractorHost::RedrawContourView() {
    m_doc.Views().UpdateView(ViewKind::PartContour);
}

bool ODocExtractorHost::bIsToolAllowed(int kind, int subKind) {
    return Session(m_doc).IsToolAllowed(kind, subKind);
}

// The pasting view stores the one undo step of the paste.
OType_ConfigTool* ODocExtractorHost::opAddTool(OType_ZRPartSet& partSet, int kind, int subKind) {
    return Session(m_doc).AddTool(partSet, kind, subKind, 0, {}, false);
}

bool ODocExtractorHost::bClipboardHasFormat(std::string_view format) {
    Clipboard* clipboard = m_doc.opGetClipboard();
    return clipboard && clipboard->bHasFormat(format);
}

bool ODocExtractorHost::bReadClipboard(std::string_view format, std::vector<uint8_t>& bytes) {
    Clipboard* clipboard = m_doc.opGetClipboard();
    return clipboard && clipboard->bGetData(format, bytes);
}

bool ODocExtractorHost::bWriteClipboard(std::string_view format,
                                        const std::vector<uint8_t>& bytes) {
    Clipboard* clipboard = m_doc.opGetClipboard();
    return clipboard && clipboard->bSetData(format, bytes);
}

// The tape-measure scaling is kept in the project properties' scale values.
double ODocExtractorHost::dGetTapeScaleX() const {
    return Session(m_doc).ProjectProperties().scale[0];
}
double ODocExtractorHost::dGetTapeScaleY() const {
    return Session(m_doc).ProjectProperties().scale[1];
}
void ODocExtractorHost::SetTapeScale(double x, double y) {
    OType_ProjectProperties& properties = Session(m_doc).ProjectProperties();
    properties.scale[0] = x;
    properties.scale[1] = y;
}

// --- the extraction run's host ---

bool ODocRecomputeHost::bHasDeviceSession() const {
    return m_doc.opGetSession() != nullptr;
}
const ZRINFO& ODocRecomputeHost::GetDeviceInfo() const {
    return Session(m_doc).DeviceInfo();
}
OTargetSystem ODocRecomputeHost::GetTargetSystem() const {
    return Session(m_doc).GetTargetSystem();
}
const OType_ProjectProperties& ODocRecomputeHost::GetProjectProperties() const {
    return Session(m_doc).ProjectProperties();
}
int ODocRecomputeHost::iGetMaxPartsPerList() const {
    return Session(m_doc).iGetPartLimit();
}
// The raise the session holds stays; the option makes up the rest.
void ODocRecomputeHost::SetMaxPartsPerList(int maximum) {
    OQuillon& session = Session(m_doc);
    session.Options().partBufferSize += maximum - session.iGetPartLimit();
}
int ODocRecomputeHost::iGetPartLimitPolicy() const {
    return Session(m_doc).Options().partLimitPolicy;
}
UserInteraction& ODocRecomputeHost::GetUserInteraction() {
    return m_doc.UI();
}
OExtractor* ODocRecomputeHost::opEnsureContourView() {
    return m_doc.opEnsureExtractor();
}
OClassifier* ODocRecomputeHost::opEnsureTeachDataView() {
    return m_doc.opEnsureClassifier();
}
OType_ZRPartSetArray* ODocRecomputeHost::opGetPartSets() {
    return m_doc.opGetSession() ? &Session(m_doc).PartSets() : nullptr;
}
