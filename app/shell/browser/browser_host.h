#pragma once
// What the picture browser asks of the view that shows its pictures: where
// selections go, and the view's save-as, rename and close-and-delete.
#include <windows.h>

#include <string>

class IPictureBrowserHost {
public:
    // The window that gets WM_PICTURE_SELECTED; null when there is no view.
    virtual HWND GetActiveViewWindow() const = 0;
    // The view saves its current picture under a name the user chooses.
    virtual void SaveImageAs() = 0;
    // The view renames its current picture file.
    virtual void RenameCurrentPicture() = 0;
    // The view closes the picture of this path, and deletes its file when
    // deleteFile is set.
    virtual void RemovePicture(const std::wstring& path, bool deleteFile) = 0;

protected:
    ~IPictureBrowserHost() = default;
};
