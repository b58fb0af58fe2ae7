// Pattern recognition in a region of a camera image. One class serves five kinds, each
// through its recognizer:
//   107 "Pattern matching" and 122 "Pattern matching+": a taught pattern searched for, turned
//       and scaled (OKvtPatternSearch);
//   106 "Datamarix code reader / checker" and 111 "Bar code reader": a code read and graded
//       (OKvtCodeReading);
//   112 "Text recognition (OCR)": a line of text read (OKvtTextReading).
// Codes and characters are patterns of their own, which is why the readers live here.
#pragma once

#include <memory>

#include "tools/kvt/OKvtRecognizer.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

class OType_ConfigTool_KVT_PMATCH : public OType_ConfigTool_KVT {
  public:
    // The kinds this class serves, in the order they are registered.
    static const std::vector<int>& Kinds();

    explicit OType_ConfigTool_KVT_PMATCH(int kind = KvtToolKind::kPatternMatching);
    std::unique_ptr<OType_ConfigTool> CreateNew() const override;
    std::string GetKindName() const override { return m_recognizer->KindName(); }
    bool bNeedsCameraImage() const override { return true; }
    std::vector<OKvtFeatureDef> FeatureDefs() const override { return m_recognizer->FeatureDefs(); }

    // Teaches the pattern from the sample parts when the tool has none (pattern kinds).
    int iInitAfterCheckprogramLoad(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo) override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    const OKvtRecognizer& Recognizer() const { return *m_recognizer; }
    OKvtRecognizer& Recognizer() { return *m_recognizer; }

  protected:
    void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;
    void EncodeKind(OByteStream& stream) const override;
    bool bDecodeKind(OBlockFieldReader& reader) override;
    void CopyKindTo(OType_ConfigTool_KVT& other) const override;

  private:
    std::unique_ptr<OKvtRecognizer> m_recognizer;
};
