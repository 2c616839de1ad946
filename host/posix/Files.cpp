// The file services over POSIX: a wildcard search, an atomic copy and a
// deletion. Names are matched as the Windows file system does, ignoring the
// case of ASCII letters, so that "*.map" finds X.MAP and installing the
// lower-case entry "castle" finds Castle.map.
#include "Platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "AsciiCase.h"
#include "FileFaults.h"

struct HostFind {
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 0;
};

namespace {

constexpr size_t kCopyChunk = 1 << 20;
// 100-ns intervals from 1601 to 1970.
constexpr unsigned long long kFileTimeEpochOffset = 116444736000000000ull;

long long gFaultAfterBytes = -1;
int gFaultError = 0;

struct SplitPath {
    std::string folder;
    std::string leaf;
};

SplitPath Split(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return { ".", path };
    // "/x" is x in the root; "a//x" keeps "a/" as the folder, which is fine.
    return { slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1) };
}

std::string Join(const std::string& folder, const std::string& leaf)
{
    return folder == "/" ? "/" + leaf : folder + "/" + leaf;
}

// All names of a folder but "." and "..", in byte order; false with errno.
bool ListFolder(const std::string& folder, std::vector<std::string>* pNames)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    errno = 0;
    while (dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..")
            pNames->push_back(name);
    }
    int error = errno;
    closedir(dir);
    errno = error;
    if (error)
        return false;
    std::sort(pNames->begin(), pNames->end());
    return true;
}

// The name under which a file of that name exists: the exact one if any,
// otherwise the first that equals it ignoring case. False with errno.
bool ResolveExisting(const SplitPath& path, std::string* pLeaf)
{
    struct stat st;
    if (lstat(Join(path.folder, path.leaf).c_str(), &st) == 0) {
        *pLeaf = path.leaf;
        return true;
    }
    std::vector<std::string> names;
    if (!ListFolder(path.folder, &names))
        return false;
    for (const std::string& name : names) {
        if (host::EqualIgnoringAsciiCase(name, path.leaf)) {
            *pLeaf = name;
            return true;
        }
    }
    errno = ENOENT;
    return false;
}

FILETIME ToFileTime(const timespec& time)
{
    unsigned long long ticks = static_cast<unsigned long long>(time.tv_sec) * 10000000ull +
                               static_cast<unsigned long long>(time.tv_nsec) / 100 + kFileTimeEpochOffset;
    return { static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32) };
}

DWORD AttributesOf(const std::string& name, const struct stat& st)
{
    DWORD attributes = 0;
    if (S_ISDIR(st.st_mode))
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (!(st.st_mode & S_IWUSR))
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (name[0] == '.')
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

WIN32_FIND_DATAA FindDataOf(const std::string& folder, const std::string& name)
{
    WIN32_FIND_DATAA data = {};
    struct stat st = {};
    // A dangling link is still a name in the folder; list it as a file.
    std::string path = Join(folder, name);
    if (stat(path.c_str(), &st) != 0)
        lstat(path.c_str(), &st);
    data.dwFileAttributes = AttributesOf(name, st);
    data.ftCreationTime = ToFileTime(st.st_ctim);
    data.ftLastAccessTime = ToFileTime(st.st_atim);
    data.ftLastWriteTime = ToFileTime(st.st_mtim);
    unsigned long long size = S_ISDIR(st.st_mode) ? 0 : static_cast<unsigned long long>(st.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size);
    name.copy(data.cFileName, name.size());
    return data;
}

BOOL Fail(int error)
{
    SetLastError(static_cast<DWORD>(error));
    return FALSE;
}

// Stands in for a full disk in tests: how many bytes may still be written.
size_t AllowedBytes(long long copied, size_t wanted, int* pError)
{
    if (gFaultAfterBytes < 0)
        return wanted;
    long long left = gFaultAfterBytes - copied;
    if (left <= 0) {
        *pError = gFaultError;
        return 0;
    }
    return std::min(wanted, static_cast<size_t>(left));
}

bool WriteAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        ssize_t written = write(fd, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

// Copies every byte; false with errno. The kernel copies where it can, plain
// reads and writes where it cannot (other file systems, old kernels).
bool CopyBytes(int source, int target)
{
    long long copied = 0;
    bool bKernelCopy = true;
    std::vector<char> buffer;
    for (;;) {
        int fault = 0;
        size_t chunk = AllowedBytes(copied, kCopyChunk, &fault);
        if (chunk == 0) {
            errno = fault;
            return false;
        }
        ssize_t moved = -1;
        if (bKernelCopy) {
            moved = copy_file_range(source, nullptr, target, nullptr, chunk, 0);
            if (moved < 0 && copied == 0 &&
                (errno == EXDEV || errno == ENOSYS || errno == EINVAL || errno == EOPNOTSUPP)) {
                bKernelCopy = false;
                continue;
            }
        } else {
            buffer.resize(kCopyChunk);
            moved = read(source, buffer.data(), chunk);
            if (moved > 0 && !WriteAll(target, buffer.data(), static_cast<size_t>(moved)))
                return false;
        }
        if (moved < 0 && errno == EINTR)
            continue;
        if (moved < 0)
            return false;
        if (moved == 0)
            return true;
        copied += moved;
    }
}

void SyncFolder(const std::string& folder)
{
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    fsync(fd);
    close(fd);
}

// An open regular file; -1 with errno. Non-blocking, so that a FIFO of that
// name is refused at once instead of waiting for a writer.
int OpenSource(const std::string& path, mode_t* pMode)
{
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    int error = 0;
    if (fstat(fd, &st) != 0)
        error = errno;
    else if (S_ISDIR(st.st_mode))
        error = EISDIR;
    else if (!S_ISREG(st.st_mode))
        error = EINVAL;
    if (error) {
        close(fd);
        errno = error;
        return -1;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    *pMode = st.st_mode;
    return fd;
}

// Windows refuses to replace a read-only file or a folder; rename would not.
int CheckReplaceable(const std::string& path, bool bFailIfExists)
{
    struct stat st;
    if (lstat(path.c_str(), &st) != 0)
        return errno == ENOENT ? 0 : errno;
    if (bFailIfExists)
        return EEXIST;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (S_ISREG(st.st_mode) && (!(st.st_mode & S_IWUSR) || access(path.c_str(), W_OK) != 0))
        return EACCES;
    return 0;
}

bool MoveIntoPlace(const std::string& temporary, const std::string& target, bool bFailIfExists)
{
    if (!bFailIfExists)
        return rename(temporary.c_str(), target.c_str()) == 0;
    // No replacing a file that appeared meanwhile.
    if (link(temporary.c_str(), target.c_str()) != 0)
        return false;
    unlink(temporary.c_str());
    return true;
}

// Writes the source's bytes to a hidden temporary file beside the target and
// renames it over the target, so that the target is either the old file or
// the whole new one. False with errno; the temporary file is gone then.
bool CopyAtomically(int source, mode_t mode, const std::string& targetFolder, const std::string& target,
                    bool bFailIfExists)
{
    std::string temporary = Join(targetFolder, "." + Split(target).leaf + ".XXXXXX");
    int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0)
        return false;
    // A read-only source must not leave a level file that the next install
    // cannot replace.
    bool bDone = CopyBytes(source, fd) && fchmod(fd, (mode & 0777) | S_IWUSR) == 0 && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && bDone) {
        bDone = false;
        error = errno;
    }
    if (bDone && !MoveIntoPlace(temporary, target, bFailIfExists)) {
        bDone = false;
        error = errno;
    }
    if (!bDone) {
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncFolder(targetFolder);
    return true;
}

}  // namespace

namespace host {

void SetCopyWriteFault(long long failAfterBytes, int error)
{
    gFaultAfterBytes = failAfterBytes;
    gFaultError = error;
}

}  // namespace host

// Every match is read here, so that later changes to the folder cannot
// disturb the listing.
HANDLE WINAPI FindFirstFileA(LPCSTR lpFileName, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (!lpFileName || !lpFindFileData) {
        Fail(EINVAL);
        return INVALID_HANDLE_VALUE;
    }
    SplitPath pattern = Split(lpFileName);
    std::vector<std::string> names;
    if (!ListFolder(pattern.folder, &names)) {
        Fail(errno);
        return INVALID_HANDLE_VALUE;
    }
    HostFind* pFind = new HostFind;
    for (const std::string& name : names) {
        // Longer names do not fit cFileName with its terminator.
        if (name.size() < MAX_PATH && host::MatchesWildcard(pattern.leaf, name))
            pFind->entries.push_back(FindDataOf(pattern.folder, name));
    }
    if (pFind->entries.empty()) {
        delete pFind;
        Fail(ENOENT);
        return INVALID_HANDLE_VALUE;
    }
    *lpFindFileData = pFind->entries[0];
    pFind->next = 1;
    return pFind;
}

BOOL WINAPI FindNextFileA(HANDLE hFindFile, LPWIN32_FIND_DATAA lpFindFileData)
{
    if (!hFindFile || hFindFile == INVALID_HANDLE_VALUE || !lpFindFileData)
        return Fail(EBADF);
    HostFind* pFind = static_cast<HostFind*>(hFindFile);
    if (pFind->next >= pFind->entries.size())
        return Fail(ENOENT);
    *lpFindFileData = pFind->entries[pFind->next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (!hFindFile || hFindFile == INVALID_HANDLE_VALUE)
        return Fail(EBADF);
    delete static_cast<HostFind*>(hFindFile);
    return TRUE;
}

BOOL WINAPI CopyFileA(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists)
{
    if (!lpExistingFileName || !lpNewFileName)
        return Fail(EINVAL);
    SplitPath sourcePath = Split(lpExistingFileName);
    std::string sourceLeaf;
    if (!ResolveExisting(sourcePath, &sourceLeaf))
        return Fail(errno);
    // An existing target is replaced in the case it has, never doubled by a
    // second name that differs only in case.
    SplitPath targetPath = Split(lpNewFileName);
    std::string targetLeaf;
    if (!ResolveExisting(targetPath, &targetLeaf))
        targetLeaf = targetPath.leaf;
    std::string target = Join(targetPath.folder, targetLeaf);
    mode_t mode = 0;
    int source = OpenSource(Join(sourcePath.folder, sourceLeaf), &mode);
    if (source < 0)
        return Fail(errno);
    int error = CheckReplaceable(target, bFailIfExists != FALSE);
    if (!error && !CopyAtomically(source, mode, targetPath.folder, target, bFailIfExists != FALSE))
        error = errno;
    close(source);
    return error ? Fail(error) : TRUE;
}

BOOL WINAPI DeleteFileA(LPCSTR lpFileName)
{
    if (!lpFileName)
        return Fail(EINVAL);
    SplitPath path = Split(lpFileName);
    std::string leaf;
    if (!ResolveExisting(path, &leaf))
        return Fail(errno);
    std::string file = Join(path.folder, leaf);
    struct stat st;
    if (lstat(file.c_str(), &st) != 0)
        return Fail(errno);
    if (S_ISDIR(st.st_mode))
        return Fail(EISDIR);
    // Windows refuses to delete a read-only file.
    if (S_ISREG(st.st_mode) && !(st.st_mode & S_IWUSR))
        return Fail(EACCES);
    if (unlink(file.c_str()) != 0)
        return Fail(errno);
    return TRUE;
}
