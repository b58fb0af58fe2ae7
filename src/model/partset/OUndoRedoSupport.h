// Undo history of one part set. Each editing operation stores the state after its change;
// undo restores the state before, redo the state after. The history starts from the state
// given to bStartUndoRedo (an empty part set starts it itself).
//
// Steps are deep copies of the part set without its history (camera images are shared
// between copies); the oldest steps are dropped when the history grows beyond its step
// count or memory budget.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class OType_ZRPartSet;

class OUndoRedoSupport {
  public:
    static constexpr size_t kDefaultMaxSteps = 50;
    static constexpr uint64_t kDefaultMaxBytes = uint64_t{768} << 20;

    OUndoRedoSupport();
    ~OUndoRedoSupport();
    OUndoRedoSupport(const OUndoRedoSupport&) = delete;
    OUndoRedoSupport& operator=(const OUndoRedoSupport&) = delete;

    // Stores the part set's current state as a new step; drops any redo steps.
    bool bStoreUndoData(const OType_ZRPartSet& partSet, std::string shortText, std::string longText,
                        int viewCommand);
    // Restores the state before the last step (after it, for redo). With restore = 0 only the
    // position in the history moves.
    bool bMakeUndo(OType_ZRPartSet& partSet, int restore = 1);
    bool bMakeRedo(OType_ZRPartSet& partSet, int restore = 1);
    bool bHasUndoData() const { return m_current > 0; }
    bool bHasRedoData() const { return m_current + 1 < m_steps.size(); }
    // Clears the history and starts it from the part set's current state.
    bool bStartUndoRedo(const OType_ZRPartSet& partSet);
    void Clear();

    // Texts and view command of the step that undo / redo would revert / repeat.
    const std::string& GetUndoShortText() const;
    const std::string& GetUndoLongText() const;
    int iGetUndoViewCommand() const;
    const std::string& GetRedoShortText() const;
    const std::string& GetRedoLongText() const;
    int iGetRedoViewCommand() const;

    size_t iGetNumSteps() const { return m_steps.size(); }
    void SetLimits(size_t maxSteps, uint64_t maxBytes);

  private:
    struct Step;
    void Trim();

    std::vector<std::unique_ptr<Step>> m_steps;
    size_t m_current = 0;
    size_t m_maxSteps = kDefaultMaxSteps;
    uint64_t m_maxBytes = kDefaultMaxBytes;
};
