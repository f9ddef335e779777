// Top-level windows. Left/Top/Width/Height are the outer frame on the screen; the controls are
// placed in the client area (ClientWidth by ClientHeight).
#pragma once

#include "platform/vcl/controls.h"

namespace vcl {

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderIcons = unsigned;
enum : TBorderIcons { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biHelp = 8 };
enum TPosition { poDesigned, poDefault, poScreenCenter, poDesktopCenter, poMainFormCenter };
enum TFormStyle { fsNormal, fsStayOnTop };
enum TCloseAction { caNone, caHide, caFree, caMinimize };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };

using TModalResult = int;
enum : TModalResult {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7
};

// System commands a form receives from its frame (minimise box, close box, ...).
inline constexpr unsigned SC_SIZE = 0xF000;
inline constexpr unsigned SC_MOVE = 0xF010;
inline constexpr unsigned SC_MINIMIZE = 0xF020;
inline constexpr unsigned SC_MAXIMIZE = 0xF030;
inline constexpr unsigned SC_CLOSE = 0xF060;
inline constexpr unsigned SC_RESTORE = 0xF120;

using TCloseEvent = std::function<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = std::function<void(TObject* Sender, bool& CanClose)>;

// Frame thickness around the client area: left, top (caption included), right, bottom.
struct TFrameMargins {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Where a window of `window` bounds lands when dragged near the edges of `workArea`: an edge
// within `buffer` pixels of a work-area edge moves onto it.
TPoint SnapToWorkArea(const TRect& window, const TRect& workArea, int buffer);

class TForm : public TWinControl {
public:
    // Created hidden.
    explicit TForm(TComponent* AOwner);
    ~TForm() override;
    // Fires OnDestroy while the form and its controls are still whole.
    void BeforeDestruction() override;
    // Fires OnCreate (the application does it right after construction).
    virtual void DoCreate();

    int ClientWidth() const override;
    int ClientHeight() const override;
    void SetClientSize(int AWidth, int AHeight) override;
    TFrameMargins FrameMargins() const;

    // Becoming visible shows the window, then fires OnShow; hiding fires OnHide.
    void SetVisible(bool value) override;
    // Shows the window modally; returns when ModalResult is set (or the form is closed).
    TModalResult ShowModal();
    TModalResult ModalResult() const { return FModalResult; }
    void SetModalResult(TModalResult value);
    // OnCloseQuery may refuse; then OnClose picks the action (caHide by default). Closing the
    // main form ends the application's event loop.
    void Close();
    bool CloseQuery();
    // Raises the window above the others and activates it.
    void BringToFront();

    TFormBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TFormBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    // A tool window has no task-bar button (the companion windows).
    bool ToolWindow() const { return FToolWindow; }
    void SetToolWindow(bool value);
    bool AlphaBlend() const { return FAlphaBlend; }
    void SetAlphaBlend(bool value);
    // 0 transparent .. 255 opaque; effective while AlphaBlend is on.
    unsigned char AlphaBlendValue() const { return FAlphaBlendValue; }
    void SetAlphaBlendValue(unsigned char value);
    bool ScreenSnap() const { return FScreenSnap; }
    void SetScreenSnap(bool value) { FScreenSnap = value; }
    int SnapBuffer() const { return FSnapBuffer; }
    void SetSnapBuffer(int value) { FSnapBuffer = value; }
    TWindowState WindowState() const { return FWindowState; }
    void SetWindowState(TWindowState value);

    // Identity of the window for dialogs it owns.
    const void* Handle() const { return FWidget; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnActivate;
    TCloseQueryEvent OnCloseQuery;
    TCloseEvent OnClose;

protected:
    // Commands from the frame: the base minimises, maximises, restores or closes. Overriding
    // it is how a form replaces the minimise box's behaviour.
    virtual void WMSysCommand(unsigned CmdType);
    void ApplyBounds() override;
    void ApplyVisible() override;
    void ApplyCaption() override;
    void ApplyColor() override;

private:
    friend struct detail::PeerAccess;
    friend class FormWidget;
    void ApplyWindowFlags();
    void ApplyOpacity();
    void CloseModal();
    TFrameMargins EstimatedMargins() const;
    // Takes the frame the window system reports once the window is up (the estimate until
    // then); the client area keeps its size and the frame its position.
    bool UpdateMargins();
    TFrameMargins FMargins;

    TFormBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons = biSystemMenu | biMinimize | biMaximize;
    TPosition FPosition = poDesigned;
    TFormStyle FFormStyle = fsNormal;
    bool FToolWindow = false;
    bool FAlphaBlend = false;
    unsigned char FAlphaBlendValue = 255;
    bool FScreenSnap = false;
    int FSnapBuffer = 10;
    TWindowState FWindowState = wsNormal;
    TModalResult FModalResult = mrNone;
    bool FModal = false;
    void* FModalLoop = nullptr;
    bool FShownOnce = false;
};

} // namespace vcl
