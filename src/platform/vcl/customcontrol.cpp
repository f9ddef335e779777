#include "platform/vcl/controls.h"

#include "platform/vcl/peers.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

namespace vcl {

namespace detail {

void PeerAccess::Paint(TCustomControl* c) {
    c->Paint();
}

namespace {

// The screen side of a self-drawing control: shows the backing bitmap, asking the control to
// paint it first when the picture is stale.
class CustomControlWidget : public QWidget {
public:
    explicit CustomControlWidget(TCustomControl* control) : FControl(control) {
        setAttribute(Qt::WA_OpaquePaintEvent);
        setFocusPolicy(Qt::ClickFocus);
        setMouseTracking(true);
    }
    void Detach() { FControl = nullptr; }
    bool NeedsPaint = true;
    // Set while the parent renders the background under this control: it is left out.
    bool Excluded = false;

protected:
    void paintEvent(QPaintEvent*) override {
        if (Excluded || !FControl)
            return;
        TBitmap& backing = PeerAccess::Backing(FControl);
        if (backing.Width() != width() || backing.Height() != height()) {
            backing.SetSize(width(), height());
            NeedsPaint = true;
        }
        if (NeedsPaint) {
            NeedsPaint = false;
            TCustomControl* control = FControl;
            Guarded([control] { PeerAccess::Paint(control); });
        }
        if (!FControl)
            return;
        QPainter painter(this);
        painter.drawImage(0, 0, ImageView(PeerAccess::Backing(FControl)));
    }
    bool focusNextPrevChild(bool next) override { return QWidget::focusNextPrevChild(next); }

private:
    TCustomControl* FControl;
};

CustomControlWidget* PeerOf(QWidget* w) {
    return static_cast<CustomControlWidget*>(w);
}

} // namespace
} // namespace detail

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FBacking(0, 0, pf24bit) {
    AttachPeer(new detail::CustomControlWidget(this));
}

TCustomControl::~TCustomControl() {
    if (FWidget)
        detail::PeerOf(FWidget)->Detach();
}

void TCustomControl::Paint() {
    Canvas().Brush.Color = Color();
    Canvas().Brush.Style = bsSolid;
    Canvas().FillRect(Rect(0, 0, FBacking.Width(), FBacking.Height()));
}

void TCustomControl::WMSize() {
    FBacking.SetSize(std::max(0, ClientWidth()), std::max(0, ClientHeight()));
    FNeedsPaint = true;
    if (FWidget)
        detail::PeerOf(FWidget)->NeedsPaint = true;
    TWinControl::WMSize();
}

void TCustomControl::Invalidate() {
    if (FWidget) {
        detail::PeerOf(FWidget)->NeedsPaint = true;
        FWidget->update();
    }
}

void TCustomControl::Repaint() {
    if (!FWidget)
        return;
    detail::PeerOf(FWidget)->NeedsPaint = true;
    if (FWidget->isVisible())
        FWidget->repaint();
}

void TCustomControl::Present() {
    if (FWidget)
        FWidget->update();
}

void TCustomControl::ParentBackground(TBitmap& out) {
    out.SetPixelFormat(pf24bit);
    out.SetSize(std::max(0, FWidth), std::max(0, FHeight));
    if (out.Empty())
        return;
    const TColor fill = ColorToRGB(FParent ? FParent->Color() : clBtnFace);
    QImage image(out.Width(), out.Height(), QImage::Format_RGB32);
    image.fill(QColor(GetRValue(fill), GetGValue(fill), GetBValue(fill)));
    if (FParent && FParent->Widget() && FWidget) {
        auto* peer = detail::PeerOf(FWidget);
        peer->Excluded = true;
        // Renders the parent's own background and its children over this control's rectangle;
        // this control paints nothing meanwhile, so nothing recurses into Paint.
        FParent->Widget()->render(&image, QPoint(0, 0), QRegion(FLeft, FTop, FWidth, FHeight),
                                  QWidget::DrawWindowBackground | QWidget::DrawChildren);
        peer->Excluded = false;
    }
    detail::CopyImage(image, out);
}

} // namespace vcl
