#include "visual/companions.h"

using namespace vcl;

Tf1* f1 = nullptr;
Tf2* f2 = nullptr;
TForm8* Form8 = nullptr;

namespace {
constexpr int kBarWidth = 18;
constexpr int kClientHeight = 269;

void MakeCompanion(TForm& form, const char* name, int clientWidth, int clientHeight) {
    form.SetName(name);
    form.SetBorderStyle(bsNone);
    form.SetToolWindow(true);
    form.SetAlphaBlend(true);
    form.SetClientSize(clientWidth, clientHeight);
}
} // namespace

TLevelWindow::TLevelWindow(TComponent* AOwner, const char* name, int clientWidth,
                           const std::array<int, 7>& order)
    : TForm(AOwner) {
    MakeCompanion(*this, name, clientWidth, kClientHeight);
    TProgressBar** bars[] = {&ProgressBar1, &ProgressBar2, &ProgressBar3, &ProgressBar4,
                             &ProgressBar5, &ProgressBar6, &ProgressBar7};
    for (auto** bar : bars)
        *bar = new TProgressBar(this);
    for (int column = 0; column < 7; ++column) {
        TProgressBar* bar = Bar(order[column]);
        bar->SetName("ProgressBar" + std::to_string(order[column]));
        bar->SetParent(this);
        bar->SetOrientation(pbVertical);
        bar->SetMin(0);
        bar->SetMax(100000);
        bar->SetBounds(column * kBarWidth, 0, kBarWidth, kClientHeight);
    }
}

TProgressBar* TLevelWindow::Bar(int n) const {
    const std::array<TProgressBar*, 7> bars = {ProgressBar1, ProgressBar2, ProgressBar3,
                                               ProgressBar4, ProgressBar5, ProgressBar6,
                                               ProgressBar7};
    return bars.at(static_cast<std::size_t>(n - 1));
}

Tf1::Tf1(TComponent* AOwner) : TLevelWindow(AOwner, "f1", 125, {1, 2, 3, 4, 5, 6, 7}) {
    SetBounds(800, 435, Width(), Height());
}

Tf2::Tf2(TComponent* AOwner) : TLevelWindow(AOwner, "f2", 126, {2, 1, 3, 4, 5, 6, 7}) {
    SetBounds(890, 280, Width(), Height());
}

TForm8::TForm8(TComponent* AOwner) : TForm(AOwner) {
    MakeCompanion(*this, "Form8", 620, 51);
    SetBounds(248, 468, Width(), Height());
    PaintBox1 = new TPaintBox(this);
    PaintBox1->SetName("PaintBox1");
    PaintBox1->SetParent(this);
    PaintBox1->SetAlign(alClient);
    PaintBox1->SetBounds(0, 0, 620, 51);
}
