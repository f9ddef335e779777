// Pictures: JPEG decoding through libjpeg and where TImage puts the picture.
#include "platform/vcl/application.h"
#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/extctrls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/jpeg.h"

#include <QImage>
#include <QWidget>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace vcl;

namespace {

const std::string kRedBlue = std::string(ORVANTA_FIXTURES_DIR) + "/red_blue_80x40.jpg";

// JPEG is lossy: colours come back close, not exact.
void ExpectNear(TColor actual, int r, int g, int b) {
    EXPECT_NEAR(GetRValue(actual), r, 12);
    EXPECT_NEAR(GetGValue(actual), g, 12);
    EXPECT_NEAR(GetBValue(actual), b, 12);
}

TEST(Jpeg, DecodesIntoA24BitBitmap) {
    TBitmap bitmap;
    LoadJpegFile(kRedBlue, bitmap);
    ASSERT_EQ(bitmap.Width(), 80);
    ASSERT_EQ(bitmap.Height(), 40);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    ExpectNear(bitmap.GetPixel(10, 20), 255, 0, 0);
    ExpectNear(bitmap.GetPixel(70, 20), 0, 0, 255);
}

TEST(Jpeg, MissingAndBrokenFilesRaiseAndLeaveTheBitmapAlone) {
    TBitmap bitmap(3, 2);
    EXPECT_THROW(LoadJpegFile("/nonexistent/dir/x.jpg", bitmap), EFOpenError);
    const auto broken = std::filesystem::temp_directory_path() / "vcl_broken_test.jpg";
    {
        std::ofstream out(broken, std::ios::binary);
        out << "\xFF\xD8\xFF\xE0 this is not a picture";
    }
    EXPECT_THROW(LoadJpegFile(broken.string(), bitmap), EInvalidGraphic);
    // A truncated real picture fails too, or decodes; it must never crash.
    std::ifstream in(kRedBlue, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    {
        std::ofstream out(broken, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size() / 3));
    }
    try {
        LoadJpegFile(broken.string(), bitmap);
    } catch (const EInvalidGraphic&) {
    }
    std::filesystem::remove(broken);
    EXPECT_EQ(bitmap.Width() == 3 || bitmap.Width() == 80, true);
}

TEST(ImageDestRect, ScalesDownProportionallyAndStretchesOnlyWhenAsked) {
    struct Case {
        int pw, ph, bw, bh;
        bool stretch, proportional, center;
        TRect expected;
    } cases[] = {
        {800, 400, 362, 241, false, true, false, Rect(0, 0, 362, 181)},  // wider: width fits
        {400, 800, 362, 241, false, true, false, Rect(0, 0, 121, 241)},  // taller: height fits
        {100, 50, 362, 241, false, true, false, Rect(0, 0, 100, 50)},    // smaller: left alone
        {100, 50, 362, 241, true, true, false, Rect(0, 0, 362, 181)},    // stretch scales up
        {100, 50, 362, 241, true, false, false, Rect(0, 0, 362, 241)},   // plain stretch
        {800, 400, 362, 241, false, false, false, Rect(0, 0, 800, 400)}, // clipped, unscaled
        {800, 400, 362, 241, false, true, true, Rect(0, 30, 362, 211)},  // centred vertically
        {100, 50, 362, 241, false, false, true, Rect(131, 95, 231, 145)},
    };
    for (const Case& c : cases) {
        const TRect r = ImageDestRect(c.pw, c.ph, c.bw, c.bh, c.stretch, c.proportional, c.center);
        EXPECT_EQ(r.Left, c.expected.Left) << c.pw << "x" << c.ph;
        EXPECT_EQ(r.Top, c.expected.Top) << c.pw << "x" << c.ph;
        EXPECT_EQ(r.Right, c.expected.Right) << c.pw << "x" << c.ph;
        EXPECT_EQ(r.Bottom, c.expected.Bottom) << c.pw << "x" << c.ph;
    }
}

TEST(Image, ShowsTheLoadedPictureScaledDownInItsBox) {
    TApplication app;
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetBorderStyle(bsNone);
    form->SetClientSize(40, 40);
    form->SetColor(clWhite);
    auto* image = new TImage(form);
    image->SetParent(form);
    image->SetAlign(alClient);
    image->SetProportional(true);
    EXPECT_EQ(image->Width(), 40);
    image->Picture().LoadFromFile(kRedBlue);
    EXPECT_EQ(image->Picture().Width(), 80);
    const TRect r = image->DestRect();
    EXPECT_EQ(r.Width(), 40);
    EXPECT_EQ(r.Height(), 20);
    form->Show();
    const QImage shot = form->Widget()->grab().toImage();
    const QColor left = shot.pixelColor(5, 10);
    const QColor right = shot.pixelColor(35, 10);
    EXPECT_GT(left.red(), 200);
    EXPECT_LT(left.blue(), 60);
    EXPECT_GT(right.blue(), 200);
    EXPECT_LT(right.red(), 60);
    EXPECT_EQ(shot.pixelColor(20, 30), QColor(255, 255, 255)); // below the picture: the form

    EXPECT_THROW(image->Picture().LoadFromFile("background.png"), EInvalidGraphic);
    EXPECT_EQ(image->Picture().Width(), 80);
}

} // namespace
