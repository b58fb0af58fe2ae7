// The block container: exact bytes written, and the scan rules on hand-made byte sequences.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/files/ProjectBlocks.h"
#include "model/stream/OByteStream_Memory.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string Text(const std::vector<uint8_t>& b) {
    return {b.begin(), b.end()};
}

// A block with the header written by hand: name, the length field text and the data.
std::string HandBlock(const std::string& name, const std::string& lengthField,
                      const std::string& data) {
    return "[BLOCKSTART][BLOCKNAME=" + name + "][BLOCKLENGTH=" + lengthField + "]" + data +
           "[BLOCKEND]";
}

std::string Block(const std::string& name, const std::string& data) {
    return HandBlock(name, std::to_string(data.size()), data);
}

// Data long enough that the next header never shares a window with this one.
std::string Filler(size_t n, char c = 'x') {
    return std::string(n, c);
}

TEST(ProjectBlocks, WriteBlockPadsTheLengthToTenCharacters) {
    OByteStream_Memory s;
    ASSERT_TRUE(WriteBlock(s, "AB", Bytes("xyz")));
    EXPECT_EQ(Text(std::vector<uint8_t>(s.Bytes().begin(), s.Bytes().end())),
              "[BLOCKSTART][BLOCKNAME=AB][BLOCKLENGTH=         3]xyz[BLOCKEND]");
}

TEST(ProjectBlocks, HeaderThenLengthPatchedInPlace) {
    OByteStream_Memory s;
    const int64_t field = WriteBlockHeader(s, "PARTTYPE_1");
    ASSERT_EQ(field, static_cast<int64_t>(
                         std::string("[BLOCKSTART][BLOCKNAME=PARTTYPE_1][BLOCKLENGTH=").size()));
    s.bWriteRaw("0123456789AB", 12);
    const uint64_t end = s.iGetPos();
    ASSERT_TRUE(RewriteBlockLength(s, static_cast<uint64_t>(field), 12));
    EXPECT_EQ(s.iGetPos(), end) << "the position returns to where it was";
    ASSERT_TRUE(WriteBlockEnd(s));
    const std::string text(s.Bytes().begin(), s.Bytes().end());
    EXPECT_EQ(text,
              "[BLOCKSTART][BLOCKNAME=PARTTYPE_1][BLOCKLENGTH=        12]0123456789AB[BLOCKEND]");
}

TEST(ProjectBlocks, UnknownBlocksAreWrappedUnpadded) {
    EXPECT_EQ(Text(WrapUnpaddedBlock("NEWER", Bytes("abcd"))),
              "[BLOCKSTART][BLOCKNAME=NEWER][BLOCKLENGTH=4]abcd[BLOCKEND]");
    EXPECT_EQ(Text(WrapUnpaddedBlock("EMPTY", {})),
              "[BLOCKSTART][BLOCKNAME=EMPTY][BLOCKLENGTH=0][BLOCKEND]");
}

TEST(ProjectBlocks, ScanFindsEveryBlockWithItsOffsets) {
    const std::string a = Block("A", Filler(120));
    const std::string b = HandBlock("BB", "        30", Filler(30, 'y'));
    const std::string c = Block("C", "z");
    const std::string file = a + b + c;
    auto s = OByteStream_Memory(Bytes(file));
    std::vector<OProjectBlock> blocks;
    ASSERT_TRUE(ScanBlocks(s, blocks));
    const uint64_t aData = std::string("[BLOCKSTART][BLOCKNAME=A][BLOCKLENGTH=120]").size();
    const uint64_t bData =
        a.size() + std::string("[BLOCKSTART][BLOCKNAME=BB][BLOCKLENGTH=        30]").size();
    const uint64_t cData =
        a.size() + b.size() + std::string("[BLOCKSTART][BLOCKNAME=C][BLOCKLENGTH=1]").size();
    ASSERT_EQ(blocks.size(), 3u);
    EXPECT_EQ(blocks[0], (OProjectBlock{"A", aData, 120}));
    EXPECT_EQ(blocks[1], (OProjectBlock{"BB", bData, 30}));
    EXPECT_EQ(blocks[2], (OProjectBlock{"C", cData, 1}));
    uint64_t offset = 0, length = 0;
    ASSERT_TRUE(FindBlock(s, "C", offset, length));
    EXPECT_EQ(offset, cData);
    EXPECT_EQ(length, 1u);
    EXPECT_FALSE(FindBlock(s, "c", offset, length)) << "names are case-sensitive";
}

TEST(ProjectBlocks, AnEmptyFileHasNoBlocksAndAShortOneCannotBeScanned) {
    auto empty = OByteStream_Memory(std::vector<uint8_t>{});
    std::vector<std::string> names{"stale"};
    EXPECT_TRUE(ListBlocks(empty, names));
    EXPECT_TRUE(names.empty());
    uint64_t o = 0, l = 0;
    EXPECT_FALSE(FindBlock(empty, "A", o, l));
    auto tiny = OByteStream_Memory(Bytes(Block("A", "1")));
    EXPECT_TRUE(ListBlocks(tiny, names)) << "a file shorter than one window";
    EXPECT_EQ(names, std::vector<std::string>{"A"});
    auto text = OByteStream_Memory(Bytes("just some text"));
    EXPECT_FALSE(ListBlocks(text, names));
}

TEST(ProjectBlocks, AZeroLengthBlockIsListedButNeverFound) {
    const std::string file = Block("EMPTY", "") + Block("A", Filler(100)) + Block("EMPTY", "x");
    auto s = OByteStream_Memory(Bytes(file));
    std::vector<std::string> names;
    ASSERT_TRUE(ListBlocks(s, names));
    EXPECT_EQ(names, (std::vector<std::string>{"EMPTY", "A", "EMPTY"}));
    uint64_t o = 0, l = 0;
    EXPECT_FALSE(FindBlock(s, "EMPTY", o, l)) << "the first block of the name decides";
    EXPECT_TRUE(FindBlock(s, "A", o, l));
    std::vector<uint8_t> data;
    EXPECT_FALSE(ReadBlock(s, "EMPTY", data));
}

TEST(ProjectBlocks, ATruncatedLastHeaderStopsTheScanButEarlierBlocksAreFound) {
    const std::string full = Block("A", Filler(150)) + Block("B", Filler(150));
    // Cut inside B's header.
    const std::string cut = full.substr(0, Block("A", Filler(150)).size() + 30);
    auto s = OByteStream_Memory(Bytes(cut));
    std::vector<std::string> names;
    EXPECT_FALSE(ListBlocks(s, names));
    EXPECT_EQ(names, std::vector<std::string>{"A"});
    uint64_t o = 0, l = 0;
    EXPECT_TRUE(FindBlock(s, "A", o, l));
    EXPECT_FALSE(FindBlock(s, "B", o, l));
}

TEST(ProjectBlocks, DataCutOffLeavesTheBlockListedButNotFound) {
    const std::string full = Block("A", Filler(150)) + Block("B", Filler(300));
    const std::string cut = full.substr(0, full.size() - 50);
    auto s = OByteStream_Memory(Bytes(cut));
    std::vector<std::string> names;
    EXPECT_TRUE(ListBlocks(s, names));
    EXPECT_EQ(names, (std::vector<std::string>{"A", "B"}));
    uint64_t o = 0, l = 0;
    EXPECT_FALSE(FindBlock(s, "B", o, l));
}

TEST(ProjectBlocks, LengthFieldRules) {
    const std::string tail = Block("Z", Filler(120));
    {
        auto s = OByteStream_Memory(Bytes(HandBlock("A", "   5", "12345") + tail));
        std::vector<std::string> names;
        EXPECT_TRUE(ListBlocks(s, names)) << "leading blanks are allowed";
        EXPECT_EQ(names.size(), 2u);
    }
    for (const char* bad : {"5 ", "-5", "0x10", "", "  "}) {
        auto s = OByteStream_Memory(Bytes(HandBlock("A", bad, "12345") + tail));
        std::vector<std::string> names;
        EXPECT_FALSE(ListBlocks(s, names)) << "length field '" << bad << "'";
    }
    // The data starts after the length field, so a name written after it is inside the data.
    auto swapped =
        OByteStream_Memory(Bytes("[BLOCKSTART][BLOCKLENGTH=9][BLOCKNAME=X]" + Filler(70)));
    std::vector<OProjectBlock> blocks;
    ScanBlocks(swapped, blocks);
    ASSERT_FALSE(blocks.empty());
    EXPECT_EQ(blocks[0].name, "X");
    EXPECT_EQ(blocks[0].dataOffset, std::string("[BLOCKSTART][BLOCKLENGTH=9]").size());
}

TEST(ProjectBlocks, ZeroBytesEndTheListWindowButAreBlanksForFind) {
    std::string file = Block("A", Filler(150));
    file += '\0';  // a stray byte between two blocks: the next window starts one byte early
    file += Block("B", Filler(150));
    auto s = OByteStream_Memory(Bytes(file));
    std::vector<std::string> names;
    EXPECT_FALSE(ListBlocks(s, names));
    uint64_t o = 0, l = 0;
    EXPECT_TRUE(FindBlock(s, "B", o, l));
    EXPECT_EQ(l, 150u);
}

TEST(ProjectBlocks, PositionsAreKeptAndReadBlockEndsAfterTheEndMarker) {
    const std::string a = Block("A", Filler(120));
    const std::string file = a + Block("B", "payload") + Filler(5);
    auto s = OByteStream_Memory(Bytes(file));
    s.bSeek(17);
    std::vector<std::string> names;
    ListBlocks(s, names);
    EXPECT_EQ(s.iGetPos(), 17u);
    uint64_t o = 0, l = 0;
    FindBlock(s, "B", o, l);
    EXPECT_EQ(s.iGetPos(), 17u);
    std::vector<uint8_t> data;
    ASSERT_TRUE(ReadBlock(s, "B", data));
    EXPECT_EQ(Text(data), "payload");
    EXPECT_EQ(s.iGetPos(), a.size() + Block("B", "payload").size());
}

TEST(ProjectBlocks, TrailingBytesWithoutAHeaderEndTheScan) {
    auto s = OByteStream_Memory(Bytes(Block("A", Filler(120)) + "\n"));
    std::vector<std::string> names;
    EXPECT_TRUE(ListBlocks(s, names));
    auto broken = OByteStream_Memory(Bytes(Block("A", Filler(120)) + "[BLOCKSTART][BLOCKNA"));
    EXPECT_FALSE(ListBlocks(broken, names)) << "a header start that cannot be read in full";
}

}  // namespace
