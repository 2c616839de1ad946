// The application: start-up, and the settings store it owns.
#pragma once

#include "Framework.h"

class CMapSelectApp : public CWinApp {
public:
    CMapSelectApp() = default;
    ~CMapSelectApp() override = default;

    BOOL InitInstance() override;

    // The settings store: values under the per-user key named by
    // SetSettingsKey and the application name, one section per call.
    void SetSettingsKey(const char* pszKey);
    CString ReadSetting(const char* pszSection, const char* pszName) const;
    bool WriteSetting(const char* pszSection, const char* pszName, const char* pszValue) const;

private:
    HKEY OpenSectionKey(const char* pszSection) const;

    CString m_strSettingsKey;

    DECLARE_MESSAGE_MAP()
};

CMapSelectApp* GetMapSelectApp();
