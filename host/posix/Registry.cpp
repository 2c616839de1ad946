// The per-user registry over the config home. HKEY_CURRENT_USER\Software is
// ${XDG_CONFIG_HOME:-$HOME/.config}; a key below it is a folder; the key
// below that is the file <name>.conf; the key below that is a section of
// the file, and its values are the section's name=value lines.
#include "Platform.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AsciiCase.h"
#include "SettingsFile.h"

namespace {

constexpr LSTATUS kErrorFileNotFound = 2;
constexpr LSTATUS kErrorAccessDenied = 5;
constexpr LSTATUS kErrorInvalidHandle = 6;
constexpr LSTATUS kErrorInvalidParameter = 87;
constexpr LSTATUS kErrorDiskFull = 112;
constexpr LSTATUS kErrorMoreData = 234;
constexpr LSTATUS kErrorGenFailure = 31;

enum Level { kRoot, kSoftware, kFolder, kFile, kSection };

}  // namespace

struct HostKey {
    Level level;
    std::string path;
    std::string section;
};

namespace {

LSTATUS StatusOf(int error)
{
    switch (error) {
    case 0:
        return ERROR_SUCCESS;
    case ENOENT:
    case ENOTDIR:
        return kErrorFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return kErrorAccessDenied;
    case ENOSPC:
    case EDQUOT:
        return kErrorDiskFull;
    default:
        return kErrorGenFailure;
    }
}

// Relative values of XDG_CONFIG_HOME are invalid and ignored, as the base
// directory rules say.
std::string ConfigHome()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/')
        return config;
    const char* home = std::getenv("HOME");
    if (!home || !home[0]) {
        const passwd* user = getpwuid(getuid());
        home = user ? user->pw_dir : nullptr;
    }
    return home && home[0] ? std::string(home) + "/.config" : std::string();
}

int CheckFolder(const std::string& path)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode))
        return ENOTDIR;
    return access(path.c_str(), R_OK | W_OK | X_OK) == 0 ? 0 : errno;
}

int MakeFolder(const std::string& path, bool bCreate, bool* pbCreated)
{
    if (bCreate && mkdir(path.c_str(), 0700) == 0)
        *pbCreated = true;
    else if (bCreate && errno != EEXIST)
        return errno;
    return CheckFolder(path);
}

int MakeFile(const std::string& path, bool bCreate, bool* pbCreated)
{
    if (bCreate) {
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0) {
            close(fd);
            *pbCreated = true;
        } else if (errno != EEXIST) {
            return errno;
        }
    }
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return errno;
    if (!S_ISREG(st.st_mode))
        return EISDIR;
    return access(path.c_str(), R_OK | W_OK) == 0 ? 0 : errno;
}

int MakeSection(const HostKey& file, const std::string& section, bool bCreate, bool* pbCreated)
{
    host::SettingsFile settings(file.path);
    bool bFound = false;
    if (int error = settings.HasSection(section, &bFound))
        return error;
    if (bFound)
        return 0;
    if (!bCreate)
        return ENOENT;
    *pbCreated = true;
    return settings.AddSection(section);
}

// A name that stays one level below its parent.
bool IsPlainName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// The key `name` one level below `parent`, opened or created.
LSTATUS Step(const HostKey& parent, const std::string& name, bool bCreate, HostKey* pChild, bool* pbCreated)
{
    if (parent.level == kRoot) {
        std::string home = ConfigHome();
        if (!host::EqualIgnoringAsciiCase(name, "Software") || home.empty())
            return kErrorFileNotFound;
        *pChild = { kSoftware, home, std::string() };
        // Only the config home itself is made; a missing home is an error.
        bool bMade = false;
        return StatusOf(MakeFolder(home, true, &bMade));
    }
    if (parent.level == kSection)
        return kErrorAccessDenied;
    if (!IsPlainName(name))
        return kErrorInvalidParameter;
    if (parent.level == kSoftware) {
        *pChild = { kFolder, parent.path + "/" + name, std::string() };
        return StatusOf(MakeFolder(pChild->path, bCreate, pbCreated));
    }
    if (parent.level == kFolder) {
        *pChild = { kFile, parent.path + "/" + name + ".conf", std::string() };
        return StatusOf(MakeFile(pChild->path, bCreate, pbCreated));
    }
    *pChild = { kSection, parent.path, name };
    return StatusOf(MakeSection(parent, name, bCreate, pbCreated));
}

// Walks a path of names split by '\', as Windows does for a sub-key.
LSTATUS OpenPath(HKEY hKey, LPCSTR lpSubKey, bool bCreate, PHKEY phkResult, bool* pbCreated)
{
    if (!hKey || !phkResult)
        return kErrorInvalidParameter;
    HostKey key = hKey == HKEY_CURRENT_USER ? HostKey{ kRoot, std::string(), std::string() } : *hKey;
    std::string path = lpSubKey ? lpSubKey : "";
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos)
            end = path.size();
        HostKey child;
        if (LSTATUS status = Step(key, path.substr(start, end - start), bCreate, &child, pbCreated))
            return status;
        key = child;
        start = end + 1;
    }
    if (key.level == kRoot) {
        *phkResult = HKEY_CURRENT_USER;
        return ERROR_SUCCESS;
    }
    *phkResult = new HostKey(key);
    return ERROR_SUCCESS;
}

bool IsSectionKey(HKEY hKey)
{
    return hKey && hKey != HKEY_CURRENT_USER && hKey->level == kSection;
}

}  // namespace

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM, PHKEY phkResult)
{
    bool bCreated = false;
    return OpenPath(hKey, lpSubKey, false, phkResult, &bCreated);
}

LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                               PHKEY phkResult, LPDWORD lpdwDisposition)
{
    bool bCreated = false;
    LSTATUS status = OpenPath(hKey, lpSubKey, true, phkResult, &bCreated);
    if (status == ERROR_SUCCESS && lpdwDisposition)
        *lpdwDisposition = bCreated ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return status;
}

// Every value reads as REG_SZ: the file keeps no type.
LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData)
{
    if (!IsSectionKey(hKey))
        return hKey ? kErrorFileNotFound : kErrorInvalidHandle;
    if (lpData && !lpcbData)
        return kErrorInvalidParameter;
    std::string data;
    bool bFound = false;
    if (int error = host::SettingsFile(hKey->path).ReadValue(hKey->section, lpValueName ? lpValueName : "",
                                                             &data, &bFound))
        return StatusOf(error);
    if (!bFound)
        return kErrorFileNotFound;
    if (data.size() > 0xFFFFFFFFull)
        return kErrorGenFailure;
    if (lpType)
        *lpType = REG_SZ;
    if (!lpcbData)
        return ERROR_SUCCESS;
    DWORD size = static_cast<DWORD>(data.size());
    if (lpData && *lpcbData < size) {
        *lpcbData = size;
        return kErrorMoreData;
    }
    if (lpData)
        std::memcpy(lpData, data.data(), data.size());
    *lpcbData = size;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD, const BYTE* lpData, DWORD cbData)
{
    if (!IsSectionKey(hKey))
        return hKey ? kErrorAccessDenied : kErrorInvalidHandle;
    if (!lpData && cbData > 0)
        return kErrorInvalidParameter;
    std::string data(reinterpret_cast<const char*>(lpData), lpData ? cbData : 0);
    return StatusOf(host::SettingsFile(hKey->path).WriteValue(hKey->section, lpValueName ? lpValueName : "", data));
}

LSTATUS WINAPI RegCloseKey(HKEY hKey)
{
    if (!hKey)
        return kErrorInvalidHandle;
    if (hKey != HKEY_CURRENT_USER)
        delete hKey;
    return ERROR_SUCCESS;
}
