#pragma once
// The crosshair list in Config.ini, shared by every camera family: section
// "CROSSLINE" key "Total" holds the number of entries, and entry i (from 0)
// lives in section "CROSSLINEINFO_i" under "Index", "IsDraw", "IsCenter",
// "OffX", "OffY", "R", "G", "B". Each family saves it in its SaveSettings and
// loads it in its LoadSettings.
#include "camera_device.h"
#include "ini_file.h"

// A stored "Total" beyond this is read as this many: the value is outside
// input, and every entry costs memory and a line on every frame.
inline constexpr int kMaxStoredCrossLines = 1000;

void SaveCrossLineSettings(CIniFile& settings, const CCameraDevice& camera);
// Grows the camera's list to the stored "Total" (never shrinks it) and sets
// each stored entry; missing keys read as 0.
void LoadCrossLineSettings(CIniFile& settings, CCameraDevice& camera);
