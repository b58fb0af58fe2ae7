// The code readers: data-matrix reader / checker (kind 106) and bar-code reader (kind 111).
// The region is searched for one symbol (OKvtCodeReader, zxing-cpp); its text is the tool's
// text feature, and where it lies, how it is turned, its size and its symbol contrast are
// numbers. The checker's quality feature is 1 when the code was read with at least the least
// symbol contrast asked for.
#pragma once

#include "tools/kvt/OKvtCodeReader.h"
#include "tools/kvt/OKvtRecognizer.h"

class OKvtCodeReading : public OKvtRecognizer {
  public:
    // matrix: the data-matrix reader (106); else the bar-code reader (111).
    explicit OKvtCodeReading(bool matrix);
    std::unique_ptr<OKvtRecognizer> Clone() const override;
    std::string KindName() const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;

    void Describe(OPropertyList& list) const override;
    void Apply(const OPropertyValues& values) override;
    void Encode(OByteStream& stream) const override;
    bool bDecode(OBlockFieldReader& reader) override;

    void Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;

  private:
    bool m_matrix;
    KvtCode::Symbology m_symbology;
    bool m_tryHarder = true;
    int m_minContrast = 40;  // percent; the checker's quality threshold
};
