// A part type of a part set (a "sub type"): its name, tolerance, orientations, counter and
// the stored Teach-Data of each orientation.
#pragma once

#include <cstdint>
#include <string>

#include "model/teach/OType_Vector.h"

class OType_ZRPartSet_SubType {
  public:
    static constexpr int kMaxTolerance = 20;
    static constexpr int kDefaultTolerance = 5;

    const std::string& GetName() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // Tolerance in percent of the class mean, 0..20.
    int iGetTolerance() const { return m_tolerance; }
    void SetTolerance(int percent);
    int iGetNumOrientations() const { return m_orientations; }
    void SetNumOrientations(int n) { m_orientations = n < 0 ? 0 : n; }
    int iGetNumFeatures() const { return m_features; }
    void SetNumFeatures(int n) { m_features = n < 0 ? 0 : n; }
    bool bHasData() const { return m_hasData; }
    void SetHasData(bool hasData) { m_hasData = hasData; }
    uint32_t iGetCounterTarget() const { return m_counterTarget; }
    void SetCounterTarget(uint32_t target) { m_counterTarget = target; }
    // 0xFFFF when the counter ignores the orientation, else 0.
    uint32_t iGetCounterFlag() const { return m_counterFlag; }
    void SetCounterFlag(uint32_t flag) { m_counterFlag = flag; }

    OType_VectorArray_Array& Vectors() { return m_vectors; }
    const OType_VectorArray_Array& Vectors() const { return m_vectors; }
    // Vector array of orientation index i (0-based); nullptr when missing.
    OType_VectorArray* opGetVectorArray(int i) { return m_vectors.opGetAt(i); }
    const OType_VectorArray* opGetVectorArray(int i) const { return m_vectors.opGetAt(i); }

    // Clears the type: no orientations, no data, counts and statistics zero.
    void Clear();

    bool operator==(const OType_ZRPartSet_SubType&) const = default;
    int iEncode(OByteStream& stream) const;
    int iDecode(OByteStream& stream);

  private:
    std::string m_name;
    int m_tolerance = kDefaultTolerance;
    int m_orientations = 1;
    int m_features = 0;
    bool m_hasData = false;
    uint32_t m_counterTarget = 1;
    uint32_t m_counterFlag = 0;
    OType_VectorArray_Array m_vectors;
    std::vector<uint8_t> m_trailer;
};
