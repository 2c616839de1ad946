#include "MapSelectApp.h"

#include "MapSelectDlg.h"
#include "SettingsNames.h"

// The one application object: constructed as the process starts.
CMapSelectApp theApp;

BEGIN_MESSAGE_MAP(CMapSelectApp, CWinApp)
    ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

CMapSelectApp* GetMapSelectApp()
{
    return &theApp;
}

BOOL CMapSelectApp::InitInstance()
{
    Enable3dControls();
    SetSettingsKey(kSettingsKey);

    CMapSelectDlg dlg(nullptr);
    m_pMainWnd = &dlg;
    dlg.DoModal();
    return FALSE;
}
