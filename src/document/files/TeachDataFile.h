// Teach-Data files of one part type, the files a device loads:
//
//   ".typ" old format: [u32 length][u32 id kTeachDataFile][u32 format 0][byte array: the
//          2380-byte legacy part-data record]; at most 19 features.
//   ".zrt" new format: [u32 length][u32 id kTeachDataFile][u32 format 1][byte array: the
//          part data in package form]; everything the part type holds.
//   ".bin" the device's own form, no file header: the part data exactly as the target
//          device receives them (the legacy record for part-data protocol 0, the package
//          for protocol 1).
//
// Part-data layouts: model/partset/PartDataEncoding.h. Readers recognise the form by its
// content, not by the file name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class OType_ZRPartSet;
class OType_ZRPartSet_SubType;

namespace TeachDataFile {

enum class Format { Old = 0, New = 1 };

inline constexpr int kMaxOldFormatFeatures = 19;
// Added to the format for the device's binary form.
inline constexpr int kDeviceBinary = 10;
inline constexpr uint64_t kMaxFileBytes = uint64_t{64} << 20;

// The features a part type's Teach-Data hold (the most of any orientation).
int iFeatureCount(const OType_ZRPartSet_SubType& type);

// The format a part type is saved in: new when the target's part-data protocol is the
// package protocol, when the name holds ".zrt" or when there are more than 19 features;
// old when the name holds ".typ" (and at most 19 features); otherwise old.
Format ChooseFormat(const OType_ZRPartSet& partSet, int subType);

// The bytes of a Teach-Data file of part type `subType` for a conversion kind (format, plus
// kDeviceBinary for ".bin"). Returns 0 with the model text that names the fault: 5221 more
// features than the form allows, 5220 not convertible into the file format, 5222 not
// convertible into the device's form; detail says more.
int iEncode(const OType_ZRPartSet& partSet, int subType, int conversion,
            std::vector<uint8_t>& bytes, int& errorTextId, std::string& detail);

// Decodes a Teach-Data file of any form into part type `subType`. Returns 0 with a detail
// on a file that is none of the forms or is damaged; the part type is then unchanged.
int iDecode(OType_ZRPartSet& partSet, int subType, std::span<const uint8_t> bytes,
            std::string& detail);

}  // namespace TeachDataFile
