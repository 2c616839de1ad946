// What the Win32 calls and the dialog manager of this host share about the
// windows that exist and the modal runs under way.
#pragma once

#include "HostWindow.h"

namespace host {

// Whether the handle names a window that exists now; a freed window's
// handle is never looked into.
bool IsLiveWindow(HWND window);
bool IsDialogWindow(HWND window);
bool IsControlOfClass(HWND window, const char* className);
// A control's dialog, a dialog itself; null for anything else.
HWND DialogOf(HWND window);
// Whether a dialog takes user input now: it exists, is enabled (no modal
// window that it owns is running) and its run has not ended.
bool TakesInput(HWND dialog);
// The dialogs being run modally, innermost last.
const std::vector<HWND>& RunningDialogs();
// The dialog being run modally on top, or null.
HWND InnermostDialog();

// Tells the view that the program changed a window.
void NotifyChanged(HWND window);
// A control's notification to its dialog.
void NotifyDialog(HWND control, WORD code);

// Keeps a dialog from taking input while a modal window that it owns runs.
class CInputBlock {
public:
    explicit CInputBlock(HWND owner);
    ~CInputBlock();
    CInputBlock(const CInputBlock&) = delete;
    CInputBlock& operator=(const CInputBlock&) = delete;

private:
    HWND m_hOwner;
    bool m_bWasEnabled;
};

// The window messages of the predefined controls, and of a dialog when its
// procedure leaves a message to the default handling.
LRESULT DefaultWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT ListBoxMessage(HWND list, UINT message, WPARAM wParam, LPARAM lParam);
bool IsListBoxMessage(UINT message);

}  // namespace host
