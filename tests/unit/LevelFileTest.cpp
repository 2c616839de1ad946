// Installing the selected map over the level file and removing it: the
// guards, the copy, what is recorded, and every way a copy can fail.
#include "DialogFixture.h"

#include <cerrno>
#include <filesystem>

#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DialogManager.h"
#include "FileFaults.h"
#include "resource.h"

using ::testing::ElementsAre;

namespace {

enum class Trigger { SetMap, Enter, DoubleClick };

void Install(HWND dialog, Trigger trigger, int index)
{
    HWND list = GetDlgItem(dialog, IDC_MAPLIST);
    switch (trigger) {
    case Trigger::SetMap:
        host::SelectListItem(list, index);
        Click(dialog, IDOK);
        break;
    case Trigger::Enter:
        host::SelectListItem(list, index);
        host::PressKey(dialog, host::DialogKey::Enter, false, false, false);
        break;
    case Trigger::DoubleClick:
        host::DoubleClickListItem(list, index);
        break;
    }
}

// Bytes that a text copy or a cut at a zero byte would spoil.
std::string MapBytes(char seed, size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + static_cast<size_t>(seed)) % 256);
    return bytes;
}

class LevelFileTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        WriteFile(gameDir + "/Duke3d.Exe", "game");
        WriteFile(gameDir + "/e1l1.map", "old level");
        Store("Current Map", "old");
    }

    void StoreBothFolders() const
    {
        Store("MapDir", mapDir);
        Store("ExeDir", gameDir);
    }

    // Runs the program, does one install and returns the label after it.
    std::string InstallOnce(Trigger trigger, int index)
    {
        std::string label;
        WhileOpen([&](HWND dialog) {
            Install(dialog, trigger, index);
            label = ControlText(dialog, IDC_CURRENT_MAP);
            EXPECT_FALSE(dialog->ended);
        });
        RunProgram();
        return label;
    }
};

struct GuardCase {
    const char* name;
    bool bMapDir;
    bool bExeDir;
    bool bMaps;  // the map folder holds a map
    std::vector<Trigger> triggers;
    std::vector<std::string> messages;
};

void PrintTo(const GuardCase& c, std::ostream* os)
{
    *os << c.name;
}

class LevelFileGuardTest : public LevelFileTest, public ::testing::WithParamInterface<GuardCase> {};

TEST_P(LevelFileGuardTest, StopsWithItsMessageAndChangesNothing)
{
    const GuardCase& c = GetParam();
    if (c.bMaps)
        WriteFile(mapDir + "/castle.map", "castle");
    if (c.bMapDir)
        Store("MapDir", mapDir);
    if (c.bExeDir)
        Store("ExeDir", gameDir);
    std::optional<std::string> settingsBefore = SettingsBytes();
    std::string label;
    WhileOpen([&](HWND dialog) {
        for (Trigger trigger : c.triggers)
            Install(dialog, trigger, 0);
        label = ControlText(dialog, IDC_CURRENT_MAP);
    });

    RunProgram();

    EXPECT_EQ(MessageTexts(), c.messages);
    EXPECT_EQ(label, "old");
    EXPECT_EQ(SettingsBytes(), settingsBefore);
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "old level");
    EXPECT_THAT(FolderEntries(gameDir), ElementsAre("Duke3d.Exe", "e1l1.map"));
}

INSTANTIATE_TEST_SUITE_P(
    Guards, LevelFileGuardTest,
    ::testing::Values(
        GuardCase{ "NeitherFolder", false, false, false, { Trigger::SetMap, Trigger::Enter },
                   { kNoGameFolderMessage, kNoGameFolderMessage } },
        // The game folder is asked for first, even with maps listed.
        GuardCase{ "OnlyMapFolder", true, false, true, { Trigger::SetMap, Trigger::Enter, Trigger::DoubleClick },
                   { kNoGameFolderMessage, kNoGameFolderMessage, kNoGameFolderMessage } },
        GuardCase{ "NoMapFolderYet", false, true, false, { Trigger::SetMap, Trigger::Enter },
                   { kNoMapFolderMessage, kNoMapFolderMessage } },
        // The placeholder is never installed.
        GuardCase{ "Placeholder", true, true, false, { Trigger::SetMap, Trigger::DoubleClick },
                   { kNoMapFolderMessage, kNoMapFolderMessage } }),
    [](const auto& info) { return std::string(info.param.name); });

class LevelFileTriggerTest : public LevelFileTest, public ::testing::WithParamInterface<Trigger> {};

TEST_P(LevelFileTriggerTest, InstallsTheSelectedMap)
{
    std::string castle = MapBytes('c', 300 * 1024);
    WriteFile(mapDir + "/arena.map", MapBytes('a', 1000));
    WriteFile(mapDir + "/castle.map", castle);
    StoreBothFolders();

    std::string label = InstallOnce(GetParam(), 1);

    EXPECT_THAT(MessageTexts(), ElementsAre(InstalledMessage(mapDir + "/castle.map", gameDir + "/e1l1.map")));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), castle);
    EXPECT_THAT(FolderEntries(gameDir), ElementsAre("Duke3d.Exe", "e1l1.map"));
    EXPECT_EQ(Stored("Current Map"), "castle");
    EXPECT_EQ(label, "castle");
    EXPECT_EQ(ReadFile(mapDir + "/castle.map"), castle);
}

std::string TriggerName(const ::testing::TestParamInfo<Trigger>& info)
{
    switch (info.param) {
    case Trigger::SetMap:
        return "SetMap";
    case Trigger::Enter:
        return "Enter";
    case Trigger::DoubleClick:
        return "DoubleClick";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Ways, LevelFileTriggerTest,
                         ::testing::Values(Trigger::SetMap, Trigger::Enter, Trigger::DoubleClick), TriggerName);

TEST_F(LevelFileTest, LongPathsAreShownWhole)
{
    std::string deepMaps = NewFolder(std::string(200, 'm'));
    deepMaps += "/" + std::string(150, 'n');
    MakeFolder(deepMaps);
    std::string deepGame = NewFolder(std::string(200, 'g'));
    deepGame += "/" + std::string(150, 'h');
    MakeFolder(deepGame);
    WriteFile(deepMaps + "/castle.map", "castle");
    WriteFile(deepGame + "/Duke3d.Exe", "game");
    Store("MapDir", deepMaps);
    Store("ExeDir", deepGame);

    InstallOnce(Trigger::SetMap, 0);

    ASSERT_THAT(MessageTexts(), ElementsAre(InstalledMessage(deepMaps + "/castle.map", deepGame + "/e1l1.map")));
    EXPECT_GT(view.messageBoxes[0].text.size(), 620u);
    EXPECT_EQ(ReadFile(deepGame + "/e1l1.map"), "castle");
}

TEST_F(LevelFileTest, SourceIsFoundIgnoringCaseAndExactCaseWins)
{
    WriteFile(mapDir + "/Arena.MAP", "arena any case");
    WriteFile(mapDir + "/castle.map", "castle exact");
    WriteFile(mapDir + "/CASTLE.MAP", "castle upper");
    StoreBothFolders();
    WhileOpen([](HWND dialog) {
        EXPECT_THAT(ListEntries(dialog, IDC_MAPLIST), ElementsAre("arena", "castle", "castle"));
        Install(dialog, Trigger::SetMap, 0);
        EXPECT_EQ(ReadFile(ControlText(dialog, IDC_EXEDIR) + "/e1l1.map"), "arena any case");
        Install(dialog, Trigger::SetMap, 2);
    });

    RunProgram();

    EXPECT_THAT(MessageTexts(), ElementsAre(InstalledMessage(mapDir + "/arena.map", gameDir + "/e1l1.map"),
                                            InstalledMessage(mapDir + "/castle.map", gameDir + "/e1l1.map")));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "castle exact");
}

TEST_F(LevelFileTest, LevelFileIsReplacedInTheCaseItHas)
{
    ASSERT_EQ(unlink((gameDir + "/e1l1.map").c_str()), 0);
    WriteFile(gameDir + "/E1L1.MAP", "old level");
    WriteFile(mapDir + "/castle.map", "castle");
    StoreBothFolders();

    InstallOnce(Trigger::SetMap, 0);

    EXPECT_THAT(MessageTexts(), ElementsAre(InstalledMessage(mapDir + "/castle.map", gameDir + "/e1l1.map")));
    EXPECT_THAT(FolderEntries(gameDir), ElementsAre("Duke3d.Exe", "E1L1.MAP"));
    EXPECT_EQ(ReadFile(gameDir + "/E1L1.MAP"), "castle");
}

TEST_F(LevelFileTest, FolderEndingInASeparatorIsJoinedUnchanged)
{
    WriteFile(mapDir + "/castle.map", "castle");
    Store("MapDir", mapDir + "/");
    Store("ExeDir", gameDir + "/");

    InstallOnce(Trigger::SetMap, 0);

    EXPECT_THAT(MessageTexts(), ElementsAre(InstalledMessage(mapDir + "//castle.map", gameDir + "//e1l1.map")));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "castle");
}

// An error the system has no words for is still reported as a failure.
TEST_F(LevelFileTest, ErrorWithoutSystemTextShowsTheFallback)
{
    WriteFile(mapDir + "/castle.map", "castle");
    StoreBothFolders();
    host::SetCopyWriteFault(0, 4000);

    std::string label = InstallOnce(Trigger::SetMap, 0);
    host::SetCopyWriteFault(-1, 0);

    EXPECT_THAT(MessageTexts(), ElementsAre("The file operation failed (system error 4000)."));
    EXPECT_EQ(label, "old");
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "old level");
}

TEST_F(LevelFileTest, LinkedMapInstallsTheBytesItLinksTo)
{
    std::string elsewhere = NewFolder("elsewhere");
    WriteFile(elsewhere + "/real.map", "linked bytes");
    ASSERT_EQ(symlink((elsewhere + "/real.map").c_str(), (mapDir + "/castle.map").c_str()), 0);
    StoreBothFolders();

    InstallOnce(Trigger::SetMap, 0);

    EXPECT_THAT(MessageTexts(), ElementsAre(InstalledMessage(mapDir + "/castle.map", gameDir + "/e1l1.map")));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "linked bytes");
    struct stat st = {};
    ASSERT_EQ(lstat((gameDir + "/e1l1.map").c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode)) << "a copy, not a link";
}

// The no-maps mark lasts only until the next rebuild finds maps.
TEST_F(LevelFileTest, MapsFoundAfterThePlaceholderCanBeInstalled)
{
    StoreBothFolders();
    std::string maps2 = NewFolder("maps2");
    WriteFile(maps2 + "/docks.map", "docks");
    view.folderAnswers = { maps2 };
    WhileOpen([](HWND dialog) {
        Click(dialog, IDOK);
        Click(dialog, IDC_BROWSE_MAPDIR);
        Click(dialog, IDOK);
    });

    RunProgram();

    EXPECT_THAT(MessageTexts(),
                ElementsAre(kNoMapFolderMessage, InstalledMessage(maps2 + "/docks.map", gameDir + "/e1l1.map")));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "docks");
    EXPECT_EQ(Stored("Current Map"), "docks");
}

class LevelFileFailureTest;

struct FailureCase {
    const char* name;
    std::function<void(LevelFileFailureTest&)> arrange;
    int error;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

class LevelFileFailureTest : public LevelFileTest, public ::testing::WithParamInterface<FailureCase> {
protected:
    void TearDown() override
    {
        host::SetCopyWriteFault(-1, 0);
        LevelFileTest::TearDown();
    }

public:
    std::string& Maps() { return mapDir; }
    std::string& Game() { return gameDir; }
    void DropRights() { ActAsOrdinaryUser(); }
};

TEST_P(LevelFileFailureTest, ShowsTheSystemTextAndRecordsNothing)
{
    const FailureCase& c = GetParam();
    Store("MapDir", mapDir);
    Store("ExeDir", gameDir);
    GetParam().arrange(*this);
    std::vector<std::string> gameBefore = FolderEntries(gameDir);
    std::optional<std::string> levelBefore = ReadFile(gameDir + "/e1l1.map");

    std::string label = InstallOnce(Trigger::SetMap, 0);

    EXPECT_THAT(MessageTexts(), ElementsAre(SystemText(c.error)));
    EXPECT_EQ(Stored("Current Map"), "old");
    EXPECT_EQ(label, "old");
    EXPECT_EQ(FolderEntries(gameDir), gameBefore) << "no temporary file left behind";
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), levelBefore);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, LevelFileFailureTest,
    ::testing::Values(
        // The entry is cut to 15 characters; no file of that name exists.
        FailureCase{ "NameLongerThanFifteen",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/abcdefghijklmnopqr.map", "x");
                     },
                     ENOENT },
        FailureCase{ "FurtherDotInName",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/my.level.map", "x");
                     },
                     ENOENT },
        FailureCase{ "ReadOnlyLevelFile",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/castle.map", "castle");
                         ASSERT_EQ(chmod((f.Game() + "/e1l1.map").c_str(), 0444), 0);
                         f.DropRights();
                     },
                     EACCES },
        FailureCase{ "ReadOnlyGameFolder",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/castle.map", "castle");
                         ASSERT_EQ(chmod(f.Game().c_str(), 0555), 0);
                         f.DropRights();
                     },
                     EACCES },
        FailureCase{ "GameFolderGone",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/castle.map", "castle");
                         std::filesystem::remove_all(f.Game());
                     },
                     ENOENT },
        FailureCase{ "DiskFull",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/castle.map",
                                   MapBytes('c', 64 * 1024));
                         host::SetCopyWriteFault(4096, ENOSPC);
                     },
                     ENOSPC },
        // Listed like any match, but no file to copy; a FIFO must not block.
        FailureCase{ "SourceIsAFolder", [](LevelFileFailureTest& f) { MakeFolder(f.Maps() + "/extra.map"); },
                     EISDIR },
        FailureCase{ "SourceIsAFifo",
                     [](LevelFileFailureTest& f) { ASSERT_EQ(mkfifo((f.Maps() + "/pipe.map").c_str(), 0600), 0); },
                     EINVAL },
        FailureCase{ "SourceIsADanglingLink",
                     [](LevelFileFailureTest& f) {
                         ASSERT_EQ(symlink("nowhere.map", (f.Maps() + "/broken.map").c_str()), 0);
                     },
                     ENOENT },
        FailureCase{ "LevelFileIsAFolder",
                     [](LevelFileFailureTest& f) {
                         WriteFile(f.Maps() + "/castle.map", "castle");
                         ASSERT_EQ(unlink((f.Game() + "/e1l1.map").c_str()), 0);
                         MakeFolder(f.Game() + "/e1l1.map");
                     },
                     EISDIR }),
    [](const auto& info) { return std::string(info.param.name); });

class KillTest : public LevelFileTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KillTest, DeletesTheLevelFileOnceAndKeepsTheRecord)
{
    ASSERT_EQ(unlink((gameDir + "/e1l1.map").c_str()), 0);
    WriteFile(gameDir + "/" + GetParam(), "level");
    Store("ExeDir", gameDir);
    Store("Current Map", "castle");
    std::string label;
    WhileOpen([&](HWND dialog) {
        Click(dialog, IDC_KILL_LEVEL);
        Click(dialog, IDC_KILL_LEVEL);
        label = ControlText(dialog, IDC_CURRENT_MAP);
    });

    RunProgram();

    EXPECT_THAT(MessageTexts(), ElementsAre(kDeletedMessage, SystemText(ENOENT)));
    EXPECT_THAT(FolderEntries(gameDir), ElementsAre("Duke3d.Exe"));
    EXPECT_EQ(Stored("Current Map"), "castle");
    EXPECT_EQ(label, "castle");
}

INSTANTIATE_TEST_SUITE_P(LevelFileNames, KillTest, ::testing::Values("e1l1.map", "E1L1.MAP"),
                         [](const auto& info) { return info.index == 0 ? "LowerCase" : "UpperCase"; });

TEST_F(LevelFileTest, KillRefusesAReadOnlyLevelFile)
{
    ASSERT_EQ(chmod((gameDir + "/e1l1.map").c_str(), 0444), 0);
    Store("ExeDir", gameDir);
    WhileOpen([](HWND dialog) { Click(dialog, IDC_KILL_LEVEL); });

    RunProgram();

    EXPECT_THAT(MessageTexts(), ElementsAre(SystemText(EACCES)));
    EXPECT_EQ(ReadFile(gameDir + "/e1l1.map"), "old level");
}

}  // namespace
