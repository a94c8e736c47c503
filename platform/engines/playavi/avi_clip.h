#pragma once
// One AVI file's first video stream opened for reading frames, decoded by
// the system's codecs into 24-bit pictures. Closed with the object.
#include <windows.h>

#include <vfw.h>

#include <filesystem>
#include <memory>

class AviClip {
    // Only Open makes clips.
    struct Key {};

public:
    explicit AviClip(Key) {}
    // Null when the file has no video stream the system can decode.
    static std::unique_ptr<AviClip> Open(const std::filesystem::path& path);
    ~AviClip();
    AviClip(const AviClip&) = delete;
    AviClip& operator=(const AviClip&) = delete;

    LONG Frames() const { return frames_; }
    // Milliseconds one frame is shown, at least 1.
    UINT FrameMs() const { return frameMs_; }
    // The decoded frame `index` as a packed DIB (header, then bottom-up
    // 24-bit rows); it belongs to the clip and lasts until the next call.
    // Null when the frame cannot be decoded.
    const BITMAPINFOHEADER* Frame(LONG index);

private:
    PAVISTREAM stream_ = nullptr;
    PGETFRAME getFrame_ = nullptr;
    LONG first_ = 0;
    LONG frames_ = 0;
    UINT frameMs_ = 40;
};

// Writes a packed 24-bit DIB as a BMP file; false when it cannot be written.
bool WriteFrameBmp(const std::filesystem::path& path, const BITMAPINFOHEADER& frame);
