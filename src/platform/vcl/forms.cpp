#include "platform/vcl/forms.h"

#include "platform/vcl/application.h"
#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/peers.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdlib>
#include <set>

namespace vcl {

namespace {
std::set<const void*>& LiveFormWidgets() {
    static std::set<const void*> widgets;
    return widgets;
}
} // namespace

QWidget* detail::WidgetOfHandle(const void* handle) {
    if (handle && LiveFormWidgets().count(handle))
        return static_cast<QWidget*>(const_cast<void*>(handle));
    return nullptr;
}

TPoint SnapToWorkArea(const TRect& window, const TRect& workArea, int buffer) {
    TPoint p{window.Left, window.Top};
    const int w = window.Width();
    const int h = window.Height();
    if (std::abs(window.Left - workArea.Left) <= buffer)
        p.X = workArea.Left;
    else if (std::abs(window.Right - workArea.Right) <= buffer)
        p.X = workArea.Right - w;
    if (std::abs(window.Top - workArea.Top) <= buffer)
        p.Y = workArea.Top;
    else if (std::abs(window.Bottom - workArea.Bottom) <= buffer)
        p.Y = workArea.Bottom - h;
    return p;
}

// The window of a form: reports moves and sizes made by the user or the window manager, turns
// the frame's buttons into system commands, and snaps to the work area while dragged.
class FormWidget : public QWidget {
public:
    explicit FormWidget(TForm* form) : QWidget(nullptr, Qt::Window), FForm(form) {
        setAttribute(Qt::WA_QuitOnClose, false);
    }
    void Detach() { FForm = nullptr; }
    bool ApplyingState = false;
    bool Applying = false;
    bool PendingMinimize = false;

protected:
    void moveEvent(QMoveEvent* event) override {
        QWidget::moveEvent(event);
        if (FForm && !Applying)
            Report(event->spontaneous());
    }
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        if (FForm && !Applying)
            Report(false);
    }
    void closeEvent(QCloseEvent* event) override {
        // The form decides (OnCloseQuery/OnClose) and hides itself if it closes.
        event->ignore();
        if (TForm* form = FForm)
            Guarded([form] { form->WMSysCommand(SC_CLOSE); });
    }
    void changeEvent(QEvent* event) override {
        QWidget::changeEvent(event);
        if (event->type() == QEvent::ActivationChange && FForm && isActiveWindow()) {
            TForm* form = FForm;
            Guarded([form] {
                if (form->OnActivate)
                    form->OnActivate(form);
            });
            return;
        }
        if (event->type() != QEvent::WindowStateChange || !FForm || ApplyingState)
            return;
        TForm* form = FForm;
        if (windowState() & Qt::WindowMinimized) {
            // A minimise the form asked for itself reports back here too, possibly after the
            // request returned: it is not a new click on the minimise box.
            if (form->FWindowState == wsMinimized || PendingMinimize)
                return;
            // The minimise box: the form decides, once this event has been handled, so the
            // window system's own state changes cannot bounce back and forth with ours.
            PendingMinimize = true;
            QTimer::singleShot(0, this, [this] {
                PendingMinimize = false;
                if (TForm* f = FForm)
                    Guarded([f] { f->WMSysCommand(SC_MINIMIZE); });
            });
        } else {
            form->FWindowState = (windowState() & Qt::WindowMaximized) ? wsMaximized : wsNormal;
        }
    }

private:
    void Report(bool byUser) {
        TForm* form = FForm;
        if (form->UpdateMargins() && !byUser) {
            // The real frame is known now: keep the outer position the program asked for.
            Applying = true;
            form->ApplyBounds();
            Applying = false;
        }
        const TFrameMargins m = form->FrameMargins();
        const QRect g = geometry();
        int left = g.x() - m.Left;
        int top = g.y() - m.Top;
        const int width = g.width() + m.Left + m.Right;
        const int height = g.height() + m.Top + m.Bottom;
        if (byUser && form->ScreenSnap()) {
            if (QScreen* screen = this->screen()) {
                const QRect a = screen->availableGeometry();
                const TPoint p = SnapToWorkArea(
                    Rect(left, top, left + width, top + height),
                    Rect(a.left(), a.top(), a.right() + 1, a.bottom() + 1), form->SnapBuffer());
                if (p.X != left || p.Y != top) {
                    left = p.X;
                    top = p.Y;
                    Applying = true;
                    move(left + m.Left, top + m.Top);
                    Applying = false;
                }
            }
        }
        Guarded([&] { detail::PeerAccess::StoreBounds(form, left, top, width, height); });
    }

    TForm* FForm;
};

TForm::TForm(TComponent* AOwner) : TWinControl(AOwner) {
    FVisible = false;
    FColor = clBtnFace;
    FParentFont = false;
    // Default outer size: a 320 by 240 client area in a sizeable frame.
    FMargins = EstimatedMargins();
    FWidth = 320 + FMargins.Left + FMargins.Right;
    FHeight = 240 + FMargins.Top + FMargins.Bottom;
    auto* widget = new FormWidget(this);
    widget->setAutoFillBackground(true);
    LiveFormWidgets().insert(widget);
    AttachPeer(widget);
    ApplyWindowFlags();
    MarkCreated();
}

TForm::~TForm() {
    if (FModalLoop)
        static_cast<QEventLoop*>(FModalLoop)->quit();
    LiveFormWidgets().erase(FWidget);
    static_cast<FormWidget*>(FWidget)->Detach();
}

void TForm::BeforeDestruction() {
    if (!(ComponentState() & csDestroying) && OnDestroy) {
        // An error here must not stop the destruction.
        Guarded([this] { OnDestroy(this); });
    }
    TWinControl::BeforeDestruction();
}

void TForm::DoCreate() {
    if (OnCreate)
        OnCreate(this);
}

TFrameMargins TForm::EstimatedMargins() const {
    switch (FBorderStyle) {
    case bsNone:
        return {};
    case bsToolWindow:
    case bsSizeToolWin:
        return {3, 3 + 18, 3, 3};
    default:
        // Caption bar and thin frame as the classic frame measures them.
        return {3, 3 + 26, 3, 3};
    }
}

TFrameMargins TForm::FrameMargins() const {
    return FMargins;
}

bool TForm::UpdateMargins() {
    TFrameMargins m = EstimatedMargins();
    if (FWidget && FWidget->isVisible() && FBorderStyle != bsNone) {
        const QRect frame = FWidget->frameGeometry();
        const QRect client = FWidget->geometry();
        if (frame != client)
            m = {client.left() - frame.left(), client.top() - frame.top(),
                 frame.right() - client.right(), frame.bottom() - client.bottom()};
    }
    if (m.Left == FMargins.Left && m.Top == FMargins.Top && m.Right == FMargins.Right &&
        m.Bottom == FMargins.Bottom)
        return false;
    const int cw = ClientWidth();
    const int ch = ClientHeight();
    FMargins = m;
    FWidth = cw + m.Left + m.Right;
    FHeight = ch + m.Top + m.Bottom;
    return true;
}

int TForm::ClientWidth() const {
    const TFrameMargins m = FrameMargins();
    return std::max(0, FWidth - m.Left - m.Right);
}

int TForm::ClientHeight() const {
    const TFrameMargins m = FrameMargins();
    return std::max(0, FHeight - m.Top - m.Bottom);
}

void TForm::SetClientSize(int AWidth, int AHeight) {
    const TFrameMargins m = FrameMargins();
    SetBounds(FLeft, FTop, AWidth + m.Left + m.Right, AHeight + m.Top + m.Bottom);
}

void TForm::ApplyBounds() {
    if (!FWidget)
        return;
    auto* w = static_cast<FormWidget*>(FWidget);
    const TFrameMargins m = FrameMargins();
    const int cw = std::max(1, FWidth - m.Left - m.Right);
    const int ch = std::max(1, FHeight - m.Top - m.Bottom);
    w->Applying = true;
    const bool fixed = FBorderStyle != bsSizeable && FBorderStyle != bsSizeToolWin;
    if (fixed) {
        w->setFixedSize(cw, ch);
    } else {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    }
    w->setGeometry(FLeft + m.Left, FTop + m.Top, cw, ch);
    w->Applying = false;
}

void TForm::ApplyVisible() {
    if (!FWidget)
        return;
    if (FVisible && !FWidget->isVisible()) {
        if (!FShownOnce && (FPosition == poScreenCenter || FPosition == poDesktopCenter ||
                            FPosition == poMainFormCenter)) {
            if (QScreen* screen = QGuiApplication::primaryScreen()) {
                const QRect a = screen->availableGeometry();
                FLeft = a.x() + (a.width() - FWidth) / 2;
                FTop = a.y() + (a.height() - FHeight) / 2;
            }
        }
        FShownOnce = true;
        ApplyBounds();
        FWidget->show();
        ApplyOpacity();
        UpdateMargins();
        if (FWidget->geometry().topLeft() != QPoint(FLeft + FMargins.Left, FTop + FMargins.Top))
            ApplyBounds();
    } else if (!FVisible && FWidget->isVisible()) {
        FWidget->hide();
    }
    // A form hidden in answer to the minimise box comes back as it was, not minimised.
    if (!FVisible && FWindowState != wsMinimized && (FWidget->windowState() & Qt::WindowMinimized))
        FWidget->setWindowState(FWidget->windowState() & ~Qt::WindowMinimized);
}

void TForm::ApplyCaption() {
    if (FWidget)
        FWidget->setWindowTitle(detail::ToQString(FCaption));
}

void TForm::ApplyColor() {
    if (!FWidget)
        return;
    QPalette pal = FWidget->palette();
    pal.setColor(QPalette::Window, detail::ToQColor(FColor));
    FWidget->setPalette(pal);
}

void TForm::SetVisible(bool value) {
    if (FVisible == value)
        return;
    FVisible = value;
    ApplyVisible();
    CMVisibleChanged();
    if (value) {
        if (OnShow)
            OnShow(this);
    } else {
        if (OnHide)
            OnHide(this);
    }
}

void TForm::BringToFront() {
    if (!FWidget)
        return;
    FWidget->raise();
    FWidget->activateWindow();
}

void TForm::ApplyWindowFlags() {
    if (!FWidget)
        return;
    Qt::WindowFlags flags;
    const bool tool = FToolWindow || FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin;
    flags |= tool ? Qt::Tool : Qt::Window;
    if (FBorderStyle == bsNone) {
        flags |= Qt::FramelessWindowHint;
    } else {
        flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
        if (FBorderIcons & biSystemMenu)
            flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
        if ((FBorderIcons & biMinimize) && FBorderStyle != bsDialog && !tool)
            flags |= Qt::WindowMinimizeButtonHint;
        if ((FBorderIcons & biMaximize) && FBorderStyle == bsSizeable)
            flags |= Qt::WindowMaximizeButtonHint;
    }
    if (FFormStyle == fsStayOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    if (FWidget->windowFlags() == flags)
        return;
    // Changing the flags hides the window; put it back as it was.
    const bool shown = FWidget->isVisible();
    FWidget->setWindowFlags(flags);
    ApplyBounds();
    if (shown)
        FWidget->show();
    ApplyOpacity();
}

void TForm::SetBorderStyle(TFormBorderStyle value) {
    if (FBorderStyle == value)
        return;
    // The client area keeps its size; the frame grows or shrinks around it.
    FBorderStyle = value;
    ApplyWindowFlags();
    UpdateMargins();
    ApplyBounds();
}

void TForm::SetBorderIcons(TBorderIcons value) {
    FBorderIcons = value;
    ApplyWindowFlags();
}

void TForm::SetFormStyle(TFormStyle value) {
    FFormStyle = value;
    ApplyWindowFlags();
}

void TForm::SetToolWindow(bool value) {
    FToolWindow = value;
    ApplyWindowFlags();
}

void TForm::SetAlphaBlend(bool value) {
    if (FAlphaBlend == value)
        return;
    FAlphaBlend = value;
    ApplyOpacity();
}

void TForm::SetAlphaBlendValue(unsigned char value) {
    if (FAlphaBlendValue == value)
        return;
    FAlphaBlendValue = value;
    ApplyOpacity();
}

void TForm::ApplyOpacity() {
    if (FWidget)
        FWidget->setWindowOpacity(FAlphaBlend ? FAlphaBlendValue / 255.0 : 1.0);
}

void TForm::SetWindowState(TWindowState value) {
    FWindowState = value;
    if (!FWidget)
        return;
    auto* w = static_cast<FormWidget*>(FWidget);
    w->ApplyingState = true;
    switch (value) {
    case wsMinimized:
        w->setWindowState((w->windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
        break;
    case wsMaximized:
        w->setWindowState(Qt::WindowMaximized);
        break;
    default:
        w->setWindowState(Qt::WindowNoState);
        break;
    }
    w->ApplyingState = false;
}

void TForm::WMSysCommand(unsigned CmdType) {
    switch (CmdType & 0xFFF0) {
    case SC_MINIMIZE:
        SetWindowState(wsMinimized);
        break;
    case SC_MAXIMIZE:
        SetWindowState(wsMaximized);
        break;
    case SC_RESTORE:
        SetWindowState(wsNormal);
        break;
    case SC_CLOSE:
        Close();
        break;
    default:
        break;
    }
}

bool TForm::CloseQuery() {
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(this, canClose);
    return canClose;
}

void TForm::Close() {
    if (FModal) {
        SetModalResult(mrCancel);
        return;
    }
    if (!CloseQuery())
        return;
    TCloseAction action = caHide;
    if (OnClose)
        OnClose(this, action);
    if (action == caNone)
        return;
    if (Application && Application->MainForm() == this) {
        Application->Terminate();
        return;
    }
    switch (action) {
    case caMinimize:
        SetWindowState(wsMinimized);
        break;
    case caFree:
        Hide();
        if (Application)
            Application->ReleaseForm(this);
        break;
    default:
        Hide();
        break;
    }
}

void TForm::SetModalResult(TModalResult value) {
    FModalResult = value;
    if (value != mrNone && FModalLoop)
        static_cast<QEventLoop*>(FModalLoop)->quit();
}

void TForm::CloseModal() {
    TCloseAction action = caNone;
    if (CloseQuery()) {
        action = caHide;
        if (OnClose)
            OnClose(this, action);
    }
    if (action == caNone)
        FModalResult = mrNone;
}

TModalResult TForm::ShowModal() {
    if (FVisible || FModal)
        throw Exception("Cannot make a visible window modal");
    struct ModalScope {
        TForm* Form;
        QEventLoop Loop;
        explicit ModalScope(TForm* f) : Form(f) {
            Form->FModal = true;
            Form->FModalLoop = &Loop;
            Form->FModalResult = mrNone;
            if (Form->FWidget)
                Form->FWidget->setWindowModality(Qt::ApplicationModal);
            if (Application)
                Application->EnterLoop(&Loop);
        }
        ~ModalScope() {
            if (Application)
                Application->LeaveLoop(&Loop);
            Form->FModal = false;
            Form->FModalLoop = nullptr;
            try {
                Form->Hide();
            } catch (...) {
                // OnHide failing must not leave the window modal.
            }
            if (Form->FWidget)
                Form->FWidget->setWindowModality(Qt::NonModal);
        }
    } scope(this);
    Show();
    for (;;) {
        if (FModalResult == mrNone)
            scope.Loop.exec();
        if (Application && Application->Terminated()) {
            FModalResult = mrCancel;
            break;
        }
        if (FModalResult == mrNone)
            continue;
        Guarded([this] { CloseModal(); });
        if (FModalResult != mrNone)
            break;
    }
    return FModalResult;
}

} // namespace vcl
