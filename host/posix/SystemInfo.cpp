// Machine, process and disk figures over Linux, in the Windows shapes.
#include "Platform.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include <sys/statvfs.h>
#include <sys/sysinfo.h>
#include <unistd.h>

namespace {

constexpr DWORD kBytesPerSector = 512;
constexpr unsigned long long kMaxCount = 0xFFFFFFFFull;
// A 64-bit process's user address space.
constexpr DWORDLONG kUserAddressSpace = 1ull << 47;

BOOL Fail(int error)
{
    SetLastError(static_cast<DWORD>(error));
    return FALSE;
}

// A path into a caller's buffer with the Windows rule for a short one: the
// needed size, terminator included, and nothing written.
DWORD CopyOut(const std::string& text, LPSTR lpBuffer, DWORD nBufferLength)
{
    if (!lpBuffer || text.size() + 1 > nBufferLength)
        return static_cast<DWORD>(text.size() + 1);
    std::memcpy(lpBuffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

}  // namespace

BOOL WINAPI GlobalMemoryStatusEx(LPMEMORYSTATUSEX lpBuffer)
{
    if (!lpBuffer || lpBuffer->dwLength != sizeof *lpBuffer)
        return Fail(EINVAL);
    struct sysinfo info;
    if (sysinfo(&info) != 0)
        return Fail(errno);
    DWORDLONG unit = info.mem_unit;
    lpBuffer->ullTotalPhys = info.totalram * unit;
    lpBuffer->ullAvailPhys = (info.freeram + info.bufferram) * unit;
    lpBuffer->ullTotalPageFile = (info.totalram + info.totalswap) * unit;
    lpBuffer->ullAvailPageFile = (info.freeram + info.bufferram + info.freeswap) * unit;
    lpBuffer->ullTotalVirtual = kUserAddressSpace;
    lpBuffer->ullAvailVirtual = kUserAddressSpace;
    lpBuffer->ullAvailExtendedVirtual = 0;
    lpBuffer->dwMemoryLoad = lpBuffer->ullTotalPhys
                                 ? static_cast<DWORD>(100 - lpBuffer->ullAvailPhys * 100 / lpBuffer->ullTotalPhys)
                                 : 0;
    return TRUE;
}

DWORD WINAPI GetCurrentDirectoryA(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::vector<char> path(4096);
    while (!getcwd(path.data(), path.size())) {
        if (errno != ERANGE) {
            SetLastError(static_cast<DWORD>(errno));
            return 0;
        }
        path.resize(path.size() * 2);
    }
    return CopyOut(path.data(), lpBuffer, nBufferLength);
}

// The free and total space as clusters of sectors whose product is the
// file system's own figure; a count past 32 bits raises the cluster size.
BOOL WINAPI GetDiskFreeSpaceA(LPCSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                              LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters)
{
    struct statvfs fs;
    if (statvfs(lpRootPathName ? lpRootPathName : ".", &fs) != 0)
        return Fail(errno);
    unsigned long long blockSize = fs.f_frsize ? fs.f_frsize : fs.f_bsize;
    unsigned long long bytesPerSector = blockSize % kBytesPerSector == 0 ? kBytesPerSector : blockSize;
    unsigned long long sectorsPerCluster = blockSize / bytesPerSector;
    unsigned long long freeClusters = fs.f_bavail;
    unsigned long long totalClusters = fs.f_blocks;
    while (totalClusters > kMaxCount || freeClusters > kMaxCount) {
        sectorsPerCluster *= 2;
        freeClusters /= 2;
        totalClusters /= 2;
    }
    if (lpSectorsPerCluster)
        *lpSectorsPerCluster = static_cast<DWORD>(sectorsPerCluster);
    if (lpBytesPerSector)
        *lpBytesPerSector = static_cast<DWORD>(bytesPerSector);
    if (lpNumberOfFreeClusters)
        *lpNumberOfFreeClusters = static_cast<DWORD>(freeClusters);
    if (lpTotalNumberOfClusters)
        *lpTotalNumberOfClusters = static_cast<DWORD>(totalClusters);
    return TRUE;
}

// The host has one module, the program; any module handle names it. A short
// buffer gets the path cut, terminated, and its full size as the result.
DWORD WINAPI GetModuleFileNameA(HMODULE, LPSTR lpFilename, DWORD nSize)
{
    std::vector<char> path(4096);
    ssize_t length = 0;
    while ((length = readlink("/proc/self/exe", path.data(), path.size())) == static_cast<ssize_t>(path.size()))
        path.resize(path.size() * 2);
    if (length < 0) {
        SetLastError(static_cast<DWORD>(errno));
        return 0;
    }
    if (!lpFilename || nSize == 0) {
        SetLastError(ERANGE);
        return 0;
    }
    size_t size = static_cast<size_t>(length);
    if (size + 1 > nSize) {
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        SetLastError(ERANGE);
        return nSize;
    }
    std::memcpy(lpFilename, path.data(), size);
    lpFilename[size] = '\0';
    return static_cast<DWORD>(size);
}

// By the program's LC_CTYPE, which covers letters beyond A to Z in the
// single-byte locales; a pointer value below 64 K is one character, as on
// Windows.
LPSTR WINAPI CharLowerA(LPSTR lpsz)
{
    if (IS_INTRESOURCE(lpsz)) {
        int lowered = std::tolower(static_cast<unsigned char>(reinterpret_cast<ULONG_PTR>(lpsz)));
        return reinterpret_cast<LPSTR>(static_cast<ULONG_PTR>(static_cast<unsigned char>(lowered)));
    }
    for (char* p = lpsz; *p; ++p)
        *p = static_cast<char>(std::tolower(static_cast<unsigned char>(*p)));
    return lpsz;
}
