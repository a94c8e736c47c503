#pragma once
// The AVI player: a window that lists the AVI files of a video folder, plays
// the chosen one through the system's AVIFile and DrawDib, and saves the
// frame shown as a BMP into a picture folder. One player per process; it
// runs on the thread that started it, through that thread's message loop.
#include <windows.h>

#include <string>

// Makes the player, or gives the one already made the new folders, owned by
// `parent`'s top-level window. False when its window cannot be created.
bool AVIPLAYER_InitializePlayer(HWND parent, std::wstring videoFolder, std::wstring pictureFolder);
// Shows the player with the video folder's files listed again; nothing
// before AVIPLAYER_InitializePlayer.
void AVIPLAYER_Play();
