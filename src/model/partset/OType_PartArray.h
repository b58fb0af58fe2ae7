// A list of parts (the teach or the test list of a part set) with a sort order.
//
// Parts keep the order in which they were added ("no sort" index); GetAt(i) walks the
// current sort order. Adding appends to both orders; UpdateSortOrder re-sorts. The device
// link fills a received-part array from its own thread, guarded by Synchronized_Lock.
#pragma once

#include <chrono>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "model/part/OType_Part.h"

// Every order is ascending and stable: parts with equal keys keep their adding order.
enum class PartSortType : int {
    RecordNo = 0,     // record number
    Type = 1,         // part type
    Orientation = 2,  // absolute orientation
    Result = 3,       // first result value (deviation)
    Feature = 4,      // value of the sort feature
    Comment = 5,      // comment text
};
inline constexpr int kNumPartSortTypes = 6;

class OType_PartArray {
  public:
    static constexpr uint32_t kMaxParts = 1u << 20;

    OType_PartArray() = default;
    OType_PartArray(const OType_PartArray& other) { CopyFrom(other); }
    OType_PartArray& operator=(const OType_PartArray& other);
    // Moves the parts and the sort order; the lock is not moved.
    OType_PartArray& operator=(OType_PartArray&& other) noexcept;
    ~OType_PartArray() = default;

    int iGetSize() const { return static_cast<int>(m_parts.size()); }
    bool bIsEmpty() const { return m_parts.empty(); }

    // Part at position i of the sort order / of the adding order; nullptr when out of range.
    OType_Part* GetAt(int i) const;
    OType_Part* GetAt_NoSort(int i) const;
    // Sort position of the part with adding index i; -1 when out of range.
    int iGetSortPos(int noSortIndex) const;
    // Sort position of a part of this list; -1 when it is not in it.
    int iGetSortPosOf(const OType_Part* part) const;

    // Appends a part; it goes to the end of the sort order until the next UpdateSortOrder.
    OType_Part* Add(std::unique_ptr<OType_Part> part);
    OType_Part* Add(const OType_Part& part) { return Add(std::make_unique<OType_Part>(part)); }
    // Removes (and deletes) the part at sort position i.
    void RemoveAt(int i);
    void RemoveAt_NoSort(int i);
    // Removes the part at adding index i and hands it to the caller.
    std::unique_ptr<OType_Part> DetachAt_NoSort(int i);
    void RemoveAll();

    PartSortType GetSortType() const { return m_sortType; }
    int iGetSortFeature() const { return m_sortFeature; }
    // Sets the sort type (and for Feature the feature index) and re-sorts.
    void SetSortType(PartSortType type, int sortFeature = 0);
    void UpdateSortOrder();

    // The lock taken by the device link and by the document while they move parts.
    bool Synchronized_Lock(std::chrono::milliseconds timeout);
    void Synchronized_Unlock();

    int iEncode(OByteStream& stream, uint32_t content = PartContent::kAll) const;
    // Appends the decoded parts to the list. Returns 0 on malformed input (the list is
    // then left empty).
    int iDecode(OByteStream& stream);

    uint64_t iGetObjectSize(uint32_t content = PartContent::kAll) const;

  private:
    void CopyFrom(const OType_PartArray& other);

    std::vector<std::unique_ptr<OType_Part>> m_parts;  // adding order
    std::vector<int> m_order;                          // sort position -> adding index
    PartSortType m_sortType = PartSortType::RecordNo;
    int m_sortFeature = 0;
    std::vector<uint8_t> m_trailer;  // unknown bytes of a newer encoding, written back unchanged
    std::timed_mutex m_lock;
};
