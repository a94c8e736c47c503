#pragma once
// The open-file dialogs of the thumbnail grid, behind an interface so that
// the grid can be driven without a dialog. The folder a dialog starts in is
// the program's picture folder, which the layer above knows.
#include <windows.h>

#include <string>
#include <vector>

class IPictureFileDialogs {
public:
    // The files chosen in a multi-selection dialog, in the dialog's order;
    // empty when cancelled.
    virtual std::vector<std::wstring> ChoosePictures(HWND owner) = 0;
    // One file, or empty when cancelled.
    virtual std::wstring ChoosePicture(HWND owner) = 0;

protected:
    ~IPictureFileDialogs() = default;
};

// The common open-file dialog with the grid's filter.
class CPictureFileDialogs final : public IPictureFileDialogs {
public:
    explicit CPictureFileDialogs(std::wstring startFolder) : m_startFolder(std::move(startFolder)) {}
    std::vector<std::wstring> ChoosePictures(HWND owner) override;
    std::wstring ChoosePicture(HWND owner) override;

private:
    std::vector<std::wstring> Run(HWND owner, bool multiple);
    std::wstring m_startFolder;
};
