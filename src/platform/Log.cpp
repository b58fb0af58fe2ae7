#include "platform/Log.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace {

LogLevel LevelFromEnvironment() {
    const char* value = std::getenv(Log::kEnvironmentVariable);
    if (!value) return Log::kDefaultMinimumLevel;
    return Log::ParseLevel(value).value_or(Log::kDefaultMinimumLevel);
}

struct LogState {
    std::mutex mutex;
    LogSink sink;  // empty: stderr
    std::atomic<LogLevel> minimumLevel{LevelFromEnvironment()};
};

LogState& State() {
    static LogState state;
    return state;
}

thread_local bool t_insideSink = false;

void WriteToStderr(const OLogRecord& record) {
    const std::string line = Log::FormatRecord(record) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

char ToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool bEqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (ToLower(a[i]) != ToLower(b[i])) return false;
    }
    return true;
}

}  // namespace

void Log::Write(LogLevel level, std::string_view component, std::string_view text) {
    if (!bIsEnabled(level) || t_insideSink) return;
    OLogRecord record{level, std::string(component), std::string(text),
                      std::chrono::system_clock::now()};
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    t_insideSink = true;
    try {
        if (state.sink) {
            state.sink(record);
        } else {
            WriteToStderr(record);
        }
    } catch (...) {
        // Logging must never take the program down.
    }
    t_insideSink = false;
}

bool Log::bIsEnabled(LogLevel level) {
    return level != LogLevel::Off && level >= State().minimumLevel.load();
}

void Log::SetMinimumLevel(LogLevel level) {
    State().minimumLevel = level;
}

LogLevel Log::MinimumLevel() {
    return State().minimumLevel.load();
}

void Log::ReadEnvironment() {
    State().minimumLevel = LevelFromEnvironment();
}

LogSink Log::SetSink(LogSink sink) {
    LogState& state = State();
    std::lock_guard lock(state.mutex);
    LogSink previous = std::move(state.sink);
    state.sink = std::move(sink);
    return previous;
}

std::optional<LogLevel> Log::ParseLevel(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    constexpr std::pair<std::string_view, LogLevel> kNames[] = {
        {"debug", LogLevel::Debug},  {"info", LogLevel::Info},   {"warning", LogLevel::Warning},
        {"warn", LogLevel::Warning}, {"error", LogLevel::Error}, {"off", LogLevel::Off},
        {"none", LogLevel::Off},
    };
    for (const auto& [name, level] : kNames) {
        if (bEqualsIgnoringCase(text, name)) return level;
    }
    return std::nullopt;
}

std::string_view Log::LevelName(LogLevel level) {
    switch (level) {
        case LogLevel::Debug:
            return "DEBUG";
        case LogLevel::Info:
            return "INFO";
        case LogLevel::Warning:
            return "WARNING";
        case LogLevel::Error:
            return "ERROR";
        case LogLevel::Off:
            return "OFF";
    }
    return "?";
}

std::string Log::FormatRecord(const OLogRecord& record) {
    const auto sinceEpoch = record.time.time_since_epoch();
    const auto seconds = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(sinceEpoch - seconds);
    const std::time_t time = static_cast<std::time_t>(seconds.count());
    std::tm local{};
    localtime_r(&time, &local);
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(millis.count()));
    std::string line = stamp;
    line += ' ';
    line += LevelName(record.level);
    line += ' ';
    line += record.component;
    line += ": ";
    line += record.text;
    return line;
}
