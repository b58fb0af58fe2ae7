// Which parts the simulated feeder brings, in order: entries "type:orientation x count",
// separated by commas, repeated from the start when the last is done.
// Example: "1:1x10,1:2x10,2:1x5".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sim/OSimPartFactory.h"

class OSimSchedule {
  public:
    struct OEntry {
        OSimPartSpec spec;
        int count = 1;
    };

    OSimSchedule();  // types 1-3, orientations 1 and 2, five parts each
    // False with a message when the text is malformed.
    bool bParse(std::string_view text, std::string& message);

    OSimPartSpec Next();
    const std::vector<OEntry>& Entries() const { return m_entries; }

  private:
    std::vector<OEntry> m_entries;
    size_t m_entry = 0;
    int m_done = 0;
};
