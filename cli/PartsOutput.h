// How the verbs print parts: one JSON object per part (numbers, results, features with
// their validity and texts, and on request the contour's run list), or plain text lines.
#pragma once

#include <iosfwd>

class OJsonWriter;
class OType_Part;
class OType_PartArray;

// The part at `index` (from 1) as one JSON object; `runs` adds its contour run list.
void WritePartJson(OJsonWriter& json, int index, const OType_Part& part, bool runs);
// The parts of a list in sort order as a JSON array.
void WritePartsJson(OJsonWriter& json, const OType_PartArray& list, bool runs);
void PrintPartsText(std::ostream& out, const OType_PartArray& list);
