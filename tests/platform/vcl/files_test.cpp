#include "platform/vcl/core/files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace vcl;
namespace fs = std::filesystem;

namespace {

class FilesTest : public ::testing::Test {
protected:
    FilesTest() {
        std::string pattern = (fs::temp_directory_path() / "orvanta-files-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        FDir = pattern;
    }
    ~FilesTest() override {
        std::error_code ec;
        fs::remove_all(FDir, ec);
    }
    std::string Read(const std::string& path) const {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string FDir;
};

TEST_F(FilesTest, FileExistsOnlyForFiles) {
    std::ofstream(FDir + "/names.txt") << "";
    fs::create_directory(FDir + "/sait.txt");
    EXPECT_TRUE(FileExists(FDir + "/names.txt"));
    EXPECT_TRUE(FileExists(FDir + "//names.txt"));
    EXPECT_FALSE(FileExists(FDir + "/sait.txt"));
    EXPECT_FALSE(FileExists(FDir + "/setup.ini"));
    EXPECT_FALSE(FileExists(""));
}

TEST(Files, JoinPath) {
    const struct {
        const char* dir;
        const char* name;
        const char* joined;
    } cases[] = {
        {"/home/user", "setup.ini", "/home/user/setup.ini"},
        {"/home/user/", "setup.ini", "/home/user/setup.ini"},
        {"/", "names.txt", "/names.txt"},
        {"", "sait.txt", "sait.txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(JoinPath(c.dir, c.name), c.joined) << c.dir;
}

TEST_F(FilesTest, CurrentDirIsTheProcessDirectory) {
    const auto before = fs::current_path();
    fs::current_path(FDir);
    const std::string dir = GetCurrentDir();
    fs::current_path(before);
    EXPECT_EQ(dir, fs::canonical(FDir).string());
    EXPECT_EQ(GetCurrentDir(), before.string());
}

TEST_F(FilesTest, ReplacingKeepsASymbolicLinkAndWritesItsTarget) {
    std::ofstream(FDir + "/real.ini") << "old";
    fs::create_symlink(FDir + "/real.ini", FDir + "/setup.ini");
    ASSERT_FALSE(WriteFileAtomically(FDir + "/setup.ini", "new"));
    EXPECT_TRUE(fs::is_symlink(FDir + "/setup.ini"));
    EXPECT_EQ(Read(FDir + "/real.ini"), "new");
}

TEST_F(FilesTest, NewFileGetsTheUsualModeAndErrorsAreReported) {
    const mode_t old = ::umask(022);
    const auto err = WriteFileAtomically(FDir + "/names.txt", "a\r\n");
    ::umask(old);
    ASSERT_FALSE(err) << err.message();
    struct stat st {};
    ASSERT_EQ(::stat((FDir + "/names.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);

    EXPECT_EQ(WriteFileAtomically(FDir + "/missing/names.txt", "x"),
              std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(WriteFileAtomically(FDir + "/names.txt/x", "x"),
              std::make_error_code(std::errc::not_a_directory));

    std::string bytes = "unchanged";
    EXPECT_EQ(ReadWholeFile(FDir + "/nothing", bytes),
              std::make_error_code(std::errc::no_such_file_or_directory));
    EXPECT_EQ(bytes, "unchanged");
    EXPECT_FALSE(ReadWholeFile(FDir + "/names.txt", bytes));
    EXPECT_EQ(bytes, "a\r\n");
}

} // namespace
