// Moving a tool within the tool list: its feature records move with it, so that every
// feature index of the part set still names the feature of the same tool.
#include <algorithm>
#include <set>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"

namespace {

// Maps a feature index of the old order to the new one, where the block [first, first + a)
// of the upper tool and [first + a, first + a + b) of the lower tool exchanged places.
int MovedIndex(int index, int first, int a, int b) {
    if (index < first || index >= first + a + b) return index;
    return index < first + a ? index + b : index - a;
}

template <class Range>
void RotateBlock(Range& range, int first, int a, int b) {
    auto begin = range.begin();
    const auto size = std::distance(begin, range.end());
    if (first + a + b > size) return;
    std::rotate(begin + first, begin + first + a, begin + first + a + b);
}

}  // namespace

std::vector<int> OType_ZRPartSet::GetAllReferencedFeatures(int position) const {
    std::set<int> features;
    std::vector<int> pending{position};
    std::set<int> visited;
    while (!pending.empty()) {
        const int pos = pending.back();
        pending.pop_back();
        const OType_ConfigTool* tool = m_tools.opGetAt(pos);
        if (!tool || !visited.insert(pos).second) continue;
        for (int f : tool->GetDirectReferencedFeatures(*this)) {
            features.insert(f);
            if (const OType_ConfigTool* owner = m_tools.opGetCFToolAtFeature(f, m_fixedFeatures))
                pending.push_back(m_tools.iGetPos(owner));
        }
    }
    return {features.begin(), features.end()};
}

bool OType_ZRPartSet::SwapCFTools_WithDependencies(int a, int b) {
    if (a > b) std::swap(a, b);
    if (a < 0 || b != a + 1 || b >= m_tools.iGetNum()) return false;
    const int first = m_tools.GetFeatureIndex_First(a, m_fixedFeatures);
    const int countA = m_tools.opGetAt(a)->iGetNumOfFeatures();
    const int countB = m_tools.opGetAt(b)->iGetNumOfFeatures();

    for (auto& type : m_subTypes) {
        OType_VectorArray_Array& arrays = type.Vectors();
        for (int o = 0; o < arrays.iGetNum(); ++o)
            RotateBlock(*arrays.opGetAt(o), first, countA, countB);
    }
    for (OType_PartArray* list : {&m_teach, &m_test}) {
        for (int i = 0; i < list->iGetSize(); ++i)
            RotateBlock(list->GetAt_NoSort(i)->Features(), first, countA, countB);
    }
    if (m_featureDisabled.size() < static_cast<size_t>(first + countA + countB)) {
        m_featureDisabled.resize(static_cast<size_t>(first + countA + countB), 0);
    }
    RotateBlock(m_featureDisabled, first, countA, countB);
    for (int r = 0; r < OType_DefaultReferenceFeatures::kCount; ++r) {
        const int f = m_defaultReferences.iGetAt(r);
        if (f >= 0) m_defaultReferences.SetAt(r, MovedIndex(f, first, countA, countB));
    }
    m_showFeature = MovedIndex(m_showFeature, first, countA, countB);
    m_tools.Swap(a, b);
    if (m_showTool == a || m_showTool == b) m_showTool = m_showTool == a ? b : a;
    return true;
}
