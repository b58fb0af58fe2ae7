// Decodes a device-information record; an accepted one must encode and decode to the same
// record.
#include "../FuzzSeeds.h"
#include "../SeedBuilders.h"
#include "model/device/ZRINFO.h"

using namespace fuzzseeds;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ZRINFO info;
    if (!info.iDecode({data, size})) {
        Check(info == ZRINFO());
        return 0;
    }
    const Bytes first = info.Encode();
    ZRINFO again;
    Check(again.iDecode(first) == 1);
    Check(again == info);
    Check(again.Encode() == first);
    // The accessors stay inside the record whatever it holds.
    for (size_t offset : {size_t{0}, ZRINFO::kSize - 2, ZRINFO::kSize - 1, ZRINFO::kSize})
        info.SetU16(offset, again.u16(offset));
    Check(info.Text(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength).size() <
          ZRINFO::kDeviceTypeLength + 1);
    return 0;
}

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    ZRINFO info;
    info.SetU16(ZRINFO::kHardwareCode, 0x0402);
    info.SetText(ZRINFO::kDeviceType, ZRINFO::kDeviceTypeLength, "Quillon Q12");
    return {info.Encode(), ZRINFO().Encode()};
}
