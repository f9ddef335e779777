// Cost of the knob's drawing passes as dragging and focus changes cause them: Redraw on every
// value step, RefreshState on focus, enabled and drag-end changes, Paint when the window asks.
// Each knob sits on a shown window of the offscreen platform, as on the main window.
#include "controls/knob/knob.h"
#include "platform/vcl/application.h"
#include "platform/vcl/forms.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using namespace vcl;

class BenchKnob : public TKnob {
public:
    using TKnob::Paint;
    using TKnob::Redraw;
    using TKnob::RefreshState;
    using TKnob::TKnob;
};

struct Host {
    TApplication application;
    TForm* form = nullptr;
    Host() {
        application.CreateForm(form);
        form->SetClientSize(400, 300);
        form->Show();
        application.ProcessMessages();
    }
};

Host& TheHost() {
    static Host host;
    return host;
}

enum class Face { Plain, Picture };

std::unique_ptr<BenchKnob> MakeKnob(int side, int max, Face face) {
    auto knob = std::make_unique<BenchKnob>(nullptr);
    knob->SetParent(TheHost().form);
    knob->SetBounds(10, 10, side, side);
    knob->SetMax(max);
    knob->SetLineWidth(2);
    knob->SetLineLength(3);
    if (face == Face::Picture) {
        // A picture with detail everywhere, so the turn blends real pixels.
        TBitmap picture(side, side, pf24bit);
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                picture.PutPixel(x, y, RGB(x * 5, y * 3, (x ^ y) * 7));
        knob->SetKnobImage(&picture);
        knob->SetRotateImage(true);
    }
    knob->Paint();
    return knob;
}

void BM_Redraw(benchmark::State& state, int side, int max, Face face) {
    auto knob = MakeKnob(side, max, face);
    int position = 0;
    for (auto _ : state) {
        // A drag: every step a new value, so the bevel and the picture turn.
        position = position == max ? 0 : position + 1;
        knob->SetPosition(position);
    }
}

void BM_RefreshState(benchmark::State& state, int side, int max, Face face) {
    auto knob = MakeKnob(side, max, face);
    knob->SetPosition(max / 3);
    for (auto _ : state)
        knob->RefreshState();
}

void BM_Paint(benchmark::State& state, int side, int max, Face face) {
    auto knob = MakeKnob(side, max, face);
    for (auto _ : state)
        knob->Paint();
}

BENCHMARK_CAPTURE(BM_Redraw, plain100, 100, 100, Face::Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshState, plain100, 100, 100, Face::Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Redraw, plain40, 40, 127, Face::Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshState, plain40, 40, 127, Face::Plain)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Redraw, picture100_rotate, 100, 100, Face::Picture)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_RefreshState, picture100_rotate, 100, 100, Face::Picture)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Paint, plain100, 100, 100, Face::Plain)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    // Measured without a display, like the tests.
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
