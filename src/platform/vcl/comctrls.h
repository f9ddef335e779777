// The common controls the program uses: progress bars (volume, download, level meters) and the
// time-of-day picker of the alarm.
#pragma once

#include "platform/vcl/controls.h"
#include "platform/vcl/core/clock.h"

namespace vcl {

enum TProgressBarOrientation { pbHorizontal, pbVertical };

// Keeps any Position it is given; shows values beyond Max as full and below Min as empty.
// Vertical bars fill from the bottom. Repaints only when the shown fill changes, since the level
// meters write fourteen of them every 10 ms.
class TProgressBar : public TWinControl {
public:
    explicit TProgressBar(TComponent* AOwner);

    int Min() const { return FMin; }
    void SetMin(int value);
    int Max() const { return FMax; }
    void SetMax(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    TProgressBarOrientation Orientation() const { return FOrientation; }
    void SetOrientation(TProgressBarOrientation value);
    bool Smooth() const { return FSmooth; }
    void SetSmooth(bool value) { FSmooth = value; }
    int Step() const { return FStep; }
    void SetStep(int value) { FStep = value; }
    void StepIt() { SetPosition(FPosition + FStep); }
    TColor BarColor() const { return FBarColor; }
    void SetBarColor(TColor value);

    // Pixels of the bar's length shown filled for the current values.
    int FilledPixels() const;

protected:
    void WMSize() override;

private:
    friend class ProgressBarWidget;
    void Refresh();
    int FMin = 0;
    int FMax = 100;
    int FPosition = 0;
    int FStep = 10;
    TProgressBarOrientation FOrientation = pbHorizontal;
    bool FSmooth = false;
    TColor FBarColor = clHighlight;
    int FShownFill = -1;
};

enum TDateTimeKind { dtkDate, dtkTime };

// The alarm's time-of-day picker (Kind dtkTime): hours, minutes and seconds.
class TDateTimePicker : public TWinControl {
public:
    explicit TDateTimePicker(TComponent* AOwner);

    TDateTimeKind Kind() const { return FKind; }
    void SetKind(TDateTimeKind value) { FKind = value; }
    // Today, local time, at the picked time of day.
    TDateTime Time() const;
    // Takes the local time of day of `value`.
    void SetTime(TDateTime value);
    // Seconds since midnight, 0..86399.
    int SecondsOfDay() const { return FSeconds; }
    void SetSecondsOfDay(int seconds);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value) { FChecked = value; }
    bool ShowCheckbox() const { return FShowCheckbox; }
    void SetShowCheckbox(bool value) { FShowCheckbox = value; }

    // After the user changed the time.
    TNotifyEvent OnChange;

protected:
    void ApplyColor() override;

private:
    void ShowTime();
    void UserChanged(int seconds);
    TDateTimeKind FKind = dtkTime;
    int FSeconds = 0;
    bool FChecked = true;
    bool FShowCheckbox = false;
    bool FShowing = false;
};

} // namespace vcl
