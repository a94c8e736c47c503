#include "camera_sdk_flags.h"

#include "camera_sdk_families.h"

int IsCCDSdkLoaded() { return CCCDSdkBinding::IsFamilyLoaded(); }

int IsCMOSSdkLoaded() { return CCMOSSdkBinding::IsFamilyLoaded(); }

int IsGigESdkLoaded() { return CGigESdkBinding::IsFamilyLoaded(); }

int IsUVCSdkLoaded() { return CUVCSdkBinding::IsFamilyLoaded(); }
