#pragma once
// Whether each camera family's library was loaded at start: 1 loaded, 0 not.
// The program binds no camera library, so each answers 0.
int IsCCDSdkLoaded();
int IsCMOSSdkLoaded();
int IsGigESdkLoaded();
int IsUVCSdkLoaded();
