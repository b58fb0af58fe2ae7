// Command-line options of kalvor-devsim.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "model/part/OType_Part.h"
#include "sim/OSimEditions.h"
#include "sim/OSimSchedule.h"

struct OSimFaults {
    int loginRetries = 0;                 // answer the first N logins with "try again"
    int dropAfter = 0;                    // close a session after N requests (0 never)
    int busyAfter = 0;                    // become busy after N requests ...
    double busyFor = 0;                   // ... for this many seconds (0 never)
    int rejectCode = 0;                   // answer every transfer with this code (0 never)
    int delayMs = 0;                      // delay every answer
    int malformedEvery = 0;               // replace every Nth answer by a malformed frame (0 never)
    std::string malformedKind = "cycle";  // oversize, unknown, truncated, badcheck, garbage, cycle
    bool testImageSilent = false;         // a triggered test image gets no result part
    double testImageDeviation = 0;        // percent added to a test image's results (0 none)
};

struct OSimOptions {
    OSimDeviceSpec device;
    std::string bind = "127.0.0.1";
    int port = 10000;        // base port; 0 picks three free consecutive ports
    std::string serial;      // serial device to serve, or "pty" for a new pseudo-terminal
    std::string serialLink;  // with "pty": a symbolic link to its slave side
    double rate = 2;         // parts per second in diagnostic mode; 0 as fast as taken
    OSimSchedule schedule;
    bool variation = true;
    uint32_t seed = 1;
    int variants = 8;      // random variants kept per scheduled part
    int logCapacity = 50;  // parts kept in the part log
    int programSlots = 16;
    uint64_t memory = 64ull << 20;  // bytes for programs and part data
    bool startInDiagMode = false;
    int sendMode = 1;
    double keepAliveTimeout = 0;  // drop sessions silent this long (0 never)
    double resultDeviation = 12.5;
    double quitAfter = 0;  // end after this many seconds (0 never)
    // A file that receives one line per request (what the device was asked and answered).
    std::string tracePath;
    // Each part carries "#N", its running number at the device, as its comment.
    bool labelParts = false;
    bool fixedResults = false;  // no check program is run for the results
    // Diagnostic mode sends parts only when triggered, as a camera with an external trigger.
    bool triggeredOnly = false;
    // A recorded part list (".zrl" or ".kvl") whose parts diagnostic mode sends, in order and
    // then again, instead of synthetic parts.
    std::string replayPath;
    std::shared_ptr<const std::vector<OType_Part>> replay;
    OSimFaults faults;
};

// Parses argv; returns 0 to run, 1 after printing help or the editions (exit 0), 2 on a
// usage error (message set).
int ParseSimOptions(const std::vector<std::string>& args, OSimOptions& options, std::ostream& out,
                    std::string& message);
void PrintSimHelp(std::ostream& out);
