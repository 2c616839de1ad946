// The in-memory windows of the Linux host. Dialogs and their controls live
// here; a WindowView (the GTK one, or a test's) shows them and feeds user
// input back through DialogManager.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "HostListItems.h"
#include "Platform.h"

struct HostMenu {
    struct Item {
        UINT flags;
        UINT_PTR id;
        std::string text;
    };
    std::vector<Item> items;
};

struct HostIcon {
    struct Image {
        int width;
        int height;
        std::vector<uint32_t> argb;  // width * height pixels, top row first
    };
    std::vector<Image> images;
};

struct HostDC {
    HWND window = nullptr;
    // What DrawIcon drew last, for the views and tests that look.
    HICON drawnIcon = nullptr;
    POINT drawnAt = { 0, 0 };
};

struct HostWindow {
    HostWindow* parent = nullptr;  // a control's dialog; a dialog's owner
    int id = 0;                    // -1 for controls without an id
    std::string className;         // "Button", "Static", "Edit", "ListBox"; "#32770" for a dialog
    std::string text;              // bytes of the ANSI text
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT unitRect = { 0, 0, 0, 0 };  // the template's x, y, cx, cy in dialog units
    RECT rect = { 0, 0, 0, 0 };      // pixels: a dialog's client area on screen, a control's in its dialog
    bool enabled = true;

    // List boxes.
    HostListItems items;
    int curSel = -1;

    // Dialogs.
    std::vector<std::unique_ptr<HostWindow>> controls;  // template order
    DLGPROC proc = nullptr;
    std::string fontFace;
    int fontPoints = 0;
    SIZE baseUnits = { 0, 0 };  // pixels per 4 horizontal, 8 vertical dialog units
    HostWindow* focus = nullptr;
    HICON icons[2] = { nullptr, nullptr };  // ICON_SMALL, ICON_BIG
    std::unique_ptr<HostMenu> systemMenu;
    bool iconic = false;
    HostDC paintDC;  // BeginPaint's context, holding what the last paint drew
    bool ended = false;
    INT_PTR result = 0;

    void* viewData = nullptr;  // owned by the view
};
