// Standard and common controls: the value rules of scroll bars and progress bars, the list box's
// selection (set by the program, made by the user, following its item), check boxes and labels.
#include "platform/vcl/application.h"
#include "platform/vcl/comctrls.h"
#include "platform/vcl/core/clock.h"
#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/forms.h"
#include "platform/vcl/stdctrls.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListView>
#include <QMouseEvent>
#include <QWidget>

#include <gtest/gtest.h>

using namespace vcl;

namespace {

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Application->CreateForm(Form);
        Form->SetClientSize(400, 300);
    }
    TApplication App;
    TForm* Form = nullptr;
};

TEST_F(ControlsTest, ScrollBarClampsPositionToItsRange) {
    auto* bar = new TScrollBar(Form);
    bar->SetParent(Form);
    bar->SetParams(150, 0, 150);
    int changes = 0;
    bar->OnChange = [&](TObject*) { ++changes; };
    struct Case {
        int given, expected;
    } cases[] = {{500, 150}, {-3, 0}, {0, 0}, {150, 150}, {77, 77}, {151, 150}};
    for (const Case& c : cases) {
        bar->SetPosition(c.given);
        EXPECT_EQ(bar->Position(), c.expected) << c.given;
    }
    EXPECT_EQ(changes, 4); // 150, 0, 150, 77, 150: the repeated 0 changes nothing
    // Shrinking the range pulls the position in.
    bar->SetMax(50);
    EXPECT_EQ(bar->Position(), 50);
    EXPECT_THROW(bar->SetParams(0, 10, 5), Exception);
}

TEST_F(ControlsTest, ProgressBarKeepsAnyValueAndShowsTheFillWithinItsLength) {
    auto* bar = new TProgressBar(Form);
    bar->SetParent(Form);
    bar->SetOrientation(pbVertical);
    bar->SetBounds(0, 0, 18, 269);
    bar->SetMax(100000);
    struct Case {
        int position, fill;
    } cases[] = {{0, 0}, {50000, 134}, {100000, 269}, {250000, 269}, {-5, 0}, {1, 0}};
    for (const Case& c : cases) {
        bar->SetPosition(c.position);
        EXPECT_EQ(bar->Position(), c.position);
        EXPECT_EQ(bar->FilledPixels(), c.fill) << c.position;
    }
    // The fill is drawn from the bottom in the highlight colour.
    bar->SetPosition(50000);
    Form->Show();
    const QImage shot = bar->Widget()->grab().toImage();
    const TColor hl = ColorToRGB(clHighlight);
    const QColor expected(GetRValue(hl), GetGValue(hl), GetBValue(hl));
    EXPECT_EQ(shot.pixelColor(9, 268), expected);
    EXPECT_NE(shot.pixelColor(9, 10), expected);
}

void ClickRow(QListView* view, int row) {
    const QRect r = view->visualRect(view->model()->index(row, 0));
    const QPoint p = r.center();
    QWidget* vp = view->viewport();
    QMouseEvent press(QEvent::MouseButtonPress, p, vp->mapToGlobal(p), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, p, vp->mapToGlobal(p), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(vp, &release);
}

TEST_F(ControlsTest, ListBoxSelectsNothingForAnIndexOutsideTheList) {
    auto* list = new TListBox(Form);
    list->SetParent(Form);
    for (const char* name : {"A", "B", "C", "D", "E"})
        list->Items().Add(name);
    auto* view = static_cast<QListView*>(list->Widget());
    for (int index : {7, 5, -1, -2}) {
        list->SetItemIndex(2);
        list->SetItemIndex(index);
        EXPECT_EQ(list->ItemIndex(), -1) << index;
        EXPECT_TRUE(view->selectionModel()->selectedIndexes().isEmpty()) << index;
    }
    list->SetItemIndex(4);
    EXPECT_EQ(list->ItemIndex(), 4);
    ASSERT_EQ(view->selectionModel()->selectedIndexes().size(), 1);
    EXPECT_EQ(view->selectionModel()->selectedIndexes()[0].row(), 4);
    // An empty list takes no selection either.
    auto* empty = new TListBox(Form);
    empty->SetItemIndex(1);
    EXPECT_EQ(empty->ItemIndex(), -1);
}

TEST_F(ControlsTest, ListBoxFiresOnClickOnlyForTheUsersSelection) {
    auto* list = new TListBox(Form);
    list->SetParent(Form);
    list->SetBounds(10, 10, 187, 97);
    for (const char* name : {"A", "B", "C", "D"})
        list->Items().Add(name);
    std::vector<int> clicks;
    list->OnClick = [&](TObject*) { clicks.push_back(list->ItemIndex()); };
    int doubleClicks = 0;
    list->OnDblClick = [&](TObject*) { ++doubleClicks; };
    Form->Show();
    list->SetItemIndex(1); // the program's own selection is no click
    EXPECT_TRUE(clicks.empty());

    auto* view = static_cast<QListView*>(list->Widget());
    ClickRow(view, 2);
    EXPECT_EQ(clicks, std::vector<int>{2});

    view->setFocus();
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(view, &down);
    EXPECT_EQ(clicks, (std::vector<int>{2, 3}));

    const QPoint p = view->visualRect(view->model()->index(0, 0)).center();
    QMouseEvent dbl(QEvent::MouseButtonDblClick, p, view->viewport()->mapToGlobal(p),
                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &dbl);
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(ControlsTest, ListBoxSelectionFollowsItsItemWhenItemsChange) {
    auto* list = new TListBox(Form);
    for (const char* name : {"A", "B", "C", "D", "E"})
        list->Items().Add(name);
    list->SetItemIndex(2);
    list->Items().Delete(0); // C moves up
    EXPECT_EQ(list->ItemIndex(), 1);
    list->Items().Add("F"); // appending keeps it
    EXPECT_EQ(list->ItemIndex(), 1);
    list->Items().Insert(0, "Z");
    EXPECT_EQ(list->ItemIndex(), 2);
    EXPECT_EQ(list->Items()[list->ItemIndex()], "C");
    list->Items().Delete(4); // after it: no change
    EXPECT_EQ(list->ItemIndex(), 2);
    list->Items().Delete(2); // the selected item itself
    EXPECT_EQ(list->ItemIndex(), -1);
    list->SetItemIndex(0);
    list->Items().Clear();
    EXPECT_EQ(list->ItemIndex(), -1);
    // The view shows what the items hold.
    list->Items().SetText("x\r\ny\r\n");
    EXPECT_EQ(static_cast<QListView*>(list->Widget())->model()->rowCount(), 2);
}

TEST_F(ControlsTest, ListBoxShowsLegacyBytesReadably) {
    auto* list = new TListBox(Form);
    list->Items().Add("\xD0\xE0\xE4\xE8\xEE"); // "Радио" in Windows-1251
    list->Items().Add("Радио");                // the same in UTF-8
    auto* model = static_cast<QListView*>(list->Widget())->model();
    EXPECT_EQ(model->data(model->index(0, 0)).toString(), QString::fromUtf8("Радио"));
    EXPECT_EQ(model->data(model->index(1, 0)).toString(), QString::fromUtf8("Радио"));
    EXPECT_EQ(list->Items()[0], "\xD0\xE0\xE4\xE8\xEE"); // the bytes stay as they were
}

TEST_F(ControlsTest, CheckBoxFiresOnClickForEveryChange) {
    auto* box = new TCheckBox(Form);
    box->SetParent(Form);
    std::vector<bool> seen;
    box->OnClick = [&](TObject*) { seen.push_back(box->Checked()); };
    box->SetChecked(true);
    box->SetChecked(true);                           // no change, no click
    static_cast<QCheckBox*>(box->Widget())->click(); // the user unticks it
    EXPECT_EQ(seen, (std::vector<bool>{true, false}));
    EXPECT_FALSE(box->Checked());
}

TEST_F(ControlsTest, AutoSizedLabelFitsItsText) {
    auto* label = new TLabel(Form);
    label->SetParent(Form);
    label->Font().SetName("Arial");
    label->Font().SetHeight(-16);
    label->Font().SetStyle(fsBold);
    EXPECT_FALSE(label->ParentFont());
    label->SetCaption("Min");
    const int shortWidth = label->Width();
    label->SetCaption("Осталось 12:00:00");
    EXPECT_GT(label->Width(), shortWidth);
    EXPECT_GE(label->Height(), 16);
    EXPECT_EQ(label->Widget()->width(), label->Width());
    EXPECT_EQ(label->Widget()->font().family(), QString("Arial"));
    EXPECT_EQ(QFontInfo(label->Widget()->font()).family(), QString("Liberation Sans"));
}

TEST_F(ControlsTest, ControlsTakeTheirParentsFontUntilGivenTheirOwn) {
    Form->Font().SetHeight(-11);
    auto* label = new TLabel(Form);
    label->SetParent(Form);
    EXPECT_EQ(label->Font().Height(), -11);
    Form->Font().SetHeight(-13);
    EXPECT_EQ(label->Font().Height(), -13);
    label->Font().SetHeight(-16);
    Form->Font().SetHeight(-11);
    EXPECT_EQ(label->Font().Height(), -16);
}

TEST_F(ControlsTest, TimePickerKeepsTheTimeOfDay) {
    auto* picker = new TDateTimePicker(Form);
    picker->SetParent(Form);
    EXPECT_EQ(TimeToStr(picker->Time()), "0:00:00");
    picker->SetTime(LocalTime(7, 5, 9));
    EXPECT_EQ(picker->SecondsOfDay(), 7 * 3600 + 5 * 60 + 9);
    EXPECT_EQ(TimeToStr(picker->Time()), "7:05:09");
}

} // namespace
