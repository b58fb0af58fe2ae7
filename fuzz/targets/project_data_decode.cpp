// Decodes the project documentation record; an accepted one must encode and decode to the
// same record, and its text form must read back to it.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "model/project/OType_ProjectData.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    OType_ProjectData record;
    if (!record.iDecode({data, size})) {
        Check(record.bIsEmpty());
        return 0;
    }
    const Bytes first = record.Encode();
    OType_ProjectData again;
    Check(again.iDecode(first) == 1);
    Check(again == record);
    Check(again.Encode() == first);
    OType_ProjectData fromText;
    Check(fromText.iFromText(record.ToText()) == 1);
    Check(fromText == record);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OType_ProjectData record;
    record.Set(ProjectField::ProjectName, "Feeder line 3");
    record.Set(ProjectField::Notes, "two\r\nlines \\ and a backslash");
    record.Set(ProjectField::DeviceOptions, "encoder");
    return {record.Encode(), OType_ProjectData().Encode()};
}
