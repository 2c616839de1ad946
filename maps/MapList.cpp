// The map list: one short, lower-case name per .map file of the map folder.
#include "MapSelectDlg.h"

#include "MapName.h"
#include "resource.h"

void CMapSelectDlg::FillMapList()
{
    CWnd list = GetDlgItem(IDC_MAPLIST);
    list.SendMessage(LB_RESETCONTENT);
    m_bNoMaps = FALSE;

    CString pattern = JoinPath(m_strMapDir, "*.map");
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(pattern, &found);
    if (hFind == INVALID_HANDLE_VALUE) {
        list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kNoMapsEntry));
        list.UpdateWindow();
        m_bNoMaps = TRUE;
    } else {
        do {
            CString name = MapNameFromFileName(found.cFileName);
            if (!IsLevelFileName(name))
                list.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<const char*>(name)));
        } while (FindNextFileA(hFind, &found));
        FindClose(hFind);
    }
    list.SendMessage(LB_SETCURSEL, 0);
}
