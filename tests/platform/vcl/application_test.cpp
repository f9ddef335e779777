// The application object and forms: creation order, the main form's close ending the loop, the
// close events, the general error handler, modal forms and opacity.
#include "platform/vcl/application.h"
#include "platform/vcl/core/dialogs.h"
#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/stdctrls.h"
#include "platform/vcl/timer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace vcl;

namespace {

std::vector<std::string> gLog;

class TFirst;
class TSecond;
TFirst* First = nullptr;
TSecond* Second = nullptr;

class TFirst : public TForm {
public:
    explicit TFirst(TComponent* AOwner) : TForm(AOwner) {
        OnCreate = [this](TObject*) { gLog.push_back(First == this ? "first sees itself" : "?"); };
        OnDestroy = [](TObject*) { gLog.push_back("first destroyed"); };
    }
};

class TSecond : public TForm {
public:
    explicit TSecond(TComponent* AOwner) : TForm(AOwner) {
        OnCreate = [this](TObject*) {
            // The second form's creation may use the first form, complete before it.
            gLog.push_back(Second == this && First != nullptr ? "second sees both" : "?");
        };
        OnDestroy = [](TObject*) {
            gLog.push_back(First != nullptr ? "second destroyed, first alive" : "?");
        };
    }
};

// Runs `action` once the event loop is running.
void Later(std::function<void()> action) {
    QTimer::singleShot(0, [action] { Guarded(action); });
}

// Ends a loop that should have ended by itself; gone with the test, so it never reaches the
// next one.
class Watchdog {
public:
    explicit Watchdog(std::function<void()> rescue) {
        FTimer.setSingleShot(true);
        QObject::connect(&FTimer, &QTimer::timeout, [rescue] {
            ADD_FAILURE() << "the loop did not end by itself";
            rescue();
        });
        FTimer.start(5000);
    }

private:
    QTimer FTimer;
};

TEST(Application, FormsAreCreatedInOrderHiddenAndDestroyedInReverse) {
    gLog.clear();
    {
        TApplication app;
        Application->Initialize();
        Application->CreateForm(First);
        Application->CreateForm(Second);
        EXPECT_EQ(Application->MainForm(), First);
        EXPECT_FALSE(First->Visible());
        EXPECT_FALSE(First->Widget()->isVisible());
        EXPECT_FALSE(Second->Widget()->isVisible());
        ASSERT_EQ(Application->Forms().size(), 2u);
        EXPECT_EQ(Application->Forms()[1], Second);
    }
    EXPECT_EQ(gLog, (std::vector<std::string>{"first sees itself", "second sees both",
                                              "second destroyed, first alive", "first destroyed"}));
    // The global pointers do not dangle once their forms are gone.
    EXPECT_EQ(First, nullptr);
    EXPECT_EQ(Second, nullptr);
    EXPECT_EQ(Application, nullptr);
}

TEST(Application, RunShowsTheMainFormAndClosingItEndsTheLoop) {
    TApplication app;
    Application->CreateForm(First);
    Application->CreateForm(Second);
    int shown = 0;
    First->OnShow = [&](TObject*) { ++shown; };
    std::vector<std::string> events;
    First->OnCloseQuery = [&](TObject*, bool& can) {
        events.push_back("query");
        can = true;
    };
    First->OnClose = [&](TObject*, TCloseAction& action) {
        events.push_back(action == caHide ? "close caHide" : "close other");
    };
    bool wasVisible = false;
    Later([&] {
        wasVisible = First->Widget()->isVisible();
        First->Close();
    });
    Watchdog watchdog([] { Application->Terminate(); });
    Application->Run();
    EXPECT_TRUE(wasVisible);
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(events, (std::vector<std::string>{"query", "close caHide"}));
}

TEST(Application, TheCloseBoxGoesThroughTheSameCloseEvents) {
    TApplication app;
    Application->CreateForm(First);
    int closes = 0;
    First->OnClose = [&](TObject*, TCloseAction&) { ++closes; };
    Later([&] { First->Widget()->close(); });
    Watchdog watchdog([] { Application->Terminate(); });
    Application->Run();
    EXPECT_EQ(closes, 1);
}

TEST(Application, RefusedCloseQueryKeepsTheFormAndTheLoop) {
    TApplication app;
    Application->CreateForm(First);
    Application->CreateForm(Second);
    bool allow = false;
    int closeEvents = 0;
    First->OnCloseQuery = [&](TObject*, bool& can) { can = allow; };
    First->OnClose = [&](TObject*, TCloseAction&) { ++closeEvents; };
    Second->Show();
    Second->OnCloseQuery = [](TObject*, bool& can) { can = false; };
    bool terminatedAfterRefusal = true;
    Later([&] {
        First->Close();
        Second->Close();
        terminatedAfterRefusal = Application->Terminated();
        EXPECT_TRUE(Second->Visible());
        EXPECT_TRUE(First->Visible());
        allow = true;
        First->Close();
    });
    Watchdog watchdog([] { Application->Terminate(); });
    Application->Run();
    EXPECT_FALSE(terminatedAfterRefusal);
    EXPECT_EQ(closeEvents, 1);
}

TEST(Application, SecondaryFormsHideOnCloseAndTheActionCanKeepThemOpen) {
    TApplication app;
    Application->CreateForm(First);
    Application->CreateForm(Second);
    Second->Show();
    int hidden = 0;
    Second->OnHide = [&](TObject*) { ++hidden; };
    Second->Close();
    EXPECT_FALSE(Second->Visible());
    EXPECT_FALSE(Second->Widget()->isVisible());
    EXPECT_EQ(hidden, 1);
    EXPECT_FALSE(Application->Terminated());

    Second->Show();
    Second->OnClose = [](TObject*, TCloseAction& action) { action = caNone; };
    Second->Close();
    EXPECT_TRUE(Second->Visible());
}

TEST(Application, AnErrorEscapingAHandlerShowsOneErrorBox) {
    TApplication app;
    Application->SetTitle("Orvanta");
    DialogRecorder recorder;
    Application->Initialize(); // must keep the recorder
    Application->CreateForm(First);
    auto* button = new TButton(First);
    button->SetParent(First);
    int after = 0;
    button->OnClick = [&](TObject*) {
        TStrings list;
        (void)list[3]; // throws
        ++after;
    };
    // A click from the window system goes through the guard.
    static_cast<void>(QMetaObject::invokeMethod(button->Widget(), "click"));
    ASSERT_EQ(recorder.Shown.size(), 1u);
    EXPECT_EQ(recorder.Shown[0].Text, "List index out of bounds (3)");
    EXPECT_EQ(recorder.Shown[0].Caption, "Orvanta");
    EXPECT_EQ(recorder.Shown[0].Icon(), static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(recorder.Shown[0].Buttons(), static_cast<unsigned>(MB_OK));
    EXPECT_EQ(after, 0);

    // Called from another handler, the error travels to the caller instead.
    EXPECT_THROW(button->Click(), EListError);
    EXPECT_EQ(recorder.Shown.size(), 1u);
}

TEST(Application, AnErrorInTheCreationHandlerIsReportedAndTheFormExists) {
    struct TFailing : TForm {
        explicit TFailing(TComponent* o) : TForm(o) {
            OnCreate = [](TObject*) { throw EFOpenError("Cannot open file \"x\". No such file"); };
        }
    };
    TApplication app;
    Application->SetTitle("T");
    DialogRecorder recorder;
    TFailing* form = nullptr;
    Application->CreateForm(form);
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(recorder.Shown.size(), 1u);
    EXPECT_EQ(recorder.Shown[0].Text, "Cannot open file \"x\". No such file");
    EXPECT_EQ(Application->MainForm(), form);
}

TEST(Application, ShowModalReturnsTheModalResultAndTimersKeepTicking) {
    TApplication app;
    Application->CreateForm(First);
    Application->CreateForm(Second);
    auto* timer = new TTimer(First);
    timer->SetInterval(1);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        ++ticks;
        if (ticks == 3)
            Second->SetModalResult(mrOk);
    };
    Watchdog watchdog([] { Application->Terminate(); });
    EXPECT_EQ(Second->ShowModal(), mrOk);
    EXPECT_GE(ticks, 3);
    EXPECT_FALSE(Second->Visible());
    EXPECT_FALSE(Application->Terminated());

    // Closing a modal form answers mrCancel.
    Later([] { Second->Close(); });
    EXPECT_EQ(Second->ShowModal(), mrCancel);
}

TEST(Application, AnErrorInATimerTickIsReportedAndTheTimerGoesOn) {
    TApplication app;
    Application->SetTitle("Orvanta");
    DialogRecorder recorder;
    Application->CreateForm(First);
    auto* timer = new TTimer(First);
    timer->SetInterval(1);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 2)
            Application->Terminate();
        throw EListError::IndexOutOfBounds(-1);
    };
    Watchdog watchdog([] { Application->Terminate(); });
    Application->Run();
    EXPECT_EQ(ticks, 2);
    ASSERT_EQ(recorder.Shown.size(), 2u);
    EXPECT_EQ(recorder.Shown[1].Text, "List index out of bounds (-1)");
}

TEST(Application, TheOnScreenMessageBoxShowsTheRequestAndAnswersWithThePressedButton) {
    TApplication app;
    SetDialogPresenter(nullptr);
    Application->Initialize();
    Application->CreateForm(First);
    First->Show();
    QString text, title;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QWidget* owner = nullptr;
    int buttons = 0;
    Later([&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        text = box->text();
        title = box->windowTitle();
        icon = box->icon();
        owner = box->parentWidget();
        buttons = static_cast<int>(box->buttons().size());
        box->button(QMessageBox::No)->click();
    });
    Watchdog watchdog([] {
        if (QWidget* w = QApplication::activeModalWidget())
            w->close();
    });
    const int answer = MessageBox(First->Handle(), "\xD1\xEE\xF5\xF0\xE0\xED\xE5\xED\xEE",
                                  "Question", MB_YESNO | MB_ICONQUESTION);
    SetDialogPresenter(nullptr);
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(text, QString::fromUtf8("Сохранено")); // legacy bytes shown readably
    EXPECT_EQ(title, QString("Question"));
    EXPECT_EQ(icon, QMessageBox::Question);
    EXPECT_EQ(owner, First->Widget());
    EXPECT_EQ(buttons, 2);
}

TEST(Forms, AlphaBlendValueSetsTheWindowOpacity) {
    TApplication app;
    Application->CreateForm(First);
    First->SetAlphaBlendValue(105);
    EXPECT_DOUBLE_EQ(First->Widget()->windowOpacity(), 1.0); // not layered yet
    First->SetAlphaBlend(true);
    EXPECT_NEAR(First->Widget()->windowOpacity(), 105 / 255.0, 1e-3);
    First->SetAlphaBlendValue(255);
    EXPECT_NEAR(First->Widget()->windowOpacity(), 1.0, 1e-3);
    First->SetAlphaBlendValue(0);
    EXPECT_NEAR(First->Widget()->windowOpacity(), 0.0, 1e-3);
}

TEST(Forms, OuterBoundsWrapTheClientAreaInTheFrame) {
    TApplication app;
    Application->CreateForm(First);
    First->SetBorderStyle(bsSingle);
    First->SetClientSize(362, 241);
    First->SetLeft(300);
    First->SetTop(200);
    EXPECT_EQ(First->ClientWidth(), 362);
    EXPECT_EQ(First->ClientHeight(), 241);
    const TFrameMargins m = First->FrameMargins();
    EXPECT_EQ(First->Width(), 362 + m.Left + m.Right);
    EXPECT_EQ(First->Height(), 241 + m.Top + m.Bottom);
    First->Show();
    EXPECT_EQ(First->Left(), 300);
    EXPECT_EQ(First->Top(), 200);
    EXPECT_EQ(First->Widget()->width(), 362);
    EXPECT_EQ(First->Widget()->height(), 241);

    // A borderless window is all client.
    First->SetBorderStyle(bsNone);
    EXPECT_EQ(First->Width(), 362);
    EXPECT_EQ(First->Height(), 241);
}

TEST(Forms, SnapToWorkAreaMovesEdgesWithinTheBuffer) {
    const TRect area = Rect(0, 0, 1920, 1040);
    struct Case {
        TRect window;
        int x, y;
    } cases[] = {
        {Rect(15, 300, 383, 573), 0, 300},        // 15 from the left edge: snaps
        {Rect(16, 300, 384, 573), 16, 300},       // 16: stays
        {Rect(-10, -5, 358, 268), 0, 0},          // beyond the edges: pulled back
        {Rect(1540, 760, 1908, 1033), 1552, 767}, // near the right and bottom edges
        {Rect(500, 400, 868, 673), 500, 400},
    };
    for (const Case& c : cases) {
        const TPoint p = SnapToWorkArea(c.window, area, 15);
        EXPECT_EQ(p.X, c.x) << c.window.Left;
        EXPECT_EQ(p.Y, c.y) << c.window.Top;
    }
}

TEST(Forms, MinimisingGoesThroughTheSystemCommandHook) {
    struct TTray : TForm {
        using TForm::TForm;
        int Minimised = 0;
        void WMSysCommand(unsigned cmd) override {
            if (cmd == SC_MINIMIZE) {
                ++Minimised;
                Hide();
            } else {
                TForm::WMSysCommand(cmd);
            }
        }
    };
    TApplication app;
    TTray* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    form->Widget()->setWindowState(Qt::WindowMinimized); // as the frame's minimise box does
    Application->ProcessMessages();
    EXPECT_EQ(form->Minimised, 1);
    EXPECT_FALSE(form->Visible());
    EXPECT_FALSE(form->Widget()->windowState() & Qt::WindowMinimized);
}

TEST(Forms, DefaultMinimiseSettlesWithoutBouncing) {
    struct TCounting : TForm {
        using TForm::TForm;
        int Commands = 0;
        void WMSysCommand(unsigned cmd) override {
            ++Commands;
            TForm::WMSysCommand(cmd);
        }
    };
    TApplication app;
    TCounting* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    form->Widget()->setWindowState(Qt::WindowMinimized);
    for (int i = 0; i < 20; ++i)
        Application->ProcessMessages();
    // One command for one click, and the window stays minimised.
    EXPECT_EQ(form->Commands, 1);
    EXPECT_EQ(form->WindowState(), wsMinimized);
    EXPECT_TRUE(form->Widget()->windowState() & Qt::WindowMinimized);
}

} // namespace
