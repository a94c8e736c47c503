#pragma once
// A recording that rolls over into numbered files (rollover_name.h) before a
// file would pass its size limit. Frames are placed by arrival time on the
// file's grid of 1 / framesPerSecond; each file's grid starts at its first
// frame. A full file is finished on a thread of its own (writer_closer.h)
// while the frames go on into the next one; Close returns once every file is
// complete.
//
// Not locked: the device calls it under its own lock from the capture
// thread (frames) and the caller's thread (start, stop).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>

#include "avi_writer.h"
#include "writer_closer.h"

namespace kq::files {

class RollingRecording {
public:
    using Opener =
        std::function<std::unique_ptr<AviWriter>(const std::filesystem::path& path, const AviWriter::Format& format)>;

    // `opener` makes each file of the recording (by default AviWriter::Create).
    explicit RollingRecording(Opener opener = {});
    RollingRecording(const RollingRecording&) = delete;
    RollingRecording& operator=(const RollingRecording&) = delete;
    ~RollingRecording();

    // Names the first file; the next Open starts over at it.
    void Name(std::filesystem::path first);
    const std::filesystem::path& Named() const { return first_; }
    // Creates the recording's current file (the named one, or the last
    // numbered one it rolled into). False when it cannot be created.
    bool Open(const AviWriter::Format& format);
    bool IsOpen() const { return writer_ != nullptr; }
    // A frame of width x height (bottom-up rows of the open file's bits, no
    // gaps) that arrived at `now` milliseconds. A frame of another size is
    // not recorded.
    void Append(std::int32_t width, std::int32_t height, std::span<const std::uint8_t> frame, std::int64_t now);
    // Finishes the open file and every file rolled over before it. False
    // when one of them could not be written.
    bool Close();

    void SetLimit(std::uint64_t bytes) { limit_ = bytes; }

private:
    std::unique_ptr<AviWriter> OpenNumber(std::int32_t number, const AviWriter::Format& format);

    Opener opener_;
    std::unique_ptr<AviWriter> writer_;
    std::filesystem::path first_;
    std::int32_t number_ = 0;
    std::int64_t start_ = 0;
    std::uint64_t limit_ = AviWriter::kRolloverBytes;
    // Last: its thread ends before the members it might reach.
    WriterCloser closer_;
};

}  // namespace kq::files
