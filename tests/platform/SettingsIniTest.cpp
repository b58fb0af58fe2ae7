#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/OSettings_Ini.h"
#include "support/TempDir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void WriteFile(const fs::path& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary);
    out << content;
}

// Files in the folder other than the expected ones, e.g. a left-over temporary file.
std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(SettingsIni, MissingFileIsAFreshStoreAndFlushCreatesItWithItsFolders) {
    TempDir dir;
    const fs::path path = dir / "Brevik/sub/Kalvor 4.0 en.ini";
    OSettings_Ini settings(path);
    EXPECT_TRUE(settings.LastError().empty());
    EXPECT_TRUE(settings.Dump().empty());

    settings.SetInt("Settings", "PARTBUFFERSIZE", 25000);
    settings.SetText("Settings", "PATH", "/home/user/projects");
    ASSERT_TRUE(settings.bFlush()) << settings.LastError();
    EXPECT_EQ(ReadFile(path), "[Settings]\nPARTBUFFERSIZE=25000\nPATH=/home/user/projects\n");

    OSettings_Ini reloaded(path);
    EXPECT_EQ(reloaded.iGetInt("Settings", "PARTBUFFERSIZE", 0), 25000);
    EXPECT_EQ(reloaded.GetText("Settings", "PATH", ""), "/home/user/projects");
}

TEST(SettingsIni, HostileTextsSurviveTheFile) {
    TempDir dir;
    const fs::path path = dir / "s.ini";
    const std::vector<std::string> texts{"  blanks around  ", "multi\nline\r\ntext", "x=y;z#w",
                                         "[not a section]",   "\\\\server\\share",   "\ttabs\t",
                                         "nul\0byte"s,        "Grüße \xff\xfe",      ""};
    {
        OSettings_Ini settings(path);
        for (size_t i = 0; i < texts.size(); ++i) {
            settings.SetText("Sec " + texts[i], "name " + texts[i], texts[i]);
        }
        ASSERT_TRUE(settings.bFlush()) << settings.LastError();
    }
    OSettings_Ini reloaded;
    ASSERT_TRUE(reloaded.bLoad(path)) << reloaded.LastError();
    for (const std::string& text : texts) {
        EXPECT_TRUE(reloaded.bHasValue("Sec " + text, "name " + text)) << text;
        EXPECT_EQ(reloaded.GetText("Sec " + text, "name " + text, "?"), text);
    }
    EXPECT_EQ(reloaded.Dump().size(), texts.size());
}

TEST(SettingsIni, IntegersWrittenByHandReadAsIntegers) {
    TempDir dir;
    WriteFile(dir / "s.ini", "[Settings]\nSTART_TYPE = 2\nSIZE=big\n");
    OSettings_Ini settings(dir / "s.ini");
    EXPECT_EQ(settings.iGetInt("Settings", "START_TYPE", 3), 2);
    EXPECT_EQ(settings.iGetInt("Settings", "SIZE", 4000), 4000);
    EXPECT_EQ(settings.GetText("Settings", "SIZE", ""), "big");
}

TEST(SettingsIni, CorruptFileGivesAnEmptyStoreAndIsKeptWhenReplaced) {
    TempDir dir;
    const fs::path path = dir / "s.ini";
    const std::string corrupt = "[Settings]\nCONTYPE=3\n\x01\x02garbage\n";
    WriteFile(path, corrupt);

    OSettings_Ini settings;
    EXPECT_FALSE(settings.bLoad(path));
    EXPECT_TRUE(settings.Dump().empty());
    EXPECT_NE(settings.LastError().find("line 3"), std::string::npos) << settings.LastError();
    EXPECT_NE(settings.LastError().find(path.string()), std::string::npos);
    EXPECT_EQ(settings.iGetInt("Settings", "CONTYPE", 0), 0);

    // Without a change nothing is written; the damaged file stays as it is.
    EXPECT_TRUE(settings.bFlush());
    EXPECT_EQ(ReadFile(path), corrupt);

    settings.SetInt("Settings", "CONTYPE", 1);
    ASSERT_TRUE(settings.bFlush()) << settings.LastError();
    EXPECT_EQ(ReadFile(path), "[Settings]\nCONTYPE=1\n");
    EXPECT_EQ(ReadFile(dir / "s.ini.bad"), corrupt);
    EXPECT_TRUE(settings.LastError().empty());
}

TEST(SettingsIni, BinaryAndTruncatedFilesNeverCrash) {
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 37 + 11) & 0xFF);
    const std::string full = "[Settings]\nPATH=/a/b\n[WndPos]\nMAIN=1,1,2\n";
    std::vector<std::string> inputs{binary};
    for (size_t cut = 1; cut < full.size(); ++cut)
        inputs.push_back(full.substr(0, cut));
    for (const std::string& input : inputs) {
        WriteFile(dir / "s.ini", input);
        OSettings_Ini settings;
        const bool loaded = settings.bLoad(dir / "s.ini");
        EXPECT_EQ(loaded, settings.LastError().empty());
        if (!loaded) {
            EXPECT_TRUE(settings.Dump().empty());
        }
    }
    // A file cut at a line end simply holds fewer values.
    WriteFile(dir / "s.ini", full.substr(0, full.find("[WndPos]")));
    OSettings_Ini settings(dir / "s.ini");
    EXPECT_EQ(settings.Dump(), std::vector<std::string>{"Settings\\PATH=/a/b"});
}

TEST(SettingsIni, UnreadableFileGivesAnEmptyStoreAndIsKeptWhenReplaced) {
    TempDir dir;
    const fs::path path = dir / "s.ini";
    WriteFile(path, "[Settings]\nCONTYPE=3\n");
    ::chmod(path.c_str(), 0);
    if (::access(path.c_str(), R_OK) == 0) GTEST_SKIP() << "this user may read any file (root)";

    OSettings_Ini settings(path);
    EXPECT_FALSE(settings.LastError().empty());
    EXPECT_TRUE(settings.Dump().empty());
    settings.SetInt("Settings", "CONTYPE", 0);
    ASSERT_TRUE(settings.bFlush()) << settings.LastError();
    ::chmod((dir / "s.ini.bad").c_str(), 0644);
    EXPECT_EQ(ReadFile(dir / "s.ini.bad"), "[Settings]\nCONTYPE=3\n");
    EXPECT_EQ(OSettings_Ini(path).iGetInt("Settings", "CONTYPE", -1), 0);
}

TEST(SettingsIni, UnchangedStoreDoesNotRewriteTheFile) {
    TempDir dir;
    const std::string handWritten = "; my notes\n[Settings]\nMSG_BEEP = 0\n";
    WriteFile(dir / "s.ini", handWritten);
    OSettings_Ini settings(dir / "s.ini");
    settings.SetInt("Settings", "MSG_BEEP", 0);  // the same value: no change
    EXPECT_TRUE(settings.bFlush());
    EXPECT_EQ(ReadFile(dir / "s.ini"), handWritten);
}

TEST(SettingsIni, FailedSaveIntoReadOnlyFolderKeepsTheOldFile) {
    TempDir dir;
    const fs::path folder = dir / "ro";
    fs::create_directory(folder);
    const fs::path path = folder / "s.ini";
    WriteFile(path, "[Settings]\nPATH=old\n");

    OSettings_Ini settings(path);
    settings.SetText("Settings", "PATH", "new");
    ::chmod(folder.c_str(), 0555);
    if (::access(folder.c_str(), W_OK) == 0) {
        ::chmod(folder.c_str(), 0755);
        GTEST_SKIP() << "this user may write into read-only folders (root)";
    }
    const bool saved = settings.bFlush();
    ::chmod(folder.c_str(), 0755);

    EXPECT_FALSE(saved);
    EXPECT_FALSE(settings.LastError().empty());
    EXPECT_EQ(ReadFile(path), "[Settings]\nPATH=old\n");
    EXPECT_EQ(FolderEntries(folder), std::vector<std::string>{"s.ini"});
    // The values stay in memory, and the next save goes through.
    EXPECT_EQ(settings.GetText("Settings", "PATH", ""), "new");
    ASSERT_TRUE(settings.bFlush()) << settings.LastError();
    EXPECT_EQ(ReadFile(path), "[Settings]\nPATH=new\n");
}

TEST(SettingsIni, FailedSaveOverADirectoryLeavesItIntact) {
    TempDir dir;
    const fs::path path = dir / "s.ini";
    fs::create_directory(path);
    WriteFile(path / "inside.txt", "keep me");

    OSettings_Ini settings;
    EXPECT_FALSE(settings.bLoad(path));
    EXPECT_FALSE(settings.LastError().empty());
    settings.SetInt("Settings", "CONTYPE", 3);
    EXPECT_FALSE(settings.bFlush());
    EXPECT_NE(settings.LastError().find("cannot replace"), std::string::npos)
        << settings.LastError();

    ASSERT_TRUE(fs::is_directory(path));
    EXPECT_EQ(ReadFile(path / "inside.txt"), "keep me");
    EXPECT_EQ(FolderEntries(dir.Path()), std::vector<std::string>{"s.ini"});
    EXPECT_EQ(settings.iGetInt("Settings", "CONTYPE", 0), 3);
}

TEST(SettingsIni, FolderThatCannotBeCreatedFailsTheSave) {
    TempDir dir;
    WriteFile(dir / "plainfile", "x");
    OSettings_Ini settings(dir / "plainfile/sub/s.ini");
    settings.SetInt("S", "a", 1);
    EXPECT_FALSE(settings.bFlush());
    EXPECT_FALSE(settings.LastError().empty());
    EXPECT_EQ(ReadFile(dir / "plainfile"), "x");
}

TEST(SettingsIni, FlushWithoutAFileFails) {
    OSettings_Ini settings;
    settings.SetInt("S", "a", 1);
    EXPECT_FALSE(settings.bFlush());
    EXPECT_FALSE(settings.LastError().empty());
}

TEST(SettingsIni, SaveKeepsTheFilePermissions) {
    TempDir dir;
    const fs::path path = dir / "s.ini";
    WriteFile(path, "[S]\na=1\n");
    ::chmod(path.c_str(), 0640);
    OSettings_Ini settings(path);
    settings.SetInt("S", "a", 2);
    ASSERT_TRUE(settings.bFlush());
    struct stat status {};
    ASSERT_EQ(::stat(path.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(SettingsIni, LoadReplacesEverything) {
    TempDir dir;
    WriteFile(dir / "a.ini", "[A]\nx=1\n");
    WriteFile(dir / "b.ini", "[B]\ny=2\n");
    OSettings_Ini settings(dir / "a.ini");
    settings.SetInt("A", "unsaved", 5);
    ASSERT_TRUE(settings.bLoad(dir / "b.ini"));
    EXPECT_EQ(settings.Dump(), std::vector<std::string>{"B\\y=2"});
    EXPECT_EQ(settings.Path(), dir / "b.ini");
}

TEST(SettingsIni, ChangesMadeWhileSavingAreNotLost) {
    TempDir dir;
    const fs::path path = dir / "s.ini";
    OSettings_Ini settings(path);
    std::thread writer([&settings] {
        for (int i = 0; i < 300; ++i)
            settings.SetInt("Recv", "N" + std::to_string(i), i);
    });
    for (int i = 0; i < 20; ++i)
        EXPECT_TRUE(settings.bFlush()) << settings.LastError();
    writer.join();
    ASSERT_TRUE(settings.bFlush());
    OSettings_Ini reloaded(path);
    EXPECT_EQ(reloaded.Dump(), settings.Dump());
    EXPECT_EQ(reloaded.Dump().size(), 300u);
}

}  // namespace
