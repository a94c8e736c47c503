#pragma once
// File names of snapshots and AVI recordings. Automatic names carry the
// local date and time with every field zero-padded, so no two moments share
// a name, and a recording never replaces an existing file: the caller says
// which paths exist through a callback, which keeps this free of any file
// system.
#include <functional>
#include <optional>
#include <string>

struct LocalTimestamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

// Snapshot file types, as "ImgType" stores them.
enum class ShotImageType : int { bmp = 1, jpeg = 2, tiff = 3 };

// The file name of the next snapshot. With user naming and a non-empty
// pending name the name is the pending name plus the type's extension, and
// the pending name is emptied (also when the type is unknown); otherwise
// "Shot_" with the date, time and milliseconds. None for a type outside 1 to
// 3: nothing is written then.
std::optional<std::wstring> NextSnapshotFileName(int imageType, const LocalTimestamp& now, bool userNaming,
                                                 std::wstring& pendingName);

// Answers whether a file exists at a full path.
using PathExists = std::function<bool(const std::wstring& path)>;

// The path of a new recording in `folder` (ending in a backslash):
// "Video_" with the zero-padded date and time, ".avi"; when that file exists,
// the first free of "_2", "_3", ... before the extension. None when every
// candidate is taken.
std::optional<std::wstring> NewVideoPath(const std::wstring& folder, const LocalTimestamp& now,
                                         const PathExists& exists);
