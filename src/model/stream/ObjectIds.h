// Object ids of the model encodings, in one place so that they never collide.
// Each encoded object is framed as [u32 length][u32 id][payload] (see OObjectBlock.h).
#pragma once

#include <cstdint>

namespace ObjectId {
inline constexpr uint32_t kImage = 0x4B490001;
inline constexpr uint32_t kFeature = 0x4B460001;
inline constexpr uint32_t kFeatureArray = 0x4B460002;
inline constexpr uint32_t kPart = 0x4B500001;
inline constexpr uint32_t kPartArray = 0x4B500002;
inline constexpr uint32_t kVector = 0x4B560001;
inline constexpr uint32_t kVectorArray = 0x4B560002;
inline constexpr uint32_t kVectorArrayArray = 0x4B560003;
inline constexpr uint32_t kSubType = 0x4B530001;
inline constexpr uint32_t kPartSet = 0x4B5A0001;
inline constexpr uint32_t kPartSetArray = 0x4B5A0002;
inline constexpr uint32_t kConfigTool = 0x4B540001;
inline constexpr uint32_t kConfigToolArray = 0x4B540002;
inline constexpr uint32_t kImageTool = 0x4B540010;      // common settings of a family-2 tool
inline constexpr uint32_t kImageToolKind = 0x4B540011;  // a family-2 tool kind's own settings
inline constexpr uint32_t kDataOutput = 0x4B440001;
inline constexpr uint32_t kDataOutputArray = 0x4B440002;
inline constexpr uint32_t kDataOutputKind = 0x4B440010;  // a data-output kind's own settings
inline constexpr uint32_t kDefaultReferenceFeatures = 0x4B520001;
inline constexpr uint32_t kZRInfo = 0x4B5A4901;
inline constexpr uint32_t kProjectData = 0x4B4A0001;
inline constexpr uint32_t kCoordTrans = 0x4B430001;
inline constexpr uint32_t kPartListFile = 0x4B4C0001;
inline constexpr uint32_t kTeachDataFile = 0x4B544401;
}  // namespace ObjectId
