#pragma once
// The player's window: the AVI files of the video folder in a list, the
// chosen one's frame below it, play, pause, the position bar and the button
// that saves the frame shown into the picture folder.
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>

#include "avi_clip.h"

class AviPlayerWindow {
public:
    // Control ids, for the keyboard and for anyone finding the controls.
    static constexpr int kFileList = 1001;
    static constexpr int kPlay = 1002;
    static constexpr int kPause = 1003;
    static constexpr int kSaveFrame = 1004;
    static constexpr int kPosition = 1005;
    static constexpr wchar_t kClassName[] = L"VizcamAviPlayer";

    AviPlayerWindow() = default;
    ~AviPlayerWindow();
    AviPlayerWindow(const AviPlayerWindow&) = delete;
    AviPlayerWindow& operator=(const AviPlayerWindow&) = delete;

    bool Create(HWND owner);
    void SetFolders(std::filesystem::path videos, std::filesystem::path pictures);
    // Lists the video folder again and shows the window in front.
    void Show();

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void Layout();
    void ListFiles();
    void OpenChosen();
    void CloseClip();
    void ShowFrame(LONG index);
    void Play();
    void Pause();
    void SaveFrame();
    void Paint();
    RECT PictureRect() const;
    HWND Control(int id) const { return GetDlgItem(hwnd_, id); }

    HWND hwnd_ = nullptr;
    HDRAWDIB drawDib_ = nullptr;
    std::filesystem::path videos_;
    std::filesystem::path pictures_;
    std::filesystem::path clipPath_;
    std::unique_ptr<AviClip> clip_;
    LONG position_ = 0;
    bool playing_ = false;
};
