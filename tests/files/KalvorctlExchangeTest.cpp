// kalvorctl export and import: every kind there and back through the command line, on the
// same operations as the desktop.
#include "FilesTestSupport.h"
#include "classification/FeatureTableCsv.h"
#include "model/coordtrans/OCoordTrans_CalibrationPlate.h"
#include "support/CtlRun.h"

namespace {

using namespace filestest;

struct KalvorctlExchange : FilesFixture {
    CtlRun Run(const std::vector<std::string>& args) {
        std::vector<std::string> all = args;
        all.push_back("--no-settings");
        return Ctl(dir.Path(), all);
    }
};

TEST_F(KalvorctlExchange, PartsFeaturesTextAndTeachDataGoThereAndBack) {
    MakeContourProject();
    session().ProjectData().Set(ProjectField::Engineer, "Grace");
    const std::vector<OPartShape> test = Shapes(set().TestParts());
    const OType_ZRPartSet_SubType taught = *set().opGetSubType(0);
    Save("source.zrp");

    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"export", "source.zrp", "parts", "test.zrl", "--test"},
          {"export", "source.zrp", "parts", "teach.txt"},
          {"export", "source.zrp", "features", "test.xls", "--test"},
          {"export", "source.zrp", "text", "doc.txt"},
          {"export", "source.zrp", "teachdata", "type.zrt", "--type", "1"}}) {
        const CtlRun run = Run(args);
        EXPECT_EQ(run.status, 0) << args[3] << ": " << run.err;
        EXPECT_EQ(run.out, args[3] + "\n");
    }
    OFeatureTable table;
    std::string error;
    ASSERT_TRUE(FeatureTableCsv::bReadFile(Path("test.xls"), 1, table, error)) << error;
    EXPECT_EQ(table.rows.size(), 4u);

    // Into a fresh project, written to a new file.
    NewProject(kFamily1);
    ASSERT_NE(session().AddTool(set(), 1, 30, 0), nullptr);
    ASSERT_NE(session().AddTool(set(), 2, 33, 0), nullptr);
    ASSERT_NE(session().AddTool(set(), 3, 22, 0), nullptr);
    Save("fresh.zrp");
    CtlRun run = Run({"import", "fresh.zrp", "parts", "test.zrl", "--test", "out.zrp"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Run({"import", "out.zrp", "text", "doc.txt"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Run({"import", "out.zrp", "teachdata", "type.zrt"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(Load(Path("out.zrp")), 1);
    EXPECT_EQ(Shapes(set().TestParts()), test);
    EXPECT_TRUE(set().TeachParts().bIsEmpty());
    EXPECT_EQ(session().ProjectData().Get(ProjectField::Engineer), "Grace");
    EXPECT_EQ(set().opGetSubType(0)->Vectors().opGetAt(0)->At(13).mean,
              taught.Vectors().opGetAt(0)->At(13).mean);
    ASSERT_EQ(Load(Path("fresh.zrp")), 1);
    EXPECT_TRUE(set().TestParts().bIsEmpty()) << "with OUT the project file stays as it was";
}

TEST_F(KalvorctlExchange, SeveralPartListsAndTheirFailures) {
    MakeContourProject();
    Save("source.zrp");
    ASSERT_EQ(Run({"export", "source.zrp", "parts", "a.zrl"}).status, 0);
    WriteFile(dir / "bad.zrl", Bytes("garbage"));
    NewProject(kFamily1);
    Save("target.zrp");
    CtlRun run = Run({"import", "target.zrp", "parts", "a.zrl", "a.zrl", "bad.zrl"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("bad.zrl"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "a.zrl\na.zrl\n");
    ASSERT_EQ(Load(Path("target.zrp")), 1);
    EXPECT_EQ(set().TeachParts().iGetSize(), 24) << "the files before the failure are kept";
}

TEST_F(KalvorctlExchange, ConfigurationsAndCalibrations) {
    NewProject(kFamily2);
    set().SetName("Cap");
    AddParts(set(), 3, 0);
    session().CoordTransformer() = CalibrateOnPlate(
        OCoordTrans_Tsai_CameraParameters::FromSensor(1280, 1280, 0.0048, 0.0048, 640, 512, 1),
        1e-3);
    Save("camera.kvp");
    for (const char* out : {"cap.kvc", "plate.kvtr", "plate.txt"}) {
        const std::string kind = std::string(out) == "cap.kvc" ? "config" : "calibration";
        const CtlRun run = Run({"export", "camera.kvp", kind, out});
        EXPECT_EQ(run.status, 0) << out << ": " << run.err;
    }
    EXPECT_EQ(Text(ReadFile(dir / "plate.txt")).rfind(ResStr(9823) + "\t", 0), 0u);

    NewProject(kFamily2);
    session().CoordTransformer().Reset();
    AddParts(set(), 0, 5);
    Save("empty.kvp");
    // The check program has parts: kept unless --replace-parts.
    CtlRun run = Run({"import", "empty.kvp", "config", "cap.kvc"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(Load(Path("empty.kvp")), 1);
    EXPECT_EQ(set().GetName(), "Cap");
    EXPECT_EQ(set().TestParts().iGetSize(), 5);
    run = Run({"import", "empty.kvp", "config", "cap.kvc", "--replace-parts"});
    ASSERT_EQ(run.status, 0) << run.err;
    run = Run({"import", "empty.kvp", "calibration", "plate.kvtr"});
    ASSERT_EQ(run.status, 0) << run.err;
    ASSERT_EQ(Load(Path("empty.kvp")), 1);
    EXPECT_EQ(set().TestParts().iGetSize(), 0);
    EXPECT_EQ(set().TeachParts().iGetSize(), 3);
    EXPECT_TRUE(session().CoordTransformer().bIsSetUp());
}

TEST_F(KalvorctlExchange, UsageAndRefusals) {
    MakeContourProject();
    Save("p.zrp");
    EXPECT_EQ(Run({"export", "p.zrp", "parts"}).status, 2);
    EXPECT_EQ(Run({"export", "p.zrp", "pictures", "x.bmp"}).status, 2);
    EXPECT_EQ(Run({"export", "p.zrp", "teachdata", "x.zrt", "--type", "0"}).status, 2);
    EXPECT_EQ(Run({"export", "p.zrp", "parts", "x.zrl", "--bogus"}).status, 2);
    EXPECT_EQ(Run({"import", "p.zrp", "features", "x.xls"}).status, 2);
    EXPECT_EQ(Run({"import", "p.zrp", "text", "a.txt", "b.txt"}).status, 2);
    // A name of another kind would need the dialog.
    CtlRun run = Run({"export", "p.zrp", "parts", "x.dat"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("nothing was done"), std::string::npos) << run.err;
    run = Run({"export", "p.zrp", "teachdata", "x.zrt", "--type", "3"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no part type 3"), std::string::npos) << run.err;
    run = Run({"export", "p.zrp", "config", "x.kvc"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(ResStr(2018)), std::string::npos) << run.err;
    run = Run({"export", "missing.zrp", "parts", "x.zrl"});
    EXPECT_EQ(run.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "x.zrl"));
}

}  // namespace
