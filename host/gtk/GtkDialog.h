// One host dialog on screen: a fixed-size GTK window with a widget per
// control at the control's rectangle; user input goes back to the model.
#pragma once

#include <memory>
#include <vector>

// The host's platform header first: it defines TRUE and FALSE unguarded.
#include "HostWindow.h"

#include <gtk/gtk.h>

class CGtkControl;

class CGtkDialog {
public:
    explicit CGtkDialog(HWND dialog);
    ~CGtkDialog();
    CGtkDialog(const CGtkDialog&) = delete;
    CGtkDialog& operator=(const CGtkDialog&) = delete;

    // The view of a dialog, or of the dialog that holds a control; null if none.
    static CGtkDialog* FromWindow(HWND window);

    GtkWindow* Window() const { return m_pWindow; }
    // True while the view copies the model, so that no input is reported.
    bool IsMirroring() const { return m_bMirroring; }

    void Show();
    // Copy what the model holds for the dialog or one of its controls.
    void Mirror(HWND window);
    void MirrorIconic();
    void RunModalLoop();
    void QuitModalLoop();

private:
    void AddControls();
    void NameUnlabelledControls();
    void MirrorDialog();
    void MirrorPlacement();
    void MirrorFocus();
    void MirrorIcons();
    void PopUpSystemMenu(const GdkEvent* trigger);
    bool IsBackground(GtkWidget* widget) const;
    bool TakeKey(const GdkEventKey* event);

    static gboolean OnDeleteEvent(GtkWidget* widget, GdkEvent* event, gpointer self);
    static gboolean OnKeyPress(GtkWidget* widget, GdkEventKey* event, gpointer self);
    static gboolean OnButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnWindowState(GtkWidget* widget, GdkEventWindowState* event, gpointer self);
    static void OnSystemMenuItem(GtkMenuItem* item, gpointer self);

    HWND m_hWnd;
    GtkWindow* m_pWindow;
    GtkWidget* m_pLayout;
    GtkWidget* m_pSystemMenu = nullptr;
    GMainLoop* m_pModalLoop = nullptr;
    bool m_bMirroring = false;
    bool m_bPlaced = false;
    RECT m_placed = { 0, 0, 0, 0 };
    bool m_bIconsSet = false;
    HICON m_shownIcons[2] = { nullptr, nullptr };
    std::vector<std::unique_ptr<CGtkControl>> m_controls;
};
