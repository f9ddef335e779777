// Measures the engine on one loopback 128 kbps MP3 station, next to ffplay and mpv:
//  - time from BASS_StreamCreateURL to the first audio handed to the device;
//  - for each player run as its own process on SDL's disk driver: time from start to the first
//    non-silent byte written, CPU seconds and peak RSS over the playing time;
//  - a long run of create/play/free cycles: time per cycle and what is left afterwards.
// Usage: orvanta_engine_bench [--seconds N] [--cycles N]   (defaults 30 and 1000)
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "audio/bass.h"
#include "platform/bass/engine_extras.h"
#include "stream_server.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

double Ms(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::size_t Entries(const char* dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

long RssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::atol(line.c_str() + 6);
    return 0;
}

bool OnPath(const std::string& tool) {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "";
    std::size_t start = 0;
    while (start <= dirs.size()) {
        const std::size_t end = dirs.find(':', start);
        const std::string dir = dirs.substr(start, end - start);
        if (!dir.empty() && ::access((dir + "/" + tool).c_str(), X_OK) == 0)
            return true;
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return false;
}

// Offset of the first non-zero byte written so far, if any.
std::optional<std::size_t> FirstSound(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> buf(1 << 16);
    std::size_t offset = 0;
    while (in) {
        in.read(buf.data(), static_cast<std::streamsize>(buf.size()));
        const std::streamsize n = in.gcount();
        for (std::streamsize i = 0; i < n; ++i)
            if (buf[static_cast<std::size_t>(i)] != 0)
                return offset + static_cast<std::size_t>(i);
        offset += static_cast<std::size_t>(n);
    }
    return std::nullopt;
}

struct Run {
    std::string name;
    bool ok = false;
    double firstSoundMs = -1;
    double cpuSeconds = 0;
    long peakRssKb = 0;
};

// Runs `argv` for `seconds` with SDL writing its audio to a file, then ends it.
Run Measure(const std::string& name, std::vector<std::string> argv, int seconds) {
    Run run{name};
    const std::string pcm = "/tmp/orvanta_bench_" + name + ".raw";
    std::filesystem::remove(pcm);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        if (std::strncmp(*e, "SDL_", 4) != 0)
            env.emplace_back(*e);
    env.push_back("SDL_AUDIODRIVER=disk");
    env.push_back("SDL_DISKAUDIOFILE=" + pcm);
    std::vector<char*> cargv, cenv;
    for (auto& a : argv)
        cargv.push_back(a.data());
    cargv.push_back(nullptr);
    for (auto& e : env)
        cenv.push_back(e.data());
    cenv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto start = Clock::now();
    const int error = posix_spawnp(&pid, cargv[0], &actions, nullptr, cargv.data(), cenv.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return run;
    const auto end = start + std::chrono::seconds(seconds);
    bool exited = false;
    int status = 0;
    rusage usage{};
    while (Clock::now() < end) {
        if (run.firstSoundMs < 0 && FirstSound(pcm))
            run.firstSoundMs = Ms(Clock::now() - start);
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            exited = true;
            break;
        }
        std::this_thread::sleep_for(milliseconds(run.firstSoundMs < 0 ? 2 : 100));
    }
    if (!exited) {
        ::kill(pid, SIGTERM);
        ::wait4(pid, &status, 0, &usage);
    }
    run.ok = run.firstSoundMs >= 0;
    run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                     (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    run.peakRssKb = usage.ru_maxrss;
    std::filesystem::remove(pcm);
    return run;
}

orvanta::test::Route Station() {
    orvanta::test::Route route;
    route.file = std::string(ORVANTA_FIXTURES_DIR) + "/tone_1k_stereo.mp3";
    route.icyName = "Bench FM";
    route.bytesPerSecond = 16000; // 128 kbps
    route.burstBytes = 16000;
    return route;
}

// The child that plays for the CPU and memory figures; with `ticks` it also makes the reads the
// program's meters and spectrum make.
int PlayChild(const char* url, int seconds, bool ticks) {
    if (!BASS_Init(-1, 44100, 0, nullptr, nullptr))
        return 1;
    const HSTREAM stream = BASS_StreamCreateURL(url, 0, 0, nullptr, nullptr);
    if (!stream || !BASS_ChannelPlay(stream, FALSE))
        return 2;
    // What the program does on its ticks: volume every 20 ms, levels and spectrum every 10 ms.
    float fft[513];
    const auto end = Clock::now() + std::chrono::seconds(seconds);
    if (!ticks)
        std::this_thread::sleep_until(end);
    for (int tick = 0; Clock::now() < end; ++tick) {
        if (tick % 2 == 0)
            BASS_SetVolume(0.8f);
        for (int i = 0; i < 14; ++i)
            BASS_ChannelGetLevel(stream);
        BASS_ChannelGetData(stream, fft, BASS_DATA_FFT1024);
        std::this_thread::sleep_for(milliseconds(10));
    }
    BASS_Free();
    return 0;
}

void FirstAudioInProcess(const std::string& url) {
    std::filesystem::remove("/tmp/orvanta_bench_inproc.raw");
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", "/tmp/orvanta_bench_inproc.raw", 1);
    if (!BASS_Init(-1, 44100, 0, nullptr, nullptr)) {
        std::printf("engine: BASS_Init failed\n");
        return;
    }
    std::vector<double> create, first;
    for (int i = 0; i < 10; ++i) {
        const auto t0 = Clock::now();
        const HSTREAM stream = BASS_StreamCreateURL(url.c_str(), 0, 0, nullptr, nullptr);
        const auto t1 = Clock::now();
        BASS_ChannelPlay(stream, FALSE);
        std::optional<Clock::time_point> heard;
        while (stream && !(heard = orvanta::bass::FirstAudioTime(stream)) &&
               Clock::now() - t1 < std::chrono::seconds(2))
            std::this_thread::sleep_for(milliseconds(1));
        if (heard) {
            create.push_back(Ms(t1 - t0));
            first.push_back(Ms(*heard - t0));
        }
        BASS_StreamFree(stream);
    }
    BASS_Free();
    std::filesystem::remove("/tmp/orvanta_bench_inproc.raw");
    if (first.empty()) {
        std::printf("engine: no stream played\n");
        return;
    }
    std::sort(create.begin(), create.end());
    std::sort(first.begin(), first.end());
    std::printf("engine, BASS_StreamCreateURL returns:        median %6.1f ms, max %6.1f ms\n",
                create[create.size() / 2], create.back());
    std::printf("engine, create to first audio to the device: median %6.1f ms, max %6.1f ms "
                "(%zu runs)\n",
                first[first.size() / 2], first.back(), first.size());
}

void Cycles(const std::string& url, int cycles) {
    ::setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!BASS_Init(0, 44100, 0, nullptr, nullptr))
        return;
    // One cycle first so one-time library set-up is not counted.
    BASS_StreamFree(BASS_StreamCreateURL(url.c_str(), 0, 0, nullptr, nullptr));
    std::this_thread::sleep_for(milliseconds(200));
    const std::size_t threads = Entries("/proc/self/task");
    const std::size_t fds = Entries("/proc/self/fd");
    const long rss = RssKb();
    int failed = 0;
    const auto start = Clock::now();
    for (int i = 0; i < cycles; ++i) {
        const HSTREAM stream = BASS_StreamCreateURL(url.c_str(), 0, 0, nullptr, nullptr);
        failed += stream == 0;
        BASS_ChannelPlay(stream, FALSE);
        BASS_StreamFree(stream);
    }
    const double total = Ms(Clock::now() - start);
    std::this_thread::sleep_for(milliseconds(500)); // the server closes its side
    std::printf("engine, %d create/play/free cycles: %.1f ms each, %d failed; threads %zu -> %zu, "
                "descriptors %zu -> %zu, RSS %ld -> %ld kB\n",
                cycles, total / cycles, failed, threads, Entries("/proc/self/task"), fds,
                Entries("/proc/self/fd"), rss, RssKb());
    BASS_Free();
}

} // namespace

int main(int argc, char** argv) {
    int seconds = 30;
    int cycles = 1000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--play" || flag == "--play-ticks")
            return PlayChild(argv[i + 1], i + 3 < argc ? std::atoi(argv[i + 3]) : 30,
                             flag == "--play-ticks");
        if (flag == "--seconds")
            seconds = std::atoi(argv[i + 1]);
        else if (flag == "--cycles")
            cycles = std::atoi(argv[i + 1]);
    }

    orvanta::test::StreamServer server;
    server.Add("/live.mp3", Station());
    const std::string url = server.Url("/live.mp3");
    std::printf("station: %s (128 kbps MP3, 1 s burst then real time)\n\n", url.c_str());

    FirstAudioInProcess(url);

    std::vector<Run> runs;
    runs.push_back(Measure(
        "orvanta", {argv[0], "--play", url, "--seconds", std::to_string(seconds)}, seconds));
    runs.push_back(Measure("orvanta+ui",
                           {argv[0], "--play-ticks", url, "--seconds", std::to_string(seconds)},
                           seconds));
    if (OnPath("ffplay"))
        runs.push_back(Measure(
            "ffplay", {"ffplay", "-nodisp", "-autoexit", "-loglevel", "quiet", url}, seconds));
    if (OnPath("mpv"))
        runs.push_back(
            Measure("mpv", {"mpv", "--no-video", "--no-config", "--ao=sdl", "--really-quiet", url},
                    seconds));

    std::printf("\n(orvanta+ui also makes the program's 14 level reads and one spectrum read "
                "every 10 ms)\n%-10s %22s %12s %14s\n",
                "player", "start to first sound", "CPU seconds", "peak RSS (MB)");
    for (const Run& run : runs) {
        if (!run.ok) {
            std::printf("%-10s %22s\n", run.name.c_str(), "no sound (failed)");
            continue;
        }
        std::printf("%-10s %19.1f ms %12.2f %14.1f\n", run.name.c_str(), run.firstSoundMs,
                    run.cpuSeconds, run.peakRssKb / 1024.0);
    }
    const Run& ours = runs.front();
    for (std::size_t i = 2; i < runs.size(); ++i) {
        const Run& peer = runs[i];
        if (!ours.ok || !peer.ok)
            continue;
        std::printf("orvanta/%s: first sound %.2f, CPU %.2f, peak RSS %.2f\n", peer.name.c_str(),
                    ours.firstSoundMs / peer.firstSoundMs, ours.cpuSeconds / peer.cpuSeconds,
                    static_cast<double>(ours.peakRssKb) / peer.peakRssKb);
    }
    std::printf("\n");
    Cycles(url, cycles);
    return 0;
}
