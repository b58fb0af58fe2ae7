// kalvorctl import-images end to end: parts written, appended, bad pictures named.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "extraction/OImageContour.h"
#include "model/image/ImageCodec.h"
#include "model/partset/OType_ZRPartSet.h"
#include "support/TempDir.h"

namespace {

struct OCtlResult {
    int status = -1;
    std::string out;
    std::string err;
};

OCtlResult Ctl(const std::string& arguments, const TempDir& dir) {
    OCtlResult r;
    const auto errFile = dir / "stderr.txt";
    const std::string command =
        std::string(KALVOR_CTL_PATH) + " " + arguments + " 2>" + errFile.string();
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return r;
    char buffer[4096];
    size_t n = 0;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        r.out.append(buffer, n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream in(errFile);
    r.err.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return r;
}

std::string Picture(const TempDir& dir, const std::string& name, uint8_t inside) {
    OType_Image img(16, 12, 1);
    std::fill(img.Pixels().begin(), img.Pixels().end(), 250);
    for (int y = 3; y < 9; ++y)
        for (int x = 4; x < 10; ++x)
            img.SetPixel(x, y, 0, inside);
    const auto bytes = ImageCodec::EncodeBmp(img);
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return (dir / name).string();
}

}  // namespace

TEST(KalvorctlImportImages, WritesAppendsAndNamesWhatItCannotRead) {
    TempDir dir;
    const std::string a = Picture(dir, "a.bmp", 20);
    const std::string b = Picture(dir, "b.bmp", 60);
    const std::string out = (dir / "parts.kvl").string();
    OCtlResult r = Ctl(
        "import-images " + out + " " + a + " " + b + " --x 5 --y 100 --dark 0 --bright 40", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 sample parts imported"), std::string::npos) << r.out;

    OType_ZRPartSet set;
    std::string error;
    ASSERT_EQ(set.iLoadParts(out, true, &error), 1) << error;
    ASSERT_EQ(set.TeachParts().iGetSize(), 2);
    const OType_Part& first = *set.TeachParts().GetAt_NoSort(0);
    EXPECT_EQ(first.GetComment(), a);
    ASSERT_EQ(first.iGetNumImages(), 1);
    EXPECT_EQ(first.opGetImage(0)->iGetPosX(), 5);
    EXPECT_EQ(first.opGetImage(0)->iGetPosY(), 100);
    EXPECT_EQ(first.iGetColumns(), 21);
    // Column 4 of the picture (contour column 9): rows 3..8 from the top are bottom rows 3..8
    // of a 12-row picture, so the run is 103 ... 108, written (103, -109).
    EXPECT_EQ(first.Contour()[18], 103);
    EXPECT_EQ(first.Contour()[19], -109);
    // The second picture's square (60) is outside 0 ... 40: empty columns only.
    const auto second = set.TeachParts().GetAt_NoSort(1)->Contour();
    EXPECT_TRUE(
        std::all_of(second.begin(), second.end(), [](int16_t v) { return v == 1 || v == -1; }));

    // Appending (as test parts); a broken picture is named and makes the status 1.
    std::ofstream(dir / "broken.png") << "not a picture";
    r = Ctl("import-images " + out + " " + a + " " + (dir / "broken.png").string() +
                " --test --threshold-type 1 --dark 0 --bright 100 --x 2000",
            dir);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("broken.png"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("field of view"), std::string::npos) << r.err;
    EXPECT_NE(r.out.find("1 test part imported"), std::string::npos) << r.out;
    OType_ZRPartSet again;
    ASSERT_EQ(again.iLoadParts(out, false, &error), 1) << error;
    ASSERT_EQ(again.TestParts().iGetSize(), 3);
    const OType_Part& appended = *again.TestParts().GetAt_NoSort(2);
    EXPECT_EQ(appended.opGetImage(0)->iGetPosX(), 2000);
    EXPECT_EQ(appended.iGetColumns(), 2016);
}

TEST(KalvorctlImportImages, RefusesBadValuesAndLeavesTheListAlone) {
    TempDir dir;
    const std::string a = Picture(dir, "a.bmp", 20);
    const std::string out = (dir / "parts.kvl").string();
    ASSERT_EQ(Ctl("import-images " + out + " " + a, dir).status, 0);
    std::ifstream before(out, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(before)),
                            std::istreambuf_iterator<char>());
    EXPECT_EQ(Ctl("import-images " + out + " " + a + " --dark 200 --bright 100", dir).status, 2);
    EXPECT_EQ(Ctl("import-images " + out + " " + a + " --threshold-type 3", dir).status, 2);
    EXPECT_EQ(Ctl("import-images " + out, dir).status, 2);
    EXPECT_EQ(Ctl("import-images " + out + " " + a + " --x", dir).status, 2);
    EXPECT_EQ(Ctl("import-images " + out + " " + a + " --type 17", dir).status, 2);
    EXPECT_EQ(Ctl("import-images " + out + " " + a + " --orientation -1", dir).status, 2);
    const OCtlResult noProject =
        Ctl("import-images " + (dir / "absent.kvp").string() + " " + a + " --no-settings", dir);
    EXPECT_EQ(noProject.status, 1);
    EXPECT_NE(noProject.err.find("no such project"), std::string::npos) << noProject.err;
    EXPECT_FALSE(std::filesystem::exists(dir / "absent.kvp"));
    const OCtlResult none = Ctl("import-images " + out + " " + (dir / "nothing.bmp").string(), dir);
    EXPECT_EQ(none.status, 1);
    EXPECT_NE(none.err.find("unchanged"), std::string::npos);
    std::ifstream after(out, std::ios::binary);
    EXPECT_EQ(
        std::string((std::istreambuf_iterator<char>(after)), std::istreambuf_iterator<char>()),
        bytes);
}

TEST(KalvorctlImportImages, IntoAProjectWithTypeAndOrientation) {
    TempDir dir;
    const std::string a = Picture(dir, "a.bmp", 20);
    const std::string b = Picture(dir, "b.bmp", 30);
    const std::string project = (dir / "p.kvp").string();
    ASSERT_EQ(
        Ctl("new --hw 7 --sw 818 --partsinset 4 --ori 4 --no-settings " + project, dir).status, 0);
    // Beyond what the device knows: refused, nothing imported.
    OCtlResult r = Ctl("import-images " + project + " " + a + " --type 5 --no-settings", dir);
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("4 part types and 4 orientations"), std::string::npos) << r.err;
    r = Ctl(
        "import-images " + project + " " + a + " " + b + " --type 2 --orientation 3 --no-settings",
        dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("2 sample parts imported into"), std::string::npos) << r.out;
    r = Ctl("import-images " + project + " " + a + " --test --no-settings", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    r = Ctl("parts " + project + " --json", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.find("\"orientation\": 1"), std::string::npos) << r.out;
    for (const char* expected : {"\"type\": 2", "\"orientation\": 3", "a.bmp", "b.bmp"})
        EXPECT_NE(r.out.find(expected), std::string::npos) << expected << "\n" << r.out;
    r = Ctl("parts " + project + " --test --json", dir);
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("a.bmp"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("b.bmp"), std::string::npos) << r.out;
}
