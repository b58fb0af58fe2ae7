// Receives the commands a CommandQueue dispatches (the document, in the program).
#pragma once

#include <cstdint>

class CommandTarget {
  public:
    virtual ~CommandTarget() = default;
    virtual void OnCommand(int commandId, int64_t argument) = 0;
};
