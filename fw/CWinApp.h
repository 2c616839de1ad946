// The application object: process start-up, the main window link, the
// application's message table and its Help command.
#pragma once

#include "CCmdTarget.h"
#include "CString.h"

class CWnd;

// The Help command, sent to the main window by a help request.
#define ID_HELP 0xE146

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    // Start-up: true runs a message loop of the application afterwards.
    virtual BOOL InitInstance();
    virtual int ExitInstance();

    // Turns on the three-dimensional look for dialogs; the systems that
    // Levrin runs on draw dialogs so by themselves.
    BOOL Enable3dControls() { return TRUE; }

    // The framework's help operation: the system help viewer on the help
    // file, at the context of the focused window's dialog.
    void OnHelp();

    // Fixes the application name and the help file from the executable's
    // path, as the process starts.
    void SetUpFromModulePath(const char* pszModulePath);

    // Runs the process's application: set-up, InitInstance, exit.
    static int Run();

    CString m_strAppName;
    CString m_strHelpFilePath;
    CWnd* m_pMainWnd = nullptr;

    DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetResourceHandle();

// The application message box: OK only, the exclamation icon when the type
// names none, the application name as caption, the main window as owner.
int AfxMessageBox(const char* pszText, UINT nType = MB_OK, UINT nIDHelp = 0);
