// Tools, data outputs and changes of the target system: which tool kinds a target allows,
// adding tools on both families, adding data outputs with free packet identifiers, the
// findings of a target change with its list dialog and undo warning, and what the change
// removes and adjusts.
#include "SessionTestSupport.h"
#include "device/DeviceInfoBuilder.h"
#include "document/CommandIds.h"
#include "model/part/OType_Feature.h"
#include "model/strings/ResStr.h"

using namespace sessiontest;

namespace {

// A tool kind for the tests: its compatibility with a target is set per instance (and
// handed to tools made from it).
class OTestTool : public OType_ConfigTool {
  public:
    OTestTool(int kind, std::string kindName, int features = 1)
        : m_kind(kind), m_kindName(std::move(kindName)), m_features(features) {}
    int iGetConfigToolType() const override { return m_kind; }
    std::unique_ptr<OType_ConfigTool> CreateNew() const override {
        auto t = std::make_unique<OTestTool>(m_kind, m_kindName, m_features);
        t->compatibility = compatibility;
        t->adjusts = adjusts;
        return t;
    }
    std::string GetKindName() const override { return m_kindName; }
    int iGetNumOfFeatures() const override { return m_features; }
    int GetFeatureTypeAt(int i) const override {
        return i >= 0 && i < m_features ? iGetFeatureType() + i : -1;
    }
    std::vector<int> GetDirectReferencedFeatures(const OType_ZRPartSet&) const override {
        return references;
    }
    int iCheckPropertyCompatibility(const ZRINFO&, std::string& text) const override {
        text = compatibility ? "does not fit" : "";
        return compatibility;
    }
    int iAdjustPropertyCompatibility(const ZRINFO&) override {
        if (adjusts) compatibility = 0;
        return adjusts ? 1 : 0;
    }
    int iExtractObject_Test(OType_ZRPartSet&, const ZRINFO&, OType_Part&, OType_FeatureArray&, int,
                            OPainter*, int, const ORect&) override {
        return 0;
    }

    int compatibility = 0;
    bool adjusts = true;
    std::vector<int> references;

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    int m_kind;
    std::string m_kindName;
    int m_features;
};

class OTestOutput : public OType_DeviceDataIO {
  public:
    explicit OTestOutput(int kind, int maxInstances = 3) : m_kind(kind), m_max(maxInstances) {
        SetPacketId(1);
        SetPacketName("PKT");
    }
    int iGetDataIOType() const override { return m_kind; }
    std::unique_ptr<OType_DeviceDataIO> CreateNew() const override {
        auto o = std::make_unique<OTestOutput>(m_kind, m_max);
        o->available = available;
        return o;
    }
    std::string GetKindName() const override { return "Telnet - XML"; }
    bool bIsAvailable(const ZRINFO&, std::string& reason) const override {
        reason = available ? "" : "not on this device";
        return available;
    }
    int iGetMaxInstances(const ZRINFO&) const override { return m_max; }
    bool available = true;

  protected:
    void EncodePayload(OByteStream&) const override {}
    bool bDecodePayload(OByteStream&) override { return true; }

  private:
    int m_kind;
    int m_max;
};

void RegisterClassicKinds(OType_ZRPartSet& set) {
    set.RegisterToolKind(std::make_unique<OTestTool>(1, "ROI"));
    set.RegisterToolKind(std::make_unique<OTestTool>(2, "VStrip"));
    set.RegisterToolKind(std::make_unique<OTestTool>(3, "CTool"));
    set.RegisterToolKind(std::make_unique<OTestTool>(4, "Measure"));
    set.RegisterToolKind(std::make_unique<OTestTool>(8, "Combination"));
}

// Part types with `orientations` orientations of the 12 basic feature vectors.
void TwelveBasicVectors(OType_ZRPartSet& set, int orientations) {
    for (int t = 0; t < set.iGetNum_SubTypes(); ++t) {
        OType_ZRPartSet_SubType& type = *set.opGetSubType(t);
        type.Vectors().RemoveAll();
        for (int o = 0; o < orientations; ++o) {
            OType_VectorArray& a = type.Vectors().Add();
            for (int f = 0; f < 12; ++f) {
                OType_Vector v;
                v.featureType = f;
                v.name = "basic " + std::to_string(f);
                a.Add(v);
            }
        }
        type.SetNumOrientations(orientations);
    }
}

std::vector<std::string> ToolNames(const OType_ZRPartSet& set) {
    std::vector<std::string> names;
    for (const auto& t : set.Tools())
        names.push_back(t->GetName());
    return names;
}

// The document side of the session, as far as these operations use it.
class OTestOwner : public OQuillonOwner {
  public:
    OProgressCtrl* opGetProgress() override { return nullptr; }
    void RepaintMainFrame() override {}
    void SetLinkStateChanging(bool changing) override { m_changing = changing; }
    bool bIsLinkStateChanging() const override { return m_changing; }
    bool bHasApplication() const override { return application; }
    void SetModified() override { ++modified; }
    void RecomputeAndRefresh() override { ++recomputed; }
    void RecomputeAfterToolChange(OType_ZRPartSet&) override { ++recomputed; }

    bool application = false;
    int modified = 0;
    int recomputed = 0;

  private:
    bool m_changing = false;
};

// A session of its own (without a document, whose recompute would teach the vectors anew).
struct SessionTarget : ::testing::Test {
    explicit SessionTarget(bool withApplication = false) {
        owner.application = withApplication;
        session = std::make_unique<OQuillon>(settings, ui, &owner);
    }
    // A new project for the target, with the test kinds registered.
    OType_ZRPartSet& Project(const OTargetSystem& target) {
        EXPECT_TRUE(Session().bSetUpNewProject(target, {}));
        OType_ZRPartSet& set = *Session().opGetActualPartSet();
        RegisterClassicKinds(set);
        return set;
    }
    OQuillon& Session() { return *session; }
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    OTestOwner owner;
    std::unique_ptr<OQuillon> session;
};

// The same through the document: its commands and their states.
struct SessionTargetDocument : ::testing::Test {
    SessionTargetDocument() { headless = std::make_unique<OHeadlessDocument>(settings, &ui); }
    OType_ZRPartSet& Project(const OTargetSystem& target) {
        EXPECT_TRUE(headless->Session().bSetUpNewProject(target, {}));
        OType_ZRPartSet& set = *headless->Session().opGetActualPartSet();
        RegisterClassicKinds(set);
        return set;
    }
    OSettings_Memory settings;
    OUserInteraction_Scripted ui;
    std::unique_ptr<OHeadlessDocument> headless;
};

// --- classic targets ---

TEST_F(SessionTarget, ClassicCapacityPerKindLimitsAndPresence) {
    settings.SetInt("DefaultOSSettings", "ZRX_VETA_32_NUMBER_CFTOOLS", 4);
    settings.SetInt("DefaultOSSettings", "ZRX_VETA_32_NUMBER_CFTOOL_ROI", 2);
    settings.SetInt("DefaultOSSettings", "ZRX_VETA_32_NUMBER_CFTOOL_MEASURE", 0);
    OType_ZRPartSet& set = Project({1, 788, 0, 6, 1, 8});
    OQuillon& s = Session();
    EXPECT_TRUE(s.IsToolAllowed(1, 30));
    EXPECT_FALSE(s.IsToolAllowed(4, 34)) << "no measurement: limit 0 and no presence byte";
    EXPECT_FALSE(s.IsToolAllowed(6, 0)) << "not a tool kind of the classic editions";
    EXPECT_FALSE(s.IsToolAllowed(100, 104)) << "an image tool";
    ASSERT_NE(s.AddTool(set, 1, 30, 0), nullptr);
    ASSERT_NE(s.AddTool(set, 1, 30, 0), nullptr);
    EXPECT_FALSE(s.IsToolAllowed(1, 30)) << "two ROI at most";
    EXPECT_EQ(s.AddTool(set, 1, 30, 0), nullptr);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{ResStr(2081)});
    ASSERT_NE(s.AddTool(set, 2, 33, 0), nullptr);
    ASSERT_NE(s.AddTool(set, 3, 22, 0), nullptr);
    EXPECT_FALSE(s.IsToolAllowed(2, 33)) << "four tools in all";
    EXPECT_EQ(set.Tools().iGetNum(), 4);
}

TEST_F(SessionTarget, CompactEditionWithoutStoredLimitsHasEightToolsAndNoMeasurement) {
    Project({3, 788, 0, 6, 1, 8});
    EXPECT_EQ(Session().iGetToolCapacity(), 8);
    EXPECT_EQ(Session().DeviceInfo().u8(DeviceInfo::LimitByte(4)), 0);
    EXPECT_FALSE(Session().IsToolAllowed(4, 34));
    EXPECT_TRUE(Session().IsToolAllowed(8, 50));
}

TEST_F(SessionTarget, ClassicToolsAreGroupedByKindNamedAndGetFeatureRecords) {
    OType_ZRPartSet& set = Project({1, 788, 0, 6, 1, 8});
    TwelveBasicVectors(set, 2);
    set.bSetFeatureName(22, "Contour length");
    OQuillon& s = Session();
    s.AddTool(set, 3, 22, 0);
    s.AddTool(set, 1, 30, 0);
    s.AddTool(set, 2, 33, 0);
    s.AddTool(set, 1, 30, 0);
    EXPECT_EQ(owner.recomputed, 4) << "every added tool recomputes its part set";
    EXPECT_EQ(ToolNames(set), (std::vector<std::string>{"ROI 1", "ROI 2", "VStrip 1", "CTool 1"}));
    EXPECT_EQ(set.iShowFeatureGetNo(), 12 + 1) << "the feature of the tool just added";
    for (int o = 0; o < 2; ++o) {
        const OType_VectorArray& a = *set.opGetSubType(0)->Vectors().opGetAt(o);
        ASSERT_EQ(a.iGetNumOfVectors(), 16);
        const int types[] = {30, 30, 33, 22};
        for (int t = 0; t < 4; ++t) {
            const OType_Vector& v = a.At(12 + t);
            EXPECT_EQ(v.featureType, types[t]);
            EXPECT_EQ(v.toolId, set.Tools().opGetAt(t)->iGetToolId());
            EXPECT_EQ(v.minimum, 0.0);
            EXPECT_EQ(v.mean, 0.0);
            EXPECT_EQ(v.maximum, 0.0);
        }
        EXPECT_EQ(a.At(15).name, "Contour length");
        EXPECT_EQ(a.At(12).name, set.GetFeatureNameOrDash(30));
        EXPECT_EQ(a.At(11).name, "basic 11") << "the basic features stay in front";
    }
    // The smallest free number is taken again.
    set.Tools().RemoveAt(0);
    s.AddTool(set, 1, 30, 0);
    EXPECT_EQ(ToolNames(set), (std::vector<std::string>{"ROI 2", "ROI 1", "VStrip 1", "CTool 1"}));
    // A feature type without a name in the table.
    s.AddTool(set, 8, 9999, 0);
    EXPECT_EQ(set.opGetSubType(0)->Vectors().opGetAt(0)->At(12 + 4).name, "--");
    EXPECT_EQ(set.UndoRedo().GetUndoShortText(), "UNDO:Added Config Tool");
    EXPECT_EQ(set.UndoRedo().GetUndoLongText(), "UNDO:Added the tool ...");
}

// --- new-platform targets ---

TEST_F(SessionTarget, NewPlatformToolsNeedCapacityAnOrientationAndTheirAvailability) {
    OType_ZRPartSet& set = Project({7, 818, 0, 6, 1, 8});
    OQuillon& s = Session();
    ZRINFO& info = s.DeviceInfo();
    EXPECT_TRUE(s.IsToolAllowed(100, 104));
    EXPECT_TRUE(s.IsToolAllowed(110, -1)) << "coordinate transformation on a camera";
    // The readers, image compare and the "+" variants have availability bytes of their own
    // (the variants share their base kind's), so a camera offers every command of the menu.
    for (int kind : {106, 109, 111, 112, 122, 123})
        EXPECT_TRUE(s.IsToolAllowed(kind, -1)) << kind;
    info.SetU8(ZRINFO::ToolAvailabilityByte(111), 0);
    EXPECT_FALSE(s.IsToolAllowed(111, -1)) << "bar codes switched off in the device information";
    info.SetU8(ZRINFO::ToolAvailabilityByte(103), 0);
    EXPECT_FALSE(s.IsToolAllowed(123, -1)) << "blob finder+ goes with the blob finder";
    EXPECT_FALSE(s.IsToolAllowed(126, -1)) << "no kind of this program";
    EXPECT_FALSE(s.IsToolAllowed(1, 30));
    // Colour detection: any colour device, or grey devices for the brightness sub-kinds.
    EXPECT_EQ(info.iGetPixelFormat(), 8);
    EXPECT_TRUE(s.IsToolAllowed(105, -1));
    EXPECT_TRUE(s.IsToolAllowed(105, 369));
    EXPECT_TRUE(s.IsToolAllowed(105, 383));
    EXPECT_FALSE(s.IsToolAllowed(105, 371));
    info.SetU8(ZRINFO::kPixelFormat, 24);
    EXPECT_TRUE(s.IsToolAllowed(105, 371));
    info.SetU8(766, 0);
    EXPECT_FALSE(s.IsToolAllowed(105, -1));
    info.SetU8(ZRINFO::kCoordTransSupport, 250);
    EXPECT_FALSE(s.IsToolAllowed(110, -1));
    info.SetU8(DeviceInfo::AvailabilityByte(108), 0);
    EXPECT_FALSE(s.IsToolAllowed(108, -1));
    // No part type with an orientation: nothing may be added.
    for (int t = 0; t < set.iGetNum_SubTypes(); ++t)
        set.opGetSubType(t)->SetNumOrientations(0);
    EXPECT_FALSE(s.IsToolAllowed(100, 104));
    set.opGetSubType(0)->SetNumOrientations(2);
    // The features of the tools fill the capacity.
    set.RegisterToolKind(std::make_unique<OTestTool>(100, "Region", 128));
    s.AddTool(set, 100, 104, 0);
    EXPECT_TRUE(s.IsToolAllowed(100, 104));
    s.AddTool(set, 100, 104, 0);
    EXPECT_FALSE(s.IsToolAllowed(100, 104)) << "256 features";
}

TEST_F(SessionTarget, NewPlatformToolsTakeTheirNameAndTheCameraImage) {
    OType_ZRPartSet& set = Project({7, 818, 0, 6, 1, 8});
    set.RegisterToolKind(std::make_unique<OTestTool>(101, "Contour"));
    OQuillon& s = Session();
    OType_ConfigTool* tool = s.AddTool(set, 101, -1, 0, "Edge left");
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetName(), "Edge left");
    EXPECT_EQ(tool->iGetImageType(), 0);
    s.ProjectProperties().useNewToolsOnCameraImage = 1;
    tool = s.AddTool(set, 101, 7, 0, "\xE5\x90\x8D");  // a name outside the code page
    ASSERT_NE(tool, nullptr);
    EXPECT_EQ(tool->GetName(), "");
    EXPECT_EQ(tool->iGetFeatureType(), 7);
    EXPECT_EQ(tool->iGetImageType(), 1);
    // A tool that cannot be set up for the device is not added.
    auto failing = std::make_unique<OTestTool>(102, "Measure");
    failing->compatibility = ToolCompatibility::kIncompatible;
    set.RegisterToolKind(std::move(failing));
    EXPECT_EQ(s.AddTool(set, 102, 201, 0), nullptr);
    EXPECT_EQ(set.Tools().iGetNum(), 2);
}

TEST_F(SessionTargetDocument, ToolCommandsAreEnabledByTheTargetAndAddTools) {
    OType_ZRPartSet& set = Project({1, 788, 0, 6, 1, 8});
    ODoc& doc = headless->Doc();
    EXPECT_TRUE(doc.GetCommandState(32852).enabled) << "ROI";
    EXPECT_TRUE(doc.GetCommandState(32944).enabled) << "distance measurement";
    EXPECT_FALSE(doc.GetCommandState(32855).enabled) << "a family-2 tool";
    doc.OnCommand(32852, 0);
    ASSERT_EQ(set.Tools().iGetNum(), 1);
    EXPECT_EQ(set.Tools().opGetAt(0)->iGetFeatureType(), 30);
    EXPECT_TRUE(headless->Views().bHasView(ViewKind::PartContour));
    doc.OnCommand(32872, 0);
    EXPECT_EQ(set.Tools().opGetAt(1)->iGetConfigToolType(), 8) << "math / logic on family 1";
    int kind = 0, subKind = 0;
    ASSERT_TRUE(ODoc::bToolOfCommand(32872, 2, kind, subKind));
    EXPECT_EQ(kind, 104);
    EXPECT_EQ(subKind, 302);
    EXPECT_FALSE(ODoc::bToolOfCommand(32862, 1, kind, subKind));
}

// --- data outputs ---

TEST_F(SessionTarget, DataOutputsTakeFreePacketIdentifiersAndStayWithinTheirMaximum) {
    OType_ZRPartSet& set = Project({7, 818, 0, 6, 1, 8});
    set.RegisterDataOutputKind(std::make_unique<OTestOutput>(4, 3));
    OQuillon& s = Session();
    ASSERT_EQ(s.AddDataOutput(4, 1), 1);
    EXPECT_TRUE(ui.Texts().empty());
    ASSERT_EQ(s.AddDataOutput(4, 1), 1);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{ResStr(9989)});
    const OType_DeviceDataIOArray& outputs = set.DataOutputs();
    EXPECT_EQ(outputs.opGetAt(1)->iGetPacketId(), 2);
    EXPECT_EQ(outputs.opGetAt(1)->GetPacketName(), "PKT_2");
    EXPECT_EQ(outputs.iGetSelected(), 1);
    // Inserted after the selected one.
    set.DataOutputs().SetSelected(0);
    ASSERT_EQ(s.AddDataOutput(4, 1, 1), 1);
    EXPECT_EQ(ui.Texts().size(), 1u) << "silent";
    EXPECT_EQ(outputs.opGetAt(1)->iGetPacketId(), 3);
    EXPECT_EQ(outputs.iGetSelected(), 1);
    EXPECT_FALSE(s.bCanAddDataOutput(4)) << "three at most";
    EXPECT_EQ(s.AddDataOutput(4, 1), 0);
    auto unavailable = std::make_unique<OTestOutput>(5);
    unavailable->available = false;
    set.RegisterDataOutputKind(std::move(unavailable));
    EXPECT_FALSE(s.bCanAddDataOutput(5));
    EXPECT_FALSE(s.bCanAddDataOutput(9)) << "not registered";
}

TEST_F(SessionTarget, ADataOutputWithoutAFreePacketIdentifierIsNotAdded) {
    OType_ZRPartSet& set = Project({7, 818, 0, 6, 1, 8});
    set.RegisterDataOutputKind(std::make_unique<OTestOutput>(4, 1000));
    for (int id = 1; id <= 256; ++id) {
        auto o = std::make_unique<OTestOutput>(3);
        o->SetPacketId(id);
        o->SetPacketName("OTHER" + std::to_string(id));
        set.DataOutputs().Add(std::move(o));
    }
    EXPECT_EQ(Session().AddDataOutput(4, 1), 0);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{ResStr(9990)});
    EXPECT_EQ(set.DataOutputs().iGetNum(), 256);
}

TEST_F(SessionTargetDocument, TheDataOutputCommandStoresAnUndoStepAndShowsTheView) {
    OType_ZRPartSet& set = Project({7, 818, 0, 6, 1, 8});
    set.RegisterDataOutputKind(std::make_unique<OTestOutput>(4));
    ODoc& doc = headless->Doc();
    EXPECT_TRUE(doc.GetCommandState(33088).enabled);
    // The part detector: one per device, so its command is off once there is one.
    ASSERT_TRUE(doc.GetCommandState(33085).enabled);
    doc.OnCommand(33085, 0);
    EXPECT_FALSE(doc.GetCommandState(33085).enabled);
    set.DataOutputs().RemoveAll();
    doc.OnCommand(33088, 0);
    EXPECT_EQ(set.DataOutputs().iGetNum(), 1);
    EXPECT_EQ(set.UndoRedo().GetUndoShortText(), "UNDO:Data output added");
    EXPECT_EQ(set.UndoRedo().iGetUndoViewCommand(), Cmd::kViewDataOutput);
    EXPECT_TRUE(headless->Views().bHasView(ViewKind::DataOutput));
}

// --- target changes ---

OTargetChange ChangeTo(const OTargetSystem& target, int partSets, const OSettings_Memory& s) {
    OTargetChange c;
    c.target = target;
    c.partSets = partSets;
    ODeviceInfoRequest r;
    r.target = target;
    r.fixedFeatures = TargetSystem::iFixedFeatureCount(target.hardware);
    r.limits = TargetSystemSettings::ReadToolLimits(s, target.hardware);
    r.tools = TargetSystem::iToolCapacity(target.hardware, target.software, r.limits);
    c.deviceInfo = DeviceInfo::MakeWithoutDevice(r);
    return c;
}

// A classic project of three programs: tools, parts and Teach-Data beyond a smaller target.
void FillClassicProject(OQuillon& s) {
    ASSERT_TRUE(s.bSetUpNewProject({1, 788, 0, 6, 3, 8}, {}, 3));
    for (int p = 0; p < 3; ++p) {
        OType_ZRPartSet& set = *s.opGetPartSet(p);
        RegisterClassicKinds(set);
        set.SetName("program " + std::to_string(p + 1));
        TwelveBasicVectors(set, 8);
    }
    OType_ZRPartSet& first = *s.opGetPartSet(0);
    first.opGetSubType(2)->SetHasData(true);
    for (int i = 0; i < 3; ++i) {
        OType_Part part;
        part.SetType(i == 0 ? 3 : 1);
        part.SetOrientation(i == 1 ? 7 : 2);
        first.TeachParts().Add(part);
    }
    s.AddTool(first, 1, 30, 0);
    s.AddTool(first, 1, 30, 0);
    s.AddTool(first, 8, 50, 0);
    auto* roi = dynamic_cast<OTestTool*>(first.Tools().opGetAt(0));
    roi->compatibility = ToolCompatibility::kIncompatible;
    dynamic_cast<OTestTool*>(first.Tools().opGetAt(2))->references = {12};
    s.opGetPartSet(2)->TestParts().Add(OType_Part());
}

TEST_F(SessionTarget, TheFindingsOfATargetChange) {
    FillClassicProject(Session());
    settings.SetInt("DefaultOSSettings", "ZRX_VETA_32_NUMBER_CFTOOL_ROI", 1);
    const OTargetChange change = ChangeTo({1, 788, 0, 6, 2, 4}, 1, settings);
    const std::vector<std::string> findings = Session().TargetChangeFindings(change);
    const std::vector<std::string> expected = {
        ResStrFormat(4220, 2, 1),
        ResStrFormat(4246, 1, std::string("program 1")),
        ResStrFormat(4221, 3),
        ResStrFormat(4222, 1),
        ResStrFormat(4223, 1),
        ResStrFormat(4225, std::string("ROI 1")),
        ResStrFormat(4241, std::string("ROI 1"), std::string("does not fit")),
        std::string("      ") + ResStr(4253),
        "      'Combination 1'",
        ResStr(4230),
    };
    EXPECT_EQ(findings, expected);
}

TEST_F(SessionTarget, CancelInTheListLeavesEverythingAndOkChangesTheProject) {
    OQuillon& s = Session();
    FillClassicProject(s);
    settings.SetInt("DefaultOSSettings", "ZRX_VETA_32_NUMBER_CFTOOL_ROI", 1);
    const ZRINFO before = s.DeviceInfo();
    OTargetChange change = ChangeTo({1, 788, 0, 6, 2, 4}, 1, settings);
    change.useManualTypes = 1;
    ui.AnswerList(MsgResult::Cancel);
    EXPECT_EQ(s.ChangeTargetSystem(change), 0);
    EXPECT_EQ(s.PartSets().iGetNum(), 3);
    EXPECT_EQ(s.DeviceInfo(), before);
    ASSERT_EQ(ui.Transcript().size(), 1u);
    EXPECT_EQ(ui.Transcript()[0].caption, ResStr(4247));
    EXPECT_EQ(ui.Transcript()[0].text, ResStr(4219));
    EXPECT_EQ(ui.Transcript()[0].detail, ResStr(4226));

    ui.AnswerList(MsgResult::Ok);
    ASSERT_EQ(s.ChangeTargetSystem(change), 1);
    EXPECT_EQ(s.PartSets().iGetNum(), 1);
    OType_ZRPartSet& set = *s.opGetPartSet(0);
    EXPECT_EQ(set.iGetNum_SubTypes(), 2);
    EXPECT_EQ(set.TeachParts().GetAt_NoSort(0)->iGetType(), 1);
    EXPECT_EQ(set.TeachParts().GetAt_NoSort(0)->iGetOrientation(), -2) << "marked unassigned";
    EXPECT_EQ(set.TeachParts().GetAt_NoSort(1)->iGetOrientation(), 0);
    EXPECT_EQ(set.TeachParts().GetAt_NoSort(2)->iGetOrientation(), 2);
    EXPECT_EQ(set.opGetSubType(0)->Vectors().iGetNum(), 8) << "sample parts exist: kept";
    EXPECT_EQ(ToolNames(set), (std::vector<std::string>{"ROI 2", "Combination 1"}))
        << "the incompatible ROI went; one ROI is allowed";
    EXPECT_EQ(set.opGetSubType(0)->Vectors().opGetAt(0)->iGetNumOfVectors(), 14)
        << "its feature record went with it";
    EXPECT_EQ(s.DeviceInfo(), change.deviceInfo);
    EXPECT_EQ(s.GetTargetSystem(), change.target);
    EXPECT_EQ(settings.iGetInt("Settings", "TARGET_SYSTEM_ORI", -1), 4);
    EXPECT_EQ(settings.iGetInt("Settings", "TARGET_SYSTEM_PARTSINSET", -1), 2);
    EXPECT_EQ(settings.iGetInt("Settings", "PROJECT_USE_MANUALTYPES", -1), 1);
    EXPECT_EQ(settings.iGetInt("Settings", "PROJECT_USE_MANUALORIENTATION", -1), 0);
    EXPECT_EQ(owner.modified, 1);
    EXPECT_EQ(owner.recomputed, 3 + 1) << "the three tools, then the change";
    const auto texts = ui.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(), ResStrFormat(4251, 1)), texts.end());
}

TEST_F(SessionTarget, APartIgnoredAtTeachStaysIgnoredWhenItsTypeGoes) {
    OQuillon& s = Session();
    ASSERT_TRUE(s.bSetUpNewProject({1, 788, 0, 6, 3, 8}, {}));
    OType_ZRPartSet& set = *s.opGetPartSet(0);
    for (int orientation : {3, -3, 0, -2}) {
        OType_Part part;
        part.SetType(orientation == -2 ? 1 : 3);
        part.SetOrientation(orientation);
        set.TeachParts().Add(part);
    }
    ASSERT_EQ(s.ChangeTargetSystem(ChangeTo({1, 788, 0, 6, 2, 8}, 1, settings)), 1);
    std::vector<std::pair<int, int>> parts;
    for (int i = 0; i < set.TeachParts().iGetSize(); ++i) {
        const OType_Part& part = *set.TeachParts().GetAt_NoSort(i);
        parts.emplace_back(part.iGetType(), part.iGetOrientation());
    }
    EXPECT_EQ(parts, (std::vector<std::pair<int, int>>{{1, -3}, {1, -3}, {1, 0}, {1, -2}}))
        << "a type beyond the limit leaves every part unassigned, none taught";
}

TEST_F(SessionTarget, AProgramWithoutSamplePartsLosesItsSurplusOrientations) {
    OQuillon& s = Session();
    ASSERT_TRUE(s.bSetUpNewProject({1, 788, 0, 6, 1, 8}, {}));
    TwelveBasicVectors(*s.opGetActualPartSet(), 8);
    ASSERT_EQ(s.ChangeTargetSystem(ChangeTo({1, 788, 0, 6, 1, 3}, 1, settings)), 1);
    const OType_ZRPartSet_SubType& type = *s.opGetActualPartSet()->opGetSubType(0);
    EXPECT_EQ(type.Vectors().iGetNum(), 3);
    EXPECT_EQ(type.iGetNumOrientations(), 3);
    EXPECT_TRUE(ui.Texts().empty()) << "nothing to report, no undo data";
}

TEST_F(SessionTarget, FeatureOptionSevenFollowsTheFamily) {
    OQuillon& s = Session();
    ASSERT_TRUE(s.bSetUpNewProject({9, 818, 0, 6, 1, 8}, {}));
    OType_ZRPartSet& set = *s.opGetActualPartSet();
    OType_VectorArray& a = set.opGetSubType(0)->Vectors().Add();
    OType_Vector v;
    v.factor = 1.5;
    a.Add(v);
    ASSERT_EQ(s.ChangeTargetSystem(ChangeTo({10, 818, 0, 6, 1, 8}, 1, settings)), 1);
    EXPECT_TRUE(FeatureOption::bGet(a.At(0).option, FeatureOption::kNotForQuality));
    EXPECT_EQ(a.At(0).factor, 1.5);
    // To a classic edition: the layout changes, so the vectors go and are taught again.
    OType_VectorArray& b = set.opGetSubType(0)->Vectors().Add();
    b.Add(v);
    OTargetChange classic = ChangeTo({1, 788, 0, 6, 1, 8}, 1, settings);
    classic.interactive = false;
    ASSERT_EQ(s.ChangeTargetSystem(classic), 1);
    EXPECT_EQ(set.iGetFixedFeatures(), 12);
    EXPECT_EQ(set.opGetSubType(0)->Vectors().iGetNum(), 0);
}

struct SessionTargetWithApplication : SessionTarget {
    SessionTargetWithApplication() : SessionTarget(true) {}
};

TEST_F(SessionTargetWithApplication, UndoDataIsWarnedAboutWithACheckMark) {
    OQuillon& s = Session();
    ASSERT_TRUE(s.bSetUpNewProject({1, 788, 0, 6, 1, 8}, {}));
    RegisterClassicKinds(*s.opGetActualPartSet());
    s.AddTool(*s.opGetActualPartSet(), 3, 22, 0);
    ASSERT_TRUE(s.opGetActualPartSet()->UndoRedo().bHasUndoData());
    const OTargetChange change = ChangeTo({2, 788, 0, 6, 1, 8}, 1, settings);
    ASSERT_TRUE(s.TargetChangeFindings(change).empty());
    ui.ExpectCheckMarkMessage(MsgResult::Cancel, false, ResStr(4226));
    EXPECT_EQ(s.ChangeTargetSystem(change), 0);
    EXPECT_EQ(s.GetTargetSystem().hardware, 1);
    ui.ExpectCheckMarkMessage(MsgResult::Ok, true, ResStr(4226));
    EXPECT_EQ(s.ChangeTargetSystem(change), 1);
    EXPECT_EQ(settings.iGetInt("Settings", "WARNING_DISABLE_RESET_UNDODATA", 0), 1);
    EXPECT_EQ(s.GetTargetSystem().hardware, 2);
    s.AddTool(*s.opGetActualPartSet(), 3, 22, 0);
    EXPECT_EQ(s.ChangeTargetSystem(ChangeTo({0, 788, 0, 6, 1, 8}, 1, settings)), 1);
    EXPECT_TRUE(ui.bAllScriptUsed());
    EXPECT_EQ(ui.Transcript().size(), 2u) << "ticked: not asked again";
}

TEST_F(SessionTarget, WithoutAnApplicationTheUndoWarningIsAPlainMessage) {
    OQuillon& s = Session();
    ASSERT_TRUE(s.bSetUpNewProject({1, 788, 0, 6, 1, 8}, {}));
    RegisterClassicKinds(*s.opGetActualPartSet());
    s.AddTool(*s.opGetActualPartSet(), 3, 22, 0);
    ui.ExpectMessage(MsgResult::Cancel, ResStr(4226));
    EXPECT_EQ(s.ChangeTargetSystem(ChangeTo({2, 788, 0, 6, 1, 8}, 1, settings)), 0);
    ASSERT_EQ(ui.Transcript().size(), 1u);
    EXPECT_EQ(ui.Transcript()[0].kind, InteractionKind::Message);
}

}  // namespace
