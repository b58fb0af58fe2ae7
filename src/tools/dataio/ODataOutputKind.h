// The common part of the seven data-output kinds of the new-platform devices: the kind's
// number, menu name, short name, where it runs and how many instances a device allows,
// its network port, the features it sends, and the kind's own settings framed as an object
// block (unknown trailing bytes kept). docs/tools-family2.md describes each kind.
#pragma once

#include <string>
#include <vector>

#include "model/stream/OBlockFieldReader.h"
#include "model/tools/OType_DeviceDataIO.h"
#include "tools/kvt/OType_ConfigTool_KVT.h"

namespace DataOutputKind {
inline constexpr int kPartDetector = 1;
inline constexpr int kEtherNetIP = 2;
inline constexpr int kDataCollection = 3;
inline constexpr int kXML = 4;
inline constexpr int kWebViewer = 5;
inline constexpr int kTelmarViewer = 6;
inline constexpr int kFileTransfer = 7;
}  // namespace DataOutputKind

// Which features an output sends: all of them, or a list of (tool, feature) references
// that follow their tools when tools move; written as text "all" or "1,3,5-7" (feature
// numbers from 1).
class ODataOutputFeatures {
  public:
    bool bIsAll() const { return m_all; }
    const std::vector<OKvtFeatureRef>& Refs() const { return m_refs; }
    // The feature indices to send for the part set (references to removed tools dropped).
    std::vector<int> Indices(const OType_ZRPartSet& partSet) const;
    std::string Text(const OType_ZRPartSet* partSet) const;
    // Parses the text against the part set's features; false with `error` on bad text.
    bool bParse(const std::string& text, const OType_ZRPartSet* partSet, std::string& error);
    // Removes references to tools or features that no longer exist; true when any was.
    bool bDropGone(const OType_ZRPartSet& partSet);
    void Encode(OByteStream& stream) const;
    bool bDecode(OBlockFieldReader& reader, OByteStream& stream);
    bool operator==(const ODataOutputFeatures&) const = default;

  private:
    bool m_all = true;
    std::vector<OKvtFeatureRef> m_refs;
};

class ODataOutputKind : public OType_DeviceDataIO {
  public:
    struct Spec {
        int kind = 0;
        std::string menuName;   // "Telnet - XML"
        std::string shortName;  // base of the names of new outputs
        int maxInstances = 1;
        int defaultPort = 0;       // 0: the kind has no port of its own
        bool needsCamera = false;  // sends images
        bool sendsFeatures = true;
        int defaultPacketId = -1;
        std::string defaultPacketName;
        bool writesText = true;  // writes values as text ("decimals" applies)
    };

    int iGetDataIOType() const override { return m_spec.kind; }
    std::string GetKindName() const override { return m_spec.menuName; }
    void CopyTo(OType_DeviceDataIO& other) const override;
    // New-platform devices; kinds that send images need a camera.
    bool bIsAvailable(const ZRINFO& deviceInfo, std::string& reason) const override;
    int iGetMaxInstances(const ZRINFO& deviceInfo) const override;
    int iCheckPropertyCompatibility(const ZRINFO& deviceInfo, std::string& text) const override;
    int iAdjustPropertyCompatibility(const ZRINFO& deviceInfo) override;
    // A new output is named "<short name> <n>" with the smallest free n.
    int iInitForPartSet(OType_ZRPartSet& partSet, bool withDefaults) override;
    void UpdateFeatureIndexList(const OType_ZRPartSet& partSet) override;
    OPropertyList DescribeProperties(const OPropertyContext& context) const override;

    int iGetPort() const { return m_port; }
    int iGetDecimals() const { return m_decimals; }
    const ODataOutputFeatures& Features() const { return m_features; }
    // The feature indices the output sends, as of the last UpdateFeatureIndexList.
    const std::vector<int>& FeatureIndices() const { return m_indices; }

  protected:
    explicit ODataOutputKind(Spec spec);

    bool bCheckProperties(const OPropertyValues& merged, const OPropertyContext& context,
                          std::string& error) const override;
    void ApplyProperties(const OPropertyValues& values, const OPropertyContext& context) override;

    // The kind's own settings after the common ones (port, features), in the same block.
    virtual void EncodeKind(OByteStream& stream) const;
    virtual bool bDecodeKind(OBlockFieldReader& reader);
    virtual void CopyKindTo(ODataOutputKind& other) const;

    // The features to send of a part: (index, feature) for every selected index the part has.
    std::vector<std::pair<int, const OType_Feature*>> SelectedFeatures(
        const OType_Part& part) const;

  private:
    void EncodePayload(OByteStream& stream) const final;
    bool bDecodePayload(OByteStream& stream) final;

    Spec m_spec;
    int m_port = 0;
    int m_decimals = 3;
    ODataOutputFeatures m_features;
    std::vector<int> m_indices;
    std::vector<uint8_t> m_kindTrailer;
    std::vector<uint8_t> m_payloadTrailer;
};

namespace DataOutputText {
// A feature value as the outputs write it: "%.*f", texts as they are, "" when invalid.
std::string Value(const OType_Feature& feature, int decimals);
// Escapes &, <, >, " and ' for XML.
std::string XmlEscaped(const std::string& text);
}  // namespace DataOutputText
