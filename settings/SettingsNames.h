// Where the settings live and what their values are called.
#pragma once

constexpr char kSettingsKey[] = "Duke3d";
constexpr char kSettingsSection[] = "Levrin";
constexpr char kSettingMapDir[] = "MapDir";
constexpr char kSettingExeDir[] = "ExeDir";
constexpr char kSettingCurrentMap[] = "Current Map";
