// Choosing the two folders with the folder picker: what each outcome leaves
// in the boxes, the settings and the list, and how the game folder is probed.
#include "DialogFixture.h"

#include <filesystem>

#include <gmock/gmock.h>

#include "DialogManager.h"
#include "resource.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const char kMapTitle[] = "Where can I find your Duke3d .Map Files Dude?";
const char kGameTitle[] = "Where can I find your Duke3d Exe Files Dude?";

// What the list shows for the root folder, by a look of our own at it.
std::vector<std::string> RootFolderEntries()
{
    std::vector<std::string> entries;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/", error)) {
        std::string name = entry.path().filename().string();
        if (name.size() >= 4 && strcasecmp(name.c_str() + name.size() - 4, ".map") == 0)
            entries.push_back(name);
    }
    if (entries.empty())
        entries.push_back(kPlaceholderEntry);
    return entries;
}

class FolderSelectionTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        WriteFile(mapDir + "/castle.map", "castle");
        WriteFile(gameDir + "/Duke3d.Exe", "game");
        NewFolder("maps2");
        WriteFile(root + "/maps2/docks.map", "docks");
        NewFolder("game2");
        WriteFile(root + "/game2/Duke3d.Exe", "game");
        NewFolder("empty");
    }

    std::string Path(const std::string& name) const { return name.empty() ? "" : root + "/" + name; }

    std::vector<std::string> PickerTitles() const
    {
        std::vector<std::string> titles;
        for (const auto& picker : view.folderPickers)
            titles.push_back(picker.title);
        return titles;
    }

    // Runs the program, clicks the buttons in turn and looks at the end.
    MainDialogLook ClickThrough(const std::vector<int>& buttons)
    {
        MainDialogLook look;
        WhileOpen([&](HWND dialog) {
            for (int button : buttons)
                Click(dialog, button);
            look = LookAt(dialog);
            for (const auto& picker : view.folderPickers)
                EXPECT_EQ(picker.owner, dialog);
        });
        RunProgram();
        return look;
    }
};

struct OutcomeCase {
    const char* name;
    std::vector<int> buttons;
    std::vector<std::optional<std::string>> answers;  // folder names in the test's tree
    std::vector<std::string> titles;
    std::vector<std::string> messages;
    std::string mapDir;  // shown and stored
    std::string exeDir;
    std::vector<std::string> entries;
};

void PrintTo(const OutcomeCase& c, std::ostream* os)
{
    *os << c.name;
}

class FolderOutcomeTest : public FolderSelectionTest, public ::testing::WithParamInterface<OutcomeCase> {};

TEST_P(FolderOutcomeTest, LeavesBoxesSettingsAndList)
{
    const OutcomeCase& c = GetParam();
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    for (const auto& answer : c.answers)
        view.folderAnswers.push_back(answer ? std::optional<std::string>(Path(*answer)) : std::nullopt);
    std::optional<std::string> settingsBefore = SettingsBytes();

    MainDialogLook look = ClickThrough(c.buttons);

    EXPECT_EQ(PickerTitles(), c.titles);
    EXPECT_EQ(MessageTexts(), c.messages);
    EXPECT_EQ(look.mapBox, Path(c.mapDir));
    EXPECT_EQ(look.exeBox, Path(c.exeDir));
    EXPECT_EQ(Stored("MapDir"), Path(c.mapDir));
    EXPECT_EQ(Stored("ExeDir"), Path(c.exeDir));
    EXPECT_EQ(look.entries, c.entries);
    EXPECT_EQ(look.selection, 0);
    if (Path(c.mapDir) == mapDir && Path(c.exeDir) == gameDir) {
        EXPECT_EQ(SettingsBytes(), settingsBefore);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FolderOutcomeTest,
    ::testing::Values(
        OutcomeCase{ "MapCancel", { IDC_BROWSE_MAPDIR }, { std::nullopt }, { kMapTitle }, {}, "maps", "game",
                     { "castle" } },
        OutcomeCase{ "GameCancel", { IDC_BROWSE_EXEDIR }, { std::nullopt }, { kGameTitle }, {}, "maps", "game",
                     { "castle" } },
        OutcomeCase{ "MapChosen", { IDC_BROWSE_MAPDIR }, { "maps2" }, { kMapTitle }, {}, "maps2", "game",
                     { "docks" } },
        OutcomeCase{ "GameAccepted", { IDC_BROWSE_EXEDIR }, { "game2" }, { kGameTitle }, {}, "maps", "game2",
                     { "castle" } },
        OutcomeCase{ "GameRefused", { IDC_BROWSE_EXEDIR }, { "empty" }, { kGameTitle }, { kNoGameHereMessage },
                     "maps", "game", { "castle" } },
        // The refused folder leaves the previous one, so the map choice
        // after it keeps the stored game folder.
        OutcomeCase{ "GameRefusedThenMapChosen", { IDC_BROWSE_EXEDIR, IDC_BROWSE_MAPDIR }, { "empty", "maps2" },
                     { kGameTitle, kMapTitle }, { kNoGameHereMessage }, "maps2", "game", { "docks" } },
        OutcomeCase{ "MapFolderWithoutMaps", { IDC_BROWSE_MAPDIR }, { "empty" }, { kMapTitle }, {}, "empty", "game",
                     { kPlaceholderEntry } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FolderSelectionTest, CancelShowsTheFolderAgainOverTypedText)
{
    Store("MapDir", mapDir);
    view.folderAnswers = { std::nullopt };
    MainDialogLook look;
    WhileOpen([&](HWND dialog) {
        host::TypeText(GetDlgItem(dialog, IDC_MAPDIR), "/typed/here");
        Click(dialog, IDC_BROWSE_MAPDIR);
        look = LookAt(dialog);
    });

    RunProgram();

    EXPECT_EQ(look.mapBox, mapDir);
    EXPECT_EQ(Stored("MapDir"), mapDir);
}

TEST_F(FolderSelectionTest, FirstChoiceStoresTheOtherFolderEmpty)
{
    view.folderAnswers = { mapDir };
    ClickThrough({ IDC_BROWSE_MAPDIR });

    EXPECT_EQ(Stored("MapDir"), mapDir);
    EXPECT_EQ(Stored("ExeDir"), "");
    std::optional<std::string> settings = SettingsBytes();
    ASSERT_TRUE(settings.has_value());
    EXPECT_NE(settings->find("\nExeDir=\n"), std::string::npos) << *settings;
}

// With no map folder the list comes from the root folder.
TEST_F(FolderSelectionTest, GameChoiceWithoutMapFolderListsTheRootFolder)
{
    view.folderAnswers = { gameDir };
    MainDialogLook look = ClickThrough({ IDC_BROWSE_EXEDIR });

    EXPECT_EQ(Stored("ExeDir"), gameDir);
    EXPECT_EQ(Stored("MapDir"), "");
    EXPECT_EQ(look.mapBox, "");
    std::vector<std::string> expected = RootFolderEntries();
    if (expected.size() == 1 && expected[0] == kPlaceholderEntry) {
        EXPECT_THAT(look.entries, ElementsAre(kPlaceholderEntry));
    } else {
        EXPECT_EQ(look.entries.size(), expected.size());
    }
}

TEST_F(FolderSelectionTest, RootFolderAsMapFolderIsUsedUnchanged)
{
    view.folderAnswers = { std::string("/") };
    MainDialogLook look = ClickThrough({ IDC_BROWSE_MAPDIR });

    EXPECT_EQ(Stored("MapDir"), "/");
    EXPECT_EQ(look.mapBox, "/");
    std::vector<std::string> expected = RootFolderEntries();
    if (expected.size() == 1 && expected[0] == kPlaceholderEntry) {
        EXPECT_THAT(look.entries, ElementsAre(kPlaceholderEntry));
    } else {
        EXPECT_EQ(look.entries.size(), expected.size());
    }
}

struct ProbeCase {
    const char* name;
    const char* entry;  // a trailing '/' makes a folder; empty: nothing
    bool bAccepted;
};

void PrintTo(const ProbeCase& c, std::ostream* os)
{
    *os << c.name;
}

class GameProbeTest : public FolderSelectionTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(GameProbeTest, AcceptsOnlyAFolderHoldingTheGame)
{
    const ProbeCase& c = GetParam();
    std::string probe = NewFolder("probe");
    std::string entry = c.entry;
    if (!entry.empty() && entry.back() == '/')
        MakeFolder(probe + "/" + entry.substr(0, entry.size() - 1));
    else if (!entry.empty())
        WriteFile(probe + "/" + entry, "game");
    Store("ExeDir", gameDir);
    view.folderAnswers = { probe };

    MainDialogLook look = ClickThrough({ IDC_BROWSE_EXEDIR });

    std::string expected = c.bAccepted ? probe : gameDir;
    EXPECT_EQ(look.exeBox, expected);
    EXPECT_EQ(Stored("ExeDir"), expected);
    if (c.bAccepted) {
        EXPECT_THAT(view.messageBoxes, IsEmpty());
    } else {
        EXPECT_THAT(MessageTexts(), ElementsAre(kNoGameHereMessage));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Probes, GameProbeTest,
    ::testing::Values(ProbeCase{ "AsNamed", "Duke3d.Exe", true },
                      ProbeCase{ "UpperCase", "DUKE3D.EXE", true },
                      ProbeCase{ "LowerCase", "duke3d.exe", true },
                      ProbeCase{ "SubFolderOfThatName", "Duke3d.Exe/", true },
                      ProbeCase{ "EmptyFolder", "", false },
                      ProbeCase{ "OtherExtension", "Duke3d.Exe.bak", false },
                      ProbeCase{ "NoExtension", "Duke3d", false }),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
