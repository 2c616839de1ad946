#include "GtkDialog.h"

#include "DialogManager.h"
#include "GtkControl.h"
#include "GtkText.h"

namespace {

const char g_szDialogClass[] = "#32770";
const char g_szCommandKey[] = "levrin-command";

int Width(const RECT& rect)
{
    return rect.right - rect.left;
}

int Height(const RECT& rect)
{
    return rect.bottom - rect.top;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool IsGroupBox(HWND control)
{
    return CGtkControl::IsClass(control, "Button") && (control->style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsTextLabel(HWND control)
{
    return CGtkControl::IsClass(control, "Static") && !control->text.empty() &&
           (control->style & SS_TYPEMASK) != SS_ETCHEDFRAME;
}

// The caption a sighted user reads for a box: the group box around it, else
// the nearest text label above it, else the text label before it.
const HostWindow* LabelOf(HWND dialog, HWND control)
{
    const HostWindow* above = nullptr;
    const HostWindow* before = nullptr;
    bool passed = false;
    for (const auto& other : dialog->controls) {
        if (other.get() == control) {
            passed = true;
            continue;
        }
        const RECT& r = other->rect;
        if (IsGroupBox(other.get()) && Contains(r, control->rect))
            return other.get();
        if (!IsTextLabel(other.get()))
            continue;
        if (!passed)
            before = other.get();
        bool overlaps = r.left < control->rect.right && control->rect.left < r.right;
        if (overlaps && r.bottom <= control->rect.top && (!above || r.bottom > above->rect.bottom))
            above = other.get();
    }
    return above ? above : before;
}

GdkPixbuf* NewPixbuf(const HostIcon::Image& image)
{
    GdkPixbuf* pixbuf = gdk_pixbuf_new(GDK_COLORSPACE_RGB, TRUE, 8, image.width, image.height);
    guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
    int stride = gdk_pixbuf_get_rowstride(pixbuf);
    for (int y = 0; y < image.height; ++y) {
        guchar* row = pixels + y * stride;
        for (int x = 0; x < image.width; ++x) {
            uint32_t argb = image.argb[static_cast<size_t>(y * image.width + x)];
            row[4 * x] = (argb >> 16) & 0xFF;
            row[4 * x + 1] = (argb >> 8) & 0xFF;
            row[4 * x + 2] = argb & 0xFF;
            row[4 * x + 3] = (argb >> 24) & 0xFF;
        }
    }
    return pixbuf;
}

}  // namespace

CGtkDialog::CGtkDialog(HWND dialog)
    : m_hWnd(dialog),
      m_pWindow(GTK_WINDOW(gtk_window_new(GTK_WINDOW_TOPLEVEL))),
      m_pLayout(gtk_layout_new(nullptr, nullptr))
{
    GtkWidget* window = GTK_WIDGET(m_pWindow);
    gtk_style_context_add_class(gtk_widget_get_style_context(window), "levrin-dialog");
    gtk_window_set_resizable(m_pWindow, FALSE);
    gtk_window_set_type_hint(m_pWindow, GDK_WINDOW_TYPE_HINT_DIALOG);
    // Positions of the model are those of the client area.
    gtk_window_set_gravity(m_pWindow, GDK_GRAVITY_STATIC);
    if (CGtkDialog* owner = dialog->parent ? FromWindow(dialog->parent) : nullptr) {
        gtk_window_set_transient_for(m_pWindow, owner->Window());
        gtk_window_set_modal(m_pWindow, TRUE);
    }
    gtk_widget_add_events(window, GDK_BUTTON_PRESS_MASK);
    g_signal_connect(window, "delete-event", G_CALLBACK(OnDeleteEvent), this);
    g_signal_connect(window, "key-press-event", G_CALLBACK(OnKeyPress), this);
    g_signal_connect(window, "button-press-event", G_CALLBACK(OnButtonPress), this);
    g_signal_connect(window, "window-state-event", G_CALLBACK(OnWindowState), this);
    // Unlike a fixed container, a layout's size is its own, not that of
    // the wrapping labels inside it.
    gtk_container_add(GTK_CONTAINER(window), m_pLayout);
    AddControls();
    NameUnlabelledControls();
    MirrorDialog();
}

CGtkDialog::~CGtkDialog()
{
    m_bMirroring = true;
    QuitModalLoop();
    if (m_pSystemMenu)
        gtk_widget_destroy(m_pSystemMenu);
    for (const auto& control : m_controls)
        control->Control()->viewData = nullptr;
    gtk_widget_destroy(GTK_WIDGET(m_pWindow));
}

CGtkDialog* CGtkDialog::FromWindow(HWND window)
{
    if (!window)
        return nullptr;
    if (!CGtkControl::IsClass(window, g_szDialogClass))
        window = window->parent;
    return window ? static_cast<CGtkDialog*>(window->viewData) : nullptr;
}

void CGtkDialog::Show()
{
    m_bMirroring = true;
    MirrorDialog();
    gtk_widget_show_all(GTK_WIDGET(m_pWindow));
    gtk_window_present(m_pWindow);
    m_bMirroring = false;
}

void CGtkDialog::Mirror(HWND window)
{
    if (window == m_hWnd) {
        MirrorDialog();
        return;
    }
    if (auto* control = static_cast<CGtkControl*>(window->viewData))
        control->Mirror();
}

void CGtkDialog::MirrorIconic()
{
    if (m_hWnd->iconic)
        gtk_window_iconify(m_pWindow);
    else
        gtk_window_deiconify(m_pWindow);
}

void CGtkDialog::RunModalLoop()
{
    if (m_hWnd->ended)
        return;
    m_pModalLoop = g_main_loop_new(nullptr, FALSE);
    g_main_loop_run(m_pModalLoop);
    g_main_loop_unref(m_pModalLoop);
    m_pModalLoop = nullptr;
}

void CGtkDialog::QuitModalLoop()
{
    if (m_pModalLoop)
        g_main_loop_quit(m_pModalLoop);
}

void CGtkDialog::AddControls()
{
    for (const auto& child : m_hWnd->controls) {
        m_controls.push_back(std::make_unique<CGtkControl>(child.get(), this));
        CGtkControl* control = m_controls.back().get();
        child->viewData = control;
        gtk_layout_put(GTK_LAYOUT(m_pLayout), control->Outer(), child->rect.left, child->rect.top);
        if (control->IsDefaultButton())
            gtk_widget_grab_default(control->FocusWidget());
    }
}

void CGtkDialog::NameUnlabelledControls()
{
    for (const auto& control : m_controls) {
        if (!control->IsNameable() || control->HasAccessibleName())
            continue;
        if (const HostWindow* label = LabelOf(m_hWnd, control->Control()))
            control->SetAccessibleName(gtktext::ToDisplay(label->text));
    }
}

void CGtkDialog::MirrorDialog()
{
    gtk_window_set_title(m_pWindow, gtktext::ToUtf8(m_hWnd->text).c_str());
    MirrorPlacement();
    MirrorIcons();
    MirrorFocus();
}

// Only a placement that the program changed: the user may have moved the
// window since, which the model does not hear of.
void CGtkDialog::MirrorPlacement()
{
    const RECT& rect = m_hWnd->rect;
    if (m_bPlaced && rect.left == m_placed.left && rect.top == m_placed.top &&
        rect.right == m_placed.right && rect.bottom == m_placed.bottom)
        return;
    gtk_widget_set_size_request(m_pLayout, Width(rect), Height(rect));
    gtk_window_move(m_pWindow, rect.left, rect.top);
    m_placed = rect;
    m_bPlaced = true;
}

void CGtkDialog::MirrorFocus()
{
    HWND focus = m_hWnd->focus;
    auto* control = focus ? static_cast<CGtkControl*>(focus->viewData) : nullptr;
    GtkWidget* widget = control ? control->FocusWidget() : nullptr;
    if (!widget || gtk_window_get_focus(m_pWindow) == widget)
        return;
    bool wasMirroring = m_bMirroring;
    m_bMirroring = true;
    gtk_widget_grab_focus(widget);
    // A list that takes the focus selects its first row by itself.
    control->Mirror();
    m_bMirroring = wasMirroring;
}

void CGtkDialog::MirrorIcons()
{
    if (m_bIconsSet && m_shownIcons[0] == m_hWnd->icons[0] && m_shownIcons[1] == m_hWnd->icons[1])
        return;
    m_shownIcons[0] = m_hWnd->icons[0];
    m_shownIcons[1] = m_hWnd->icons[1];
    m_bIconsSet = true;
    GList* pixbufs = nullptr;
    for (HICON icon : { m_hWnd->icons[ICON_BIG], m_hWnd->icons[ICON_SMALL] }) {
        if (!icon)
            continue;
        for (const HostIcon::Image& image : icon->images)
            pixbufs = g_list_append(pixbufs, NewPixbuf(image));
    }
    gtk_window_set_icon_list(m_pWindow, pixbufs);
    g_list_free_full(pixbufs, g_object_unref);
}

// A window manager's own window menu cannot take the program's items, so
// the dialog pops up its system menu itself.
void CGtkDialog::PopUpSystemMenu(const GdkEvent* trigger)
{
    if (!m_hWnd->systemMenu)
        return;
    if (m_pSystemMenu)
        gtk_widget_destroy(m_pSystemMenu);
    m_pSystemMenu = gtk_menu_new();
    for (const HostMenu::Item& entry : m_hWnd->systemMenu->items) {
        GtkWidget* item = nullptr;
        if (entry.flags & MF_SEPARATOR) {
            item = gtk_separator_menu_item_new();
        } else {
            std::string text = entry.text.substr(0, entry.text.find('\t'));
            item = gtk_menu_item_new_with_mnemonic(gtktext::ToMnemonic(text).c_str());
            g_object_set_data(G_OBJECT(item), g_szCommandKey, GUINT_TO_POINTER(entry.id));
            g_signal_connect(item, "activate", G_CALLBACK(OnSystemMenuItem), this);
        }
        gtk_menu_shell_append(GTK_MENU_SHELL(m_pSystemMenu), item);
    }
    gtk_menu_attach_to_widget(GTK_MENU(m_pSystemMenu), GTK_WIDGET(m_pWindow), nullptr);
    gtk_widget_show_all(m_pSystemMenu);
    if (trigger && trigger->type == GDK_BUTTON_PRESS)
        gtk_menu_popup_at_pointer(GTK_MENU(m_pSystemMenu), trigger);
    else
        gtk_menu_popup_at_widget(GTK_MENU(m_pSystemMenu), m_pLayout, GDK_GRAVITY_NORTH_WEST,
                                 GDK_GRAVITY_NORTH_WEST, trigger);
}

// Labels and frames have no window of their own: clicks on them are the
// dialog's.
bool CGtkDialog::IsBackground(GtkWidget* widget) const
{
    return widget == GTK_WIDGET(m_pWindow) || widget == m_pLayout;
}

bool CGtkDialog::TakeKey(const GdkEventKey* event)
{
    guint modifiers = event->state & gtk_accelerator_get_default_mod_mask();
    bool shift = modifiers & GDK_SHIFT_MASK;
    bool control = modifiers & GDK_CONTROL_MASK;
    bool alt = modifiers & GDK_MOD1_MASK;
    switch (event->keyval) {
    case GDK_KEY_Tab:
    case GDK_KEY_KP_Tab:
    case GDK_KEY_ISO_Left_Tab:
        return host::PressKey(m_hWnd, shift ? host::DialogKey::ShiftTab : host::DialogKey::Tab,
                              shift, control, alt);
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
        return host::PressKey(m_hWnd, host::DialogKey::Enter, shift, control, alt);
    case GDK_KEY_Escape:
        return host::PressKey(m_hWnd, host::DialogKey::Escape, shift, control, alt);
    case GDK_KEY_F1:
        return host::PressKey(m_hWnd, host::DialogKey::F1, shift, control, alt);
    case GDK_KEY_F4:
        if (!alt || shift || control)
            return false;
        host::RequestClose(m_hWnd);
        return true;
    case GDK_KEY_F10:
        if (!shift || control || alt)
            return false;
        PopUpSystemMenu(reinterpret_cast<const GdkEvent*>(event));
        return true;
    case GDK_KEY_Menu:
        PopUpSystemMenu(reinterpret_cast<const GdkEvent*>(event));
        return true;
    default:
        return false;
    }
}

gboolean CGtkDialog::OnDeleteEvent(GtkWidget*, GdkEvent*, gpointer self)
{
    auto* dialog = static_cast<CGtkDialog*>(self);
    host::RequestClose(dialog->m_hWnd);
    return TRUE;  // the model ends the dialog, or keeps it
}

gboolean CGtkDialog::OnKeyPress(GtkWidget*, GdkEventKey* event, gpointer self)
{
    return static_cast<CGtkDialog*>(self)->TakeKey(event);
}

gboolean CGtkDialog::OnButtonPress(GtkWidget*, GdkEventButton* event, gpointer self)
{
    auto* dialog = static_cast<CGtkDialog*>(self);
    const GdkEvent* trigger = reinterpret_cast<const GdkEvent*>(event);
    if (event->type != GDK_BUTTON_PRESS || event->button != GDK_BUTTON_SECONDARY ||
        !dialog->IsBackground(gtk_get_event_widget(const_cast<GdkEvent*>(trigger))))
        return FALSE;
    dialog->PopUpSystemMenu(trigger);
    return TRUE;
}

gboolean CGtkDialog::OnWindowState(GtkWidget*, GdkEventWindowState* event, gpointer self)
{
    auto* dialog = static_cast<CGtkDialog*>(self);
    if (!(event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) || dialog->m_bMirroring)
        return FALSE;
    bool iconic = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
    if (iconic != dialog->m_hWnd->iconic)
        host::SystemCommand(dialog->m_hWnd, iconic ? SC_MINIMIZE : SC_RESTORE);
    return FALSE;
}

void CGtkDialog::OnSystemMenuItem(GtkMenuItem* item, gpointer self)
{
    auto* dialog = static_cast<CGtkDialog*>(self);
    UINT command = GPOINTER_TO_UINT(g_object_get_data(G_OBJECT(item), g_szCommandKey));
    host::SystemCommand(dialog->m_hWnd, command);
}
