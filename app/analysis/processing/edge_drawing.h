#pragma once
// The picture menu's edge command: the picture becomes a drawing of its
// edges, black (0) on white (255). Platform-free.
class CPicture;

// Grey per pixel ((B + G + R) div 3 for 24-bit pixels and for the palette
// colour of 8-bit ones), DetectEdges with sigma 0.1, low ratio 0.9 and
// percentile 0.76, then 255 - edge written back: into all three channels,
// or into the index of an 8-bit picture, whose palette becomes the grey
// ramp. False, with the picture unchanged, for an empty picture.
bool DrawEdges(CPicture& picture);
