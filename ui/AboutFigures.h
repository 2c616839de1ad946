// The two figures of the About box, worked out apart from the window.
#pragma once

#include "CString.h"

// Drive number of a current directory: 1 for A to 26 for Z, 0 when the
// path has no drive letter (or could not be read: nLength 0).
int DriveNumberOfDirectory(const char* pszDirectory, DWORD nLength);

// The memory line: total physical bytes in KB, by the "%lu KB" format.
CString FormatMemoryLine(const CString& strFormat, ULONGLONG ullTotalBytes);

// The disk line: free bytes in KB and the drive letter (code 64 plus the
// drive number), by the "%lu KB Free on %c:" format.
CString FormatDiskLine(const CString& strFormat, ULONGLONG ullFreeBytes, int nDrive);

// Free bytes of a drive from its geometry, in 64-bit arithmetic.
ULONGLONG FreeBytes(DWORD dwFreeClusters, DWORD dwSectorsPerCluster, DWORD dwBytesPerSector);
