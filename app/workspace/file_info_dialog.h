#pragma once
// The file information dialog as the view's controllers show it. The shell
// supplies it, so the workspace never links the dialog; the view holds it
// without owning it, so no virtual destructor.
#include <string>

class IFileInfoDialog {
public:
    // Shows the text modally until the user closes it.
    virtual void ShowFileInfo(const std::u16string& text) = 0;

protected:
    ~IFileInfoDialog() = default;
};
