#include "model/partset/OUndoRedoSupport.h"

#include "model/partset/OType_ZRPartSet.h"

struct OUndoRedoSupport::Step {
    std::unique_ptr<OType_ZRPartSet> state;
    std::string shortText;
    std::string longText;
    int viewCommand = 0;
    uint64_t bytes = 0;
};

namespace {
const std::string kNoText;
}

OUndoRedoSupport::OUndoRedoSupport() = default;
OUndoRedoSupport::~OUndoRedoSupport() = default;

void OUndoRedoSupport::Clear() {
    m_steps.clear();
    m_current = 0;
}

void OUndoRedoSupport::SetLimits(size_t maxSteps, uint64_t maxBytes) {
    m_maxSteps = maxSteps < 2 ? 2 : maxSteps;
    m_maxBytes = maxBytes;
    Trim();
}

bool OUndoRedoSupport::bStartUndoRedo(const OType_ZRPartSet& partSet) {
    Clear();
    return bStoreUndoData(partSet, {}, {}, 0);
}

bool OUndoRedoSupport::bStoreUndoData(const OType_ZRPartSet& partSet, std::string shortText,
                                      std::string longText, int viewCommand) {
    auto step = std::make_unique<Step>();
    step->state.reset(new OType_ZRPartSet(OType_ZRPartSet::NoHistory{}));
    step->state->CopyContentFrom(partSet);
    // Camera images are shared with the live part set and cost nothing here.
    step->bytes = partSet.iGetObjectSize(1, 0);
    step->shortText = std::move(shortText);
    step->longText = std::move(longText);
    step->viewCommand = viewCommand;
    if (!m_steps.empty()) m_steps.resize(m_current + 1);  // a new change drops the redo steps
    m_steps.push_back(std::move(step));
    m_current = m_steps.size() - 1;
    Trim();
    return true;
}

void OUndoRedoSupport::Trim() {
    auto total = [this] {
        uint64_t sum = 0;
        for (const auto& s : m_steps)
            sum += s->bytes;
        return sum;
    };
    // Drop the oldest steps, never the current one.
    while (m_current > 0 && (m_steps.size() > m_maxSteps || total() > m_maxBytes)) {
        m_steps.erase(m_steps.begin());
        --m_current;
    }
}

bool OUndoRedoSupport::bMakeUndo(OType_ZRPartSet& partSet, int restore) {
    if (!bHasUndoData()) return false;
    --m_current;
    if (restore) partSet.CopyContentFrom(*m_steps[m_current]->state);
    return true;
}

bool OUndoRedoSupport::bMakeRedo(OType_ZRPartSet& partSet, int restore) {
    if (!bHasRedoData()) return false;
    ++m_current;
    if (restore) partSet.CopyContentFrom(*m_steps[m_current]->state);
    return true;
}

const std::string& OUndoRedoSupport::GetUndoShortText() const {
    return bHasUndoData() ? m_steps[m_current]->shortText : kNoText;
}
const std::string& OUndoRedoSupport::GetUndoLongText() const {
    return bHasUndoData() ? m_steps[m_current]->longText : kNoText;
}
int OUndoRedoSupport::iGetUndoViewCommand() const {
    return bHasUndoData() ? m_steps[m_current]->viewCommand : 0;
}
const std::string& OUndoRedoSupport::GetRedoShortText() const {
    return bHasRedoData() ? m_steps[m_current + 1]->shortText : kNoText;
}
const std::string& OUndoRedoSupport::GetRedoLongText() const {
    return bHasRedoData() ? m_steps[m_current + 1]->longText : kNoText;
}
int OUndoRedoSupport::iGetRedoViewCommand() const {
    return bHasRedoData() ? m_steps[m_current + 1]->viewCommand : 0;
}
