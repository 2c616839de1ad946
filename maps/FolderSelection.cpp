// Choosing the map folder and the game folder with the shell's folder picker.
#include "MapSelectDlg.h"

#include <vector>

#include "resource.h"

namespace {

constexpr char kMapFolderTitle[] = "Where can I find your Duke3d .Map Files Dude?";
constexpr char kGameFolderTitle[] = "Where can I find your Duke3d Exe Files Dude?";
constexpr char kGameExecutable[] = "Duke3d.Exe";
constexpr char kNoGameMessage[] = "Dude! I can't find Duke3d.exe here 8-()";

bool FolderHoldsGame(const CString& strFolder)
{
    CString probe = JoinPath(strFolder, kGameExecutable);
    WIN32_FIND_DATAA found;
    HANDLE hFind = FindFirstFileA(probe, &found);
    if (hFind == INVALID_HANDLE_VALUE)
        return false;
    FindClose(hFind);
    return true;
}

}  // namespace

bool CMapSelectDlg::BrowseForFolder(const char* pszTitle, CString* pstrPath)
{
    LPMALLOC pMalloc = nullptr;
    if (SHGetMalloc(&pMalloc) != S_OK)
        return false;
    std::vector<char> buffer(MAX_PATH, '\0');
    BROWSEINFOA info = {};
    info.hwndOwner = m_hWnd;
    info.pidlRoot = nullptr;
    info.pszDisplayName = buffer.data();
    info.lpszTitle = pszTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_RETURNFSANCESTORS;
    info.lpfn = nullptr;
    info.lParam = 0;
    bool bChosen = false;
    if (LPITEMIDLIST pidl = SHBrowseForFolderA(&info)) {
        if (SHGetPathFromIDListA(pidl, buffer.data())) {
            *pstrPath = buffer.data();
            bChosen = true;
        }
        pMalloc->Free(pidl);
    }
    pMalloc->Release();
    return bChosen;
}

void CMapSelectDlg::OnSelectMapFolder()
{
    CString folder;
    if (BrowseForFolder(kMapFolderTitle, &folder)) {
        m_strMapDir = folder;
        SaveFolders();
    }
    ShowFolder(IDC_MAPDIR, m_strMapDir);
    FillMapList();
}

void CMapSelectDlg::OnSelectGameFolder()
{
    CString folder;
    if (BrowseForFolder(kGameFolderTitle, &folder)) {
        // A refused folder leaves the previous one in place, so that a later
        // save cannot erase a stored game folder that was valid.
        if (FolderHoldsGame(folder)) {
            m_strExeDir = folder;
            SaveFolders();
        } else {
            AfxMessageBox(kNoGameMessage);
        }
    }
    ShowFolder(IDC_EXEDIR, m_strExeDir);
    FillMapList();
}
