// Shared pieces of the file tests: a headless document with a scripted user and projects of
// both families with parts, tools and Teach-Data.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "document/DocTestSupport.h"
#include "document/files/OProjectExchange.h"
#include "model/stream/OByteStream_Memory.h"
#include "model/strings/ResStr.h"

namespace filestest {

using namespace doctest;

// A classic contour sensor with one part type per check program.
inline constexpr OTargetSystem kFamily1{1, 818, 0, 6, 1, 8};
// The same with two part types per check program.
inline constexpr OTargetSystem kFamily1TwoTypes{1, 818, 0, 6, 2, 8};
// A camera device of the new platform.
inline constexpr OTargetSystem kFamily2{9, 818, 0, 20, 3, 4};

inline std::string Text(const std::vector<uint8_t>& bytes) {
    return {bytes.begin(), bytes.end()};
}

// The tools' settings as encoded; the flag that says whether a tool changed since the last
// extraction does not count.
inline std::vector<uint8_t> ToolBytes(const OType_ZRPartSet& set) {
    OType_ConfigToolArray tools = set.Tools();
    for (int i = 0; i < tools.iGetNum(); ++i)
        tools.opGetAt(i)->SetModifiedFlag(false);
    OByteStream_Memory s;
    tools.iEncode(s);
    return s.TakeBytes();
}

// A part's contour, type and orientation: what every part-list form keeps.
struct OPartShape {
    std::vector<int16_t> contour;
    int type = 0;
    int orientation = 0;
    bool operator==(const OPartShape&) const = default;
};

inline std::vector<OPartShape> Shapes(const OType_PartArray& list) {
    std::vector<OPartShape> shapes;
    for (int i = 0; i < list.iGetSize(); ++i) {
        const OType_Part& p = *list.GetAt(i);
        shapes.push_back(
            {{p.Contour().begin(), p.Contour().end()}, p.iGetType(), p.iGetOrientation()});
    }
    return shapes;
}

struct FilesFixture : DocFixture {
    OProjectExchange& exchange() { return doc().Exchange(); }
    OType_ZRPartSet& set() { return *session().opGetActualPartSet(); }

    // A family-1 project with sample and test parts, three tools and computed Teach-Data.
    void MakeContourProject(const OTargetSystem& target = kFamily1, int teach = 12, int test = 4) {
        NewProject(target);
        AddParts(set(), teach, test);
        ASSERT_NE(session().AddTool(set(), 1, 30, 0), nullptr) << ui.TranscriptText();
        ASSERT_NE(session().AddTool(set(), 2, 33, 0), nullptr) << ui.TranscriptText();
        ASSERT_NE(session().AddTool(set(), 3, 22, 0), nullptr) << ui.TranscriptText();
        set().SetName("Housing");
        doc().RecomputeAll(1, 0, 1, 1, 0);
        ui.Clear();
    }
    int Load(const std::string& path, std::string* errorOut = nullptr, int quiet = 1) {
        std::string error;
        const int result = doc().LoadProjectFile(path, error, quiet);
        if (errorOut) *errorOut = error;
        return result;
    }
    std::string Save(const std::string& name) {
        std::string error;
        const std::string path = Path(name);
        EXPECT_EQ(doc().WriteProjectFile(path, error), 1) << error;
        return path;
    }
    // Saves through the export with a file name of the kind (no dialog).
    void Export(ExchangeKind kind, const std::string& name, int partType = -1) {
        const OExchangeResult r = exchange().Export(kind, Path(name), partType);
        ASSERT_TRUE(r.bDone()) << r.message << "\n" << ui.TranscriptText();
        ASSERT_EQ(r.files, std::vector<std::string>{Path(name)});
    }
    // The texts of the messages shown so far, one per line.
    std::string Shown() const {
        std::string all;
        for (const std::string& t : ui.Texts())
            all += t + "\n";
        return all;
    }
};

}  // namespace filestest
