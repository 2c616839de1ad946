#include "GtkText.h"

#include <gtest/gtest.h>

namespace {

struct TextCase {
    const char* input;
    const char* display;
    const char* mnemonic;
};

// Captions, labels and list entries hold ANSI bytes; GTK takes only UTF-8.
const TextCase g_cases[] = {
    { "Levrin (v1.1) ", "Levrin (v1.1) ", "Levrin (v1.1) " },
    { "caf\xC3\xA9", "caf\xC3\xA9", "caf\xC3\xA9" },                   // UTF-8 already
    { "caf\xE9", "caf\xC3\xA9", "caf\xC3\xA9" },                       // Windows-1252
    { "\x80 \x81", "\xC2\x80 \xC2\x81", "\xC2\x80 \xC2\x81" },         // undefined in 1252
    { "one\r\ntwo", "one\ntwo", "one\ntwo" },
    { "&About Levrin...", "&About Levrin...", "_About Levrin..." },
    { "R&&D map_dir", "R&&D map_dir", "R&D map__dir" },
    { "", "", "" },
};

TEST(GtkTextTest, ShowsEveryTextAsUtf8WithGtkLineBreaksAndAccessKeys)
{
    for (const TextCase& c : g_cases) {
        EXPECT_EQ(gtktext::ToDisplay(c.input), c.display) << c.input;
        EXPECT_EQ(gtktext::ToMnemonic(c.input), c.mnemonic) << c.input;
    }
}

}  // namespace
