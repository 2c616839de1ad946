#include "CWinApp.h"

#include <algorithm>

#include "CDialog.h"
#include "CWnd.h"

namespace {

CWinApp* g_pApp = nullptr;

}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp()
{
    g_pApp = this;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return FALSE;
}

int CWinApp::ExitInstance()
{
    return 0;
}

void CWinApp::SetUpFromModulePath(const char* pszModulePath)
{
    CString path(pszModulePath);
    int cut = -1;
    for (char separator : { '\\', '/', ':' })
        cut = std::max(cut, path.ReverseFind(separator));
    // Only a dot of the file's own name starts an extension: a Linux
    // executable has none, and its folders may hold dots (~/.local/bin).
    int dot = path.ReverseFind('.');
    CString stem = dot > cut ? path.Left(dot) : path;
    m_strAppName = stem.Mid(cut + 1);
    m_strHelpFilePath = stem + ".HLP";
}

int CWinApp::Run()
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return 1;
    char modulePath[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, modulePath, MAX_PATH);
    pApp->SetUpFromModulePath(modulePath);
    // A start-up that returns true would want a message loop of the
    // application; Levrin's runs its dialog modally and never asks for one.
    pApp->InitInstance();
    return pApp->ExitInstance();
}

void CWinApp::OnHelp()
{
    if (!m_pMainWnd)
        return;
    DWORD dwContext = 0;
    for (HWND hWnd = ::GetFocus(); hWnd && !dwContext; hWnd = ::GetParent(hWnd)) {
        if (CDialog* pDialog = AfxFindDialog(hWnd))
            dwContext = pDialog->GetHelpContext();
    }
    if (!::WinHelpA(m_pMainWnd->m_hWnd, m_strHelpFilePath, HELP_CONTEXT, dwContext))
        AfxMessageBox("Failed to launch help.");
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

int AfxMessageBox(const char* pszText, UINT nType, UINT)
{
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    CWinApp* pApp = AfxGetApp();
    HWND hOwner = pApp && pApp->m_pMainWnd ? pApp->m_pMainWnd->m_hWnd : nullptr;
    const char* pszCaption = pApp ? static_cast<const char*>(pApp->m_strAppName) : "";
    return ::MessageBoxA(hOwner, pszText, pszCaption, nType);
}
