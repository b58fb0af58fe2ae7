// Sample part sets of the model tests: every kind of content a part set holds.
#pragma once

#include <memory>
#include <string>

#include "ModelTestSupport.h"
#include "model/partset/OType_ZRPartSet.h"

namespace modeltest {

// Kinds that are never registered: they decode as opaque tools and outputs.
class OForeignTool : public OTestTool {
  public:
    using OTestTool::OTestTool;
    int iGetConfigToolType() const override { return 7777; }
};

class OForeignOutput : public OTestOutput {
  public:
    using OTestOutput::OTestOutput;
    int iGetDataIOType() const override { return 6; }
};

inline void RegisterTestKinds(OType_ZRPartSet& partSet) {
    partSet.RegisterToolKind(std::make_unique<OTestTool>());
    partSet.RegisterDataOutputKind(std::make_unique<OTestOutput>());
}

// An opaque tool as a part set holds it after reading a tool of an unknown kind.
inline std::unique_ptr<OType_ConfigTool> ForeignTool(int id) {
    OForeignTool foreign(2, 9.5, "from a newer tool library");
    foreign.SetName("Foreign");
    foreign.SetToolId(id);
    const Bytes bytes = EncodeOf(foreign);
    auto in = OByteStream_Memory::View(bytes);
    return OType_ConfigToolArray::opCreateCFToolFromStream(in, OToolPrototypes());
}

inline OType_Part SamplePartOf(int recordNo, int type, int orientation, bool withImage) {
    OType_Part p;
    p.SetRecordNo(recordNo);
    p.SetType(type);
    p.SetOrientation(orientation);
    p.SetConturData({2, -9, 3, 4, 6, -10});
    p.SetComment("part " + std::to_string(recordNo));
    for (int i = 0; i < 16; ++i) {
        OType_Feature f;
        f.type = i;
        f.value = recordNo * 100.0 + i;
        p.Features().Add(f);
    }
    if (withImage) {
        OType_Image img(4, 4, 1);
        img.SetPixel(1, 1, 0, static_cast<uint8_t>(recordNo));
        p.AddImage(std::move(img));
    }
    return p;
}

// A part set with part types, both part lists (test parts with camera images), tools of a
// registered and of a foreign kind, data outputs, names, references, filters and a show
// state away from the defaults. Register the test kinds before decoding its encoding.
inline void FillSamplePartSet(OType_ZRPartSet& ps) {
    RegisterTestKinds(ps);
    ps.SetName("Check program 1");
    ps.SetTimeStamp(1700000000);
    ps.SetProgramNo(3);
    ps.SetCompatibilityFirmwareVersion("4.1.0.0", "4.9.9.9");
    ps.SetFilterMode(2);
    ps.SetFilterLimits(5, -7);
    ps.SetCoordTransSwitch(true);
    ps.SetZCoordinate(12.5);
    ps.SetFeatureEnable(13, 0);
    ps.bSetFeatureName(3, "Länge");
    ps.bSetFeatureName(900, "Test tool feature");
    ps.DefaultReferences().SetAt(2, 14);
    for (int t = 0; t < 3; ++t) {
        OType_ZRPartSet_SubType* type = ps.opAddSubType();
        type->SetName("Type " + std::to_string(t + 1));
        type->SetNumOrientations(t + 1);
        type->SetTolerance(5 + t);
        for (int o = 0; o <= t; ++o) {
            OType_VectorArray& va = type->Vectors().Add();
            va.SetPartCount(o + 2);
            OType_Vector v;
            v.mean = 10.0 * (t + 1) + o;
            va.Add(v);
        }
    }
    for (int i = 0; i < 4; ++i)
        ps.TeachParts().Add(SamplePartOf(i + 1, 1 + i % 2, 1 + i % 3, false));
    for (int i = 0; i < 3; ++i)
        ps.TestParts().Add(SamplePartOf(i + 1, 1, 1, true));
    ps.TestParts().SetSortType(PartSortType::RecordNo);
    ps.Tools().Add(std::make_unique<OTestTool>(1, 0.5, "one"));
    ps.Tools().Add(std::make_unique<OTestTool>(3, 1.5, "three"));
    ps.Tools().Add(ForeignTool(9));
    ps.DataOutputs().Add(std::make_unique<OTestOutput>("plc", 44818));
    ps.DataOutputs().Add(std::make_unique<OTestOutput>("logger", 23));
    ps.iShowSetTeachTest(0);
    ps.iShowTeachPartNo(2);
    ps.iShowTestPartNo(1);
    ps.iShowSubTypeNo(2);
    ps.iShowVectorNo(1);
    ps.iShowFeatureNo(14);
    ps.iShowToolNo(1);
    ps.iShowDataOutputNo(1);
}

}  // namespace modeltest
