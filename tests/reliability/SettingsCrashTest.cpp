// The settings store under a writer killed at random moments, and under two
// writers at once: every value reads back whole, old or new.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include "DialogFixture.h"
#include "SettingsFile.h"

namespace {

constexpr char kSection[] = "Levrin";

// A value whose number is written at both ends and whose length follows from
// it, so that a mix of two writes or a cut one is seen.
std::string ValueNumbered(long k)
{
    std::string number = std::to_string(k);
    return number + ":" + std::string(100 + static_cast<size_t>(k % 700), static_cast<char>('a' + k % 26)) +
           "\n=[x]\\" + number;
}

// The number of a whole value, or -1.
long NumberOf(const std::string& value)
{
    size_t colon = value.find(':');
    if (colon == std::string::npos || colon == 0)
        return -1;
    char* end = nullptr;
    long k = std::strtol(value.c_str(), &end, 10);
    if (end != value.c_str() + colon || k < 0)
        return -1;
    return ValueNumbered(k) == value ? k : -1;
}

std::string Read(const host::SettingsFile& file, const char* name, int* pError)
{
    std::string data;
    bool bFound = false;
    *pError = file.ReadValue(kSection, name, &data, &bFound);
    if (!bFound)
        return std::string();
    // Registry text keeps its terminator.
    if (!data.empty() && data.back() == '\0')
        data.pop_back();
    return data;
}

void Write(const host::SettingsFile& file, const char* name, const std::string& value)
{
    std::string data = value + '\0';
    ASSERT_EQ(file.WriteValue(kSection, name, data), 0);
}

// Writes the numbered values from `first` on until killed, counting each one
// that returned in shared memory.
[[noreturn]] void WriteUntilKilled(const std::string& path, long first, std::atomic<long>* pDone)
{
    host::SettingsFile file(path);
    for (long k = first;; ++k) {
        if (file.WriteValue(kSection, "MapDir", ValueNumbered(k) + '\0') != 0)
            _exit(1);
        pDone->store(k, std::memory_order_release);
    }
}

class SettingsCrashTest : public DialogFixture {
protected:
    std::string Path() const { return configHome + "/levrin.conf"; }
};

TEST_F(SettingsCrashTest, KilledWriterLeavesOldOrNewValueWhole)
{
    constexpr long kWantedWrites = 1000;
    constexpr int kWantedKills = 40;
    host::SettingsFile file(Path());
    Write(file, "ExeDir", "/games/duke3d");
    Write(file, "MapDir", ValueNumbered(0));
    auto* pDone = static_cast<std::atomic<long>*>(
        mmap(nullptr, sizeof(std::atomic<long>), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(pDone, MAP_FAILED);
    new (pDone) std::atomic<long>(0);

    std::mt19937 random(12345);
    long stored = 0;
    int kills = 0;
    while (kills < kWantedKills || pDone->load() < kWantedWrites) {
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0)
            WriteUntilKilled(Path(), stored + 1, pDone);
        // A random moment within the next few writes.
        timespec pause = { 0, static_cast<long>(random() % 20000000) };
        nanosleep(&pause, nullptr);
        kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed on its own";
        ++kills;

        int error = 0;
        std::string value = Read(file, "MapDir", &error);
        ASSERT_EQ(error, 0);
        long k = NumberOf(value);
        ASSERT_GE(k, 0) << "after kill " << kills << " the value is spoilt: " << value.substr(0, 40);
        // A write that returned is never lost; one under way may or may not land.
        ASSERT_GE(k, pDone->load()) << "after kill " << kills;
        ASSERT_GE(k, stored);
        ASSERT_EQ(Read(file, "ExeDir", &error), "/games/duke3d");
        stored = k;
    }
    // The next write clears what the killed writers left behind.
    Write(file, "ExeDir", "/games/duke3d/again");
    EXPECT_EQ(FolderEntries(configHome), (std::vector<std::string>{ ".levrin.conf.lock", "levrin.conf" }));
    RecordProperty("writes", static_cast<int>(pDone->load()));
    RecordProperty("kills", kills);
    munmap(pDone, sizeof(std::atomic<long>));
}

TEST_F(SettingsCrashTest, TwoWritersAtOnceLoseNeither)
{
    constexpr int kWrites = 150;
    const char* names[] = { "MapDir", "ExeDir", "Current Map" };
    host::SettingsFile file(Path());
    pid_t children[3];
    for (int i = 0; i < 3; ++i) {
        children[i] = fork();
        ASSERT_GE(children[i], 0);
        if (children[i] == 0) {
            host::SettingsFile own(Path());
            for (long k = 1; k <= kWrites; ++k) {
                if (own.WriteValue(kSection, names[i], ValueNumbered(k * 3 + i) + '\0') != 0)
                    _exit(1);
            }
            _exit(0);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int i = 0; i < 3; ++i) {
        int error = 0;
        EXPECT_EQ(Read(file, names[i], &error), ValueNumbered(kWrites * 3 + i)) << names[i];
        EXPECT_EQ(error, 0);
    }
}

}  // namespace
