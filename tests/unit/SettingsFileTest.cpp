// The settings file's text forms: readable where the bytes allow, and every
// byte back as it was.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SettingsFile.h"

namespace {

TEST(SettingsFileTest, DataIsTextWhereItCanBe)
{
    struct Case {
        std::string data;
        std::string text;
    };
    const std::vector<Case> cases = {
        { std::string("/home/player/maps\0", 18), "/home/player/maps" },
        { std::string("caf\xc3\xa9 a=b [x]\0", 14), "caf\xc3\xa9 a=b [x]" },
        { std::string(" \\ \0", 4), " \\\\ " },
        { std::string("\xff\xc3\n\x7f\0", 5), "\\xff\\xc3\\x0a\\x7f" },
        { std::string("a\0b\0", 4), "a\\x00b" },
        { "raw", "raw\\!" },
        { "", "\\!" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::EncodeSettingsData(c.data), c.text);
        EXPECT_EQ(host::DecodeSettingsData(c.text), c.data) << c.text;
    }
}

TEST(SettingsFileTest, NamesEscapeWhatTheLineSyntaxWouldTake)
{
    struct Case {
        std::string name;
        std::string text;
    };
    const std::vector<Case> cases = {
        { "Current Map", "Current Map" },
        { "a=b", "a\\x3db" },
        { "[x]", "\\x5bx]" },
        { ";x", "\\x3bx" },
        { " x ", "\\x20x\\x20" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::EscapeSettingsName(c.name), c.text);
        EXPECT_EQ(host::UnescapeSettingsText(c.text), c.name) << c.text;
    }
    EXPECT_EQ(host::EscapeSettingsSection("a]b"), "a\\x5db");
}

TEST(SettingsFileTest, HandWrittenBackslashesStayAsWritten)
{
    const std::vector<std::string> texts = { "C:\\games\\duke", "\\x4", "\\xzz", "end\\" };
    for (const std::string& text : texts)
        EXPECT_EQ(host::UnescapeSettingsText(text), text);
    EXPECT_EQ(host::DecodeSettingsData("C:\\games\\"), std::string("C:\\games\\\0", 10));
}

}  // namespace
