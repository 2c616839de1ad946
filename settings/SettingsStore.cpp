// The settings store of the application object, over the per-user registry:
// HKEY_CURRENT_USER\Software\<settings key>\<application name>\<section>.
#include "MapSelectApp.h"

#include <vector>

namespace {

constexpr REGSAM kAccess = KEY_READ | KEY_WRITE;

HKEY CreateKey(HKEY hParent, const char* pszName)
{
    HKEY hKey = nullptr;
    if (RegCreateKeyExA(hParent, pszName, 0, nullptr, REG_OPTION_NON_VOLATILE, kAccess, nullptr,
                        &hKey, nullptr) != ERROR_SUCCESS)
        return nullptr;
    return hKey;
}

}  // namespace

void CMapSelectApp::SetSettingsKey(const char* pszKey)
{
    m_strSettingsKey = pszKey;
}

// Opens (creating where missing) the section's key; null when any level
// fails. A read creates keys just as a write does.
HKEY CMapSelectApp::OpenSectionKey(const char* pszSection) const
{
    HKEY hSoftware = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, kAccess, &hSoftware) != ERROR_SUCCESS)
        return nullptr;
    HKEY hApp = nullptr;
    if (HKEY hSettings = CreateKey(hSoftware, m_strSettingsKey)) {
        hApp = CreateKey(hSettings, m_strAppName);
        RegCloseKey(hSettings);
    }
    RegCloseKey(hSoftware);
    if (!hApp)
        return nullptr;
    HKEY hSection = CreateKey(hApp, pszSection);
    RegCloseKey(hApp);
    return hSection;
}

CString CMapSelectApp::ReadSetting(const char* pszSection, const char* pszName) const
{
    HKEY hSection = OpenSectionKey(pszSection);
    if (!hSection)
        return CString();
    DWORD dwType = 0;
    DWORD dwSize = 0;
    if (RegQueryValueExA(hSection, pszName, nullptr, &dwType, nullptr, &dwSize) != ERROR_SUCCESS) {
        RegCloseKey(hSection);
        return CString();
    }
    // One more zero byte, so that data without one still ends.
    std::vector<BYTE> data(static_cast<size_t>(dwSize) + 1, 0);
    LSTATUS status = RegQueryValueExA(hSection, pszName, nullptr, &dwType, data.data(), &dwSize);
    RegCloseKey(hSection);
    if (status != ERROR_SUCCESS)
        return CString();
    return CString(reinterpret_cast<const char*>(data.data()));
}

bool CMapSelectApp::WriteSetting(const char* pszSection, const char* pszName, const char* pszValue) const
{
    HKEY hSection = OpenSectionKey(pszSection);
    if (!hSection)
        return false;
    CString value(pszValue);
    LSTATUS status = RegSetValueExA(hSection, pszName, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(static_cast<const char*>(value)),
                                    static_cast<DWORD>(value.GetLength() + 1));
    RegCloseKey(hSection);
    return status == ERROR_SUCCESS;
}
