// A station being received: its own thread connects, decodes into a bounded ring, and
// reconnects when a live stream drops. Freeing the stream stops and joins that thread.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/bass/engine_extras.h"
#include "platform/bass/pcm_ring.h"

namespace orvanta::bass {

class MediaSource;
class IoGuard;

class Stream {
public:
    Stream(std::string url, int rate, const Tuning& tuning);
    ~Stream();
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    // Connects, probes and decodes the first audio; blocks until then. False on failure.
    bool Start();
    // Stops the thread and waits for it; safe to call more than once.
    void Shutdown();

    PcmRing& Ring() { return FRing; }
    // No more audio will come: a finite resource ended or reconnecting was given up.
    bool Finished() const { return FFinished.load(); }
    StreamTags Tags() const;
    int Connections() const { return FConnections.load(); }

private:
    enum class Phase { Opening, Ready, Failed };

    void Run();
    std::unique_ptr<MediaSource> OpenFirst(IoGuard& guard);
    std::unique_ptr<MediaSource> OpenCandidate(const std::string& url, IoGuard& guard, int& error);
    std::vector<std::string> Candidates(const std::string& url, IoGuard& guard, int depth);
    // Decodes until the connection ends; returns FFmpeg's reason.
    int Pump(MediaSource& source, bool& delivered);
    bool PushAll(const std::vector<float>& frames);
    void UpdateTags(const MediaSource& source, bool withName);
    bool WaitAbortable(std::chrono::milliseconds delay);
    void SetPhase(Phase phase);

    const std::string FUrl;
    const int FRate;
    const Tuning FTuning;
    PcmRing FRing;
    std::atomic<bool> FAbort{false};
    std::atomic<bool> FFinished{false};
    std::atomic<int> FConnections{0};
    std::string FActiveUrl;

    mutable std::mutex FLock; // guards the fields below
    std::condition_variable FWake;
    Phase FPhase = Phase::Opening;
    StreamTags FTags;

    std::thread FThread;
};

} // namespace orvanta::bass
