#include "model/stream/OBlockFieldReader.h"

#include <cmath>

#include "model/stream/OByteStream.h"
#include "model/stream/OObjectBlock.h"

bool OBlockFieldReader::bIsOk() const {
    return m_stream.bIsOk();
}

bool OBlockFieldReader::Fail() {
    return m_stream.Fail();
}

bool OBlockFieldReader::bHas(uint64_t bytes) {
    if (!m_ended && !m_block.bHas(bytes)) m_ended = true;
    return !m_ended;
}

bool OBlockFieldReader::I32(int32_t& v) {
    if (!bHas(4)) return bIsOk();
    return m_stream.bReadI32(v);
}

bool OBlockFieldReader::I32(int& v, int minimum, int maximum) {
    int32_t read = v;
    if (!I32(read)) return false;
    if (read < minimum || read > maximum) return Fail();
    v = read;
    return true;
}

bool OBlockFieldReader::U32(uint32_t& v) {
    if (!bHas(4)) return bIsOk();
    return m_stream.bReadU32(v);
}

bool OBlockFieldReader::Double(double& v) {
    if (!bHas(8)) return bIsOk();
    return m_stream.bReadDouble(v);
}

bool OBlockFieldReader::Double(double& v, double minimum, double maximum) {
    double read = v;
    if (!Double(read)) return false;
    if (!std::isfinite(read) || read < minimum || read > maximum) return Fail();
    v = read;
    return true;
}

bool OBlockFieldReader::Bool(bool& v) {
    if (!bHas(1)) return bIsOk();
    return m_stream.bReadBool(v);
}

bool OBlockFieldReader::String(std::string& v) {
    if (!bHas(4)) return bIsOk();
    return m_stream.bReadString(v);
}

bool OBlockFieldReader::String(std::string& v, size_t maxLength) {
    std::string read = v;
    if (!String(read)) return false;
    if (read.size() > maxLength) return Fail();
    v = std::move(read);
    return true;
}

bool OBlockFieldReader::Bytes(std::vector<uint8_t>& v) {
    if (!bHas(4)) return bIsOk();
    return m_stream.bReadByteArray(v);
}
