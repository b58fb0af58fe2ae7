#include <gtest/gtest.h>

#include <string>

#include "model/strings/FileNameCleaning.h"
#include "model/strings/MultiLanguageText.h"

namespace {

TEST(ExtractLanguage, PicksTheTextOfTheLanguage) {
    const std::string names = "Length|Länge|Longueur";
    EXPECT_EQ(oStrExtractLanguage(names, 0), "Length");
    EXPECT_EQ(oStrExtractLanguage(names, 1), "Länge");
    EXPECT_EQ(oStrExtractLanguage(names, 2), "Longueur");
}

TEST(ExtractLanguage, MissingLanguagesFallBackToLanguageZero) {
    EXPECT_EQ(oStrExtractLanguage("Length|Länge", 2), "Length");
    EXPECT_EQ(oStrExtractLanguage("Length|Länge", 57), "Length");
    EXPECT_EQ(oStrExtractLanguage("Length|Länge", -1), "Length");
    EXPECT_EQ(oStrExtractLanguage("Length||Longueur", 1), "Length");
    EXPECT_EQ(oStrExtractLanguage("Length||Longueur", 2), "Longueur");
    EXPECT_EQ(oStrExtractLanguage("Length|", 1), "Length");
}

TEST(ExtractLanguage, SingleTextIsTheSameInEveryLanguage) {
    for (int language : {0, 1, 5})
        EXPECT_EQ(oStrExtractLanguage("Area", language), "Area");
    EXPECT_EQ(oStrExtractLanguage("", 0), "");
    EXPECT_EQ(oStrExtractLanguage("", 3), "");
}

TEST(ExtractLanguage, EmptyLanguageZero) {
    EXPECT_EQ(oStrExtractLanguage("|Länge", 0), "");
    EXPECT_EQ(oStrExtractLanguage("|Länge", 1), "Länge");
    EXPECT_EQ(oStrExtractLanguage("|", 1), "");
}

TEST(CleanFileName, ReplacesForbiddenCharacters) {
    EXPECT_EQ(CleanFileName("a/b?c\"d<e>f|g.zrp"), "a_b_c_d_e_f_g.zrp");
    EXPECT_EQ(CleanFileName("C:\\Projects\\*.kvl"), "C:\\Projects\\*.kvl");
    EXPECT_EQ(CleanFileName("C:\\Projects\\Line A/B.zrp"), "C:\\Projects\\Line A_B.zrp");
    EXPECT_EQ(CleanFileName(""), "");
}

TEST(CleanFileName, LineBreaksBecomeBlanks) {
    EXPECT_EQ(CleanFileName("Part\r\ntype 1"), "Part type 1");
    EXPECT_EQ(CleanFileName("a\r\n\r\nb"), "a  b");
    EXPECT_EQ(CleanFileName("a\nb\rc"), "a b c");
    EXPECT_EQ(CleanFileName("end\r"), "end ");
    EXPECT_EQ(CleanFileName("\n\r"), "  ");
}

TEST(CleanFileName, NamePartsAlsoLoseColonsAndBackslashes) {
    EXPECT_EQ(CleanFileNamePart("Type: A\\B"), "Type_ A_B");
    EXPECT_EQ(CleanFileNamePart("P1 <new>\r\n"), "P1 _new_ ");
    EXPECT_EQ(CleanFileNamePart("plain"), "plain");
}

}  // namespace
