#include "document/files/ProjectBlocks.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <optional>

#include "model/stream/OByteStream.h"

using namespace ProjectBlocks;

namespace {

// How a window's zero bytes are read: as blanks (FindBlock) or as the end of the text.
enum class ZeroBytes { AsBlanks, EndText };

// Restores the stream position when the scan ends, however it ends.
class PositionKeeper {
  public:
    explicit PositionKeeper(OByteStream& s) : m_stream(s), m_pos(s.iGetPos()) {}
    ~PositionKeeper() { m_stream.bSeek(m_pos); }
    PositionKeeper(const PositionKeeper&) = delete;
    PositionKeeper& operator=(const PositionKeeper&) = delete;

  private:
    OByteStream& m_stream;
    uint64_t m_pos;
};

bool WriteText(OByteStream& file, std::string_view text) {
    return file.bWriteRaw(text.data(), text.size());
}

std::string PaddedLength(uint64_t length) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), "%10d]", static_cast<int>(length));
    return text.data();
}

std::string HeaderStart(std::string_view name) {
    std::string header;
    header.reserve(kStartMarker.size() + kNameMarker.size() + name.size() + 1 +
                   kLengthMarker.size());
    header.append(kStartMarker).append(kNameMarker).append(name).append("]").append(kLengthMarker);
    return header;
}

// Reads the window at offset; nothing when the stream cannot deliver `size` bytes.
std::optional<std::string> ReadWindow(OByteStream& file, uint64_t offset, size_t size,
                                      ZeroBytes zeros) {
    std::string window(size, '\0');
    if (!file.bSeek(offset) || !file.bReadRaw(window.data(), size)) return std::nullopt;
    if (zeros == ZeroBytes::AsBlanks) {
        std::replace(window.begin(), window.end(), '\0', ' ');
    } else {
        window.resize(std::min(window.find('\0'), window.size()));
    }
    return window;
}

// "   123" -> 123; nothing for anything but blanks followed by decimal digits.
std::optional<uint64_t> ParseLength(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    text.remove_prefix(first);
    if (text.empty() || text.size() > 18) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - '0');
    }
    return value;
}

// Parses one header window; nothing when a marker or a closing bracket is missing.
std::optional<OProjectBlock> ParseHeader(std::string_view window, uint64_t windowOffset) {
    const size_t start = window.find(kStartMarker);
    const size_t lengthAt = window.find(kLengthMarker);
    const size_t nameAt = window.find(kNameMarker);
    if (start == std::string_view::npos || lengthAt == std::string_view::npos ||
        nameAt == std::string_view::npos)
        return std::nullopt;
    const size_t lengthBegin = lengthAt + kLengthMarker.size();
    const size_t lengthEnd = window.find(']', lengthBegin);
    const size_t nameBegin = nameAt + kNameMarker.size();
    const size_t nameEnd = window.find(']', nameBegin);
    if (lengthEnd == std::string_view::npos || nameEnd == std::string_view::npos)
        return std::nullopt;
    const auto length = ParseLength(window.substr(lengthBegin, lengthEnd - lengthBegin));
    if (!length) return std::nullopt;
    OProjectBlock block;
    block.name = std::string(window.substr(nameBegin, nameEnd - nameBegin));
    block.dataOffset = windowOffset + lengthEnd + 1;
    block.length = *length;
    return block;
}

enum class ScanEnd { Complete, Stopped, Failed };

// Walks the blocks; `visit` returns false to stop the scan.
template <typename Visit>
ScanEnd Scan(OByteStream& file, ZeroBytes zeros, Visit visit) {
    if (!file.bIsOk()) return ScanEnd::Failed;
    PositionKeeper keeper(file);
    const uint64_t fileLength = file.iGetSize();
    if (fileLength == 0) return ScanEnd::Complete;
    uint64_t offset = 0;
    while (true) {
        // The last window may be shorter: the last block of a complete file is often.
        const size_t size =
            static_cast<size_t>(std::min<uint64_t>(kWindowSize, fileLength - offset));
        const auto window = ReadWindow(file, offset, size, zeros);
        if (!window) return ScanEnd::Failed;
        const auto block = ParseHeader(*window, offset);
        if (!block) {
            // After the last block only the end marker's last byte (or stray trailing bytes)
            // remains; a block start there is a header cut off.
            const bool trailing =
                offset > 0 && size < kWindowSize && window->find(kStartMarker) == std::string::npos;
            return trailing ? ScanEnd::Complete : ScanEnd::Failed;
        }
        if (!visit(*block, fileLength)) return ScanEnd::Stopped;
        const uint64_t next = block->dataOffset + block->length + kNextWindowDistance;
        if (next >= fileLength) return ScanEnd::Complete;
        offset = next;
    }
}

}  // namespace

int64_t WriteBlockHeader(OByteStream& file, std::string_view name) {
    if (!WriteText(file, HeaderStart(name))) return -1;
    const uint64_t lengthField = file.iGetPos();
    if (!WriteText(file, PaddedLength(0))) return -1;
    return static_cast<int64_t>(lengthField);
}

bool RewriteBlockLength(OByteStream& file, uint64_t lengthFieldOffset, uint64_t length) {
    if (length > kMaxBlockLength) return file.Fail();
    const uint64_t back = file.iGetPos();
    return file.bSeek(lengthFieldOffset) && WriteText(file, PaddedLength(length)) &&
           file.bFlush() && file.bSeek(back);
}

bool WriteBlockEnd(OByteStream& file) {
    return WriteText(file, kEndMarker) && file.bFlush();
}

bool WriteBlock(OByteStream& file, std::string_view name, std::span<const uint8_t> bytes) {
    if (bytes.size() > kMaxBlockLength) return file.Fail();
    return WriteText(file, HeaderStart(name)) && WriteText(file, PaddedLength(bytes.size())) &&
           file.bWriteRaw(bytes.data(), bytes.size()) && WriteBlockEnd(file);
}

std::vector<uint8_t> WrapUnpaddedBlock(std::string_view name, std::span<const uint8_t> bytes) {
    const std::string header = HeaderStart(name) + std::to_string(bytes.size()) + "]";
    std::vector<uint8_t> block(header.begin(), header.end());
    block.insert(block.end(), bytes.begin(), bytes.end());
    block.insert(block.end(), kEndMarker.begin(), kEndMarker.end());
    return block;
}

bool FindBlock(OByteStream& file, std::string_view name, uint64_t& dataOffset,
               uint64_t& dataLength) {
    bool found = false;
    Scan(file, ZeroBytes::AsBlanks, [&](const OProjectBlock& block, uint64_t fileLength) {
        if (block.name != name) return true;
        found = block.length > 0 && block.dataOffset + block.length < fileLength;
        if (found) {
            dataOffset = block.dataOffset;
            dataLength = block.length;
        }
        return false;
    });
    return found;
}

bool ReadBlock(OByteStream& file, std::string_view name, std::vector<uint8_t>& bytes) {
    uint64_t offset = 0, length = 0;
    if (!FindBlock(file, name, offset, length)) return false;
    const uint64_t back = file.iGetPos();
    std::vector<uint8_t> data;
    if (!file.bSeek(offset) || !file.bReadBytes(data, length)) {
        file.bSeek(back);
        return false;
    }
    const uint64_t afterEnd = std::min(offset + length + kEndMarker.size(), file.iGetSize());
    file.bSeek(afterEnd);
    bytes = std::move(data);
    return true;
}

bool ScanBlocks(OByteStream& file, std::vector<OProjectBlock>& blocks) {
    blocks.clear();
    return Scan(file, ZeroBytes::EndText, [&](const OProjectBlock& block, uint64_t) {
               blocks.push_back(block);
               return true;
           }) == ScanEnd::Complete;
}

bool ListBlocks(OByteStream& file, std::vector<std::string>& names) {
    std::vector<OProjectBlock> blocks;
    const bool ok = ScanBlocks(file, blocks);
    names.clear();
    for (OProjectBlock& block : blocks)
        names.push_back(std::move(block.name));
    return ok;
}
