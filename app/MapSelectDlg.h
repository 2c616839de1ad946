// The main dialog: holds the working state and routes every user action.
#pragma once

#include "Framework.h"

class CMapSelectDlg : public CDialog {
public:
    explicit CMapSelectDlg(CWnd* pParent);
    ~CMapSelectDlg() override = default;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override { InstallSelectedMap(); }

    void OnSysCommand(UINT nID, LPARAM lParam);
    void OnPaint();
    HCURSOR OnQueryDragIcon();
    void OnSelectMapFolder();
    void OnSelectGameFolder();
    void OnMapListDblClk();
    void OnKillLevelFile();

private:
    void InstallSelectedMap();
    void FillMapList();
    void SaveFolders();
    void ShowSystemError();
    void AddAboutItemToSystemMenu();
    bool BrowseForFolder(const char* pszTitle, CString* pstrPath);
    bool ReadSelectedEntry(CString* pstrEntry) const;
    void ShowFolder(int nIDC, const CString& strFolder) const;

    CString m_strMapDir;
    CString m_strExeDir;
    CString m_strListSel;
    CString m_strCurrentMap;
    HICON m_hIcon;
    BOOL m_bNoMaps;

    DECLARE_MESSAGE_MAP()
};
