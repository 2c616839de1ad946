// Resource identifiers shared by the resource script and the code.
#pragma once

#define IDD_ABOUTBOX            100
#define IDS_ABOUTBOX            101
#define IDD_MAIN                102
#define IDS_PHYSICAL_MEM        103
#define IDS_DISK_SPACE          104
#define IDS_DISK_SPACE_UNAVAIL  105
#define IDR_MAINFRAME           128

#define IDC_BROWSE_MAPDIR       1000
#define IDC_MAPDIR              1001
#define IDC_MAPLIST             1003
#define IDC_PHYSICAL_MEM        1004
#define IDC_DISK_SPACE          1005
#define IDC_CURRENT_MAP         1006
#define IDC_BROWSE_EXEDIR       1007
#define IDC_EXEDIR              1008
#define IDC_KILL_LEVEL          1009

// System-menu command ids keep their low four bits clear and stay below
// 0xF000, where the system's own commands begin.
#define IDM_ABOUTBOX            0x0010
