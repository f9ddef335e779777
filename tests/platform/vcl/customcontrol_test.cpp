// Self-drawing controls: the input hooks their peer calls, painting through the backing bitmap,
// and the parent background they compose themselves over.
#include "platform/vcl/application.h"
#include "platform/vcl/extctrls.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/stdctrls.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

class TProbe : public TCustomControl {
public:
    explicit TProbe(TComponent* AOwner) : TCustomControl(AOwner) {}
    std::vector<std::string> Log;
    bool Arrows = false;
    int Paints = 0;
    int Creates = 0;
    TBitmap Background;

protected:
    void CreateWnd() override { ++Creates; }
    bool WantArrows() override { return Arrows; }
    void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
        Log.push_back("down " + std::to_string(b) + " " + std::to_string(s) + " " +
                      std::to_string(x) + "," + std::to_string(y));
        TCustomControl::MouseDown(b, s, x, y);
    }
    void MouseMove(TShiftState s, int x, int y) override {
        Log.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void MouseUp(TMouseButton b, TShiftState, int x, int y) override {
        Log.push_back("up " + std::to_string(b) + " " + std::to_string(x) + "," +
                      std::to_string(y));
    }
    void KeyDown(unsigned short& key, TShiftState s) override {
        Log.push_back("key " + std::to_string(key) + " " + std::to_string(s));
        TCustomControl::KeyDown(key, s);
    }
    void WMSetFocus() override { Log.push_back("focus in"); }
    void WMKillFocus() override { Log.push_back("focus out"); }
    void CMMouseLeave() override { Log.push_back("leave"); }
    void Paint() override {
        ++Paints;
        ParentBackground(Background);
        Canvas().Brush.Color = clRed;
        Canvas().FillRect(Rect(0, 0, Width(), Height()));
    }
};

class CustomControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->CreateForm(Form);
        Form->SetBorderStyle(bsNone);
        Form->SetClientSize(200, 100);
        Form->SetColor(RGB(0, 0, 255));
        Probe = new TProbe(Form);
        Probe->SetBounds(50, 20, 40, 40);
        Probe->SetParent(Form);
        Probe->SetTabStop(true);
    }
    void Send(QEvent& e) { QApplication::sendEvent(Probe->Widget(), &e); }
    TApplication App;
    TForm* Form = nullptr;
    TProbe* Probe = nullptr;
};

TEST_F(CustomControlTest, MouseEventsReachTheHooksInClientCoordinates) {
    EXPECT_EQ(Probe->Creates, 1);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(10, 12), QPointF(10, 12), Qt::LeftButton,
                      Qt::LeftButton, Qt::ShiftModifier);
    QMouseEvent move(QEvent::MouseMove, QPointF(11, 13), QPointF(11, 13), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(12, 14), QPointF(12, 14),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QMouseEvent right(QEvent::MouseButtonPress, QPointF(1, 2), QPointF(1, 2), Qt::RightButton,
                      Qt::RightButton, Qt::NoModifier);
    QEvent leave(QEvent::Leave);
    int fired = 0;
    Probe->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++fired; };
    for (QEvent* e : std::initializer_list<QEvent*>{&press, &move, &release, &right, &leave})
        Send(*e);
    EXPECT_EQ(Probe->Log, (std::vector<std::string>{"down 0 9 10,12", "move 8 11,13", "up 0 12,14",
                                                    "down 1 16 1,2", "leave"}));
    EXPECT_EQ(fired, 2); // the base MouseDown fires OnMouseDown
}

TEST_F(CustomControlTest, KeysArriveAsVirtualKeysAndArrowsOnlyWhenWanted) {
    QKeyEvent pgup(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QKeyEvent left(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, "+");
    QKeyEvent home(QEvent::KeyPress, Qt::Key_Home, Qt::ControlModifier);
    Send(pgup);
    Send(left); // not wanted: left to focus movement
    Probe->Arrows = true;
    Send(left);
    Send(plus);
    Send(home);
    EXPECT_EQ(Probe->Log,
              (std::vector<std::string>{"key 33 0", "key 37 0", "key 107 0", "key 36 4"}));
    unsigned short seen = 0;
    Probe->OnKeyDown = [&](TObject*, unsigned short& key, TShiftState) { seen = key; };
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    Send(f5);
    EXPECT_EQ(seen, VK_F5);
}

TEST_F(CustomControlTest, FocusChangesReachTheHooks) {
    QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    Send(in);
    Send(out);
    EXPECT_EQ(Probe->Log, (std::vector<std::string>{"focus in", "focus out"}));
}

TEST_F(CustomControlTest, PaintDrawsTheBackingBitmapOverTheParentBackground) {
    auto* sibling = new TPaintBox(Form);
    sibling->SetParent(Form);
    sibling->SetBounds(70, 40, 60, 50); // overlaps the probe's lower right quarter
    sibling->OnPaint = [sibling](TObject*) {
        sibling->Canvas().Brush.Color = RGB(0, 255, 0);
        sibling->Canvas().FillRect(Rect(0, 0, 60, 50));
    };
    sibling->SendToBack();
    Form->Show();
    const QImage shot = Form->Widget()->grab().toImage();
    EXPECT_GE(Probe->Paints, 1);
    // What the screen shows is the control's picture...
    EXPECT_EQ(shot.pixelColor(55, 25), QColor(255, 0, 0));
    // ...and what it composed over: the form's colour and the sibling, not itself.
    ASSERT_EQ(Probe->Background.Width(), 40);
    ASSERT_EQ(Probe->Background.Height(), 40);
    EXPECT_EQ(Probe->Background.GetPixel(5, 5), RGB(0, 0, 255));
    EXPECT_EQ(Probe->Background.GetPixel(25, 25), RGB(0, 255, 0)); // (75,45) lies on the sibling
    EXPECT_EQ(Probe->Background.GetPixel(19, 19), RGB(0, 0, 255)); // (69,39) does not

    // Present shows the bitmap as drawn without another Paint.
    const int paints = Probe->Paints;
    Probe->Canvas().Brush.Color = RGB(255, 255, 0);
    Probe->Canvas().FillRect(Rect(0, 0, 40, 40));
    Probe->Present();
    const QImage again = Form->Widget()->grab().toImage();
    EXPECT_EQ(again.pixelColor(55, 25), QColor(255, 255, 0));
    EXPECT_EQ(Probe->Paints, paints);
    // Invalidate asks for Paint again.
    Probe->Invalidate();
    const QImage third = Form->Widget()->grab().toImage();
    EXPECT_EQ(third.pixelColor(55, 25), QColor(255, 0, 0));
    EXPECT_EQ(Probe->Paints, paints + 1);
}

TEST_F(CustomControlTest, DestroyingAControlTellsThoseWhoAskedAndItsOwnerForgetsIt) {
    struct TWatcher : TComponent {
        using TComponent::TComponent;
        TComponent* Gone = nullptr;
        void Notification(TComponent* c, TOperation op) override {
            TComponent::Notification(c, op);
            if (op == opRemove)
                Gone = c;
        }
    };
    TWatcher watcher(nullptr);
    auto* label = new TLabel(Form);
    label->SetParent(Form);
    label->FreeNotification(&watcher);
    const int count = Form->ComponentCount();
    const int controls = Form->ControlCount();
    TComponent::Free(label);
    EXPECT_EQ(watcher.Gone, label);
    EXPECT_EQ(Form->ComponentCount(), count - 1);
    EXPECT_EQ(Form->ControlCount(), controls - 1);
}

} // namespace
