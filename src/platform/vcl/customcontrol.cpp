#include "platform/vcl/controls.h"

#include "platform/vcl/peers.h"

#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>
#include <vector>

namespace vcl {

namespace detail {

void PeerAccess::Paint(TCustomControl* c) {
    c->Paint();
}

void ComposeUnder(QWidget* control, QImage& image) {
    // The window's ancestors are in the middle of painting when this runs (Paint is called
    // from the control's paint event), so they cannot be rendered again. Instead the picture
    // is built level by level from the top: each ancestor's own background colour, then every
    // other child of it that overlaps the control, rendered with its own children.
    std::vector<QWidget*> chain;
    for (QWidget* w = control; w; w = w->isWindow() ? nullptr : w->parentWidget())
        chain.insert(chain.begin(), w);
    const QPoint origin = control->mapTo(chain.front(), QPoint(0, 0));
    const QRect target(origin, control->size());
    QPainter painter(&image);
    for (std::size_t level = 0; level + 1 < chain.size(); ++level) {
        QWidget* parent = chain[level];
        QWidget* next = chain[level + 1];
        if (parent->autoFillBackground() || parent->isWindow()) {
            const QRect r(parent->mapTo(chain.front(), QPoint(0, 0)), parent->size());
            painter.fillRect(r.translated(-origin), parent->palette().color(QPalette::Window));
        }
        for (QObject* child : parent->children()) {
            auto* w = qobject_cast<QWidget*>(child);
            if (!w || w == next || w->isWindow() || !w->isVisible())
                continue;
            const QRect r(w->mapTo(chain.front(), QPoint(0, 0)), w->size());
            if (!r.intersects(target))
                continue;
            painter.end();
            w->render(&image, r.topLeft() - origin, QRegion(),
                      QWidget::DrawWindowBackground | QWidget::DrawChildren);
            painter.begin(&image);
        }
    }
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

protected:
    void paintEvent(QPaintEvent*) override {
        if (!FControl)
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
    QImage image(out.Width(), out.Height(), QImage::Format_RGB32);
    const TColor fill = ColorToRGB(FParent ? FParent->Color() : clBtnFace);
    image.fill(QColor(GetRValue(fill), GetGValue(fill), GetBValue(fill)));
    if (FParent && FWidget)
        detail::ComposeUnder(FWidget, image);
    detail::CopyImage(image, out);
}

} // namespace vcl
