// A ViewHost without windows: frames are records with a rectangle and visibility, bars are
// flags, and every call is written to a log. Used by headless programs and by tests, which
// can make frame creation fail, move frames and look at what the document asked for.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "document/ViewHost.h"

class OViewHost_Recording : public ViewHost {
  public:
    struct Frame {
        ViewKind kind = ViewKind::PartList;
        int templateId = 0;
        OFrameRect rect;
        bool visible = true;
        bool minimised = false;
        int updates = 0;
    };

    OViewHost_Recording();

    // --- set-up by tests ---
    void SetCreatable(ViewKind kind, bool creatable);
    // Creation of this kind fails (no frame) while set.
    void SetCreationFails(ViewKind kind, bool fails);
    // The placement applied when a frame's placement is restored from this key.
    void SetStoredPlacement(const std::string& windowKey, OFrameRect rect);
    void SetMainClientRect(OFrameRect rect) { m_client = rect; }
    void SetFrameRect(ViewKind kind, OFrameRect rect);
    void SetFrameMinimised(ViewKind kind, bool minimised);
    void SetFocusedWindow(int64_t window) { m_focus = window; }

    // --- what the document did ---
    const std::vector<std::string>& Calls() const { return m_calls; }
    // Calls whose text starts with prefix.
    int iCallCount(const std::string& prefix) const;
    void ClearCalls() { m_calls.clear(); }
    const Frame* opFrame(ViewKind kind) const;
    const std::string& DocumentTitle() const { return m_title; }
    const std::vector<std::string>& PartSetBarEntries() const { return m_partSetBar; }
    int iPartSetBarSelection() const { return m_partSetBarSelection; }
    int iUpdateAllCount() const { return m_updateAll; }
    // The frame activated last, while it exists.
    std::optional<ViewKind> ActiveFrame() const { return m_active; }

    // --- ViewHost ---
    bool bCanCreateView(ViewKind kind) const override;
    bool bHasView(ViewKind kind) const override;
    bool bCreateView(ViewKind kind, int templateId) override;
    void DestroyView(ViewKind kind) override;
    std::vector<ViewKind> Views() const override;
    bool bIsFrameMinimised(ViewKind kind) const override;
    bool bIsFrameVisible(ViewKind kind) const override;
    void RestoreFrame(ViewKind kind) override;
    void ShowFrame(ViewKind kind, bool shown) override;
    void ActivateFrame(ViewKind kind) override;
    void RestoreFramePlacement(ViewKind kind, std::string_view windowKey) override;
    OFrameRect FrameRect(ViewKind kind) const override;
    void MoveFrame(ViewKind kind, int left, int top) override;
    OFrameRect MainClientRect() const override { return m_client; }
    void ReactivateLastFrame() override;
    void UpdateView(ViewKind kind) override;
    void UpdateAllViews() override;
    void CommitPendingEdits(ViewKind kind) override;
    void SetDocumentTitle(const std::string& title) override;
    bool bHasWizardBar() const override { return m_wizardBar; }
    void ShowWizardBar(bool shown) override;
    void UpdateWizardBar() override;
    bool bHasPartSetBar() const override { return m_hasPartSetBar; }
    void ShowPartSetBar(const std::vector<std::string>& partSets, int actual) override;
    void RemovePartSetBar() override;
    void RepaintMainFrame() override;
    void RecalcLayout() override;
    void BringMainWindowToFront() override;
    void CancelActiveModalDialog() override;
    bool bPrintViews(const std::vector<ViewKind>& kinds, const std::string& title) override;
    int64_t FocusedWindow() const override { return m_focus; }
    void RestoreFocus(int64_t window) override;

  private:
    Frame* opFind(ViewKind kind);
    void Log(std::string call);

    std::vector<Frame> m_frames;  // creation order
    std::set<ViewKind> m_notCreatable;
    std::set<ViewKind> m_failing;
    std::map<std::string, OFrameRect> m_placements;
    OFrameRect m_client{0, 0, 1200, 800};
    std::vector<std::string> m_calls;
    std::string m_title;
    bool m_wizardBar = false;
    bool m_hasPartSetBar = false;
    std::vector<std::string> m_partSetBar;
    int m_partSetBarSelection = -1;
    int m_updateAll = 0;
    int64_t m_focus = 0;
    std::optional<ViewKind> m_active;
};
