// Teach-Data computation and test-part classification of both classifiers on large part
// sets: family 1 with 25,000 parts x 32 features, family 2 with 4000 parts x 256 features.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"
#include "classification/OClassifierHost.h"
#include "model/device/ZRINFO.h"
#include "model/part/OType_Part.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/project/OType_ProjectProperties.h"
#include "platform/OUserInteraction_Scripted.h"

namespace {

class OBenchHost : public OHeadlessClassifierHost {
  public:
    explicit OBenchHost(int family) : m_family(family) {
        m_info.SetU16(ZRINFO::kHardwareCode, family == 2 ? 7 : 2);
        m_info.SetU16(ZRINFO::kOsVersion, 818);
        partSet.SetFixedFeatures(family == 2 ? 0 : 12);
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

constexpr int kTypes = 2;
constexpr int kOrientations = 4;

// Parts of kTypes x kOrientations classes whose feature means lie apart, with some spread
// and, for family 2, a few invalid values.
void AddParts(OType_PartArray& list, int count, int features, bool invalidValues, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> spread(-2.0, 2.0);
    std::uniform_int_distribution<int> classOf(0, kTypes * kOrientations - 1);
    std::uniform_int_distribution<int> percent(0, 99);
    for (int i = 0; i < count; ++i) {
        const int cls = classOf(rng);
        auto part = std::make_unique<OType_Part>();
        part->SetType(cls / kOrientations + 1);
        part->SetOrientation(cls % kOrientations + 1);
        OType_FeatureArray& array = part->Features();
        for (int f = 0; f < features; ++f) {
            OType_Feature feature;
            feature.type = f;
            feature.value = 100.0 + 10.0 * f + 40.0 * cls * ((f % 3) + 1) + spread(rng);
            feature.valid = !(invalidValues && percent(rng) == 0);
            array.Add(std::move(feature));
        }
        OType_Part* added = list.Add(std::move(part));
        added->SetRecordNo(list.iGetSize());
    }
}

void SetUpTypes(OType_ZRPartSet& set) {
    for (int t = 0; t < kTypes; ++t)
        set.opAddSubType()->SetTolerance(5);
}

template <typename Classifier>
void BM_TeachFromParts(benchmark::State& state, int family, int parts, int features) {
    OBenchHost host(family);
    SetUpTypes(host.partSet);
    AddParts(host.partSet.TeachParts(), parts, features, family == 2, 1);
    Classifier classifier(host);
    for (auto _ : state) {
        classifier.TeachFromParts(host.partSet);
        benchmark::DoNotOptimize(classifier.GetTeachError());
    }
    state.SetItemsProcessed(state.iterations() * parts);
}

template <typename Classifier>
void BM_EvaluateTestParts(benchmark::State& state, int family, int parts, int features) {
    OBenchHost host(family);
    SetUpTypes(host.partSet);
    AddParts(host.partSet.TeachParts(), 1000, features, family == 2, 1);
    AddParts(host.partSet.TestParts(), parts, features, family == 2, 2);
    Classifier classifier(host);
    classifier.TeachFromParts(host.partSet);
    for (auto _ : state) {
        classifier.EvaluateTestParts(host.partSet, 0);
        benchmark::DoNotOptimize(host.partSet.TestParts().GetAt(0)->dGetResultValue(0));
    }
    state.SetItemsProcessed(state.iterations() * parts);
}

void BM_Family1_TeachFromParts_25000x32(benchmark::State& state) {
    BM_TeachFromParts<OClass_ConfV12>(state, 1, 25000, 32);
}
void BM_Family1_EvaluateTestParts_25000x32(benchmark::State& state) {
    BM_EvaluateTestParts<OClass_ConfV12>(state, 1, 25000, 32);
}
void BM_Family2_TeachFromParts_4000x256(benchmark::State& state) {
    BM_TeachFromParts<OClass_KVT>(state, 2, 4000, 256);
}
void BM_Family2_EvaluateTestParts_4000x256(benchmark::State& state) {
    BM_EvaluateTestParts<OClass_KVT>(state, 2, 4000, 256);
}

}  // namespace

BENCHMARK(BM_Family1_TeachFromParts_25000x32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Family1_EvaluateTestParts_25000x32)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Family2_TeachFromParts_4000x256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Family2_EvaluateTestParts_4000x256)->Unit(benchmark::kMillisecond);
