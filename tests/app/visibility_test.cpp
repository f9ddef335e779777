// What appears when the main window is shown: the companions as their flags say, the stored
// station selected in all three lists, autoplay; and hiding and restoring the window set.
#include <gtest/gtest.h>

#include "player_fixture.h"
#include "stream_server.h"

namespace orvanta::test {
namespace {

std::vector<bool> Shown() {
    return {Form1->Visible(), f1->Visible(),    f2->Visible(),
            Form8->Visible(), Form2->Visible(), Form3->Visible()};
}

class VisibilityTest : public PlayerTest {
protected:
    void SetUp() override {
        PlayerTest::SetUp();
        Route tone;
        tone.file = std::string(ORVANTA_FIXTURES_DIR) + "/tone_1k_stereo.mp3";
        server.Add("/s0.mp3", tone);
        server.Add("/s1.mp3", tone);
    }
    void TwoStations() {
        WriteStations({{"Zero", server.Url("/s0.mp3")}, {"One", server.Url("/s1.mp3")}});
    }
    // The frame's minimise box, as the window system reports it.
    static void MinimiseBox() {
        Form1->Widget()->setWindowState(Form1->Widget()->windowState() | Qt::WindowMinimized);
        // The form answers the minimise box once the window system's event has been handled.
        vcl::Application->ProcessMessages();
    }

    StreamServer server;
};

TEST_F(VisibilityTest, CompanionsAppearOnlyForFlagsThatReadOne) {
    const struct {
        const char* ini;
        bool left, right, strip;
    } cases[] = {
        {"", false, false, false},
        {"[visible]\r\na=1\r\nb=0\r\nc=1\r\n", true, false, true},
        {"[visible]\r\na=0\r\nb=1\r\nc=0\r\n", false, true, false},
        {"[VISIBLE]\r\nA=1\r\nB=1\r\nC=1\r\n", true, true, true},
        // True for the settings window's check boxes, but not "1" for the main window.
        {"[visible]\r\na=2\r\nb=01\r\nc=yes\r\n", false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        dir.Write("setup.ini", c.ini);
        StartPlayer();
        Run(200);
        EXPECT_EQ(Shown(), (std::vector<bool>{true, c.left, c.right, c.strip, false, false}));
        EXPECT_TRUE(dialogs.Shown.empty());
        ClosePlayer();
    }
}

TEST_F(VisibilityTest, MinimiseHidesAllFourAndRestoreShowsAllFour) {
    dir.Write("setup.ini", "[visible]\r\na=1\r\nb=0\r\nc=1\r\n");
    StartPlayer();
    std::vector<bool> minimised, restored;
    Run(3000, [&] {
        MinimiseBox();
        minimised = Shown();
        Form1->N1->Click();
        restored = Shown();
        Form1->N2->Click();
        application->Terminate();
    });
    EXPECT_EQ(minimised, (std::vector<bool>{false, false, false, false, false, false}));
    EXPECT_EQ(restored, (std::vector<bool>{true, true, true, true, false, false}));
    EXPECT_EQ(Shown(), (std::vector<bool>{false, false, false, false, false, false}));
    // Hidden, not minimised: a restore brings the window back as it was.
    EXPECT_FALSE(Form1->Widget()->windowState() & Qt::WindowMinimized);
}

TEST_F(VisibilityTest, WithoutANotificationAreaMinimiseReallyMinimises) {
    TTrayIcon::SetAreaProbe([] { return false; });
    StartPlayer();
    std::vector<bool> minimised;
    Run(3000, [&] {
        MinimiseBox();
        minimised = Shown();
        application->Terminate();
    });
    // Nothing would bring a hidden set back, so the window stays reachable.
    EXPECT_TRUE(minimised[0]);
    EXPECT_TRUE(Form1->Widget()->windowState() & Qt::WindowMinimized);
}

TEST_F(VisibilityTest, TrayRightClickOpensTheWindowSetMenuAndClicksDoNothing) {
    StartPlayer();
    EXPECT_EQ(Form1->TrayIcon1->PopupMenu(), Form1->PopupMenu1);
    EXPECT_TRUE(Form1->TrayIcon1->Active());
    const std::vector<bool> before = Shown();
    Form1->TrayIcon1->LeftButtonUp();
    Form1->TrayIcon1->DoubleClick();
    EXPECT_EQ(Shown(), before);
}

TEST_F(VisibilityTest, StoredStationIsSelectedInAllThreeLists) {
    WriteStations({{"A", "u0"}, {"B", "u1"}, {"C", "u2"}, {"D", "u3"}, {"E", "u4"}});
    const struct {
        const char* ini;
        int expected;
    } cases[] = {
        {"", 0},
        {"[radio]\r\na=3\r\n", 3},
        {"[radio]\r\na=7\r\n", -1},
        {"[radio]\r\na=-1\r\n", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        dir.Write("setup.ini", c.ini);
        StartPlayer();
        Run(100);
        EXPECT_EQ(Selections(), std::vector<int>(3, c.expected));
        EXPECT_EQ(Form1->CurrentStream, 0u); // no autoplay
        ClosePlayer();
    }
}

TEST_F(VisibilityTest, AutoplaySwitchesTheStoredStationOnWhenShown) {
    const struct {
        const char* ini;
        bool plays;
    } cases[] = {
        {"[radio]\r\na=1\r\n[PLAY]\r\na=1\r\n", true},
        {"[radio]\r\na=1\r\n[play]\r\na=1\r\n", true},
        {"[radio]\r\na=1\r\n[Play]\r\na=2\r\n", false},
        {"[radio]\r\na=1\r\n[Play]\r\na=0\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        TwoStations();
        const int before = server.Requests("/s1.mp3");
        dir.Write("setup.ini", c.ini);
        StartPlayer();
        Run(100);
        EXPECT_EQ(server.Requests("/s1.mp3"), before + (c.plays ? 1 : 0));
        EXPECT_EQ(Form1->CurrentStream != 0, c.plays);
        EXPECT_EQ(Form1->Timer4->Enabled(), c.plays);
        EXPECT_TRUE(dialogs.Shown.empty());
        ClosePlayer();
    }
}

TEST_F(VisibilityTest, AutoplayWithAnEmptyListReportsWhileTheWindowStillShows) {
    dir.Write("setup.ini", "[Play]\r\na=1\r\n");
    StartPlayer();
    Run(100);
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{"List index out of bounds (-1)"});
    EXPECT_TRUE(Form1->Visible());
}

// The failed switch-on is reported; the restore still brings back the whole window set.
TEST_F(VisibilityTest, RestoreWithAFailingAutoplayStillShowsAllFour) {
    dir.Write("setup.ini", "[Play]\r\na=1\r\n");
    StartPlayer();
    std::vector<bool> restored;
    Run(3000, [&] {
        MinimiseBox();
        Choose(Form1->N1);
        restored = Shown();
        application->Terminate();
    });
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"List index out of bounds (-1)",
                                                    "List index out of bounds (-1)"}));
    EXPECT_EQ(restored, (std::vector<bool>{true, true, true, true, false, false}));
}

TEST_F(VisibilityTest, RestoreSelectsTheStoredStationAgainAndPlaysIt) {
    TwoStations();
    dir.Write("setup.ini", "[radio]\r\na=0\r\n[Play]\r\na=1\r\n");
    StartPlayer();
    std::vector<int> afterUser, afterRestore;
    Run(3000, [&] {
        UserSelects(1);
        afterUser = Selections();
        MinimiseBox();
        Form1->N1->Click();
        afterRestore = Selections();
        application->Terminate();
    });
    EXPECT_EQ(afterUser, std::vector<int>(3, 1));
    EXPECT_EQ(afterRestore, std::vector<int>(3, 0));
    EXPECT_EQ(server.Requests("/s0.mp3"), 2);
    EXPECT_EQ(server.Requests("/s1.mp3"), 0);
    EXPECT_TRUE(dialogs.Shown.empty());
}

} // namespace
} // namespace orvanta::test
