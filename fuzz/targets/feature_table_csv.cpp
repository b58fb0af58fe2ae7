// Feature tables from arbitrary text, for both device families; a table that was read is
// taught and evaluated by the classifier of its family.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "../FuzzSeeds.h"
#include "classification/FeatureTableCsv.h"
#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/OClassifierHost.h"
#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

class OFuzzHost : public OHeadlessClassifierHost {
  public:
    explicit OFuzzHost(int family) : m_family(family) {
        m_info.SetU16(ZRINFO::kHardwareCode, family == 2 ? 7 : 2);
        m_info.SetU16(ZRINFO::kOsVersion, 818);
    }
    UserInteraction& UI() override { return m_ui; }
    OType_ZRPartSet* opGetActualPartSet() override { return &partSet; }
    const OType_ProjectProperties& ProjectProperties() const override { return m_properties; }
    const ZRINFO& DeviceInfo() const override { return m_info; }
    int iGetFixedFeatureCount() const override { return m_family == 2 ? 0 : 12; }
    int iGetToolCapacity() const override { return m_family == 2 ? 256 : 20; }
    int iGetDeviceOrientationCount() const override { return 8; }
    int iGetDeviceTypeCount() const override { return 16; }

    OType_ZRPartSet partSet;

  private:
    int m_family;
    OUserInteraction_Scripted m_ui;
    OType_ProjectProperties m_properties;
    ZRINFO m_info;
};

template <typename Classifier>
void Teach(const OFeatureTable& table, int family) {
    OFuzzHost host(family);
    FeatureTableCsv::AddParts(table, host.partSet);
    Classifier classifier(host);
    classifier.TeachFromParts(host.partSet);
    classifier.EvaluateTestParts(host.partSet, 0);
    std::vector<OEvaluationRow> rows;
    classifier.BuildEvaluationList(rows);
    Require(classifier.GetTeachError() == 0 || classifier.GetTeachError() == 20 ||
            classifier.GetTeachError() == 21);
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    const std::string seeds[] = {
        "kind,type,orientation,A,B\nteach,1,1,10,20\nteach,1,2,30,20\ntest,1,1,11,20\n",
        "teach,1,1,\"AB\",,3.5\nteach,2,1,\"A\"\"B\",1,2e3\ntest,2,-1,,,\n",
        "# comment\r\n\r\nteach,1,1,0\nteach,1,1,-0\ntest,1,1,1e-300\n",
        "kind\ttype\torientation\tA\tB\r\nteach\t1\t1\t10\t0.30000000000000004\r\n"
        "test\t2\t-1\t\"a, b\"\t\r\n",
    };
    std::vector<std::vector<uint8_t>> result;
    for (const auto& s : seeds)
        result.emplace_back(s.begin(), s.end());
    return result;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;  // keeps each run short; the reader itself has no limit here
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    for (int family : {1, 2}) {
        OFeatureTable table;
        std::string error;
        const bool ok = FeatureTableCsv::bRead(text, family, table, error);
        Require(ok == error.empty());
        if (!ok) continue;
        Require(table.iGetNumFeatures() <= FeatureTableCsv::iMaxFeatures(family));
        for (const OFeatureTableRow& row : table.rows)
            Require(static_cast<int>(row.features.size()) == table.iGetNumFeatures());
        if (table.rows.empty()) continue;
        if (family == 1)
            Teach<OClass_ConfV12>(table, family);
        else
            Teach<OClass_KVT>(table, family);
    }
    return 0;
}
