#include "app/ui/OTonePlayer.h"

#include <dlfcn.h>

#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/ToneSynthesis.h"

namespace {

// The part of ALSA's PCM interface the player uses, with the values of its enumerations.
struct OAlsa {
    using Open = int (*)(void** pcm, const char* name, int stream, int mode);
    using SetParams = int (*)(void* pcm, int format, int access, unsigned channels, unsigned rate,
                              int softResample, unsigned latencyUs);
    using WriteI = long (*)(void* pcm, const void* buffer, unsigned long frames);
    using Recover = int (*)(void* pcm, int error, int silent);
    using Drain = int (*)(void* pcm);
    using Close = int (*)(void* pcm);
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetErrorHandler = int (*)(ErrorHandler handler);

    static constexpr int kStreamPlayback = 0;
    static constexpr int kFormatS16LE = 2;
    static constexpr int kAccessRwInterleaved = 3;
    static constexpr unsigned kLatencyUs = 100000;

    Open open = nullptr;
    SetParams setParams = nullptr;
    WriteI writei = nullptr;
    Recover recover = nullptr;
    Drain drain = nullptr;
    Close close = nullptr;

    bool bLoaded() const { return open && setParams && writei && recover && drain && close; }
};

// ALSA reports missing sound cards on stderr; the player reports them by its result.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

const OAlsa& Alsa() {
    static OAlsa alsa;
    static std::once_flag once;
    std::call_once(once, [] {
        void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        auto symbol = [library](const char* name) { return dlsym(library, name); };
        alsa.open = reinterpret_cast<OAlsa::Open>(symbol("snd_pcm_open"));
        alsa.setParams = reinterpret_cast<OAlsa::SetParams>(symbol("snd_pcm_set_params"));
        alsa.writei = reinterpret_cast<OAlsa::WriteI>(symbol("snd_pcm_writei"));
        alsa.recover = reinterpret_cast<OAlsa::Recover>(symbol("snd_pcm_recover"));
        alsa.drain = reinterpret_cast<OAlsa::Drain>(symbol("snd_pcm_drain"));
        alsa.close = reinterpret_cast<OAlsa::Close>(symbol("snd_pcm_close"));
        if (auto quiet =
                reinterpret_cast<OAlsa::SetErrorHandler>(symbol("snd_lib_error_set_handler")))
            quiet(&QuietAlsa);
    });
    return alsa;
}

void Write(const OAlsa& alsa, void* pcm, const std::vector<int16_t>& samples) {
    size_t done = 0;
    while (done < samples.size()) {
        long written = alsa.writei(pcm, samples.data() + done, samples.size() - done);
        if (written < 0) written = alsa.recover(pcm, static_cast<int>(written), 1);
        if (written < 0) return;
        done += static_cast<size_t>(written);
    }
    alsa.drain(pcm);
}

}  // namespace

OTonePlayer::~OTonePlayer() {
    Wait();
}

void OTonePlayer::Wait() {
    if (m_thread.joinable()) m_thread.join();
}

bool OTonePlayer::bPlay(int frequencyHz, int durationMs) {
    if (m_playing.load()) return true;
    const OAlsa& alsa = Alsa();
    if (!alsa.bLoaded()) return false;
    std::vector<int16_t> samples = ToneSynthesis::Tone(frequencyHz, durationMs);
    if (samples.empty()) return true;
    void* pcm = nullptr;
    if (alsa.open(&pcm, "default", OAlsa::kStreamPlayback, 0) < 0 || !pcm) return false;
    if (alsa.setParams(pcm, OAlsa::kFormatS16LE, OAlsa::kAccessRwInterleaved, 1,
                       ToneSynthesis::kSampleRate, 1, OAlsa::kLatencyUs) < 0) {
        alsa.close(pcm);
        return false;
    }
    Wait();
    m_playing = true;
    m_thread = std::thread([this, &alsa, pcm, tone = std::move(samples)] {
        Write(alsa, pcm, tone);
        alsa.close(pcm);
        m_playing = false;
    });
    return true;
}
