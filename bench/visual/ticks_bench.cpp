// Microseconds per level tick (14 engine readings into 14 bars) and per spectrum tick (FFT
// reading, strip and centre frames, one settings-file read), on the real window set with the
// companions shown on the offscreen platform. "+paint" variants also let Qt paint what changed.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "app/form1.h"
#include "platform/vcl/application.h"
#include "platform/vcl/core/dialogs.h"
#include "stream_server.h"
#include "visual/companions.h"

namespace {

namespace fs = std::filesystem;

void LevelTick(benchmark::State& state, bool paint) {
    for (auto _ : state) {
        Form1->Timer3Timer(nullptr);
        if (paint)
            QApplication::processEvents();
    }
}

void SpectrumTick(benchmark::State& state, bool paint) {
    for (auto _ : state) {
        Form1->Timer4Timer(nullptr);
        if (paint)
            QApplication::processEvents();
    }
}

void WindowTick(benchmark::State& state) {
    for (auto _ : state)
        Form1->Timer1Timer(nullptr);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    ::setenv("SDL_AUDIODRIVER", "dummy", 0);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);

    // The player keeps its files in the current directory: give it a scratch one.
    std::string pattern = (fs::temp_directory_path() / "orvanta_visual_bench_XXXXXX").string();
    if (!::mkdtemp(pattern.data()))
        return 1;
    const fs::path previous = fs::current_path();
    fs::current_path(pattern);
    {
        std::ofstream ini("setup.ini", std::ios::binary);
        ini << "[visible]\r\na=1\r\nb=1\r\nc=1\r\nd=1\r\n";
    }

    orvanta::test::StreamServer server;
    orvanta::test::Route tone;
    tone.file = std::string(ORVANTA_FIXTURES_DIR) + "/tone_1k_stereo.mp3";
    server.Add("/live.mp3", tone);

    {
        vcl::DialogRecorder dialogs;
        vcl::TApplication app;
        app.Initialize();
        app.CreateForm(Form1);
        app.CreateForm(f1);
        app.CreateForm(f2);
        app.CreateForm(Form8);
        // The real timers stay out of the measurement.
        for (vcl::TTimer* t : {Form1->Timer1, Form1->Timer2, Form1->Timer3, Form1->Timer4})
            t->SetEnabled(false);
        Form1->Show();
        f1->Show();
        f2->Show();
        Form8->Show();
        Form1->SetupSpectrum();
        Form1->Timer4->SetEnabled(false);

        // The playing cases start the stream on first use, after the no-stream cases ran.
        const std::string url = server.Url("/live.mp3");
        auto playing = [url](auto body) {
            return [url, body](benchmark::State& s) {
                static bool started = false;
                if (!started) {
                    started = true;
                    Form1->AppendStation("live", url);
                    Form1->SelectStation(0);
                    Form1->BitBtn1Click(nullptr);
                    Form1->Timer4->SetEnabled(false);
                    std::this_thread::sleep_for(std::chrono::milliseconds(500));
                }
                body(s);
            };
        };
        benchmark::RegisterBenchmark("level tick, no stream (bars full)",
                                     [](benchmark::State& s) { LevelTick(s, false); });
        benchmark::RegisterBenchmark("spectrum tick, no stream, centre on",
                                     [](benchmark::State& s) { SpectrumTick(s, false); });
        benchmark::RegisterBenchmark("window tick", WindowTick);
        benchmark::RegisterBenchmark("level tick, playing",
                                     playing([](benchmark::State& s) { LevelTick(s, false); }));
        benchmark::RegisterBenchmark("level tick, playing, +paint",
                                     playing([](benchmark::State& s) { LevelTick(s, true); }));
        benchmark::RegisterBenchmark("spectrum tick, playing, centre on",
                                     playing([](benchmark::State& s) { SpectrumTick(s, false); }));
        benchmark::RegisterBenchmark("spectrum tick, playing, centre on, +paint",
                                     playing([](benchmark::State& s) { SpectrumTick(s, true); }));
        benchmark::RunSpecifiedBenchmarks();
        if (!dialogs.Shown.empty())
            std::fprintf(stderr, "note: %s\n", dialogs.Shown.front().Text.c_str());
    }
    fs::current_path(previous);
    std::error_code ignored;
    fs::remove_all(pattern, ignored);
    benchmark::Shutdown();
    return 0;
}
