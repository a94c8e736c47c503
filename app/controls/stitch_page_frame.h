// The framed area a grid page or dialog shows its content in: the frame
// control stretched to the page's bottom-right corner, the content one
// pixel below its top edge, and that edge drawn as a single shadow line.
#pragma once

#include <windows.h>

// Stretches the frame control `frameId` of `page` to the page's corner and
// places `content` (may be null) inside it.
void StretchPageFrame(HWND page, int frameId, HWND content);

// Paints the frame's top line; the page's WM_PAINT.
void PaintPageFrame(HWND page, int frameId);
