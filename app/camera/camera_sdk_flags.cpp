#include "camera_sdk_flags.h"

int IsCCDSdkLoaded() { return 0; }

int IsCMOSSdkLoaded() { return 0; }

int IsGigESdkLoaded() { return 0; }

int IsUVCSdkLoaded() { return 0; }
