#include "model/partset/PartDataEncoding.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "model/device/ZRINFO.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/stream/OObjectBlock.h"

namespace PartData {
namespace {

constexpr uint32_t kPackageLayout = 1;
constexpr uint8_t kLegacyLayout = 1;
constexpr size_t kNameBytes = 32;
constexpr int kMinExponent = -4;
constexpr int kMaxExponent = 9;

// Parameter block offsets.
constexpr size_t kHasData = 0;
constexpr size_t kLayout = 1;
constexpr size_t kOrientations = 2;
constexpr size_t kTolerance = 3;
constexpr size_t kCounterTarget = 4;
constexpr size_t kCounterFlag = 8;
constexpr size_t kFeatureCount = 17;
constexpr size_t kPartCounts = 20;
constexpr size_t kFeatureTypes = 36;
constexpr size_t kExponents = 100;
constexpr size_t kRanges = 132;
// Condition block offsets.
constexpr size_t kOptions = 0;
constexpr size_t kTypeName = 256;
constexpr size_t kSetName = 288;

using Block = std::span<uint8_t>;
using ConstBlock = std::span<const uint8_t>;

void PutU16(Block b, size_t at, uint16_t v) {
    b[at] = static_cast<uint8_t>(v >> 8);
    b[at + 1] = static_cast<uint8_t>(v & 0xFF);
}

uint16_t GetU16(ConstBlock b, size_t at) {
    return static_cast<uint16_t>((b[at] << 8) | b[at + 1]);
}

void PutU32(Block b, size_t at, uint32_t v) {
    PutU16(b, at, static_cast<uint16_t>(v >> 16));
    PutU16(b, at + 2, static_cast<uint16_t>(v & 0xFFFF));
}

uint32_t GetU32(ConstBlock b, size_t at) {
    return (static_cast<uint32_t>(GetU16(b, at)) << 16) | GetU16(b, at + 2);
}

void PutText(Block b, size_t at, const std::string& text) {
    const size_t n = std::min(text.size(), kNameBytes - 1);
    std::memcpy(b.data() + at, text.data(), n);
}

std::string GetText(ConstBlock b, size_t at) {
    const auto* begin = reinterpret_cast<const char*>(b.data() + at);
    return std::string(begin, strnlen(begin, kNameBytes));
}

size_t RangeOffset(int orientation, int feature) {
    return kRanges + static_cast<size_t>(orientation * kMaxLegacyFeatures + feature) * 6;
}

double Finite(double v) {
    return std::isfinite(v) ? v : 0.0;
}

// The smallest decimal exponent at which every value of the feature fits a signed 16-bit
// number.
int ExponentFor(double magnitude) {
    for (int e = kMinExponent; e < kMaxExponent; ++e) {
        if (std::round(magnitude / std::pow(10.0, e)) <= 32767.0) return e;
    }
    return kMaxExponent;
}

int16_t Quantise(double v, int e) {
    const double raw = std::round(Finite(v) / std::pow(10.0, e));
    return static_cast<int16_t>(std::clamp(raw, -32767.0, 32767.0));
}

double Expand(int16_t raw, int e) {
    return raw * std::pow(10.0, e);
}

int FeatureCount(const OType_ZRPartSet_SubType& type) {
    int n = 0;
    for (int o = 0; o < type.Vectors().iGetNum(); ++o)
        n = std::max(n, type.Vectors().opGetAt(o)->iGetNumOfVectors());
    return n;
}

bool bEncodeLegacy(const OType_ZRPartSet_SubType& type, const std::string& setName, uint16_t number,
                   bool withConditions, std::vector<uint8_t>& out) {
    const int orientations = type.Vectors().iGetNum();
    const int features = FeatureCount(type);
    if (orientations > kMaxLegacyOrientations || features > kMaxLegacyFeatures) return false;
    out.assign(withConditions ? kRecordBytes : kShortRecordBytes, 0);
    Block record(out);
    PutU16(record, 0, number);
    Block p = record.subspan(2, kParameterBytes);
    p[kHasData] = type.bHasData() || orientations > 0 ? 1 : 0;
    p[kLayout] = kLegacyLayout;
    p[kOrientations] = static_cast<uint8_t>(orientations);
    p[kTolerance] = static_cast<uint8_t>(type.iGetTolerance());
    PutU32(p, kCounterTarget, type.iGetCounterTarget());
    PutU16(p, kCounterFlag, static_cast<uint16_t>(type.iGetCounterFlag()));
    p[kFeatureCount] = static_cast<uint8_t>(features);
    std::array<int, kMaxLegacyFeatures> exponent{};
    for (int f = 0; f < features; ++f) {
        double magnitude = 0;
        int featureType = 0;
        bool typeKnown = false;
        for (int o = 0; o < orientations; ++o) {
            const OType_Vector* v = type.Vectors().opGetAt(o)->opGetAt(f);
            if (!v) continue;
            for (double x : {v->lowerBound, v->mean, v->upperBound})
                magnitude = std::max(magnitude, std::fabs(Finite(x)));
            if (!typeKnown) featureType = v->featureType;
            typeKnown = true;
        }
        exponent[static_cast<size_t>(f)] = ExponentFor(magnitude);
        PutU16(p, kFeatureTypes + static_cast<size_t>(f) * 2,
               static_cast<uint16_t>(static_cast<int16_t>(featureType)));
        p[kExponents + static_cast<size_t>(f)] =
            static_cast<uint8_t>(static_cast<int8_t>(exponent[static_cast<size_t>(f)]));
    }
    for (int o = 0; o < orientations; ++o) {
        const OType_VectorArray& vectors = *type.Vectors().opGetAt(o);
        PutU16(p, kPartCounts + static_cast<size_t>(o) * 2,
               static_cast<uint16_t>(std::clamp(vectors.iGetPartCount(), 0, 0xFFFF)));
        for (int f = 0; f < vectors.iGetNumOfVectors(); ++f) {
            const OType_Vector& v = vectors.At(f);
            const int e = exponent[static_cast<size_t>(f)];
            const size_t at = RangeOffset(o, f);
            PutU16(p, at, static_cast<uint16_t>(Quantise(v.lowerBound, e)));
            PutU16(p, at + 2, static_cast<uint16_t>(Quantise(v.mean, e)));
            PutU16(p, at + 4, static_cast<uint16_t>(Quantise(v.upperBound, e)));
        }
    }
    if (!withConditions) return true;
    PutU16(record, kShortRecordBytes, number);
    Block c = record.subspan(kConditionOffset, kConditionBytes);
    for (int o = 0; o < orientations; ++o) {
        const OType_VectorArray& vectors = *type.Vectors().opGetAt(o);
        for (int f = 0; f < vectors.iGetNumOfVectors(); ++f)
            c[kOptions + static_cast<size_t>(o * kMaxLegacyFeatures + f)] =
                static_cast<uint8_t>(vectors.At(f).option & 0xFF);
    }
    PutText(c, kTypeName, type.GetName());
    PutText(c, kSetName, setName);
    return true;
}

// Reads a legacy record (either length) into `type`, taking over what a vector of the
// previous content at the same place knew beyond the record.
bool bDecodeLegacy(ConstBlock record, const OType_ZRPartSet& set, OType_ZRPartSet_SubType& type,
                   std::string& setName) {
    if (record.size() != kRecordBytes && record.size() != kShortRecordBytes) return false;
    const ConstBlock p = record.subspan(2, kParameterBytes);
    std::array<uint8_t, kConditionBytes> conditions{};
    if (record.size() == kRecordBytes)
        std::copy_n(record.begin() + kConditionOffset, kConditionBytes, conditions.begin());
    const ConstBlock c(conditions);
    const int orientations = p[kOrientations];
    const int features = p[kFeatureCount];
    // A record without data (cleared, or a type memory never written, which reads as zeros)
    // empties the part type whatever its layout byte says.
    const bool hasData = p[kHasData] != 0;
    if (p[kHasData] > 1 || p[kTolerance] > OType_ZRPartSet_SubType::kMaxTolerance) return false;
    if (hasData && (p[kLayout] != kLegacyLayout || orientations > kMaxLegacyOrientations ||
                    features > kMaxLegacyFeatures))
        return false;
    const uint16_t counterFlag = GetU16(p, kCounterFlag);
    if (counterFlag != 0 && counterFlag != 0xFFFF) return false;

    OType_ZRPartSet_SubType decoded = type;
    const std::string name = GetText(c, kTypeName);
    if (!name.empty()) decoded.SetName(name);
    decoded.SetTolerance(p[kTolerance]);
    decoded.SetCounterTarget(GetU32(p, kCounterTarget));
    decoded.SetCounterFlag(counterFlag);
    if (!hasData) {
        decoded.Clear();
        type = std::move(decoded);
        return true;
    }
    OType_VectorArray_Array arrays;
    for (int o = 0; o < orientations; ++o) {
        const OType_VectorArray* before = type.Vectors().opGetAt(o);
        OType_VectorArray& vectors = arrays.Add();
        vectors.SetPartCount(GetU16(p, kPartCounts + static_cast<size_t>(o) * 2));
        for (int f = 0; f < features; ++f) {
            const int e = static_cast<int8_t>(p[kExponents + static_cast<size_t>(f)]);
            if (e < kMinExponent || e > kMaxExponent) return false;
            const OType_Vector* old = before ? before->opGetAt(f) : nullptr;
            OType_Vector v = old ? *old : OType_Vector();
            v.featureType =
                static_cast<int16_t>(GetU16(p, kFeatureTypes + static_cast<size_t>(f) * 2));
            const size_t at = RangeOffset(o, f);
            v.lowerBound = Expand(static_cast<int16_t>(GetU16(p, at)), e);
            v.mean = Expand(static_cast<int16_t>(GetU16(p, at + 2)), e);
            v.upperBound = Expand(static_cast<int16_t>(GetU16(p, at + 4)), e);
            v.option =
                (v.option & ~0xFFu) | c[kOptions + static_cast<size_t>(o * kMaxLegacyFeatures + f)];
            if (!old) {
                v.minimum = v.lowerBound;
                v.maximum = v.upperBound;
                v.name = set.GetFeatureNameOrDash(v.featureType);
            }
            vectors.Add(std::move(v));
        }
    }
    decoded.Vectors() = std::move(arrays);
    decoded.SetNumOrientations(orientations);
    decoded.SetNumFeatures(features);
    decoded.SetHasData(true);
    type = std::move(decoded);
    const std::string storedSetName = GetText(c, kSetName);
    if (!storedSetName.empty()) setName = storedSetName;
    return true;
}

void EncodePackage(const OType_ZRPartSet_SubType& type, const std::string& setName,
                   std::vector<uint8_t>& out) {
    OByteStream_Memory s;
    {
        OObjectBlockWriter block(s, kPartDataObjectId);
        s.bWriteU32(kPackageLayout);
        s.bWriteString(setName);
        type.iEncode(s);
        block.bClose();
    }
    out = s.TakeBytes();
}

bool bDecodePackage(ConstBlock bytes, OType_ZRPartSet_SubType& type, std::string& setName) {
    auto s = OByteStream_Memory::View(bytes);
    OObjectBlockReader block(s, kPartDataObjectId);
    uint32_t layout = 0;
    std::string name;
    s.bReadU32(layout);
    s.bReadString(name);
    if (!block.bIsOk() || layout == 0) return false;
    OType_ZRPartSet_SubType decoded;
    if (!decoded.iDecode(s)) return false;
    block.TakeTrailer();
    if (!block.bClose() || s.iRemaining() != 0) return false;
    type = std::move(decoded);
    if (!name.empty()) setName = std::move(name);
    return true;
}

}  // namespace

int iProtocolOf(const OType_ZRPartSet& partSet) {
    if (const ZRINFO* info = partSet.opGetDeviceInfo()) return info->u16(ZRINFO::kPartDataProtocol);
    return partSet.iGetFixedFeatures() > 0 ? kProtocolLegacy : kProtocolPackage;
}

}  // namespace PartData

int iEncodePartSet_SubType_PartData(const OType_ZRPartSet& partSet, int subType, int format,
                                    std::vector<uint8_t>& bytes, int& protocol) {
    const OType_ZRPartSet_SubType* type = partSet.opGetSubType(subType);
    if (!type) return 0;
    const auto number = static_cast<uint16_t>(subType + 1);
    if (format == 0) {
        protocol = PartData::kProtocolLegacy;
        return PartData::bEncodeLegacy(*type, partSet.GetName(), number, false, bytes) ? 1 : 0;
    }
    protocol = PartData::iProtocolOf(partSet);
    if (protocol == PartData::kProtocolPackage) {
        PartData::EncodePackage(*type, partSet.GetName(), bytes);
        return 1;
    }
    if (protocol == PartData::kProtocolLegacy)
        return PartData::bEncodeLegacy(*type, partSet.GetName(), number, true, bytes) ? 1 : 0;
    return 0;
}

int iDecodePartSet_SubType_PartData(OType_ZRPartSet& partSet, int subType,
                                    std::span<const uint8_t> bytes, int protocol,
                                    std::string& partSetName) {
    OType_ZRPartSet_SubType* type = partSet.opGetSubType(subType);
    if (!type) return 0;
    std::string name = partSetName;
    bool ok = false;
    if (protocol == PartData::kProtocolPackage) {
        ok = PartData::bDecodePackage(bytes, *type, name);
    } else if (protocol == PartData::kProtocolLegacy) {
        ok = PartData::bDecodeLegacy(bytes, partSet, *type, name);
    }
    if (ok) partSetName = std::move(name);
    return ok ? 1 : 0;
}

int iConvertEncoded_PartData(std::span<const uint8_t> bytes, int fromProtocol, int toProtocol,
                             std::vector<uint8_t>& converted) {
    using namespace PartData;
    const bool knownFrom = fromProtocol == kProtocolLegacy || fromProtocol == kProtocolPackage;
    const bool knownTo = toProtocol == kProtocolLegacy || toProtocol == kProtocolPackage;
    if (!knownFrom || !knownTo) return 0;
    OType_ZRPartSet scratch;
    scratch.SetNumSubTypes(1);
    OType_ZRPartSet_SubType& type = *scratch.opGetSubType(0);
    std::string name;
    uint16_t number = 1;
    if (fromProtocol == kProtocolPackage) {
        if (!bDecodePackage(bytes, type, name)) return 0;
    } else {
        if (!bDecodeLegacy(bytes, scratch, type, name)) return 0;
        number = GetU16(bytes, 0);
    }
    if (toProtocol == kProtocolPackage) {
        EncodePackage(type, name, converted);
        return 1;
    }
    return bEncodeLegacy(type, name, number, true, converted) ? 1 : 0;
}
