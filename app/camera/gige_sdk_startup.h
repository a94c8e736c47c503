#pragma once
// Start-up of the GigE camera library, run once by the application, and its
// shutdown, run when the view that used its cameras goes.

// The number of GigE cameras the library reported at start: the GigE
// camera class's bound for a camera index.
extern int g_nGigECameraCount;

// True when the GigE library is loaded with both start-up entries bound.
bool IsGigESdkReady();

// `InitGigESdk`: `KQGE_Initialize`, then on success `KQGE_GetCameraCount`
// into g_nGigECameraCount. Call only when IsGigESdkReady().
void InitGigESdk();

// `KQGE_UnInitialize` when the GigE library is loaded and binds it: the
// library's adapters and threads end before the library is freed, not with
// the process. Run after every GigE camera object is gone.
void ShutDownGigESdk();
