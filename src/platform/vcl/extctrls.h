// Pictures and drawing areas: TImage shows a picture (the windows' JPEG backgrounds), TPaintBox
// is a surface the program draws on through a canvas.
#pragma once

#include "platform/vcl/controls.h"

#include <string>

namespace vcl {

// A picture held as a bitmap.
class TPicture {
public:
    // Loads a JPEG (.jpg, .jpeg, .jpe, .jfif) file. Throws EFOpenError or EInvalidGraphic (also
    // for an unknown extension); the picture is then unchanged.
    void LoadFromFile(const std::string& path);
    void Assign(const TBitmap& bitmap);
    void Clear();
    TBitmap& Bitmap() { return FBitmap; }
    const TBitmap& Bitmap() const { return FBitmap; }
    int Width() const { return FBitmap.Width(); }
    int Height() const { return FBitmap.Height(); }
    bool Empty() const { return FBitmap.Empty(); }

    std::function<void()> OnChange;

private:
    void Changed();
    TBitmap FBitmap;
};

// Where a picture of picW x picH lands in a box of boxW x boxH: Stretch fills the box;
// Proportional scales a larger picture down (and, with Stretch, a smaller one up) keeping its
// shape; Center centres whatever results.
TRect ImageDestRect(int picW, int picH, int boxW, int boxH, bool stretch, bool proportional,
                    bool center);

class TImage : public TControl {
public:
    explicit TImage(TComponent* AOwner);
    ~TImage() override;

    TPicture& Picture() { return FPicture; }
    const TPicture& Picture() const { return FPicture; }
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Proportional() const { return FProportional; }
    void SetProportional(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    // The rectangle of the client area the picture is drawn into.
    TRect DestRect() const;

private:
    friend class ImageWidget;
    TPicture FPicture;
    bool FStretch = false;
    bool FProportional = false;
    bool FCenter = false;
    bool FTransparent = false;
};

// A drawing surface: Canvas draws into a bitmap of the client size that is shown on screen.
// OnPaint runs when the surface needs its picture again (first show, resize, Invalidate).
class TPaintBox : public TControl {
public:
    explicit TPaintBox(TComponent* AOwner);
    ~TPaintBox() override;

    // Drawing through it reaches the screen at the next paint. Drawing through a hidden box
    // paints its parent's client area inside the box's rectangle; the box stays hidden.
    TCanvas& Canvas();
    TBitmap& Bitmap() { return FBacking; }

    void Invalidate() override;

    TNotifyEvent OnPaint;

protected:
    virtual void Paint();
    void WMSize() override;

private:
    friend class PaintBoxWidget;
    TBitmap FBacking;
};

} // namespace vcl
