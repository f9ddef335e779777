#include "platform/vcl/peers.h"

#include "platform/vcl/core/text.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <cstring>

namespace vcl::detail {

void EnsureQtApplication() {
    if (QApplication::instance())
        return;
    // Qt keeps references to argc/argv for the life of the application.
    static int argc = 1;
    static char name[] = "orvanta";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends and is deliberately never destroyed: at exit, Qt's own
    // globals (input devices, fonts) may already be gone, and tearing it down then crashes.
    static QApplication* application = new QApplication(argc, argv);
    static_cast<void>(application);
    // The program decides when it ends (closing the main form), not Qt.
    QApplication::setQuitOnLastWindowClosed(false);
    // The program's fonts are named as on its original platform; show them in the metric
    // twin that is installed everywhere.
    for (const char* family : {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Tahoma"})
        QFont::insertSubstitution(QString::fromLatin1(family), QStringLiteral("Liberation Sans"));
}

QString ToQString(const std::string& bytes) {
    return QString::fromStdString(DisplayText(bytes));
}

std::string FromQString(const QString& text) {
    return text.toStdString();
}

QColor ToQColor(TColor color) {
    TColor rgb = ColorToRGB(color);
    return QColor(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb));
}

QFont ToQFont(const TFont& font) {
    QFont f(QString::fromStdString(font.Name()));
    f.setPixelSize(font.PixelHeight() > 0 ? font.PixelHeight() : 11);
    f.setBold((font.Style() & fsBold) != 0);
    f.setItalic((font.Style() & fsItalic) != 0);
    f.setUnderline((font.Style() & fsUnderline) != 0);
    f.setStrikeOut((font.Style() & fsStrikeOut) != 0);
    return f;
}

TShiftState ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s = 0;
    if (modifiers & Qt::ShiftModifier)
        s |= ssShift;
    if (modifiers & Qt::AltModifier)
        s |= ssAlt;
    if (modifiers & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

unsigned short VirtualKey(const QKeyEvent& event) {
    const int key = event.key();
    const bool keypad = (event.modifiers() & Qt::KeypadModifier) != 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<unsigned short>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<unsigned short>(keypad ? 0x60 + (key - Qt::Key_0)
                                                  : '0' + (key - Qt::Key_0));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<unsigned short>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace:
        return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VK_RETURN;
    case Qt::Key_Shift:
        return VK_SHIFT;
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Alt:
        return VK_MENU;
    case Qt::Key_Escape:
        return VK_ESCAPE;
    case Qt::Key_Space:
        return VK_SPACE;
    case Qt::Key_PageUp:
        return VK_PRIOR;
    case Qt::Key_PageDown:
        return VK_NEXT;
    case Qt::Key_End:
        return VK_END;
    case Qt::Key_Home:
        return VK_HOME;
    case Qt::Key_Left:
        return VK_LEFT;
    case Qt::Key_Up:
        return VK_UP;
    case Qt::Key_Right:
        return VK_RIGHT;
    case Qt::Key_Down:
        return VK_DOWN;
    case Qt::Key_Insert:
        return VK_INSERT;
    case Qt::Key_Delete:
        return VK_DELETE;
    case Qt::Key_Asterisk:
        return keypad ? VK_MULTIPLY : 0;
    case Qt::Key_Plus:
        return keypad ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Equal:
        return VK_OEM_PLUS;
    case Qt::Key_Minus:
        return keypad ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Slash:
        return keypad ? VK_DIVIDE : 0;
    default:
        return 0;
    }
}

QImage ImageView(const TBitmap& bitmap) {
    if (bitmap.Empty())
        return QImage();
    // Rows are blue, green, red (and alpha) in memory: BGR888 / RGB32 on a little-endian host.
    const QImage::Format format =
        bitmap.BytesPerPixel() == 3 ? QImage::Format_BGR888 : QImage::Format_RGB32;
    return QImage(bitmap.ScanLine(0), bitmap.Width(), bitmap.Height(), bitmap.RowStride(), format);
}

void CopyImage(const QImage& image, TBitmap& out) {
    const QImage src = image.convertToFormat(QImage::Format_BGR888);
    out.SetPixelFormat(pf24bit);
    out.SetSize(src.width(), src.height());
    for (int y = 0; y < src.height(); ++y)
        std::memcpy(out.ScanLine(y), src.constScanLine(y),
                    static_cast<std::size_t>(src.width()) * 3);
}

namespace {

TMouseButton ButtonOf(Qt::MouseButton b) {
    switch (b) {
    case Qt::RightButton:
        return mbRight;
    case Qt::MiddleButton:
        return mbMiddle;
    default:
        return mbLeft;
    }
}

constexpr const char* kPeerEventsProperty = "vclPeerEvents";

} // namespace

PeerEvents::PeerEvents(TControl* control, QWidget* eventSource)
    : QObject(eventSource), FControl(control) {}

PeerEvents* PeerEvents::Of(QWidget* widget) {
    return widget ? widget->findChild<PeerEvents*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

PeerEvents* ForwardEvents(TControl* control, QWidget* source) {
    auto* events = new PeerEvents(control, source); // owned by `source`
    events->setObjectName(QString::fromLatin1(kPeerEventsProperty));
    source->installEventFilter(events);
    return events;
}

bool PeerEvents::eventFilter(QObject* watched, QEvent* event) {
    TControl* control = FControl;
    if (!control)
        return false;
    QWidget* peer = control->Widget();
    auto local = [&](const QPointF& p) {
        QPoint pt = p.toPoint();
        if (peer && watched != peer)
            pt = static_cast<QWidget*>(watched)->mapTo(peer, pt);
        return pt;
    };
    auto* win = dynamic_cast<TWinControl*>(control);
    bool consumed = false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = local(e->position());
        TShiftState s = ShiftState(e->modifiers(), e->buttons());
        if (event->type() == QEvent::MouseButtonDblClick)
            s |= ssDouble;
        Guarded([&] {
            PeerAccess::MouseDown(control, ButtonOf(e->button()), s, p.x(), p.y());
            if (event->type() == QEvent::MouseButtonDblClick && e->button() == Qt::LeftButton)
                PeerAccess::DblClick(control);
        });
        break;
    }
    case QEvent::MouseMove: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = local(e->position());
        Guarded([&] {
            PeerAccess::MouseMove(control, ShiftState(e->modifiers(), e->buttons()), p.x(), p.y());
        });
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* e = static_cast<QMouseEvent*>(event);
        const QPoint p = local(e->position());
        Guarded([&] {
            PeerAccess::MouseUp(control, ButtonOf(e->button()),
                                ShiftState(e->modifiers(), e->buttons()), p.x(), p.y());
        });
        break;
    }
    case QEvent::Enter:
        if (watched == peer)
            Guarded([&] { PeerAccess::MouseEnter(control); });
        break;
    case QEvent::Leave:
        if (watched == peer)
            Guarded([&] { PeerAccess::MouseLeave(control); });
        break;
    case QEvent::FocusIn:
        if (win)
            Guarded([&] { PeerAccess::SetFocus(win); });
        break;
    case QEvent::FocusOut:
        if (win)
            Guarded([&] { PeerAccess::KillFocus(win); });
        break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        if (!win)
            break;
        auto* e = static_cast<QKeyEvent*>(event);
        unsigned short key = VirtualKey(*e);
        const bool press = event->type() == QEvent::KeyPress;
        // Tab moves the focus, as the platform's dialog keys do.
        if (key == VK_TAB || key == 0)
            break;
        const bool arrow = key >= VK_LEFT && key <= VK_DOWN;
        if (arrow && !PeerAccess::WantArrows(win))
            break;
        const TShiftState s = ShiftState(e->modifiers(), Qt::NoButton);
        const unsigned short original = key;
        Guarded([&] {
            if (press)
                PeerAccess::KeyDown(win, key, s);
            else
                PeerAccess::KeyUp(win, key, s);
        });
        consumed = key == 0 && original != 0;
        if (press && !consumed && e->text().size() == 1 && e->text().at(0).unicode() < 0x80) {
            char c = static_cast<char>(e->text().at(0).unicode());
            Guarded([&] { PeerAccess::KeyPress(win, c); });
            consumed = c == 0;
        }
        // A control that draws itself has no Qt behaviour behind it: the keys are its own.
        if (dynamic_cast<TCustomControl*>(control))
            consumed = true;
        break;
    }
    default:
        break;
    }
    return consumed;
}

} // namespace vcl::detail
