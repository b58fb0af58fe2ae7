#include "document/ODoc.h"

#include <cstdlib>

#include "device/TargetSystemSettings.h"
#include "document/DocumentTexts.h"
#include "document/files/OProjectExchange.h"
#include "extraction/OExtractionRun.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OWaitCursor.h"
#include "platform/Settings.h"
#include "platform/UserInteraction.h"

namespace {

constexpr const char* kSection = "Settings";

// The start folder of file dialogs until one has been used: the user's home folder.
std::string DefaultLastFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : ".";
}

}  // namespace

ODoc::ODoc(ODocServices services) : m_services(std::move(services)) {
    m_lastFolder = m_services.settings.GetText(kSection, "PATH", DefaultLastFolder());
    m_session = std::make_unique<OQuillon>(m_services.settings, m_services.ui, this, 1);
    m_session->ReadTargetValues(TargetSystem::kDocumentStartDefaults);
    m_exchange = std::make_unique<OProjectExchange>(*this);
}

ODoc::~ODoc() {
    m_exchange.reset();
    m_engines = {};
    if (m_session) m_session->ResetSession();
    m_session.reset();
}

bool ODoc::bHasProject() const {
    return m_session && m_session->opGetActualPartSet();
}

void ODoc::EnsureEngines() {
    const int family = iGetFamily();
    if (m_engineFamily == family) return;
    OEngineHosts hosts = m_services.engineHosts;
    if (!hosts.classifier) hosts.classifier = &m_classifierHost;
    if (!hosts.extractor) hosts.extractor = &m_extractorHost;
    m_engines = CreateFamilyEngines(family, hosts);
    m_engineFamily = family;
    if (m_engines.extractor) m_engines.extractor->ResetView();
}

OExtractor* ODoc::opEnsureExtractor() {
    EnsureEngines();
    return m_engines.extractor.get();
}

OClassifier* ODoc::opEnsureClassifier() {
    EnsureEngines();
    return m_engines.classifier.get();
}

void ODoc::RepaintMainFrame() {
    m_services.views.RepaintMainFrame();
}

// --- title and modified flag ---

void ODoc::SetTitle(std::string title) {
    if (m_modified && (title.empty() || title.back() != '*')) title += '*';
    m_title = std::move(title);
    m_services.views.SetDocumentTitle(m_title);
}

void ODoc::SetModifiedFlag(int flag) {
    std::string title = m_title;
    const bool marked = !title.empty() && title.back() == '*';
    if (flag && !marked) title += '*';
    if (!flag && marked) title.pop_back();
    if (title != m_title) {
        m_title = title;
        m_services.views.SetDocumentTitle(m_title);
        bool anyVisible = false;
        for (ViewKind kind : m_services.views.Views())
            anyVisible = anyVisible || m_services.views.bIsFrameVisible(kind);
        if (!anyVisible) m_services.views.ReactivateLastFrame();
    }
    m_modified = flag != 0;
}

// --- refresh, part-set bar, child frames ---

void ODoc::RefreshViews(const void* /*sender*/, int /*hint*/, const void* /*object*/) {
    ViewHost& views = m_services.views;
    const int64_t focus = views.FocusedWindow();
    views.UpdateAllViews();
    if (m_session && m_session->PartSets().iGetNum() > 1 &&
        !m_session->ProjectProperties().useMultiplePartSets) {
        m_session->ProjectProperties().useMultiplePartSets = 1;
        RefreshPartSetBar(0);
    }
    views.UpdateWizardBar();
    if (m_session) {
        const auto panes = m_session->LinkPaneTexts();
        views.SetLinkPaneTexts(panes[0], panes[1]);
    }
    views.RestoreFocus(focus);
}

void ODoc::RefreshPartSetBar(int resendPaint) {
    if (!m_session) return;
    OType_ZRPartSetArray& sets = m_session->PartSets();
    OType_ProjectProperties& properties = m_session->ProjectProperties();
    if (sets.iGetNum() > 1) properties.useMultiplePartSets = 1;
    if (properties.useMultiplePartSets) {
        std::vector<std::string> names;
        for (int i = 0; i < sets.iGetNum(); ++i) {
            std::string name = sets.opGetPartSet(i)->GetName();
            for (char& c : name) {
                if (c == '\r' || c == '\n') c = ' ';
            }
            names.push_back(std::to_string(i + 1) + ". " + name);
        }
        m_services.views.ShowPartSetBar(names, sets.iGetActualPartSetNo());
    } else {
        m_services.views.RemovePartSetBar();
    }
    if (resendPaint) m_services.views.RepaintMainFrame();
}

void ODoc::HideChildFrames(std::optional<ViewKind> except) {
    ViewHost& views = m_services.views;
    if (views.bHasWizardBar()) views.ShowWizardBar(false);
    for (ViewKind kind : views.Views()) {
        if (!except || kind != *except) views.ShowFrame(kind, false);
    }
}

void ODoc::ShowChildFrames() {
    ViewHost& views = m_services.views;
    if (m_services.settings.iGetInt(kSection, "SHOW_WIZARD_BAR", 1)) views.ShowWizardBar(true);
    const bool quality = m_session && m_session->ProjectProperties().useQuality == 1;
    const std::vector<ViewKind> kinds = views.Views();
    for (ViewKind kind : kinds) {
        const bool qualityOnly = kind == ViewKind::TeachData || kind == ViewKind::DataOutput;
        views.ShowFrame(kind, !qualityOnly || quality);
    }
    if (!kinds.empty() && views.bIsFrameVisible(kinds.front())) views.ActivateFrame(kinds.front());
    RefreshViews();
}

void ODoc::CloseCommunicationManager() {
    if (!m_keepCommunicationManager) m_services.views.DestroyView(ViewKind::CommunicationManager);
}

void ODoc::ExecuteFromCommunicationManager(int commandId) {
    const bool saved = m_keepCommunicationManager;
    m_keepCommunicationManager = true;
    OnCommand(commandId, 0);
    m_keepCommunicationManager = saved;
}

bool ODoc::ShowView(ViewKind kind) {
    ViewHost& views = m_services.views;
    const std::string_view key = WindowKey(kind);
    if (views.bHasView(kind)) {
        if (views.bIsFrameMinimised(kind)) {
            views.RestoreFramePlacement(kind, key);
            views.RestoreFrame(kind);
        }
        views.ActivateFrame(kind);
    } else {
        // A view this program has no window for is not opened (its command is disabled).
        if (!views.bCanCreateView(kind)) return false;
        if (!views.bCreateView(kind, TemplateId(kind, iGetFamily()))) {
            m_services.ui.Message(DocumentText::kCannotCreateFrame, MsgIcon::Error);
            return false;
        }
        views.RestoreFramePlacement(kind, key);
        views.ActivateFrame(kind);
    }
    const OFrameRect client = views.MainClientRect();
    if (!views.FrameRect(kind).bIntersects(client))
        views.MoveFrame(kind, client.left + 5, client.top + 5);
    views.UpdateView(kind);
    return true;
}

// --- recompute ---

int ODoc::Recompute(OType_ZRPartSet* partSet, int toolsChanged, int testOnly, int resortTeach,
                    int resortTest, int option) {
    if (!partSet || !m_session) return 0;
    EnsureEngines();
    OBusyScope busy(*this);
    return OExtractionRun(m_recomputeHost)
        .Recompute(partSet, toolsChanged, testOnly, resortTeach, resortTest, option);
}

void ODoc::RecomputeAll(int toolsChanged, int testOnly, int resortTeach, int resortTest,
                        int option) {
    if (!m_session) return;
    EnsureEngines();
    OBusyScope busy(*this);
    OExtractionRun(m_recomputeHost)
        .RecomputeAll(toolsChanged, testOnly, resortTeach, resortTest, option);
}

// --- undo ---

bool ODoc::bStoreUndoStep(OType_ZRPartSet& partSet, std::string_view description, int viewCommand) {
    std::string shortText = std::string(DocumentText::kUndoPrefix) + std::string(description);
    std::string longText = shortText + DocumentText::kUndoLongSuffix;
    return partSet.UndoRedo().bStoreUndoData(partSet, std::move(shortText), std::move(longText),
                                             viewCommand);
}

void ODoc::OnUndo() {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set || !set->UndoRedo().bHasUndoData()) return;
    RefreshViews();
    set->UndoRedo().bMakeUndo(*set, 1);
    Recompute(set, 1, 0, 1, 1, 0);
    RefreshViews();
    RefreshPartSetBar(1);
}

void ODoc::OnRedo() {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set || !set->UndoRedo().bHasRedoData()) return;
    RefreshViews();
    set->UndoRedo().bMakeRedo(*set, 1);
    Recompute(set, 1, 0, 1, 1, 0);
    RefreshPartSetBar(1);
    RefreshViews();
}

// --- show operations ---

int ODoc::SelectFeature(int index, int refresh) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return -1;
    const int result = set->iShowFeatureNo(index);
    if (refresh) RefreshViews();
    return result;
}

void ODoc::SelectNextFeature(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        SelectFeature(set->iShowFeatureGetNo() + 1, refresh);
}

void ODoc::SelectPrevFeature(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        SelectFeature(set->iShowFeatureGetNo() - 1, refresh);
}

int ODoc::ShowTeachPart(int number, int mode, int refresh) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return -1;
    const int result = set->iShowTeachPartNo(number, mode);
    if (refresh) RefreshViews();
    return result;
}

void ODoc::ShowNextTeachPart(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowTeachPart(set->iShowTeachPartGetNo() + 1, 0, refresh);
}

void ODoc::ShowPrevTeachPart(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowTeachPart(set->iShowTeachPartGetNo() - 1, 0, refresh);
}

int ODoc::ShowTestPart(int number, int mode, int refresh) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return -1;
    const int result = set->iShowTestPartNo(number, mode);
    if (refresh) RefreshViews();
    return result;
}

void ODoc::ShowNextTestPart(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowTestPart(set->iShowTestPartGetNo() + 1, 0, refresh);
}

void ODoc::ShowPrevTestPart(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowTestPart(set->iShowTestPartGetNo() - 1, 0, refresh);
}

int ODoc::ShowVector(int number, int refresh) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return -1;
    const int result = set->iShowVectorNo(number);
    if (refresh) RefreshViews();
    return result;
}

void ODoc::ShowNextVector(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowVector(set->iShowVectorGetNo() + 1, refresh);
}

void ODoc::ShowPrevVector(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowVector(set->iShowVectorGetNo() - 1, refresh);
}

int ODoc::ShowDataOutput(int number, int refresh) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return -1;
    const int result = set->iShowDataOutputNo(number);
    if (refresh) RefreshViews();
    return result;
}

void ODoc::ShowNextDataOutput(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowDataOutput(set->iShowDataOutputGetNo() + 1, refresh);
}

void ODoc::ShowPrevDataOutput(int refresh) {
    if (OType_ZRPartSet* set = opGetActualPartSet())
        ShowDataOutput(set->iShowDataOutputGetNo() - 1, refresh);
}

int ODoc::ShowTeachOrTestList(int teach, int refresh) {
    OType_ZRPartSet* set = opGetActualPartSet();
    if (!set) return -1;
    const int result = set->iShowSetTeachTest(teach);
    if (refresh) RefreshViews();
    return result;
}

// --- accessors ---

OType_ZRPartSet* ODoc::opGetActualPartSet() const {
    return m_session ? m_session->opGetActualPartSet() : nullptr;
}

OType_ZRPartSet* ODoc::opGetPartSet(int n) const {
    return m_session ? m_session->opGetPartSet(n) : nullptr;
}

OType_ZRPartSet_SubType* ODoc::opGetActualPartType() const {
    OType_ZRPartSet* set = opGetActualPartSet();
    return set ? set->opGetShowSubType() : nullptr;
}

OType_ZRPartSet_SubType* ODoc::opGetPartType(int n) const {
    OType_ZRPartSet* set = opGetActualPartSet();
    return set ? set->opGetSubType(n) : nullptr;
}

OType_Part* ODoc::opGetShowPart() const {
    OType_ZRPartSet* set = opGetActualPartSet();
    return set ? set->opGetShowPart() : nullptr;
}

OType_ConfigTool* ODoc::opGetToolOfFeature(int feature) const {
    OType_ZRPartSet* set = opGetActualPartSet();
    return set ? set->Tools().opGetCFToolAtFeature(feature, set->iGetFixedFeatures()) : nullptr;
}

OType_ConfigTool* ODoc::opGetToolOfShownFeature() const {
    OType_ZRPartSet* set = opGetActualPartSet();
    return set ? set->opShowFeatureGetConfigTool() : nullptr;
}

OType_ProjectProperties* ODoc::opGetProjectProperties() const {
    return m_session ? &m_session->ProjectProperties() : nullptr;
}
