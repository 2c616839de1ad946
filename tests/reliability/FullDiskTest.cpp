// A full file system under the settings store and the install copy: the
// write fails with the disk's error and what was there before stays whole.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <optional>
#include <vector>
#include <string>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DialogFixture.h"
#include "SettingsFile.h"
#include "resource.h"

namespace {

constexpr char kSection[] = "Levrin";

class FullDiskTest : public DialogFixture {
protected:
    void SetUp() override
    {
        DialogFixture::SetUp();
        disk = NewFolder("disk");
        if (mount("levrin-full", disk.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k,mode=0700") != 0)
            GTEST_SKIP() << "no small tmpfs can be mounted here: " << std::strerror(errno);
        m_bMounted = true;
    }
    void TearDown() override
    {
        if (m_bMounted && umount(disk.c_str()) != 0)
            ADD_FAILURE() << "cannot unmount " << disk;
        DialogFixture::TearDown();
    }

    // Fills what is left of the disk.
    void FillDisk() const
    {
        int fd = open((disk + "/filler").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        std::string block(4096, 'f');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        int error = errno;
        close(fd);
        ASSERT_EQ(error, ENOSPC);
    }

    std::string disk;

private:
    bool m_bMounted = false;
};

TEST_F(FullDiskTest, SettingsStoreKeepsThePreviousFile)
{
    std::string path = disk + "/levrin.conf";
    host::SettingsFile file(path);
    ASSERT_EQ(file.WriteValue(kSection, "MapDir", std::string("/maps/old") + '\0'), 0);
    ASSERT_EQ(file.WriteValue(kSection, "ExeDir", std::string("/games/duke3d") + '\0'), 0);
    std::optional<std::string> before = ReadFile(path);
    ASSERT_TRUE(before);
    FillDisk();

    EXPECT_EQ(file.WriteValue(kSection, "MapDir", std::string(64 * 1024, 'n') + '\0'), ENOSPC);

    EXPECT_EQ(ReadFile(path), before);
    std::string data;
    bool bFound = false;
    ASSERT_EQ(file.ReadValue(kSection, "MapDir", &data, &bFound), 0);
    EXPECT_EQ(data, std::string("/maps/old") + '\0');
    std::vector<std::string> names = FolderEntries(disk);
    EXPECT_EQ(names, (std::vector<std::string>{ ".levrin.conf.lock", "filler", "levrin.conf" }))
        << "no temporary file left behind";
}

TEST_F(FullDiskTest, InstallKeepsTheInstalledLevelAndShowsTheDiskError)
{
    WriteFile(mapDir + "/big.map", std::string(512 * 1024, 'b'));
    WriteFile(disk + "/e1l1.map", "the installed level");
    Store("MapDir", mapDir);
    Store("ExeDir", disk);
    Store("Current Map", "old");
    FillDisk();

    WhileOpen([](HWND dialog) { Click(dialog, IDOK); });
    RunProgram();

    EXPECT_EQ(MessageTexts(), std::vector<std::string>{ SystemText(ENOSPC) });
    EXPECT_EQ(ReadFile(disk + "/e1l1.map"), std::string("the installed level"));
    EXPECT_EQ(FolderEntries(disk), (std::vector<std::string>{ "e1l1.map", "filler" }));
    EXPECT_EQ(Stored("Current Map"), "old");
}

}  // namespace
