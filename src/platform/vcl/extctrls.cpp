#include "platform/vcl/extctrls.h"

#include "platform/vcl/frame_pacer.h"
#include "platform/vcl/jpeg.h"
#include "platform/vcl/peers.h"

#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cctype>
#include <cmath>

namespace vcl {

// ---- TPicture ----

void TPicture::LoadFromFile(const std::string& path) {
    const auto dot = path.find_last_of('.');
    std::string ext = dot == std::string::npos ? std::string() : path.substr(dot + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext != "jpg" && ext != "jpeg" && ext != "jpe" && ext != "jfif")
        throw EInvalidGraphic("Unknown picture file extension (." + ext + ")");
    LoadJpegFile(path, FBitmap);
    Changed();
}

void TPicture::Assign(const TBitmap& bitmap) {
    FBitmap = bitmap;
    Changed();
}

void TPicture::Clear() {
    FBitmap = TBitmap();
    Changed();
}

void TPicture::Changed() {
    if (OnChange)
        OnChange();
}

TRect ImageDestRect(int picW, int picH, int boxW, int boxH, bool stretch, bool proportional,
                    bool center) {
    int w = picW;
    int h = picH;
    if (picW > 0 && picH > 0 && boxW > 0 && boxH > 0) {
        if (proportional && (stretch || picW > boxW || picH > boxH)) {
            const double scale =
                std::min(static_cast<double>(boxW) / picW, static_cast<double>(boxH) / picH);
            w = std::max(1, static_cast<int>(std::lround(picW * scale)));
            h = std::max(1, static_cast<int>(std::lround(picH * scale)));
        } else if (stretch) {
            w = boxW;
            h = boxH;
        }
    }
    int x = 0;
    int y = 0;
    if (center) {
        x = (boxW - w) / 2;
        y = (boxH - h) / 2;
    }
    return Rect(x, y, x + w, y + h);
}

// ---- TImage ----

class ImageWidget : public QWidget {
public:
    explicit ImageWidget(TImage* image) : FImage(image) {}
    void Detach() { FImage = nullptr; }
    void Forget() { FScaled = QImage(); }

protected:
    void paintEvent(QPaintEvent*) override {
        if (!FImage || FImage->FPicture.Empty())
            return;
        const TRect r = FImage->DestRect();
        const TBitmap& bitmap = FImage->FPicture.Bitmap();
        QPainter painter(this);
        if (r.Width() == bitmap.Width() && r.Height() == bitmap.Height()) {
            painter.drawImage(r.Left, r.Top, detail::ImageView(bitmap));
            return;
        }
        // Scale once per size: the backgrounds repaint under every knob turn.
        if (FScaled.width() != r.Width() || FScaled.height() != r.Height())
            FScaled = detail::ImageView(bitmap).scaled(r.Width(), r.Height(), Qt::IgnoreAspectRatio,
                                                       Qt::SmoothTransformation);
        painter.drawImage(r.Left, r.Top, FScaled);
    }

private:
    TImage* FImage;
    QImage FScaled;
};

TImage::TImage(TComponent* AOwner) : TControl(AOwner) {
    FWidth = 105;
    FHeight = 105;
    AttachPeer(new ImageWidget(this));
    FPicture.OnChange = [this] {
        static_cast<ImageWidget*>(FWidget)->Forget();
        Invalidate();
    };
}

TImage::~TImage() {
    static_cast<ImageWidget*>(FWidget)->Detach();
}

TRect TImage::DestRect() const {
    return ImageDestRect(FPicture.Width(), FPicture.Height(), ClientWidth(), ClientHeight(),
                         FStretch, FProportional, FCenter);
}

void TImage::SetStretch(bool value) {
    FStretch = value;
    Invalidate();
}

void TImage::SetProportional(bool value) {
    FProportional = value;
    Invalidate();
}

void TImage::SetCenter(bool value) {
    FCenter = value;
    Invalidate();
}

void TImage::SetTransparent(bool value) {
    // JPEG pictures have no transparent colour; kept for completeness.
    FTransparent = value;
    Invalidate();
}

// ---- TPaintBox ----

class PaintBoxWidget : public QWidget {
public:
    explicit PaintBoxWidget(TPaintBox* box) : FBox(box) {}
    void Detach() { FBox = nullptr; }
    bool NeedsPaint = true;
    bool Painting = false;

    // A hidden paint box drawn into shows its pixels on the parent inside its rectangle, as
    // drawing through the device context of a hidden child does; the box itself stays hidden.
    void ShowOnParent() {
        if (!isHidden())
            return;
        // The box never gets a paint of its own there, so what is drawn now must not be
        // cleared by a pending first paint.
        if (NeedsPaint && FBox) {
            NeedsPaint = false;
            Painting = true;
            TPaintBox* box = FBox;
            Guarded([box] { box->Paint(); });
            Painting = false;
        }
        FOnParent = true;
        show();
    }

protected:
    // What was drawn on the parent goes when the window is hidden, as a repaint of the parent
    // would erase it; the next drawing brings it back.
    void hideEvent(QHideEvent*) override {
        if (!FOnParent)
            return;
        QTimer::singleShot(0, this, [this] {
            if (FOnParent && (!FBox || !FBox->Visible())) {
                FOnParent = false;
                hide();
            }
        });
    }

    void paintEvent(QPaintEvent*) override {
        if (!FBox)
            return;
        TBitmap& backing = FBox->FBacking;
        if (backing.Width() != width() || backing.Height() != height()) {
            backing.SetSize(width(), height());
            NeedsPaint = true;
        }
        if (NeedsPaint) {
            NeedsPaint = false;
            Painting = true;
            TPaintBox* box = FBox;
            Guarded([box] { box->Paint(); });
            Painting = false;
        }
        if (!FBox)
            return;
        QPainter painter(this);
        painter.drawImage(0, 0, detail::ImageView(FBox->FBacking));
    }

private:
    TPaintBox* FBox;
    bool FOnParent = false;
};

TPaintBox::TPaintBox(TComponent* AOwner) : TControl(AOwner), FBacking(105, 105, pf24bit) {
    FWidth = 105;
    FHeight = 105;
    FParentColor = true;
    auto* widget = new PaintBoxWidget(this);
    widget->setAttribute(Qt::WA_OpaquePaintEvent);
    AttachPeer(widget);
}

TPaintBox::~TPaintBox() {
    static_cast<PaintBoxWidget*>(FWidget)->Detach();
}

TCanvas& TPaintBox::Canvas() {
    auto* widget = static_cast<PaintBoxWidget*>(FWidget);
    if (!FVisible && FParent)
        widget->ShowOnParent();
    // Whatever is drawn now reaches the screen with the next frame.
    if (!widget->Painting)
        detail::RequestFrame(widget);
    return FBacking.Canvas();
}

void TPaintBox::Invalidate() {
    static_cast<PaintBoxWidget*>(FWidget)->NeedsPaint = true;
    FWidget->update();
}

void TPaintBox::Paint() {
    // Start from the background colour, as a fresh window would.
    TCanvas& canvas = FBacking.Canvas();
    canvas.Brush.Color = EffectiveColor();
    canvas.Brush.Style = bsSolid;
    canvas.FillRect(Rect(0, 0, FBacking.Width(), FBacking.Height()));
    if (OnPaint)
        OnPaint(this);
}

void TPaintBox::WMSize() {
    FBacking.SetSize(std::max(0, FWidth), std::max(0, FHeight));
    static_cast<PaintBoxWidget*>(FWidget)->NeedsPaint = true;
    TControl::WMSize();
}

} // namespace vcl
