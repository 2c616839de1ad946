// The dialog keyboard interface and the user's input to controls, routed
// to the dialog procedure as the Windows dialog manager routes them. Input
// to a dialog that takes none now (a modal window that it owns is open) is
// dropped.
#include "DialogManager.h"

#include "WindowModel.h"

namespace host {

namespace {

bool IsPushButton(HWND window)
{
    if (!IsControlOfClass(window, "Button"))
        return false;
    DWORD type = window->style & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

// A control that the user may act on now.
bool TakesUserInput(HWND control)
{
    return IsLiveWindow(control) && !IsDialogWindow(control) && control->enabled &&
           TakesInput(control->parent);
}

bool IsTabStop(const HostWindow& control)
{
    return (control.style & WS_TABSTOP) && (control.style & WS_VISIBLE) && control.enabled;
}

// The next control with a tab stop after the focus in template order, or
// before it, wrapping at either end.
HWND NextTabStop(HWND dialog, bool backwards)
{
    auto count = static_cast<int>(dialog->controls.size());
    int at = backwards ? count : -1;
    for (int i = 0; i < count; ++i) {
        if (dialog->controls[i].get() == dialog->focus)
            at = i;
    }
    int step = backwards ? -1 : 1;
    for (int moved = 1; moved <= count; ++moved) {
        HostWindow& control = *dialog->controls[((at + step * moved) % count + count) % count];
        if (IsTabStop(control))
            return &control;
    }
    return nullptr;
}

void MoveFocus(HWND dialog, bool backwards)
{
    HWND next = NextTabStop(dialog, backwards);
    if (!next || next == dialog->focus)
        return;
    dialog->focus = next;
    NotifyChanged(dialog);
}

// The click of a dialog's button by its id; a disabled button refuses it,
// while a missing one still sends the command, as on Windows.
void ClickById(HWND dialog, int id)
{
    HWND button = GetDlgItem(dialog, id);
    if (button && !button->enabled)
        return;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

// The default push button's id; IDOK when the dialog has none.
int DefaultButtonId(HWND dialog)
{
    for (const auto& control : dialog->controls) {
        if (IsPushButton(control.get()) && (control->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
            return control->id;
    }
    return IDOK;
}

void PressEnter(HWND dialog)
{
    if (IsPushButton(dialog->focus) && dialog->focus->enabled) {
        NotifyDialog(dialog->focus, BN_CLICKED);
        return;
    }
    ClickById(dialog, DefaultButtonId(dialog));
}

bool IsListEntry(HWND list, int index)
{
    return IsControlOfClass(list, "ListBox") && index >= 0 &&
           index < static_cast<int>(list->items.size());
}

void SelectByUser(HWND list, int index)
{
    list->curSel = index;
    if (list->style & LBS_NOTIFY)
        NotifyDialog(list, LBN_SELCHANGE);
}

}  // namespace

void ClickButton(HWND button)
{
    if (!IsPushButton(button) || !TakesUserInput(button))
        return;
    NotifyDialog(button, BN_CLICKED);
}

void SelectListItem(HWND list, int index)
{
    if (!IsListEntry(list, index) || !TakesUserInput(list))
        return;
    SelectByUser(list, index);
}

void DoubleClickListItem(HWND list, int index)
{
    if (!IsListEntry(list, index) || !TakesUserInput(list))
        return;
    SelectByUser(list, index);
    // The selection's handler may have changed the list or ended the run.
    if ((list->style & LBS_NOTIFY) && TakesUserInput(list))
        NotifyDialog(list, LBN_DBLCLK);
}

void TypeText(HWND edit, const std::string& text)
{
    if (!IsControlOfClass(edit, "Edit") || (edit->style & ES_READONLY) || !TakesUserInput(edit))
        return;
    // An edit box holds no zero bytes.
    std::string entered(text.c_str());
    if ((edit->style & ES_LOWERCASE) && !entered.empty())
        CharLowerA(&entered[0]);
    if (entered == edit->text)
        return;
    edit->text = entered;
    // The view shows what the user typed; only a converted text is news.
    if (entered != text)
        NotifyChanged(edit);
    NotifyDialog(edit, EN_CHANGE);
}

void FocusControl(HWND control)
{
    if (!TakesUserInput(control))
        return;
    control->parent->focus = control;
}

bool PressKey(HWND dialog, DialogKey key, bool shift, bool control, bool alt)
{
    if (!TakesInput(dialog))
        return false;
    switch (key) {
    case DialogKey::Tab:
    case DialogKey::ShiftTab:
        MoveFocus(dialog, shift || key == DialogKey::ShiftTab);
        return true;
    case DialogKey::Enter:
        PressEnter(dialog);
        return true;
    case DialogKey::Escape:
        ClickById(dialog, IDCANCEL);
        return true;
    case DialogKey::F1:
        // Help only for the bare key; with a modifier it is left alone.
        if (shift || control || alt)
            return false;
        SendMessageA(dialog, WM_HELP, 0, 0);
        return true;
    }
    return false;
}

void RequestClose(HWND dialog)
{
    SystemCommand(dialog, SC_CLOSE);
}

void SystemCommand(HWND dialog, UINT command)
{
    if (!TakesInput(dialog))
        return;
    SendMessageA(dialog, WM_SYSCOMMAND, command, 0);
}

HWND ActiveDialog()
{
    return InnermostDialog();
}

}  // namespace host
