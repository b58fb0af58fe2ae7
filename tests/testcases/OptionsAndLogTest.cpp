// The run's options from the command line and the verification log file.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "app/OCommandLine.h"
#include "support/TempDir.h"
#include "testcases/OVerificationLog.h"
#include "testcases/TestCaseOptions.h"

namespace {

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// --- options ---

TEST(TestCaseOptions, DefaultsLieBesideTheProgram) {
    const OTestCaseOptions o = OTestCaseOptions::Defaults("/opt/kalvor/bin/");
    EXPECT_EQ(o.testCaseDir, "/opt/kalvor/bin/Testcases/");
    EXPECT_EQ(o.logDir, "/opt/kalvor/bin/");
    EXPECT_FALSE(o.address.empty());
    EXPECT_FALSE(o.skipClassifier) << "classifications are compared unless asked otherwise";
    EXPECT_DOUBLE_EQ(o.maxDeviation, 0.0015);
}

TEST(TestCaseOptions, FoldersKeepTheirCaseLoseQuotesAndGainOneSeparator) {
    OTestCaseOptions o = OTestCaseOptions::Defaults("/opt/k");
    const OCommandLine line(
        "-TESTMODE:CASES -ETH:10.0.0.7 -TESTCASE_DIR:\"/Data/Line A/Cases\\\" "
        "-LOG_DIR: /Logs/Run//  -MAX_ALLOWED_DEVIATION_EXTRACTOR:0.25");
    std::string error;
    ASSERT_TRUE(o.bRead(line, &error)) << error;
    EXPECT_EQ(o.address, "10.0.0.7");
    EXPECT_EQ(o.testCaseDir, "/Data/Line A/Cases/") << "blanks inside the value belong to it";
    EXPECT_EQ(o.logDir, "/Logs/Run/");
    EXPECT_DOUBLE_EQ(o.maxDeviation, 0.25);
}

TEST(TestCaseOptions, MissingOptionsKeepTheirValues) {
    OTestCaseOptions o = OTestCaseOptions::Defaults("/opt/k");
    ASSERT_TRUE(o.bRead(OCommandLine("-TESTMODE:CASES -ETH:1.2.3.4")));
    EXPECT_EQ(o.testCaseDir, "/opt/k/Testcases/");
    EXPECT_EQ(o.logDir, "/opt/k/");
}

TEST(TestCaseOptions, SkipClassifierIsNoOnlyForZeroNoOrFalse) {
    for (const char* no : {"false", "FALSE", "no", "0", "No thanks", "10"})
        EXPECT_FALSE(TestCaseOptions::bIsYes(no)) << no;
    for (const char* yes : {"yes", "1", "TRUE", "y"})
        EXPECT_TRUE(TestCaseOptions::bIsYes(yes)) << yes;
    OTestCaseOptions o;
    ASSERT_TRUE(o.bRead(OCommandLine("-TESTMODE:CASES -SKIP_CLASSIFIER:false")));
    EXPECT_FALSE(o.skipClassifier);
    ASSERT_TRUE(o.bRead(OCommandLine("-TESTMODE:CASES -SKIP_CLASSIFIER:yes")));
    EXPECT_TRUE(o.skipClassifier);
}

TEST(TestCaseOptions, ABadDeviationIsRefusedWithItsName) {
    OTestCaseOptions o;
    std::string error;
    EXPECT_FALSE(o.bRead(OCommandLine("-MAX_ALLOWED_DEVIATION_EXTRACTOR:0.1x"), &error));
    EXPECT_NE(error.find("MAX_ALLOWED_DEVIATION_EXTRACTOR"), std::string::npos);
    EXPECT_FALSE(o.bRead(OCommandLine("-MAX_ALLOWED_DEVIATION_EXTRACTOR:-1"), &error));
    EXPECT_DOUBLE_EQ(o.maxDeviation, 0.0015) << "a refused value changes nothing";
}

TEST(TestCaseOptions, CleanFolderEdgeCases) {
    EXPECT_EQ(TestCaseOptions::CleanFolder("'/a/b'"), "/a/b/");
    EXPECT_EQ(TestCaseOptions::CleanFolder("rel\\dir\\\\"), "rel\\dir/");
    EXPECT_EQ(TestCaseOptions::CleanFolder("/"), "/") << "the root stays the root";
    EXPECT_EQ(TestCaseOptions::CleanFolder("\"\""), "");
}

// --- the log ---

TEST(VerificationLog, FileNameCarriesFolderAddressAndOpeningTime) {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 10;
    t.tm_hour = 5;
    t.tm_min = 4;
    t.tm_sec = 3;
    t.tm_isdst = -1;
    const std::time_t when = std::mktime(&t);
    EXPECT_EQ(OVerificationLog::FileName("/logs/ \"", "10.0.0.7", when),
              "/logs/Log [10.0.0.7] (2026-12-10 05-04-03).csv");
    EXPECT_EQ(OVerificationLog::FileName("/", "a", when), "/Log [a] (2026-12-10 05-04-03).csv");
}

TEST(VerificationLog, AppendsRowsWithSemicolonsCrLfAndTheSystemCodePage) {
    TempDir dir;
    const auto path = dir / "log.csv";
    std::ofstream(path, std::ios::binary) << "earlier run\r\n";
    {
        OVerificationLog log;
        ASSERT_TRUE(log.bOpen(path.string()));
        EXPECT_TRUE(log.bWrite({"File open", "Maß.kvp", "passed"}));
        EXPECT_TRUE(log.bWrite({"", "Mode"}));
    }
    EXPECT_EQ(ReadAll(path), "earlier run\r\nFile open;Ma\xDF.kvp;passed\r\n;Mode\r\n")
        << "never truncated; one byte per character of the code page";
}

TEST(VerificationLog, ASecondWriterIsLockedOut) {
    TempDir dir;
    const auto path = (dir / "log.csv").string();
    OVerificationLog first;
    ASSERT_TRUE(first.bOpen(path));
    OVerificationLog second;
    std::string error;
    EXPECT_FALSE(second.bOpen(path, &error));
    EXPECT_NE(error.find("in use"), std::string::npos) << error;
    EXPECT_FALSE(second.bWrite({"x"}));
    first.Close();
    EXPECT_TRUE(second.bOpen(path)) << "the lock goes with the first writer";
}

TEST(VerificationLog, AFolderThatCannotBeWrittenFailsWithTheReason) {
    OVerificationLog log;
    std::string error;
    EXPECT_FALSE(log.bOpen("/nonexistent-folder/sub/log.csv", &error));
    EXPECT_FALSE(log.bIsOpen());
    EXPECT_NE(error.find("/nonexistent-folder/sub/log.csv"), std::string::npos) << error;
}

}  // namespace
