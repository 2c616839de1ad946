// The Linux host's machine, process and disk figures in the Windows shapes.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include "Platform.h"

namespace {

TEST(PosixSystemInfoTest, TotalMemoryIsTheMachines)
{
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    ASSERT_TRUE(GlobalMemoryStatusEx(&status));
    struct sysinfo info;
    ASSERT_EQ(sysinfo(&info), 0);
    EXPECT_EQ(status.ullTotalPhys, static_cast<DWORDLONG>(info.totalram) * info.mem_unit);
    EXPECT_LE(status.ullAvailPhys, status.ullTotalPhys);
    EXPECT_LE(status.dwMemoryLoad, 100u);
    status.dwLength = 0;
    EXPECT_FALSE(GlobalMemoryStatusEx(&status));
}

TEST(PosixSystemInfoTest, FreeSpaceMultipliesOutToTheFileSystemsFigure)
{
    for (const char* path : { static_cast<const char*>(nullptr), "/tmp", "/" }) {
        DWORD sectorsPerCluster = 0;
        DWORD bytesPerSector = 0;
        DWORD freeClusters = 0;
        DWORD totalClusters = 0;
        ASSERT_TRUE(GetDiskFreeSpaceA(path, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
        struct statvfs fs;
        ASSERT_EQ(statvfs(path ? path : ".", &fs), 0);
        unsigned long long cluster = 1ull * sectorsPerCluster * bytesPerSector;
        EXPECT_EQ(cluster * freeClusters, 1ull * fs.f_bavail * fs.f_frsize) << (path ? path : "(current)");
        EXPECT_EQ(cluster * totalClusters, 1ull * fs.f_blocks * fs.f_frsize) << (path ? path : "(current)");
    }
    DWORD unused = 0;
    EXPECT_FALSE(GetDiskFreeSpaceA("/no/such/folder", &unused, &unused, &unused, &unused));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
}

TEST(PosixSystemInfoTest, ShortBuffersFollowTheWindowsRules)
{
    char cwd[4096];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    DWORD length = static_cast<DWORD>(std::string(cwd).size());
    char buffer[4096];
    EXPECT_EQ(GetCurrentDirectoryA(sizeof buffer, buffer), length);
    EXPECT_STREQ(buffer, cwd);
    std::string untouched(length, '#');
    EXPECT_EQ(GetCurrentDirectoryA(length, &untouched[0]), length + 1) << "the size needed, terminator included";
    EXPECT_EQ(untouched, std::string(length, '#'));

    char exe[4096] = {};
    ssize_t exeLength = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(exeLength, 4);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, sizeof buffer), static_cast<DWORD>(exeLength));
    EXPECT_STREQ(buffer, exe);
    EXPECT_EQ(GetModuleFileNameA(nullptr, buffer, 4), 4u);
    EXPECT_EQ(std::string(buffer), std::string(exe, 3)) << "cut and terminated";
}

}  // namespace
