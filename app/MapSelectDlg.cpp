#include "MapSelectDlg.h"

#include "MapSelectApp.h"
#include "SettingsNames.h"
#include "resource.h"

BEGIN_MESSAGE_MAP(CMapSelectDlg, CDialog)
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_BN_CLICKED(IDC_BROWSE_MAPDIR, OnSelectMapFolder)
    ON_LBN_DBLCLK(IDC_MAPLIST, OnMapListDblClk)
    ON_BN_CLICKED(IDC_KILL_LEVEL, OnKillLevelFile)
    ON_BN_CLICKED(IDC_BROWSE_EXEDIR, OnSelectGameFolder)
END_MESSAGE_MAP()

CMapSelectDlg::CMapSelectDlg(CWnd* pParent)
    : CDialog(IDD_MAIN, pParent),
      m_hIcon(LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
      m_bNoMaps(FALSE)
{
}

void CMapSelectDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_MAPDIR, m_strMapDir);
    DDX_Text(pDX, IDC_EXEDIR, m_strExeDir);
    DDX_LBString(pDX, IDC_MAPLIST, m_strListSel);
    DDX_Text(pDX, IDC_CURRENT_MAP, m_strCurrentMap);
}

BOOL CMapSelectDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CMapSelectApp* pApp = GetMapSelectApp();
    m_strMapDir = pApp->ReadSetting(kSettingsSection, kSettingMapDir);
    m_strCurrentMap = pApp->ReadSetting(kSettingsSection, kSettingCurrentMap);
    m_strExeDir = pApp->ReadSetting(kSettingsSection, kSettingExeDir);

    SetDlgItemText(IDC_CURRENT_MAP, m_strCurrentMap);
    ShowFolder(IDC_MAPDIR, m_strMapDir);
    ShowFolder(IDC_EXEDIR, m_strExeDir);
    if (!m_strMapDir.IsEmpty())
        FillMapList();

    AddAboutItemToSystemMenu();
    SetIcon(m_hIcon, true);
    SetIcon(m_hIcon, false);
    return TRUE;
}

// Shows a folder in its box, replacing whatever was typed there.
void CMapSelectDlg::ShowFolder(int nIDC, const CString& strFolder) const
{
    CWnd box = GetDlgItem(nIDC);
    box.SetWindowText(strFolder);
    box.UpdateWindow();
}

void CMapSelectDlg::OnPaint()
{
    if (!IsIconic()) {
        Default();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    int cxIcon = GetSystemMetrics(SM_CXICON);
    int cyIcon = GetSystemMetrics(SM_CYICON);
    RECT rect;
    GetClientRect(&rect);
    int x = (rect.right - rect.left - cxIcon + 1) / 2;
    int y = (rect.bottom - rect.top - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CMapSelectDlg::OnQueryDragIcon()
{
    return m_hIcon;
}
