// Map and game folders holding what a careless or hostile tree may hold:
// bytes that are not UTF-8, newlines, names of 255 bytes, link loops and
// dangling links, unreadable files and folders, a FIFO, an empty map. The
// program lists by its rules, never hangs, and an install that cannot be
// made shows the system's text.
#include <gmock/gmock.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DialogFixture.h"
#include "DialogManager.h"
#include "resource.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

const std::string kNotUtf8 = "\xff\xfe";
const std::string kLongStem(251, 'a');

class HostileFolderTest : public DialogFixture {
protected:
    void FillHostileMapFolder() const
    {
        WriteFile(mapDir + "/" + kNotUtf8 + ".map", "bytes");
        WriteFile(mapDir + "/new\nline.map", "newline");
        WriteFile(mapDir + "/" + kLongStem + ".map", "long");
        WriteFile(mapDir + "/empty.map", "");
        WriteFile(mapDir + "/secret.map", "secret");
        chmod((mapDir + "/secret.map").c_str(), 0);
        MakeFolder(mapDir + "/locked.map");
        chmod((mapDir + "/locked.map").c_str(), 0);
        ASSERT_EQ(symlink("loop.map", (mapDir + "/loop.map").c_str()), 0);
        ASSERT_EQ(symlink("/nonexistent/levrin", (mapDir + "/gone.map").c_str()), 0);
        ASSERT_EQ(mkfifo((mapDir + "/x.map").c_str(), 0600), 0);
        WriteFile(mapDir + "/e1l1.map", "never listed");
    }

    std::string Installed(const std::string& entry) const
    {
        return InstalledMessage(mapDir + "/" + entry + ".map", gameDir + "/e1l1.map");
    }
};

TEST_F(HostileFolderTest, ListsByTheRulesAndInstallsOrShowsTheSystemText)
{
    FillHostileMapFolder();
    WriteFile(gameDir + "/Duke3d.exe", "game");
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    ActAsOrdinaryUser();
    // Root reads anything; the unreadable cases need an ordinary user.
    bool bPermissionsBind = faccessat(AT_FDCWD, (mapDir + "/secret.map").c_str(), R_OK, AT_EACCESS) != 0;

    MainDialogLook look;
    WhileOpen([&](HWND dialog) {
        look = LookAt(dialog);
        HWND list = GetDlgItem(dialog, IDC_MAPLIST);
        for (size_t i = 0; i < look.entries.size(); ++i) {
            host::SelectListItem(list, static_cast<int>(i));
            Click(dialog, IDOK);
        }
    });
    RunProgram();

    EXPECT_THAT(look.entries, ElementsAre(std::string(15, 'a'), "empty", "gone", "locked", "loop", "new\nline",
                                          "secret", "x", kNotUtf8));
    std::vector<std::string> expected = {
        SystemText(ENOENT),  // the long name is cut in the list
        Installed("empty"),
        SystemText(ENOENT),
        SystemText(bPermissionsBind ? EACCES : EISDIR),
        SystemText(ELOOP),
        Installed("new\nline"),
        bPermissionsBind ? SystemText(EACCES) : Installed("secret"),
        SystemText(EINVAL),  // a FIFO is no map file, and is not waited on
        Installed(kNotUtf8),
    };
    EXPECT_THAT(MessageTexts(), ElementsAreArray(expected));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), std::string("bytes"));
    EXPECT_EQ(FolderEntries(gameDir), (std::vector<std::string>{ "Duke3d.exe", "e1l1.map" }));
}

struct GameCase {
    const char* name;
    std::function<void(const std::string& game)> arrange;
    int error;  // 0: installed
};

void PrintTo(const GameCase& c, std::ostream* os)
{
    *os << c.name;
}

class HostileGameFolderTest : public HostileFolderTest, public ::testing::WithParamInterface<GameCase> {};

TEST_P(HostileGameFolderTest, InstallsOrShowsTheSystemText)
{
    WriteFile(mapDir + "/castle.map", "castle");
    WriteFile(gameDir + "/Duke3d.exe", "game");
    GetParam().arrange(gameDir);
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);

    WhileOpen([](HWND dialog) { Click(dialog, IDOK); });
    RunProgram();

    if (GetParam().error == 0) {
        EXPECT_THAT(MessageTexts(), ElementsAre(Installed("castle")));
        EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), std::string("castle"));
    } else {
        EXPECT_THAT(MessageTexts(), ElementsAre(SystemText(GetParam().error)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Folders, HostileGameFolderTest,
    ::testing::Values(
        // Links and FIFOs of the level file's name are replaced, never followed.
        GameCase{ "LevelFileIsLinkLoop",
                  [](const std::string& game) { (void)symlink("e1l1.map", (game + "/e1l1.map").c_str()); }, 0 },
        GameCase{ "LevelFileIsDanglingLink",
                  [](const std::string& game) { (void)symlink("/nonexistent/x", (game + "/e1l1.map").c_str()); },
                  0 },
        GameCase{ "LevelFileIsFifo", [](const std::string& game) { mkfifo((game + "/e1l1.map").c_str(), 0600); },
                  0 },
        GameCase{ "LevelFileIsFolder", [](const std::string& game) { MakeFolder(game + "/e1l1.map"); }, EISDIR },
        GameCase{ "FolderIsGone", [](const std::string& game) { std::filesystem::remove_all(game); }, ENOENT },
        GameCase{ "FolderIsAFile",
                  [](const std::string& game) {
                      std::filesystem::remove_all(game);
                      WriteFile(game, "not a folder");
                  },
                  ENOTDIR }),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
