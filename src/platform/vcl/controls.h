// The component tree every window and control of the program is built from: components owned by
// components, controls placed on windowed parents, and the hooks their screen peers call. The
// screen peers are Qt widgets, kept out of this header.
#pragma once

#include "platform/vcl/core/graphics.h"

#include <functional>
#include <string>
#include <vector>

class QWidget;

namespace vcl {

class TObject {
public:
    virtual ~TObject();
};

enum TOperation { opInsert, opRemove };
enum TMouseButton { mbLeft, mbRight, mbMiddle };

using TShiftState = unsigned;
enum : TShiftState {
    ssShift = 1,
    ssAlt = 2,
    ssCtrl = 4,
    ssLeft = 8,
    ssRight = 16,
    ssMiddle = 32,
    ssDouble = 64
};

using TNotifyEvent = std::function<void(TObject* Sender)>;
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = std::function<void(TObject* Sender, unsigned short& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, char& Key)>;

// Virtual-key codes with the platform's values; letters and digits are their ASCII codes.
inline constexpr unsigned short VK_BACK = 0x08;
inline constexpr unsigned short VK_TAB = 0x09;
inline constexpr unsigned short VK_RETURN = 0x0D;
inline constexpr unsigned short VK_SHIFT = 0x10;
inline constexpr unsigned short VK_CONTROL = 0x11;
inline constexpr unsigned short VK_MENU = 0x12;
inline constexpr unsigned short VK_ESCAPE = 0x1B;
inline constexpr unsigned short VK_SPACE = 0x20;
inline constexpr unsigned short VK_PRIOR = 0x21;
inline constexpr unsigned short VK_NEXT = 0x22;
inline constexpr unsigned short VK_END = 0x23;
inline constexpr unsigned short VK_HOME = 0x24;
inline constexpr unsigned short VK_LEFT = 0x25;
inline constexpr unsigned short VK_UP = 0x26;
inline constexpr unsigned short VK_RIGHT = 0x27;
inline constexpr unsigned short VK_DOWN = 0x28;
inline constexpr unsigned short VK_INSERT = 0x2D;
inline constexpr unsigned short VK_DELETE = 0x2E;
inline constexpr unsigned short VK_MULTIPLY = 0x6A;
inline constexpr unsigned short VK_ADD = 0x6B;
inline constexpr unsigned short VK_SUBTRACT = 0x6D;
inline constexpr unsigned short VK_DIVIDE = 0x6F;
inline constexpr unsigned short VK_F1 = 0x70;
inline constexpr unsigned short VK_F2 = 0x71;
inline constexpr unsigned short VK_F3 = 0x72;
inline constexpr unsigned short VK_F4 = 0x73;
inline constexpr unsigned short VK_F5 = 0x74;
inline constexpr unsigned short VK_F6 = 0x75;
inline constexpr unsigned short VK_F7 = 0x76;
inline constexpr unsigned short VK_F8 = 0x77;
inline constexpr unsigned short VK_F9 = 0x78;
inline constexpr unsigned short VK_F10 = 0x79;
inline constexpr unsigned short VK_F11 = 0x7A;
inline constexpr unsigned short VK_F12 = 0x7B;
inline constexpr unsigned short VK_OEM_PLUS = 0xBB;
inline constexpr unsigned short VK_OEM_MINUS = 0xBD;

// Component state flags (ComponentState()).
using TComponentState = unsigned;
enum : TComponentState { csLoading = 1, csDesigning = 2, csDestroying = 4 };

namespace detail {
struct PeerAccess;
}

// Owns the components created with it as owner and destroys them, last created first, when it
// is destroyed itself.
class TComponent : public TObject {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value) { FName = value; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    TComponent* Components(int index) const;
    TComponentState ComponentState() const { return FComponentState; }

    // AComponent gets Notification(this, opRemove) when this component is destroyed (and the
    // other way round).
    void FreeNotification(TComponent* AComponent);
    void RemoveFreeNotification(TComponent* AComponent);

    // Told of components inserted into or removed from the owner, and of freed components that
    // asked for notification. The base passes the news on to the owned components.
    virtual void Notification(TComponent* AComponent, TOperation Operation);

    // Runs before the destructors, while the whole object and its components still exist
    // (forms fire OnDestroy here).
    virtual void BeforeDestruction();
    // BeforeDestruction, then delete: the way owners and the application destroy components.
    static void Free(TComponent* component);

protected:
    // Destroys the owned components, last created first. Idempotent.
    void DestroyComponents();

private:
    void InsertComponent(TComponent* AComponent);
    void RemoveComponent(TComponent* AComponent);
    void RemoveNotifyLink(TComponent* AComponent);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    TComponentState FComponentState = 0;
    bool FBeforeDestructionDone = false;
};

using TFontStyles = unsigned;
enum : TFontStyles { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

// A font description. Height < 0 is the character height in pixels (what the program uses);
// Size is in points at 96 pixels per inch.
class TFont {
public:
    const std::string& Name() const { return FName; }
    void SetName(const std::string& value);
    int Height() const { return FHeight; }
    void SetHeight(int value);
    int Size() const;
    void SetSize(int points);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TFontStyles Style() const { return FStyle; }
    void SetStyle(TFontStyles value);
    // Pixel height of the characters, whatever the sign convention of Height.
    int PixelHeight() const { return FHeight < 0 ? -FHeight : FHeight; }
    void Assign(const TFont& source);
    bool operator==(const TFont& other) const;

    std::function<void()> OnChange;

private:
    void Changed();
    std::string FName = "MS Sans Serif";
    int FHeight = -11;
    TColor FColor = clWindowText;
    TFontStyles FStyle = 0;
};

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
enum TAlignment { taLeftJustify, taRightJustify, taCenter };

using TCursor = int;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crHourGlass = -11;

using TControlStyle = unsigned;
enum : TControlStyle { csAcceptsControls = 1, csCaptureMouse = 2, csOpaque = 4, csClickEvents = 8 };

class TWinControl;

// Something with a place on a parent. Left/Top are in the parent's client coordinates (for
// forms: the outer frame on the screen).
class TControl : public TComponent {
public:
    explicit TControl(TComponent* AOwner);
    ~TControl() override;
    void BeforeDestruction() override;

    int Left() const { return FLeft; }
    int Top() const { return FTop; }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    void SetLeft(int value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
    virtual int ClientWidth() const { return FWidth; }
    virtual int ClientHeight() const { return FHeight; }
    virtual void SetClientSize(int AWidth, int AHeight);
    void SetClientWidth(int value) { SetClientSize(value, ClientHeight()); }
    void SetClientHeight(int value) { SetClientSize(ClientWidth(), value); }
    TRect ClientRect() const { return Rect(0, 0, ClientWidth(), ClientHeight()); }

    TWinControl* Parent() const { return FParent; }
    virtual void SetParent(TWinControl* AParent);

    bool Visible() const { return FVisible; }
    virtual void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent visible.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);

    // Bytes as the program keeps them (UTF-8 or a legacy code page); shown readably.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);

    TColor Color() const { return FColor; }
    virtual void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    TFont& Font() { return FFont; }
    const TFont& Font() const { return FFont; }
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value);
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }

    // Ask for a repaint later / now; Update paints what is pending now.
    virtual void Invalidate();
    virtual void Repaint();
    void Update();
    void BringToFront();
    void SendToBack();
    // Runs OnClick directly, visible or not.
    virtual void Click();

    // Screen coordinates of a client point.
    TPoint ClientToScreen(TPoint p) const;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TMouseEvent OnMouseDown;
    TMouseMoveEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TNotifyEvent OnResize;

    // The Qt peer (for the layer's own code and the few screen peers outside it).
    QWidget* Widget() const { return FWidget; }

protected:
    virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void MouseMove(TShiftState Shift, int X, int Y);
    virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
    virtual void DblClick();
    virtual void CMMouseEnter() {}
    virtual void CMMouseLeave() {}
    virtual void CMEnabledChanged() {}
    virtual void CMVisibleChanged() {}
    virtual void CMParentColorChanged() {}
    virtual void CMTextChanged() {}
    virtual void CMFontChanged() {}
    // After the size changed; fires OnResize.
    virtual void WMSize();

    // Installs the Qt peer (taken over; deleted with the control) and pushes the stored
    // properties into it. Called once by each concrete control's constructor.
    void AttachPeer(QWidget* widget);
    // The peer's geometry for the stored bounds; forms override to add their frame.
    virtual void ApplyBounds();
    virtual void ApplyVisible();
    virtual void ApplyColor();
    virtual void ApplyFont();
    virtual void ApplyCaption() {}
    // Background colour resolved through ParentColor.
    TColor EffectiveColor() const;

    // Bounds kept without telling the peer (the peer reports a move or size it made itself).
    void StoreBounds(int ALeft, int ATop, int AWidth, int AHeight);

    int FLeft = 0;
    int FTop = 0;
    int FWidth = 0;
    int FHeight = 0;
    bool FVisible = true;
    bool FEnabled = true;
    std::string FCaption;
    TColor FColor = clBtnFace;
    bool FParentColor = false;
    TFont FFont;
    bool FParentFont = true;
    std::string FHint;
    bool FShowHint = false;
    TCursor FCursor = crDefault;
    TAlign FAlign = alNone;
    TControlStyle FControlStyle = 0;
    TWinControl* FParent = nullptr;
    QWidget* FWidget = nullptr;

private:
    friend struct detail::PeerAccess;
    friend class TWinControl;
    void FontChanged();
    void ParentFontChanged(const TFont& parentFont);
    void ParentColorChanged();
    bool FApplyingParentFont = false;
};

// A control with a window of its own: it can hold child controls and take the keyboard focus.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* AOwner);
    ~TWinControl() override;

    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    int TabOrder() const { return FTabOrder; }
    void SetTabOrder(int value);
    bool CanFocus() const;
    void SetFocus();
    bool Focused() const;
    bool HandleAllocated() const { return FWndCreated; }

    int ControlCount() const { return static_cast<int>(FControls.size()); }
    TControl* Controls(int index) const { return FControls.at(static_cast<std::size_t>(index)); }

    void SetColor(TColor value) override;

    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    TKeyPressEvent OnKeyPress;

protected:
    virtual void KeyDown(unsigned short& Key, TShiftState Shift);
    virtual void KeyUp(unsigned short& Key, TShiftState Shift);
    virtual void KeyPress(char& Key);
    virtual void WMSetFocus();
    virtual void WMKillFocus();
    // Once, when the control gets its screen peer placed (first given a parent).
    virtual void CreateWnd() {}
    // True makes the arrow keys reach KeyDown instead of moving the focus.
    virtual bool WantArrows() { return false; }
    // Forms have their window from the start.
    void MarkCreated() { FWndCreated = true; }
    // Lays out the children with an Align other than alNone.
    void Realign();
    void ApplyFont() override;
    void WMSize() override;

    bool FTabStop = false;
    int FTabOrder = -1;

private:
    friend class TControl;
    friend struct detail::PeerAccess;
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control);
    void ApplyTabOrder();
    void EnsureCreated();

    std::vector<TControl*> FControls;
    bool FWndCreated = false;
    bool FAligning = false;
};

// A windowed control that draws itself: Paint draws into Canvas (a pf24bit bitmap of the client
// size), then the bitmap is shown.
class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* AOwner);
    ~TCustomControl() override;

    TCanvas& Canvas() { return FBacking.Canvas(); }
    // Shows the backing bitmap as it is now, without calling Paint.
    void Present();
    // The parent's pixels under this control (background and sibling controls, not this
    // control) at this control's size, into `out` (pf24bit).
    void ParentBackground(TBitmap& out);

    void Invalidate() override;
    void Repaint() override;

protected:
    // Draws the whole picture into Canvas. The base fills it with Color.
    virtual void Paint();
    void WMSize() override;
    TBitmap& BackingBitmap() { return FBacking; }

private:
    friend struct detail::PeerAccess;
    TBitmap FBacking;
    bool FNeedsPaint = true;
};

// Runs `action`; an error it throws goes to Application->HandleException instead of travelling
// on. Every entry from Qt (signals, timers, event overrides) goes through this.
void Guarded(const std::function<void()>& action);

} // namespace vcl
