// The program's resources on the Linux host: the compiled resource file that
// the build embeds, read as the Windows loader reads a module's resources.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Platform.h"

struct HostModule {
    const BYTE* data;
    std::size_t size;
};

namespace host {

// Resource types, as the compiled file numbers them.
constexpr WORD kResourceIcon = 3;
constexpr WORD kResourceDialog = 5;
constexpr WORD kResourceString = 6;
constexpr WORD kResourceGroupIcon = 14;

struct ResourceBytes {
    const BYTE* data = nullptr;
    std::size_t size = 0;
};

// A resource's bytes by type and name, each an ordinal (MAKEINTRESOURCEA)
// or a string compared without regard to ASCII case; false when absent or
// the file is damaged. A null module means the program's own.
bool FindResourceBytes(HMODULE module, LPCSTR type, LPCSTR name, ResourceBytes* found);

struct DialogItemTemplate {
    std::string className;  // the predefined classes by name: "Button", "Edit", ...
    std::string text;       // empty when the template gives an ordinal
    int id = 0;             // -1 for 0xFFFF and 0xFFFFFFFF
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT unitRect = { 0, 0, 0, 0 };  // x, y, cx, cy in dialog units
};

struct DialogTemplate {
    bool extended = false;  // DIALOGEX
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT unitRect = { 0, 0, 0, 0 };  // x, y, cx, cy in dialog units
    std::string caption;
    std::string fontFace;  // empty without DS_SETFONT
    int fontPoints = 0;
    std::vector<DialogItemTemplate> items;
};

// Reads a DIALOG or DIALOGEX template; false when it is cut short.
bool ParseDialogTemplate(const ResourceBytes& bytes, DialogTemplate* dialog);
// The named template of a module; false when missing or damaged.
bool LoadDialogTemplate(HMODULE module, LPCSTR name, DialogTemplate* dialog);

}  // namespace host
