// Pattern matching (kind 107) and pattern matching+ (kind 122): the tool's region is the
// search area; the pattern is taught from the sample parts as the middle of the region (a
// rectangle of the template size) and then searched for, turned and scaled within the search
// settings (OPatternMatcher).
//
// Teaching happens before an extraction run, when the tool has no pattern yet (a new tool, a
// changed template size, or "teach again" asked for): pattern matching takes the first sample
// part in list order whose region can be read and shows enough contrast; pattern matching+
// takes one pattern per part type (the first such sample part of each type, up to eight), so
// that the number of the best matching pattern tells the type.
#pragma once

#include "tools/kvt/OKvtRecognizer.h"
#include "tools/patternmatching/OPatternMatching_V2.h"

class OKvtPatternSearch : public OKvtRecognizer {
  public:
    static constexpr int kMaxTemplates = 8;

    explicit OKvtPatternSearch(bool plus) : m_plus(plus) {}
    std::unique_ptr<OKvtRecognizer> Clone() const override;
    std::string KindName() const override;
    std::vector<OKvtFeatureDef> FeatureDefs() const override;

    void Describe(OPropertyList& list) const override;
    bool bCheck(const OPropertyValues& merged, std::string& error) const override;
    void Apply(const OPropertyValues& values) override;
    void Encode(OByteStream& stream) const override;
    bool bDecode(OBlockFieldReader& reader) override;

    void Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const override;
    bool bTeach(const OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                const OType_ConfigTool_KVT& tool) override;

    const OPatternMatching_V2_SearchParameter& SearchParameter() const { return m_search; }
    const OPatternMatching_V2_TemplateArray& Templates() const { return m_templates; }
    // Replaces the taught patterns (the property pages' "teach again" clears them).
    void SetTemplates(OPatternMatching_V2_TemplateArray templates) {
        m_templates = std::move(templates);
    }
    // The template size used for a region: the size set, or half the region.
    cv::Size TemplateSize(const OKvtRegion& region) const;

  private:
    bool m_plus;
    OPatternMatching_V2_SearchParameter m_search;
    OPatternMatching_V2_TemplateArray m_templates;
    int m_templateWidth = 0;  // 0: half the region's width
    int m_templateHeight = 0;
    int m_minContrast = 30;      // grey-value spread a pattern needs to be taught
    int m_angleStepTenths = 10;  // angle step of the search, tenths of a degree
};
