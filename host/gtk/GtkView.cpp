#include "GtkView.h"

#include <gtk/gtk.h>

#include "GtkDialog.h"
#include "GtkText.h"

namespace {

// Dialogs are laid out in dialog units of their own small font; the
// desktop theme's paddings would not fit in the template's rectangles.
const char g_szDialogCss[] =
    "window.levrin-dialog { font-family: \"MS Sans Serif\", sans-serif; font-size: 8pt; }\n"
    "window.levrin-dialog button { padding: 0 4px; min-height: 0; min-width: 0; }\n"
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
    GtkMessageType kind = (type & MB_ICONMASK) == MB_ICONEXCLAMATION ? GTK_MESSAGE_WARNING
                        : (type & MB_ICONMASK) == MB_ICONHAND        ? GTK_MESSAGE_ERROR
                        : (type & MB_ICONMASK) == MB_ICONQUESTION    ? GTK_MESSAGE_QUESTION
                                                                     : GTK_MESSAGE_INFO;
    GtkWidget* box = gtk_message_dialog_new(OwnerWindow(owner), GTK_DIALOG_MODAL, kind,
                                            GTK_BUTTONS_OK, "%s",
                                            gtktext::ToDisplay(text).c_str());
    gtk_window_set_title(GTK_WINDOW(box), gtktext::ToUtf8(caption).c_str());
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
    gtk_file_chooser_set_local_only(GTK_FILE_CHOOSER(chooser), TRUE);
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
