// Random feature tables taught and classified by the classifiers and by the plain reference
// implementations; every table cell, list and part result must agree exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "ReferenceClassifiers.h"
#include "TestClassifierHost.h"
#include "classification/OClass_ConfV12.h"
#include "classification/OClass_KVT.h"

using namespace TestParts;

namespace {

constexpr int kScenarios = 150;

struct Scenario {
    int family = 1;
    int hardware = 2, os = 818;
    int types = 1;
    int orientations[16] = {};
    int tolerance[16] = {};
    int features = 1;
    std::vector<bool> textColumn;
    std::vector<Reference::Part> teach;
    std::vector<Reference::Part> test;
};

double Round2(double v) {
    return std::round(v * 100.0) / 100.0;
}

Scenario MakeScenario(int family, std::mt19937& rng) {
    auto uniform = [&rng](double a, double b) {
        return std::uniform_real_distribution<>(a, b)(rng);
    };
    auto pick = [&rng](int a, int b) { return std::uniform_int_distribution<>(a, b)(rng); };
    Scenario s;
    s.family = family;
    if (family == 1) {
        const int devices[][2] = {{2, 818}, {1, 0x300}, {2, 0x300}, {4, 0x300}};
        const int d = pick(0, 3);
        s.hardware = devices[d][0];
        s.os = devices[d][1];
        s.features = pick(0, 5) == 0 ? 32 : pick(1, 8);
    } else {
        s.hardware = 7;
        s.features = pick(0, 7) == 0 ? 256 : pick(1, 12);
    }
    s.types = pick(1, 3);
    s.textColumn.assign(static_cast<size_t>(s.features), false);
    if (family == 2) {
        for (int f = 0; f < s.features; ++f)
            s.textColumn[static_cast<size_t>(f)] = pick(0, 6) == 0;
    }
    const char* texts[] = {"AB", "AC", "ABC", "X"};
    // Class centres; a share of them equal the first class's, so that classes touch.
    std::vector<double> first(static_cast<size_t>(s.features));
    for (double& c : first)
        c = Round2(uniform(-20.0, 300.0));
    for (int t = 0; t < s.types; ++t) {
        s.orientations[t] = pick(1, 4);
        s.tolerance[t] = pick(0, 20);
        for (int o = 0; o < s.orientations[t]; ++o) {
            std::vector<double> centre(static_cast<size_t>(s.features));
            std::vector<int> text(static_cast<size_t>(s.features));
            std::vector<bool> allInvalid(static_cast<size_t>(s.features));
            for (int f = 0; f < s.features; ++f) {
                centre[f] = pick(0, 3) == 0 ? first[f] : Round2(uniform(-20.0, 300.0));
                text[f] = pick(0, 3);
                allInvalid[f] = family == 2 && pick(0, 19) == 0;
            }
            const double spread = Round2(uniform(0.0, 6.0));
            // The last orientation always gets parts, an inner one may stay empty.
            const int parts = o + 1 < s.orientations[t] && pick(0, 9) == 0 ? 0 : pick(1, 5);
            for (int i = 0; i < parts; ++i) {
                Reference::Part p;
                p.type = t + 1;
                p.orientation = o + 1;
                for (int f = 0; f < s.features; ++f) {
                    p.values.push_back(Round2(centre[f] + uniform(-spread, spread)));
                    const bool invalid = allInvalid[f] || (family == 2 && pick(0, 9) == 0);
                    p.valid.push_back(!invalid);
                    std::string value;
                    if (s.textColumn[f] && !invalid)
                        value = texts[pick(0, 4) == 0 ? pick(0, 3) : text[f]];
                    p.texts.push_back(value);
                    if (s.textColumn[f]) p.values.back() = 0.0;
                }
                s.teach.push_back(std::move(p));
            }
        }
    }
    std::shuffle(s.teach.begin(), s.teach.end(), rng);
    for (int i = 0; i < 15; ++i) {
        Reference::Part p =
            s.teach[static_cast<size_t>(pick(0, static_cast<int>(s.teach.size()) - 1))];
        for (int f = 0; f < s.features; ++f) {
            if (!s.textColumn[f]) p.values[f] = Round2(p.values[f] + uniform(-15.0, 15.0));
            if (family == 2 && pick(0, 9) == 0) {
                p.valid[f] = !p.valid[f];
                if (s.textColumn[f]) p.texts[f] = p.valid[f] ? texts[pick(0, 3)] : "";
            }
        }
        s.test.push_back(std::move(p));
    }
    return s;
}

OType_Part ToPart(const Reference::Part& r, const Scenario& s) {
    OType_Part part;
    part.SetType(r.type);
    part.SetOrientation(r.orientation);
    for (int f = 0; f < s.features; ++f) {
        OType_Feature feature;
        feature.type = f;
        feature.value = r.values[f];
        feature.valid = r.valid[f];
        if (s.textColumn[f]) {
            feature.valueType = FeatureValueType::Text;
            feature.textValue = r.texts[f];
        }
        part.Features().Add(feature);
    }
    return part;
}

void SetUpHost(OTestClassifierHost& host, const Scenario& s) {
    host.SetDevice(s.hardware, s.os);
    host.fixedFeatures = s.family == 2 ? 0 : 12;
    host.toolCapacity = s.family == 2 ? 256 : 20;
    AddTypes(host.partSet, s.types, 5);
    for (int t = 0; t < s.types; ++t)
        host.partSet.opGetSubType(t)->SetTolerance(s.tolerance[t]);
    for (const Reference::Part& p : s.teach)
        host.partSet.TeachParts().Add(ToPart(p, s));
    for (const Reference::Part& p : s.test)
        host.partSet.TestParts().Add(ToPart(p, s));
}

template <typename Ref>
void SetUpReference(Ref& ref, const Scenario& s) {
    ref.nTypes = s.types;
    for (int t = 0; t < s.types; ++t)
        ref.tol[t] = s.tolerance[t];
}

#define EXPECT_SAME(engine, reference, what) \
    EXPECT_EQ(engine, reference) << what << " " << t << "/" << o << " f" << f

void CompareFamily1(const OClass_ConfV12& c, const Reference::Family1& r, const std::string& when) {
    ASSERT_EQ(c.iGetTypeCount(), r.nTypes) << when;
    ASSERT_EQ(c.iGetFeatureCount(), r.nFeat) << when;
    for (int t = 0; t < r.nTypes; ++t) {
        ASSERT_EQ(c.iGetOrientationCount(t), r.oris[t]) << when << " type " << t;
        for (int o = 0; o < r.oris[t]; ++o) {
            for (int f = 0; f < r.nFeat; ++f) {
                OClassCell cell;
                ASSERT_TRUE(c.bGetCell(t, o, f, cell));
                EXPECT_SAME(cell.mean, static_cast<double>(r.mean[t][o][f]), when + " mean");
                EXPECT_SAME(cell.minimum, static_cast<double>(r.mn[t][o][f]), when + " min");
                EXPECT_SAME(cell.maximum, static_cast<double>(r.mx[t][o][f]), when + " max");
                EXPECT_SAME(cell.lowerBound, static_cast<double>(r.lo[t][o][f]), when + " lower");
                EXPECT_SAME(cell.upperBound, static_cast<double>(r.up[t][o][f]), when + " upper");
                EXPECT_SAME(cell.usedToleranceBelow, r.usedLo[t][o][f], when + " used below");
                EXPECT_SAME(cell.usedToleranceAbove, r.usedUp[t][o][f], when + " used above");
            }
            if (o > 0) {
                const int f = -1;
                EXPECT_SAME(c.dGetDecisionThreshold(t, o), static_cast<double>(r.thr[t][o]),
                            when + " threshold");
            }
        }
    }
    for (int t = 0; t < r.nTypes; ++t)
        for (int u = 0; u < r.nTypes; ++u)
            for (int o = 0; o < r.oris[t]; ++o)
                for (int f = 0; f < r.oris[u]; ++f)
                    EXPECT_SAME(c.iGetSeparatingFeature(t, o, u, f), r.sep[t][u][o][f],
                                when + " separating feature to type " + std::to_string(u));
    EXPECT_EQ(c.GetE20List(), r.e20) << when;
    EXPECT_EQ(c.GetE21List(), r.e21) << when;
    EXPECT_EQ(c.GetWarningList(), r.warnings) << when;
    EXPECT_EQ(c.iGetTeachErrorCode(), r.error) << when;
}

void CompareFamily2(const OClass_KVT& c, const Reference::Family2& r, const std::string& when) {
    ASSERT_EQ(c.iGetTypeCount(), r.nTypes) << when;
    ASSERT_EQ(c.iGetFeatureCount(), r.nFeat) << when;
    for (int t = 0; t < r.nTypes; ++t) {
        ASSERT_EQ(c.iGetOrientationCount(t), r.oris[t]) << when << " type " << t;
        for (int o = 0; o < r.oris[t]; ++o) {
            for (int f = 0; f < r.nFeat; ++f) {
                OClassCell cell;
                ASSERT_TRUE(c.bGetCell(t, o, f, cell));
                const int i = Reference::Family2::Idx(t, o, f);
                EXPECT_SAME(cell.mean, r.mean[i], when + " mean");
                EXPECT_SAME(cell.minimum, r.mn[i], when + " min");
                EXPECT_SAME(cell.maximum, r.mx[i], when + " max");
                EXPECT_SAME(cell.lowerBound, r.lo[i], when + " lower");
                EXPECT_SAME(cell.upperBound, r.up[i], when + " upper");
                EXPECT_SAME(cell.usedToleranceBelow, r.usedLo[i], when + " used below");
                EXPECT_SAME(cell.usedToleranceAbove, r.usedUp[i], when + " used above");
                EXPECT_SAME(cell.state, r.state[i], when + " state");
                EXPECT_SAME(cell.classText, r.text[i], when + " class text");
                EXPECT_SAME(cell.textFeature, static_cast<bool>(r.isText[f]), when + " text");
            }
            if (o > 0) {
                const int f = -1;
                EXPECT_SAME(c.dGetDecisionThreshold(t, o), r.thr[t][o], when + " threshold");
            }
        }
    }
    for (int t = 0; t < r.nTypes; ++t)
        for (int u = 0; u < r.nTypes; ++u)
            for (int o = 0; o < r.oris[t]; ++o)
                for (int f = 0; f < r.oris[u]; ++f)
                    EXPECT_SAME(c.iGetSeparatingFeature(t, o, u, f),
                                r.sep[Reference::Family2::Sep(t, u, o, f)],
                                when + " separating feature to type " + std::to_string(u));
    EXPECT_EQ(c.GetE20List(), r.e20) << when;
    EXPECT_EQ(c.GetE21List(), r.e21) << when;
    EXPECT_EQ(c.iGetTeachErrorCode(), r.error) << when;
}

void ComparePart(const OType_Part& part, const Reference::Part& r, bool classified,
                 const std::string& what) {
    if (classified) {
        EXPECT_EQ(part.iGetType(), r.resultType) << what;
        EXPECT_EQ(part.iGetOrientation(), r.resultOrientation) << what;
        EXPECT_EQ(part.iGetTolerance(), r.tolerance) << what;
    }
    EXPECT_EQ(part.dGetResultValue(0), r.r0) << what;
    EXPECT_EQ(part.dGetResultValue(1), r.r1) << what;
    EXPECT_EQ(part.dGetResultValue(2), r.r2) << what;
    for (size_t f = 0; f < r.deviation.size(); ++f)
        EXPECT_EQ(part.Features().At(static_cast<int>(f)).deviation, r.deviation[f])
            << what << " feature " << f;
}

template <typename Engine, typename Ref, typename Compare>
void RunScenario(int family, unsigned seed, Compare compare) {
    std::mt19937 rng(seed);
    Scenario s = MakeScenario(family, rng);
    SCOPED_TRACE("family " + std::to_string(family) + " seed " + std::to_string(seed));
    OTestClassifierHost host;
    SetUpHost(host, s);
    Engine engine(host);
    auto ref = std::make_unique<Ref>();
    SetUpReference(*ref, s);
    if constexpr (std::is_same_v<Ref, Reference::Family1>) {
        ref->edition = s.hardware == 2 && s.os == 0x300;
        ref->newer = s.hardware == 4 || s.os == 818;
    } else {
        for (int f = 0; f < s.features; ++f)
            ref->isText[f] = s.textColumn[f];
    }

    engine.TeachFromParts(host.partSet);
    ref->Teach(s.teach);
    compare(engine, *ref, std::string("teach"));
    for (size_t i = 0; i < s.teach.size(); ++i)
        ComparePart(*host.partSet.TeachParts().GetAt(static_cast<int>(i)), s.teach[i], false,
                    "sample part " + std::to_string(i));
    for (int tA = 0; tA < ref->nTypes; ++tA)
        for (int oA = 0; oA < ref->oris[tA]; ++oA)
            for (int tB = 0; tB < ref->nTypes; ++tB)
                for (int oB = 0; oB < ref->oris[tB]; ++oB) {
                    double best = -1;
                    for (int f = 0; f < ref->nFeat; ++f) {
                        if constexpr (std::is_same_v<Ref, Reference::Family1>) {
                            best = std::max(best, ref->S(tA, oA, tB, oB, f));
                        } else {
                            best =
                                std::max(best, ref->S(Ref::Idx(tA, oA, f), Ref::Idx(tB, oB, f), f));
                        }
                    }
                    EXPECT_EQ(engine.GetSeparation(tA, oA, tB, oB, -1), best)
                        << tA << "/" << oA << " " << tB << "/" << oB;
                }

    engine.EvaluateTestParts(host.partSet, 0);
    ref->Reload();
    compare(engine, *ref, std::string("evaluate"));
    for (size_t i = 0; i < s.test.size(); ++i) {
        ref->Classify(s.test[i]);
        ComparePart(*host.partSet.TestParts().GetAt(static_cast<int>(i)), s.test[i], true,
                    "test part " + std::to_string(i));
    }
}

TEST(RandomizedFamily1, AgreesWithThePlainImplementation) {
    for (unsigned seed = 1; seed <= kScenarios; ++seed) {
        RunScenario<OClass_ConfV12, Reference::Family1>(1, seed, CompareFamily1);
        if (::testing::Test::HasFailure()) break;
    }
}

TEST(RandomizedFamily2, AgreesWithThePlainImplementation) {
    for (unsigned seed = 1; seed <= kScenarios; ++seed) {
        RunScenario<OClass_KVT, Reference::Family2>(2, seed, CompareFamily2);
        if (::testing::Test::HasFailure()) break;
    }
}

}  // namespace
