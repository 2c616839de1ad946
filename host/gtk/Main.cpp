// The Linux executable: the system code shown through the GTK view.
#include "CWinApp.h"
#include "GtkView.h"

#include <gtk/gtk.h>

int main(int argc, char** argv)
{
    gtk_init(&argc, &argv);
    CGtkView view;
    SetWindowView(&view);
    return CWinApp::Run();
}
