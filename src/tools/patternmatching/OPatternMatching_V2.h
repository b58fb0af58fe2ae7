// The taught templates and search settings of the pattern-matching tools, as tagged object
// blocks: [u32 length of what follows][u32 object id][payload]. A reader takes the fields it
// knows when the payload is long enough for them, keeps the bytes after them as extra bytes
// that are written back unchanged, and always leaves the stream at the block's end.
//
// How the matcher uses the numbers (OPatternMatcher): angles in degrees, counter-clockwise
// positive; the minimum score is a normalised correlation 0 ... 1.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/part/OType_Image.h"

class OByteStream;

// Where a search looks and what it accepts.
class OPatternMatching_V2_SearchParameter {
  public:
    static constexpr uint32_t kObjectId = 0xFE7A4400;
    // Payload bytes of the eight fields.
    static constexpr uint32_t kFieldBytes = 52;

    OPatternMatching_V2_SearchParameter() = default;
    void Reset() { *this = OPatternMatching_V2_SearchParameter(); }

    uint32_t GetObjectID() const { return kObjectId; }
    // Bytes AddObjectDataTo writes, the length word included: 60 + extra bytes.
    uint64_t GetObjectSize() const { return 8 + kFieldBytes + extraBytes.size(); }
    int AddObjectDataTo(OByteStream& stream) const;
    // Reads one block. Returns 0 (stream failed) when no block of this id can be read; a
    // payload too short for the fields gives the defaults and keeps it as extra bytes.
    int GetObjectDataFrom(OByteStream& stream, bool resetFirst);
    void CopyTo(OPatternMatching_V2_SearchParameter& other) const { other = *this; }

    bool operator==(const OPatternMatching_V2_SearchParameter&) const = default;

    double startAngle = -20.0;  // first angle searched (degrees)
    double angleExtent = 40.0;  // the search covers startAngle ... startAngle + angleExtent
    double minScore = 0.8;      // matches below this score are not reported
    int32_t numMatches = 1;     // the best this many matches are reported (0: all found)
    double maxOverlap = 0.5;    // two matches overlapping more than this are one
    int32_t option1 = 0;        // scale tolerance in percent around the template's scale
    int32_t option2 = 0;        // 1: a match may have inverted contrast
    double greediness = 0.9;    // 0 searches exhaustively, 1 fastest (see OPatternMatcher)
    std::vector<uint8_t> extraBytes;
};

// One taught template: its search range, its parameters and its picture.
class OPatternMatching_V2_Template {
  public:
    static constexpr uint32_t kObjectId = 0xFE7A4200;
    // Payload bytes of the fixed fields before the name.
    static constexpr uint32_t kFixedBytes = 72;
    // Indices into params.
    enum Param {
        kPyramidLevels = 0,     // 0: chosen from the template size
        kMinContrast = 3,       // a template needs this grey-value spread to be taught
        kAngleStepTenths = 5,   // angle step of the rotation search in tenths of a degree
        kScaleStepPercent = 6,  // scale step of the scale search in percent
        kReferenceX = 7,        // reference point in the template; -1: its centre
        kReferenceY = 8,
    };

    OPatternMatching_V2_Template() = default;
    // Every stored field back to its default; the run-time id stays.
    void Reset() {
        const int32_t id = runtimeId;
        *this = OPatternMatching_V2_Template();
        runtimeId = id;
    }

    uint32_t GetObjectID() const { return kObjectId; }
    // Bytes AddObjectDataTo writes, the length word included: 84 + name bytes + image block
    // + extra bytes (the name is a stream string with its 32-bit length).
    uint64_t GetObjectSize() const;
    int AddObjectDataTo(OByteStream& stream) const;
    // Reads one block. A damaged payload (fields cut off, an image that cannot be read)
    // returns 0 and leaves the stream good at the block's end with this template unchanged
    // (reset when asked); a block that cannot be framed at all fails the stream.
    int GetObjectDataFrom(OByteStream& stream, bool resetFirst);
    void CopyTo(OPatternMatching_V2_Template& other) const;
    std::unique_ptr<OPatternMatching_V2_Template> CreateCopy() const;

    // Equal stored data (the run-time id is not compared).
    bool operator==(const OPatternMatching_V2_Template& other) const;

    int32_t kind = 4;
    double startAngle = -20.0;
    double angleExtent = 40.0;
    double scale = 1.0;
    std::array<int32_t, 9> params = {0, 0, 0, 30, 0, 10, 10, -1, -1};
    double resultScore = -1.0;  // score of the last match, -1 before any
    std::string name;
    OType_Image image;
    std::vector<uint8_t> extraBytes;
    int32_t runtimeId = -1;  // not stored
};

// The template list of a tool; owns its templates.
class OPatternMatching_V2_TemplateArray {
  public:
    static constexpr uint32_t kObjectId = 0xFE7A4300;

    OPatternMatching_V2_TemplateArray() = default;
    OPatternMatching_V2_TemplateArray(const OPatternMatching_V2_TemplateArray& other);
    OPatternMatching_V2_TemplateArray& operator=(const OPatternMatching_V2_TemplateArray& other);
    OPatternMatching_V2_TemplateArray(OPatternMatching_V2_TemplateArray&&) noexcept = default;
    OPatternMatching_V2_TemplateArray& operator=(OPatternMatching_V2_TemplateArray&&) noexcept =
        default;

    void Reset() {
        RemoveAll();
        m_extraBytes.clear();
    }
    void RemoveAll() { m_templates.clear(); }
    int iGetSize() const { return static_cast<int>(m_templates.size()); }
    OPatternMatching_V2_Template* GetAt(int i);
    const OPatternMatching_V2_Template* GetAt(int i) const;
    void Add(std::unique_ptr<OPatternMatching_V2_Template> t) {
        m_templates.push_back(std::move(t));
    }
    void RemoveAt(int i);

    uint32_t GetObjectID() const { return kObjectId; }
    uint64_t GetObjectSize() const;
    int AddObjectDataTo(OByteStream& stream) const;
    // Empties the array and reads the templates of one block (the count only when the
    // payload is longer than 7 bytes); stops at the first template that cannot be read and
    // returns 0 then (the templates before it are kept). Bytes after the last template are
    // kept as extra bytes.
    int GetObjectDataFrom(OByteStream& stream, bool resetFirst);
    void CopyTo(OPatternMatching_V2_TemplateArray& other) const { other = *this; }

    bool operator==(const OPatternMatching_V2_TemplateArray& other) const;

    const std::vector<uint8_t>& ExtraBytes() const { return m_extraBytes; }

  private:
    std::vector<std::unique_ptr<OPatternMatching_V2_Template>> m_templates;
    std::vector<uint8_t> m_extraBytes;
};
