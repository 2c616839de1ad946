#include "AboutDlg.h"

#include "AboutFigures.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX, nullptr) {}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ShowMemory();
    ShowDiskSpace();
    return TRUE;
}

void CAboutDlg::ShowMemory() const
{
    // The extended status: the 32-bit one caps or wraps past 4 GB.
    MEMORYSTATUSEX status = {};
    status.dwLength = sizeof status;
    GlobalMemoryStatusEx(&status);
    CString format;
    format.LoadString(IDS_PHYSICAL_MEM);
    SetDlgItemText(IDC_PHYSICAL_MEM, FormatMemoryLine(format, status.ullTotalPhys));
}

void CAboutDlg::ShowDiskSpace() const
{
    char directory[MAX_PATH] = {};
    DWORD length = GetCurrentDirectoryA(MAX_PATH, directory);
    int drive = DriveNumberOfDirectory(directory, length);
    char root[] = { static_cast<char>(64 + drive), ':', '\\', '\0' };
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    CString text;
    if (GetDiskFreeSpaceA(drive ? root : nullptr, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                          &totalClusters)) {
        CString format;
        format.LoadString(IDS_DISK_SPACE);
        text = FormatDiskLine(format, FreeBytes(freeClusters, sectorsPerCluster, bytesPerSector), drive);
    } else {
        text.LoadString(IDS_DISK_SPACE_UNAVAIL);
    }
    SetDlgItemText(IDC_DISK_SPACE, text);
}
