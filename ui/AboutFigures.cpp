#include "AboutFigures.h"

namespace {

// The formats count in 32 bits, the figures do not: the KB count goes in as
// a 64-bit number so that it is printed in full on every host.
CString WidenCount(const CString& strFormat)
{
    int at = strFormat.Find("%lu");
    if (at < 0)
        return strFormat;
    return strFormat.Left(at) + "%llu" + strFormat.Mid(at + 3);
}

}  // namespace

int DriveNumberOfDirectory(const char* pszDirectory, DWORD nLength)
{
    if (nLength == 0 || pszDirectory[0] == '\0' || pszDirectory[1] != ':')
        return 0;
    char letter = pszDirectory[0];
    if (letter >= 'a' && letter <= 'z')
        letter = static_cast<char>(letter - 'a' + 'A');
    return letter - 64;
}

CString FormatMemoryLine(const CString& strFormat, ULONGLONG ullTotalBytes)
{
    CString line;
    line.Format(WidenCount(strFormat), ullTotalBytes >> 10);
    return line;
}

CString FormatDiskLine(const CString& strFormat, ULONGLONG ullFreeBytes, int nDrive)
{
    CString line;
    line.Format(WidenCount(strFormat), ullFreeBytes >> 10, 64 + nDrive);
    return line;
}

ULONGLONG FreeBytes(DWORD dwFreeClusters, DWORD dwSectorsPerCluster, DWORD dwBytesPerSector)
{
    return static_cast<ULONGLONG>(dwFreeClusters) * dwSectorsPerCluster * dwBytesPerSector;
}
