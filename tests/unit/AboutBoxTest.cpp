// The About box: its system-menu item, which commands open it, the figures
// it measures at each opening, and the pure figure helpers.
#include "DialogFixture.h"

#include <cerrno>

#include <gmock/gmock.h>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>

#include "AboutFigures.h"
#include "DialogManager.h"
#include "resource.h"

using ::testing::ElementsAre;

namespace {

struct AboutLook {
    bool bOpened = false;
    std::string memory;
    std::string disk;
};

std::string MachineMemoryLine()
{
    struct sysinfo info;
    EXPECT_EQ(sysinfo(&info), 0);
    unsigned long long bytes = static_cast<unsigned long long>(info.totalram) * info.mem_unit;
    return std::to_string(bytes >> 10) + " KB";
}

unsigned long long FreeKilobytesHere()
{
    struct statvfs fs;
    EXPECT_EQ(statvfs(".", &fs), 0);
    return static_cast<unsigned long long>(fs.f_bavail) * fs.f_frsize >> 10;
}

class AboutBoxTest : public DialogFixture {
protected:
    // Queues a script for the About box that reads its figures and presses OK.
    void LookAtAbout(AboutLook* pLook)
    {
        WhileOpen([pLook](HWND about) {
            pLook->bOpened = true;
            pLook->memory = ControlText(about, IDC_PHYSICAL_MEM);
            pLook->disk = ControlText(about, IDC_DISK_SPACE);
            Click(about, IDOK);
            EXPECT_TRUE(about->ended);
        });
    }

    // The disk line, given that the free space was measured between two
    // looks of our own; others may write to the disk meanwhile.
    static void ExpectDiskLine(const std::string& line, unsigned long long before, unsigned long long after)
    {
        const std::string suffix = " KB Free on @:";
        ASSERT_GT(line.size(), suffix.size()) << line;
        ASSERT_EQ(line.substr(line.size() - suffix.size()), suffix);
        unsigned long long shown = std::stoull(line.substr(0, line.size() - suffix.size()));
        EXPECT_GE(shown, std::min(before, after));
        EXPECT_LE(shown, std::max(before, after));
    }
};

TEST_F(AboutBoxTest, SystemMenuEndsWithTheAboutItem)
{
    std::vector<HostMenu::Item> items;
    WhileOpen([&](HWND dialog) {
        ASSERT_NE(dialog->systemMenu, nullptr);
        items = dialog->systemMenu->items;
    });

    RunProgram();

    ASSERT_GE(items.size(), 2u);
    const HostMenu::Item& separator = items[items.size() - 2];
    const HostMenu::Item& about = items.back();
    EXPECT_EQ(separator.flags & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(about.flags & MF_SEPARATOR, 0u);
    EXPECT_EQ(about.id, static_cast<UINT_PTR>(IDM_ABOUTBOX));
    EXPECT_EQ(about.text, "&About Levrin...");
}

class AboutCommandTest : public AboutBoxTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(AboutCommandTest, OpensTheBoxWithTheMachinesFigures)
{
    AboutLook look;
    unsigned long long freeBefore = 0;
    unsigned long long freeAfter = 0;
    bool bMainStillOpen = false;
    WhileOpen([&](HWND dialog) {
        freeBefore = FreeKilobytesHere();
        host::SystemCommand(dialog, GetParam());
        freeAfter = FreeKilobytesHere();
        bMainStillOpen = !dialog->ended;
    });
    LookAtAbout(&look);

    RunProgram();

    ASSERT_TRUE(look.bOpened);
    EXPECT_EQ(look.memory, MachineMemoryLine());
    ExpectDiskLine(look.disk, freeBefore, freeAfter);
    EXPECT_TRUE(bMainStillOpen);
    EXPECT_EQ(view.dialogsShown.size(), 2u);
}

// The low four bits of a system command are the system's own.
INSTANTIATE_TEST_SUITE_P(Commands, AboutCommandTest, ::testing::Values(0x0010u, 0x0013u, 0x001Fu));

TEST_F(AboutBoxTest, OpeningTwiceMeasuresTwice)
{
    AboutLook first;
    AboutLook second;
    WhileOpen([](HWND dialog) {
        host::SystemCommand(dialog, IDM_ABOUTBOX);
        host::SystemCommand(dialog, IDM_ABOUTBOX);
    });
    LookAtAbout(&first);
    LookAtAbout(&second);

    RunProgram();

    ASSERT_TRUE(first.bOpened);
    ASSERT_TRUE(second.bOpened);
    EXPECT_EQ(second.memory, MachineMemoryLine());
    EXPECT_FALSE(second.disk.empty());
    EXPECT_EQ(view.dialogsShown.size(), 3u);
}

TEST_F(AboutBoxTest, MainDialogTakesNoInputWhileTheBoxIsOpen)
{
    Store("ExeDir", gameDir);
    HWND main = nullptr;
    bool bAboutOpen = false;
    WhileOpen([&](HWND dialog) {
        main = dialog;
        host::SystemCommand(dialog, IDM_ABOUTBOX);
        Click(dialog, IDC_KILL_LEVEL);
    });
    WhileOpen([&](HWND about) {
        bAboutOpen = true;
        EXPECT_EQ(host::ActiveDialog(), about);
        Click(main, IDC_KILL_LEVEL);
        host::PressKey(main, host::DialogKey::Escape, false, false, false);
        EXPECT_FALSE(main->ended);
        host::PressKey(about, host::DialogKey::Escape, false, false, false);
        EXPECT_TRUE(about->ended);
    });

    RunProgram();

    EXPECT_TRUE(bAboutOpen);
    // Only the click after the box closed reached the main dialog.
    EXPECT_THAT(MessageTexts(), ElementsAre(SystemText(ENOENT)));
}

TEST_F(AboutBoxTest, OtherSystemCommandsKeepTheirEffect)
{
    AboutLook about;
    bool bIconic = false;
    bool bEnded = false;
    WhileOpen([&](HWND dialog) {
        host::SystemCommand(dialog, SC_MINIMIZE);
        bIconic = IsIconic(dialog) != FALSE;
        host::SystemCommand(dialog, SC_RESTORE);
        host::SystemCommand(dialog, SC_CLOSE);
        bEnded = dialog->ended;
    });
    LookAtAbout(&about);

    RunProgram();

    EXPECT_FALSE(about.bOpened);
    EXPECT_TRUE(bIconic);
    EXPECT_TRUE(bEnded);
    EXPECT_EQ(view.dialogsShown.size(), 1u);
    view.whileModal.clear();
}

TEST(AboutFiguresTest, DriveNumberOfTheCurrentDirectory)
{
    struct {
        const char* directory;
        DWORD length;
        int drive;
    } cases[] = {
        { "C:\\GAMES", 8, 3 },
        { "c:\\x", 4, 3 },
        { "a:", 2, 1 },
        { "Z:\\", 3, 26 },
        { "\\\\server\\share", 14, 0 },
        { "/home/duke", 10, 0 },
        { "", 0, 0 },
        // A failed read: whatever the buffer holds does not count.
        { "C:\\stale", 0, 0 },
    };
    for (const auto& c : cases)
        EXPECT_EQ(DriveNumberOfDirectory(c.directory, c.length), c.drive) << c.directory;
}

TEST(AboutFiguresTest, LinesFromTheResourceFormats)
{
    CString memoryFormat;
    CString diskFormat;
    ASSERT_TRUE(memoryFormat.LoadString(IDS_PHYSICAL_MEM));
    ASSERT_TRUE(diskFormat.LoadString(IDS_DISK_SPACE));

    EXPECT_EQ(FormatMemoryLine(memoryFormat, 16ull << 20).Str(), "16384 KB");
    // More than 4 GB of memory, in KB past 32 bits as well.
    EXPECT_EQ(FormatMemoryLine(memoryFormat, 64ull << 40).Str(), "68719476736 KB");
    EXPECT_EQ(FreeBytes(1572864, 8, 512), 6442450944ull);
    EXPECT_EQ(FormatDiskLine(diskFormat, FreeBytes(1572864, 8, 512), 3).Str(), "6291456 KB Free on C:");
    EXPECT_EQ(FormatDiskLine(diskFormat, FreeBytes(0xFFFFFFFFu, 128, 4096), 26).Str(),
              "2199023255040 KB Free on Z:");
    EXPECT_EQ(FormatDiskLine(diskFormat, 1023, 0).Str(), "0 KB Free on @:");
}

}  // namespace
