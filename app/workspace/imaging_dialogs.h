#pragma once
// The image fusion and stitching dialogs as the view opens them. The shell
// supplies them, so the workspace never links the dialogs; the view holds
// them without owning them, so no virtual destructor.
class IImagingDialogs {
public:
    // Each runs its dialog modally until the user closes it.
    virtual void RunFusion() = 0;
    virtual void RunStitching() = 0;

protected:
    ~IImagingDialogs() = default;
};
