#pragma once
// Class identifiers the toolchain's import library defines but its headers
// do not declare.
#include <guiddef.h>

extern "C" {
extern const CLSID CLSID_NullRenderer;
extern const CLSID CLSID_SampleGrabber;
}
