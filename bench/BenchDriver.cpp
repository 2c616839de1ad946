// What the benchmarks time of the program itself, one run per process:
//   list    the main dialog's start with its stored settings, the map list
//           filled through the real dialog code, the user leaving at once;
//           prints the number of entries.
//   copy SOURCE TARGET   one CopyFileA replacing TARGET.
#include <cstdio>
#include <cstring>

#include "CWinApp.h"
#include "ScriptedView.h"
#include "resource.h"

namespace {

int RunList()
{
    ScriptedView view;
    size_t entries = 0;
    view.whileModal.push_back([&](HWND dialog) { entries = ListEntries(dialog, IDC_MAPLIST).size(); });
    int result = CWinApp::Run();
    std::printf("%zu\n", entries);
    return result;
}

int RunCopy(const char* source, const char* target)
{
    if (CopyFileA(source, target, FALSE))
        return 0;
    std::fprintf(stderr, "copy failed: error %lu\n", static_cast<unsigned long>(GetLastError()));
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], "list") == 0)
        return RunList();
    if (argc == 4 && std::strcmp(argv[1], "copy") == 0)
        return RunCopy(argv[2], argv[3]);
    std::fprintf(stderr, "usage: %s list | copy SOURCE TARGET\n", argv[0]);
    return 2;
}
