#include "picture_file_names.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace {

bool EqualsIgnoringCase(std::wstring_view text, std::wstring_view lower) {
    return text.size() == lower.size() && std::equal(text.begin(), text.end(), lower.begin(), [](wchar_t a, wchar_t b) {
               return std::towlower(static_cast<wint_t>(a)) == static_cast<wint_t>(b);
           });
}

// Where the extension's dot is in the path; npos when the file name has none.
std::size_t ExtensionDot(std::wstring_view path) {
    const std::size_t slash = path.rfind(L'\\');
    const std::size_t dot = path.rfind(L'.');
    if (dot == std::wstring_view::npos || (slash != std::wstring_view::npos && dot < slash)) {
        return std::wstring_view::npos;
    }
    return dot;
}

}  // namespace

int SavedCopyType(int type) { return type >= 1 && type <= 3 ? type : 1; }

std::wstring SavedCopyPath(std::wstring_view path, int type, const LocalTime& time) {
    static constexpr std::wstring_view kExtensions[] = {L".bmp", L".jpg", L".tiff"};
    const std::size_t dot = ExtensionDot(path);
    wchar_t stamp[64] = {};
    std::swprintf(stamp, 64, L"_%4d%02d%02d%02d%02d%02d%04d", time.year, time.month, time.day, time.hour, time.minute,
                  time.second, time.milliseconds);
    std::wstring copy(path.substr(0, dot));
    copy += stamp;
    copy += kExtensions[SavedCopyType(type) - 1];
    return copy;
}

std::wstring FreeSavedCopyPath(std::wstring_view path, int type, LocalTime time,
                               const std::function<bool(const std::wstring&)>& exists) {
    std::wstring copy = SavedCopyPath(path, type, time);
    // Ten seconds' worth of names; the stamp keeps four digits for them.
    for (int tries = 0; exists(copy) && tries < 9999; ++tries) {
        ++time.milliseconds;
        if (time.milliseconds > 9999) {
            time.milliseconds = 0;
            ++time.second;
        }
        copy = SavedCopyPath(path, type, time);
    }
    return copy;
}

std::wstring ExtensionOfPath(std::wstring_view path) {
    const std::size_t dot = ExtensionDot(path);
    return dot == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(dot + 1));
}

int SaveAsTypeOfExtension(std::wstring_view extension) {
    if (EqualsIgnoringCase(extension, L"bmp")) return 1;
    if (EqualsIgnoringCase(extension, L"jpg")) return 2;
    if (EqualsIgnoringCase(extension, L"tiff")) return 3;
    return kSaveAsDocument;
}

std::wstring DocumentSavePath(std::wstring_view path) {
    if (EqualsIgnoringCase(ExtensionOfPath(path), L"kqmk")) {
        return std::wstring(path);
    }
    return std::wstring(path) + L".kqmk";
}

std::optional<RenameParts> SplitForRename(std::wstring_view path, std::wstring_view caption) {
    const std::size_t at = caption.empty() ? std::wstring_view::npos : path.rfind(caption);
    const std::size_t dot = caption.rfind(L'.');
    if (at == std::wstring_view::npos || dot == std::wstring_view::npos || dot == 0 || dot + 1 == caption.size()) {
        return std::nullopt;
    }
    return RenameParts{std::wstring(path.substr(0, at)), std::wstring(caption.substr(0, dot)),
                       std::wstring(caption.substr(dot))};
}

std::optional<std::wstring> RenamedPath(const RenameParts& parts, std::wstring_view name) {
    if (!IsPlainFileName(name)) {
        return std::nullopt;
    }
    return parts.folder + std::wstring(name) + parts.extension;
}

std::optional<std::wstring> FolderDialogStart(std::wstring_view folder) {
    std::wstring start(folder.size() > 1 ? folder.substr(0, folder.size() - 1) : folder);
    if (start.empty() || start == L"NULL") {
        return std::nullopt;
    }
    if (start.back() == L':') {
        start += L'\\';
    }
    return start;
}

std::optional<std::wstring> StoredFolder(std::wstring_view chosenPath) {
    if (chosenPath.empty()) {
        return std::nullopt;
    }
    std::wstring folder(chosenPath);
    if (folder.back() == L'\\') {
        folder.pop_back();
    }
    folder += L'\\';
    return folder;
}

std::vector<std::wstring> SplitFileSelection(std::wstring_view buffer) {
    std::vector<std::wstring> parts;
    std::size_t at = 0;
    while (at < buffer.size() && buffer[at] != L'\0') {
        const std::size_t end = std::min(buffer.find(L'\0', at), buffer.size());
        parts.emplace_back(buffer.substr(at, end - at));
        at = end + 1;
    }
    if (parts.size() <= 1) {
        return parts;
    }
    std::wstring folder = parts.front();
    if (folder.back() != L'\\') {
        folder += L'\\';
    }
    std::vector<std::wstring> paths;
    for (std::size_t k = 1; k < parts.size(); ++k) {
        paths.push_back(folder + parts[k]);
    }
    return paths;
}
