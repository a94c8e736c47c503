#pragma once
// Start-up of the GigE camera library, run once by the application.

// The number of GigE cameras the library reported at start: the GigE
// camera class's bound for a camera index.
extern int g_nGigECameraCount;

// True when the GigE library is loaded with both start-up entries bound.
bool IsGigESdkReady();

// `InitGigESdk`: `KQGE_Initialize`, then on success `KQGE_GetCameraCount`
// into g_nGigECameraCount. Call only when IsGigESdkReady().
void InitGigESdk();
