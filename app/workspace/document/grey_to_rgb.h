#pragma once
#include "picture.h"

// Turns an 8-bit picture into a 24-bit one of the same size and type, each
// pixel taking its palette colour (a grey palette gives the grey value in all
// three channels). The controller and the counting engine work on 24-bit
// pixels only. Other pictures are left alone; false when the new picture
// could not be made.
bool ConvertGreyToRGB(CPicture& picture);
