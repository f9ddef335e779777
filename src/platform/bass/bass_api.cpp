// The nine BASS functions over the engine. The program calls them from its GUI thread only, so
// the engine pointer itself needs no lock; the engine guards what its device thread shares.
#include <cmath>
#include <cstdlib>
#include <memory>
#include <mutex>

#include "audio/bass.h"
#include "platform/bass/engine.h"
#include "platform/bass/engine_extras.h"
#include "platform/bass/stream.h"
#include "platform/bass/url_policy.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace {

using orvanta::bass::Engine;

std::unique_ptr<Engine> g_engine;
orvanta::bass::Tuning g_tuning;
// Handles are never reused within a run, across BASS_Free and BASS_Init too, so a stale handle
// kept by the program can never touch a newer stream.
DWORD g_lastHandle = 0;
constexpr DWORD kFailure = 0xFFFFFFFF;

void InitLibrariesOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        avformat_network_init();
        // Stations glitch all the time; FFmpeg's complaints belong on stderr only when asked.
        const char* level = std::getenv("ORVANTA_FFMPEG_LOG");
        av_log_set_level(level ? std::atoi(level) : AV_LOG_QUIET);
    });
}

DWORD NextHandle() {
    do {
        ++g_lastHandle;
    } while (g_lastHandle == 0 || g_lastHandle == kFailure);
    return g_lastHandle;
}

} // namespace

extern "C" {

BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* win, const void* clsid) {
    (void)win;
    (void)clsid;
    if (g_engine)
        return FALSE;
    InitLibrariesOnce();
    const int rate = freq == 0 ? 44100 : static_cast<int>(freq);
    if (rate < 8000 || rate > 192000)
        return FALSE;
    g_engine = Engine::Create(device, rate, (flags & BASS_DEVICE_MONO) != 0);
    return g_engine ? TRUE : FALSE;
}

BOOL BASS_Free(void) {
    if (!g_engine)
        return FALSE;
    g_engine.reset();
    return TRUE;
}

BOOL BASS_SetVolume(float volume) {
    if (!g_engine || !(volume >= 0.0f && volume <= 1.0f))
        return FALSE;
    g_engine->SetVolume(volume);
    return TRUE;
}

HSTREAM BASS_StreamCreateURL(const char* url, DWORD offset, DWORD flags, DOWNLOADPROC* proc,
                             void* user) {
    (void)offset;
    (void)flags;
    (void)proc;
    (void)user;
    if (!g_engine || !url)
        return 0;
    const auto normalized = orvanta::bass::NormalizeStreamUrl(url);
    if (!normalized)
        return 0;
    auto stream = std::make_unique<orvanta::bass::Stream>(*normalized, g_engine->Rate(), g_tuning);
    if (!stream->Start())
        return 0;
    const HSTREAM handle = NextHandle();
    g_engine->Add(handle, std::move(stream));
    return handle;
}

BOOL BASS_StreamFree(HSTREAM handle) {
    return g_engine && g_engine->Free(handle) ? TRUE : FALSE;
}

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart) {
    (void)restart; // a live stream has no beginning to go back to
    return g_engine && g_engine->Play(handle) ? TRUE : FALSE;
}

BOOL BASS_ChannelStop(DWORD handle) {
    return g_engine && g_engine->Stop(handle) ? TRUE : FALSE;
}

DWORD BASS_ChannelGetLevel(DWORD handle) {
    if (!g_engine)
        return kFailure;
    return g_engine->Level(handle).value_or(kFailure);
}

DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length) {
    if (!g_engine || !buffer || length != BASS_DATA_FFT1024)
        return kFailure;
    if (!g_engine->Spectrum(handle, static_cast<float*>(buffer)))
        return kFailure;
    return orvanta::bass::Fft1024::kBins * sizeof(float);
}

} // extern "C"

namespace orvanta::bass {

void SetTuning(const Tuning& tuning) {
    g_tuning = tuning;
}
Tuning CurrentTuning() {
    return g_tuning;
}

std::optional<StreamTags> GetStreamTags(HSTREAM handle) {
    return g_engine ? g_engine->Tags(handle) : std::nullopt;
}

std::optional<std::chrono::steady_clock::time_point> FirstAudioTime(HSTREAM handle) {
    return g_engine ? g_engine->FirstAudio(handle) : std::nullopt;
}

int ConnectionCount(HSTREAM handle) {
    return g_engine ? g_engine->Connections(handle).value_or(0) : 0;
}

} // namespace orvanta::bass
