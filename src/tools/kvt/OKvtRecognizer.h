// What the pattern-recognition tool (OType_ConfigTool_KVT_PMATCH) does for one of its kinds:
// find a taught pattern (OKvtPatternSearch), read a code (OKvtCodeReading) or read text
// (OKvtTextReading). A recognizer describes the kind's features, its properties and its
// encoding, and measures a region; the tool forwards to it.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/kvt/OType_ConfigTool_KVT.h"

class OKvtRecognizer {
  public:
    virtual ~OKvtRecognizer() = default;
    virtual std::unique_ptr<OKvtRecognizer> Clone() const = 0;

    // Base name of new tools of the kind ("Pattern matching", "Bar code" ...).
    virtual std::string KindName() const = 0;
    virtual std::vector<OKvtFeatureDef> FeatureDefs() const = 0;

    // The kind's properties, after the common ones; the same contract as the tool's.
    virtual void Describe(OPropertyList& list) const = 0;
    virtual bool bCheck(const OPropertyValues& merged, std::string& error) const;
    virtual void Apply(const OPropertyValues& values) = 0;

    // The kind's fields inside the tool's kind block.
    virtual void Encode(OByteStream& stream) const = 0;
    virtual bool bDecode(OBlockFieldReader& reader) = 0;

    virtual void Measure(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const = 0;

    // Teaches from the part set's sample parts before a run, when the kind learns something
    // (a pattern) and has not yet; true when the taught data changed.
    virtual bool bTeach(const OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                        const OType_ConfigTool_KVT& tool);
};
