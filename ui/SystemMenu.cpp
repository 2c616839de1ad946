// The About item of the main dialog's system menu, and its command.
#include "MapSelectDlg.h"

#include "AboutDlg.h"
#include "resource.h"

namespace {

// The system keeps the low four bits of a system command for itself.
constexpr UINT kSystemCommandMask = 0xFFF0;

}  // namespace

void CMapSelectDlg::AddAboutItemToSystemMenu()
{
    HMENU hSystemMenu = GetSystemMenu(false);
    CString text;
    text.LoadString(IDS_ABOUTBOX);
    if (!hSystemMenu || text.IsEmpty())
        return;
    AppendMenuA(hSystemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(hSystemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void CMapSelectDlg::OnSysCommand(UINT nID, LPARAM)
{
    if ((nID & kSystemCommandMask) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
        return;
    }
    Default();
}
