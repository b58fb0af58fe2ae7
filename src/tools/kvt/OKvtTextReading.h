// Text recognition (kind 112): the text in the region, read with Tesseract (OKvtTextReader)
// and restricted to the characters allowed; a reading whose confidence stays below the
// least confidence asked for counts as not read.
#pragma once

#include <mutex>

#include "tools/kvt/OKvtRecognizer.h"
#include "tools/kvt/OKvtTextReader.h"

class OKvtTextReading : public OKvtRecognizer {
  public:
    static constexpr const char* kDefaultAllowed = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-./: ";

    OKvtTextReading() = default;
    // A copy has its settings; it loads its own recognition model when it first reads.
    OKvtTextReading(const OKvtTextReading& other);
    std::unique_ptr<OKvtRecognizer> Clone() const override;
    std::string KindName() const override { return "Text recognition"; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override;

    void Describe(OPropertyList& list) const override;
    void Apply(const OPropertyValues& values) override;
    void Encode(OByteStream& stream) const override;
    bool bDecode(OBlockFieldReader& reader) override;

    void Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;

  private:
    OKvtTextReader::Layout m_layout = OKvtTextReader::Layout::Line;
    std::string m_allowed = kDefaultAllowed;
    int m_minConfidence = 50;
    // The model, loaded at the first reading; one reading at a time.
    mutable std::mutex m_readerLock;
    mutable std::unique_ptr<OKvtTextReader> m_reader;
};
