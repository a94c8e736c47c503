#pragma once
// The program's four camera-library loaders, created once before the
// application object runs and destroyed after it, when the view's cameras are
// gone. Construction loads CCD, USB CMOS, GigE, UVC in that order; the
// members' reverse destruction frees them UVC, GigE, USB CMOS, CCD.
//
// Each library is loaded by full path from the given folder (the program's),
// never by bare name: a library of that name in the current folder or
// elsewhere on the search path is not picked up.
#include <string>

#include "camera_sdk_families.h"

class CCameraSdkLoaders {
public:
    // folder: with a trailing backslash.
    explicit CCameraSdkLoaders(const std::wstring& folder);
    CCameraSdkLoaders(const CCameraSdkLoaders&) = delete;
    CCameraSdkLoaders& operator=(const CCameraSdkLoaders&) = delete;

private:
    CCCDSdkBinding m_ccd;
    CCMOSSdkBinding m_cmos;
    CGigESdkBinding m_gige;
    CUVCSdkBinding m_uvc;
};
