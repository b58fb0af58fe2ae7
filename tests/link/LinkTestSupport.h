// Shared helpers of the link tests: a simulator with a connected TCP link, programs of a
// given size, and waiting for received parts.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

#include "link/OQuillonComInterface_TCP.h"
#include "link/OType_ComPackage.h"
#include "model/partset/OType_ZRPartSet.h"
#include "model/stream/OByteStream_Memory.h"
#include "platform/OCommandQueue_Manual.h"
#include "support/DevsimProcess.h"

namespace LinkTest {

inline std::unique_ptr<OQuillonComInterface_TCP> MakeLink(const DevsimProcess& sim,
                                                          OCommandQueue_Manual* queue,
                                                          int timeoutSec = 5) {
    auto link = std::make_unique<OQuillonComInterface_TCP>(nullptr, nullptr, nullptr, nullptr, 0);
    link->SetAddress("127.0.0.1");
    link->SetPorts(sim.PortText(0), sim.PortText(1), sim.PortText(2));
    link->SetServices({queue, nullptr, nullptr});
    link->SetTimeOut_SEC(timeoutSec);
    return link;
}

// Connects, repeating while the device asks to try again.
inline int iConnect(OQuillonComInterface& link) {
    int r = LinkProtocol::Result::kTryAgain;
    for (int i = 0; i < 100 && r == LinkProtocol::Result::kTryAgain; ++i)
        r = link.iConnect(0, 0, 0, 0, 0, true, true);
    return r;
}

// A part set whose device encoding (with its parts) has at least `bytes` bytes.
inline std::vector<uint8_t> ProgramOfSize(size_t bytes, const std::string& name) {
    OType_ZRPartSet set;
    set.SetName(name);
    set.SetTimeStamp(1700000000);
    const int side = bytes < (1u << 20) ? 64 : 512;
    while (set.iGetObjectSize() < bytes) {
        OType_Part part;
        OType_Image image(side, side, 1);
        for (int i = 0; i < side; ++i)
            image.SetPixel(i, (i * 7 + set.TeachParts().iGetSize()) % side, 0,
                           static_cast<uint8_t>(i));
        part.AddImage(std::move(image));
        set.TeachParts().Add(part);
    }
    return set.Encode();
}

// The payload of "$DCPRG_F": name, time stamp, size, part set.
inline std::vector<uint8_t> NamedProgramPayload(const std::string& name, int64_t stamp,
                                                const std::vector<uint8_t>& program) {
    OByteStream_Memory s;
    s.bWriteString(name);
    s.bWriteI64(stamp);
    s.bWriteU32(static_cast<uint32_t>(program.size()));
    s.bWriteRaw(program.data(), program.size());
    return s.TakeBytes();
}

inline bool bWaitForParts(OQuillonComInterface& link, int count, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (link.iGetNumReceivedParts() < count) {
        if (std::chrono::steady_clock::now() > end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

}  // namespace LinkTest
