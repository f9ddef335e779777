// Station addresses, playlists and ICY tags: the text the engine takes from outside.
#include <gtest/gtest.h>

#include "platform/bass/icy_tags.h"
#include "platform/bass/playlist.h"
#include "platform/bass/url_policy.h"

namespace orvanta::bass {
namespace {

TEST(UrlPolicyTest, OnlyHttpAndHttpsWithAHostAreAccepted) {
    struct Case {
        const char* url;
        const char* expected; // nullptr: refused
    };
    const Case cases[] = {
        {"http://radio.example/stream", "http://radio.example/stream"},
        {"HTTPS://radio.example:8443/a.mp3", "HTTPS://radio.example:8443/a.mp3"},
        {"  http://radio.example/live\r\n", "http://radio.example/live"}, // list-file line ends
        {"http://radio.example/my station", "http://radio.example/my%20station"},
        {"file:///etc/passwd", nullptr},
        {"concat:http://a/x|http://a/y", nullptr},
        {"subfile:,,start,0,end,0,,:http://a/x", nullptr},
        {"pipe:0", nullptr},
        {"data:audio/mpeg;base64,AAAA", nullptr},
        {"ftp://radio.example/a.mp3", nullptr},
        {"tcp://127.0.0.1:8000", nullptr},
        {"http:///etc/passwd", nullptr},
        {"http://", nullptr},
        {"", nullptr},
        {"http://radio.example/a\r\nX-Injected: 1", nullptr},
        {"http://radio.example/a\tb", nullptr},
    };
    for (const Case& c : cases) {
        const auto got = NormalizeStreamUrl(c.url);
        if (c.expected) {
            ASSERT_TRUE(got.has_value()) << c.url;
            EXPECT_EQ(*got, c.expected);
        } else {
            EXPECT_FALSE(got.has_value()) << c.url;
        }
    }
}

TEST(UrlPolicyTest, PlaylistEntriesResolveAgainstThePlaylist) {
    struct Case {
        const char* base;
        const char* ref;
        const char* expected;
    };
    const Case cases[] = {
        {"http://a.example/dir/list.pls?x=1", "http://b.example/s", "http://b.example/s"},
        {"http://a.example/dir/list.pls?x=1", "stream.mp3", "http://a.example/dir/stream.mp3"},
        {"http://a.example/dir/list.pls", "/root.mp3", "http://a.example/root.mp3"},
        {"https://a.example/dir/list.m3u", "//c.example/s", "https://c.example/s"},
        {"http://a.example", "s.mp3", "http://a.example/s.mp3"},
        {"http://a.example/l.m3u", "s.mp3?u=http://x", "http://a.example/s.mp3?u=http://x"},
        {"http://a.example/l.m3u", "file:///etc/passwd", "file:///etc/passwd"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ResolveUrl(c.base, c.ref), c.expected) << c.base << " + " << c.ref;
}

TEST(PlaylistTest, RecognisesPlaylistUrlsByPath) {
    EXPECT_TRUE(LooksLikePlaylistUrl("http://a/listen.pls"));
    EXPECT_TRUE(LooksLikePlaylistUrl("http://a/x/LISTEN.M3U?sid=1"));
    EXPECT_TRUE(LooksLikePlaylistUrl("https://a/live.m3u8#t"));
    EXPECT_FALSE(LooksLikePlaylistUrl("http://a/stream.mp3"));
    EXPECT_FALSE(LooksLikePlaylistUrl("http://a/get?file=x.pls"));
    EXPECT_FALSE(LooksLikePlaylistUrl("http://a.pls"));
}

TEST(PlaylistTest, EntriesInPlaylistOrder) {
    struct Case {
        const char* text;
        std::vector<std::string> entries;
    };
    const Case cases[] = {
        {"[playlist]\r\nNumberOfEntries=2\r\nFile2=http://b/2\r\nTitle1=One\r\n"
         "File1=http://a/1\r\nLength1=-1\r\nVersion=2\r\n",
         {"http://a/1", "http://b/2"}},
        {"\xEF\xBB\xBF[Playlist]\nfile1 = http://a/1 \n", {"http://a/1"}},
        {"#EXTM3U\n#EXTINF:-1,Radio\nhttp://a/1\n\n  relative.mp3  \n",
         {"http://a/1", "relative.mp3"}},
        {"", {}},
        {"[playlist]\nNumberOfEntries=0\n", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePlaylistEntries(c.text), c.entries) << c.text;
    EXPECT_TRUE(IsHlsPlaylist("#EXTM3U\n#EXT-X-TARGETDURATION:2\nseg0.ts\n"));
    EXPECT_FALSE(IsHlsPlaylist("#EXTM3U\n#EXTINF:-1,Radio\nhttp://a/1\n"));
}

TEST(IcyTagsTest, NameAndTitle) {
    EXPECT_EQ(IcyNameFromHeaders("Icy-Br: 128\nicy-NAME:  Radio One \nicy-genre: x\n"),
              "Radio One");
    EXPECT_FALSE(IcyNameFromHeaders("icy-br: 128\n").has_value());
    EXPECT_EQ(StreamTitleFromMetadata("StreamTitle='Artist - Song';StreamUrl='';"),
              "Artist - Song");
    EXPECT_EQ(StreamTitleFromMetadata("StreamTitle='Rock 'n' Roll';"), "Rock 'n' Roll");
    EXPECT_EQ(StreamTitleFromMetadata("StreamTitle='';"), "");
    EXPECT_FALSE(StreamTitleFromMetadata("StreamUrl='x';").has_value());
}

} // namespace
} // namespace orvanta::bass
