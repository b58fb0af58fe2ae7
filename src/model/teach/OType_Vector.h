// Stored Teach-Data: per part type (OType_ZRPartSet_SubType) and orientation one
// OType_VectorArray, holding one OType_Vector per feature with the class statistics,
// the decision range and the feature's options.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class OByteStream;

struct OType_Vector {
    int32_t featureType = 0;
    int32_t toolId = -1;
    std::string name;
    double minimum = 0.0;
    double mean = 0.0;
    double maximum = 0.0;
    double lowerBound = 0.0;  // decision range
    double upperBound = 0.0;
    uint32_t option = 0;  // see FeatureOption
    double factor = 1.0;
    // Validity state: 1 valid (family 1); family 2 stores 1/0 and keeps 11, 13, 15 as they are.
    uint8_t state = 1;
    bool textFeature = false;
    std::string classText;  // family 2 text features: the common text, "*" when parts differ

    bool operator==(const OType_Vector&) const = default;
    int iEncode(OByteStream& stream) const;
    // Returns 0 on malformed input and leaves the vector in its default state.
    int iDecode(OByteStream& stream);

    std::vector<uint8_t> trailer;
};

class OType_VectorArray {
  public:
    static constexpr uint32_t kMaxVectors = 4096;

    int iGetNumOfVectors() const { return static_cast<int>(m_vectors.size()); }
    bool bIsValidIndex(int i) const { return i >= 0 && i < iGetNumOfVectors(); }
    OType_Vector* opGetAt(int i) {
        return bIsValidIndex(i) ? &m_vectors[static_cast<size_t>(i)] : nullptr;
    }
    const OType_Vector* opGetAt(int i) const {
        return bIsValidIndex(i) ? &m_vectors[static_cast<size_t>(i)] : nullptr;
    }
    OType_Vector& At(int i) { return m_vectors.at(static_cast<size_t>(i)); }
    const OType_Vector& At(int i) const { return m_vectors.at(static_cast<size_t>(i)); }
    void Add(OType_Vector v) { m_vectors.push_back(std::move(v)); }
    void InsertAt(int i, OType_Vector v);
    void RemoveAt(int i);
    void RemoveAll() { m_vectors.clear(); }

    // Number of sample parts the class statistics rest on.
    int iGetPartCount() const { return m_partCount; }
    void SetPartCount(int n) { m_partCount = n; }

    std::vector<OType_Vector>::iterator begin() { return m_vectors.begin(); }
    std::vector<OType_Vector>::iterator end() { return m_vectors.end(); }
    std::vector<OType_Vector>::const_iterator begin() const { return m_vectors.begin(); }
    std::vector<OType_Vector>::const_iterator end() const { return m_vectors.end(); }

    bool operator==(const OType_VectorArray&) const = default;
    int iEncode(OByteStream& stream) const;
    int iDecode(OByteStream& stream);

  private:
    std::vector<OType_Vector> m_vectors;
    int m_partCount = 0;
    std::vector<uint8_t> m_trailer;
};

// The vector arrays of one part type, one per orientation.
class OType_VectorArray_Array {
  public:
    static constexpr uint32_t kMaxArrays = 64;

    int iGetNum() const { return static_cast<int>(m_arrays.size()); }
    bool bIsValidIndex(int i) const { return i >= 0 && i < iGetNum(); }
    OType_VectorArray* opGetAt(int i) {
        return bIsValidIndex(i) ? &m_arrays[static_cast<size_t>(i)] : nullptr;
    }
    const OType_VectorArray* opGetAt(int i) const {
        return bIsValidIndex(i) ? &m_arrays[static_cast<size_t>(i)] : nullptr;
    }
    OType_VectorArray& Add() { return m_arrays.emplace_back(); }
    void Resize(int n) { m_arrays.resize(static_cast<size_t>(n < 0 ? 0 : n)); }
    void RemoveAt(int i);
    void RemoveAll() { m_arrays.clear(); }

    bool operator==(const OType_VectorArray_Array&) const = default;
    int iEncode(OByteStream& stream) const;
    int iDecode(OByteStream& stream);

  private:
    std::vector<OType_VectorArray> m_arrays;
    std::vector<uint8_t> m_trailer;
};
