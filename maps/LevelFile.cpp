// Installing the selected map as the game's first level, and removing it.
#include "MapSelectDlg.h"

#include <vector>

#include "MapName.h"
#include "MapSelectApp.h"
#include "SettingsNames.h"
#include "resource.h"

namespace {

constexpr char kLevelFileName[] = "e1l1.map";
constexpr char kNoGameFolderMessage[] =
    "Dude! You need to set your Duke Executable Dir.\r\nPush the 'Select Duke Dir' button'.";
constexpr char kNoMapMessage[] =
    "Dude! You need to set the directory where your .maps are\r\nPush the 'Select Map Dir' button.";
constexpr char kInstalledFormat[] =
    "%s transfered to %s\r\n Select 'Hollywood Holocaust' to play this map.";
constexpr char kDeletedMessage[] = "e1l1.map deleted, you may now play Hollywood Holocaust.";
constexpr DWORD kErrorTextLanguage = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
constexpr DWORD kErrorTextSize = 256;

}  // namespace

void CMapSelectDlg::OnMapListDblClk()
{
    OnOK();
}

bool CMapSelectDlg::ReadSelectedEntry(CString* pstrEntry) const
{
    CWnd list = GetDlgItem(IDC_MAPLIST);
    LRESULT index = list.SendMessage(LB_GETCURSEL);
    if (index == LB_ERR)
        return false;
    char entry[MAX_PATH] = {};
    list.SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry));
    *pstrEntry = entry;
    return true;
}

void CMapSelectDlg::InstallSelectedMap()
{
    if (m_strExeDir.IsEmpty()) {
        AfxMessageBox(kNoGameFolderMessage);
        return;
    }
    CString entry;
    if (m_bNoMaps || !ReadSelectedEntry(&entry)) {
        AfxMessageBox(kNoMapMessage);
        return;
    }
    CString source = JoinPath(m_strMapDir, entry + ".map");
    CString target = JoinPath(m_strExeDir, kLevelFileName);
    if (!CopyFileA(source, target, FALSE)) {
        ShowSystemError();
        return;
    }
    // Recorded only once the copy is in place, so that a failed copy never
    // names a map that is not installed.
    GetMapSelectApp()->WriteSetting(kSettingsSection, kSettingCurrentMap, entry);
    SetDlgItemText(IDC_CURRENT_MAP, entry);
    CString message;
    message.Format(kInstalledFormat, static_cast<const char*>(source), static_cast<const char*>(target));
    AfxMessageBox(message);
}

void CMapSelectDlg::OnKillLevelFile()
{
    if (m_strExeDir.IsEmpty()) {
        AfxMessageBox(kNoGameFolderMessage);
        return;
    }
    CString target = JoinPath(m_strExeDir, kLevelFileName);
    if (!DeleteFileA(target)) {
        ShowSystemError();
        return;
    }
    AfxMessageBox(kDeletedMessage);
}

void CMapSelectDlg::ShowSystemError()
{
    DWORD dwError = GetLastError();
    std::vector<char> text(kErrorTextSize, '\0');
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, dwError, kErrorTextLanguage,
                                  text.data(), kErrorTextSize, nullptr);
    if (length == 0) {
        // Without the system's words, still say that it failed.
        CString fallback;
        fallback.Format("The file operation failed (system error %lu).",
                        static_cast<unsigned long>(dwError));
        AfxMessageBox(fallback);
        return;
    }
    AfxMessageBox(text.data());
}
