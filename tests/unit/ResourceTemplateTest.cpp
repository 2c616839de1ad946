// The resource reader against the program's own compiled resources: what
// the dialogs are built from must be what the resource script says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "HostWindow.h"
#include "Resources.h"
#include "resource.h"

namespace {

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    RECT unitRect;  // x, y, cx, cy
    DWORD style;
    DWORD exStyle;
};

host::DialogTemplate LoadTemplate(int id)
{
    host::DialogTemplate dialog;
    EXPECT_TRUE(host::LoadDialogTemplate(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), &dialog));
    return dialog;
}

void ExpectControls(const host::DialogTemplate& dialog, const std::vector<ExpectedControl>& expected)
{
    ASSERT_EQ(dialog.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const host::DialogItemTemplate& item = dialog.items[i];
        SCOPED_TRACE("control " + std::to_string(i + 1));
        EXPECT_EQ(item.id, expected[i].id);
        EXPECT_EQ(item.className, expected[i].className);
        EXPECT_EQ(item.text, expected[i].text);
        EXPECT_EQ(item.unitRect.left, expected[i].unitRect.left);
        EXPECT_EQ(item.unitRect.top, expected[i].unitRect.top);
        EXPECT_EQ(item.unitRect.right, expected[i].unitRect.right);
        EXPECT_EQ(item.unitRect.bottom, expected[i].unitRect.bottom);
        EXPECT_EQ(item.style, expected[i].style);
        EXPECT_EQ(item.exStyle, expected[i].exStyle);
    }
}

std::string LoadedString(UINT id, int bufferSize = 256)
{
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize) + 1, 'X');
    int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer.data(), bufferSize);
    EXPECT_EQ(std::strlen(buffer.data()), static_cast<std::size_t>(length));
    return std::string(buffer.data(), static_cast<std::size_t>(length));
}

}  // namespace

TEST(ResourceTemplateTest, MainDialogIsTheExtendedTemplateOfTheScript)
{
    host::DialogTemplate dialog = LoadTemplate(IDD_MAIN);
    EXPECT_TRUE(dialog.extended);
    EXPECT_EQ(dialog.caption, "Levrin (v1.1) ");
    EXPECT_EQ(dialog.style, 0x90CA00C0u);
    EXPECT_EQ(dialog.exStyle, 0x00040000u);
    EXPECT_EQ(dialog.unitRect.right, 196);
    EXPECT_EQ(dialog.unitRect.bottom, 217);
    EXPECT_EQ(dialog.fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog.fontPoints, 8);
    ExpectControls(dialog, {
        { IDOK, "Button", "Set Map", { 8, 196, 52, 12 }, 0x50010001u, 0 },
        { IDCANCEL, "Button", "Exit", { 128, 196, 56, 12 }, 0x50010000u, 0 },
        { -1, "Static", "Select the path to your duke .map files", { 8, 4, 167, 8 }, 0x50020000u, 0 },
        { IDC_BROWSE_MAPDIR, "Button", "Select Map Dir", { 8, 16, 62, 12 }, 0x50010000u, 0 },
        { IDC_MAPDIR, "Edit", "", { 76, 16, 108, 12 }, 0x50810090u, 0x00020000u },
        { IDC_MAPLIST, "ListBox", "", { 12, 72, 168, 60 }, 0x50A10103u, 0x00020000u },
        { -1, "Static",
          "Select the map you want to play and click \"Set Map\". Or hey, go for it double click the "
          "sucker. The map is copied to e1l1.map. Click 'Kill E1L1.Map' to play the original level "
          "Hollywood Holocaust.",
          { 8, 140, 176, 32 }, 0x50020000u, 0 },
        { -1, "Button", "Duke Maps Available", { 8, 60, 176, 76 }, 0x50000007u, 0 },
        { IDC_CURRENT_MAP, "Static", "", { 96, 180, 88, 11 }, 0x50021001u, 0 },
        { -1, "Static", "Current .Map Selected", { 8, 180, 82, 10 }, 0x50020000u, 0 },
        { IDC_BROWSE_EXEDIR, "Button", "Select Duke Dir", { 8, 44, 62, 12 }, 0x50010000u, 0 },
        { IDC_EXEDIR, "Edit", "", { 76, 44, 108, 12 }, 0x50810090u, 0x00020000u },
        { -1, "Static", "Select the Path to your Duke .Exe file", { 8, 32, 176, 8 }, 0x50020000u, 0 },
        { IDC_KILL_LEVEL, "Button", "Kill E1L1.map", { 68, 196, 52, 12 }, 0x50010000u, 0 },
    });
}

TEST(ResourceTemplateTest, AboutBoxIsThePlainTemplateOfTheScript)
{
    host::DialogTemplate dialog = LoadTemplate(IDD_ABOUTBOX);
    EXPECT_FALSE(dialog.extended);
    EXPECT_EQ(dialog.caption, "About Levrin");
    EXPECT_EQ(dialog.style, 0x80C800C0u);
    EXPECT_EQ(dialog.exStyle, 0u);
    EXPECT_EQ(dialog.unitRect.right, 222);
    EXPECT_EQ(dialog.unitRect.bottom, 113);
    EXPECT_EQ(dialog.fontFace, "MS Sans Serif");
    EXPECT_EQ(dialog.fontPoints, 8);
    ExpectControls(dialog, {
        { -1, "Static", "", { 25, 30, 160, 38 }, 0x50001012u, 0 },
        { -1, "Static", "Levrin Version 1.1 \r\n(C) 2026 the Levrin developers",
          { 40, 5, 125, 20 }, 0x50020081u, 0 },
        { -1, "Static",
          "Written for players of Duke3d\r\nwho keep a folder full of maps\r\nand want to play them fast.",
          { 44, 36, 130, 29 }, 0x50020001u, 0 },
        { IDOK, "Button", "Press Me Babee", { 156, 80, 60, 25 }, 0x50030001u, 0 },
        { -1, "Static", "Memory", { 12, 80, 39, 9 }, 0x50020000u, 0 },
        { -1, "Static", "Disk Space", { 12, 96, 40, 8 }, 0x50020000u, 0 },
        { IDC_PHYSICAL_MEM, "Static", "", { 64, 80, 85, 11 }, 0x50021000u, 0 },
        { IDC_DISK_SPACE, "Static", "", { 64, 96, 85, 11 }, 0x50021000u, 0 },
    });
}

TEST(ResourceTemplateTest, MissingTemplatesAndTruncatedDataAreRefused)
{
    host::DialogTemplate dialog;
    EXPECT_FALSE(host::LoadDialogTemplate(nullptr, MAKEINTRESOURCEA(101), &dialog));
    EXPECT_FALSE(host::LoadDialogTemplate(nullptr, "IDD_MAIN", &dialog));

    host::ResourceBytes bytes;
    ASSERT_TRUE(host::FindResourceBytes(nullptr, MAKEINTRESOURCEA(host::kResourceDialog),
                                        MAKEINTRESOURCEA(IDD_MAIN), &bytes));
    // Every cut inside the last control is noticed, never read past.
    for (std::size_t cut = 1; cut < 40; ++cut) {
        host::ResourceBytes shortened = { bytes.data, bytes.size - cut };
        EXPECT_FALSE(host::ParseDialogTemplate(shortened, &dialog)) << "cut " << cut;
    }
}

TEST(ResourceStringTest, StringsLoadWithWindowsLengthsAndTruncation)
{
    EXPECT_EQ(LoadedString(IDS_ABOUTBOX), "&About Levrin...");
    EXPECT_EQ(LoadedString(IDS_PHYSICAL_MEM), "%lu KB");
    EXPECT_EQ(LoadedString(IDS_DISK_SPACE), "%lu KB Free on %c:");
    EXPECT_EQ(LoadedString(IDS_DISK_SPACE_UNAVAIL), "Unavailable");
    // A buffer of n holds n - 1 characters and the terminator.
    EXPECT_EQ(LoadedString(IDS_ABOUTBOX, 7), "&About");
    EXPECT_EQ(LoadedString(IDS_ABOUTBOX, 1), "");
    // Missing: in the same block (102), in no block at all (9999).
    EXPECT_EQ(LoadedString(102), "");
    EXPECT_EQ(LoadedString(9999), "");
}

TEST(ResourceIconTest, ApplicationIconHasBothImagesDecoded)
{
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME)), icon);
    ASSERT_EQ(icon->images.size(), 2u);
    for (const HostIcon::Image& image : icon->images) {
        SCOPED_TRACE(std::to_string(image.width));
        ASSERT_EQ(image.argb.size(), static_cast<std::size_t>(image.width * image.height));
        // Opaque pixels from the palette, and more than one colour: not a
        // blank or a misread bitmap.
        std::size_t opaque = 0;
        std::vector<uint32_t> colours;
        for (uint32_t pixel : image.argb) {
            if ((pixel >> 24) == 0xFF) {
                ++opaque;
                if (std::find(colours.begin(), colours.end(), pixel) == colours.end())
                    colours.push_back(pixel);
            } else {
                EXPECT_EQ(pixel, 0u);
            }
        }
        EXPECT_GT(opaque, image.argb.size() / 4);
        EXPECT_GT(colours.size(), 1u);
    }
    EXPECT_EQ(icon->images[0].width, 32);
    EXPECT_EQ(icon->images[0].height, 32);
    EXPECT_EQ(icon->images[1].width, 16);
    EXPECT_EQ(icon->images[1].height, 16);
    EXPECT_EQ(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(129)), nullptr);
}
