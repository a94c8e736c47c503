#pragma once
// The toolkit's look: flat faces, thin frames and title strips in the
// system's face and caption colours.
#include <windows.h>

#include <string>

COLORREF GetFaceColor();
void FillFace(HDC dc, const RECT& rect);
void DrawFlatFrame(HDC dc, const RECT& rect);
void DrawTitleStrip(HDC dc, const RECT& rect, const std::wstring& title);
// The height of a bar's title strip.
int TitleStripHeight();
// A bar's face over its whole client area with its title strip at the top.
void DrawBarFace(HDC dc, const RECT& client, const std::wstring& title);
// A toolbar's gripper: two raised lines along the strip (across it when the
// toolbar stands in a column).
void DrawGripper(HDC dc, const RECT& rect, bool vertical);
