// The part sets (check programs) of a project; one of them is the actual part set.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "model/partset/OType_ZRPartSet.h"

class OType_ZRPartSetArray {
  public:
    static constexpr uint32_t kMaxPartSets = 1024;
    // Prepares a new part set (context, registered kinds) before it is filled.
    using Preparer = std::function<void(OType_ZRPartSet&)>;

    int iGetNum() const { return static_cast<int>(m_partSets.size()); }
    OType_ZRPartSet* opGetPartSet(int i) const;
    OType_ZRPartSet* opGetActualPartSet() const { return opGetPartSet(m_actual); }
    int iGetActualPartSetNo() const { return m_actual; }
    // Clamps to the existing part sets and returns the number (-1 when there are none).
    int iSetActualPartSetNo(int n);
    int iGetPos(const OType_ZRPartSet* partSet) const;

    // Appends a part set with the given context and `partTypes` part types.
    OType_ZRPartSet* opAddPartSet(const ZRINFO* deviceInfo,
                                  OCoordTrans_Tsai_Transformer* coordTrans, OProgressCtrl* progress,
                                  int partTypes);
    void RemoveAt(int i);
    void RemoveAll();
    // Exchanges the places of two part sets; the actual one stays the actual one. False when
    // either index is out of range.
    bool bSwap(int a, int b);

    int iEncode(OByteStream& stream, int withParts = 1, int withImages = 1) const;
    // Replaces the content; `prepare` is called for each new part set before it is decoded.
    // Returns 0 on malformed input and leaves the array empty.
    int iDecode(OByteStream& stream, const Preparer& prepare,
                OType_ZRPartSet::DecodeHistory history = OType_ZRPartSet::DecodeHistory::Restart);
    uint64_t iGetObjectSize(int withParts = 1, int withImages = 1) const;

  private:
    std::vector<std::unique_ptr<OType_ZRPartSet>> m_partSets;
    int m_actual = -1;
    std::vector<uint8_t> m_trailer;  // unknown bytes of a newer encoding, written back unchanged
};
