// The process entry of the Windows executable: the framework's start-up
// runs the one application object.
#include "Platform.h"

#include "CWinApp.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return CWinApp::Run();
}
