#include "GtkView.h"

#include <algorithm>

#include <gtk/gtk.h>

#include "GtkDialog.h"
#include "GtkText.h"

namespace {

// Dialogs are laid out in dialog units of their own small font; the
// desktop theme's paddings would not fit in the template's rectangles.
const char g_szDialogCss[] =
    "window.levrin-dialog { font-family: \"MS Sans Serif\", sans-serif; font-size: 8pt; }\n"
    "window.levrin-dialog button { padding: 0 4px; min-height: 0; min-width: 0; }\n"
    "window.levrin-dialog button.default { box-shadow: inset 0 0 0 1px #5e5c64; }\n"
    "window.levrin-dialog entry { padding: 0 3px; min-height: 0; }\n"
    "window.levrin-dialog treeview.view { padding: 0 2px; }\n";

void InstallDialogStyle()
{
    GtkCssProvider* provider = gtk_css_provider_new();
    gtk_css_provider_load_from_data(provider, g_szDialogCss, -1, nullptr);
    gtk_style_context_add_provider_for_screen(gdk_screen_get_default(),
                                              GTK_STYLE_PROVIDER(provider),
                                              GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(provider);
}

GtkWindow* OwnerWindow(HWND owner)
{
    CGtkDialog* dialog = CGtkDialog::FromWindow(owner);
    return dialog ? dialog->Window() : nullptr;
}

const char* IconName(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return "dialog-error";
    case MB_ICONQUESTION: return "dialog-question";
    case MB_ICONEXCLAMATION: return "dialog-warning";
    case MB_ICONASTERISK: return "dialog-information";
    default: return nullptr;
    }
}

// GTK's own message dialog shows no icon any more; the message box's icon
// tells its kind, so it is built here: icon, text, OK.
GtkWidget* NewMessageBox(GtkWindow* owner, const std::string& text, const std::string& caption,
                         UINT type)
{
    GtkWidget* box = gtk_dialog_new_with_buttons(caption.c_str(), owner, GTK_DIALOG_MODAL, "_OK",
                                                 GTK_RESPONSE_OK, nullptr);
    gtk_window_set_resizable(GTK_WINDOW(box), FALSE);
    gtk_window_set_type_hint(GTK_WINDOW(box), GDK_WINDOW_TYPE_HINT_DIALOG);
    gtk_dialog_set_default_response(GTK_DIALOG(box), GTK_RESPONSE_OK);
    atk_object_set_role(gtk_widget_get_accessible(box), ATK_ROLE_ALERT);
    GtkWidget* row = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 12);
    gtk_container_set_border_width(GTK_CONTAINER(row), 12);
    if (const char* icon = IconName(type)) {
        GtkWidget* image = gtk_image_new_from_icon_name(icon, GTK_ICON_SIZE_DIALOG);
        gtk_widget_set_valign(image, GTK_ALIGN_START);
        gtk_box_pack_start(GTK_BOX(row), image, FALSE, FALSE, 0);
    }
    GtkWidget* label = gtk_label_new(text.c_str());
    gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
    gtk_label_set_line_wrap(GTK_LABEL(label), TRUE);
    gtk_label_set_max_width_chars(GTK_LABEL(label), 70);
    gtk_box_pack_start(GTK_BOX(row), label, TRUE, TRUE, 0);
    gtk_box_pack_start(GTK_BOX(gtk_dialog_get_content_area(GTK_DIALOG(box))), row, TRUE, TRUE, 0);
    gtk_widget_show_all(row);
    return box;
}

// The chooser sizes itself to fill a small screen; a picker of the size
// of the dialog it serves is enough.
void OnFolderChooserMap(GtkWidget* chooser, gpointer)
{
    const int width = 640;
    const int height = 440;
    GtkWindow* window = GTK_WINDOW(chooser);
    gtk_window_resize(window, width, height);
    GtkWindow* owner = gtk_window_get_transient_for(window);
    if (!owner)
        return;
    int x = 0;
    int y = 0;
    int ownerWidth = 0;
    int ownerHeight = 0;
    gtk_window_get_position(owner, &x, &y);
    gtk_window_get_size(owner, &ownerWidth, &ownerHeight);
    gtk_window_move(window, std::max(0, x + (ownerWidth - width) / 2),
                    std::max(0, y + (ownerHeight - height) / 2));
}

}  // namespace

CGtkView::CGtkView()
{
    InstallDialogStyle();
}

// The classic measure: the average width of the 52 letters and the line
// height of the template's font.
SIZE CGtkView::FontBaseUnits(const std::string& face, int points)
{
    PangoContext* context = gdk_pango_context_get();
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* font = pango_font_description_new();
    std::string families = gtktext::ToUtf8(face) + ",sans-serif";
    pango_font_description_set_family(font, families.c_str());
    pango_font_description_set_size(font, points * PANGO_SCALE);
    pango_layout_set_font_description(layout, font);
    pango_layout_set_text(layout, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", -1);
    int width = 0;
    int height = 0;
    pango_layout_get_pixel_size(layout, &width, &height);
    pango_font_description_free(font);
    g_object_unref(layout);
    g_object_unref(context);
    return { (width / 26 + 1) / 2, height };
}

RECT CGtkView::WorkArea()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (!monitor)
        monitor = gdk_display_get_monitor(display, 0);
    if (!monitor)
        return WindowView::WorkArea();
    GdkRectangle area;
    gdk_monitor_get_workarea(monitor, &area);
    return { area.x, area.y, area.x + area.width, area.y + area.height };
}

void CGtkView::DialogCreated(HWND dialog)
{
    dialog->viewData = new CGtkDialog(dialog);
}

void CGtkView::DialogShown(HWND dialog)
{
    if (CGtkDialog* view = CGtkDialog::FromWindow(dialog))
        view->Show();
}

void CGtkView::DialogDestroyed(HWND dialog)
{
    delete CGtkDialog::FromWindow(dialog);
    dialog->viewData = nullptr;
}

void CGtkView::WindowChanged(HWND window)
{
    if (CGtkDialog* view = CGtkDialog::FromWindow(window))
        view->Mirror(window);
}

void CGtkView::RepaintNow(HWND window)
{
    // GTK paints the change with the next frame; no nested drawing is needed.
    WindowChanged(window);
}

void CGtkView::IconicChanged(HWND dialog)
{
    if (CGtkDialog* view = CGtkDialog::FromWindow(dialog))
        view->MirrorIconic();
}

void CGtkView::RunModalLoop(HWND dialog)
{
    if (CGtkDialog* view = CGtkDialog::FromWindow(dialog))
        view->RunModalLoop();
}

void CGtkView::DialogEnded(HWND dialog)
{
    if (CGtkDialog* view = CGtkDialog::FromWindow(dialog))
        view->QuitModalLoop();
}

int CGtkView::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                             UINT type)
{
    GtkWidget* box = NewMessageBox(OwnerWindow(owner), gtktext::ToDisplay(text),
                                   gtktext::ToUtf8(caption), type);
    gtk_dialog_run(GTK_DIALOG(box));
    gtk_widget_destroy(box);
    return IDOK;
}

bool CGtkView::BrowseForFolder(HWND owner, const std::string& title, std::string* path)
{
    GtkWidget* chooser = gtk_file_chooser_dialog_new(
        gtktext::ToUtf8(title).c_str(), OwnerWindow(owner), GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER,
        "_Cancel", GTK_RESPONSE_CANCEL, "_Select", GTK_RESPONSE_ACCEPT, nullptr);
    gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
    gtk_window_set_position(GTK_WINDOW(chooser), GTK_WIN_POS_CENTER_ON_PARENT);
    g_signal_connect(chooser, "map", G_CALLBACK(OnFolderChooserMap), nullptr);
    gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);
    // Rather than the recent files, which hold no folders.
    gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), g_get_home_dir());
    bool chosen = false;
    if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
        // The file system's own bytes, as the other file services take them.
        gchar* filename = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser));
        if (filename) {
            *path = filename;
            chosen = true;
        }
        g_free(filename);
    }
    gtk_widget_destroy(chooser);
    return chosen;
}

bool CGtkView::OpenHelp(HWND owner, const std::string& helpPage)
{
    gchar* absolute = g_canonicalize_filename(helpPage.c_str(), nullptr);
    gchar* uri = g_filename_to_uri(absolute, nullptr, nullptr);
    g_free(absolute);
    if (!uri)
        return false;
    GError* error = nullptr;
    gboolean shown = gtk_show_uri_on_window(OwnerWindow(owner), uri, GDK_CURRENT_TIME, &error);
    g_clear_error(&error);
    g_free(uri);
    return shown;
}
