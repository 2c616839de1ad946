#include "MapSelectDlg.h"

#include "MapSelectApp.h"
#include "SettingsNames.h"

void CMapSelectDlg::SaveFolders()
{
    CMapSelectApp* pApp = GetMapSelectApp();
    pApp->WriteSetting(kSettingsSection, kSettingMapDir, m_strMapDir);
    pApp->WriteSetting(kSettingsSection, kSettingExeDir, m_strExeDir);
}
