// One connection to a station: FFmpeg demuxing and decoding of its audio into interleaved stereo
// float at the device rate.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/bass/ffmpeg_ptr.h"
#include "platform/bass/io_guard.h"

namespace orvanta::bass {

class MediaSource {
public:
    // Connects and probes `url` (already checked by NormalizeStreamUrl). On failure returns
    // nothing and puts FFmpeg's error code in `error`.
    static std::unique_ptr<MediaSource> Open(const std::string& url, int rate, IoGuard& guard,
                                             int& error);
    ~MediaSource();

    // Appends the next decoded frames to `out`; returns how many (0: a packet gave nothing yet),
    // or a negative FFmpeg error when the connection or the stream has ended.
    int Decode(std::vector<float>& out);

    // True when the stream ended because a resource of known size was read to its end, rather
    // than because the connection dropped.
    bool ReachedKnownEnd() const;

    std::optional<std::string> IcyName() const;
    std::optional<std::string> StreamTitle() const;

private:
    MediaSource(IoGuard& guard, int rate);
    int Setup();
    int Append(const AVFrame& frame, std::vector<float>& out);

    IoGuard& FGuard;
    const int FRate;
    FormatContextPtr FFormat;
    CodecContextPtr FCodec;
    SwrPtr FSwr;
    PacketPtr FPacket;
    FramePtr FFrame;
    int FStream = -1;
    bool FDraining = false;
    int FEndError = 0;
    // What the resampler was set up for; a change mid-stream (chained Ogg) sets it up anew.
    int FSwrFormat = -1;
    int FSwrRate = 0;
    AVChannelLayout FSwrLayout{};
    int FSwrOutChannels = 0;
    std::vector<float> FConverted;
};

// Reads at most `limit` bytes of a small text resource (a playlist) under the same protocol
// rules; nothing on failure.
std::optional<std::string> FetchText(const std::string& url, IoGuard& guard, std::size_t limit,
                                     int& error);

bool IsClientError(int ffmpegError);

} // namespace orvanta::bass
