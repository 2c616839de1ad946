// The Linux host's per-user registry: keys as the config home, a folder, a
// file and a section; values as name=value lines that keep any bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "DialogFixture.h"
#include "Platform.h"

namespace {

constexpr LSTATUS kFileNotFound = 2;
constexpr LSTATUS kMoreData = 234;
constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;
constexpr uid_t kNobody = 65534;

class PosixRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/levrin-registry-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        root = name;
        configHome = root + "/config";
        MakeFolder(configHome);
        setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    }
    void TearDown() override
    {
        unsetenv("XDG_CONFIG_HOME");
        std::filesystem::remove_all(root);
    }

    std::string SettingsPath() const { return configHome + "/Duke3d/levrin.conf"; }

    std::string root;
    std::string configHome;
};

HKEY Create(HKEY hParent, const char* name, LSTATUS* pStatus)
{
    HKEY hKey = nullptr;
    *pStatus = RegCreateKeyExA(hParent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr, &hKey,
                               nullptr);
    return *pStatus == ERROR_SUCCESS ? hKey : nullptr;
}

// The chain the settings store walks: Software, Duke3d, the program, the
// section; every other handle closed. Null with the failing status.
HKEY OpenSection(LSTATUS* pStatus, const char* section = "Levrin")
{
    HKEY hSoftware = nullptr;
    *pStatus = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, kAccess, &hSoftware);
    if (*pStatus != ERROR_SUCCESS)
        return nullptr;
    HKEY hSettings = Create(hSoftware, "Duke3d", pStatus);
    RegCloseKey(hSoftware);
    if (!hSettings)
        return nullptr;
    HKEY hApp = Create(hSettings, "levrin", pStatus);
    RegCloseKey(hSettings);
    if (!hApp)
        return nullptr;
    HKEY hSection = Create(hApp, section, pStatus);
    RegCloseKey(hApp);
    return hSection;
}

LSTATUS SetBytes(const std::string& name, const std::string& data)
{
    LSTATUS status = 0;
    HKEY hKey = OpenSection(&status);
    if (!hKey)
        return status;
    status = RegSetValueExA(hKey, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.data()),
                            static_cast<DWORD>(data.size()));
    RegCloseKey(hKey);
    return status;
}

// The value's bytes as the settings store reads them: size first, then data.
LSTATUS GetBytes(const std::string& name, std::string* pData)
{
    LSTATUS status = 0;
    HKEY hKey = OpenSection(&status);
    if (!hKey)
        return status;
    DWORD type = REG_NONE;
    DWORD size = 0;
    status = RegQueryValueExA(hKey, name.c_str(), nullptr, &type, nullptr, &size);
    if (status == ERROR_SUCCESS) {
        std::vector<BYTE> data(size + 1, 0);
        status = RegQueryValueExA(hKey, name.c_str(), nullptr, &type, data.data(), &size);
        pData->assign(reinterpret_cast<const char*>(data.data()), size);
        EXPECT_EQ(type, REG_SZ);
    }
    RegCloseKey(hKey);
    return status;
}

std::string Sz(const std::string& text)
{
    return text + '\0';
}

TEST_F(PosixRegistryTest, AReadCreatesFolderFileAndSection)
{
    std::string data;
    EXPECT_EQ(GetBytes("MapDir", &data), kFileNotFound);
    EXPECT_EQ(ReadFile(SettingsPath()), "[Levrin]\n");
    EXPECT_EQ(GetBytes("MapDir", &data), kFileNotFound);
    EXPECT_EQ(FolderEntries(configHome + "/Duke3d"), (std::vector<std::string>{ ".levrin.conf.lock", "levrin.conf" }));
}

TEST_F(PosixRegistryTest, AnyBytesReadBackWhole)
{
    const std::vector<std::pair<std::string, std::string>> values = {
        { "MapDir", Sz("/home/player/maps") },
        { "Empty", Sz("") },
        { "Blanks", Sz("  lead and trail \t ") },
        { "Current Map", Sz("a=b=c") },
        { "Brackets", Sz("[Levrin]") },
        { "Escapes", Sz("\\x41 \\\\ \\! back\\") },
        { "Ends", Sz("ends in \\!") },
        { "Lines", Sz("one\ntwo\r\nthree\r") },
        { "Bytes", Sz("\xff\xfe\x80 \xc3\xa9 \xed\xa0\x80 \xf4\x90\x80\x80 \x7f\x01") },
        { "Zeros", Sz(std::string("a\0b\0", 4)) },
        { "NoTerminator", "raw" },
        { "NoTerminatorBackslash", "raw\\" },
        { "Huge", Sz(std::string(1 << 20, 'h') + "\n[x]") },
        // Names with the file's own syntax in them.
        { "=odd=name=", Sz("1") },
        { "[Levrin]", Sz("2") },
        { ";comment", Sz("3") },
        { "#hash", Sz("4") },
        { " spaced ", Sz("5") },
        { "new\nline\\", Sz("6") },
        { "", Sz("default") },
    };
    for (const auto& value : values)
        ASSERT_EQ(SetBytes(value.first, value.second), ERROR_SUCCESS) << value.first;
    for (const auto& value : values) {
        std::string data;
        EXPECT_EQ(GetBytes(value.first, &data), ERROR_SUCCESS) << value.first;
        EXPECT_EQ(data, value.second) << value.first;
    }
    std::string data;
    EXPECT_EQ(GetBytes("spaced", &data), kFileNotFound);
}

TEST_F(PosixRegistryTest, QueryReportsSizeAndTooSmallBuffers)
{
    ASSERT_EQ(SetBytes("MapDir", Sz("/maps")), ERROR_SUCCESS);
    LSTATUS status = 0;
    HKEY hKey = OpenSection(&status);
    ASSERT_NE(hKey, nullptr);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(hKey, "mapdir", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u);
    BYTE small[3] = {};
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(hKey, "MapDir", nullptr, nullptr, small, &size), kMoreData);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(RegQueryValueExA(hKey, "Absent", nullptr, nullptr, nullptr, &size), kFileNotFound);
    EXPECT_EQ(RegCloseKey(hKey), ERROR_SUCCESS);
}

TEST_F(PosixRegistryTest, AWriteChangesOnlyItsValueOfAHandEditedFile)
{
    MakeFolder(configHome + "/Duke3d");
    const std::string before =
        "; written by hand\n"
        "stray=outside\n"
        "\n"
        "[Other]\n"
        "MapDir=other section\n"
        "\n"
        "[levrin]\n"
        "# keep me\n"
        "mapdir = old\n"
        "garbage line without equals\n"
        "[unterminated\n"
        "ExeDir=/games\r\n"
        "\n"
        "[Last]\n"
        "x=y";
    WriteFile(SettingsPath(), before);
    ASSERT_EQ(SetBytes("MapDir", Sz("/new maps")), ERROR_SUCCESS);
    ASSERT_EQ(SetBytes("Current Map", Sz("castle")), ERROR_SUCCESS);
    const std::string after =
        "; written by hand\n"
        "stray=outside\n"
        "\n"
        "[Other]\n"
        "MapDir=other section\n"
        "\n"
        "[levrin]\n"
        "# keep me\n"
        "mapdir =/new maps\n"
        "garbage line without equals\n"
        "[unterminated\n"
        "ExeDir=/games\n"
        "Current Map=castle\n"
        "\n"
        "[Last]\n"
        "x=y\n";
    EXPECT_EQ(ReadFile(SettingsPath()), after);
    std::string data;
    EXPECT_EQ(GetBytes("ExeDir", &data), ERROR_SUCCESS);
    EXPECT_EQ(data, Sz("/games"));
}

TEST_F(PosixRegistryTest, AFileOfNoLinesSurvivesAWrite)
{
    MakeFolder(configHome + "/Duke3d");
    const std::string garbage("\x89PNG\r\x1a\0\0[\xff=\x00]\\x", 15);
    WriteFile(SettingsPath(), garbage);
    ASSERT_EQ(SetBytes("MapDir", Sz("/maps")), ERROR_SUCCESS);
    EXPECT_EQ(ReadFile(SettingsPath()), garbage + "\n\n[Levrin]\nMapDir=/maps\n");
    std::string data;
    EXPECT_EQ(GetBytes("MapDir", &data), ERROR_SUCCESS);
    EXPECT_EQ(data, Sz("/maps"));
}

TEST_F(PosixRegistryTest, AnUnusableConfigHomeFailsEveryCall)
{
    WriteFile(root + "/plain", "x");
    const std::vector<std::string> homes = { root + "/plain", root + "/plain/config", root + "/missing/config" };
    for (const std::string& home : homes) {
        setenv("XDG_CONFIG_HOME", home.c_str(), 1);
        std::string data;
        EXPECT_NE(GetBytes("MapDir", &data), ERROR_SUCCESS) << home;
        EXPECT_NE(SetBytes("MapDir", Sz("x")), ERROR_SUCCESS) << home;
    }
    EXPECT_EQ(FolderEntries(root), (std::vector<std::string>{ "config", "plain" }));
    EXPECT_EQ(ReadFile(root + "/plain"), "x");
}

TEST_F(PosixRegistryTest, KeysInTheWayOfTheChainFailCleanly)
{
    WriteFile(configHome + "/Duke3d", "not a folder");
    std::string data;
    EXPECT_NE(GetBytes("MapDir", &data), ERROR_SUCCESS);
    std::filesystem::remove(configHome + "/Duke3d");
    MakeFolder(configHome + "/Duke3d");
    MakeFolder(SettingsPath());
    EXPECT_NE(SetBytes("MapDir", Sz("x")), ERROR_SUCCESS);
    EXPECT_TRUE(FolderEntries(SettingsPath()).empty());
}

// A user who may read but not write the settings: every write fails and
// leaves the file and its folder as they were.
TEST_F(PosixRegistryTest, AFailedWriteChangesNothingOnDisk)
{
    ASSERT_EQ(SetBytes("MapDir", Sz("/maps")), ERROR_SUCCESS);
    LSTATUS status = 0;
    HKEY hKey = OpenSection(&status);
    ASSERT_NE(hKey, nullptr);
    chmod((configHome + "/Duke3d").c_str(), 0555);
    chmod(SettingsPath().c_str(), 0444);
    pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && seteuid(kNobody) != 0)
            _exit(2);
        const BYTE value[] = "x";
        LSTATUS set = RegSetValueExA(hKey, "MapDir", 0, REG_SZ, value, sizeof value);
        _exit(set != ERROR_SUCCESS ? 0 : 1);
    }
    int result = -1;
    waitpid(child, &result, 0);
    RegCloseKey(hKey);
    EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0);
    chmod((configHome + "/Duke3d").c_str(), 0700);
    EXPECT_EQ(ReadFile(SettingsPath()), "[Levrin]\nMapDir=/maps\n");
    EXPECT_EQ(FolderEntries(configHome + "/Duke3d"), (std::vector<std::string>{ ".levrin.conf.lock", "levrin.conf" }));
}

TEST_F(PosixRegistryTest, TwoProcessesWritingAtOnceLoseNothing)
{
    constexpr int kValues = 40;
    std::vector<pid_t> children;
    for (char writer : { 'A', 'B' }) {
        pid_t child = fork();
        if (child == 0) {
            bool bAll = true;
            for (int i = 0; i < kValues; ++i)
                bAll = SetBytes(writer + std::to_string(i), Sz(std::to_string(i))) == ERROR_SUCCESS && bAll;
            _exit(bAll ? 0 : 1);
        }
        children.push_back(child);
    }
    for (pid_t child : children) {
        int result = -1;
        waitpid(child, &result, 0);
        EXPECT_TRUE(WIFEXITED(result) && WEXITSTATUS(result) == 0);
    }
    for (char writer : { 'A', 'B' }) {
        for (int i = 0; i < kValues; ++i) {
            std::string data;
            EXPECT_EQ(GetBytes(writer + std::to_string(i), &data), ERROR_SUCCESS) << writer << i;
            EXPECT_EQ(data, Sz(std::to_string(i))) << writer << i;
        }
    }
}

}  // namespace
