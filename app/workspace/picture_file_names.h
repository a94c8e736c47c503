#pragma once
// Names the view's file commands derive from what the user chose: the name
// of a saved copy, the type a save-as extension asks for, the name a
// drawing document is stored under, the parts of a browser item to rename
// and the folder texts of the folder commands. Platform-free.
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "picture_paths.h"

// What SaveAsTypeOfExtension gives for a drawing document; 1 to 3 are
// the image types bmp, jpg and tiff.
inline constexpr int kSaveAsDocument = 0;

// The picture's path cut at the last "." of its file name, the time as
// "_%4d%02d%02d%02d%02d%02d%04d", then ".bmp", ".jpg" or ".tiff" by the
// type written (SavedCopyType).
std::wstring SavedCopyPath(std::wstring_view path, int type, const LocalTime& time);
// A picture of an unknown type is copied as BMP: its own name would be
// the file it came from.
int SavedCopyType(int type);
// SavedCopyPath for the first millisecond from `time` on whose name `exists`
// denies, so a copy never replaces a file.
std::wstring FreeSavedCopyPath(std::wstring_view path, int type, LocalTime time,
                               const std::function<bool(const std::wstring&)>& exists);

// The extension of a chosen file name: the text after the last "." of the
// part after the last backslash; empty when there is none.
std::wstring ExtensionOfPath(std::wstring_view path);
// "bmp" 1, "jpg" 2, "tiff" 3 without regard to case; anything else is a
// drawing document (kSaveAsDocument).
int SaveAsTypeOfExtension(std::wstring_view extension);
// A document is stored under the chosen path when its extension is
// "kqmk", else under the path followed by ".kqmk".
std::wstring DocumentSavePath(std::wstring_view path);

// A browser item split for renaming: the folder is the path up to the last
// occurrence of the caption, the caption splits at its last "." into the
// base name and the extension with its dot.
struct RenameParts {
    std::wstring folder;
    std::wstring baseName;
    std::wstring extension;
};
// None when the caption is not in the path or lacks a base name or an
// extension.
std::optional<RenameParts> SplitForRename(std::wstring_view path, std::wstring_view caption);
// folder + name + extension; none when the name is no plain file name
// (empty, "." or "..", separators, drive colon, wildcards, control characters).
std::optional<std::wstring> RenamedPath(const RenameParts& parts, std::wstring_view name);

// The folder a folder dialog starts at for a stored folder (which ends in a
// backslash): the folder without its last character, a drive getting its
// backslash back; none for an empty folder or "NULL".
std::optional<std::wstring> FolderDialogStart(std::wstring_view folder);
// What is stored for a chosen folder: its path with exactly one trailing
// backslash; none when the choice has no file-system path.
std::optional<std::wstring> StoredFolder(std::wstring_view chosenPath);

// The paths of an open dialog's multiple-selection buffer: either one full
// path, or the folder and then the file names, each ended by a null, the
// whole ended by a second null. Names are joined to the folder with one
// backslash.
std::vector<std::wstring> SplitFileSelection(std::wstring_view buffer);
