// A modal dialog built from a template resource.
#pragma once

#include "CDataExchange.h"
#include "CWnd.h"

class CDialog : public CWnd {
public:
    CDialog(UINT nIDTemplate, CWnd* pParentWnd);
    ~CDialog() override;

    // Runs the dialog modally; the result of EndDialog, or -1 when the
    // window cannot be created.
    virtual INT_PTR DoModal();

    // The help context that the Help command asks the dialog for.
    DWORD GetHelpContext() const { return 0x20000u + m_nIDTemplate; }

    void EndDialog(int nResult) const;
    void UpdateData(bool bSaveAndValidate);

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT nMessage, WPARAM wParam, LPARAM lParam);
    INT_PTR OnMessage(UINT nMessage, WPARAM wParam, LPARAM lParam);
    bool OnCommand(WPARAM wParam);
    void OnHelpRequest() const;

    UINT m_nIDTemplate;
    CWnd* m_pParentWnd;
};

// The dialog object whose window this is, or null.
CDialog* AfxFindDialog(HWND hWnd);
