// The settings file reader over any file text: reading never fails on
// content, a value written reads back exactly, and the value's text form
// decodes to the bytes it was made from.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

#include "SettingsFile.h"

namespace {

// On a memory file system, so that the writes' flushes cost nothing.
std::string FuzzFilePath()
{
    static const std::string path = "/dev/shm/levrin-fuzz-" + std::to_string(getpid()) + ".conf";
    return path;
}

// Says which property broke, then stops the run as a finding.
void Check(bool bTrue, int line)
{
    if (bTrue)
        return;
    std::fprintf(stderr, "property of line %d broken\n", line);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // The first line names the section and value, the rest is the file.
    size_t newline = bytes.find('\n');
    std::string name = newline == std::string::npos ? "MapDir" : bytes.substr(0, newline);
    std::string text = newline == std::string::npos ? bytes : bytes.substr(newline + 1);

    Check(host::DecodeSettingsData(host::EncodeSettingsData(text)) == text, __LINE__);
    Check(host::UnescapeSettingsText(host::EscapeSettingsName(name)) == name, __LINE__);

    const std::string path = FuzzFilePath();
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Check(fd >= 0, __LINE__);
    Check(write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()), __LINE__);
    close(fd);

    host::SettingsFile file(path);
    bool bFound = false;
    Check(file.HasSection("Levrin", &bFound) == 0, __LINE__);
    std::string value;
    Check(file.ReadValue("Levrin", name, &value, &bFound) == 0, __LINE__);
    Check(file.ReadValue("levrin", "Current Map", &value, &bFound) == 0, __LINE__);

    // An empty name is the section's default value; any other must round-trip.
    std::string written = text.substr(0, 64) + '\0';
    Check(file.WriteValue("Levrin", name, written) == 0, __LINE__);
    Check(file.ReadValue("Levrin", name, &value, &bFound) == 0, __LINE__);
    Check(bFound && value == written, __LINE__);
    unlink(path.c_str());
    return 0;
}
