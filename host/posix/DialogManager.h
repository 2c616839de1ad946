// The dialog keyboard interface and user input of the Linux host: what a
// view calls when the user acts, so that every host routes it alike.
#pragma once

#include <string>

#include "HostWindow.h"

namespace host {

enum class DialogKey { Tab, ShiftTab, Enter, Escape, F1 };

// A click on a push button (the default one included).
void ClickButton(HWND button);
// The user selected an entry of a list box.
void SelectListItem(HWND list, int index);
// The user double-clicked an entry of a list box.
void DoubleClickListItem(HWND list, int index);
// The user changed an edit box's text to this (its style applies).
void TypeText(HWND edit, const std::string& text);
// The user moved the focus to a control.
void FocusControl(HWND control);
// A dialog key; true when the dialog took it.
bool PressKey(HWND dialog, DialogKey key, bool shift, bool control, bool alt);
// The close box, Alt+F4 or a close request of the window manager.
void RequestClose(HWND dialog);
// A command of the window's menu (the system menu).
void SystemCommand(HWND dialog, UINT command);

// The dialog being run modally on top, or null.
HWND ActiveDialog();

}  // namespace host
