// What the engine offers beyond the nine BASS functions: station tags for whoever wants to show
// them, measurements for the benchmark, and timing knobs so tests need not wait real minutes.
// Like the BASS functions, these are called from the GUI thread only.
#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "audio/bass.h"

namespace orvanta::bass {

struct Tuning {
    // An open or a read that sees no data this long gives up.
    std::chrono::milliseconds noDataTimeout{5000};
    // Creating a stream never holds the caller longer than this, playlists included.
    std::chrono::milliseconds createLimit{10000};
    // Back-off between reconnects of a dropped live stream: doubles from first up to max.
    std::chrono::milliseconds reconnectFirst{1000};
    std::chrono::milliseconds reconnectMax{30000};
    // Consecutive reconnect attempts that deliver no audio before the stream is given up.
    int reconnectAttempts = 6;
};

// Applies to streams created afterwards.
void SetTuning(const Tuning& tuning);
Tuning CurrentTuning();

struct StreamTags {
    std::string name;  // icy-name of the response
    std::string title; // last StreamTitle of the in-band metadata
};
std::optional<StreamTags> GetStreamTags(HSTREAM handle);

// When the mixer first handed this stream's audio to the device.
std::optional<std::chrono::steady_clock::time_point> FirstAudioTime(HSTREAM handle);

// Connections opened for the stream so far (1 until a reconnect).
int ConnectionCount(HSTREAM handle);

} // namespace orvanta::bass
