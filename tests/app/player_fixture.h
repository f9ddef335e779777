// The whole window set brought up as the program does it, in a fresh empty current directory,
// with message boxes recorded, a settable clock and the engine writing to SDL's disk driver.
#pragma once

#include <gtest/gtest.h>

#include "support/unprivileged_user.h"
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/form1.h"
#include "app/startup.h"
#include "platform/vcl/application.h"
#include "platform/vcl/core/clock.h"
#include "platform/vcl/core/dialogs.h"
#include "settings/form2.h"
#include "settings/form3.h"
#include "visual/companions.h"

namespace orvanta::test {

namespace fs = std::filesystem;

// A new empty directory made the current one; the previous current directory comes back and
// the directory goes away afterwards.
class TempCurrentDir {
public:
    TempCurrentDir() : FPrevious(fs::current_path()) {
        std::string pattern = (fs::temp_directory_path() / "orvanta_app_XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
        fs::current_path(FPath);
    }
    ~TempCurrentDir() {
        std::error_code ignored;
        fs::current_path(FPrevious, ignored);
        ::chmod(FPath.c_str(), 0700);
        fs::remove_all(FPath, ignored);
    }
    TempCurrentDir(const TempCurrentDir&) = delete;
    TempCurrentDir& operator=(const TempCurrentDir&) = delete;

    const fs::path& Path() const { return FPath; }
    std::string Full(const std::string& name) const { return (FPath / name).string(); }
    bool Exists(const std::string& name) const { return fs::exists(FPath / name); }

    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream out(FPath / name, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string Read(const std::string& name) const {
        std::ifstream in(FPath / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    fs::path FPrevious;
    fs::path FPath;
};

struct Station {
    std::string name;
    std::string url;
};

class PlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        static int serial = 0;
        // The output file lies outside the start directory, so only the program's files are there.
        pcmPath = (fs::temp_directory_path() / ("orvanta_app_" + std::to_string(::getpid()) + "_" +
                                                std::to_string(++serial) + ".raw"))
                      .string();
        ::setenv("SDL_AUDIODRIVER", "disk", 1);
        // The window tests run as on a desktop with a notification area.
        TTrayIcon::SetAreaProbe([] { return true; });
        ::setenv("SDL_DISKAUDIOFILE", pcmPath.c_str(), 1);
    }

    void TearDown() override {
        ClosePlayer();
        TTrayIcon::SetAreaProbe(nullptr);
        std::error_code ignored;
        fs::remove(pcmPath, ignored);
    }

    // Creates the application object and the six windows exactly as the program's entry does.
    void StartPlayer() {
        application = std::make_unique<vcl::TApplication>();
        CreatePlayerWindows(*application);
    }

    // Ends the process's part: every window is destroyed, the main one releasing the engine.
    void ClosePlayer() { application.reset(); }

    // Runs the event loop, whose start shows the main window, for `ms` of real time; `during`
    // runs inside the loop right after the start.
    void Run(int ms, std::function<void()> during = {}) {
        if (during)
            QTimer::singleShot(0, [during] { vcl::Guarded(during); });
        QTimer::singleShot(ms, [] {
            if (vcl::Application)
                vcl::Application->Terminate();
        });
        application->Run();
    }

    // Lets the event loop work (timers tick) for `ms` of real time.
    void Pump(int ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (std::chrono::steady_clock::now() < deadline) {
            application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    // Pumps events until `done` holds, at most `ms`.
    bool PumpUntil(const std::function<bool()>& done, int ms) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= deadline)
                return false;
            application->ProcessMessages();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return true;
    }

    // The user presses a button: the press arrives from the window system, through its guard.
    static void Press(vcl::TBitBtn* button) {
        static_cast<QPushButton*>(button->Widget())->click();
    }
    // A tray-menu command, entered from the window system as the menu does.
    static void Choose(vcl::TMenuItem* item) {
        vcl::Guarded([item] { item->Click(); });
    }
    // The user moves the station list's selection to `row`.
    static void UserSelects(int row) {
        auto* view = static_cast<QAbstractItemView*>(Form1->ListBox1->Widget());
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
    }

    static std::vector<int> Selections() {
        return {Form1->ListBox1->ItemIndex(), Form1->ListBox2->ItemIndex(),
                Form1->ListBox3->ItemIndex()};
    }

    void WriteStations(const std::vector<Station>& stations) {
        std::string names, urls;
        for (const Station& s : stations) {
            names += s.name + "\r\n";
            urls += s.url + "\r\n";
        }
        dir.Write("names.txt", names);
        dir.Write("sait.txt", urls);
    }

    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const vcl::MessageBoxRequest& r : dialogs.Shown)
            texts.push_back(r.Text);
        return texts;
    }

    TempCurrentDir dir;
    std::string pcmPath;
    vcl::DialogRecorder dialogs;
    vcl::ManualClock clock{vcl::LocalTime(12, 0, 0)};
    vcl::ScopedClock clockInUse{clock};
    std::unique_ptr<vcl::TApplication> application;
};

} // namespace orvanta::test
