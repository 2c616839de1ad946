#include "WindowView.h"

namespace {

WindowView* g_view = nullptr;

}  // namespace

// The metrics of the template's 8-point font on a 96 dpi screen.
SIZE WindowView::FontBaseUnits(const std::string&, int)
{
    return { 6, 13 };
}

RECT WindowView::WorkArea()
{
    return { 0, 0, 1024, 768 };
}

void WindowView::DialogCreated(HWND) {}
void WindowView::DialogShown(HWND) {}
void WindowView::DialogDestroyed(HWND) {}
void WindowView::WindowChanged(HWND) {}
void WindowView::RepaintNow(HWND) {}
void WindowView::IconicChanged(HWND) {}
void WindowView::DialogEnded(HWND) {}

bool WindowView::OpenHelp(HWND, const std::string&)
{
    return false;
}

WindowView* GetWindowView()
{
    return g_view;
}

void SetWindowView(WindowView* view)
{
    g_view = view;
}
