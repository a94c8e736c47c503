// AviWriter::Create of the Windows build: the platform's AVIFile streams,
// compressed by the chosen video compressor. The non-Windows build defines
// it over our own writer (files/avi_writer_create.cpp).

#include <windows.h>
#include <vfw.h>

#include <algorithm>
#include <string>
#include <vector>

#include "files/avi_writer.h"

namespace kq::files {
namespace {

constexpr std::uint32_t kUncompressed = mmioFOURCC('D', 'I', 'B', ' ');

template <class T>
struct Released {
    T* p = nullptr;
    Released() = default;
    Released(const Released&) = delete;
    Released& operator=(const Released&) = delete;
    ~Released() { reset(); }
    void reset() {
        if (p != nullptr) p->Release();
        p = nullptr;
    }
};

// AVIFileInit and AVIFileExit pair up per writer.
struct AviLibrary {
    AviLibrary() { AVIFileInit(); }
    ~AviLibrary() { AVIFileExit(); }
    AviLibrary(const AviLibrary&) = delete;
    AviLibrary& operator=(const AviLibrary&) = delete;
};

std::uint32_t RowBytes(const AviWriter::Format& f) {
    return (static_cast<std::uint32_t>(f.width) * static_cast<std::uint32_t>(f.bitsPerPixel) / 8 + 3) & ~3u;
}

class AviFileWriter final : public AviWriter {
public:
    AviFileWriter(const std::filesystem::path& path, const Format& format) : AviWriter(format), path_(path) {
        rowBytes_ = RowBytes(format);
        frameBytes_ = rowBytes_ * static_cast<std::uint32_t>(format.height);
    }
    ~AviFileWriter() override { Close(); }

    // File, stream, compressor, format. On failure everything made is
    // released and the file removed; the message says which step failed.
    bool Open(std::string& message) {
        if (AVIFileOpenW(&file_.p, path_.c_str(), OF_CREATE | OF_WRITE, nullptr) != AVIERR_OK) {
            message = "Unable to Create the Movie File";
            return Fail();
        }
        AVISTREAMINFOW header{};
        header.fccType = streamtypeVIDEO;
        header.fccHandler = format_.compressor;
        header.dwScale = 1;
        header.dwRate = static_cast<DWORD>(format_.framesPerSecond);
        header.dwQuality = 10000;
        header.dwSuggestedBufferSize = frameBytes_;
        SetRect(&header.rcFrame, 0, 0, format_.width, format_.height);
        wcscpy_s(header.szName, L"Video Stream");
        if (AVIFileCreateStreamW(file_.p, &stream_.p, &header) != AVIERR_OK) {
            message = "Unable to Create Video Stream in the Movie File";
            return Fail();
        }
        if (format_.compressor == kUncompressed) {
            // Frames go to the file as they are.
            target_ = stream_.p;
        } else {
            AVICOMPRESSOPTIONS options{};
            options.fccType = streamtypeVIDEO;
            options.fccHandler = format_.compressor;
            options.dwKeyFrameEvery = 1;
            options.dwFlags = AVICOMPRESSF_KEYFRAMES | AVICOMPRESSF_VALID;
            if (AVIMakeCompressedStream(&compressed_.p, stream_.p, &options, nullptr) != AVIERR_OK) {
                message = "Unable to Create Compressed Stream: Check your CODEC options";
                return Fail();
            }
            target_ = compressed_.p;
        }
        // The frame format, with a grey palette for 8-bit frames.
        std::vector<std::uint8_t> format(sizeof(BITMAPINFOHEADER) + (format_.bitsPerPixel == 8 ? 256 * 4 : 0));
        auto* info = reinterpret_cast<BITMAPINFOHEADER*>(format.data());
        info->biSize = sizeof(BITMAPINFOHEADER);
        info->biWidth = format_.width;
        info->biHeight = format_.height;
        info->biPlanes = 1;
        info->biBitCount = static_cast<WORD>(format_.bitsPerPixel);
        info->biCompression = BI_RGB;
        info->biSizeImage = frameBytes_;
        if (format_.bitsPerPixel == 8) {
            info->biClrUsed = 256;
            for (int i = 0; i < 256; ++i) {
                std::uint8_t* entry = format.data() + sizeof(BITMAPINFOHEADER) + 4 * i;
                entry[0] = entry[1] = entry[2] = static_cast<std::uint8_t>(i);
            }
        }
        if (AVIStreamSetFormat(target_, 0, format.data(), static_cast<LONG>(format.size())) != AVIERR_OK) {
            message = "Unable to Set Video Stream Format";
            return Fail();
        }
        headerBytes_ = 2048 + format.size();
        padded_.assign(frameBytes_, 0);
        return true;
    }

    bool WriteFrame(std::uint32_t index, std::span<const std::uint8_t> frame) override {
        if (closed_ || failed_) return false;
        const std::size_t dataRow = static_cast<std::size_t>(format_.width) * format_.bitsPerPixel / 8;
        if (frame.size() < dataRow * static_cast<std::size_t>(format_.height)) return false;
        if (static_cast<std::int64_t>(index) <= lastIndex_) return true;  // faster than the grid
        for (std::int32_t y = 0; y < format_.height; ++y) {
            std::copy_n(frame.begin() + static_cast<std::ptrdiff_t>(y * dataRow), dataRow,
                        padded_.begin() + static_cast<std::ptrdiff_t>(y) * rowBytes_);
        }
        LONG written = 0;
        const HRESULT hr = AVIStreamWrite(target_, static_cast<LONG>(index), 1, padded_.data(),
                                          static_cast<LONG>(frameBytes_), AVIIF_KEYFRAME, nullptr, &written);
        if (hr != AVIERR_OK) {
            failed_ = true;
            Release();
            return false;
        }
        lastIndex_ = index;
        positions_ = index + 1;
        // The bound: a compressor may report nothing, or more than the frame.
        dataBytes_ += std::max<std::uint64_t>(static_cast<std::uint64_t>(std::max<LONG>(written, 0)), frameBytes_) +
                      kChunkBytes;
        return true;
    }

    std::uint64_t FileBytes() const override {
        // Every position has an index entry, an empty one a chunk header.
        return headerBytes_ + dataBytes_ + kChunkBytes * std::uint64_t{positions_};
    }
    std::uint64_t FrameCost() const override { return std::uint64_t{frameBytes_} * 2 + 2 * kChunkBytes; }
    std::uint32_t Positions() const override { return positions_; }

    bool Close() override {
        if (closed_) return !failed_;
        closed_ = true;
        Release();
        return !failed_;
    }

private:
    static constexpr std::uint64_t kChunkBytes = 24;  // header and index entry

    bool Fail() {
        Release();
        DeleteFileW(path_.c_str());
        closed_ = true;
        return false;
    }
    void Release() {
        target_ = nullptr;
        compressed_.reset();
        stream_.reset();
        file_.reset();
    }

    std::filesystem::path path_;
    AviLibrary library_;
    Released<IAVIFile> file_;
    Released<IAVIStream> stream_;
    Released<IAVIStream> compressed_;
    IAVIStream* target_ = nullptr;  // the compressed stream, or the file's own
    std::vector<std::uint8_t> padded_;
    std::uint32_t rowBytes_ = 0;
    std::uint32_t frameBytes_ = 0;
    std::uint64_t headerBytes_ = 0;
    std::uint64_t dataBytes_ = 0;
    std::uint32_t positions_ = 0;
    std::int64_t lastIndex_ = -1;
    bool closed_ = false;
    bool failed_ = false;
};

}  // namespace

std::unique_ptr<AviWriter> AviWriter::Create(const std::filesystem::path& path, const Format& format,
                                             std::string* message) {
    std::string failure;
    if (format.width <= 0 || format.height <= 0 || format.framesPerSecond <= 0 ||
        (format.bitsPerPixel != 24 && format.bitsPerPixel != 8) ||
        std::uint64_t{RowBytes(format)} * static_cast<std::uint64_t>(format.height) > 0x40000000u) {
        if (message != nullptr) *message = "Unable to Create the Movie File";
        return nullptr;
    }
    Format used = format;
    if (used.compressor == 0) used.compressor = kUncompressed;
    auto writer = std::make_unique<AviFileWriter>(path, used);
    if (!writer->Open(failure)) {
        if (message != nullptr) *message = failure;
        return nullptr;
    }
    return writer;
}

}  // namespace kq::files
