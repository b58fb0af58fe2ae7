// Reads the fields of an object block in order while the block holds enough bytes for them
// (the framing of OObjectBlock.h): a field the block ends before (or holds too few bytes for)
// keeps its current value, and so does every field after it; the bytes left become the
// block's kept trailer. A text whose length runs past the block fails the stream, and so do
// the range-checked reads for a value outside their range.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class OByteStream;
class OObjectBlockReader;

class OBlockFieldReader {
  public:
    OBlockFieldReader(OObjectBlockReader& block, OByteStream& stream)
        : m_block(block), m_stream(stream) {}

    bool I32(int32_t& v);
    bool I32(int& v, int minimum, int maximum);
    bool U32(uint32_t& v);
    bool Double(double& v);
    bool Double(double& v, double minimum, double maximum);  // also fails when not finite
    bool Bool(bool& v);
    bool String(std::string& v);
    bool String(std::string& v, size_t maxLength);
    // A byte array (u32 length, bytes): nested blocks such as taught pictures.
    bool Bytes(std::vector<uint8_t>& v);
    // False once the stream failed.
    bool bIsOk() const;
    // Fails the stream (for a value the reader cannot use); returns false.
    bool Fail();

  private:
    bool bHas(uint64_t bytes);

    OObjectBlockReader& m_block;
    OByteStream& m_stream;
    bool m_ended = false;
};
