// The settings store over the per-user file: where it lives, that reads
// make it, that any bytes round-trip, and that failures stay silent.
#include "DialogFixture.h"

#include <cstdlib>

#include <gmock/gmock.h>

#include "MapSelectApp.h"
#include "resource.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

class SettingsStoreTest : public DialogFixture {};

TEST_F(SettingsStoreTest, StartUpReadsCreateTheFileWithTheSection)
{
    ASSERT_FALSE(SettingsBytes().has_value());

    MainDialogLook look = LookAtStart();

    EXPECT_EQ(SettingsFile(), configHome + "/Duke3d/levrin.conf");
    std::optional<std::string> settings = SettingsBytes();
    ASSERT_TRUE(settings.has_value());
    EXPECT_THAT(Lines(*settings), ElementsAre("[Levrin]"));
    EXPECT_EQ(look.mapBox, "");
    EXPECT_EQ(Stored("MapDir"), "");
    EXPECT_EQ(Stored("Current Map"), "");
}

TEST_F(SettingsStoreTest, EveryValueIsReadBackWhole)
{
    const std::string values[] = {
        "",
        "two\nlines\r\nand more",
        "[Levrin]\nExeDir=hijacked",
        "=starts with equals=",
        "C:\\GAMES\\DUKE3D\\",
        "\\x41 is no escape \\\\ \\!",
        "\xff\xfe\x80 not UTF-8",
        "\x01\x1f\x7f controls",
        "  blanks at both ends  ",
        ";looks like a comment",
        "caf\xc3\xa9 in UTF-8",
        std::string(100000, 'w'),
    };
    for (const std::string& value : values) {
        SCOPED_TRACE(value.substr(0, 40));
        EXPECT_TRUE(GetMapSelectApp()->WriteSetting("Levrin", "MapDir", value.c_str()));
        Store("ExeDir", "sentinel");
        EXPECT_EQ(Stored("MapDir"), value);
        EXPECT_EQ(Stored("ExeDir"), "sentinel");
        std::optional<std::string> settings = SettingsBytes();
        ASSERT_TRUE(settings.has_value());
        EXPECT_EQ(Lines(*settings).size(), 3u) << "one line per value";
    }
}

// A value set by other means, of another type, is read as its bytes up to
// the first zero byte.
TEST_F(SettingsStoreTest, ValueOfAnotherTypeIsReadAsItsBytes)
{
    struct {
        DWORD type;
        std::string data;
        std::string read;
    } cases[] = {
        { REG_DWORD, std::string("AB\0\0", 4), "AB" },
        { REG_BINARY, "xyz", "xyz" },
        { REG_BINARY, std::string("\0xyz", 4), "" },
        { REG_SZ, std::string("one\0two\0", 8), "one" },
    };
    for (const auto& c : cases) {
        HKEY hSoftware = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_READ | KEY_WRITE, &hSoftware), ERROR_SUCCESS);
        HKEY hKey = hSoftware;
        for (const char* name : { "Duke3d", "levrin", "Levrin" }) {
            HKEY hChild = nullptr;
            ASSERT_EQ(RegCreateKeyExA(hKey, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                                      nullptr, &hChild, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(hKey);
            hKey = hChild;
        }
        EXPECT_EQ(RegSetValueExA(hKey, "MapDir", 0, c.type, reinterpret_cast<const BYTE*>(c.data.data()),
                                 static_cast<DWORD>(c.data.size())),
                  ERROR_SUCCESS);
        RegCloseKey(hKey);

        EXPECT_EQ(Stored("MapDir"), c.read) << c.type;
    }
}

TEST_F(SettingsStoreTest, ValueNameWithABlankIsKeptApart)
{
    Store("Current Map", "castle");
    Store("Current", "other");

    EXPECT_EQ(Stored("Current Map"), "castle");
    EXPECT_EQ(Stored("Current"), "other");
    EXPECT_EQ(Stored("Map"), "");
}

TEST_F(SettingsStoreTest, AnotherExecutableNameHasSettingsOfItsOwn)
{
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    std::optional<std::string> levrinBefore = SettingsBytes();
    ASSERT_TRUE(levrinBefore.has_value());
    std::string levrinFile = SettingsFile();
    GetMapSelectApp()->SetUpFromModulePath("/x/maps");
    view.folderAnswers = { mapDir };
    MainDialogLook look;
    WhileOpen([&](HWND dialog) {
        look = LookAt(dialog);
        Click(dialog, IDC_BROWSE_MAPDIR);
        Click(dialog, IDOK);
    });

    RunProgram();

    EXPECT_EQ(look.mapBox, "");
    EXPECT_EQ(look.exeBox, "");
    EXPECT_EQ(SettingsFile(), configHome + "/Duke3d/maps.conf");
    EXPECT_EQ(Stored("MapDir"), mapDir);
    EXPECT_EQ(Stored("ExeDir"), "");
    EXPECT_EQ(ReadFile(levrinFile), levrinBefore);
    ASSERT_EQ(view.messageBoxes.size(), 1u);
    EXPECT_EQ(view.messageBoxes[0].caption, "maps");
}

TEST_F(SettingsStoreTest, UnusableSettingsHomeLeavesTheProgramWorking)
{
    WriteFile(root + "/plain-file", "not a folder");
    setenv("XDG_CONFIG_HOME", (root + "/plain-file/config").c_str(), 1);
    WriteFile(mapDir + "/castle.map", "castle");
    WriteFile(gameDir + "/Duke3d.Exe", "game");
    EXPECT_FALSE(GetMapSelectApp()->WriteSetting("Levrin", "MapDir", "/elsewhere"));
    view.folderAnswers = { mapDir, gameDir };
    MainDialogLook first;
    MainDialogLook chosen;
    WhileOpen([&](HWND dialog) {
        first = LookAt(dialog);
        Click(dialog, IDC_BROWSE_MAPDIR);
        Click(dialog, IDC_BROWSE_EXEDIR);
        Click(dialog, IDOK);
        chosen = LookAt(dialog);
    });

    RunProgram();

    EXPECT_EQ(first.mapBox, "");
    EXPECT_THAT(first.entries, IsEmpty());
    EXPECT_EQ(chosen.mapBox, mapDir);
    EXPECT_EQ(chosen.exeBox, gameDir);
    EXPECT_EQ(chosen.label, "castle");
    EXPECT_THAT(MessageTexts(), ElementsAre(InstalledMessage(mapDir + "/castle.map", gameDir + "/e1l1.map")));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "castle");
    EXPECT_EQ(Stored("MapDir"), "");
    EXPECT_EQ(Stored("Current Map"), "");
    EXPECT_EQ(ReadFile(root + "/plain-file"), "not a folder");
}

struct NameCase {
    const char* name;
    const char* modulePath;
    const char* appName;
    const char* helpFile;
};

void PrintTo(const NameCase& c, std::ostream* os)
{
    *os << c.name;
}

class ApplicationNameTest : public DialogFixture, public ::testing::WithParamInterface<NameCase> {};

TEST_P(ApplicationNameTest, ComesFromTheExecutablesFileName)
{
    GetMapSelectApp()->SetUpFromModulePath(GetParam().modulePath);

    EXPECT_EQ(GetMapSelectApp()->m_strAppName.Str(), GetParam().appName);
    EXPECT_EQ(GetMapSelectApp()->m_strHelpFilePath.Str(), GetParam().helpFile);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ApplicationNameTest,
    ::testing::Values(NameCase{ "Linux", "/opt/levrin/levrin", "levrin", "/opt/levrin/levrin.HLP" },
                      NameCase{ "Windows", "C:\\GAMES\\LEVRIN.EXE", "LEVRIN", "C:\\GAMES\\LEVRIN.HLP" },
                      NameCase{ "DriveRelative", "D:levrin.exe", "levrin", "D:levrin.HLP" },
                      // A dot in a folder is no extension of the file.
                      NameCase{ "DotFolder", "/home/duke/.local/bin/levrin", "levrin", "/home/duke/.local/bin/levrin.HLP" },
                      NameCase{ "DottedFolder", "/opt/levrin-1.1/maps", "maps", "/opt/levrin-1.1/maps.HLP" }),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
