#include "platform/vcl/comctrls.h"

#include "platform/vcl/frame_pacer.h"
#include "platform/vcl/peers.h"

#include <QPainter>
#include <QTime>
#include <QTimeEdit>
#include <QWidget>

#include <algorithm>

namespace vcl {

// A flat bar: the filled part in the highlight colour, the rest in the control's colour.
class ProgressBarWidget : public QWidget {
public:
    explicit ProgressBarWidget(TProgressBar* bar) : FBar(bar) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }
    void Detach() { FBar = nullptr; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!FBar)
            return;
        QPainter painter(this);
        painter.fillRect(rect(), detail::ToQColor(FBar->Color()));
        const int fill = FBar->FilledPixels();
        if (fill <= 0)
            return;
        const QColor bar = detail::ToQColor(FBar->BarColor());
        if (FBar->Orientation() == pbVertical)
            painter.fillRect(0, height() - fill, width(), fill, bar);
        else
            painter.fillRect(0, 0, fill, height(), bar);
    }

private:
    TProgressBar* FBar;
};

TProgressBar::TProgressBar(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 150;
    FHeight = 16;
    AttachPeer(new ProgressBarWidget(this));
}

int TProgressBar::FilledPixels() const {
    const int length = FOrientation == pbVertical ? FHeight : FWidth;
    if (length <= 0 || FMax <= FMin || FPosition <= FMin)
        return 0;
    if (FPosition >= FMax)
        return length;
    const long long span = static_cast<long long>(FMax) - FMin;
    return static_cast<int>((static_cast<long long>(FPosition) - FMin) * length / span);
}

void TProgressBar::Refresh() {
    const int fill = FilledPixels();
    if (fill == FShownFill)
        return;
    FShownFill = fill;
    // The level meters change every 10 ms: show at the display's pace.
    detail::RequestFrame(FWidget);
}

void TProgressBar::SetMin(int value) {
    FMin = value;
    Refresh();
}

void TProgressBar::SetMax(int value) {
    FMax = value;
    Refresh();
}

void TProgressBar::SetPosition(int value) {
    FPosition = value;
    Refresh();
}

void TProgressBar::SetOrientation(TProgressBarOrientation value) {
    FOrientation = value;
    FShownFill = -1;
    Refresh();
}

void TProgressBar::SetBarColor(TColor value) {
    FBarColor = value;
    FShownFill = -1;
    Refresh();
}

void TProgressBar::WMSize() {
    FShownFill = -1;
    Refresh();
    TWinControl::WMSize();
}

// ---- TDateTimePicker ----

TDateTimePicker::TDateTimePicker(TComponent* AOwner) : TWinControl(AOwner) {
    FWidth = 186;
    FHeight = 21;
    FTabStop = true;
    FColor = clWindow;
    auto* edit = new QTimeEdit;
    edit->setDisplayFormat(QStringLiteral("H:mm:ss"));
    edit->setWrapping(true);
    QObject::connect(edit, &QTimeEdit::timeChanged, [this](QTime t) {
        if (FShowing)
            return;
        const int seconds = t.msecsSinceStartOfDay() / 1000;
        Guarded([this, seconds] { UserChanged(seconds); });
    });
    AttachPeer(edit);
    ShowTime();
}

TDateTime TDateTimePicker::Time() const {
    return LocalTime(FSeconds / 3600, FSeconds / 60 % 60, FSeconds % 60);
}

void TDateTimePicker::SetTime(TDateTime value) {
    SetSecondsOfDay(vcl::SecondsOfDay(value));
}

void TDateTimePicker::SetSecondsOfDay(int seconds) {
    FSeconds = ((seconds % 86400) + 86400) % 86400;
    ShowTime();
}

void TDateTimePicker::ShowTime() {
    FShowing = true;
    static_cast<QTimeEdit*>(FWidget)->setTime(QTime::fromMSecsSinceStartOfDay(FSeconds * 1000));
    FShowing = false;
}

void TDateTimePicker::UserChanged(int seconds) {
    if (seconds == FSeconds)
        return;
    FSeconds = seconds;
    if (OnChange)
        OnChange(this);
}

void TDateTimePicker::ApplyColor() {
    if (!FWidget)
        return;
    QPalette pal = FWidget->palette();
    pal.setColor(QPalette::Base, detail::ToQColor(EffectiveColor()));
    FWidget->setPalette(pal);
}

} // namespace vcl
