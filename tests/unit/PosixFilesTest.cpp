// The Linux host's file services: the wildcard search, the atomic copy and
// the deletion, with names matched as Windows matches them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "DialogFixture.h"
#include "FileFaults.h"
#include "Platform.h"

namespace {

class PosixFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/levrin-files-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        root = name;
    }
    void TearDown() override
    {
        host::SetCopyWriteFault(-1, 0);
        std::filesystem::remove_all(root);
    }

    std::string Path(const std::string& name) const { return root + "/" + name; }

    // The names a search yields, in its order, or the error it failed with.
    std::vector<std::string> Search(const std::string& pattern, DWORD* pError = nullptr) const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE hFind = FindFirstFileA(pattern.c_str(), &found);
        if (pError)
            *pError = hFind == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do
            names.push_back(found.cFileName);
        while (FindNextFileA(hFind, &found));
        EXPECT_TRUE(FindClose(hFind));
        return names;
    }

    std::string root;
};

TEST_F(PosixFilesTest, SearchMatchesWildcardsIgnoringAsciiCase)
{
    const std::vector<std::string> files = {
        "Castle.map", "arena.MAP", "E1L1.MAP", ".hidden.map", ".map", "notes.txt", "map", "x.mapx",
        "DUKE3D.EXE", std::string("caf\xe9.map"), "two\nlines.map", std::string(251, 'n') + ".map",
    };
    for (const std::string& file : files)
        WriteFile(Path(file), "x");
    MakeFolder(Path("extra.map"));
    MakeFolder(Path("Duke3d.exe.d"));
    std::vector<std::string> everything = files;
    everything.push_back("extra.map");
    everything.push_back("Duke3d.exe.d");
    std::sort(everything.begin(), everything.end());
    struct Case {
        const char* pattern;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        // Every name ending in ".map" in any case: hidden files, a folder,
        // non-UTF-8 bytes, a newline and a 255-byte name included.
        { "*.map",
          { ".hidden.map", ".map", "Castle.map", "E1L1.MAP", "arena.MAP", std::string("caf\xe9.map"), "extra.map",
            std::string(251, 'n') + ".map", "two\nlines.map" } },
        { "Duke3d.Exe", { "DUKE3D.EXE" } },
        { "duke3d.exe*", { "DUKE3D.EXE", "Duke3d.exe.d" } },
        { "?1l1.map", { "E1L1.MAP" } },
        { "*.MAP?", { "x.mapx" } },
        { "map", { "map" } },
        { "*", everything },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Search(Path(c.pattern)), c.expected) << c.pattern;
}

TEST_F(PosixFilesTest, SearchReportsFoldersAndSizes)
{
    WriteFile(Path("big.map"), std::string(70000, 'b'));
    MakeFolder(Path("dir.map"));
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(Path("big.map").c_str(), &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    EXPECT_EQ(found.nFileSizeLow, 70000u);
    EXPECT_EQ(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(hFind);
    hFind = FindFirstFileA(Path("DIR.map").c_str(), &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    EXPECT_NE(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY, 0u);
    FindClose(hFind);
    EXPECT_EQ(Search("/TM?"), std::vector<std::string>{ "tmp" }) << "an empty folder is the root";
}

TEST_F(PosixFilesTest, SearchThatFindsNothingFailsWithItsReason)
{
    WriteFile(Path("a.txt"), "x");
    WriteFile(Path("plain"), "x");
    struct Case {
        std::string pattern;
        DWORD error;
    };
    const std::vector<Case> cases = {
        { Path("*.map"), ENOENT },
        { Path("missing/*.map"), ENOENT },
        { Path("plain/*.map"), ENOTDIR },
    };
    for (const Case& c : cases) {
        DWORD error = 0;
        EXPECT_TRUE(Search(c.pattern, &error).empty()) << c.pattern;
        EXPECT_EQ(error, c.error) << c.pattern;
    }
}

TEST_F(PosixFilesTest, SearchKeepsItsNamesWhenTheFolderVanishes)
{
    WriteFile(Path("a.map"), "x");
    WriteFile(Path("b.map"), "x");
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(Path("*.map").c_str(), &found);
    ASSERT_NE(hFind, INVALID_HANDLE_VALUE);
    std::filesystem::remove_all(root);
    ASSERT_TRUE(FindNextFileA(hFind, &found));
    EXPECT_STREQ(found.cFileName, "b.map");
    EXPECT_FALSE(FindNextFileA(hFind, &found));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
    EXPECT_TRUE(FindClose(hFind));
}

TEST_F(PosixFilesTest, CopyReplacesTheTargetInItsOwnCase)
{
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += static_cast<char>(i * 7);
    WriteFile(Path("Castle.map"), bytes);
    WriteFile(Path("E1L1.MAP"), "old");
    ASSERT_TRUE(CopyFileA(Path("castle.map").c_str(), Path("e1l1.map").c_str(), FALSE));
    EXPECT_EQ(ReadFile(Path("E1L1.MAP")), bytes);
    EXPECT_EQ(FolderEntries(root), (std::vector<std::string>{ "Castle.map", "E1L1.MAP" }));
}

TEST_F(PosixFilesTest, CopyTakesTheExactCaseElseTheFirstInByteOrder)
{
    struct Case {
        std::vector<std::string> sources;
        std::string copied;
    };
    const std::vector<Case> cases = {
        { { "CASTLE.map", "castle.map", "Castle.map" }, "castle.map" },
        { { "castle.MAP", "CASTLE.map", "Castle.Map" }, "CASTLE.map" },
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(Path("maps"));
        MakeFolder(Path("maps"));
        for (const std::string& source : c.sources)
            WriteFile(Path("maps/" + source), source);
        ASSERT_TRUE(CopyFileA(Path("maps/castle.map").c_str(), Path("e1l1.map").c_str(), FALSE));
        EXPECT_EQ(ReadFile(Path("e1l1.map")), c.copied);
    }
}

TEST_F(PosixFilesTest, FailedCopyLeavesTheTargetAsItWasWithTheErrorsText)
{
    WriteFile(Path("castle.map"), "new");
    mkfifo(Path("pipe.map").c_str(), 0600);
    MakeFolder(Path("dir.map"));
    struct Case {
        std::string source;
        std::string target;
        BOOL bFailIfExists;
        int error;
    };
    const std::vector<Case> cases = {
        { Path("gone.map"), Path("e1l1.map"), FALSE, ENOENT },
        { Path("castle.map"), Path("missing/e1l1.map"), FALSE, ENOENT },
        { Path("pipe.map"), Path("e1l1.map"), FALSE, EINVAL },
        { Path("dir.map"), Path("e1l1.map"), FALSE, EISDIR },
        { Path("castle.map"), Path("E1L1.map"), TRUE, EEXIST },
    };
    for (const Case& c : cases) {
        WriteFile(Path("e1l1.map"), "old");
        SetLastError(0);
        EXPECT_FALSE(CopyFileA(c.source.c_str(), c.target.c_str(), c.bFailIfExists)) << c.source;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.source;
        EXPECT_EQ(ReadFile(Path("e1l1.map")), "old") << c.source;
    }
    EXPECT_EQ(FolderEntries(root), (std::vector<std::string>{ "castle.map", "dir.map", "e1l1.map", "pipe.map" }));
}

TEST_F(PosixFilesTest, CopyRefusesAReadOnlyTargetAsWindowsDoes)
{
    WriteFile(Path("castle.map"), "new");
    WriteFile(Path("e1l1.map"), "old");
    chmod(Path("e1l1.map").c_str(), 0444);
    EXPECT_FALSE(CopyFileA(Path("castle.map").c_str(), Path("E1L1.MAP").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(EACCES));
    EXPECT_EQ(SystemText(EACCES), "Permission denied");
    EXPECT_EQ(ReadFile(Path("e1l1.map")), "old");
}

TEST_F(PosixFilesTest, FullDiskMidCopyKeepsTheOldTargetAndNoTemporaryFile)
{
    WriteFile(Path("castle.map"), std::string(3 << 20, 'n'));
    WriteFile(Path("e1l1.map"), "old");
    host::SetCopyWriteFault(1 << 20, ENOSPC);
    EXPECT_FALSE(CopyFileA(Path("castle.map").c_str(), Path("e1l1.map").c_str(), FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOSPC));
    EXPECT_EQ(ReadFile(Path("e1l1.map")), "old");
    EXPECT_EQ(FolderEntries(root), (std::vector<std::string>{ "castle.map", "e1l1.map" }));
}

TEST_F(PosixFilesTest, CopyOfAReadOnlySourceLeavesAReplaceableTarget)
{
    WriteFile(Path("castle.map"), "one");
    chmod(Path("castle.map").c_str(), 0444);
    ASSERT_TRUE(CopyFileA(Path("castle.map").c_str(), Path("e1l1.map").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(Path("castle.map").c_str(), Path("e1l1.map").c_str(), FALSE));
    EXPECT_EQ(ReadFile(Path("e1l1.map")), "one");
}

TEST_F(PosixFilesTest, DeleteFindsTheFileInAnyCaseOnce)
{
    WriteFile(Path("E1l1.Map"), "x");
    EXPECT_TRUE(DeleteFileA(Path("e1l1.map").c_str()));
    EXPECT_TRUE(FolderEntries(root).empty());
    EXPECT_FALSE(DeleteFileA(Path("e1l1.map").c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ENOENT));
}

TEST_F(PosixFilesTest, DeleteRefusesFoldersReadOnlyFilesAndMissingFolders)
{
    MakeFolder(Path("e1l1.map"));
    WriteFile(Path("locked.map"), "x");
    chmod(Path("locked.map").c_str(), 0444);
    struct Case {
        std::string path;
        int error;
    };
    const std::vector<Case> cases = {
        { Path("E1L1.MAP"), EISDIR },
        { Path("locked.map"), EACCES },
        { Path("missing/e1l1.map"), ENOENT },
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(DeleteFileA(c.path.c_str())) << c.path;
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error)) << c.path;
    }
    EXPECT_EQ(FolderEntries(root), (std::vector<std::string>{ "e1l1.map", "locked.map" }));
}

}  // namespace
