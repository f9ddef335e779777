// The three station lists of the main window: loading, the user's selection, Select, Append and
// Delete keeping the lists and their selections together, and names kept byte for byte.
#include <gtest/gtest.h>

#include "player_fixture.h"

namespace orvanta::test {
namespace {

using StationListTest = PlayerTest;

std::vector<std::string> Entries(const vcl::TListBox* list) {
    std::vector<std::string> entries;
    for (int i = 0; i < list->Items().Count(); ++i)
        entries.push_back(list->Items()[i]);
    return entries;
}

TEST_F(StationListTest, LoadCutsAtEveryKindOfLineEnd) {
    const struct {
        const char* names;
        const char* urls;
        std::vector<std::string> expectedNames;
        std::vector<std::string> expectedUrls;
    } cases[] = {
        {"A\nB\nC\n", "u1\r\nu2\r\nu3\r\n", {"A", "B", "C"}, {"u1", "u2", "u3"}},
        {"A\r\nB\nC", "u1\ru2\r\nu3", {"A", "B", "C"}, {"u1", "u2", "u3"}},
        {"A\r\n\r\nC\r\n", "u1\r\nu2\r\nu3\r\n", {"A", "", "C"}, {"u1", "u2", "u3"}},
        {"", "", {}, {}},
        // Unequal lengths are loaded as they stand.
        {"A\r\nB\r\nC\r\n", "u1\r\n", {"A", "B", "C"}, {"u1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.names);
        dir.Write("names.txt", c.names);
        dir.Write("sait.txt", c.urls);
        StartPlayer();
        EXPECT_EQ(Entries(Form1->ListBox2), c.expectedNames);
        EXPECT_EQ(Entries(Form1->ListBox1), c.expectedNames);
        EXPECT_EQ(Entries(Form1->ListBox3), c.expectedUrls);
        EXPECT_EQ(Selections(), std::vector<int>(3, -1));
        // Loading never rewrites the files.
        EXPECT_EQ(dir.Read("names.txt"), c.names);
        EXPECT_EQ(dir.Read("sait.txt"), c.urls);
        ClosePlayer();
    }
}

TEST_F(StationListTest, CyrillicNamesInWindows1251AreKeptByteForByte) {
    // "Радио Ретро" and "Эхо" in Windows-1251.
    const std::string retro = "\xD0\xE0\xE4\xE8\xEE \xD0\xE5\xF2\xF0\xEE";
    const std::string echo = "\xDD\xF5\xEE";
    dir.Write("names.txt", retro + "\r\n" + echo + "\r\n");
    dir.Write("sait.txt", "u1\r\nu2\r\n");
    StartPlayer();
    EXPECT_EQ(Entries(Form1->ListBox2), (std::vector<std::string>{retro, echo}));
    EXPECT_EQ(Entries(Form1->ListBox1), (std::vector<std::string>{retro, echo}));
}

TEST_F(StationListTest, UserSelectionIsCopiedToTheHiddenLists) {
    WriteStations({{"A", "u1"}, {"B", "u2"}, {"C", "u3"}});
    StartPlayer();
    for (int row : {2, 0, 1}) {
        UserSelects(row);
        EXPECT_EQ(Selections(), std::vector<int>(3, row)) << row;
    }
}

TEST_F(StationListTest, SelectOutsideTheListSelectsNothing) {
    WriteStations({{"A", "u1"}, {"B", "u2"}, {"C", "u3"}, {"D", "u4"}, {"E", "u5"}});
    StartPlayer();
    for (int index : {7, 5, -1, -2}) {
        Form1->SelectStation(2);
        ASSERT_EQ(Selections(), std::vector<int>(3, 2));
        Form1->SelectStation(index);
        EXPECT_EQ(Selections(), std::vector<int>(3, -1)) << index;
    }
    Form1->SelectStation(4);
    EXPECT_EQ(Selections(), std::vector<int>(3, 4));
}

TEST_F(StationListTest, AppendPutsTheStationLastAndKeepsTheSelection) {
    WriteStations({{"A", "u1"}, {"B", "u2"}, {"C", "u3"}});
    StartPlayer();
    UserSelects(1);
    Form1->AppendStation("D", "u4");
    EXPECT_EQ(Selections(), std::vector<int>(3, 1));
    EXPECT_EQ(Entries(Form1->ListBox1), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(Entries(Form1->ListBox2), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_EQ(Entries(Form1->ListBox3), (std::vector<std::string>{"u1", "u2", "u3", "u4"}));
    // An equal name appended after the selected one does not steal the selection.
    Form1->AppendStation("B", "u5");
    EXPECT_EQ(Selections(), std::vector<int>(3, 1));
}

TEST_F(StationListTest, DeleteKeepsTheSelectionOnItsStation) {
    const struct {
        std::vector<std::string> names;
        int selected, deleted, expected;
    } cases[] = {
        {{"A", "B", "C"}, 2, 0, 1},  // the selection follows its station
        {{"A", "B", "C"}, 1, 1, -1}, // the selected station goes
        {{"A", "B", "C"}, 0, 2, 0},  // after the selection: unchanged
        {{"A", "B", "C"}, -1, 0, -1},
        {{"A", "A", "B"}, 1, 0, 0}, // equal names are still different stations
        {{"A", "B", "B"}, 2, 1, 1},
        {{"A", "B", "C"}, 1, -1, 1}, // outside the list: nothing happens
        {{"A", "B", "C"}, 1, 3, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selected << " deleted " << c.deleted
                                        << " first " << c.names[0] << c.names[1]);
        std::vector<Station> stations;
        for (std::size_t i = 0; i < c.names.size(); ++i)
            stations.push_back({c.names[i], "u" + std::to_string(i)});
        WriteStations(stations);
        StartPlayer();
        if (c.selected >= 0)
            UserSelects(c.selected);
        Form1->DeleteStation(c.deleted);

        std::vector<std::string> names = c.names;
        std::vector<std::string> urls;
        for (std::size_t i = 0; i < c.names.size(); ++i)
            urls.push_back("u" + std::to_string(i));
        if (c.deleted >= 0 && c.deleted < static_cast<int>(names.size())) {
            names.erase(names.begin() + c.deleted);
            urls.erase(urls.begin() + c.deleted);
        }
        EXPECT_EQ(Entries(Form1->ListBox1), names);
        EXPECT_EQ(Entries(Form1->ListBox2), names);
        EXPECT_EQ(Entries(Form1->ListBox3), urls);
        EXPECT_EQ(Selections(), std::vector<int>(3, c.expected));
        ClosePlayer();
    }
}

} // namespace
} // namespace orvanta::test
