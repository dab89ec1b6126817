#include "src/win/document/file_content.h"

#include <gtest/gtest.h>

#include <string>

namespace qorva {
namespace {

using Kind = FileContent;

std::string Bytes(const char* text, size_t size) { return std::string(text, size); }

std::string Repeat(const std::string& unit, size_t times) {
    std::string out;
    for (size_t i = 0; i < times; ++i) out += unit;
    return out;
}

TEST(FileContent, TellsTextOddBytesAndBinaryApart) {
    const std::string prose = Repeat("A line of ordinary prose, with t\xC3\xA9xt \xE6\x96\x87 and \xF0\x9F\x98\x80.\r\n", 200);
    struct Case {
        const char* name;
        std::string bytes;
        Kind kind;
    } cases[] = {
        {"empty", "", Kind::Text},
        {"prose in UTF-8 with tabs, form feeds and escapes", prose + "\t\f\x1b[0m", Kind::Text},
        {"one zero byte", prose + Bytes("\0", 1) + prose, Kind::NotUtf8},
        {"a Latin-1 letter", prose + "caf\xE9 " + prose, Kind::NotUtf8},
        {"a cut-off sequence at the end", prose + "\xE6\x96", Kind::NotUtf8},
        {"an overlong slash", prose + "\xC0\xAF", Kind::NotUtf8},
        {"a UTF-16 surrogate", prose + "\xED\xA0\x80", Kind::NotUtf8},
        {"past U+10FFFF", prose + "\xF4\x90\x80\x80", Kind::NotUtf8},
        {"odd bytes far past the start", Repeat("text ", 20000) + "\xFF", Kind::NotUtf8},
        {"a short Latin-1 line", "caf\xE9 cr\xE8me\r\n", Kind::NotUtf8},
        {"a few zero bytes in a short line", Bytes("a\0b\0c\0d", 7), Kind::NotUtf8},
        {"Chinese in GBK", Repeat("\xD6\xD0\xCE\xC4\xA3\xAC", 500), Kind::NotUtf8},
        {"a PNG", Bytes("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\0\x10", 20) + Repeat(Bytes("\x08\x06\0\0\0\x1f\xf3\xff" "a", 9), 50),
         Kind::Binary},
        {"UTF-16 text", Repeat(Bytes("t\0e\0x\0t\0", 8), 100), Kind::Binary},
        {"a program", Bytes("\x7f" "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0\x01\0\0\0", 24) + Repeat(Bytes("\0\0\x10\x40\x01\0", 6), 40),
         Kind::Binary},
    };
    for (const Case& c : cases) EXPECT_EQ(ClassifyFileContent(c.bytes), c.kind) << c.name;
}

TEST(FileContent, EveryByteValueAloneInProseIsTextOrNotUtf8NeverBinary) {
    const std::string prose = Repeat("Some ordinary words. ", 10);
    for (int value = 0; value < 256; ++value) {
        const std::string bytes = prose + static_cast<char>(value) + prose;
        const bool text = value >= 0x01 && value < 0x80;
        EXPECT_EQ(ClassifyFileContent(bytes), text ? Kind::Text : Kind::NotUtf8) << value;
    }
}

TEST(FileContent, MegabytesForMessagesRoundUpSoAnythingOverALimitReadsOverIt) {
    EXPECT_EQ(MegabytesRoundedUp(0), 0u);
    EXPECT_EQ(MegabytesRoundedUp(100'000'000), 100u);
    EXPECT_EQ(MegabytesRoundedUp(100'000'001), 101u);
    EXPECT_EQ(MegabytesRoundedUp(209'715'200), 210u);
}

}  // namespace
}  // namespace qorva
