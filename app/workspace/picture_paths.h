#pragma once
// Names of the files the view opens as pictures: the type code a controller
// keeps, drawing documents, the browser caption of a document and the names
// of snapshots.
#include <optional>
#include <string>
#include <string_view>

// 1 bmp, 2 jpg or jpeg, 3 tif or tiff, 0 anything else; by the extension of
// the file name, without regard to case.
int PictureTypeOfPath(std::wstring_view path);
// A path whose last four characters are "kqmk", without regard to case.
bool IsDrawingDocumentPath(std::wstring_view path);
// A name that stays one file in its folder: not empty, "." or "..", and
// free of separators, drive colon, wildcards and control characters.
bool IsPlainFileName(std::wstring_view name);
// The part after the last backslash.
std::wstring FileNameOfPath(std::wstring_view path);
// The snapshot's path with the temporary name "ShotPictemp_0" replaced by
// the user's name and the extension of the camera's image type (1 ".bmp",
// 2 ".jpg", 3 ".tiff"). None when the path lacks the temporary name, the
// type is unknown, or the name is empty or no plain file name (separators,
// drive colon, wildcards, control characters, "." or "..").
std::optional<std::wstring> NamedShotPath(std::wstring_view path, std::wstring_view name, int imageType);

struct LocalTime {
    int year, month, day, hour, minute, second, milliseconds;
};
// The path without its extension (cut at the last "." of the file name),
// then "_%4d%02d%02d%02d%02d%02d%04d" of the time, then the extension.
std::wstring TimestampedPath(std::wstring_view path, const LocalTime& time);
