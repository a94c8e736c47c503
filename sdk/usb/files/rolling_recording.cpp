#include "rolling_recording.h"

#include <algorithm>
#include <utility>

#include "rollover_name.h"

namespace kq::files {

RollingRecording::RollingRecording(Opener opener) : opener_(std::move(opener)) {
    if (!opener_) {
        opener_ = [](const std::filesystem::path& path, const AviWriter::Format& format) {
            return AviWriter::Create(path, format);
        };
    }
}

RollingRecording::~RollingRecording() { Close(); }

void RollingRecording::Name(std::filesystem::path first) {
    first_ = std::move(first);
    number_ = 0;
}

std::unique_ptr<AviWriter> RollingRecording::OpenNumber(std::int32_t number, const AviWriter::Format& format) {
    return opener_(RolloverName(first_, number), format);
}

bool RollingRecording::Open(const AviWriter::Format& format) {
    writer_ = OpenNumber(number_, format);
    return writer_ != nullptr;
}

void RollingRecording::Append(std::int32_t width, std::int32_t height, std::span<const std::uint8_t> frame,
                              std::int64_t now) {
    if (writer_ == nullptr) return;
    const AviWriter::Format format = writer_->format();
    if (width != format.width || height != format.height) return;
    if (writer_->Positions() == 0) start_ = now;
    auto index =
        static_cast<std::uint32_t>(std::max<std::int64_t>(0, (now - start_) * format.framesPerSecond / 1000));
    const std::uint64_t gap = index > writer_->Positions() ? index - writer_->Positions() : 0;
    // An empty position costs its index entry.
    if (writer_->FileBytes() + gap * 24 + writer_->FrameCost() > limit_ && writer_->Positions() > 0) {
        // The full file is finished on the closer's thread while this
        // frame and the next go into the new one.
        closer_.Hand(std::move(writer_));
        writer_ = OpenNumber(++number_, format);
        if (writer_ == nullptr) return;
        start_ = now;
        index = 0;
    }
    writer_->WriteFrame(index, frame);
}

bool RollingRecording::Close() {
    const bool ok = writer_ == nullptr || writer_->Close();
    writer_.reset();
    return closer_.Finish() && ok;
}

}  // namespace kq::files
