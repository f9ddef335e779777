// Internal to the component layer: what the Qt peers share. Only the layer's .cpp files (and the
// few screen peers outside it) include this header, so Qt stays out of the public headers.
#pragma once

#include "platform/vcl/controls.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QObject>
#include <QString>

class QKeyEvent;
class QWidget;

namespace vcl::detail {

// Creates the process's one QApplication on first use (offscreen tests and the program alike).
void EnsureQtApplication();

// The window of a form's Handle(); nullptr for anything else (the application, a freed form).
QWidget* WidgetOfHandle(const void* handle);

// Stored bytes shown readably: UTF-8 when valid, else Windows-1251.
QString ToQString(const std::string& bytes);
// Text the user typed, stored as UTF-8.
std::string FromQString(const QString& text);
QColor ToQColor(TColor color);
QFont ToQFont(const TFont& font);
TShiftState ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The platform's virtual-key code of a Qt key event; 0 when it has none.
unsigned short VirtualKey(const QKeyEvent& event);
// A view of a pf24bit/pf32bit bitmap as a QImage (no copy; valid while the bitmap lives).
QImage ImageView(const TBitmap& bitmap);
// Copies a QImage into a pf24bit bitmap.
void CopyImage(const QImage& image, TBitmap& out);

// Paints into `image` (the size of `control`) what lies under the control in its window: the
// backgrounds of its ancestors and the other controls overlapping it, not the control itself.
void ComposeUnder(QWidget* control, QImage& image);

// The one road from the peers to the protected hooks of the controls.
struct PeerAccess {
    static void MouseDown(TControl* c, TMouseButton b, TShiftState s, int x, int y) {
        c->MouseDown(b, s, x, y);
    }
    static void MouseMove(TControl* c, TShiftState s, int x, int y) { c->MouseMove(s, x, y); }
    static void MouseUp(TControl* c, TMouseButton b, TShiftState s, int x, int y) {
        c->MouseUp(b, s, x, y);
    }
    static void DblClick(TControl* c) { c->DblClick(); }
    static void MouseEnter(TControl* c) { c->CMMouseEnter(); }
    static void MouseLeave(TControl* c) { c->CMMouseLeave(); }
    static void KeyDown(TWinControl* c, unsigned short& key, TShiftState s) { c->KeyDown(key, s); }
    static void KeyUp(TWinControl* c, unsigned short& key, TShiftState s) { c->KeyUp(key, s); }
    static void KeyPress(TWinControl* c, char& key) { c->KeyPress(key); }
    static void SetFocus(TWinControl* c) { c->WMSetFocus(); }
    static void KillFocus(TWinControl* c) { c->WMKillFocus(); }
    static bool WantArrows(TWinControl* c) { return c->WantArrows(); }
    static void StoreBounds(TControl* c, int l, int t, int w, int h) { c->StoreBounds(l, t, w, h); }
    static void WMSize(TControl* c) { c->WMSize(); }
    static void Paint(TCustomControl* c);
    static TBitmap& Backing(TCustomControl* c) { return c->FBacking; }
};

// Hands a peer's mouse, key, focus and hover events to its control's hooks. Installed on every
// peer widget (and on the viewport of scrolling peers); it consumes only keys the control ate.
class PeerEvents : public QObject {
public:
    PeerEvents(TControl* control, QWidget* eventSource);
    // The control is going away: stop forwarding.
    void Detach() { FControl = nullptr; }
    bool eventFilter(QObject* watched, QEvent* event) override;

    static PeerEvents* Of(QWidget* widget);

private:
    TControl* FControl;
};

// Installs the event forwarding on `source` (the peer itself or its viewport).
PeerEvents* ForwardEvents(TControl* control, QWidget* source);

} // namespace vcl::detail
