#pragma once
// The test capture source: one output pin delivering RGB24 frames with
// sample times at the chosen format (640x480, 1280x1024 or 800x600), with
// the capture pin category, IAMStreamConfig and IAMDroppedFrames (unless
// switched off), a property store behind IKsPropertySet on the filter that
// answers one chosen candidate extension set and logs each call, and one
// property page.
#include <windows.h>
#include <dshow.h>

HRESULT CreateTestSource(REFIID iid, void** out);
HRESULT CreateTestSourcePage(REFIID iid, void** out);
HRESULT CreateFileWriterStandIn(REFIID iid, void** out);
