// Owners for FFmpeg's C objects, so every exit path releases them.
#pragma once

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/tx.h>
#include <libswresample/swresample.h>
}

namespace orvanta::bass {

struct FormatContextCloser {
    void operator()(AVFormatContext* p) const { avformat_close_input(&p); }
};
struct CodecContextFreer {
    void operator()(AVCodecContext* p) const { avcodec_free_context(&p); }
};
struct SwrFreer {
    void operator()(SwrContext* p) const { swr_free(&p); }
};
struct PacketFreer {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct FrameFreer {
    void operator()(AVFrame* p) const { av_frame_free(&p); }
};
struct AvioCloser {
    void operator()(AVIOContext* p) const { avio_closep(&p); }
};
struct TxFreer {
    void operator()(AVTXContext* p) const { av_tx_uninit(&p); }
};
struct AvFreer {
    void operator()(void* p) const { av_free(p); }
};

using FormatContextPtr = std::unique_ptr<AVFormatContext, FormatContextCloser>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using SwrPtr = std::unique_ptr<SwrContext, SwrFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using AvioPtr = std::unique_ptr<AVIOContext, AvioCloser>;
using TxPtr = std::unique_ptr<AVTXContext, TxFreer>;

// Closes a dictionary handed to FFmpeg's open calls, whatever they left in it.
class Dictionary {
public:
    Dictionary() = default;
    Dictionary(const Dictionary&) = delete;
    Dictionary& operator=(const Dictionary&) = delete;
    ~Dictionary() { av_dict_free(&FDict); }
    void Set(const char* key, const char* value) { av_dict_set(&FDict, key, value, 0); }
    AVDictionary** Address() { return &FDict; }

private:
    AVDictionary* FDict = nullptr;
};

} // namespace orvanta::bass
