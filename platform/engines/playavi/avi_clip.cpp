#include "avi_clip.h"

#include <cstdint>
#include <fstream>
#include <vector>

namespace {

// The library is opened with the first clip and stays open for the process.
struct AviLibrary {
    AviLibrary() { AVIFileInit(); }
    ~AviLibrary() { AVIFileExit(); }
};

std::size_t RowBytes(const BITMAPINFOHEADER& header) {
    return ((static_cast<std::size_t>(header.biWidth) * header.biBitCount + 31) / 32) * 4;
}

}  // namespace

std::unique_ptr<AviClip> AviClip::Open(const std::filesystem::path& path) {
    static AviLibrary library;
    auto clip = std::make_unique<AviClip>(Key{});
    if (AVIStreamOpenFromFileW(&clip->stream_, path.c_str(), streamtypeVIDEO, 0, OF_READ, nullptr) != 0) {
        clip->stream_ = nullptr;
        return nullptr;
    }
    AVISTREAMINFOW info{};
    AVIStreamInfoW(clip->stream_, &info, sizeof(info));
    // Frames come as 24-bit pictures whatever the file holds.
    BITMAPINFOHEADER wanted{};
    wanted.biSize = sizeof(wanted);
    wanted.biWidth = static_cast<LONG>(info.rcFrame.right - info.rcFrame.left);
    wanted.biHeight = static_cast<LONG>(info.rcFrame.bottom - info.rcFrame.top);
    wanted.biPlanes = 1;
    wanted.biBitCount = 24;
    wanted.biCompression = BI_RGB;
    clip->getFrame_ = AVIStreamGetFrameOpen(clip->stream_, wanted.biWidth > 0 ? &wanted : nullptr);
    if (clip->getFrame_ == nullptr) {
        clip->getFrame_ = AVIStreamGetFrameOpen(clip->stream_, nullptr);
    }
    if (clip->getFrame_ == nullptr) {
        return nullptr;
    }
    clip->first_ = AVIStreamStart(clip->stream_);
    clip->frames_ = AVIStreamLength(clip->stream_);
    if (info.dwRate != 0) {
        const std::uint64_t ms = 1000ull * info.dwScale / info.dwRate;
        clip->frameMs_ = ms == 0 ? 1u : static_cast<UINT>(ms);
    }
    if (clip->frames_ <= 0 || clip->Frame(0) == nullptr) {
        return nullptr;
    }
    return clip;
}

AviClip::~AviClip() {
    if (getFrame_ != nullptr) {
        AVIStreamGetFrameClose(getFrame_);
    }
    if (stream_ != nullptr) {
        AVIStreamRelease(stream_);
    }
}

const BITMAPINFOHEADER* AviClip::Frame(LONG index) {
    if (index < 0 || index >= frames_) {
        return nullptr;
    }
    const auto* frame = static_cast<const BITMAPINFOHEADER*>(AVIStreamGetFrame(getFrame_, first_ + index));
    if (frame == nullptr || frame->biBitCount != 24 || frame->biCompression != BI_RGB || frame->biWidth <= 0 ||
        frame->biHeight == 0) {
        return nullptr;
    }
    return frame;
}

bool WriteFrameBmp(const std::filesystem::path& path, const BITMAPINFOHEADER& frame) {
    const std::size_t rows = static_cast<std::size_t>(frame.biHeight < 0 ? -frame.biHeight : frame.biHeight);
    const std::size_t imageBytes = RowBytes(frame) * rows;
    BITMAPINFOHEADER header = frame;
    header.biSize = sizeof(header);
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    header.biClrUsed = 0;
    header.biClrImportant = 0;
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    file.bfSize = static_cast<DWORD>(file.bfOffBits + imageBytes);
    const auto* bits = reinterpret_cast<const char*>(&frame) + frame.biSize;
    const std::filesystem::path partial = path.wstring() + L".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(&file), sizeof(file));
        out.write(reinterpret_cast<const char*>(&header), sizeof(header));
        out.write(bits, static_cast<std::streamsize>(imageBytes));
        if (!out.flush()) {
            std::error_code ignored;
            out.close();
            std::filesystem::remove(partial, ignored);
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    return !error;
}
