#pragma once
// Loading the pictures and export files of the last session behind the
// loading dialog, which runs on its own thread so that it stays responsive
// and its Cancel is seen between two items. The caller's thread waits for
// the dialog and for the user's choice on events, never by polling.
#include <functional>
#include <span>
#include <string>

struct StartupLoading {
    std::span<const std::wstring> pictures;
    std::span<const std::wstring> files;
    std::function<void(const std::wstring&)> openPicture;
    std::function<void(const std::wstring&)> addFile;
};

// Opens the pictures, then adds the files, each from the last to the first,
// as far as the user chose and until the user cancels. Nothing to load
// starts no thread.
void RunStartupLoading(const StartupLoading& loading);
