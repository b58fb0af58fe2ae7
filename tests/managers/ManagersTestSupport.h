// A headless document with a scripted user for the tool manager tests, parts with a step in
// their upper edge, and a tool kind of three features for the list's numbering.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "device/TargetSystemSettings.h"
#include "document/OHeadlessDocument.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "platform/OSettings_Memory.h"
#include "platform/OUserInteraction_Scripted.h"

namespace managerstest {

// Columns 0 ... width − 1; rows 10 ... 59, and from column `step` on rows 10 ... 79.
inline std::vector<int16_t> SteppedPart(int width, int step) {
    std::vector<int16_t> runs;
    for (int x = 0; x < width; ++x) {
        runs.push_back(10);
        runs.push_back(static_cast<int16_t>(x < step ? -60 : -80));
    }
    return runs;
}

// A tool of three features that reads features of other tools (by tool id and feature, so
// the references follow the tools when they move); it measures nothing, which is all the
// list and the move tests need.
class OTestTool3 : public OType_ConfigTool {
  public:
    explicit OTestTool3(int kind = 150) : m_kind(kind) {}
    int iGetConfigToolType() const override { return m_kind; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        return std::make_unique<OTestTool3>(m_kind);
    }
    std::string GetKindName() const override { return "Triple"; }
    int iGetNumOfFeatures() const override { return 3; }
    int GetFeatureTypeAt(int i) const override { return i >= 0 && i < 3 ? 300 + i : -1; }
    std::vector<int> GetDirectReferencedFeatures(const OType_ZRPartSet& set) const override {
        std::vector<int> features;
        for (auto [toolId, k] : reads) {
            const int pos = set.Tools().iFindPosById(toolId);
            if (pos >= 0)
                features.push_back(set.Tools().GetFeatureIndex_First(pos, set.iGetFixedFeatures()) +
                                   k);
        }
        return features;
    }
    int iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&, OType_FeatureArray&, int,
                            OPainter*, int, const ORect&) override {
        return 1;
    }
    std::vector<std::pair<int, int>> reads;  // tool id, feature of that tool

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    int m_kind;
};

struct DocFixture : ::testing::Test {
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;

    void NewProject(const OTargetSystem& target) {
        TargetSystemSettings::WriteTarget(settings, target);
        settings.SetInt("Settings", "MSG_BEEP", 0);
        headless = std::make_unique<OHeadlessDocument>(settings, &ui);
    }
    ODoc& doc() { return headless->Doc(); }
    OQuillon& session() { return headless->Session(); }
    OType_ZRPartSet& set() { return *doc().opGetActualPartSet(); }
    void AddSampleParts(int count, int width = 100, int step = 40) {
        for (int i = 0; i < count; ++i) {
            auto part = std::make_unique<OType_Part>();
            part->SetConturData(SteppedPart(width + i, step));
            part->SetTeachPart(true);
            part->SetType(1);
            part->SetOrientation(1);
            set().TeachParts().Add(std::move(part));
        }
    }
    void ExpectNoMismatch() {
        EXPECT_TRUE(ui.Mismatches().empty()) << ui.TranscriptText();
        EXPECT_TRUE(ui.bAllScriptUsed()) << ui.TranscriptText();
    }
};

}  // namespace managerstest
