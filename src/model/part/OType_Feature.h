// One extracted feature of a part, and the feature array of a part.
//
// Family 1 arrays hold the 12 basic contour features at indices 0..11 and the feature of
// tool k at 12 + k; family 2 arrays hold tool features only.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class OByteStream;

// The option word of a feature (and of a teach-data vector). Its low three bits are the
// option value; further numbered options are single bits.
namespace FeatureOption {
inline constexpr uint32_t kValueMask = 7;  // 0 normal, 1 excluded, 2 fixed with lock, 3 fixed
inline constexpr uint32_t kNormal = 0;
inline constexpr uint32_t kExcluded = 1;
inline constexpr uint32_t kFixedLocked = 2;
inline constexpr uint32_t kFixed = 3;
// Bit 3 (value 8): a basic feature whose stored value is kept; on teach parts of the
// accuracy evaluation it marks artificial parts.
inline constexpr int kKeepValueBit = 3;
inline constexpr uint32_t kKeepValue = 1u << kKeepValueBit;
// Option 7: the feature takes no part in the quality decision.
inline constexpr int kNotForQuality = 7;

inline uint32_t Value(uint32_t word) {
    return word & kValueMask;
}
inline uint32_t WithValue(uint32_t word, uint32_t value) {
    return (word & ~kValueMask) | (value & kValueMask);
}
inline bool bGet(uint32_t word, int option) {
    return option >= 0 && option < 32 && (word >> option) & 1u;
}
inline uint32_t Set(uint32_t word, int option, bool on) {
    if (option < 0 || option >= 32) return word;
    return on ? word | (1u << option) : word & ~(1u << option);
}
}  // namespace FeatureOption

// How a feature's value is delivered.
enum class FeatureValueType : int32_t { Numeric = 0, Text = 1 };

struct OType_Feature {
    int32_t type = 0;     // feature type id (name-table number)
    int32_t toolId = -1;  // id of the owning tool in the part set; -1 for basic features
    double value = 0.0;
    bool valid = true;
    FeatureValueType valueType = FeatureValueType::Numeric;
    std::string textValue;
    std::string name;
    double deviation = 0.0;         // percent, from the classifier
    uint32_t option = 0;            // see FeatureOption
    double factor = 1.0;            // tolerance-width factor
    double alternativeValue = 0.0;  // the value after coordinate transformation
    bool modified = true;

    bool bIsText() const { return valueType == FeatureValueType::Text; }
    bool operator==(const OType_Feature&) const = default;

    int iEncode(OByteStream& stream) const;
    // Returns 0 on malformed input and leaves the feature in its default state.
    int iDecode(OByteStream& stream);

    std::vector<uint8_t> trailer;  // unknown bytes of a newer encoding, written back unchanged
};

// Copies of an array share their entries until one of them is changed, so that undo steps
// and other copies of a part set do not copy every part's features. Every non-const member
// first takes a private copy of shared entries; a reference or iterator obtained from one
// array must not be used for writing after that array was copied.
class OType_FeatureArray {
  public:
    static constexpr uint32_t kMaxFeatures = 4096;

    int iGetNumOfFeatures() const { return static_cast<int>(View().size()); }
    bool bIsEmpty() const { return View().empty(); }
    bool bIsValidIndex(int i) const { return i >= 0 && i < iGetNumOfFeatures(); }

    OType_Feature& At(int i) { return Own().at(static_cast<size_t>(i)); }
    const OType_Feature& At(int i) const { return View().at(static_cast<size_t>(i)); }
    OType_Feature* opGetAt(int i) {
        return bIsValidIndex(i) ? &Own()[static_cast<size_t>(i)] : nullptr;
    }
    const OType_Feature* opGetAt(int i) const {
        return bIsValidIndex(i) ? &View()[static_cast<size_t>(i)] : nullptr;
    }

    // Value, name and type of entry i; 0, "" and -1 when i is out of range.
    double dGetFeatureValueAt(int i) const;
    const std::string& oGetFeatureNameAt(int i) const;
    int GetFeatureTypeAt(int i) const;

    void Add(OType_Feature feature) { Own().push_back(std::move(feature)); }
    // Inserts before index i (clamped to the end).
    void InsertAt(int i, OType_Feature feature);
    void RemoveAt(int i);
    // Removes every entry from index i on.
    void RemoveFrom(int i);
    void RemoveAll() { m_features.reset(); }
    void Resize(int count);

    bool bGetModified() const { return m_modified; }
    void SetModified(bool modified) { m_modified = modified; }

    std::vector<OType_Feature>::iterator begin() { return Own().begin(); }
    std::vector<OType_Feature>::iterator end() { return Own().end(); }
    std::vector<OType_Feature>::const_iterator begin() const { return View().begin(); }
    std::vector<OType_Feature>::const_iterator end() const { return View().end(); }

    int iEncode(OByteStream& stream) const;
    // Returns 0 on malformed input and leaves the array empty.
    int iDecode(OByteStream& stream);

    bool operator==(const OType_FeatureArray& other) const;
    // True when both arrays use the same entries (a copy not changed since).
    bool bSharesEntriesWith(const OType_FeatureArray& other) const {
        return m_features && m_features == other.m_features;
    }

  private:
    using Entries = std::vector<OType_Feature>;
    const Entries& View() const;
    Entries& Own();

    std::shared_ptr<Entries> m_features;
    // A new array counts as modified so that its basic features are computed.
    bool m_modified = true;
    std::vector<uint8_t> m_trailer;
};
