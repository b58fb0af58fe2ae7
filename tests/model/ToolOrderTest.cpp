// Moving a tool within its check program: the feature records of every kind move with it.
#include <gtest/gtest.h>

#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"

namespace {

// A tool of `features` features that reads the first feature of another tool (by id).
class OCountedTool : public OType_ConfigTool {
  public:
    explicit OCountedTool(int features) : m_features(features) {}
    int iGetConfigToolType() const override { return 151; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OCountedTool>(m_features);
    }
    std::string GetKindName() const override { return "Counted"; }
    int iGetNumOfFeatures() const override { return m_features; }
    std::vector<int> GetDirectReferencedFeatures(const OType_ZRPartSet& set) const override {
        const int pos = set.Tools().iFindPosById(readsTool);
        if (pos < 0) return {};
        return {set.Tools().GetFeatureIndex_First(pos, set.iGetFixedFeatures())};
    }
    int iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&, OType_FeatureArray&, int,
                            OPainter*, int, const ORect&) override {
        return 1;
    }
    int readsTool = -1;

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    int m_features;
};

// Fixed features 2, tools of 1, 3 and 2 features: feature f of every record holds f.
struct OSet {
    OType_ZRPartSet set;
    OCountedTool* tools[3];
    OSet() {
        set.SetFixedFeatures(2);
        const int counts[3] = {1, 3, 2};
        for (int t = 0; t < 3; ++t)
            tools[t] = static_cast<OCountedTool*>(
                set.Tools().Add(std::make_unique<OCountedTool>(counts[t])));
        set.SetNumSubTypes(1);
        for (int o = 0; o < 2; ++o) {
            OType_VectorArray& a = set.opGetSubType(0)->Vectors().Add();
            for (int f = 0; f < 8; ++f) {
                OType_Vector v;
                v.mean = f + 10 * o;
                a.Add(v);
            }
        }
        OType_Part part;
        for (int f = 0; f < 8; ++f) {
            OType_Feature feature;
            feature.value = f;
            part.Features().Add(feature);
        }
        set.TeachParts().Add(std::move(part));
    }
    std::vector<double> Means(int orientation) const {
        std::vector<double> m;
        for (const OType_Vector& v : *set.opGetSubType(0)->Vectors().opGetAt(orientation))
            m.push_back(v.mean);
        return m;
    }
    std::vector<double> PartValues() const {
        std::vector<double> m;
        for (const OType_Feature& f : set.TeachParts().GetAt_NoSort(0)->Features())
            m.push_back(f.value);
        return m;
    }
};

}  // namespace

TEST(ToolOrder, SwappingNeighboursMovesEveryFeatureRecord) {
    OSet s;
    s.set.SetFeatureEnable(5, 0);  // the third feature of tool 1
    s.set.DefaultReferences().SetAt(0, 3);
    s.set.DefaultReferences().SetAt(1, 7);
    s.set.DefaultReferences().SetAt(2, 1);
    s.set.iShowFeatureNo(6);  // tool 2
    ASSERT_TRUE(s.set.SwapCFTools_WithDependencies(2, 1));
    EXPECT_EQ(s.set.Tools().opGetAt(1), s.tools[2]);
    EXPECT_EQ(s.set.Tools().opGetAt(2), s.tools[1]);
    // Features 0-1 basic, 2 tool 0, then tool 2's two and tool 1's three.
    EXPECT_EQ(s.Means(0), (std::vector<double>{0, 1, 2, 6, 7, 3, 4, 5}));
    EXPECT_EQ(s.Means(1), (std::vector<double>{10, 11, 12, 16, 17, 13, 14, 15}));
    EXPECT_EQ(s.PartValues(), (std::vector<double>{0, 1, 2, 6, 7, 3, 4, 5}));
    EXPECT_FALSE(s.set.bIsFeatureEnabled(7));
    EXPECT_TRUE(s.set.bIsFeatureEnabled(5));
    EXPECT_EQ(s.set.DefaultReferences().iGetAt(0), 5);
    EXPECT_EQ(s.set.DefaultReferences().iGetAt(1), 4);
    EXPECT_EQ(s.set.DefaultReferences().iGetAt(2), 1) << "basic features stay";
    EXPECT_EQ(s.set.iShowFeatureGetNo(), 3) << "the shown feature follows its tool";

    ASSERT_TRUE(s.set.SwapCFTools_WithDependencies(1, 2));
    EXPECT_EQ(s.Means(0), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7})) << "and back";
    EXPECT_EQ(s.set.iShowFeatureGetNo(), 6);
}

TEST(ToolOrder, OnlyNeighboursSwap) {
    OSet s;
    EXPECT_FALSE(s.set.SwapCFTools_WithDependencies(0, 2));
    EXPECT_FALSE(s.set.SwapCFTools_WithDependencies(2, 3));
    EXPECT_FALSE(s.set.SwapCFTools_WithDependencies(-1, 0));
    EXPECT_EQ(s.Means(0), (std::vector<double>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(ToolOrder, ReferencedFeaturesFollowTheChainOnce) {
    OSet s;
    s.tools[2]->readsTool = s.tools[1]->iGetToolId();
    s.tools[1]->readsTool = s.tools[0]->iGetToolId();
    s.tools[0]->readsTool = s.tools[2]->iGetToolId();  // a circle ends the walk
    EXPECT_EQ(s.set.GetAllReferencedFeatures(2), (std::vector<int>{2, 3, 6}));
    s.tools[0]->readsTool = -1;
    EXPECT_EQ(s.set.GetAllReferencedFeatures(2), (std::vector<int>{2, 3}));
    EXPECT_TRUE(s.set.GetAllReferencedFeatures(0).empty());
    EXPECT_TRUE(s.set.GetAllReferencedFeatures(7).empty());
}
