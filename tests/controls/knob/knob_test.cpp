// TKnob through the real control on the offscreen platform: value model, mouse, keys, squaring,
// the label link and the mark's size. Input arrives through the same hooks the screen peer calls.
#include "controls/knob/knob.h"

#include "controls/knob/ezline.h"
#include "platform/vcl/application.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/stdctrls.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

using namespace vcl;

namespace {

// Opens the protected hooks so tests can deliver input as the screen peer would.
class TestKnob : public TKnob {
public:
    using TKnob::CMEnabledChanged;
    using TKnob::CMMouseLeave;
    using TKnob::KeyDown;
    using TKnob::MouseDown;
    using TKnob::MouseMove;
    using TKnob::MouseUp;
    using TKnob::TKnob;
    using TKnob::WMKillFocus;
    using TKnob::WMSetFocus;
    const TBitmap& Face() const { return FFaceBitmap; }
    const TBitmap& Mask() const { return FMaskBitmap; }
    const TBitmap& Outside() const { return FOutsideBitmap; }
    const TBitmap& Composed() const { return FComposedBitmap; }

    void Press(int x, int y, TMouseButton b = mbLeft) { MouseDown(b, 0, x, y); }
    void Move(int x, int y) { MouseMove(FDraggingShift(), x, y); }
    void Release(int x, int y, TMouseButton b = mbLeft) { MouseUp(b, 0, x, y); }
    void Key(unsigned short key) { KeyDown(key, 0); }

private:
    TShiftState FDraggingShift() const { return Dragging() ? TShiftState{ssLeft} : TShiftState{0}; }
};

constexpr TColor Sentinel = 0xFF00FF;

// A shown form as the knob's parent, so the knob can really take the focus; it also owns the
// labels the tests create.
class KnobTestHost {
public:
    KnobTestHost() {
        FApplication.CreateForm(FForm);
        FForm->SetClientSize(300, 300);
        FForm->Show();
        FForm->BringToFront();
        // Activation arrives as an event; without an active window nothing can take the focus.
        FApplication.ProcessMessages();
    }
    TComponent* Owner() { return FForm; }
    TWinControl* Parent() { return FForm; }

private:
    TApplication FApplication;
    TForm* FForm = nullptr;
};

class KnobTest : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<KnobTestHost>();
        knob = std::make_unique<TestKnob>(nullptr);
        knob->SetParent(host->Parent());
        knob->OnChange = [this](TObject* sender) {
            EXPECT_EQ(sender, knob.get());
            changes.push_back(knob->Position());
        };
    }

    // A 100-pixel knob over 0..100: three units per degree, easy to reason about.
    void MakeVolumeKnob() {
        knob->SetBounds(0, 0, 100, 100);
        knob->SetMax(100);
        changes.clear();
    }

    // Paints the visible picture over, so a later pass can be seen to have redrawn it.
    void Scribble() {
        knob->Canvas().Brush.Color = Sentinel;
        knob->Canvas().Brush.Style = bsSolid;
        knob->Canvas().FillRect(Rect(0, 0, knob->Width(), knob->Height()));
    }
    TColor Centre() { return knob->Canvas().Pixel(knob->Width() / 2, knob->Height() / 2); }
    // The state ring runs one pixel inside the edge.
    TColor Ring() { return knob->Canvas().Pixel(knob->Width() / 2, 1); }

    void TearDown() override {
        knob.reset();
        host.reset();
    }

    std::unique_ptr<KnobTestHost> host;
    std::unique_ptr<TestKnob> knob;
    std::vector<int> changes;
};

// --- value model ---------------------------------------------------------------------------------

TEST_F(KnobTest, ConstructionGivesTheDocumentedDefaults) {
    TestKnob fresh(nullptr);
    EXPECT_EQ(fresh.Width(), 40);
    EXPECT_EQ(fresh.Height(), 40);
    EXPECT_EQ(fresh.Diameter(), 40);
    EXPECT_EQ(fresh.Radius(), 20.0f);
    EXPECT_EQ(fresh.Min(), 0);
    EXPECT_EQ(fresh.Max(), 127);
    EXPECT_EQ(fresh.Position(), 0);
    EXPECT_EQ(fresh.PageSize(), 10);
    EXPECT_EQ(fresh.LineColor(), clActiveCaption);
    EXPECT_EQ(fresh.Color(), clBtnFace);
    EXPECT_EQ(fresh.LineLength(), 3.0f);
    EXPECT_EQ(fresh.LineWidth(), 2.0f);
    EXPECT_TRUE(fresh.TabStop());
    EXPECT_TRUE(fresh.DrawBorder());
    EXPECT_TRUE(fresh.ShowIndicator());
    EXPECT_TRUE(fresh.RotateImage());
    EXPECT_TRUE(fresh.ShowFocusedState());
    EXPECT_FALSE(fresh.Transparent());
    EXPECT_FALSE(fresh.SpringLoaded());
    EXPECT_TRUE(fresh.KnobImage().Empty());
    EXPECT_EQ(fresh.IndicatorType(), itLine);
    EXPECT_EQ(fresh.PositionLabel(), nullptr);
    EXPECT_TRUE(fresh.ControlStyle() & csOpaque);
    EXPECT_EQ(fresh.Face().Width(), 40);
    EXPECT_EQ(fresh.Composed().Height(), 40);
    // The renderer is configured from the knob's own settings.
    EXPECT_EQ(fresh.LineRenderer().Color, clActiveCaption);
    EXPECT_EQ(fresh.LineRenderer().Width, 2.0);
    EXPECT_TRUE(fresh.LineRenderer().AntiAlias);
}

TEST_F(KnobTest, ScaleAndAngleAreFirstComputedWhenTheWindowIsCreated) {
    TestKnob orphan(nullptr);
    orphan.SetPosition(10);
    EXPECT_EQ(orphan.DegreesPerUnit(), 0.0f);
    EXPECT_EQ(orphan.Angle(), 240);
    orphan.SetParent(host->Parent());
    EXPECT_FLOAT_EQ(orphan.DegreesPerUnit(), 300.0f / 127.0f);
    EXPECT_EQ(orphan.Angle(), 216);
    orphan.SetParent(nullptr);
}

TEST_F(KnobTest, WritesAreClampedAndMappedToAnAngle) {
    struct Case {
        int min, max, written, position, angle;
    } cases[] = {
        {0, 127, 200, 127, -60}, {0, 127, -3, 0, 240},     {0, 127, 10, 10, 216},
        {0, 100, 10, 10, 210},   {0, 100, 50, 50, 90},     {0, 100, 100, 100, -60},
        {100, 0, 50, 50, 90},    {100, 0, 101, 0, -60},    {100, 0, -1, 100, 240},
        {100, 0, 100, 100, 240}, {5, 5, 7, 5, 240},        {5, 5, -9, 5, 240},
        {-50, 50, 0, 0, 90},     {-50, 50, -51, -50, 240},
    };
    for (auto c : cases) {
        knob->SetMin(c.min);
        knob->SetMax(c.max);
        knob->SetPosition(c.written);
        EXPECT_EQ(knob->Position(), c.position) << c.min << ".." << c.max << " <- " << c.written;
        EXPECT_EQ(knob->Angle(), c.angle) << c.min << ".." << c.max << " <- " << c.written;
    }
}

TEST_F(KnobTest, NarrowingTheRangeDragsThePositionAlong) {
    MakeVolumeKnob();
    knob->SetPosition(80);
    knob->SetMax(50);
    EXPECT_EQ(knob->Position(), 50);
    EXPECT_EQ(knob->Angle(), -60);
    knob->SetMin(60); // Min above Max: a reversed range, 50 lies beyond Max's end
    EXPECT_LT(knob->DegreesPerUnit(), 0.0f);
    EXPECT_EQ(knob->Position(), 50);
    EXPECT_EQ(knob->Angle(), -60);
}

TEST_F(KnobTest, EveryWriteRedrawsAndFiresOnChangeEvenWhenNothingChanged) {
    MakeVolumeKnob();
    struct Write {
        const char* what;
        std::function<void()> run;
    } writes[] = {
        {"Position again", [&] { knob->SetPosition(knob->Position()); }},
        {"Position", [&] { knob->SetPosition(42); }},
        {"Min again", [&] { knob->SetMin(knob->Min()); }},
        {"Max again", [&] { knob->SetMax(knob->Max()); }},
        {"Max", [&] { knob->SetMax(90); }},
        {"out of range", [&] { knob->SetPosition(1000); }},
    };
    for (auto& w : writes) {
        changes.clear();
        Scribble();
        w.run();
        EXPECT_EQ(changes.size(), 1u) << w.what;
        EXPECT_NE(Centre(), Sentinel) << w.what << " did not redraw";
    }
}

TEST_F(KnobTest, EmptyRangeKeepsItsValueAndStillAnnouncesWrites) {
    knob->SetBounds(0, 0, 100, 100);
    knob->SetMin(5);
    knob->SetMax(5);
    changes.clear();
    for (int v : {5, 6, -100, 5})
        knob->SetPosition(v);
    EXPECT_EQ(changes, (std::vector<int>{5, 5, 5, 5}));
    EXPECT_EQ(knob->Angle(), 240);
    for (auto [x, y] : {std::pair{50, 0}, {99, 50}, {0, 50}, {51, 99}}) {
        knob->Move(x, y);
        knob->Press(50, 50);
        knob->Release(50, 50);
        EXPECT_EQ(knob->Position(), 5) << x << "," << y;
    }
}

TEST_F(KnobTest, OnChangeMayWriteThePositionAgain) {
    MakeVolumeKnob();
    int depth = 0;
    knob->OnChange = [&](TObject*) {
        // A handler that snaps to multiples of ten re-enters once and then settles.
        ++depth;
        if (knob->Position() % 10 != 0)
            knob->SetPosition(knob->Position() / 10 * 10);
    };
    knob->SetPosition(47);
    EXPECT_EQ(knob->Position(), 40);
    EXPECT_EQ(depth, 2);
}

// --- mouse ---------------------------------------------------------------------------------------

TEST_F(KnobTest, HoverPreviewsTheValueAndLeavingRestoresTheLabel) {
    MakeVolumeKnob();
    auto* label = new TLabel(host->Owner());
    label->SetParent(host->Parent());
    knob->SetPositionLabel(label);
    knob->SetPosition(10);
    changes.clear();

    knob->Move(50, 0); // straight above: mid-range
    EXPECT_EQ(knob->MouseAngle(), 90);
    EXPECT_EQ(label->Caption(), "50 ");
    EXPECT_EQ(knob->Position(), 10);
    EXPECT_TRUE(changes.empty());

    knob->CMMouseLeave();
    EXPECT_EQ(label->Caption(), "10 ");
}

TEST_F(KnobTest, PressInsideTheEllipseStartsADragAtTheLastPointerDirection) {
    MakeVolumeKnob();
    knob->SetShowFocusedState(false);
    knob->Move(50, 0);   // 90 degrees
    knob->Press(50, 90); // a different point: the press itself is not measured
    EXPECT_TRUE(knob->Dragging());
    EXPECT_TRUE(knob->Focused()) << "a press inside takes the focus";
    EXPECT_EQ(knob->Position(), 50);
    EXPECT_EQ(changes, (std::vector<int>{50}));
    EXPECT_EQ(Ring(), 0x000000) << "the ring shows the drag";
    knob->Release(50, 90);
    EXPECT_FALSE(knob->Dragging());
    EXPECT_EQ(Ring(), 0x3F3F3F) << "the ring is refreshed when the drag ends";
}

TEST_F(KnobTest, PressesThatDoNotStartADrag) {
    MakeVolumeKnob();
    struct Case {
        const char* what;
        TMouseButton button;
        int x, y;
    } cases[] = {
        {"left press in the corner", mbLeft, 3, 3},
        {"left press in the far corner", mbLeft, 97, 98},
        {"right press in the middle", mbRight, 50, 50},
        {"middle press in the middle", mbMiddle, 50, 50},
    };
    for (auto c : cases) {
        knob->SetPosition(10);
        changes.clear();
        int pressesSeen = 0;
        knob->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++pressesSeen; };
        knob->Move(50, 0);
        knob->Press(c.x, c.y, c.button);
        EXPECT_FALSE(knob->Dragging()) << c.what;
        EXPECT_FALSE(knob->Focused()) << c.what;
        EXPECT_EQ(knob->Position(), 10) << c.what;
        EXPECT_TRUE(changes.empty()) << c.what;
        EXPECT_EQ(pressesSeen, 1) << c.what << ": OnMouseDown still runs";
        knob->Move(99, 50);
        EXPECT_EQ(knob->Position(), 10) << c.what << ": moves without a drag change nothing";
        knob->Release(c.x, c.y, c.button);
    }
}

struct DragCase {
    const char* what;
    std::pair<int, int> press;              // hovered, then pressed
    std::vector<std::pair<int, int>> moves; // while the button is held
    int position;                           // before the release
};

TEST_F(KnobTest, DraggingFollowsThePointerButNotAcrossTheEndStops) {
    // On a 100-pixel knob over 0..100: (49,99) is Min's direction, (40,65) is 236 degrees (1),
    // (52,40) is 79 degrees, (51,99) lies in the gap's Max half, (0,40) is left of the top.
    const DragCase cases[] = {
        {"at Min, across the bottom gap", {49, 99}, {{50, 99}, {51, 99}, {99, 99}, {99, 60}}, 0},
        {"at Min, one step to 79 degrees", {49, 99}, {{52, 40}}, 0},
        {"one above Min, the same step", {40, 65}, {{52, 40}}, 54},
        {"at Min, up the left side", {49, 99}, {{0, 50}, {0, 0}}, 35},
        {"at Max, jump to the left half", {51, 99}, {{0, 40}, {49, 99}}, 100},
        {"at Max, back to the top", {51, 99}, {{50, 0}}, 50},
        {"outside the control while held", {50, 0}, {{-50, 50}}, 20},
        {"far outside below the gap", {40, 65}, {{-100, 400}}, 0},
    };
    MakeVolumeKnob();
    for (const auto& c : cases) {
        knob->SetPosition(50);
        knob->Move(c.press.first, c.press.second);
        knob->Press(c.press.first, c.press.second);
        ASSERT_TRUE(knob->Dragging()) << c.what;
        for (auto [x, y] : c.moves)
            knob->Move(x, y);
        EXPECT_EQ(knob->Position(), c.position) << c.what;
        auto [x, y] = c.moves.back();
        knob->Release(x, y);
        EXPECT_EQ(knob->Position(), c.position) << c.what << " after the release";
    }
}

TEST_F(KnobTest, AnEndStopKeepsTheLabelAndMouseAngle) {
    MakeVolumeKnob();
    auto* label = new TLabel(host->Owner());
    knob->SetPositionLabel(label);
    knob->Move(49, 99);
    knob->Press(49, 99);
    knob->Move(51, 99); // blocked
    EXPECT_EQ(knob->MouseAngle(), 240);
    EXPECT_EQ(label->Caption(), "0 ");
    knob->Release(51, 99);
}

TEST_F(KnobTest, ReleaseSettlesOnTheLastDirectionOrSpringsBack) {
    struct Case {
        int min, max;
        bool spring;
        TMouseButton releasedWith;
        int position;
    } cases[] = {
        {0, 100, false, mbLeft, 50}, {0, 100, true, mbLeft, 0},    {10, 20, true, mbLeft, 10},
        {-50, 50, true, mbRight, 0}, {0, 100, false, mbRight, 50},
    };
    knob->SetBounds(0, 0, 100, 100);
    for (auto c : cases) {
        knob->SetSpringLoaded(false);
        knob->SetMin(c.min);
        knob->SetMax(c.max);
        knob->SetSpringLoaded(c.spring);
        knob->Move(99, 50);
        knob->Press(99, 50);
        knob->Move(50, 0);
        knob->Release(50, 0, c.releasedWith);
        EXPECT_FALSE(knob->Dragging());
        EXPECT_EQ(knob->Position(), c.position) << c.min << ".." << c.max << " spring " << c.spring;
    }
}

TEST_F(KnobTest, LosingTheFocusEndsTheDragAndSpringsBack) {
    MakeVolumeKnob();
    knob->SetSpringLoaded(true);
    knob->Move(50, 0);
    knob->Press(50, 0);
    EXPECT_EQ(knob->Position(), 50);
    changes.clear();
    knob->WMKillFocus();
    EXPECT_FALSE(knob->Dragging());
    EXPECT_EQ(knob->Position(), 0);
    EXPECT_EQ(changes, (std::vector<int>{0}));
    knob->Move(99, 50);
    EXPECT_EQ(knob->Position(), 0) << "the drag is over";

    knob->SetSpringLoaded(false);
    knob->SetPosition(70);
    knob->WMKillFocus();
    EXPECT_EQ(knob->Position(), 70) << "without spring loading the value stays";
}

TEST_F(KnobTest, StateRingFollowsFocusAndEnabled) {
    MakeVolumeKnob();
    knob->SetPosition(0);
    knob->WMKillFocus();
    EXPECT_EQ(Ring(), 0x3F3F3F);
    knob->SetEnabled(false);
    EXPECT_EQ(Ring(), 0x808080);
    knob->SetEnabled(true);
    EXPECT_EQ(Ring(), 0x3F3F3F);

    // Without ShowFocusedState a focus change does not repaint the ring at all.
    knob->SetShowFocusedState(false);
    Scribble();
    knob->WMSetFocus();
    knob->WMKillFocus();
    EXPECT_EQ(Centre(), Sentinel);
}

// --- keys ----------------------------------------------------------------------------------------

TEST_F(KnobTest, KeysStepThroughTheRange) {
    struct Case {
        int min, max, position;
        std::uint16_t pageSize;
        unsigned short key;
        int result;
    } cases[] = {
        {0, 100, 95, 10, VK_PRIOR, 100}, {0, 100, 50, 10, VK_PRIOR, 60},
        {0, 100, 50, 25, VK_NEXT, 25},   {0, 100, 5, 10, VK_NEXT, 0},
        {0, 100, 50, 10, VK_HOME, 0},    {0, 100, 50, 10, VK_END, 100},
        {0, 100, 50, 10, VK_LEFT, 49},   {0, 100, 50, 10, VK_DOWN, 49},
        {0, 100, 50, 10, VK_UP, 51},     {0, 100, 50, 10, VK_RIGHT, 51},
        {0, 100, 100, 10, VK_UP, 100},   {0, 100, 0, 10, VK_DOWN, 0},
        {100, 0, 100, 10, VK_UP, 0},     {100, 0, 0, 10, VK_DOWN, 100},
        {100, 0, 50, 10, VK_HOME, 100},  {-5, 5, 0, 0, VK_PRIOR, 0},
    };
    for (auto c : cases) {
        knob->SetMin(c.min);
        knob->SetMax(c.max);
        knob->SetPosition(c.position);
        knob->SetPageSize(c.pageSize);
        changes.clear();
        knob->Key(c.key);
        EXPECT_EQ(knob->Position(), c.result)
            << "key " << c.key << " at " << c.position << " of " << c.min << ".." << c.max;
        EXPECT_EQ(changes.size(), 1u);
    }
}

TEST_F(KnobTest, OtherKeysDoNothingAndOnKeyDownSeesTheKeyFirst) {
    MakeVolumeKnob();
    knob->SetPosition(50);
    changes.clear();
    for (unsigned short key : {VK_SPACE, VK_RETURN, VK_ADD, static_cast<unsigned short>('A')})
        knob->Key(key);
    EXPECT_EQ(knob->Position(), 50);
    EXPECT_TRUE(changes.empty());

    knob->OnKeyDown = [](TObject*, unsigned short& key, TShiftState) {
        key = key == VK_UP ? 0 : VK_END; // swallow Up, turn anything else into End
    };
    knob->Key(VK_UP);
    EXPECT_EQ(knob->Position(), 50);
    knob->Key(VK_SPACE);
    EXPECT_EQ(knob->Position(), 100);
}

TEST_F(KnobTest, RealKeyAndMouseEventsReachTheKnob) {
    MakeVolumeKnob();
    knob->SetPosition(50);
    QWidget* peer = knob->Widget();
    auto key = [&](Qt::Key k) {
        QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
        QApplication::sendEvent(peer, &e);
    };
    auto mouse = [&](QEvent::Type type, int x, int y, Qt::MouseButton button,
                     Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(x, y), peer->mapToGlobal(QPointF(x, y)), button, held,
                      Qt::NoModifier);
        QApplication::sendEvent(peer, &e);
    };
    // The arrows must reach the knob instead of moving the focus.
    key(Qt::Key_Up);
    EXPECT_EQ(knob->Position(), 51);
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(knob->Position(), 49);
    key(Qt::Key_PageUp);
    EXPECT_EQ(knob->Position(), 59);
    key(Qt::Key_End);
    EXPECT_EQ(knob->Position(), 100);

    mouse(QEvent::MouseMove, 50, 0, Qt::NoButton, Qt::NoButton);
    mouse(QEvent::MouseButtonPress, 50, 0, Qt::LeftButton, Qt::LeftButton);
    EXPECT_EQ(knob->Position(), 50);
    EXPECT_TRUE(knob->Focused());
    mouse(QEvent::MouseMove, 99, 50, Qt::NoButton, Qt::LeftButton);
    EXPECT_EQ(knob->Position(), 80);
    mouse(QEvent::MouseButtonRelease, 99, 50, Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(knob->Dragging());
    EXPECT_EQ(knob->Position(), 80);
}

// --- size ----------------------------------------------------------------------------------------

TEST_F(KnobTest, ResizingKeepsTheControlSquare) {
    struct Case {
        int w, h, side;
    } cases[] = {{100, 60, 100}, {60, 100, 100}, {30, 50, 50}, {30, 35, 30}, {41, 41, 41}};
    for (auto c : cases) {
        TestKnob k(nullptr);
        k.SetParent(host->Parent());
        k.SetBounds(5, 7, c.w, c.h);
        EXPECT_EQ(k.Width(), c.side) << c.w << "x" << c.h;
        EXPECT_EQ(k.Height(), c.side) << c.w << "x" << c.h;
        EXPECT_EQ(k.Left(), 5);
        EXPECT_EQ(k.Top(), 7);
        EXPECT_EQ(k.Diameter(), c.side);
        EXPECT_EQ(k.Radius(), c.side / 2.0f);
        for (const TBitmap* b : {&k.Face(), &k.Mask(), &k.Outside(), &k.Composed()}) {
            EXPECT_EQ(b->Width(), c.side);
            EXPECT_EQ(b->Height(), c.side);
        }
        // The mask is rebuilt for the new size: white in the middle, black in the corners.
        EXPECT_EQ(k.Mask().GetPixel(c.side / 2, c.side / 2), clWhite);
        EXPECT_EQ(k.Mask().GetPixel(0, 0), clBlack);
        EXPECT_EQ(k.Mask().GetPixel(c.side - 1, c.side - 1), clBlack);
        k.SetParent(nullptr);
    }
}

// --- label ---------------------------------------------------------------------------------------

TEST_F(KnobTest, LabelShowsTheValueAndTheCaption) {
    MakeVolumeKnob();
    auto* label = new TLabel(host->Owner());
    label->SetParent(host->Parent());
    knob->SetCaption("Knob1");
    knob->SetPosition(10);
    EXPECT_EQ(label->Caption(), "") << "no link yet";
    knob->SetPositionLabel(label);
    EXPECT_EQ(label->Caption(), "10 Knob1");
    knob->SetPosition(64);
    EXPECT_EQ(label->Caption(), "64 Knob1");
    knob->SetCaption("%%");
    EXPECT_EQ(label->Caption(), "64 %");
    label->SetCaption("stale");
    knob->SetPositionLabel(label); // writing the same label refreshes it
    EXPECT_EQ(label->Caption(), "64 %");

    knob->Hide();
    EXPECT_FALSE(label->Visible());
    knob->Show();
    EXPECT_TRUE(label->Visible());
    knob->SetEnabled(false);
    EXPECT_FALSE(label->Enabled());
    knob->SetEnabled(true);
    EXPECT_TRUE(label->Enabled());
}

TEST_F(KnobTest, DestroyingTheLabelClearsTheLink) {
    MakeVolumeKnob();
    // Owned elsewhere, so only the free notification can tell the knob.
    auto* label = new TLabel(nullptr);
    knob->SetPositionLabel(label);
    TComponent::Free(label);
    EXPECT_EQ(knob->PositionLabel(), nullptr);
    knob->SetPosition(30); // would write into freed memory if the link were still there
    knob->Move(50, 0);
    knob->CMMouseLeave();
    knob->Hide();
    EXPECT_EQ(knob->Position(), 30);
}

TEST_F(KnobTest, DestroyingTheKnobLeavesTheLabelAlone) {
    auto* label = new TLabel(host->Owner());
    {
        TestKnob k(nullptr);
        k.SetPositionLabel(label);
    }
    label->SetCaption("still here");
    EXPECT_EQ(label->Caption(), "still here");
}

// --- spring loading ------------------------------------------------------------------------------

TEST_F(KnobTest, SwitchingSpringLoadingOnReturnsToZeroAtOnce) {
    struct Case {
        int min, max, position, result;
    } cases[] = {{-50, 50, 30, 0}, {10, 20, 15, 10}, {-20, -10, -15, -10}, {0, 100, 0, 0}};
    for (auto c : cases) {
        knob->SetSpringLoaded(false);
        knob->SetMin(c.min);
        knob->SetMax(c.max);
        knob->SetPosition(c.position);
        changes.clear();
        knob->SetSpringLoaded(true);
        EXPECT_EQ(knob->Position(), c.result) << c.min << ".." << c.max;
        knob->SetSpringLoaded(true); // again, unchanged: still a write
        EXPECT_EQ(changes.size(), 2u);
    }
    changes.clear();
    knob->SetSpringLoaded(false);
    EXPECT_TRUE(changes.empty());
}

// --- look ----------------------------------------------------------------------------------------

TEST_F(KnobTest, LookChangingWritesRepaintOnlyWhenTheValueChanges) {
    MakeVolumeKnob();
    TBitmap picture(10, 10);
    struct Write {
        const char* what;
        std::function<void()> same, changed;
    } writes[] = {
        {"Color", [&] { knob->SetColor(knob->Color()); }, [&] { knob->SetColor(clRed); }},
        {"LineColor", [&] { knob->SetLineColor(knob->LineColor()); },
         [&] { knob->SetLineColor(clBlue); }},
        {"IndicatorType", [&] { knob->SetIndicatorType(knob->IndicatorType()); },
         [&] { knob->SetIndicatorType(itCircle); }},
        {"ShowIndicator", [&] { knob->SetShowIndicator(true); },
         [&] { knob->SetShowIndicator(false); }},
        {"DrawBorder", [&] { knob->SetDrawBorder(true); }, [&] { knob->SetDrawBorder(false); }},
        {"RotateImage", [&] { knob->SetRotateImage(true); }, [&] { knob->SetRotateImage(false); }},
        {"Transparent", [&] { knob->SetTransparent(false); }, [&] { knob->SetTransparent(true); }},
        {"LineLength", [&] { knob->SetLineLength(2); }, [&] { knob->SetLineLength(9); }},
        {"LineWidth", [&] { knob->SetLineWidth(0.5f); }, [&] { knob->SetLineWidth(4); }},
        {"KnobImage", [] {}, [&] { knob->SetKnobImage(&picture); }},
    };
    knob->SetLineLength(3);
    knob->SetLineWidth(1);
    Application->ProcessMessages();
    for (auto& w : writes) {
        Scribble();
        w.same();
        Application->ProcessMessages();
        EXPECT_EQ(Centre(), Sentinel) << w.what << " unchanged still repainted";
        w.changed();
        Application->ProcessMessages();
        EXPECT_NE(Centre(), Sentinel) << w.what << " did not repaint";
    }
}

TEST_F(KnobTest, KnobImageIsCopiedAndFillsTheFaceUnlessTransparent) {
    knob->SetColor(clBlue);
    TBitmap picture(10, 10);
    picture.Canvas().Brush.Color = clRed;
    picture.Canvas().FillRect(Rect(0, 0, 10, 10));
    knob->SetKnobImage(&picture);
    picture.Canvas().Brush.Color = clLime; // the knob keeps its own copy
    picture.Canvas().FillRect(Rect(0, 0, 10, 10));
    EXPECT_EQ(knob->KnobImage().GetPixel(5, 5), clRed);
    EXPECT_EQ(knob->Face().GetPixel(20, 20), clRed) << "picture centred on the face";
    EXPECT_EQ(knob->Face().GetPixel(2, 2), clBlue) << "Color around it";

    knob->SetTransparent(true);
    knob->SetKnobImage(&picture);
    EXPECT_EQ(knob->Face().GetPixel(20, 20), clRed) << "a transparent knob keeps its face";
    knob->SetTransparent(false); // switching it off refills the face from the picture
    EXPECT_EQ(knob->Face().GetPixel(20, 20), clLime);

    knob->SetKnobImage(nullptr);
    EXPECT_TRUE(knob->KnobImage().Empty());
}

// --- the mark's size -----------------------------------------------------------------------------

TEST_F(KnobTest, LineLengthAndWidthAreClamped) {
    struct Case {
        int side;
        float length, storedLength, width, storedWidth;
    } cases[] = {
        {40, 50, 11, 0.5f, 1}, {40, 2, 3, 12, 8}, {100, 20, 20, 2.5f, 2.5f},
        {100, 45, 41, 8, 8},   {20, 5, 1, -1, 1}, {100, 3, 3, 1, 1},
    };
    for (auto c : cases) {
        TestKnob k(nullptr);
        k.SetParent(host->Parent());
        k.SetBounds(0, 0, c.side, c.side);
        k.SetLineLength(c.length);
        k.SetLineWidth(c.width);
        EXPECT_EQ(k.LineLength(), c.storedLength) << c.side << " / " << c.length;
        EXPECT_EQ(k.LineWidth(), c.storedWidth) << c.width;
        EXPECT_EQ(k.LineRenderer().Width, static_cast<double>(c.storedWidth));
        k.SetParent(nullptr);
    }
}

TEST_F(KnobTest, LineLengthBoundIsTakenAtTheWrite) {
    knob->SetBounds(0, 0, 100, 100);
    knob->SetLineLength(30);
    knob->SetBounds(0, 0, 40, 40);
    EXPECT_EQ(knob->LineLength(), 30.0f) << "a later size change does not clamp again";
}

TEST_F(KnobTest, LineColourReachesTheRenderer) {
    knob->SetLineColor(clRed);
    EXPECT_EQ(knob->LineColor(), clRed);
    EXPECT_EQ(knob->LineRenderer().Color, clRed);
}

} // namespace
