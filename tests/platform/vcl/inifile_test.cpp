#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/core/inifile.h"

#include <gtest/gtest.h>

#include "support/unprivileged_user.h"

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vcl;
namespace fs = std::filesystem;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    IniFileTest() {
        std::string pattern = (fs::temp_directory_path() / "orvanta-ini-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        FDir = pattern;
        ::chmod(FDir.c_str(), 0777); // reachable by the unprivileged user some tests switch to
        FPath = FDir + "/setup.ini";
    }
    ~IniFileTest() override {
        std::error_code ec;
        fs::permissions(FDir, fs::perms::all, ec);
        fs::remove_all(FDir, ec);
    }

    void Put(const std::string& bytes) {
        std::ofstream out(FPath, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string Bytes() const {
        std::ifstream in(FPath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(FDir))
            names.push_back(e.path().filename().string());
        return names;
    }

    std::string FDir;
    std::string FPath;
};

using orvanta::test::AsUnprivilegedUser;

TEST_F(IniFileTest, IntegerRule) {
    const int def = 77;
    const struct {
        const char* text;
        int expected;
    } cases[] = {
        {"100", 100},
        {"0", 0},
        {"+5", 5},
        {"-5", -5},
        {"007", 7},
        {"  12  ", 12}, // spacing around the value is not part of it
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", def},
        {"-2147483649", def},
        {"99999999999999999999", def},
        {"0x64", 100},
        {"0X64", 100},
        {"0x5", 5},
        {"0xfF", 255},
        {"0x7FFFFFFF", 2147483647},
        {"0xFFFFFFFF", -1},
        {"0x80000000", -2147483647 - 1},
        {"0x000000064", 100},
        {"0x100000000", def},
        {"0x", def},
        {"0X", def},
        {"0xx5", def},
        {"0xg", def},
        {"0x1 2", def},
        {"-0x10", def},
        {"00x5", def},
        {"x10", def},
        {"$10", def},
        {"1.5", def},
        {"1e3", def},
        {"1 2", def},
        {"+", def},
        {"-", def},
        {"--1", def},
        {"abc", def},
        {"", def},
    };
    for (const auto& c : cases) {
        Put(std::string("[alpha]\r\na=") + c.text + "\r\n");
        EXPECT_EQ(TIniFile(FPath).ReadInteger("alpha", "a", def), c.expected)
            << '"' << c.text << '"';
    }
}

TEST_F(IniFileTest, BooleanRule) {
    const struct {
        const char* text; // nullptr: key missing
        bool withDefaultFalse;
        bool withDefaultTrue;
    } cases[] = {
        {"1", true, true},   {"2", true, true},      {"-1", true, true},   {"0x1", true, true},
        {"0", false, false}, {"0x0", false, false},  {"yes", false, true}, {"true", false, true},
        {"", false, true},   {nullptr, false, true},
    };
    for (const auto& c : cases) {
        Put(c.text ? std::string("[visible]\r\na=") + c.text + "\r\n" : "[visible]\r\nb=1\r\n");
        TIniFile ini(FPath);
        EXPECT_EQ(ini.ReadBool("visible", "a", false), c.withDefaultFalse)
            << (c.text ? c.text : "-");
        EXPECT_EQ(ini.ReadBool("visible", "a", true), c.withDefaultTrue) << (c.text ? c.text : "-");
    }
}

TEST_F(IniFileTest, WritesCreateTheFileInWindowsLayout) {
    TIniFile ini(FPath);
    ini.WriteInteger("top", "a", 100);
    ini.WriteInteger("left", "a", -150);
    ini.WriteBool("visible", "a", true);
    ini.WriteBool("visible", "b", false);
    ini.WriteString("radio", "a", "-1");
    ini.WriteInteger("top", "a", 120);
    EXPECT_EQ(Bytes(), "[top]\r\na=120\r\n"
                       "[left]\r\na=-150\r\n"
                       "[visible]\r\na=1\r\nb=0\r\n"
                       "[radio]\r\na=-1\r\n");
    EXPECT_EQ(Entries(), std::vector<std::string>{"setup.ini"});
}

TEST_F(IniFileTest, NamesMatchWithoutRegardToCase) {
    TIniFile ini(FPath);
    ini.WriteBool("play", "a", true);
    EXPECT_TRUE(ini.ReadBool("Play", "a", false));
    EXPECT_EQ(ini.ReadString("PLAY", "A", "0"), "1");

    Put("[PLAY]\r\nA=1\r\n");
    EXPECT_EQ(ini.ReadString("Play", "a", "0"), "1");
    ini.WriteBool("play", "a", false);
    EXPECT_EQ(Bytes(), "[PLAY]\r\nA=0\r\n"); // updated where it stands, not added again
}

TEST_F(IniFileTest, EditsKeepEveryOtherLineAsItWas) {
    // LF line ends, comments, spaces around "=", junk and no final line end.
    Put("; written by hand\n"
        "stray=before any section\n"
        "[ alpha ]\n"
        "a = 90\n"
        "garbage line \x01\xff\n"
        "\n"
        "[zvuk]\n"
        "a=10");
    TIniFile ini(FPath);
    EXPECT_EQ(ini.ReadInteger("alpha", "a", 0), 90);
    EXPECT_EQ(ini.ReadInteger("zvuk", "a", 0), 10);
    EXPECT_EQ(ini.ReadString("", "stray", "none"), "none");

    ini.WriteInteger("alpha", "a", 120);
    ini.WriteInteger("alpha", "b", 5);
    ini.WriteInteger("zvuk", "b", 6);
    ini.WriteInteger("top", "a", 100);
    EXPECT_EQ(Bytes(), "; written by hand\n"
                       "stray=before any section\n"
                       "[ alpha ]\n"
                       "a = 120\n"
                       "garbage line \x01\xff\n"
                       "b=5\n"
                       "\n"
                       "[zvuk]\n"
                       "a=10\n"
                       "b=6\n"
                       "[top]\n"
                       "a=100\n");
}

TEST_F(IniFileTest, DuplicatesAndOddLineEnds) {
    Put("[radio]\ra=3\ra=4\r[Radio]\r\na=5\r\n");
    TIniFile ini(FPath);
    EXPECT_EQ(ini.ReadInteger("radio", "a", 0), 3);
    ini.WriteInteger("radio", "a", 7);
    EXPECT_EQ(Bytes(), "[radio]\ra=7\ra=4\r[Radio]\r\na=5\r\n");
}

TEST_F(IniFileTest, ByteOrderMarkIsSkippedAndKept) {
    Put("\xef\xbb\xbf[alpha]\r\na=0x64\r\n");
    TIniFile ini(FPath);
    EXPECT_EQ(ini.ReadInteger("alpha", "a", 150), 100);
    ini.WriteInteger("alpha", "a", 50);
    EXPECT_EQ(Bytes(), "\xef\xbb\xbf[alpha]\r\na=50\r\n");
}

TEST_F(IniFileTest, ALineBreakInAValueCannotAddLines) {
    TIniFile ini(FPath);
    ini.WriteString("radio", "a", "1\r\n[alpha]\r\na=0");
    EXPECT_EQ(Bytes(), "[radio]\r\na=1\r\n");
    EXPECT_FALSE(ini.SectionExists("alpha"));
}

TEST_F(IniFileTest, MissingOrUnreadableFileReadsAsDefaults) {
    TIniFile missing(FPath);
    EXPECT_EQ(missing.ReadInteger("alpha", "a", 150), 150);
    EXPECT_EQ(missing.ReadString("visible", "a", "0"), "0");
    EXPECT_FALSE(missing.ReadBool("Play", "a", false));
    EXPECT_FALSE(missing.SectionExists("alpha"));
    EXPECT_FALSE(fs::exists(FPath)); // reading creates nothing

    fs::create_directory(FPath);
    EXPECT_EQ(TIniFile(FPath).ReadInteger("alpha", "a", 150), 150);
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
    TIniFile mainWindow(FPath);
    TIniFile settingsWindow(FPath);
    EXPECT_EQ(mainWindow.ReadString("visible", "d", "0"), "0");
    settingsWindow.WriteBool("visible", "d", true);
    EXPECT_EQ(mainWindow.ReadString("visible", "d", "0"), "1");
    Put("[visible]\nd=0\n"); // another program rewrites the file
    EXPECT_EQ(mainWindow.ReadString("visible", "d", "1"), "0");
    mainWindow.WriteInteger("alpha", "a", 3);
    EXPECT_EQ(settingsWindow.ReadInteger("alpha", "a", 0), 3);
    EXPECT_EQ(Bytes(), "[visible]\nd=0\n[alpha]\na=3\n");
}

TEST_F(IniFileTest, DoubledSeparatorIsAccepted) {
    TIniFile ini(FDir + "//setup.ini");
    ini.WriteInteger("zvuk", "a", 42);
    EXPECT_EQ(TIniFile(FPath).ReadInteger("zvuk", "a", 0), 42);
}

TEST_F(IniFileTest, RefusedWriteRaisesUnableToWriteAndKeepsTheFile) {
    const std::string old = "[top]\r\na=100\r\n";
    const struct {
        const char* name;
        std::function<void()> lock;
    } cases[] = {
        {"read-only file", [&] { ::chmod(FPath.c_str(), 0444); }},
        {"read-only folder", [&] { ::chmod(FDir.c_str(), 0555); }},
    };
    for (const auto& c : cases) {
        Put(old);
        c.lock();
        {
            AsUnprivilegedUser user;
            TIniFile ini(FPath);
            try {
                ini.WriteInteger("left", "a", 150);
                ADD_FAILURE() << "no error for " << c.name;
            } catch (const EIniFileException& e) {
                EXPECT_EQ(std::string(e.what()), "Unable to write to " + FPath) << c.name;
            }
            EXPECT_EQ(ini.ReadInteger("top", "a", 0), 100) << c.name;
        }
        ::chmod(FDir.c_str(), 0777);
        ::chmod(FPath.c_str(), 0644);
        EXPECT_EQ(Bytes(), old) << c.name;
        EXPECT_EQ(Entries(), std::vector<std::string>{"setup.ini"}) << c.name;
    }
}

TEST_F(IniFileTest, FileThatIsADirectoryCannotBeWritten) {
    fs::create_directory(FPath);
    try {
        TIniFile(FPath).WriteInteger("top", "a", 1);
        ADD_FAILURE() << "wrote over a directory";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + FPath);
    }
    EXPECT_TRUE(fs::is_directory(FPath));
}

// A write cut short (a full disk) must leave the old settings complete.
TEST_F(IniFileTest, FailedWriteLeavesTheOldFileWhole) {
    const std::string old = "[top]\r\na=100\r\n[left]\r\na=150\r\n";
    Put(old);
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 1024;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool thrown = false;
    try {
        TIniFile(FPath).WriteString("radio", "a", std::string(4000, '7'));
    } catch (const EIniFileException& e) {
        thrown = true;
        EXPECT_EQ(std::string(e.what()), "Unable to write to " + FPath);
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_TRUE(thrown);
    EXPECT_EQ(Bytes(), old);
    EXPECT_EQ(Entries(), std::vector<std::string>{"setup.ini"});
}

} // namespace
