#include "platform/bass/media_source.h"

#include "platform/bass/host_lookup.h"

#include <algorithm>
#include <string>

#include "platform/bass/icy_tags.h"
#include "platform/bass/url_policy.h"

extern "C" {
#include <libavutil/opt.h>
}

namespace orvanta::bass {

namespace {

// Small probe: a loopback or burst-on-connect station is audible in well under half a second.
constexpr char kProbeSize[] = "65536";
constexpr char kAnalyzeDuration[] = "500000";

void SetNetworkOptions(Dictionary& opts, const IoGuard& guard) {
    opts.Set("protocol_whitelist", kProtocolWhitelist);
    opts.Set("user_agent", "Orvanta/1.0");
    opts.Set("icy", "1");
    // A ranged request to look for tags at the end of a file only slows the start down.
    opts.Set("seekable", "0");
    // The socket gives up on its own too, in case a read sits where the callback is not polled.
    opts.Set("rw_timeout", std::to_string(guard.NoData().count() * 1000).c_str());
}

std::optional<std::string> ReadOption(AVIOContext* io, const char* name) {
    if (!io)
        return std::nullopt;
    uint8_t* value = nullptr;
    if (av_opt_get(io, name, AV_OPT_SEARCH_CHILDREN, &value) < 0 || !value)
        return std::nullopt;
    std::string text(reinterpret_cast<char*>(value));
    av_free(value);
    return text;
}

} // namespace

bool IsClientError(int e) {
    return e == AVERROR_HTTP_BAD_REQUEST || e == AVERROR_HTTP_UNAUTHORIZED ||
           e == AVERROR_HTTP_FORBIDDEN || e == AVERROR_HTTP_NOT_FOUND ||
           e == AVERROR_HTTP_OTHER_4XX;
}

MediaSource::MediaSource(IoGuard& guard, int rate)
    : FGuard(guard), FRate(rate), FPacket(av_packet_alloc()), FFrame(av_frame_alloc()) {}

MediaSource::~MediaSource() {
    av_channel_layout_uninit(&FSwrLayout);
    FGuard.Unwatch();
}

std::unique_ptr<MediaSource> MediaSource::Open(const std::string& url, int rate, IoGuard& guard,
                                               int& error) {
    std::unique_ptr<MediaSource> source(new MediaSource(guard, rate));
    error = source->FPacket && source->FFrame ? 0 : AVERROR(ENOMEM);
    if (error == 0) {
        AVFormatContext* raw = avformat_alloc_context();
        if (!raw) {
            error = AVERROR(ENOMEM);
            return nullptr;
        }
        // A host that does not resolve in time fails like a silent server.
        if (!HostResolvesWithin(UrlHost(url), guard.NoData())) {
            avformat_free_context(raw);
            error = AVERROR(EHOSTUNREACH);
            return nullptr;
        }
        raw->interrupt_callback = guard.Callback();
        Dictionary opts;
        SetNetworkOptions(opts, guard);
        opts.Set("probesize", kProbeSize);
        opts.Set("formatprobesize", kProbeSize);
        opts.Set("analyzeduration", kAnalyzeDuration);
        guard.Arm();
        guard.Watch(raw);
        error = avformat_open_input(&raw, url.c_str(), nullptr, opts.Address());
        if (error < 0) {
            guard.Unwatch();
            return nullptr;
        }
        source->FFormat.reset(raw);
        error = source->Setup();
    }
    if (error < 0)
        return nullptr;
    return source;
}

int MediaSource::Setup() {
    AVFormatContext* fmt = FFormat.get();
    int ret = avformat_find_stream_info(fmt, nullptr);
    if (ret < 0)
        return ret;
    const AVCodec* codec = nullptr;
    FStream = av_find_best_stream(fmt, AVMEDIA_TYPE_AUDIO, -1, -1, &codec, 0);
    if (FStream < 0)
        return FStream;
    if (!codec)
        return AVERROR_DECODER_NOT_FOUND;
    for (unsigned i = 0; i < fmt->nb_streams; ++i)
        if (static_cast<int>(i) != FStream)
            fmt->streams[i]->discard = AVDISCARD_ALL;
    FCodec.reset(avcodec_alloc_context3(codec));
    if (!FCodec)
        return AVERROR(ENOMEM);
    ret = avcodec_parameters_to_context(FCodec.get(), fmt->streams[FStream]->codecpar);
    if (ret < 0)
        return ret;
    return avcodec_open2(FCodec.get(), codec, nullptr);
}

int MediaSource::Decode(std::vector<float>& out) {
    for (;;) {
        int ret = avcodec_receive_frame(FCodec.get(), FFrame.get());
        if (ret == 0) {
            ret = Append(*FFrame, out);
            av_frame_unref(FFrame.get());
            return ret;
        }
        if (ret == AVERROR_EOF)
            return FEndError;
        if (ret != AVERROR(EAGAIN)) {
            // A corrupt stretch of a live stream: drop the decoder state and carry on reading.
            avcodec_flush_buffers(FCodec.get());
        }
        if (FDraining)
            return FEndError;
        FGuard.Arm();
        ret = av_read_frame(FFormat.get(), FPacket.get());
        if (ret == AVERROR(EAGAIN))
            continue;
        if (ret < 0) {
            FEndError = ret;
            FDraining = true;
            avcodec_send_packet(FCodec.get(), nullptr);
            continue;
        }
        if (FPacket->stream_index == FStream) {
            // Undecodable packets are skipped: stations glitch, the next packet may be fine.
            avcodec_send_packet(FCodec.get(), FPacket.get());
        }
        av_packet_unref(FPacket.get());
    }
}

int MediaSource::Append(const AVFrame& frame, std::vector<float>& out) {
    AVChannelLayout layout{};
    if (frame.ch_layout.order != AV_CHANNEL_ORDER_UNSPEC && frame.ch_layout.nb_channels > 0)
        av_channel_layout_copy(&layout, &frame.ch_layout);
    else
        av_channel_layout_default(&layout, std::max(1, frame.ch_layout.nb_channels));
    const int rate = frame.sample_rate > 0 ? frame.sample_rate : FCodec->sample_rate;
    if (!FSwr || frame.format != FSwrFormat || rate != FSwrRate ||
        av_channel_layout_compare(&layout, &FSwrLayout) != 0) {
        // A mono station goes to both sides at full level rather than the -3 dB pan.
        FSwrOutChannels = layout.nb_channels == 1 ? 1 : 2;
        AVChannelLayout outLayout{};
        av_channel_layout_default(&outLayout, FSwrOutChannels);
        SwrContext* swr = nullptr;
        int ret = swr_alloc_set_opts2(&swr, &outLayout, AV_SAMPLE_FMT_FLT, FRate, &layout,
                                      static_cast<AVSampleFormat>(frame.format), rate, 0, nullptr);
        av_channel_layout_uninit(&outLayout);
        FSwr.reset(swr);
        if (ret >= 0)
            ret = swr_init(swr);
        if (ret < 0) {
            FSwr.reset();
            av_channel_layout_uninit(&layout);
            return ret;
        }
        FSwrFormat = frame.format;
        FSwrRate = rate;
        av_channel_layout_uninit(&FSwrLayout);
        av_channel_layout_copy(&FSwrLayout, &layout);
    }
    av_channel_layout_uninit(&layout);

    const int capacity = swr_get_out_samples(FSwr.get(), frame.nb_samples);
    if (capacity <= 0)
        return 0;
    FConverted.resize(static_cast<std::size_t>(capacity) * FSwrOutChannels);
    uint8_t* dst = reinterpret_cast<uint8_t*>(FConverted.data());
    const int n = swr_convert(FSwr.get(), &dst, capacity,
                              const_cast<const uint8_t**>(frame.extended_data), frame.nb_samples);
    if (n <= 0)
        return n;
    const std::size_t base = out.size();
    out.resize(base + static_cast<std::size_t>(n) * 2);
    if (FSwrOutChannels == 1) {
        for (int i = 0; i < n; ++i)
            out[base + i * 2] = out[base + i * 2 + 1] = FConverted[i];
    } else {
        std::copy_n(FConverted.begin(), static_cast<std::size_t>(n) * 2, out.begin() + base);
    }
    return n;
}

bool MediaSource::ReachedKnownEnd() const {
    AVIOContext* io = FFormat ? FFormat->pb : nullptr;
    if (!io || FEndError != AVERROR_EOF)
        return false;
    const int64_t size = avio_size(io);
    return size > 0 && avio_tell(io) >= size;
}

std::optional<std::string> MediaSource::IcyName() const {
    const auto headers = ReadOption(FFormat ? FFormat->pb : nullptr, "icy_metadata_headers");
    return headers ? IcyNameFromHeaders(*headers) : std::nullopt;
}

std::optional<std::string> MediaSource::StreamTitle() const {
    const auto packet = ReadOption(FFormat ? FFormat->pb : nullptr, "icy_metadata_packet");
    return packet ? StreamTitleFromMetadata(*packet) : std::nullopt;
}

std::optional<std::string> FetchText(const std::string& url, IoGuard& guard, std::size_t limit,
                                     int& error) {
    Dictionary opts;
    SetNetworkOptions(opts, guard);
    opts.Set("icy", "0");
    AVIOInterruptCB cb = guard.Callback();
    AVIOContext* raw = nullptr;
    guard.Arm();
    error = avio_open2(&raw, url.c_str(), AVIO_FLAG_READ, &cb, opts.Address());
    if (error < 0)
        return std::nullopt;
    AvioPtr io(raw);
    guard.Watch(raw);
    std::string text;
    std::vector<unsigned char> chunk(4096);
    while (text.size() < limit) {
        const int n = avio_read(raw, chunk.data(),
                                static_cast<int>(std::min(chunk.size(), limit - text.size())));
        if (n == AVERROR_EOF || n == 0)
            break;
        if (n < 0) {
            guard.Unwatch();
            error = n;
            return std::nullopt;
        }
        text.append(reinterpret_cast<const char*>(chunk.data()), static_cast<std::size_t>(n));
    }
    guard.Unwatch();
    error = 0;
    return text;
}

} // namespace orvanta::bass
