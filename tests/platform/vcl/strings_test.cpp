#include "platform/vcl/core/exceptions.h"
#include "platform/vcl/core/files.h"
#include "platform/vcl/core/strings.h"

#include <gtest/gtest.h>

#include "support/unprivileged_user.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vcl;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "orvanta-strings-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error("mkdtemp failed");
        FPath = pattern;
        ::chmod(FPath.c_str(), 0777); // reachable by the unprivileged user some tests switch to
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(FPath, fs::perms::all, ec);
        fs::remove_all(FPath, ec);
    }
    const std::string& Path() const { return FPath; }
    std::string File(const std::string& name) const { return FPath + "/" + name; }
    // Every entry name in the folder, to catch temporary files left behind.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(FPath))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

private:
    std::string FPath;
};

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

using orvanta::test::AsUnprivilegedUser;

std::vector<std::string> Items(const TStrings& list) {
    return std::vector<std::string>(list.begin(), list.end());
}

TStrings ListOf(std::initializer_list<std::string> items) {
    TStrings list;
    for (const auto& s : items)
        list.Add(s);
    return list;
}

struct SplitCase {
    const char* name;
    std::string text;
    std::vector<std::string> items;
};

class SetTextCases : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SetTextCases, CutsLinesAsTheListFilesAreRead) {
    TStrings list;
    list.Add("previous contents");
    list.SetText(GetParam().text);
    EXPECT_EQ(Items(list), GetParam().items);
}

using namespace std::string_literals;

INSTANTIATE_TEST_SUITE_P(
    Strings, SetTextCases,
    ::testing::Values(SplitCase{"CrLf", "a\r\nb\r\nc\r\n", {"a", "b", "c"}},
                      SplitCase{"LoneLf", "a\nb\nc\n", {"a", "b", "c"}},
                      SplitCase{"LoneCr", "a\rb\rc\r", {"a", "b", "c"}},
                      SplitCase{"LastLineWithoutEnd", "a\r\nb", {"a", "b"}},
                      SplitCase{"SingleLineWithoutEnd", "only", {"only"}},
                      SplitCase{"EmptyText", "", {}}, SplitCase{"JustALineEnd", "\r\n", {""}},
                      SplitCase{"EmptyLineBetween", "a\r\n\r\nb\r\n", {"a", "", "b"}},
                      SplitCase{"LfThenCrIsTwoLineEnds", "a\n\rb", {"a", "", "b"}},
                      SplitCase{"CrCrLf", "a\r\r\nb", {"a", "", "b"}},
                      SplitCase{"TrailingEmptyLine", "a\n\n", {"a", ""}},
                      SplitCase{"Mixed", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                      SplitCase{"NulEndsText", "a\r\nb\0c\r\nd"s, {"a", "b"}},
                      SplitCase{"NulFirst", "\0a\r\n"s, {}},
                      SplitCase{"BytesKept",
                                "\xcf\xf0\xe8\xe2\xe5\xf2\r\n\xff\x80 \t=",
                                {"\xcf\xf0\xe8\xe2\xe5\xf2", "\xff\x80 \t="}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Strings, TextEndsEveryItemWithCrLf) {
    EXPECT_EQ(ListOf({"a", "", "b"}).Text(), "a\r\n\r\nb\r\n");
    EXPECT_EQ(ListOf({}).Text(), "");
    EXPECT_EQ(ListOf({""}).Text(), "\r\n");
}

TEST(Strings, IndexOutsideTheListThrowsWithTheIndex) {
    TStrings list = ListOf({"a", "b"});
    struct Case {
        std::function<void()> op;
        const char* message;
    };
    const Case cases[] = {
        {[&] { list.Strings(-1); }, "List index out of bounds (-1)"},
        {[&] { list.Strings(2); }, "List index out of bounds (2)"},
        {[&] { list[5]; }, "List index out of bounds (5)"},
        {[&] { list.Delete(2); }, "List index out of bounds (2)"},
        {[&] { list.Delete(-1); }, "List index out of bounds (-1)"},
        {[&] { list.Insert(3, "x"); }, "List index out of bounds (3)"},
        {[&] { list.Put(2, "x"); }, "List index out of bounds (2)"},
    };
    for (const auto& c : cases) {
        try {
            c.op();
            ADD_FAILURE() << "no error for " << c.message;
        } catch (const EListError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b"}));
}

TEST(Strings, EditingKeepsOrder) {
    TStrings list;
    EXPECT_EQ(list.Add("b"), 0);
    EXPECT_EQ(list.Add("d"), 1);
    list.Insert(0, "a");
    list.Insert(2, "c");
    list.Insert(4, "e");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"a", "b", "c", "d", "e"}));
    list.Delete(2);
    list.Put(0, "A");
    EXPECT_EQ(Items(list), (std::vector<std::string>{"A", "b", "d", "e"}));
    EXPECT_EQ(list.IndexOf("d"), 2);
    EXPECT_EQ(list.IndexOf("D"), -1);
    TStrings copy;
    copy.Assign(list);
    EXPECT_EQ(Items(copy), Items(list));
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(copy.Count(), 4);
}

TEST(Strings, OnChangeRunsAfterEveryChange) {
    TStrings list;
    std::vector<int> counts;
    list.OnChange = [&](TStrings* sender) { counts.push_back(sender->Count()); };
    list.Add("a");
    list.Add("b");
    list.Insert(0, "c");
    list.Put(0, "d");
    list.Delete(0);
    list.SetText("x\r\ny\r\nz");
    list.Assign(ListOf({"q"}));
    list.Clear();
    list.Clear(); // nothing left to change
    EXPECT_EQ(counts, (std::vector<int>{1, 2, 3, 3, 2, 3, 1, 0}));

    counts.clear();
    list.BeginUpdate();
    list.Add("a");
    list.Add("b");
    EXPECT_TRUE(counts.empty());
    list.EndUpdate();
    EXPECT_EQ(counts, (std::vector<int>{2}));

    TStrings copy = list;
    copy.Add("c"); // a copy does not take over the handler
    EXPECT_EQ(counts.size(), 1u);
}

TEST(StringsFile, Windows1251NamesSurviveLoadAndSaveByteForByte) {
    TempDir dir;
    std::string bytes;
    for (int c = 1; c < 256; ++c)
        if (c != '\r' && c != '\n')
            bytes += static_cast<char>(c);
    const std::string original = "\xd0\xe0\xe4\xe8\xee \xd0\xee\xf1\xf1\xe8\xe8\r\n" + bytes +
                                 "\r\n\r\nhttp://127.0.0.1/stream\r\n";
    WriteBytes(dir.File("names.txt"), original);
    TStrings list;
    list.LoadFromFile(dir.File("names.txt"));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list[1], bytes);
    list.SaveToFile(dir.File("copy.txt"));
    EXPECT_EQ(ReadBytes(dir.File("copy.txt")), original);
}

TEST(StringsFile, SaveEndsTheLastLineAndAnEmptyListIsZeroBytes) {
    TempDir dir;
    WriteBytes(dir.File("names.txt"), "one\ntwo\rthree");
    TStrings list;
    list.LoadFromFile(dir.File("names.txt"));
    list.SaveToFile(dir.File("names.txt"));
    EXPECT_EQ(ReadBytes(dir.File("names.txt")), "one\r\ntwo\r\nthree\r\n");

    TStrings empty;
    empty.SaveToFile(dir.File("names.txt"));
    EXPECT_TRUE(fs::exists(dir.File("names.txt")));
    EXPECT_EQ(fs::file_size(dir.File("names.txt")), 0u);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"names.txt"}));
}

TEST(StringsFile, DoubledSeparatorIsAccepted) {
    TempDir dir;
    const std::string path = dir.Path() + "//sait.txt";
    ListOf({"http://127.0.0.1:8000/a"}).SaveToFile(path);
    TStrings list;
    list.LoadFromFile(path);
    EXPECT_EQ(Items(list), (std::vector<std::string>{"http://127.0.0.1:8000/a"}));
}

TEST(StringsFile, TenThousandStations) {
    TempDir dir;
    TStrings list;
    for (int i = 0; i < 10000; ++i)
        list.Add("station " + std::to_string(i));
    list.SaveToFile(dir.File("names.txt"));
    TStrings loaded;
    loaded.LoadFromFile(dir.File("names.txt"));
    ASSERT_EQ(loaded.Count(), 10000);
    EXPECT_EQ(loaded[9999], "station 9999");
}

TEST(StringsFile, UnreadableFileRaisesFileOpenErrorAndKeepsTheItems) {
    TempDir dir;
    fs::create_directory(dir.File("names.txt"));
    const struct {
        std::string path;
        int error;
    } cases[] = {{dir.File("missing.txt"), ENOENT}, {dir.File("names.txt"), EISDIR}};
    for (const auto& c : cases) {
        TStrings list = ListOf({"kept"});
        try {
            list.LoadFromFile(c.path);
            ADD_FAILURE() << "no error for " << c.path;
        } catch (const EFOpenError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot open file \"" + c.path + "\". " + std::strerror(c.error));
        }
        EXPECT_EQ(Items(list), (std::vector<std::string>{"kept"}));
    }
}

TEST(StringsFile, SaveIntoReadOnlyFolderRaisesFileCreateErrorAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("names.txt");
    WriteBytes(path, "old\r\n");
    ::chmod(dir.Path().c_str(), 0555);
    {
        AsUnprivilegedUser user;
        try {
            ListOf({"new"}).SaveToFile(path);
            ADD_FAILURE() << "saved into a read-only folder";
        } catch (const EFCreateError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot create file \"" + path + "\". " + std::strerror(EACCES));
        }
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"names.txt"}));
}

TEST(StringsFile, ReadOnlyFileIsNotReplaced) {
    TempDir dir;
    const std::string path = dir.File("names.txt");
    WriteBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0444);
    {
        AsUnprivilegedUser user;
        EXPECT_THROW(ListOf({"new"}).SaveToFile(path), EFCreateError);
    }
    EXPECT_EQ(ReadBytes(path), "old\r\n");
}

TEST(StringsFile, SaveOverADirectoryFails) {
    TempDir dir;
    fs::create_directory(dir.File("names.txt"));
    EXPECT_THROW(ListOf({"x"}).SaveToFile(dir.File("names.txt")), EFCreateError);
    EXPECT_TRUE(fs::is_directory(dir.File("names.txt")));
}

// A write that stops half-way (a full disk) must leave the old list complete.
TEST(StringsFile, FailedWriteLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.File("names.txt");
    const std::string old = "station one\r\nstation two\r\n";
    WriteBytes(path, old);

    TStrings big;
    for (int i = 0; i < 1000; ++i)
        big.Add("a rather long station name number " + std::to_string(i));

    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = saved;
    small.rlim_cur = 4096;
    ::setrlimit(RLIMIT_FSIZE, &small);
    bool thrown = false;
    try {
        big.SaveToFile(path);
    } catch (const EFCreateError& e) {
        thrown = true;
        EXPECT_NE(std::string(e.what()).find(std::strerror(EFBIG)), std::string::npos) << e.what();
    }
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_TRUE(thrown);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.Entries(), (std::vector<std::string>{"names.txt"}));
}

TEST(StringsFile, SaveKeepsTheFileMode) {
    TempDir dir;
    const std::string path = dir.File("names.txt");
    WriteBytes(path, "old\r\n");
    ::chmod(path.c_str(), 0640);
    ListOf({"new"}).SaveToFile(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(ReadBytes(path), "new\r\n");
}

} // namespace
