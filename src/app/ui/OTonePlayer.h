// Plays a beep tone through the sound system when the desktop has no beep of its own (the
// offscreen and Wayland platforms have none). The samples come from ToneSynthesis; they go
// to ALSA's default device (PulseAudio and PipeWire serve it too), whose library is loaded
// when first needed: a machine without it still runs the program, the beep then reports that
// it could not be played. One tone sounds at a time, on a thread of its own, so the user
// interface never waits for it.
#pragma once

#include <atomic>
#include <thread>

class OTonePlayer {
  public:
    OTonePlayer() = default;
    ~OTonePlayer();
    OTonePlayer(const OTonePlayer&) = delete;
    OTonePlayer& operator=(const OTonePlayer&) = delete;

    // Starts the tone; false when no sound device could be opened. While a tone sounds a new
    // one is not started (the sounding one answers for it).
    bool bPlay(int frequencyHz, int durationMs);
    bool bIsPlaying() const { return m_playing.load(); }
    // Waits until the sounding tone has ended.
    void Wait();

  private:
    std::thread m_thread;
    std::atomic<bool> m_playing{false};
};
