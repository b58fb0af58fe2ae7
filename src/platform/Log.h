// The program's one logging path. Records below the minimum level are dropped; the rest go
// to the sink, by default a line on stderr with a local time stamp. The minimum level starts
// from the environment variable KALVOR_LOG ("debug", "info", "warning", "error" or "off",
// any case) and is Warning without it. Thread-safe: the sink is called under a lock, one
// record at a time; a sink that itself logs has those records dropped.
#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

enum class LogLevel { Debug, Info, Warning, Error, Off };  // Off: only as a minimum level

struct OLogRecord {
    LogLevel level = LogLevel::Info;
    std::string component;
    std::string text;
    std::chrono::system_clock::time_point time;
};

using LogSink = std::function<void(const OLogRecord&)>;

class Log {
  public:
    static constexpr LogLevel kDefaultMinimumLevel = LogLevel::Warning;
    static constexpr const char* kEnvironmentVariable = "KALVOR_LOG";

    static void Write(LogLevel level, std::string_view component, std::string_view text);
    static bool bIsEnabled(LogLevel level);

    static void SetMinimumLevel(LogLevel level);
    static LogLevel MinimumLevel();
    // Sets the minimum level from KALVOR_LOG again (the default when it is unset or unknown).
    static void ReadEnvironment();

    // Installs sink and returns the previous one; an empty sink restores the stderr sink
    // (which is returned as an empty function).
    static LogSink SetSink(LogSink sink);

    static std::optional<LogLevel> ParseLevel(std::string_view text);
    static std::string_view LevelName(LogLevel level);
    // The default sink's line, without the line end: "2024-01-31 12:00:00.250 WARNING link: text".
    static std::string FormatRecord(const OLogRecord& record);
};
