// Reads a pattern-matching template array followed by search parameters. Whatever is
// accepted writes and reads back to identical bytes (objects are not compared: the doubles
// may be NaN); a template array that stops early keeps only templates that round-trip.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "tools/patternmatching/OPatternMatching_V2.h"

using namespace fuzzseeds;

namespace {

template <class T>
Bytes Written(const T& object) {
    OByteStream_Memory s;
    Check(object.AddObjectDataTo(s) == 1);
    Bytes bytes = s.TakeBytes();
    Check(bytes.size() == object.GetObjectSize());
    return bytes;
}

template <class T>
void CheckRoundTrip(const T& object) {
    const Bytes first = Written(object);
    auto s = OByteStream_Memory::View(first);
    T back;
    Check(back.GetObjectDataFrom(s, true) == 1);
    Check(s.bIsOk() && s.iRemaining() == 0);
    Check(Written(back) == first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto in = OByteStream_Memory::View({data, size});
    OPatternMatching_V2_TemplateArray templates;
    const int arrayRead = templates.GetObjectDataFrom(in, true);
    for (int i = 0; i < templates.iGetSize(); ++i)
        CheckRoundTrip(*templates.GetAt(i));
    if (arrayRead == 1) CheckRoundTrip(templates);
    if (!in.bIsOk()) return 0;
    OPatternMatching_V2_SearchParameter search;
    if (search.GetObjectDataFrom(in, true) == 1)
        CheckRoundTrip(search);
    else
        Check(search == OPatternMatching_V2_SearchParameter());
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OPatternMatching_V2_TemplateArray templates;
    for (int n = 0; n < 2; ++n) {
        auto t = std::make_unique<OPatternMatching_V2_Template>();
        t->name = n == 0 ? "edge" : "hole";
        t->image = SampleImage(n == 0 ? 1 : 3);
        t->extraBytes = {1, 2, 3};
        templates.Add(std::move(t));
    }
    OPatternMatching_V2_SearchParameter search;
    search.extraBytes = {9, 9};
    OByteStream_Memory s;
    templates.AddObjectDataTo(s);
    search.AddObjectDataTo(s);
    OByteStream_Memory empty;
    OPatternMatching_V2_TemplateArray().AddObjectDataTo(empty);
    OPatternMatching_V2_SearchParameter().AddObjectDataTo(empty);
    return {s.TakeBytes(), empty.TakeBytes()};
}
