#include "GtkControl.h"

#include "DialogManager.h"
#include "GtkDialog.h"
#include "GtkText.h"

namespace {

std::string EntryText(GtkWidget* entry)
{
    return gtk_entry_get_text(GTK_ENTRY(entry));
}

GtkWidget* NewFrame(GtkShadowType shadow)
{
    GtkWidget* frame = gtk_frame_new(nullptr);
    gtk_frame_set_shadow_type(GTK_FRAME(frame), shadow);
    return frame;
}

}  // namespace

// Window class names ignore case, as on Windows.
bool CGtkControl::IsClass(HWND window, const char* className)
{
    return g_ascii_strcasecmp(window->className.c_str(), className) == 0;
}

CGtkControl::CGtkControl(HWND control, CGtkDialog* dialog)
    : m_hWnd(control), m_pDialog(dialog)
{
    if (IsClass(control, "Button"))
        CreateButton();
    else if (IsClass(control, "Edit"))
        CreateEdit();
    else if (IsClass(control, "ListBox"))
        CreateListBox();
    else
        CreateStatic();
    gtk_widget_set_size_request(m_pOuter, control->rect.right - control->rect.left,
                                control->rect.bottom - control->rect.top);
    if (control->id > 0) {
        // Lets tests and assistive tools find a control by its id.
        std::string id = std::to_string(control->id);
        atk_object_set_accessible_id(gtk_widget_get_accessible(m_pOuter), id.c_str());
        if (m_pWidget && m_pWidget != m_pOuter)
            atk_object_set_accessible_id(gtk_widget_get_accessible(m_pWidget), id.c_str());
    }
    if (GtkWidget* focus = FocusWidget())
        g_signal_connect(focus, "focus-in-event", G_CALLBACK(OnFocusIn), this);
    Mirror();
}

CGtkControl::~CGtkControl()
{
    if (m_nListIdle)
        g_source_remove(m_nListIdle);
}

GtkWidget* CGtkControl::FocusWidget() const
{
    if (GTK_IS_BUTTON(m_pWidget) || GTK_IS_ENTRY(m_pWidget) || GTK_IS_TREE_VIEW(m_pWidget))
        return m_pWidget;
    return nullptr;
}

bool CGtkControl::IsDefaultButton() const
{
    return GTK_IS_BUTTON(m_pWidget) && (m_hWnd->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

bool CGtkControl::IsNameable() const
{
    return GTK_IS_ENTRY(m_pWidget) || GTK_IS_TREE_VIEW(m_pWidget);
}

bool CGtkControl::HasAccessibleName() const
{
    const char* name = atk_object_get_name(gtk_widget_get_accessible(m_pWidget));
    return name && *name;
}

void CGtkControl::SetAccessibleName(const std::string& utf8)
{
    atk_object_set_name(gtk_widget_get_accessible(m_pWidget), utf8.c_str());
}

void CGtkControl::Mirror()
{
    m_bMirroring = true;
    gtk_widget_set_sensitive(m_pOuter, m_hWnd->enabled);
    MirrorText();
    m_bMirroring = false;
    // A list filled entry by entry is shown once, before the next frame.
    if (m_pStore && !m_nListIdle)
        m_nListIdle = g_idle_add_full(G_PRIORITY_HIGH_IDLE, OnListIdle, this, nullptr);
}

void CGtkControl::MirrorList()
{
    m_bMirroring = true;
    MirrorEntries();
    MirrorSelection();
    m_bMirroring = false;
}

void CGtkControl::CreateButton()
{
    if ((m_hWnd->style & BS_TYPEMASK) == BS_GROUPBOX) {
        m_pOuter = m_pWidget = NewFrame(GTK_SHADOW_ETCHED_IN);
        gtk_frame_set_label_align(GTK_FRAME(m_pOuter), 0.03f, 0.5f);
        return;
    }
    m_pOuter = m_pWidget = gtk_button_new_with_label("");
    gtk_button_set_use_underline(GTK_BUTTON(m_pWidget), TRUE);
    if (IsDefaultButton())
        gtk_widget_set_can_default(m_pWidget, TRUE);
    g_signal_connect(m_pWidget, "clicked", G_CALLBACK(OnClicked), this);
}

void CGtkControl::CreateStatic()
{
    DWORD type = m_hWnd->style & SS_TYPEMASK;
    if (type == SS_ETCHEDFRAME) {
        m_pOuter = m_pWidget = NewFrame(GTK_SHADOW_ETCHED_IN);
        return;
    }
    m_pWidget = gtk_label_new(nullptr);
    GtkLabel* label = GTK_LABEL(m_pWidget);
    bool centred = type == SS_CENTER;
    gtk_label_set_xalign(label, centred ? 0.5f : 0.0f);
    gtk_label_set_yalign(label, 0.0f);
    gtk_label_set_justify(label, centred ? GTK_JUSTIFY_CENTER : GTK_JUSTIFY_LEFT);
    gtk_label_set_line_wrap(label, TRUE);
    gtk_label_set_line_wrap_mode(label, PANGO_WRAP_WORD_CHAR);
    if (!(m_hWnd->style & SS_SUNKEN)) {
        m_pOuter = m_pWidget;
        return;
    }
    m_pOuter = NewFrame(GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(m_pOuter), m_pWidget);
}

void CGtkControl::CreateEdit()
{
    m_pOuter = m_pWidget = gtk_entry_new();
    gtk_entry_set_has_frame(GTK_ENTRY(m_pWidget), (m_hWnd->style & WS_BORDER) != 0);
    gtk_entry_set_width_chars(GTK_ENTRY(m_pWidget), 1);
    gtk_editable_set_editable(GTK_EDITABLE(m_pWidget), !(m_hWnd->style & ES_READONLY));
    g_signal_connect(m_pWidget, "changed", G_CALLBACK(OnEditChanged), this);
}

void CGtkControl::CreateListBox()
{
    m_pStore = gtk_list_store_new(1, G_TYPE_STRING);
    m_pWidget = gtk_tree_view_new_with_model(GTK_TREE_MODEL(m_pStore));
    g_object_unref(m_pStore);  // the view holds it
    GtkTreeView* view = GTK_TREE_VIEW(m_pWidget);
    gtk_tree_view_set_headers_visible(view, FALSE);
    gtk_tree_view_set_enable_search(view, FALSE);
    gtk_tree_view_insert_column_with_attributes(view, -1, "", gtk_cell_renderer_text_new(), "text",
                                                0, nullptr);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
    gtk_tree_selection_set_mode(selection, GTK_SELECTION_SINGLE);
    g_signal_connect(selection, "changed", G_CALLBACK(OnSelectionChanged), this);
    g_signal_connect(m_pWidget, "button-press-event", G_CALLBACK(OnListButtonPress), this);

    m_pOuter = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(m_pOuter), GTK_POLICY_NEVER,
                                   GTK_POLICY_ALWAYS);
    gtk_scrolled_window_set_shadow_type(GTK_SCROLLED_WINDOW(m_pOuter), GTK_SHADOW_IN);
    gtk_container_add(GTK_CONTAINER(m_pOuter), m_pWidget);
}

void CGtkControl::MirrorText()
{
    if (GTK_IS_ENTRY(m_pWidget)) {
        std::string text = gtktext::ToUtf8(m_hWnd->text);
        if (EntryText(m_pWidget) == text)
            return;
        int position = gtk_editable_get_position(GTK_EDITABLE(m_pWidget));
        gtk_entry_set_text(GTK_ENTRY(m_pWidget), text.c_str());
        gtk_editable_set_position(GTK_EDITABLE(m_pWidget), position);
    } else if (GTK_IS_BUTTON(m_pWidget)) {
        gtk_button_set_label(GTK_BUTTON(m_pWidget), gtktext::ToMnemonic(m_hWnd->text).c_str());
    } else if (GTK_IS_FRAME(m_pWidget)) {
        std::string text = gtktext::ToDisplay(m_hWnd->text);
        gtk_frame_set_label(GTK_FRAME(m_pWidget), text.empty() ? nullptr : text.c_str());
    } else if (GTK_IS_LABEL(m_pWidget)) {
        if (m_hWnd->style & SS_NOPREFIX)
            gtk_label_set_text(GTK_LABEL(m_pWidget), gtktext::ToDisplay(m_hWnd->text).c_str());
        else
            gtk_label_set_text_with_mnemonic(GTK_LABEL(m_pWidget),
                                             gtktext::ToMnemonic(m_hWnd->text).c_str());
    }
}

void CGtkControl::MirrorEntries()
{
    const auto& items = m_hWnd->items;
    bool same = m_shownItems.size() == items.size();
    for (size_t i = 0; same && i < items.size(); ++i)
        same = m_shownItems[i] == items[i];
    if (same)
        return;
    m_shownItems.clear();
    gtk_list_store_clear(m_pStore);
    for (const std::string& item : items) {
        m_shownItems.push_back(item);
        gtk_list_store_insert_with_values(m_pStore, nullptr, -1, 0,
                                          gtktext::ToDisplay(item).c_str(), -1);
    }
}

void CGtkControl::MirrorSelection()
{
    if (!m_pStore)
        return;
    GtkTreeView* view = GTK_TREE_VIEW(m_pWidget);
    GtkTreeSelection* selection = gtk_tree_view_get_selection(view);
    int count = gtk_tree_model_iter_n_children(GTK_TREE_MODEL(m_pStore), nullptr);
    if (m_hWnd->curSel < 0 || m_hWnd->curSel >= count) {
        gtk_tree_selection_unselect_all(selection);
        return;
    }
    GtkTreePath* path = gtk_tree_path_new_from_indices(m_hWnd->curSel, -1);
    if (!gtk_tree_selection_path_is_selected(selection, path)) {
        gtk_tree_view_set_cursor(view, path, nullptr, FALSE);
        gtk_tree_selection_select_path(selection, path);
    }
    gtk_tree_view_scroll_to_cell(view, path, nullptr, FALSE, 0, 0);
    gtk_tree_path_free(path);
}

gboolean CGtkControl::OnListIdle(gpointer self)
{
    auto* control = static_cast<CGtkControl*>(self);
    control->m_nListIdle = 0;
    control->MirrorList();
    return G_SOURCE_REMOVE;
}

void CGtkControl::OnClicked(GtkButton*, gpointer self)
{
    auto* control = static_cast<CGtkControl*>(self);
    if (!control->m_bMirroring)
        host::ClickButton(control->m_hWnd);
}

void CGtkControl::OnEditChanged(GtkEditable*, gpointer self)
{
    auto* control = static_cast<CGtkControl*>(self);
    if (control->m_bMirroring)
        return;
    host::TypeText(control->m_hWnd, EntryText(control->m_pWidget));
    // The box's style may have changed what was typed (lower case).
    control->Mirror();
}

void CGtkControl::OnSelectionChanged(GtkTreeSelection* selection, gpointer self)
{
    auto* control = static_cast<CGtkControl*>(self);
    if (control->m_bMirroring || control->m_pDialog->IsMirroring())
        return;
    GtkTreeModel* model = nullptr;
    GtkTreeIter iter;
    if (!gtk_tree_selection_get_selected(selection, &model, &iter))
        return;
    GtkTreePath* path = gtk_tree_model_get_path(model, &iter);
    int index = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    if (index != control->m_hWnd->curSel)
        host::SelectListItem(control->m_hWnd, index);
}

// A double press on an entry, as the list box reports it: the tree view's
// own row activation misses a double-click that follows a click elsewhere.
gboolean CGtkControl::OnListButtonPress(GtkWidget* widget, GdkEventButton* event, gpointer self)
{
    if (event->type != GDK_2BUTTON_PRESS || event->button != 1)
        return FALSE;
    GtkTreePath* path = nullptr;
    if (!gtk_tree_view_get_path_at_pos(GTK_TREE_VIEW(widget), static_cast<gint>(event->x),
                                       static_cast<gint>(event->y), &path, nullptr, nullptr, nullptr))
        return FALSE;
    int index = gtk_tree_path_get_indices(path)[0];
    gtk_tree_path_free(path);
    auto* control = static_cast<CGtkControl*>(self);
    host::DoubleClickListItem(control->m_hWnd, index);
    return TRUE;
}

gboolean CGtkControl::OnFocusIn(GtkWidget*, GdkEvent*, gpointer self)
{
    auto* control = static_cast<CGtkControl*>(self);
    if (!control->m_pDialog->IsMirroring() && control->m_hWnd->parent->focus != control->m_hWnd)
        host::FocusControl(control->m_hWnd);
    return FALSE;
}
