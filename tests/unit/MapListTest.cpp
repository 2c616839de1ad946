// The map list: which names of the map folder it shows, how they are cut,
// and that each rebuild starts afresh.
#include "DialogFixture.h"

#include <gmock/gmock.h>
#include <sys/stat.h>

#include "DialogManager.h"
#include "resource.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;

namespace {

struct ListCase {
    const char* name;
    std::vector<std::string> files;  // a trailing '/' makes a folder
    std::vector<std::string> entries;
    int selection;
};

void PrintTo(const ListCase& c, std::ostream* os)
{
    *os << c.name;
}

class MapListTest : public DialogFixture, public ::testing::WithParamInterface<ListCase> {
protected:
    void Fill(const std::vector<std::string>& files) const
    {
        for (const std::string& file : files) {
            if (!file.empty() && file.back() == '/')
                MakeFolder(mapDir + "/" + file.substr(0, file.size() - 1));
            else
                WriteFile(mapDir + "/" + file, "map");
        }
    }
};

TEST_P(MapListTest, ListsTheFolder)
{
    const ListCase& c = GetParam();
    Fill(c.files);
    Store("MapDir", mapDir);

    MainDialogLook look = LookAtStart();

    EXPECT_EQ(look.entries, c.entries);
    EXPECT_EQ(look.selection, c.selection);
    EXPECT_THAT(view.messageBoxes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Folders, MapListTest,
    ::testing::Values(
        // Sorted, lower-cased, any case of the extension; the level file left out.
        ListCase{ "SortedWithoutLevelFile", { "Castle.map", "arena.MAP", "E1L1.MAP" }, { "arena", "castle" }, 0 },
        // Only a name that begins with e1l1 is the level file's.
        ListCase{ "LevelFilePrefix", { "e1l1b.map", "e1l10.map", "xe1l1.map" }, { "xe1l1" }, 0 },
        ListCase{ "OnlyLevelFiles", { "e1l1.map", "E1L1b.MAP" }, {}, -1 },
        ListCase{ "NothingMatches", { "readme.txt", "castle.mapx", "castle.map.bak" }, { kPlaceholderEntry }, 0 },
        ListCase{ "EmptyFolder", {}, { kPlaceholderEntry }, 0 },
        // Cut at 15 characters: two files give two equal entries.
        ListCase{ "CutAtFifteen", { "abcdefghijklmnopqr.map", "abcdefghijklmno.map" },
                  { "abcdefghijklmno", "abcdefghijklmno" }, 0 },
        // Cut before the first '.' from the second character on.
        ListCase{ "CutAtFirstDot", { "my.level.map", "my.map" }, { "my", "my" }, 0 },
        ListCase{ "LeadingDot", { ".hidden.map", ".map" }, { ".hidden", ".map" }, 0 },
        ListCase{ "SubFolder", { "extra.map/" }, { "extra" }, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

class MapListFolderTest : public DialogFixture {};

TEST_F(MapListFolderTest, MissingFolderShowsOnlyThePlaceholder)
{
    Store("MapDir", MissingFolder());

    MainDialogLook look = LookAtStart();

    EXPECT_THAT(look.entries, ElementsAre(kPlaceholderEntry));
    EXPECT_EQ(look.selection, 0);
}

TEST_F(MapListFolderTest, UnreadableFolderShowsOnlyThePlaceholder)
{
    WriteFile(mapDir + "/castle.map", "castle");
    ASSERT_EQ(chmod(mapDir.c_str(), 0), 0);
    ActAsOrdinaryUser();
    Store("MapDir", mapDir);

    MainDialogLook look = LookAtStart();

    EXPECT_THAT(look.entries, ElementsAre(kPlaceholderEntry));
    EXPECT_THAT(view.messageBoxes, IsEmpty());
}

TEST_F(MapListFolderTest, PlainFileAsFolderShowsOnlyThePlaceholder)
{
    WriteFile(root + "/plain.map", "not a folder");
    Store("MapDir", root + "/plain.map");

    MainDialogLook look = LookAtStart();

    EXPECT_THAT(look.entries, ElementsAre(kPlaceholderEntry));
}

TEST_F(MapListFolderTest, OddNamesAreListedWithoutHarm)
{
    WriteFile(mapDir + "/\xC9T\xC9.map", "latin-1");
    WriteFile(mapDir + "/two\nlines.map", "newline");
    WriteFile(mapDir + "/\xff\xfe.map", "bytes");
    Store("MapDir", mapDir);

    MainDialogLook look = LookAtStart();

    ASSERT_THAT(look.entries, SizeIs(3));
    EXPECT_THAT(look.entries, ::testing::Contains("two\nlines"));
    EXPECT_EQ(look.selection, 0);
    for (const std::string& entry : look.entries)
        EXPECT_EQ(entry.find('T'), std::string::npos) << "ASCII letters are lower-cased";
}

TEST_F(MapListFolderTest, OnlyLevelFilesLeaveNothingToInstall)
{
    WriteFile(mapDir + "/E1L1.MAP", "level");
    WriteFile(gameDir + "/Duke3d.Exe", "game");
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    WhileOpen([](HWND dialog) { Click(dialog, IDOK); });

    RunProgram();

    EXPECT_THAT(MessageTexts(), ElementsAre(kNoMapFolderMessage));
    EXPECT_THAT(FolderEntries(gameDir), ElementsAre("Duke3d.Exe"));
    EXPECT_EQ(Stored("Current Map"), "");
}

TEST_F(MapListFolderTest, RebuildReadsTheDiskAgainAndSelectsTheFirstEntry)
{
    WriteFile(mapDir + "/castle.map", "castle");
    WriteFile(mapDir + "/docks.map", "docks");
    Store("MapDir", mapDir);
    view.folderAnswers = { std::nullopt, std::nullopt };
    MainDialogLook moved;
    MainDialogLook rebuilt;
    MainDialogLook again;
    WhileOpen([&](HWND dialog) {
        host::SelectListItem(GetDlgItem(dialog, IDC_MAPLIST), 1);
        moved = LookAt(dialog);
        WriteFile(mapDir + "/arena.map", "arena");
        Click(dialog, IDC_BROWSE_MAPDIR);
        rebuilt = LookAt(dialog);
        host::SelectListItem(GetDlgItem(dialog, IDC_MAPLIST), 2);
        Click(dialog, IDC_BROWSE_EXEDIR);
        again = LookAt(dialog);
    });

    RunProgram();

    EXPECT_EQ(moved.selection, 1);
    EXPECT_THAT(rebuilt.entries, ElementsAre("arena", "castle", "docks"));
    EXPECT_EQ(rebuilt.selection, 0);
    EXPECT_THAT(again.entries, ElementsAre("arena", "castle", "docks"));
    EXPECT_EQ(again.selection, 0);
}

}  // namespace
