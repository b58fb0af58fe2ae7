// Sample objects for the fuzz targets' seeds, a tool kind and a data-output kind that the
// targets register so that tool payloads are decoded too, and the checks every target
// makes after a successful decode.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"

namespace fuzzseeds {

using Bytes = std::vector<uint8_t>;

template <class T>
Bytes EncodeOf(const T& object) {
    OByteStream_Memory s;
    object.iEncode(s);
    return s.TakeBytes();
}

// Ends the run (a finding for libFuzzer) when a condition a decoder promises fails.
inline void Check(bool condition) {
    if (!condition) std::abort();
}

// A tool kind with a small payload of its own: a feature count, a threshold and a label.
class OFuzzTool : public OType_ConfigTool {
  public:
    static constexpr int kKind = 901;
    explicit OFuzzTool(int features = 1, std::string label = {})
        : m_features(features), m_label(std::move(label)) {}
    int iGetConfigToolType() const override { return kKind; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OFuzzTool>();
    }
    std::string GetKindName() const override { return "FuzzTool"; }
    void CopyTo(OType_ConfigTool& other) const override {
        OType_ConfigTool::CopyTo(other);
        auto& o = static_cast<OFuzzTool&>(other);
        o.m_features = m_features;
        o.m_threshold = m_threshold;
        o.m_label = m_label;
    }
    int iGetNumOfFeatures() const override { return m_features; }
    int iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&, OType_FeatureArray&, int,
                            OPainter*, int, const ORect&) override {
        return 0;
    }

  protected:
    void EncodePayload(OByteStream& s) const override {
        s.bWriteI32(m_features);
        s.bWriteDouble(m_threshold);
        s.bWriteString(m_label);
    }
    bool bDecodePayload(OByteStream& s) override {
        int32_t features = 0;
        double threshold = 0;
        std::string label;
        if (!s.bReadI32(features) || !s.bReadDouble(threshold) || !s.bReadString(label))
            return false;
        if (features < 0 || features > 256) return false;
        m_features = features;
        m_threshold = threshold;
        m_label = std::move(label);
        return true;
    }

  private:
    int m_features;
    double m_threshold = 0.5;
    std::string m_label;
};

// A data-output kind with a host and a port.
class OFuzzOutput : public OType_DeviceDataIO {
  public:
    static constexpr int kKind = 4;
    explicit OFuzzOutput(std::string host = "localhost", int port = 23)
        : m_host(std::move(host)), m_port(port) {}
    int iGetDataIOType() const override { return kKind; }
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override {
        return std::make_unique<OFuzzOutput>();
    }
    std::string GetKindName() const override { return "Telnet - XML"; }
    void CopyTo(OType_DeviceDataIO& other) const override {
        OType_DeviceDataIO::CopyTo(other);
        auto& o = static_cast<OFuzzOutput&>(other);
        o.m_host = m_host;
        o.m_port = m_port;
    }

  protected:
    void EncodePayload(OByteStream& s) const override {
        s.bWriteString(m_host);
        s.bWriteI32(m_port);
    }
    bool bDecodePayload(OByteStream& s) override {
        std::string host;
        int32_t port = 0;
        if (!s.bReadString(host) || !s.bReadI32(port) || port < 0 || port > 65535) return false;
        m_host = std::move(host);
        m_port = port;
        return true;
    }

  private:
    std::string m_host;
    int m_port;
};

// A kind the targets never register: it decodes as an opaque tool.
class OForeignTool : public OFuzzTool {
  public:
    using OFuzzTool::OFuzzTool;
    int iGetConfigToolType() const override { return 7777; }
};

inline void RegisterKinds(OType_ZRPartSet& partSet) {
    partSet.RegisterToolKind(std::make_unique<OFuzzTool>());
    partSet.RegisterDataOutputKind(std::make_unique<OFuzzOutput>());
}

inline OToolPrototypes ToolPrototypes() {
    OToolPrototypes prototypes;
    prototypes.RegisterKind(std::make_unique<OFuzzTool>());
    return prototypes;
}

// Decodes a tool list made from `prototypes`. A refused list must be empty; an accepted one
// must encode to bytes that decode to the same encoding, and its copy must encode alike.
// True when the list was accepted.
inline bool bDecodeToolsChecked(const uint8_t* data, size_t size, const OToolPrototypes& prototypes,
                                OType_ConfigToolArray& tools) {
    auto in = OByteStream_Memory::View({data, size});
    if (!tools.iDecode(in, prototypes)) {
        Check(tools.iGetNum() == 0);
        return false;
    }
    const Bytes first = EncodeOf(tools);
    OType_ConfigToolArray again;
    auto in2 = OByteStream_Memory::View(first);
    Check(again.iDecode(in2, prototypes) == 1);
    Check(EncodeOf(again) == first);
    Check(EncodeOf(OType_ConfigToolArray(tools)) == first);
    return true;
}

inline ODataOutputPrototypes DataOutputPrototypes() {
    ODataOutputPrototypes prototypes;
    prototypes.RegisterKind(std::make_unique<OFuzzOutput>());
    return prototypes;
}

inline OType_Image SampleImage(int layers) {
    OType_Image img(3, 2, layers);
    for (size_t i = 0; i < img.Pixels().size(); ++i)
        img.Pixels()[i] = static_cast<uint8_t>(i * 37);
    img.SetPos(10, -4);
    return img;
}

inline OType_FeatureArray SampleFeatures() {
    OType_FeatureArray features;
    OType_Feature f;
    f.type = 3;
    f.value = 41.5;
    f.name = "Length";
    features.Add(f);
    f.type = 112;
    f.toolId = 2;
    f.valueType = FeatureValueType::Text;
    f.textValue = "LOT 17";
    features.Add(f);
    return features;
}

inline OType_Part SamplePart(int recordNo, bool withImage) {
    OType_Part p;
    p.SetRecordNo(recordNo);
    p.SetType(1 + recordNo % 2);
    p.SetOrientation(recordNo % 3 - 1);
    p.SetComment("part " + std::to_string(recordNo));
    p.SetConturData({2, -9, 3, 4, 6, -10});
    p.SetBackupContour({2, -9});
    p.Features() = SampleFeatures();
    p.SetResultValue(0, 12.5 * recordNo);
    p.DataOutputResults().push_back({1, {1, 2, 3}});
    if (withImage) p.AddImage(SampleImage(recordNo % 2 ? 3 : 1));
    return p;
}

inline OType_VectorArray_Array SampleVectors() {
    OType_VectorArray_Array arrays;
    for (int o = 0; o < 2; ++o) {
        OType_VectorArray& a = arrays.Add();
        a.SetPartCount(3 + o);
        for (int f = 0; f < 3; ++f) {
            OType_Vector v;
            v.featureType = f;
            v.name = "feature " + std::to_string(f);
            v.minimum = f;
            v.mean = f + 0.5;
            v.maximum = f + 1.0;
            a.Add(v);
        }
    }
    return arrays;
}

inline OType_ZRPartSet_SubType SampleSubType() {
    OType_ZRPartSet_SubType type;
    type.SetName("Bolt");
    type.SetNumOrientations(2);
    type.SetNumFeatures(3);
    type.SetHasData(true);
    type.Vectors() = SampleVectors();
    return type;
}

inline std::unique_ptr<OType_ConfigTool> ForeignTool() {
    OForeignTool foreign(2, "kept as it is");
    const Bytes bytes = EncodeOf(foreign);
    auto in = OByteStream_Memory::View(bytes);
    return OType_ConfigToolArray::opCreateCFToolFromStream(in, OToolPrototypes());
}

inline OType_ConfigToolArray SampleTools() {
    OType_ConfigToolArray tools;
    tools.Add(std::make_unique<OFuzzTool>(1, "one"));
    tools.Add(std::make_unique<OFuzzTool>(3, "three"));
    tools.Add(ForeignTool());
    return tools;
}

inline OType_DeviceDataIOArray SampleDataOutputs() {
    OType_DeviceDataIOArray outputs;
    outputs.Add(std::make_unique<OFuzzOutput>("plc", 44818));
    outputs.Add(std::make_unique<OFuzzOutput>("logger", 23));
    outputs.SetSelected(1);
    return outputs;
}

inline void FillPartSet(OType_ZRPartSet& ps, int parts) {
    RegisterKinds(ps);
    ps.SetName("Check program");
    ps.SetFeatureEnable(5, 0);
    *ps.opAddSubType() = SampleSubType();
    ps.opAddSubType();
    for (int i = 0; i < parts; ++i) {
        ps.TeachParts().Add(SamplePart(i + 1, false));
        ps.TestParts().Add(SamplePart(i + 1, true));
    }
    ps.Tools() = SampleTools();
    ps.DataOutputs() = SampleDataOutputs();
    ps.iShowFeatureNo(13);
    ps.iShowToolNo(1);
}

inline Bytes PartSetBytes(int parts, int withParts = 1, int withImages = 1) {
    OType_ZRPartSet ps;
    FillPartSet(ps, parts);
    return ps.Encode(withParts, withImages);
}

}  // namespace fuzzseeds
