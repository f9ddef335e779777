// TKnob: a round rotary control. An integer Position between Min and Max is shown as a direction
// sweeping 300 degrees clockwise from the lower left (Min) over the top to the lower right (Max).
// It is turned with the left mouse button or the keys, can spring back to 0, keeps itself square
// and can show its value in a label.
#pragma once

#include "platform/vcl/controls.h"
#include "platform/vcl/core/graphics.h"

#include <cstdint>
#include <memory>

namespace vcl {
class TLabel;
}

namespace knob {
class TEZLine;
}

enum TIndicatorType : std::uint8_t { itLine = 0, itCircle = 1 };

class TKnob : public vcl::TCustomControl {
public:
    explicit TKnob(vcl::TComponent* AOwner);
    ~TKnob() override;

    int Max() const { return FMax; }
    void SetMax(int value);
    int Min() const { return FMin; }
    void SetMin(int value);
    int Position() const { return FPosition; }
    void SetPosition(int value);
    std::uint16_t PageSize() const { return FPageSize; }
    void SetPageSize(std::uint16_t value) { FPageSize = value; }
    vcl::TLabel* PositionLabel() const { return FPositionLabel; }
    void SetPositionLabel(vcl::TLabel* value);
    bool SpringLoaded() const { return FSpringLoaded; }
    void SetSpringLoaded(bool value);

    vcl::TColor LineColor() const { return FLineColor; }
    void SetLineColor(vcl::TColor value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // The owned picture; empty when the knob has a plain face.
    const vcl::TBitmap& KnobImage() const { return *FKnobImage; }
    // Copies the picture (nullptr removes it).
    void SetKnobImage(const vcl::TBitmap* value);
    TIndicatorType IndicatorType() const { return FIndicatorType; }
    void SetIndicatorType(TIndicatorType value);
    bool ShowIndicator() const { return FShowIndicator; }
    void SetShowIndicator(bool value);
    float LineLength() const { return FLineLength; }
    void SetLineLength(float value);
    float LineWidth() const { return FLineWidth; }
    void SetLineWidth(float value);
    bool DrawBorder() const { return FDrawBorder; }
    void SetDrawBorder(bool value);
    bool RotateImage() const { return FRotateImage; }
    void SetRotateImage(bool value);
    bool ShowFocusedState() const { return FShowFocusedState; }
    void SetShowFocusedState(bool value) { FShowFocusedState = value; }

    // Called after every write of Position, Min or Max, changed or not.
    vcl::TNotifyEvent OnChange;

    // Read-only view of the internal state, for the drawing code and for tests.
    int Diameter() const { return FDiameter; }
    float Radius() const { return FRadius; }
    float DegreesPerUnit() const { return FDegreesPerUnit; }
    int Angle() const { return FAngle; }
    int MouseAngle() const { return FMouseAngle; }
    bool Dragging() const { return FDragging; }
    knob::TEZLine& LineRenderer() { return *FLineRenderer; }

protected:
    void Notification(vcl::TComponent* AComponent, vcl::TOperation Operation) override;
    void CreateWnd() override;
    void WMSize() override;
    void WMSetFocus() override;
    void WMKillFocus() override;
    bool WantArrows() override { return true; }
    void CMMouseLeave() override;
    void CMEnabledChanged() override;
    void CMVisibleChanged() override;
    void CMParentColorChanged() override;
    void CMTextChanged() override;
    void MouseDown(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void MouseMove(vcl::TShiftState Shift, int X, int Y) override;
    void MouseUp(vcl::TMouseButton Button, vcl::TShiftState Shift, int X, int Y) override;
    void KeyDown(unsigned short& Key, vcl::TShiftState Shift) override;

    // Drawing, in knob_render.cpp. Paint captures the parent's background anew; Redraw reuses
    // that capture (every value change); RefreshState redraws only the state ring and the mark
    // over ComposedBitmap (focus, enabled, end of a drag).
    void Paint() override;
    void Redraw();
    void RefreshState();
    void BuildMask();
    void FillFace(vcl::TBitmap& target);

    // Work bitmaps, Diameter pixels square.
    vcl::TBitmap FFaceBitmap;
    vcl::TBitmap FMaskBitmap;
    vcl::TBitmap FOutsideBitmap;
    vcl::TBitmap FComposedBitmap;
    bool FFaceReady = false;

private:
    void SetParams(int APosition, int AMin, int AMax);
    void UpdateScale();
    void UpdateAngle();
    int AngleToPosition(int AAngle) const;
    void UpdatePositionLabel(int Value);

    // Drawing steps of the passes above (knob_render.cpp, knob_render_rings.cpp).
    void ComposeBody(vcl::TBitmap& frame, bool captureParent);
    void DrawBevel(vcl::TBitmap& frame);
    void DrawStateRing(vcl::TBitmap& frame, bool fromComposed);
    void DrawIndicator(vcl::TBitmap& frame);
    void ShowFrame(const vcl::TBitmap& frame);
    void CaptureParentBackground(vcl::TBitmap& frame);
    void BuildOutsideBitmap(const vcl::TBitmap& source, vcl::TBitmap& target);

    vcl::TColor FLineColor = vcl::clActiveCaption;
    int FMin = 0;
    int FMax = 127;
    int FPosition = 0;
    vcl::TLabel* FPositionLabel = nullptr;
    bool FSpringLoaded = false;
    std::uint16_t FPageSize = 10;
    int FDiameter = 40;
    float FRadius = 20.0f;
    float FDegreesPerUnit = 0.0f;
    int FAngle = 0;
    int FMouseAngle = 0;
    bool FDragging = false;
    bool FTransparent = false;
    std::unique_ptr<vcl::TBitmap> FKnobImage;
    TIndicatorType FIndicatorType = itLine;
    bool FShowIndicator = true;
    bool FDrawBorder = true;
    bool FRotateImage = true;
    bool FShowFocusedState = true;
    float FLineLength = 3.0f;
    float FLineWidth = 2.0f;
    std::unique_ptr<knob::TEZLine> FLineRenderer;
};
