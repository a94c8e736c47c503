#pragma once
// Whether each camera family's library was loaded at start. The camera
// layer binds the libraries; until it does, no family is loaded.
int IsCCDSdkLoaded();
int IsCMOSSdkLoaded();
int IsGigESdkLoaded();
int IsUVCSdkLoaded();
