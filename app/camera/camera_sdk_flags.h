#pragma once
// Whether each camera family's library was loaded at start: 1 while its
// loader holds the library, 0 otherwise.
int IsCCDSdkLoaded();
int IsCMOSSdkLoaded();
int IsGigESdkLoaded();
int IsUVCSdkLoaded();
