#include "DialogFixture.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include <sys/stat.h>
#include <unistd.h>

#include "DialogManager.h"
#include "MapSelectApp.h"
#include "resource.h"

const char kNoGameFolderMessage[] =
    "Dude! You need to set your Duke Executable Dir.\r\nPush the 'Select Duke Dir' button'.";
const char kNoMapFolderMessage[] =
    "Dude! You need to set the directory where your .maps are\r\nPush the 'Select Map Dir' button.";
const char kNoGameHereMessage[] = "Dude! I can't find Duke3d.exe here 8-()";
const char kDeletedMessage[] = "e1l1.map deleted, you may now play Hollywood Holocaust.";
const char kPlaceholderEntry[] = "No map files :-(";

namespace {

constexpr uid_t kNobody = 65534;

// Digits only, so that a path reads the same in a lower-casing box.
std::string NewTestRoot()
{
    std::random_device seed;
    for (;;) {
        std::string path = "/tmp/levrin-h5-" + std::to_string(getpid()) + "-" + std::to_string(seed());
        if (mkdir(path.c_str(), 0700) == 0)
            return path;
        if (errno != EEXIST)
            throw std::runtime_error("cannot make " + path);
    }
}

void ChownTree(const std::string& root, uid_t uid)
{
    namespace fs = std::filesystem;
    (void)lchown(root.c_str(), uid, uid);
    for (const auto& entry : fs::recursive_directory_iterator(root))
        (void)lchown(entry.path().c_str(), uid, uid);
}

void RemoveTree(const std::string& root)
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, error);
    for (auto it = fs::recursive_directory_iterator(root, error); it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (it->is_directory(error) && !it->is_symlink(error))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
    }
    fs::remove_all(root, error);
}

}  // namespace

void DialogFixture::SetUp()
{
    root = NewTestRoot();
    configHome = NewFolder("config");
    mapDir = NewFolder("maps");
    gameDir = NewFolder("game");
    setenv("XDG_CONFIG_HOME", configHome.c_str(), 1);
    CMapSelectApp* pApp = GetMapSelectApp();
    pApp->SetUpFromModulePath("/opt/levrin/levrin");
    pApp->SetSettingsKey("Duke3d");
}

void DialogFixture::TearDown()
{
    if (m_bDroppedRights) {
        if (seteuid(0) != 0 || setegid(0) != 0)
            ADD_FAILURE() << "cannot take back root's rights";
    }
    RemoveTree(root);
}

std::string DialogFixture::NewFolder(const std::string& name) const
{
    std::string path = root + "/" + name;
    MakeFolder(path);
    return path;
}

std::string DialogFixture::MissingFolder() const
{
    return root + "/gone";
}

void DialogFixture::Store(const char* name, const std::string& value) const
{
    GetMapSelectApp()->WriteSetting("Levrin", name, value.c_str());
}

std::string DialogFixture::Stored(const char* name) const
{
    return GetMapSelectApp()->ReadSetting("Levrin", name).Str();
}

std::string DialogFixture::SettingsFile() const
{
    return configHome + "/Duke3d/" + GetMapSelectApp()->m_strAppName.Str() + ".conf";
}

std::optional<std::string> DialogFixture::SettingsBytes() const
{
    return ReadFile(SettingsFile());
}

void DialogFixture::RunProgram()
{
    EXPECT_FALSE(GetMapSelectApp()->InitInstance());
    EXPECT_EQ(GetMapSelectApp()->m_pMainWnd, nullptr);
}

void DialogFixture::WhileOpen(std::function<void(HWND)> script)
{
    view.whileModal.push_back(std::move(script));
}

MainDialogLook DialogFixture::LookAtStart()
{
    MainDialogLook look;
    WhileOpen([&](HWND dialog) { look = LookAt(dialog); });
    RunProgram();
    return look;
}

void DialogFixture::ActAsOrdinaryUser()
{
    if (geteuid() != 0)
        return;
    ChownTree(root, kNobody);
    ASSERT_EQ(setegid(kNobody), 0);
    ASSERT_EQ(seteuid(kNobody), 0);
    m_bDroppedRights = true;
}

std::vector<std::string> DialogFixture::MessageTexts() const
{
    std::vector<std::string> texts;
    for (const auto& box : view.messageBoxes)
        texts.push_back(box.text);
    return texts;
}

MainDialogLook LookAt(HWND dialog)
{
    MainDialogLook look;
    look.mapBox = ControlText(dialog, IDC_MAPDIR);
    look.exeBox = ControlText(dialog, IDC_EXEDIR);
    look.label = ControlText(dialog, IDC_CURRENT_MAP);
    look.entries = ListEntries(dialog, IDC_MAPLIST);
    look.selection = ListSelection(dialog, IDC_MAPLIST);
    return look;
}

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush())
        ADD_FAILURE() << "cannot write " << path;
}

std::optional<std::string> ReadFile(const std::string& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> FolderEntries(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void MakeFolder(const std::string& path)
{
    if (mkdir(path.c_str(), 0700) != 0)
        ADD_FAILURE() << "cannot make " << path;
}

std::string SystemText(int code)
{
    char text[256] = {};
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, static_cast<DWORD>(code),
                                  MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), text, sizeof text, nullptr);
    EXPECT_GT(length, 0u) << "the system has no text for " << code;
    return text;
}

void Click(HWND dialog, int id)
{
    host::ClickButton(GetDlgItem(dialog, id));
}

std::string InstalledMessage(const std::string& source, const std::string& target)
{
    return source + " transfered to " + target + "\r\n Select 'Hollywood Holocaust' to play this map.";
}
