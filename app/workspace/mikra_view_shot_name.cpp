// Naming a snapshot the camera saved under the temporary name of user
// naming. The temporary name is used again by the next such snapshot, so a
// snapshot never keeps it: it takes the user's name, or, when the user
// cancels or gives a name that cannot be used, a time-stamped one.
#include "mikra_view.h"
#include "picture_paths.h"

namespace {

// Fails rather than replace an existing file.
bool RenameWithoutReplacing(const std::wstring& from, const std::wstring& to) {
    return MoveFileExW(from.c_str(), to.c_str(), 0) != FALSE;
}

}  // namespace

std::wstring CMikraView::AskShotName(const std::wstring& path) {
    if (!m_camera || !m_frame || m_camera->GetNameType() != 1 || m_camera->IsTimedCapture()) {
        return path;
    }
    if (const std::optional<std::wstring> name = m_frame->AskPictureName()) {
        const std::optional<std::wstring> named = NamedShotPath(path, *name, m_camera->GetImageType());
        if (named && RenameWithoutReplacing(path, *named)) {
            return *named;
        }
    }
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::wstring automatic = TimestampedPath(
        path, {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds});
    return RenameWithoutReplacing(path, automatic) ? automatic : path;
}
