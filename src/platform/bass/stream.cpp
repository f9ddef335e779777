#include "platform/bass/stream.h"

#include <chrono>

#include "platform/bass/io_guard.h"
#include "platform/bass/media_source.h"
#include "platform/bass/playlist.h"
#include "platform/bass/reconnect_policy.h"
#include "platform/bass/url_policy.h"

namespace orvanta::bass {

namespace {

using Clock = std::chrono::steady_clock;

// Seconds of decoded audio kept ahead of the mixer: enough to ride out network jitter without
// holding much memory; when full the decoder waits and TCP slows the station down.
constexpr int kRingSeconds = 3;
constexpr std::size_t kPlaylistLimit = 256 * 1024;
constexpr int kPlaylistDepth = 2;
constexpr std::size_t kMaxCandidates = 8;
constexpr auto kRingPoll = std::chrono::milliseconds(10);
constexpr auto kTagPoll = std::chrono::milliseconds(500);

} // namespace

Stream::Stream(std::string url, int rate, const Tuning& tuning)
    : FUrl(std::move(url)), FRate(rate), FTuning(tuning),
      FRing(static_cast<std::size_t>(rate) * kRingSeconds) {}

Stream::~Stream() {
    Shutdown();
}

bool Stream::Start() {
    FThread = std::thread([this] { Run(); });
    std::unique_lock lock(FLock);
    FWake.wait(lock, [this] { return FPhase != Phase::Opening; });
    const bool ok = FPhase == Phase::Ready;
    lock.unlock();
    if (!ok)
        Shutdown();
    return ok;
}

void Stream::Shutdown() {
    {
        std::lock_guard lock(FLock);
        FAbort = true;
    }
    FWake.notify_all();
    if (FThread.joinable())
        FThread.join();
}

StreamTags Stream::Tags() const {
    std::lock_guard lock(FLock);
    return FTags;
}

void Stream::SetPhase(Phase phase) {
    {
        std::lock_guard lock(FLock);
        FPhase = phase;
    }
    FWake.notify_all();
}

bool Stream::WaitAbortable(std::chrono::milliseconds delay) {
    std::unique_lock lock(FLock);
    return !FWake.wait_for(lock, delay, [this] { return FAbort.load(); });
}

void Stream::UpdateTags(const MediaSource& source, bool withName) {
    auto name = withName ? source.IcyName() : std::nullopt;
    auto title = source.StreamTitle();
    std::lock_guard lock(FLock);
    if (name)
        FTags.name = std::move(*name);
    if (title)
        FTags.title = std::move(*title);
}

std::vector<std::string> Stream::Candidates(const std::string& url, IoGuard& guard, int depth) {
    if (depth >= kPlaylistDepth || !LooksLikePlaylistUrl(url))
        return {url};
    int error = 0;
    const auto text = FetchText(url, guard, kPlaylistLimit, error);
    if (!text)
        return {};
    if (IsHlsPlaylist(*text))
        return {url};
    std::vector<std::string> out;
    for (const std::string& entry : ParsePlaylistEntries(*text)) {
        const auto normalized = NormalizeStreamUrl(ResolveUrl(url, entry));
        if (!normalized)
            continue;
        for (std::string& nested : Candidates(*normalized, guard, depth + 1)) {
            out.push_back(std::move(nested));
            if (out.size() >= kMaxCandidates)
                return out;
        }
    }
    return out;
}

std::unique_ptr<MediaSource> Stream::OpenCandidate(const std::string& url, IoGuard& guard,
                                                   int& error) {
    ++FConnections;
    auto source = MediaSource::Open(url, FRate, guard, error);
    if (!source)
        return nullptr;
    // The caller is told the stream works only once audio is actually in the ring.
    std::vector<float> frames;
    while (!FAbort) {
        frames.clear();
        const int n = source->Decode(frames);
        if (n < 0) {
            error = n;
            return nullptr;
        }
        if (n > 0) {
            PushAll(frames);
            return source;
        }
    }
    error = AVERROR_EXIT;
    return nullptr;
}

std::unique_ptr<MediaSource> Stream::OpenFirst(IoGuard& guard) {
    const auto limit = Clock::now() + FTuning.createLimit;
    guard.SetHardDeadline(limit);
    for (const std::string& candidate : Candidates(FUrl, guard, 0)) {
        // A dead entry does not stop the next one from being tried, the overall limit does.
        if (FAbort || Clock::now() >= limit)
            break;
        int error = 0;
        auto source = OpenCandidate(candidate, guard, error);
        if (source) {
            guard.ClearHardDeadline();
            FActiveUrl = candidate;
            return source;
        }
    }
    return nullptr;
}

bool Stream::PushAll(const std::vector<float>& frames) {
    const std::size_t total = frames.size() / 2;
    std::size_t done = 0;
    while (done < total) {
        done += FRing.Write(frames.data() + done * 2, total - done);
        if (done < total && !WaitAbortable(kRingPoll))
            return false;
    }
    return true;
}

int Stream::Pump(MediaSource& source, bool& delivered) {
    std::vector<float> frames;
    auto nextTags = Clock::now();
    while (!FAbort) {
        frames.clear();
        const int n = source.Decode(frames);
        if (n < 0)
            return n;
        if (n > 0) {
            delivered = true;
            if (!PushAll(frames))
                break;
        }
        if (Clock::now() >= nextTags) {
            UpdateTags(source, false);
            nextTags = Clock::now() + kTagPoll;
        }
    }
    return AVERROR_EXIT;
}

void Stream::Run() {
    IoGuard guard(FAbort, FTuning.noDataTimeout);
    std::unique_ptr<MediaSource> source = OpenFirst(guard);
    if (!source) {
        SetPhase(Phase::Failed);
        return;
    }
    UpdateTags(*source, true);
    SetPhase(Phase::Ready);

    ReconnectPolicy policy(FTuning.reconnectFirst, FTuning.reconnectMax, FTuning.reconnectAttempts);
    bool delivered = true;
    bool clientError = false;
    while (!FAbort) {
        if (source) {
            const int reason = Pump(*source, delivered);
            if (FAbort)
                break;
            const bool ended = reason == AVERROR_EOF && source->ReachedKnownEnd();
            source.reset();
            if (ended)
                break;
        }
        // A fresh request each time: FFmpeg's own reconnect would resume mid-body and cannot
        // tell a dead station from a hiccup.
        if (!policy.ShouldRetry(delivered, clientError) || !WaitAbortable(policy.Delay()))
            break;
        delivered = false;
        int error = 0;
        source = OpenCandidate(FActiveUrl, guard, error);
        clientError = !source && IsClientError(error);
        if (source) {
            delivered = true;
            UpdateTags(*source, true);
        }
    }
    FFinished = true;
}

} // namespace orvanta::bass
