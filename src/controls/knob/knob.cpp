#include "controls/knob/knob.h"

#include "controls/knob/ezline.h"
#include "controls/knob/knob_model.h"
#include "platform/vcl/stdctrls.h"

using namespace vcl;

TKnob::TKnob(TComponent* AOwner)
    : TCustomControl(AOwner), FKnobImage(std::make_unique<TBitmap>()),
      FLineRenderer(std::make_unique<knob::TEZLine>()) {
    SetBounds(Left(), Top(), 40, 40);
    FDiameter = Width();
    FRadius = static_cast<float>(Width()) / 2.0f;
    SetTabStop(true);
    // Invalidating must not erase the background first: the knob paints every pixel itself.
    SetControlStyle(ControlStyle() | csOpaque);
    FFaceBitmap.SetSize(Width(), Height());
    FMaskBitmap.SetSize(Width(), Height());
    FOutsideBitmap.SetSize(Width(), Height());
    FComposedBitmap.SetSize(Width(), Height());
    FLineRenderer->Configure(FLineColor, true, FLineWidth, 1.0, 0.0, true, psSolid, pmCopy);
    // No size notification reaches a control before it has a window, so the mask is built here
    // as well; the first WMSize rebuilds it at the final size.
    BuildMask();
}

TKnob::~TKnob() = default;

// --- value model -------------------------------------------------------------------------------

void TKnob::SetMax(int value) {
    SetParams(FPosition, FMin, value);
}

void TKnob::SetMin(int value) {
    SetParams(FPosition, value, FMax);
}

void TKnob::SetPosition(int value) {
    SetParams(value, FMin, FMax);
}

void TKnob::SetParams(int APosition, int AMin, int AMax) {
    if (AMin != FMin) {
        FMin = AMin;
        UpdateScale();
    }
    if (AMax != FMax) {
        FMax = AMax;
        UpdateScale();
    }
    FPosition = knob::ClampPosition(APosition, AMin, AMax, FDegreesPerUnit);
    // Redrawn and announced on every call, also when nothing changed: callers rely on writing
    // the same value to refresh the knob and to hear OnChange again.
    UpdateAngle();
    Redraw();
    UpdatePositionLabel(FPosition);
    if (OnChange && !(ComponentState() & csDesigning))
        OnChange(this);
}

void TKnob::UpdateScale() {
    FDegreesPerUnit = knob::DegreesPerUnit(FMin, FMax);
}

void TKnob::UpdateAngle() {
    FAngle = knob::PositionToAngle(FPosition, FMin, FDegreesPerUnit);
}

int TKnob::AngleToPosition(int AAngle) const {
    return knob::AngleToPosition(AAngle, FMin, FMax, FDegreesPerUnit);
}

void TKnob::UpdatePositionLabel(int Value) {
    if (FPositionLabel)
        FPositionLabel->SetCaption(knob::PositionLabelText(Value, Caption()));
}

void TKnob::SetPositionLabel(TLabel* value) {
    if (value != FPositionLabel) {
        FPositionLabel = value;
        // So that the link is cleared when the label goes away before the knob.
        if (value)
            value->FreeNotification(this);
    }
    if (FPositionLabel)
        UpdatePositionLabel(FPosition);
}

void TKnob::SetSpringLoaded(bool value) {
    if (value != FSpringLoaded)
        FSpringLoaded = value;
    if (value)
        SetParams(0, FMin, FMax);
}

// --- look --------------------------------------------------------------------------------------

void TKnob::SetLineColor(TColor value) {
    if (value == FLineColor)
        return;
    FLineColor = value;
    FLineRenderer->Color = value;
    Invalidate();
}

void TKnob::SetTransparent(bool value) {
    if (value == FTransparent)
        return;
    FTransparent = value;
    if (!value)
        FillFace(FFaceBitmap);
    else
        FFaceReady = false;
    Invalidate();
}

void TKnob::SetKnobImage(const TBitmap* value) {
    if (value) {
        *FKnobImage = *value;
        if (!FTransparent)
            FillFace(FFaceBitmap);
    } else if (!FKnobImage->Empty()) {
        FKnobImage = std::make_unique<TBitmap>();
    }
    Invalidate();
}

void TKnob::SetIndicatorType(TIndicatorType value) {
    if (value == FIndicatorType)
        return;
    FIndicatorType = value;
    Invalidate();
}

void TKnob::SetShowIndicator(bool value) {
    if (value == FShowIndicator)
        return;
    FShowIndicator = value;
    Invalidate();
}

void TKnob::SetLineLength(float value) {
    if (value == FLineLength)
        return;
    float stored = knob::ClampLineLength(value, FRadius);
    if (stored == FLineLength)
        return;
    FLineLength = stored;
    Invalidate();
}

void TKnob::SetLineWidth(float value) {
    if (value == FLineWidth)
        return;
    float stored = knob::ClampLineWidth(value);
    if (stored == FLineWidth)
        return;
    FLineWidth = stored;
    FLineRenderer->Width = stored;
    Invalidate();
}

void TKnob::SetDrawBorder(bool value) {
    if (value == FDrawBorder)
        return;
    FDrawBorder = value;
    Invalidate();
}

void TKnob::SetRotateImage(bool value) {
    if (value == FRotateImage)
        return;
    FRotateImage = value;
    Invalidate();
}

// --- platform hooks ----------------------------------------------------------------------------

void TKnob::Notification(TComponent* AComponent, TOperation Operation) {
    TCustomControl::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent != nullptr &&
        AComponent == static_cast<TComponent*>(FPositionLabel))
        SetPositionLabel(nullptr);
}

void TKnob::CreateWnd() {
    TCustomControl::CreateWnd();
    UpdateScale();
    UpdateAngle();
}

void TKnob::WMSize() {
    const int side = knob::SquaredSide(FDiameter, Width(), Height());
    // Only when it is not square yet: the nested notification of this SetBounds finds the square.
    if (Width() != side || Height() != side)
        SetBounds(Left(), Top(), side, side);
    FDiameter = side;
    FRadius = static_cast<float>(side) / 2.0f;
    FFaceBitmap.SetSize(side, side);
    FMaskBitmap.SetSize(side, side);
    FOutsideBitmap.SetSize(side, side);
    FComposedBitmap.SetSize(side, side);
    BuildMask();
    TCustomControl::WMSize();
}

void TKnob::WMSetFocus() {
    if (FShowFocusedState)
        RefreshState();
    TCustomControl::WMSetFocus();
}

void TKnob::WMKillFocus() {
    FDragging = false;
    if (FSpringLoaded)
        SetParams(0, FMin, FMax);
    if (FShowFocusedState)
        RefreshState();
    TCustomControl::WMKillFocus();
}

void TKnob::CMMouseLeave() {
    // The label previewed the value under the pointer; show the real value again.
    UpdatePositionLabel(FPosition);
    TCustomControl::CMMouseLeave();
}

void TKnob::CMEnabledChanged() {
    RefreshState();
    TCustomControl::CMEnabledChanged();
}

void TKnob::CMVisibleChanged() {
    if (FPositionLabel)
        FPositionLabel->SetVisible(Visible());
    TCustomControl::CMVisibleChanged();
}

void TKnob::CMParentColorChanged() {
    if (Parent()) {
        Canvas().Brush.Color = Parent()->Color();
        Canvas().Brush.Style = bsSolid;
        Canvas().FillRect(Rect(0, 0, ClientWidth(), ClientHeight()));
    }
    Paint();
    Present();
    TCustomControl::CMParentColorChanged();
}

void TKnob::CMTextChanged() {
    TCustomControl::CMTextChanged();
    UpdatePositionLabel(FPosition);
}

void TKnob::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (Button == mbLeft && knob::InsideInscribedEllipse(X, Y, Width(), Height())) {
        // Focusing first lets the focus handling redraw before the drag starts.
        SetFocus();
        FDragging = true;
        SetParams(AngleToPosition(FMouseAngle), FMin, FMax);
    }
    TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TKnob::MouseMove(TShiftState Shift, int X, int Y) {
    const int a = knob::PointerAngle(X, Y, Width(), Height());
    // End stops: a knob resting at one end does not jump to the other when the pointer crosses
    // the bottom gap or the far half.
    const bool blocked =
        FDragging && ((FPosition == FMin && a < 90) || (FPosition == FMax && a > 90));
    if (!blocked) {
        FMouseAngle = a;
        const int v = AngleToPosition(a);
        if (FDragging && v != FPosition)
            SetParams(v, FMin, FMax);
        // Also while hovering: the label previews the value under the pointer.
        UpdatePositionLabel(v);
    }
    TCustomControl::MouseMove(Shift, X, Y);
}

void TKnob::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (FDragging) {
        if (FSpringLoaded) {
            SetParams(0, FMin, FMax);
        } else {
            const int v = AngleToPosition(FMouseAngle);
            if (v != FPosition)
                SetParams(v, FMin, FMax);
        }
        FDragging = false;
        RefreshState();
    }
    TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TKnob::KeyDown(unsigned short& Key, TShiftState Shift) {
    // OnKeyDown runs first and may change or swallow the key.
    TCustomControl::KeyDown(Key, Shift);
    if (auto target = knob::KeyTarget(Key, FPosition, FMin, FMax, FPageSize))
        SetParams(*target, FMin, FMax);
}
