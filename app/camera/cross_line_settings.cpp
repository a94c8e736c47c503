#include "colour_ref.h"
#include "cross_line_settings.h"

#include <algorithm>
#include <string>

namespace {

std::wstring EntrySection(int i) { return L"CROSSLINEINFO_" + std::to_wstring(i); }

}  // namespace

void SaveCrossLineSettings(CIniFile& settings, const CCameraDevice& camera) {
    const int total = camera.GetCrossLineCount();
    settings.WriteInt(total, L"CROSSLINE", L"Total");
    for (int i = 0; i < total; ++i) {
        const std::optional<CrossLineEntry> entry = camera.GetCrossLine(i);
        if (!entry) {
            continue;
        }
        const std::wstring section = EntrySection(i);
        settings.WriteInt(entry->index, section.c_str(), L"Index");
        settings.WriteInt(entry->draw, section.c_str(), L"IsDraw");
        settings.WriteInt(entry->centre, section.c_str(), L"IsCenter");
        settings.WriteInt(entry->xOffset, section.c_str(), L"OffX");
        settings.WriteInt(entry->yOffset, section.c_str(), L"OffY");
        settings.WriteInt(int(entry->colour & 0xFF), section.c_str(), L"R");
        settings.WriteInt(int(entry->colour >> 8 & 0xFF), section.c_str(), L"G");
        settings.WriteInt(int(entry->colour >> 16 & 0xFF), section.c_str(), L"B");
    }
}

void LoadCrossLineSettings(CIniFile& settings, CCameraDevice& camera) {
    int total = 0;
    settings.GetInt(total, L"CROSSLINE", L"Total", 0);
    total = std::clamp(total, 0, kMaxStoredCrossLines);
    camera.SetCrossLineCount(total);
    for (int i = 0; i < total; ++i) {
        const std::wstring section = EntrySection(i);
        int index = 0, draw = 0, centre = 0, x = 0, y = 0;
        std::uint8_t red = 0, green = 0, blue = 0;
        settings.GetInt(index, section.c_str(), L"Index", 0);
        settings.GetInt(draw, section.c_str(), L"IsDraw", 0);
        settings.GetInt(centre, section.c_str(), L"IsCenter", 0);
        settings.GetInt(x, section.c_str(), L"OffX", 0);
        settings.GetInt(y, section.c_str(), L"OffY", 0);
        settings.GetInt(red, section.c_str(), L"R", 0);
        settings.GetInt(green, section.c_str(), L"G", 0);
        settings.GetInt(blue, section.c_str(), L"B", 0);
        camera.SetCrossLine(i, index, draw, centre, x, y, MakeColourRef(red, green, blue));
    }
}
