#pragma once
// Names of the files the view opens as pictures: the type code a controller
// keeps, drawing documents and the browser caption of a document.
#include <string>
#include <string_view>

// 1 bmp, 2 jpg or jpeg, 3 tif or tiff, 0 anything else; by the extension of
// the file name, without regard to case.
int PictureTypeOfPath(std::wstring_view path);
// A path whose last four characters are "kqmk", without regard to case.
bool IsDrawingDocumentPath(std::wstring_view path);
// The part after the last backslash.
std::wstring FileNameOfPath(std::wstring_view path);
