// Modal dialogs from templates: creation, the modal run and destruction,
// and the questions that find windows in the model.
#include "WindowModel.h"

#include <algorithm>
#include <set>
#include <strings.h>

#include "Resources.h"
#include "WindowView.h"

namespace host {

namespace {

constexpr char kDialogClass[] = "#32770";

std::set<HWND>& LiveWindows()
{
    static std::set<HWND> windows;
    return windows;
}

// Innermost last; a nested run (About box, a dialog from a handler) sits
// on top of the one whose handler started it.
std::vector<HWND>& Running()
{
    static std::vector<HWND> dialogs;
    return dialogs;
}

// Dialog units to pixels, rounded as the Windows MulDiv rounds.
LONG UnitsToPixels(LONG units, LONG base, LONG divisor)
{
    long long product = static_cast<long long>(units) * base;
    long long half = divisor / 2;
    return static_cast<LONG>(product >= 0 ? (product + half) / divisor : -((-product + half) / divisor));
}

RECT UnitsToPixelRect(const RECT& unitRect, SIZE baseUnits)
{
    LONG left = UnitsToPixels(unitRect.left, baseUnits.cx, 4);
    LONG top = UnitsToPixels(unitRect.top, baseUnits.cy, 8);
    return { left, top, left + UnitsToPixels(unitRect.right, baseUnits.cx, 4),
             top + UnitsToPixels(unitRect.bottom, baseUnits.cy, 8) };
}

std::unique_ptr<HostWindow> CreateControl(const DialogItemTemplate& item, HWND dialog)
{
    auto control = std::make_unique<HostWindow>();
    control->parent = dialog;
    control->id = item.id;
    control->className = item.className;
    control->text = item.text;
    control->style = item.style;
    control->exStyle = item.exStyle;
    control->unitRect = item.unitRect;
    control->rect = UnitsToPixelRect(item.unitRect, dialog->baseUnits);
    control->enabled = (item.style & WS_DISABLED) == 0;
    return control;
}

std::unique_ptr<HostWindow> CreateDialogWindow(const DialogTemplate& dialogTemplate, HWND owner,
                                               DLGPROC proc, WindowView* view)
{
    auto dialog = std::make_unique<HostWindow>();
    dialog->parent = owner;
    dialog->className = kDialogClass;
    dialog->text = dialogTemplate.caption;
    dialog->style = dialogTemplate.style;
    dialog->exStyle = dialogTemplate.exStyle;
    dialog->unitRect = dialogTemplate.unitRect;
    dialog->enabled = (dialogTemplate.style & WS_DISABLED) == 0;
    dialog->proc = proc;
    dialog->fontFace = dialogTemplate.fontFace;
    dialog->fontPoints = dialogTemplate.fontPoints;
    dialog->baseUnits = view->FontBaseUnits(dialog->fontFace, dialog->fontPoints);
    dialog->rect = UnitsToPixelRect(dialogTemplate.unitRect, dialog->baseUnits);
    // The template's position counts from the owner's client area unless
    // it asks for screen coordinates.
    if (owner && !(dialogTemplate.style & DS_ABSALIGN)) {
        dialog->rect.left += owner->rect.left;
        dialog->rect.right += owner->rect.left;
        dialog->rect.top += owner->rect.top;
        dialog->rect.bottom += owner->rect.top;
    }
    for (const DialogItemTemplate& item : dialogTemplate.items)
        dialog->controls.push_back(CreateControl(item, dialog.get()));
    return dialog;
}

void Register(HWND dialog)
{
    LiveWindows().insert(dialog);
    for (const auto& control : dialog->controls)
        LiveWindows().insert(control.get());
}

void Unregister(HWND dialog)
{
    for (const auto& control : dialog->controls)
        LiveWindows().erase(control.get());
    LiveWindows().erase(dialog);
}

HWND FirstTabStop(HWND dialog)
{
    for (const auto& control : dialog->controls) {
        if ((control->style & WS_TABSTOP) && (control->style & WS_VISIBLE) && control->enabled)
            return control.get();
    }
    return nullptr;
}

void InitDialog(HWND dialog, LPARAM param)
{
    HWND firstTabStop = FirstTabStop(dialog);
    INT_PTR focusDefault = dialog->proc(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(firstTabStop), param);
    if (focusDefault && IsLiveWindow(firstTabStop)) {
        dialog->focus = firstTabStop;
        NotifyChanged(dialog);
    }
}

// Runs a created dialog modally and returns the result of EndDialog.
INT_PTR RunDialog(HWND dialog, LPARAM param, WindowView* view)
{
    CInputBlock ownerBlock(dialog->parent);
    Running().push_back(dialog);
    InitDialog(dialog, param);
    // A dialog ended while it initialised is never shown.
    if (!dialog->ended) {
        view->DialogShown(dialog);
        view->RunModalLoop(dialog);
    }
    Running().erase(std::find(Running().begin(), Running().end(), dialog));
    return dialog->result;
}

}  // namespace

bool IsLiveWindow(HWND window)
{
    return window && LiveWindows().count(window) != 0;
}

bool IsDialogWindow(HWND window)
{
    return IsLiveWindow(window) && window->className == kDialogClass;
}

bool IsControlOfClass(HWND window, const char* className)
{
    return IsLiveWindow(window) && !IsDialogWindow(window) &&
           strcasecmp(window->className.c_str(), className) == 0;
}

HWND DialogOf(HWND window)
{
    if (!IsLiveWindow(window))
        return nullptr;
    return IsDialogWindow(window) ? window : window->parent;
}

bool TakesInput(HWND dialog)
{
    return IsDialogWindow(dialog) && dialog->enabled && !dialog->ended;
}

const std::vector<HWND>& RunningDialogs()
{
    return Running();
}

HWND InnermostDialog()
{
    return Running().empty() ? nullptr : Running().back();
}

void NotifyChanged(HWND window)
{
    if (WindowView* view = GetWindowView())
        view->WindowChanged(window);
}

void NotifyDialog(HWND control, WORD code)
{
    SendMessageA(control->parent, WM_COMMAND, MAKEWPARAM(control->id, code),
                 reinterpret_cast<LPARAM>(control));
}

CInputBlock::CInputBlock(HWND owner) : m_hOwner(DialogOf(owner)), m_bWasEnabled(false)
{
    if (!m_hOwner)
        return;
    m_bWasEnabled = m_hOwner->enabled;
    m_hOwner->enabled = false;
    if (m_bWasEnabled)
        NotifyChanged(m_hOwner);
}

CInputBlock::~CInputBlock()
{
    if (!IsLiveWindow(m_hOwner) || !m_bWasEnabled)
        return;
    m_hOwner->enabled = true;
    NotifyChanged(m_hOwner);
}

}  // namespace host

INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent,
                               DLGPROC lpDialogFunc, LPARAM dwInitParam)
{
    WindowView* view = GetWindowView();
    host::DialogTemplate dialogTemplate;
    if (!view || !lpDialogFunc || !host::LoadDialogTemplate(hInstance, lpTemplateName, &dialogTemplate))
        return -1;
    std::unique_ptr<HostWindow> dialog =
        host::CreateDialogWindow(dialogTemplate, host::DialogOf(hWndParent), lpDialogFunc, view);
    HWND hDlg = dialog.get();
    host::Register(hDlg);
    view->DialogCreated(hDlg);
    INT_PTR result = host::RunDialog(hDlg, dwInitParam, view);
    lpDialogFunc(hDlg, WM_DESTROY, 0, 0);
    view->DialogDestroyed(hDlg);
    host::Unregister(hDlg);
    return result;
}

BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult)
{
    if (!host::IsDialogWindow(hDlg))
        return FALSE;
    hDlg->ended = true;
    hDlg->result = nResult;
    if (WindowView* view = GetWindowView())
        view->DialogEnded(hDlg);
    return TRUE;
}

BOOL WINAPI IsWindow(HWND hWnd)
{
    return host::IsLiveWindow(hWnd) ? TRUE : FALSE;
}

HWND WINAPI GetParent(HWND hWnd)
{
    return host::IsLiveWindow(hWnd) ? hWnd->parent : nullptr;
}

HWND WINAPI GetFocus()
{
    HWND dialog = host::InnermostDialog();
    if (!dialog)
        return nullptr;
    return dialog->focus ? dialog->focus : dialog;
}

HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem)
{
    if (!host::IsDialogWindow(hDlg))
        return nullptr;
    for (const auto& control : hDlg->controls) {
        if (control->id == nIDDlgItem)
            return control.get();
    }
    return nullptr;
}

int WINAPI GetDlgCtrlID(HWND hWnd)
{
    if (!host::IsLiveWindow(hWnd) || host::IsDialogWindow(hWnd))
        return 0;
    return hWnd->id;
}
