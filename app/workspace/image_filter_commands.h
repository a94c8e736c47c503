#pragma once
// The picture operations of the picture menu as the image controller calls
// them: each changes the picture in place and returns true when it did. The
// controller holds the target without owning it, so no virtual destructor.
class CPicture;

class IImageFilterCommands {
public:
    virtual bool Blur(CPicture& picture) = 0;
    virtual bool Sharpen(CPicture& picture) = 0;
    virtual bool Emboss(CPicture& picture) = 0;
    virtual bool Mirror(CPicture& picture) = 0;
    virtual bool Negative(CPicture& picture) = 0;
    virtual bool EdgeDetect(CPicture& picture) = 0;
    // May replace the picture with one of another size.
    virtual bool Rotate(CPicture& picture) = 0;
    // The two adjustments ask the user for their values first.
    virtual bool HueSaturation(CPicture& picture) = 0;
    virtual bool AdjustRGB(CPicture& picture) = 0;

protected:
    ~IImageFilterCommands() = default;
};
