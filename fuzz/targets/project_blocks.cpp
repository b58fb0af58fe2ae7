// Scans arbitrary bytes as a project file's block container. Every block the scan reports
// must lie at the offsets it says, FindBlock must agree with the scan for blocks it finds,
// and the stream position must be kept.
#include <cstdint>
#include <string>
#include <vector>

#include "../FuzzSeeds.h"
#include "document/files/ProjectBlocks.h"
#include "model/stream/OByteStream_Memory.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

std::vector<uint8_t> Concat(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

std::vector<uint8_t> Text(const std::string& s) {
    return {s.begin(), s.end()};
}

}  // namespace

std::vector<std::vector<uint8_t>> KalvorFuzzSeeds() {
    OByteStream_Memory padded;
    WriteBlock(padded, "TARGETSYSTEM", Text(std::string(150, 't')));
    WriteBlock(padded, "PARTTYPE_1", Text("abc"));
    return {
        padded.TakeBytes(),
        Concat({WrapUnpaddedBlock("A", Text(std::string(120, 'a'))), WrapUnpaddedBlock("EMPTY", {}),
                WrapUnpaddedBlock("B", Text("b"))}),
        Text("[BLOCKSTART][BLOCKNAME=X][BLOCKLENGTH=   99999999]short"),
    };
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto stream = OByteStream_Memory::View({data, size});
    stream.bSeek(size / 3);
    const uint64_t position = stream.iGetPos();
    std::vector<OProjectBlock> blocks;
    const bool complete = ScanBlocks(stream, blocks);
    Check(stream.iGetPos() == position);
    (void)complete;
    for (const OProjectBlock& block : blocks) {
        Check(block.dataOffset <= size);
        uint64_t offset = 0, length = 0;
        if (FindBlock(stream, block.name, offset, length)) {
            Check(length > 0 && offset + length < size);
            std::vector<uint8_t> bytes;
            Check(ReadBlock(stream, block.name, bytes));
            Check(bytes.size() == length);
            Check(std::equal(bytes.begin(), bytes.end(), data + offset));
        }
        Check(stream.iGetPos() <= size);
        stream.bSeek(position);
    }
    std::vector<std::string> names;
    ListBlocks(stream, names);
    Check(names.size() == blocks.size());
    return 0;
}
