#include "platform/vcl/core/text.h"

#include <gtest/gtest.h>

#include <iconv.h>

using namespace vcl;
using namespace std::string_literals;

namespace {

TEST(Text, Utf8Validation) {
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"", true},
        {"Radio 1", true},
        {"\xd0\xa0\xd0\xb0\xd0\xb4\xd0\xb8\xd0\xbe", true}, // Радио
        {"\xe2\x82\xac", true},                             // €
        {"\xf0\x9d\x84\x9e", true},                         // U+1D11E
        {"\xf4\x8f\xbf\xbf", true},                         // U+10FFFF
        {"\xef\xbb\xbf"
         "abc",
         true},                      // byte-order mark
        {"\xc0\x80", false},         // overlong NUL
        {"\xc1\xbf", false},         // overlong
        {"\xe0\x80\x80", false},     // overlong
        {"\xf0\x80\x80\x80", false}, // overlong
        {"\xed\xa0\x80", false},     // surrogate
        {"\xf4\x90\x80\x80", false}, // above U+10FFFF
        {"\xf5\x80\x80\x80", false},
        {"\xe2\x82", false}, // cut short at the end
        {"\xe2\x82"
         "a",
         false},         // cut short before ASCII
        {"\x80", false}, // lone continuation
        {"\xfe\xff", false},
        {"\xcf\xf0\xe8\xe2\xe5\xf2", false}, // Привет in Windows-1251
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << testing::PrintToString(c.bytes);
}

TEST(Text, ValidUtf8IsShownAsItIs) {
    const std::string utf8 =
        "\xd0\x9d\xd0\xb0\xd1\x88\xd0\xb5 \xd1\x80\xd0\xb0\xd0\xb4\xd0\xb8\xd0\xbe \xe2\x84\x96"
        "1";
    EXPECT_EQ(DisplayText(utf8), utf8);
    EXPECT_EQ(DisplayText("plain ASCII"), "plain ASCII");
}

TEST(Text, OtherBytesAreReadAsWindows1251) {
    EXPECT_EQ(DisplayText("\xcf\xf0\xe8\xe2\xe5\xf2, \xb8\xe6 \xb9"
                          "5"),
              "\xd0\x9f\xd1\x80\xd0\xb8\xd0\xb2\xd0\xb5\xd1\x82, \xd1\x91\xd0\xb6 \xe2\x84\x96"
              "5");
    EXPECT_EQ(DisplayText("\x98"), "\xef\xbf\xbd");
}

// Every assigned byte must decode as the system's own converter decodes it.
TEST(Text, EveryWindows1251ByteMatchesTheSystemConverter) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1));
    for (int b = 0x80; b <= 0xFF; ++b) {
        if (b == 0x98)
            continue; // unassigned
        // A leading 0xFF keeps the single byte from being valid UTF-8 on its own merits.
        char in[2] = {static_cast<char>(0xFF), static_cast<char>(b)};
        char out[16];
        char* inp = in;
        char* outp = out;
        std::size_t inLeft = 2, outLeft = sizeof out;
        ASSERT_NE(iconv(cd, &inp, &inLeft, &outp, &outLeft), static_cast<std::size_t>(-1)) << b;
        const std::string expected(out, static_cast<std::size_t>(outp - out));
        EXPECT_EQ(DisplayText(std::string(in, 2)), expected) << std::hex << b;
    }
    iconv_close(cd);
}

} // namespace
