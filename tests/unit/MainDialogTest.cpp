// The main dialog as the program starts it: what it shows from the stored
// settings, how it ends, and that typed folder text changes nothing.
#include "DialogFixture.h"

#include <gmock/gmock.h>

#include "DialogManager.h"
#include "MapSelectApp.h"
#include "resource.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

class MainDialogTest : public DialogFixture {};

TEST_F(MainDialogTest, FirstStartShowsNothingAndAsksForTheGameFolder)
{
    HWND shown = nullptr;
    MainDialogLook look;
    bool bFocusOnSetMap = false;
    bool bStillOpen = false;
    WhileOpen([&](HWND dialog) {
        shown = dialog;
        look = LookAt(dialog);
        bFocusOnSetMap = GetFocus() == GetDlgItem(dialog, IDOK);
        host::PressKey(dialog, host::DialogKey::Enter, false, false, false);
        Click(dialog, IDOK);
        Click(dialog, IDC_KILL_LEVEL);
        bStillOpen = !dialog->ended;
        EXPECT_NE(dialog->icons[ICON_BIG], nullptr);
        EXPECT_EQ(dialog->icons[ICON_SMALL], dialog->icons[ICON_BIG]);
    });
    RunProgram();

    EXPECT_EQ(look.mapBox, "");
    EXPECT_EQ(look.exeBox, "");
    EXPECT_EQ(look.label, "");
    EXPECT_THAT(look.entries, IsEmpty());
    EXPECT_EQ(look.selection, -1);
    EXPECT_TRUE(bFocusOnSetMap);
    EXPECT_TRUE(bStillOpen);
    EXPECT_THAT(MessageTexts(), ElementsAre(kNoGameFolderMessage, kNoGameFolderMessage, kNoGameFolderMessage));
    for (const auto& box : view.messageBoxes) {
        EXPECT_EQ(box.owner, shown);
        EXPECT_EQ(box.caption, "levrin");
        EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONEXCLAMATION);
    }
}

struct StoredCase {
    const char* name;
    bool bMapDir;
    bool bMapDirExists;
    bool bExeDir;
    const char* currentMap;  // null: not stored
    std::vector<std::string> entries;
    int selection;
};

void PrintTo(const StoredCase& c, std::ostream* os)
{
    *os << c.name;
}

class StoredSettingsTest : public DialogFixture, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredSettingsTest, AreShownAtStart)
{
    const StoredCase& c = GetParam();
    WriteFile(mapDir + "/Castle.map", "castle");
    WriteFile(mapDir + "/arena.MAP", "arena");
    std::string storedMapDir = c.bMapDirExists ? mapDir : MissingFolder();
    if (c.bMapDir)
        Store("MapDir", storedMapDir);
    if (c.bExeDir)
        Store("ExeDir", gameDir);
    if (c.currentMap)
        Store("Current Map", c.currentMap);

    MainDialogLook look = LookAtStart();

    EXPECT_EQ(look.mapBox, c.bMapDir ? storedMapDir : "");
    EXPECT_EQ(look.exeBox, c.bExeDir ? gameDir : "");
    EXPECT_EQ(look.label, c.currentMap ? c.currentMap : "");
    EXPECT_EQ(look.entries, c.entries);
    EXPECT_EQ(look.selection, c.selection);
    EXPECT_THAT(view.messageBoxes, IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Combinations, StoredSettingsTest,
    ::testing::Values(
        StoredCase{ "OnlyMapDir", true, true, false, nullptr, { "arena", "castle" }, 0 },
        StoredCase{ "OnlyExeDir", false, true, true, nullptr, {}, -1 },
        StoredCase{ "AllThree", true, true, true, "castle", { "arena", "castle" }, 0 },
        // Shown as stored, without a look at the disk.
        StoredCase{ "CurrentMapThatIsGone", false, true, true, "vanished", {}, -1 },
        StoredCase{ "MapDirThatIsGone", true, false, true, nullptr, { kPlaceholderEntry }, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

struct CloseCase {
    const char* name;
    std::function<void(HWND)> close;
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class ClosingTest : public DialogFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(ClosingTest, EndsTheDialogAndWritesNothing)
{
    WriteFile(mapDir + "/castle.map", "castle");
    WriteFile(gameDir + "/Duke3d.Exe", "game");
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    Store("Current Map", "castle");
    std::optional<std::string> before = SettingsBytes();
    ASSERT_TRUE(before.has_value());

    bool bEnded = false;
    WhileOpen([&](HWND dialog) {
        GetParam().close(dialog);
        bEnded = dialog->ended;
    });
    RunProgram();

    EXPECT_TRUE(bEnded);
    EXPECT_EQ(SettingsBytes(), before);
    EXPECT_THAT(view.messageBoxes, IsEmpty());
    EXPECT_THAT(FolderEntries(gameDir), ElementsAre("Duke3d.Exe"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ClosingTest,
    ::testing::Values(
        CloseCase{ "Exit", [](HWND dialog) { Click(dialog, IDCANCEL); } },
        CloseCase{ "Escape",
                   [](HWND dialog) { host::PressKey(dialog, host::DialogKey::Escape, false, false, false); } },
        CloseCase{ "CloseBox", [](HWND dialog) { host::RequestClose(dialog); } },
        CloseCase{ "SystemMenuClose", [](HWND dialog) { host::SystemCommand(dialog, SC_CLOSE); } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MainDialogTest, TypedFolderTextShowsLowerCasedAndChangesNothing)
{
    WriteFile(mapDir + "/castle.map", "castle bytes");
    WriteFile(gameDir + "/Duke3d.Exe", "game");
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    std::string elsewhere = NewFolder("elsewhere");
    MakeFolder(elsewhere + "/maps");
    WriteFile(elsewhere + "/maps/other.map", "other bytes");

    MainDialogLook typed;
    WhileOpen([&](HWND dialog) {
        host::TypeText(GetDlgItem(dialog, IDC_MAPDIR), root + "/ELSEWHERE/Maps");
        host::TypeText(GetDlgItem(dialog, IDC_EXEDIR), root + "/Elsewhere");
        typed = LookAt(dialog);
        Click(dialog, IDOK);
        Click(dialog, IDC_KILL_LEVEL);
    });
    RunProgram();
    MainDialogLook next = LookAtStart();

    EXPECT_EQ(typed.mapBox, root + "/elsewhere/maps");
    EXPECT_EQ(typed.exeBox, root + "/elsewhere");
    EXPECT_THAT(MessageTexts(),
                ElementsAre(InstalledMessage(mapDir + "/castle.map", gameDir + "/e1l1.map"), kDeletedMessage));
    EXPECT_THAT(FolderEntries(elsewhere), ElementsAre("maps"));
    EXPECT_EQ(Stored("MapDir"), mapDir);
    EXPECT_EQ(Stored("ExeDir"), gameDir);
    EXPECT_EQ(next.mapBox, mapDir);
    EXPECT_EQ(next.exeBox, gameDir);
}

struct HelpCase {
    const char* name;
    bool bPage;  // help/levrin.html beside the executable
    bool bViewerStarts;
    bool bShift;
    bool bControl;
    bool bAlt;
    bool bOpened;
    std::vector<std::string> messages;
};

void PrintTo(const HelpCase& c, std::ostream* os)
{
    *os << c.name;
}

class HelpTest : public DialogFixture, public ::testing::WithParamInterface<HelpCase> {};

TEST_P(HelpTest, F1OpensTheHelpPageBesideTheExecutable)
{
    const HelpCase& c = GetParam();
    std::string bin = NewFolder("bin");
    MakeFolder(bin + "/help");
    if (c.bPage)
        WriteFile(bin + "/help/levrin.html", "<p>help</p>");
    GetMapSelectApp()->SetUpFromModulePath((bin + "/levrin").c_str());
    view.helpStarts = c.bViewerStarts;
    WhileOpen([&](HWND dialog) { host::PressKey(dialog, host::DialogKey::F1, c.bShift, c.bControl, c.bAlt); });

    RunProgram();

    if (c.bOpened) {
        EXPECT_THAT(view.helpOpened, ElementsAre(bin + "/help/levrin.html"));
    } else {
        EXPECT_THAT(view.helpOpened, IsEmpty());
    }
    EXPECT_EQ(MessageTexts(), c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, HelpTest,
    ::testing::Values(HelpCase{ "Opens", true, true, false, false, false, true, {} },
                      HelpCase{ "ViewerFails", true, false, false, false, false, true, { "Failed to launch help." } },
                      HelpCase{ "NoHelpPage", false, true, false, false, false, false, { "Failed to launch help." } },
                      HelpCase{ "WithShift", true, true, true, false, false, false, {} },
                      HelpCase{ "WithControl", true, true, false, true, false, false, {} },
                      HelpCase{ "WithAlt", true, true, false, false, true, false, {} }),
    [](const auto& info) { return std::string(info.param.name); });

struct PlacementCase {
    const char* name;
    RECT workArea;
    bool bFits;
};

void PrintTo(const PlacementCase& c, std::ostream* os)
{
    *os << c.name;
}

class PlacementTest : public DialogFixture, public ::testing::WithParamInterface<PlacementCase> {};

TEST_P(PlacementTest, OpensCentredOnTheWorkArea)
{
    const RECT& work = GetParam().workArea;
    view.workArea = work;
    RECT window = {};
    WhileOpen([&](HWND dialog) { GetWindowRect(dialog, &window); });

    RunProgram();

    LONG width = window.right - window.left;
    LONG height = window.bottom - window.top;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    if (GetParam().bFits) {
        EXPECT_EQ(window.left, (work.left + work.right) / 2 - width / 2);
        EXPECT_EQ(window.top, (work.top + work.bottom) / 2 - height / 2);
    } else {
        // Larger than the area: its left and top edges stay on the area's.
        EXPECT_EQ(window.left, work.left);
        EXPECT_EQ(window.top, work.top);
    }
}

INSTANTIATE_TEST_SUITE_P(Areas, PlacementTest,
                         ::testing::Values(PlacementCase{ "Screen", { 0, 0, 1024, 768 }, true },
                                           PlacementCase{ "BesidePanels", { 100, 40, 1380, 1010 }, true },
                                           PlacementCase{ "TooSmall", { 20, 10, 120, 90 }, false }),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
