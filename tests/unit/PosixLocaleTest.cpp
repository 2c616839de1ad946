// What the user's locale may and may not change on the Linux host: error
// texts stay English, lower-casing follows the program's character type.
#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "Platform.h"

namespace {

constexpr DWORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

// German locales built into a private folder, since a test machine need
// not have any but C installed.
class PosixLocaleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        char name[] = "/tmp/levrin-locales-XXXXXX";
        if (!mkdtemp(name))
            return;
        gFolder = name;
        std::string build = "localedef -i de_DE -f UTF-8 " + gFolder + "/de_DE.UTF-8 >/dev/null 2>&1 && " +
                            "localedef -i de_DE -f ISO-8859-1 " + gFolder + "/de_DE.ISO-8859-1 >/dev/null 2>&1";
        gBuilt = std::system(build.c_str()) == 0;
    }
    static void TearDownTestSuite() { std::filesystem::remove_all(gFolder); }

    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        unsetenv("LOCPATH");
        unsetenv("LANG");
    }

    // False (and the test skipped) when the locale cannot be built here.
    bool UseLocale(const char* locale)
    {
        setenv("LOCPATH", gFolder.c_str(), 1);
        setenv("LANG", locale, 1);
        return gBuilt && std::setlocale(LC_ALL, "");
    }

    static std::string gFolder;
    static bool gBuilt;
};

std::string PosixLocaleTest::gFolder;
bool PosixLocaleTest::gBuilt = false;

std::string Text(DWORD code, DWORD size = 256)
{
    std::vector<char> text(size, '#');
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, code, kEnglish, text.data(), size, nullptr);
    if (length == 0)
        return "(none)";
    EXPECT_EQ(text[length], '\0');
    return std::string(text.data(), length);
}

TEST_F(PosixLocaleTest, ErrorTextsAreEnglishWhateverTheLocale)
{
    if (!UseLocale("de_DE.UTF-8"))
        GTEST_SKIP() << "localedef cannot build de_DE here";
    ASSERT_STRNE(std::strerror(ENOENT), "No such file or directory") << "the locale did not take";
    struct Case {
        int code;
        const char* text;
    };
    const std::vector<Case> cases = {
        { ENOENT, "No such file or directory" },
        { EACCES, "Permission denied" },
        { ENOSPC, "No space left on device" },
        { EEXIST, "File exists" },
        { EISDIR, "Is a directory" },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Text(static_cast<DWORD>(c.code)), c.text);
        EXPECT_EQ(Text(static_cast<DWORD>(c.code)), c.text) << "the same the second time";
    }
}

TEST_F(PosixLocaleTest, NoTextOrNoRoomGivesNothing)
{
    EXPECT_EQ(Text(100000), "(none)");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EINVAL));
    // "File exists" needs 12 bytes with its terminator.
    EXPECT_EQ(Text(EEXIST, 11), "(none)");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERANGE));
    EXPECT_EQ(Text(EEXIST, 12), "File exists");
}

TEST_F(PosixLocaleTest, LowerCasingFollowsTheProgramsCharacterType)
{
    char ascii[] = "CASTLE\xC9.MAP";
    EXPECT_EQ(CharLowerA(ascii), ascii);
    EXPECT_STREQ(ascii, "castle\xC9.map") << "the C locale knows A to Z only";
    if (!UseLocale("de_DE.ISO-8859-1"))
        GTEST_SKIP() << "localedef cannot build de_DE here";
    char latin[] = "\xC4RGER\xC9.MAP";
    CharLowerA(latin);
    EXPECT_STREQ(latin, "\xE4rger\xE9.map");
}

}  // namespace
