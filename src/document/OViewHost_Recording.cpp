#include "document/OViewHost_Recording.h"

#include <algorithm>

namespace {

std::string Name(ViewKind kind) {
    return std::string(ViewTitle(kind));
}

}  // namespace

OViewHost_Recording::OViewHost_Recording() = default;

void OViewHost_Recording::Log(std::string call) {
    m_calls.push_back(std::move(call));
}

int OViewHost_Recording::iCallCount(const std::string& prefix) const {
    return static_cast<int>(
        std::count_if(m_calls.begin(), m_calls.end(),
                      [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

OViewHost_Recording::Frame* OViewHost_Recording::opFind(ViewKind kind) {
    for (Frame& f : m_frames) {
        if (f.kind == kind) return &f;
    }
    return nullptr;
}

const OViewHost_Recording::Frame* OViewHost_Recording::opFrame(ViewKind kind) const {
    return const_cast<OViewHost_Recording*>(this)->opFind(kind);
}

void OViewHost_Recording::SetCreatable(ViewKind kind, bool creatable) {
    if (creatable) {
        m_notCreatable.erase(kind);
    } else {
        m_notCreatable.insert(kind);
    }
}

void OViewHost_Recording::SetCreationFails(ViewKind kind, bool fails) {
    if (fails) {
        m_failing.insert(kind);
    } else {
        m_failing.erase(kind);
    }
}

void OViewHost_Recording::SetStoredPlacement(const std::string& windowKey, OFrameRect rect) {
    m_placements[windowKey] = rect;
}

void OViewHost_Recording::SetFrameRect(ViewKind kind, OFrameRect rect) {
    if (Frame* f = opFind(kind)) f->rect = rect;
}

void OViewHost_Recording::SetFrameMinimised(ViewKind kind, bool minimised) {
    if (Frame* f = opFind(kind)) f->minimised = minimised;
}

bool OViewHost_Recording::bCanCreateView(ViewKind kind) const {
    return m_notCreatable.count(kind) == 0;
}

bool OViewHost_Recording::bHasView(ViewKind kind) const {
    return opFrame(kind) != nullptr;
}

bool OViewHost_Recording::bCreateView(ViewKind kind, int templateId) {
    Log("create " + Name(kind) + " " + std::to_string(templateId));
    if (!bCanCreateView(kind) || m_failing.count(kind) || bHasView(kind)) return false;
    Frame frame;
    frame.kind = kind;
    frame.templateId = templateId;
    // New frames cascade like MDI children do.
    const int step = 24 * static_cast<int>(m_frames.size());
    frame.rect = {step, step, step + 640, step + 480};
    m_frames.push_back(frame);
    return true;
}

void OViewHost_Recording::DestroyView(ViewKind kind) {
    const auto it = std::find_if(m_frames.begin(), m_frames.end(),
                                 [&](const Frame& f) { return f.kind == kind; });
    if (it == m_frames.end()) return;
    Log("destroy " + Name(kind));
    m_frames.erase(it);
    if (m_active == kind) m_active.reset();
}

std::vector<ViewKind> OViewHost_Recording::Views() const {
    std::vector<ViewKind> kinds;
    for (const Frame& f : m_frames)
        kinds.push_back(f.kind);
    return kinds;
}

bool OViewHost_Recording::bIsFrameMinimised(ViewKind kind) const {
    const Frame* f = opFrame(kind);
    return f && f->minimised;
}

bool OViewHost_Recording::bIsFrameVisible(ViewKind kind) const {
    const Frame* f = opFrame(kind);
    return f && f->visible;
}

void OViewHost_Recording::RestoreFrame(ViewKind kind) {
    Log("restore " + Name(kind));
    if (Frame* f = opFind(kind)) f->minimised = false;
}

void OViewHost_Recording::ShowFrame(ViewKind kind, bool shown) {
    Log(std::string(shown ? "show " : "hide ") + Name(kind));
    if (Frame* f = opFind(kind)) f->visible = shown;
}

void OViewHost_Recording::ActivateFrame(ViewKind kind) {
    Log("activate " + Name(kind));
    Frame* f = opFind(kind);
    if (!f) return;
    f->visible = true;
    m_active = kind;
}

void OViewHost_Recording::RestoreFramePlacement(ViewKind kind, std::string_view windowKey) {
    Log("placement " + Name(kind) + " " + std::string(windowKey));
    const auto it = m_placements.find(std::string(windowKey));
    Frame* f = opFind(kind);
    if (f && it != m_placements.end()) f->rect = it->second;
}

OFrameRect OViewHost_Recording::FrameRect(ViewKind kind) const {
    const Frame* f = opFrame(kind);
    return f ? f->rect : OFrameRect{};
}

void OViewHost_Recording::MoveFrame(ViewKind kind, int left, int top) {
    Log("move " + Name(kind) + " " + std::to_string(left) + "," + std::to_string(top));
    Frame* f = opFind(kind);
    if (!f) return;
    const int w = f->rect.iWidth(), h = f->rect.iHeight();
    f->rect = {left, top, left + w, top + h};
}

void OViewHost_Recording::ReactivateLastFrame() {
    Log("reactivate last frame");
}

void OViewHost_Recording::UpdateView(ViewKind kind) {
    Log("update " + Name(kind));
    if (Frame* f = opFind(kind)) ++f->updates;
}

void OViewHost_Recording::UpdateAllViews() {
    ++m_updateAll;
    for (Frame& f : m_frames)
        ++f.updates;
}

void OViewHost_Recording::CommitPendingEdits(ViewKind kind) {
    Log("commit " + Name(kind));
}

void OViewHost_Recording::SetDocumentTitle(const std::string& title) {
    m_title = title;
    Log("title " + title);
}

void OViewHost_Recording::ShowWizardBar(bool shown) {
    m_wizardBar = shown;
    Log(shown ? "show wizard bar" : "hide wizard bar");
}

void OViewHost_Recording::UpdateWizardBar() {}

void OViewHost_Recording::ShowPartSetBar(const std::vector<std::string>& partSets, int actual) {
    m_hasPartSetBar = true;
    m_partSetBar = partSets;
    m_partSetBarSelection = actual;
    Log("part set bar " + std::to_string(partSets.size()));
}

void OViewHost_Recording::RemovePartSetBar() {
    if (m_hasPartSetBar) Log("remove part set bar");
    m_hasPartSetBar = false;
    m_partSetBar.clear();
    m_partSetBarSelection = -1;
}

void OViewHost_Recording::RepaintMainFrame() {}

void OViewHost_Recording::RecalcLayout() {}

void OViewHost_Recording::BringMainWindowToFront() {
    Log("main window to front");
}

void OViewHost_Recording::CancelActiveModalDialog() {
    Log("cancel modal dialog");
}

bool OViewHost_Recording::bPrintViews(const std::vector<ViewKind>& kinds, const std::string&) {
    std::string call = "print";
    bool any = false;
    for (ViewKind kind : kinds) {
        if (!opFrame(kind)) continue;
        call += " " + Name(kind);
        any = true;
    }
    Log(call);
    return any;
}

void OViewHost_Recording::RestoreFocus(int64_t window) {
    if (window != 0) Log("focus " + std::to_string(window));
}
