#pragma once
// The file dialogs of the fusion and stitching dialogs: BMP, JPEG and TIFF.
#include <windows.h>

#include "common_dialogs.h"

inline constexpr const wchar_t* kResultPictureFilter =
    L"BMP File(*.bmp)|*.bmp|JPEG File(*.jpg)|*.jpg|TIFF File(*.tiff)|*.tiff|";

inline FileDialogRequest ResultPictureRequest(bool open) {
    FileDialogRequest request;
    request.filter = kResultPictureFilter;
    request.flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | (open ? OFN_ALLOWMULTISELECT : 0);
    return request;
}
