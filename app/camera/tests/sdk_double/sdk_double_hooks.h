#pragma once
// What a test asks a camera-library double that the program loaded, besides
// the family's own entries: its script, more frames, and what it delivered.
// Every double exports these under the names below.
#include <windows.h>

extern "C" {
// Replaces the script read from "sdk_script.txt" (see double_script.h).
using SdkDoubleSetScript = int(WINAPI*)(const char* text);
// Asks every running view for `count` more frames; the number of views asked.
using SdkDoubleDeliverFrames = int(WINAPI*)(int count);
// Waits until `total` frames went through the callback since the library
// was loaded, at most timeoutMs; the number delivered.
using SdkDoubleWaitFrames = int(WINAPI*)(int total, int timeoutMs);
// Copies the last frame as the callback left it; its size in bytes, 0 when
// there is none or it does not fit.
using SdkDoubleCopyLastFrame = int(WINAPI*)(unsigned char* out, int capacity, int* width, int* height, int* bits);
// Waits until `total` one-shot completions ran; the number that ran.
using SdkDoubleWaitCompletions = int(WINAPI*)(int total, int timeoutMs);
}
