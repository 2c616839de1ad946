// One control of a host dialog as a GTK widget, placed at its rectangle.
#pragma once

#include <string>
#include <vector>

// The host's platform header first: it defines TRUE and FALSE unguarded.
#include "HostWindow.h"

#include <gtk/gtk.h>

class CGtkDialog;

class CGtkControl {
public:
    CGtkControl(HWND control, CGtkDialog* dialog);
    ~CGtkControl();
    CGtkControl(const CGtkControl&) = delete;
    static bool IsClass(HWND window, const char* className);
    CGtkControl& operator=(const CGtkControl&) = delete;

    HWND Control() const { return m_hWnd; }
    // What the dialog places at the control's rectangle.
    GtkWidget* Outer() const { return m_pOuter; }
    // What takes the keyboard focus, or null for a control that takes none.
    GtkWidget* FocusWidget() const;
    bool IsDefaultButton() const;
    bool IsNameable() const;
    bool HasAccessibleName() const;
    void SetAccessibleName(const std::string& utf8);
    // Copy the model's text, entries, selection and state.
    void Mirror();

private:
    void CreateButton();
    void CreateStatic();
    void CreateEdit();
    void CreateListBox();
    void MirrorText();
    void MirrorList();
    void MirrorEntries();
    void MirrorSelection();

    static gboolean OnListIdle(gpointer self);

    static void OnClicked(GtkButton* button, gpointer self);
    static void OnEditChanged(GtkEditable* editable, gpointer self);
    static void OnSelectionChanged(GtkTreeSelection* selection, gpointer self);
    static gboolean OnListButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self);
    static gboolean OnFocusIn(GtkWidget* widget, GdkEvent* event, gpointer self);

    HWND m_hWnd;
    CGtkDialog* m_pDialog;
    GtkWidget* m_pOuter = nullptr;
    GtkWidget* m_pWidget = nullptr;  // the button, label, entry or tree view
    GtkListStore* m_pStore = nullptr;
    std::vector<std::string> m_shownItems;  // what the store holds
    guint m_nListIdle = 0;
    bool m_bMirroring = false;
};
