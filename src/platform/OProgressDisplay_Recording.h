// A ProgressDisplay that records every update, for tests. Thread-safe.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "platform/ProgressDisplay.h"

struct OProgressUpdate {
    enum class Kind { Progress, StatusText };
    Kind kind = Kind::Progress;
    int percent = 0;
    std::string text;

    bool operator==(const OProgressUpdate&) const = default;
};

class OProgressDisplay_Recording : public ProgressDisplay {
  public:
    void ShowProgress(int percent) override;
    void ShowStatusText(std::string_view text) override;

    std::vector<OProgressUpdate> Updates() const;
    std::vector<int> Percents() const;
    std::vector<std::string> StatusTexts() const;
    void Clear();

  private:
    mutable std::mutex m_mutex;
    std::vector<OProgressUpdate> m_updates;
};
