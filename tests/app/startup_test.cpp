// Start-up and close of the whole window set: first run, stored settings and their limits, the
// engine that will not start, list files that cannot be read or created, and a refused save.
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

#include <QString>

#include <sstream>

#include "player_fixture.h"

namespace orvanta::test {
namespace {

using vcl::IDCANCEL;
using vcl::IDOK;
using vcl::MB_ICONERROR;
using vcl::MB_OK;
using vcl::MB_OKCANCEL;

// Sections of an INI text in file order, each with its "a" value.
std::vector<std::pair<std::string, std::string>> Sections(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> sections;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']')
            sections.emplace_back(line.substr(1, line.size() - 2), "");
        else if (line.rfind("a=", 0) == 0 && !sections.empty())
            sections.back().second = line.substr(2);
    }
    return sections;
}

// The "a" value of `section`, matched without regard to letter case as the program does.
std::string ValueOf(const std::string& text, const std::string& section) {
    for (const auto& [name, value] : Sections(text))
        if (QString::fromStdString(name).compare(QString::fromStdString(section),
                                                 Qt::CaseInsensitive) == 0)
            return value;
    return "<missing>";
}

// Closes the main window through its close box, as the user does.
void CloseBox() {
    Form1->Widget()->close();
}

using StartupTest = PlayerTest;

TEST_F(StartupTest, WindowSetComesUpHiddenInOrderUnderTheTitle) {
    StartPlayer();
    EXPECT_EQ(application->Title(), "Orvanta");
    ASSERT_NE(Form1, nullptr);
    const std::vector<vcl::TForm*> expected = {Form1, Form2, Form3, f1, f2, Form8};
    EXPECT_EQ(application->Forms(), expected);
    EXPECT_EQ(application->MainForm(), Form1);
    for (vcl::TForm* form : expected)
        EXPECT_FALSE(form->Visible()) << form->Name();
}

TEST_F(StartupTest, FirstRunInAnEmptyDirectory) {
    StartPlayer();
    EXPECT_TRUE(dialogs.Shown.empty());
    ASSERT_TRUE(dir.Exists("names.txt"));
    ASSERT_TRUE(dir.Exists("sait.txt"));
    EXPECT_EQ(fs::file_size(dir.Path() / "names.txt"), 0u);
    EXPECT_EQ(fs::file_size(dir.Path() / "sait.txt"), 0u);
    EXPECT_FALSE(dir.Exists("setup.ini"));
    EXPECT_EQ(Form1->StartDir, dir.Path().string());
    EXPECT_EQ(Form1->ListBox1->Count(), 0);
    EXPECT_EQ(Form1->ListBox2->Count(), 0);
    EXPECT_EQ(Form1->ListBox3->Count(), 0);
    EXPECT_EQ(Form1->Left(), 150);
    EXPECT_EQ(Form1->Top(), 100);
    EXPECT_TRUE(Form1->AlphaBlend());
    EXPECT_EQ(Form1->AlphaBlendValue(), 255);
    EXPECT_EQ(Form1->ScrollBar1->Position(), 150);
    EXPECT_EQ(Form1->Knob1->Position(), 10);
    EXPECT_TRUE(Form1->ScreenSnap());
    EXPECT_EQ(Form1->SnapBuffer(), 15);
    EXPECT_EQ(Form1->CurrentStream, 0u);
    EXPECT_FALSE(Form1->Timer4->Enabled());

    bool settingsBeforeClose = true;
    Run(3000, [&] {
        settingsBeforeClose = dir.Exists("setup.ini");
        CloseBox();
    });
    EXPECT_FALSE(settingsBeforeClose);
    EXPECT_TRUE(application->Terminated());
    EXPECT_TRUE(dialogs.Shown.empty());
    // Written in this order; nothing selected in an empty list is -1.
    using Written = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(
        Sections(dir.Read("setup.ini")),
        (Written{
            {"top", "100"}, {"left", "150"}, {"zvuk", "10"}, {"radio", "-1"}, {"alpha", "150"}}));
}

TEST_F(StartupTest, TerminationSignalClosesLikeTheCloseBoxAndSavesTheSettings) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        std::error_code ignored;
        fs::remove(dir.Path() / "setup.ini", ignored);
        StartPlayer();
        Form1->Knob1->SetPosition(42);
        Run(3000, [signal] { ::raise(signal); });
        EXPECT_TRUE(application->Terminated());
        ASSERT_TRUE(dir.Exists("setup.ini"));
        EXPECT_NE(dir.Read("setup.ini").find("[zvuk]\r\na=42"), std::string::npos);
        ClosePlayer();
    }
}

TEST_F(StartupTest, OneListFileAloneIsReplacedAndBothEndEmpty) {
    for (const char* present : {"names.txt", "sait.txt"}) {
        SCOPED_TRACE(present);
        dir.Write(present, "Station\r\nOther\r\n");
        StartPlayer();
        EXPECT_EQ(fs::file_size(dir.Path() / "names.txt"), 0u);
        EXPECT_EQ(fs::file_size(dir.Path() / "sait.txt"), 0u);
        EXPECT_EQ(Form1->ListBox1->Count(), 0);
        EXPECT_EQ(Form1->ListBox2->Count(), 0);
        EXPECT_EQ(Form1->ListBox3->Count(), 0);
        EXPECT_TRUE(dialogs.Shown.empty());
        ClosePlayer();
        fs::remove(dir.Path() / "names.txt");
        fs::remove(dir.Path() / "sait.txt");
    }
}

TEST_F(StartupTest, StoredSettingsAreReadWithDefaultsAndLimitsAndWrittenBack) {
    const struct {
        const char* ini;
        int position, opacity, knob, left, top;
        const char* alphaBack;
        const char* zvukBack;
    } cases[] = {
        {"[alpha]\r\na=500\r\n", 150, 255, 10, 150, 100, "150", "10"},
        {"[alpha]\r\na=0x64\r\n", 100, 205, 10, 150, 100, "100", "10"},
        {"[alpha]\r\na=-20\r\n", 0, 105, 10, 150, 100, "0", "10"},
        {"[alpha]\r\na=many\r\n", 150, 255, 10, 150, 100, "150", "10"},
        {"[zvuk]\r\na=250\r\n", 150, 255, 100, 150, 100, "150", "100"},
        {"[zvuk]\r\na=37\r\n", 150, 255, 37, 150, 100, "150", "37"},
        {"[zvuk]\r\na=-3\r\n", 150, 255, 0, 150, 100, "150", "0"},
        {"[LEFT]\r\na=400\r\n[Top]\r\na=300\r\n", 150, 255, 10, 400, 300, "150", "10"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ini);
        dir.Write("setup.ini", c.ini);
        StartPlayer();
        EXPECT_EQ(Form1->ScrollBar1->Position(), c.position);
        EXPECT_EQ(Form1->AlphaBlendValue(), c.opacity);
        EXPECT_EQ(Form1->Knob1->Position(), c.knob);
        EXPECT_EQ(Form1->Left(), c.left);
        EXPECT_EQ(Form1->Top(), c.top);
        Run(3000, [] { CloseBox(); });
        const std::string written = dir.Read("setup.ini");
        EXPECT_EQ(ValueOf(written, "alpha"), c.alphaBack);
        EXPECT_EQ(ValueOf(written, "zvuk"), c.zvukBack);
        EXPECT_EQ(ValueOf(written, "left"), std::to_string(c.left));
        EXPECT_EQ(ValueOf(written, "top"), std::to_string(c.top));
        EXPECT_TRUE(dialogs.Shown.empty());
        ClosePlayer();
    }
}

TEST_F(StartupTest, StoredStationIsNotSelectedAtCreationOnlyWhenShown) {
    const struct {
        const char* radio;
        int atCreation, shown;
    } cases[] = {
        {"2", -1, 2},
        {"letters", -1, 0}, // the readers' defaults: 1 at creation (empty list), 0 when shown
        {"7", -1, -1},
        {"-1", -1, -1},
    };
    WriteStations({{"A", "http://127.0.0.1:9/a"},
                   {"B", "http://127.0.0.1:9/b"},
                   {"C", "http://127.0.0.1:9/c"},
                   {"D", "http://127.0.0.1:9/d"},
                   {"E", "http://127.0.0.1:9/e"}});
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        dir.Write("setup.ini", std::string("[radio]\r\na=") + c.radio + "\r\n");
        StartPlayer();
        EXPECT_EQ(Selections(), std::vector<int>(3, c.atCreation));
        std::vector<int> shown;
        Run(3000, [&] {
            shown = Selections();
            CloseBox();
        });
        EXPECT_EQ(shown, std::vector<int>(3, c.shown));
        EXPECT_EQ(ValueOf(dir.Read("setup.ini"), "radio"), std::to_string(c.shown));
        ClosePlayer();
    }
}

TEST_F(StartupTest, EngineThatWillNotStartIsReportedOnceAndStartUpGoesOn) {
    for (int answer : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(answer);
        dialogs.Shown.clear();
        dialogs.Answer = answer;
        // Already initialised, so the main window's own initialisation is refused.
        ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
        dir.Write("setup.ini", "[zvuk]\r\na=42\r\n");
        StartPlayer();
        ASSERT_EQ(dialogs.Shown.size(), 1u);
        EXPECT_EQ(dialogs.Shown[0].Text, "Не могу создать поток");
        EXPECT_EQ(dialogs.Shown[0].Buttons(), MB_OKCANCEL);
        EXPECT_EQ(dialogs.Shown[0].Icon(), MB_ICONERROR);
        // The rest of the creation ran, and so did the windows after it.
        EXPECT_EQ(Form1->Knob1->Position(), 42);
        EXPECT_TRUE(dir.Exists("names.txt"));
        EXPECT_NE(Form8, nullptr);
        ClosePlayer(); // releases the engine for the next round
    }
}

// A real message box runs a modal loop in which the main window's timers tick while the windows
// created after it do not exist yet.
TEST_F(StartupTest, TimersTickingUnderTheEngineBoxLeaveTheMissingWindowsAlone) {
    int boxes = 0;
    bool laterWindowsMissing = false, ticked = false;
    vcl::DialogPresenter recorder = vcl::SetDialogPresenter([&](const vcl::MessageBoxRequest&) {
        ++boxes;
        laterWindowsMissing = !Form2 && !f1 && !f2 && !Form8;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(150);
        while (std::chrono::steady_clock::now() < until) {
            vcl::Application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        // The window tick has set the clock label meanwhile.
        ticked = Form1 && !Form1->Label4->Caption().empty();
        return IDOK;
    });
    ASSERT_TRUE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    dir.Write("names.txt", "A\r\n");
    dir.Write("sait.txt", "u\r\n");
    StartPlayer();
    vcl::SetDialogPresenter(std::move(recorder));
    EXPECT_EQ(boxes, 1);
    EXPECT_TRUE(laterWindowsMissing);
    EXPECT_TRUE(ticked);
    EXPECT_TRUE(dialogs.Shown.empty()); // nothing else was reported
    EXPECT_EQ(Form1->ListBox1->Count(), 1);
    EXPECT_NE(Form8, nullptr);
}

TEST_F(StartupTest, ListFileThatCannotBeReadOrCreatedIsReportedAndTheRestSkipped) {
    const struct {
        const char* label;
        std::function<void(TempCurrentDir&)> arrange;
        const char* failing;
        const char* text; // start of the message, the full path follows in quotes
        int names, urls, visible;
        bool urlsFileAfter;
    } cases[] = {
        {"names.txt is a folder",
         [](TempCurrentDir& d) { fs::create_directory(d.Path() / "names.txt"); }, "names.txt",
         "Cannot create file", 0, 0, 0, false},
        {"sait.txt unreadable",
         [](TempCurrentDir& d) {
             d.Write("names.txt", "A\r\nB\r\n");
             d.Write("sait.txt", "u1\r\nu2\r\n");
             ::chmod(d.Full("sait.txt").c_str(), 0);
         },
         "sait.txt", "Cannot open file", 2, 0, 0, true},
        {"names.txt unreadable",
         [](TempCurrentDir& d) {
             d.Write("names.txt", "A\r\nB\r\n");
             d.Write("sait.txt", "u1\r\nu2\r\n");
             ::chmod(d.Full("names.txt").c_str(), 0);
         },
         "names.txt", "Cannot open file", 0, 0, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempCurrentDir own;
        ::chmod(own.Path().c_str(), 0777);
        c.arrange(own);
        dialogs.Shown.clear();
        // Qt refuses to come up under a switched user, so only the windows are made as one.
        application = std::make_unique<vcl::TApplication>();
        {
            AsUnprivilegedUser user;
            CreatePlayerWindows(*application);
        }
        ASSERT_EQ(dialogs.Shown.size(), 1u);
        const vcl::MessageBoxRequest& box = dialogs.Shown[0];
        const std::string expectedStart = std::string(c.text) + " \"" + own.Full(c.failing) + "\".";
        EXPECT_EQ(box.Text.rfind(expectedStart, 0), 0u) << box.Text;
        EXPECT_EQ(box.Caption, "Orvanta");
        EXPECT_EQ(box.Icon(), MB_ICONERROR);
        EXPECT_EQ(box.Buttons(), MB_OK);
        // The window exists with the lists as far as they were filled.
        ASSERT_NE(Form1, nullptr);
        EXPECT_NE(Form8, nullptr);
        EXPECT_EQ(Form1->ListBox2->Count(), c.names);
        EXPECT_EQ(Form1->ListBox3->Count(), c.urls);
        EXPECT_EQ(Form1->ListBox1->Count(), c.visible);
        EXPECT_EQ(own.Exists("sait.txt"), c.urlsFileAfter);
        ClosePlayer();
    }
}

// A save refused at close is reported, the close is abandoned with the program still running,
// and once the cause is gone the next close saves and ends the program.
TEST_F(StartupTest, RefusedSaveAtCloseKeepsTheProgramRunningUntilFixed) {
    const struct {
        const char* label;
        std::function<void(TempCurrentDir&)> refuse;
        std::function<void(TempCurrentDir&)> fix;
        const char* before; // the file's contents, which the failed close must not touch
    } cases[] = {
        {"read-only setup.ini",
         [](TempCurrentDir& d) {
             d.Write("setup.ini", "[zvuk]\r\na=40\r\n");
             ::chmod(d.Full("setup.ini").c_str(), 0444);
         },
         [](TempCurrentDir& d) { ::chmod(d.Full("setup.ini").c_str(), 0666); },
         "[zvuk]\r\na=40\r\n"},
        {"read-only folder", [](TempCurrentDir& d) { ::chmod(d.Path().c_str(), 0555); },
         [](TempCurrentDir& d) { ::chmod(d.Path().c_str(), 0777); }, nullptr},
        {"setup.ini is a folder",
         [](TempCurrentDir& d) { fs::create_directory(d.Path() / "setup.ini"); },
         [](TempCurrentDir& d) { fs::remove(d.Path() / "setup.ini"); }, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        TempCurrentDir own;
        ::chmod(own.Path().c_str(), 0777);
        dialogs.Shown.clear();
        StartPlayer();
        Form1->Knob1->SetPosition(55);
        c.refuse(own);

        std::vector<std::string> afterFirst;
        bool terminatedAfterFirst = true, visibleAfterFirst = false, terminatedAfterFix = false;
        bool keptAfterFirst = true;
        Run(4000, [&] {
            {
                AsUnprivilegedUser user;
                CloseBox();
            }
            afterFirst = BoxTexts();
            terminatedAfterFirst = application->Terminated();
            visibleAfterFirst = Form1 && Form1->Visible() && f1 && Form8;
            if (c.before)
                keptAfterFirst = own.Read("setup.ini") == c.before;
            c.fix(own);
            {
                AsUnprivilegedUser user;
                CloseBox();
            }
            terminatedAfterFix = application->Terminated();
        });
        EXPECT_EQ(afterFirst,
                  std::vector<std::string>{"Unable to write to " + own.Full("setup.ini")});
        ASSERT_EQ(dialogs.Shown.size(), 1u);
        EXPECT_EQ(dialogs.Shown[0].Caption, "Orvanta");
        EXPECT_EQ(dialogs.Shown[0].Icon(), MB_ICONERROR);
        EXPECT_FALSE(terminatedAfterFirst);
        EXPECT_TRUE(visibleAfterFirst);
        EXPECT_TRUE(keptAfterFirst);
        EXPECT_TRUE(terminatedAfterFix);
        const std::string written = own.Read("setup.ini");
        EXPECT_EQ(ValueOf(written, "zvuk"), "55");
        EXPECT_EQ(ValueOf(written, "alpha"), "150");
        ClosePlayer();
    }
}

} // namespace
} // namespace orvanta::test
