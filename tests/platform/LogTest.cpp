#include <gtest/gtest.h>

#include <regex>
#include <thread>

#include "ScopedEnv.h"
#include "platform/Log.h"
#include "platform/OLogCapture.h"

namespace {

TEST(Log, CaptureSeesRecordsAtOrAboveTheMinimum) {
    OLogCapture capture(LogLevel::Info);
    Log::Write(LogLevel::Debug, "link", "dropped");
    Log::Write(LogLevel::Info, "link", "connected");
    Log::Write(LogLevel::Error, "document", "save failed");
    const auto records = capture.Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].level, LogLevel::Info);
    EXPECT_EQ(records[0].component, "link");
    EXPECT_EQ(records[0].text, "connected");
    EXPECT_EQ(records[1].component, "document");
    EXPECT_TRUE(Log::bIsEnabled(LogLevel::Warning));
    EXPECT_FALSE(Log::bIsEnabled(LogLevel::Debug));
}

TEST(Log, OffSilencesEverything) {
    OLogCapture capture(LogLevel::Off);
    Log::Write(LogLevel::Error, "x", "not even errors");
    Log::Write(LogLevel::Off, "x", "Off is no record level");
    EXPECT_TRUE(capture.Records().empty());
}

TEST(Log, CaptureRestoresTheSinkAndLevel) {
    Log::SetMinimumLevel(LogLevel::Error);
    OLogCapture outer(LogLevel::Warning);
    {
        OLogCapture inner(LogLevel::Debug);
        Log::Write(LogLevel::Debug, "c", "inner");
        EXPECT_EQ(inner.Texts(), std::vector<std::string>{"inner"});
    }
    EXPECT_EQ(Log::MinimumLevel(), LogLevel::Warning);
    Log::Write(LogLevel::Warning, "c", "outer");
    EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
}

TEST(Log, LevelNamesParseInAnyCase) {
    EXPECT_EQ(Log::ParseLevel("debug"), LogLevel::Debug);
    EXPECT_EQ(Log::ParseLevel(" INFO "), LogLevel::Info);
    EXPECT_EQ(Log::ParseLevel("Warn"), LogLevel::Warning);
    EXPECT_EQ(Log::ParseLevel("warning"), LogLevel::Warning);
    EXPECT_EQ(Log::ParseLevel("error"), LogLevel::Error);
    EXPECT_EQ(Log::ParseLevel("off"), LogLevel::Off);
    EXPECT_FALSE(Log::ParseLevel("verbose").has_value());
    EXPECT_FALSE(Log::ParseLevel("").has_value());
}

TEST(Log, MinimumLevelComesFromTheEnvironment) {
    const LogLevel before = Log::MinimumLevel();
    {
        ScopedEnv env(Log::kEnvironmentVariable, "debug");
        Log::ReadEnvironment();
        EXPECT_EQ(Log::MinimumLevel(), LogLevel::Debug);
    }
    {
        ScopedEnv env(Log::kEnvironmentVariable, "nonsense");
        Log::ReadEnvironment();
        EXPECT_EQ(Log::MinimumLevel(), Log::kDefaultMinimumLevel);
    }
    {
        ScopedEnv env(Log::kEnvironmentVariable, nullptr);
        Log::ReadEnvironment();
        EXPECT_EQ(Log::MinimumLevel(), LogLevel::Warning);
    }
    Log::SetMinimumLevel(before);
}

TEST(Log, SinkThatLogsDoesNotRecurse) {
    OLogCapture capture;
    int calls = 0;
    const LogSink previous = Log::SetSink([&calls](const OLogRecord&) {
        ++calls;
        Log::Write(LogLevel::Error, "sink", "from inside the sink");
    });
    Log::Write(LogLevel::Error, "c", "one");
    Log::Write(LogLevel::Error, "c", "two");
    Log::SetSink(previous);
    EXPECT_EQ(calls, 2);
    Log::Write(LogLevel::Error, "c", "three");
    EXPECT_EQ(capture.Texts(), std::vector<std::string>{"three"});
}

TEST(Log, ConcurrentWritersAreAllDelivered) {
    OLogCapture capture;
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t) {
        writers.emplace_back([t] {
            for (int i = 0; i < 500; ++i)
                Log::Write(LogLevel::Info, "worker", std::to_string(t));
        });
    }
    for (auto& writer : writers)
        writer.join();
    const auto texts = capture.Texts();
    EXPECT_EQ(texts.size(), 2000u);
    for (int t = 0; t < 4; ++t)
        EXPECT_EQ(std::count(texts.begin(), texts.end(), std::to_string(t)), 500);
}

TEST(Log, DefaultLineFormat) {
    OLogRecord record{
        LogLevel::Warning, "link", "time-out after 2000 ms",
        std::chrono::system_clock::time_point(std::chrono::milliseconds(1704067200250))};
    const std::string line = Log::FormatRecord(record);
    EXPECT_TRUE(std::regex_match(
        line,
        std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.250 WARNING link: time-out after 2000 ms)")))
        << line;
}

}  // namespace
