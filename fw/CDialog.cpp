#include "CDialog.h"

#include <map>

#include "CWinApp.h"

namespace {

// The dialogs whose windows exist, so that the procedure finds its object;
// one thread, and nested modal runs each add their own.
std::map<HWND, CDialog*>& LiveDialogs()
{
    static std::map<HWND, CDialog*> dialogs;
    return dialogs;
}

// The commands that a dialog offers to the application when it has no
// handler of its own.
bool IsApplicationCommand(UINT nID)
{
    return nID >= 0x8000 && nID <= 0xEFFF;
}

}  // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CDialog::DoModal()
{
    // Without a parent of its own, a dialog is owned by the main window,
    // which takes no input until it closes.
    CWnd* pOwner = m_pParentWnd;
    if (!pOwner && AfxGetApp() && AfxGetApp()->m_pMainWnd != this)
        pOwner = AfxGetApp()->m_pMainWnd;
    HWND hParent = pOwner ? pOwner->m_hWnd : nullptr;
    return ::DialogBoxParamA(AfxGetResourceHandle(), MAKEINTRESOURCEA(m_nIDTemplate), hParent,
                             &CDialog::DialogProc, reinterpret_cast<LPARAM>(this));
}

void CDialog::EndDialog(int nResult) const
{
    ::EndDialog(m_hWnd, nResult);
}

void CDialog::UpdateData(bool bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    DoDataExchange(&dx);
}

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::OnInitDialog()
{
    UpdateData(false);
    return TRUE;
}

void CDialog::OnOK()
{
    UpdateData(true);
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_INITDIALOG) {
        auto* pDialog = reinterpret_cast<CDialog*>(lParam);
        pDialog->m_hWnd = hWnd;
        LiveDialogs()[hWnd] = pDialog;
        BOOL bFocusDefault = pDialog->OnInitDialog();
        pDialog->CenterWindow();
        return bFocusDefault;
    }
    auto found = LiveDialogs().find(hWnd);
    if (found == LiveDialogs().end())
        return FALSE;
    CDialog* pDialog = found->second;
    if (nMessage == WM_DESTROY) {
        LiveDialogs().erase(found);
        if (AfxGetApp() && AfxGetApp()->m_pMainWnd == pDialog)
            AfxGetApp()->m_pMainWnd = nullptr;
        pDialog->m_hWnd = nullptr;
        return FALSE;
    }
    return pDialog->OnMessage(nMessage, wParam, lParam);
}

INT_PTR CDialog::OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam)
{
    if (nMessage == WM_COMMAND)
        return OnCommand(wParam) ? TRUE : FALSE;
    if (nMessage == WM_HELP) {
        OnHelpRequest();
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* pEntry = FindMessageEntry(nMessage, 0, 0);
    if (!pEntry)
        return FALSE;
    // A handler may itself run a nested modal loop that dispatches more
    // messages here, so each dispatch keeps its own request for default
    // handling.
    bool bOuterDefault = m_bCallDefault;
    m_bCallDefault = false;
    LRESULT result = pEntry->pfn(this, wParam, lParam);
    bool bDefault = m_bCallDefault;
    m_bCallDefault = bOuterDefault;
    if (bDefault)
        return FALSE;
    // The few messages whose result a dialog procedure returns directly.
    return nMessage == WM_QUERYDRAGICON ? static_cast<INT_PTR>(result) : TRUE;
}

bool CDialog::OnCommand(WPARAM wParam)
{
    UINT nID = LOWORD(wParam);
    UINT nCode = HIWORD(wParam);
    if (OnCmdMsg(nCode, nID))
        return true;
    if (nCode == BN_CLICKED && nID == IDOK) {
        OnOK();
        return true;
    }
    if (nCode == BN_CLICKED && nID == IDCANCEL) {
        OnCancel();
        return true;
    }
    if (nCode == 0 && IsApplicationCommand(nID) && AfxGetApp())
        return AfxGetApp()->OnCmdMsg(nCode, nID);
    return false;
}

void CDialog::OnHelpRequest() const
{
    // A help request in a top-level window becomes the Help command of the
    // application's main window.
    CWnd* pMainWnd = AfxGetApp() ? AfxGetApp()->m_pMainWnd : nullptr;
    if (pMainWnd && pMainWnd->m_hWnd)
        pMainWnd->SendMessage(WM_COMMAND, ID_HELP, 0);
}

CDialog* AfxFindDialog(HWND hWnd)
{
    auto found = LiveDialogs().find(hWnd);
    return found == LiveDialogs().end() ? nullptr : found->second;
}
