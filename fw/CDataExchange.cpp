#include "CDataExchange.h"

#include <vector>

#include "CWnd.h"

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd control = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (pDX->m_bSaveAndValidate) {
        value = control.GetWindowText();
        return;
    }
    // Setting the same text again would only make the control flicker.
    if (control.GetWindowText() != value)
        control.SetWindowText(value);
}

void DDX_LBString(CDataExchange* pDX, int nIDC, CString& value)
{
    CWnd list = pDX->m_pDlgWnd->GetDlgItem(nIDC);
    if (!pDX->m_bSaveAndValidate) {
        list.SendMessage(LB_SELECTSTRING, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(static_cast<const char*>(value)));
        return;
    }
    LRESULT index = list.SendMessage(LB_GETCURSEL);
    if (index == LB_ERR) {
        value.Empty();
        return;
    }
    LRESULT length = list.SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    std::vector<char> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1);
    list.SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    value = buffer.data();
}
