// The base of the family-2 image tools. A tool looks at one image of a part (a camera
// image, or the contour drawn as a picture) inside its rotatable region (OKvtRegion) and
// computes its features there: numbers with a validity, or texts (the code and text
// readers). The base does what every kind shares:
//   - the region, the image choice, the feature list with names the user may change;
//   - reading the region out of the image (OKvtRegionSample) — a region that does not lie
//     wholly inside the image, or a missing image, makes every feature invalid;
//   - writing the features into the part's feature array, with world coordinates as the
//     alternative value when the part set transforms coordinates;
//   - drawing data (OKvtDrawing), the properties as data, the target checks and the
//     encoding (one object block for the common settings, one for the kind's own).
// A kind describes its features (FeatureDefs) and measures (MeasureRegion); both may depend
// on the sub-kind, the function the tool performs (iGetFeatureType holds it).
//
// Measuring is const and keeps no state between calls, so a tool may measure parts on
// several threads; extraction still serialises a tool's calls through its lock.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/stream/OBlockFieldReader.h"
#include "model/tools/OType_ConfigTool.h"
#include "tools/kvt/KvtToolKinds.h"
#include "tools/kvt/OKvtDrawing.h"
#include "tools/kvt/OKvtRegion.h"

class OBlockFieldReader;
class OObjectBlockReader;
struct OType_Feature;

// What a feature value stands for; decides its world-coordinate value.
enum class OKvtQuantity {
    Plain,   // counts, brightness, ratios, texts: the same in world coordinates
    ImageX,  // an image x coordinate; the next feature is the matching y
    ImageY,  // the y coordinate following an ImageX feature
    Length,  // pixels
    Area,    // square pixels
    Angle,   // degrees
};

struct OKvtFeatureDef {
    int type = 0;       // feature type (name-table number)
    std::string label;  // default name of the feature, after the tool's name
    std::string unit;   // "px", "px²", "°", "%", "" ...
    OKvtQuantity quantity = OKvtQuantity::Plain;
    bool text = false;  // delivers a text (readers)
};

struct OKvtFeatureValue {
    double value = 0;
    bool valid = false;
    std::string text;
};

// A feature of another tool that a tool reads: the tool's id and the feature's number
// within that tool. It follows the tool when tools move.
struct OKvtFeatureRef {
    int toolId = -1;
    int feature = 0;
    bool bIsSet() const { return toolId >= 0; }
    bool operator==(const OKvtFeatureRef&) const = default;
    // As a property choice value: -1 for none, else toolId * 1000 + feature.
    int64_t ChoiceValue() const { return bIsSet() ? int64_t{toolId} * 1000 + feature : -1; }
    static OKvtFeatureRef FromChoiceValue(int64_t value);
};

class OType_ConfigTool_KVT;

struct OKvtMeasureInput {
    const OType_ZRPartSet& partSet;
    const ZRINFO& deviceInfo;
    const OType_Part& part;
    // The features computed so far for the part (those of the tools before this one).
    const OType_FeatureArray& features;
    bool teach = false;
    // The region's pixels; nullptr for kinds that read no image (bUsesImage false).
    const OKvtRegionSample* sample = nullptr;

    // The value of a referenced feature; nullptr when it is missing or invalid.
    const OType_Feature* Referenced(const OKvtFeatureRef& ref) const;
};

struct OKvtMeasureOutput {
    std::vector<OKvtFeatureValue> values;  // one per feature, all invalid at the start
    OKvtDrawing drawing;
    int result = 1;  // the result word; bit 16 reports a tool-side condition

    void Set(size_t i, double value) {
        if (i < values.size()) values[i] = {value, true, {}};
    }
    void SetText(size_t i, std::string text) {
        if (i < values.size()) values[i] = {0, true, std::move(text)};
    }
};

class OType_ConfigTool_KVT : public OType_ConfigTool {
  public:
    int iGetConfigToolType() const override { return m_kind; }
    void CopyTo(OType_ConfigTool& other) const override;

    // --- the function (sub-kind) ---
    // The sub-kinds of the kind; the first is the default. {-1} when it has one function.
    virtual std::vector<int> SubKinds() const;
    // The effective sub-kind: the stored one when it is one of SubKinds(), else the default.
    int iGetSubKind() const;
    bool bIsSubKind(int subKind) const;
    // The function's name in the property pages ("Single measurement" ...).
    virtual std::string SubKindName(int subKind) const;

    // --- region and image ---
    const OKvtRegion& GetShape() const { return m_shape; }
    // Sets the region (insane values are refused and leave it unchanged).
    bool bSetShape(const OKvtRegion& shape);
    // An upright region on the rectangle's pixels.
    void SetRegion(const ORect& r) override;
    // Kinds that compute from other features only read no image.
    virtual bool bUsesImage() const { return true; }
    // Kinds that need a camera image (colour, readers, patterns) cannot use the contour.
    virtual bool bNeedsCameraImage() const { return false; }

    // --- features ---
    virtual std::vector<OKvtFeatureDef> FeatureDefs() const = 0;
    int iGetNumOfFeatures() const override { return static_cast<int>(FeatureDefs().size()); }
    int GetFeatureTypeAt(int i) const override;
    // The feature's name: the one the user gave it, else "<tool name>: <label>" (the
    // label from the part set's feature-name table when it has the type).
    std::string FeatureName(int i, const OType_ZRPartSet* partSet) const;
    std::string DefaultFeatureName(int i, const OType_ZRPartSet* partSet) const;
    // A name of the user's; an empty name goes back to the default. False for a bad index.
    bool bSetFeatureName(int i, std::string name);
    // True when a name was changed.
    bool bResetFeatureNames();
    // Features of other tools this tool reads.
    virtual std::vector<OKvtFeatureRef> References() const { return {}; }
    std::vector<int> GetDirectReferencedFeatures(const OType_ZRPartSet& partSet) const override;
    // Index of a referenced feature in the part set's feature list; -1 when it is gone.
    static int iFeatureIndexOf(const OType_ZRPartSet& partSet, const OKvtFeatureRef& ref);

    // --- target checks ---
    int iCheckPropertyCompatibility(const ZRINFO& deviceInfo, std::string& text) const override;
    int iAdjustPropertyCompatibility(const ZRINFO& deviceInfo) override;
    // 0 fits the region into the device image, 1 mirrors it at the horizontal axis
    // (top and bottom exchange), 2 at the vertical axis.
    int iChangePositionSymmetrical(int mode, const ZRINFO& deviceInfo) override;
    // A new tool gets its name ("<kind> <n>", the smallest free n) and a region in the
    // middle of the device image; references to removed tools are dropped.
    void UpdateCFToolDefinition(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                                const OType_Part& part, OType_FeatureArray& features) override;

    // --- extraction ---
    // Measuring reads the tool and writes only into the part's features.
    bool bExtractsConcurrently() const override { return true; }
    int iExtractObject_Test(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo, OType_Part& part,
                            OType_FeatureArray& features, int mode, OPainter* painter,
                            int drawFlags, const ORect& clip) override;
    int iExtractObject_Teach(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo, OType_Part& part,
                             OType_FeatureArray& features, int mode, OPainter* painter,
                             int drawFlags, const ORect& clip) override;
    // The measurement of a part without writing it: values and drawing data. `features`
    // are the part's features of the tools before this one.
    OKvtMeasureOutput Measure(const OType_ZRPartSet& partSet, const ZRINFO& deviceInfo,
                              const OType_Part& part, const OType_FeatureArray& features,
                              bool teach) const;
    // Writes measured values into the entries of `features` carrying this tool's id
    // (replacing them, keeping their options and factors) or appends them.
    void WriteFeatures(const OType_ZRPartSet& partSet, OType_FeatureArray& features,
                       const std::vector<OKvtFeatureValue>& values) const;
    void PrintCFTool(OPainter& painter, const OType_ZRPartSet& partSet) override;

    // --- properties as data ---
    // "name", "subkind" (when the kind has several), "image", "region.x", "region.y",
    // "region.width", "region.height", "region.angle", "feature.<n>.name"; kinds append theirs.
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

  protected:
    OType_ConfigTool_KVT(int kind, int defaultSubKind);

    // Where a new tool sits in an image of the given size: by default in the middle, a
    // quarter of its size.
    virtual OKvtRegion DefaultRegion(int imageWidth, int imageHeight) const;
    // Measures the region (sample set when bUsesImage) into `out`, whose values are sized
    // to the features and invalid.
    virtual void MeasureRegion(const OKvtMeasureInput& in, OKvtMeasureOutput& out) const = 0;

    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;

    // The kind's own settings, inside an object block of their own. Fields read by the
    // reader keep their defaults when an older block ends before them; the decoder returns
    // false for values the kind cannot work with.
    virtual void EncodeKind(OByteStream& stream) const;
    virtual bool bDecodeKind(OBlockFieldReader& reader);
    virtual void CopyKindTo(OType_ConfigTool_KVT& other) const;
    // Fixes the kind's settings after an edit of the part set (references of removed tools).
    virtual void UpdateKindDefinition(const OType_ZRPartSet& partSet);

    // Property choices of every feature of the other tools before this one in the part
    // set, and "none".
    std::vector<OPropertyChoice> ReferenceChoices(const OType_ZRPartSet* partSet) const;
    // A reference to a tool that no longer exists (or to a missing feature) becomes none.
    static void DropIfGone(const OType_ZRPartSet& partSet, OKvtFeatureRef& ref);

  private:
    int iExtract(OType_ZRPartSet& partSet, const ZRINFO& deviceInfo, OType_Part& part,
                 OType_FeatureArray& features, OPainter* painter, int drawFlags, bool teach);
    void SetWorldValues(const OType_ZRPartSet& partSet, const std::vector<OKvtFeatureDef>& defs,
                        const std::vector<OKvtFeatureValue>& values,
                        std::vector<double>& world) const;
    void EncodePayload(OByteStream& stream) const final;
    bool bDecodePayload(OByteStream& stream) final;

    int m_kind;
    int m_defaultSubKind;
    OKvtRegion m_shape{320, 240, 160, 120, 0};
    // True until the region is set or decoded: a new tool is then placed for the device.
    bool m_defaultShape = true;
    std::vector<std::string> m_featureNames;  // user names by feature; "" = default
    std::vector<uint8_t> m_baseTrailer;
    std::vector<uint8_t> m_kindTrailer;
    std::vector<uint8_t> m_payloadTrailer;
};

namespace KvtEncode {
void Ref(OByteStream& stream, const OKvtFeatureRef& ref);
// Reads a reference written by Ref (keeping `ref` when the block ended before it).
bool bReadRef(OBlockFieldReader& reader, OKvtFeatureRef& ref);
}  // namespace KvtEncode
