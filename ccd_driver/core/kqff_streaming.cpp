// Streaming: start and stop, the reader thread, frame assembly in the bulk
// completion, and the consumer side of the frame read.
#include "kqff_device.h"
#include "kqff_util.h"

namespace kqff {
namespace {

constexpr std::uint32_t kStateStreaming = 1;
constexpr std::uint32_t kStateIdle = 4;

constexpr std::uint32_t kWriteBit = 0x1;
constexpr std::uint32_t kReadBit = 0x2;
constexpr std::uint32_t kReadingBit = 0x4;
constexpr std::uint32_t WriteIndex(std::uint32_t b) { return b & kWriteBit; }
constexpr std::uint32_t ReadIndex(std::uint32_t b) { return (b & kReadBit) >> 1; }

constexpr std::uint32_t kNoFormat = 0xFFFFFFFFu;
constexpr std::uint32_t kReadTimeoutMs = 1000;
constexpr std::uint32_t kRecoveryRetryMs = 10;

constexpr UsbPipe kAllPipes[] = {UsbPipe::Command, UsbPipe::Video, UsbPipe::Response};

void ReaderEntry(void* context) { static_cast<Device*>(context)->RunReaderThread(); }

}  // namespace

bool Device::IsStreaming() const { return state_.load(std::memory_order_acquire) == kStateStreaming; }

void Device::SetIdle() {
    state_.store(kStateIdle, std::memory_order_release);
    // Manual-reset: wakes every waiting read, not just one.
    wait_.SetEvent(KqEvent::Stopped);
}

std::uint8_t* Device::FrameBuffer(std::uint32_t index) const { return frameBuffers_[index].data(); }

void Device::DeviceStop() {
    StopCapture();
    frameBytesZeroed_.store(true, std::memory_order_release);
    geometryChanged_.store(true, std::memory_order_release);
}

NtStatus Device::StartCapture() {
    ScopedLock lock(wait_, KqLock::Capture);
    StopCaptureLocked();
    if (bulkBuffer_.size() < kChunkBytes) return kStatusInsufficientResources;

    // Indices and flags start afresh; a read still copying from the last
    // stream finishes first so its buffer is not reused under it.
    for (;;) {
        std::uint32_t b = buffers_.load(std::memory_order_acquire);
        if ((b & kReadingBit) == 0 && buffers_.compare_exchange_weak(b, 0, std::memory_order_acq_rel)) break;
        wait_.Sleep(1);
    }
    frameStart_[0].store(0, std::memory_order_relaxed);
    frameStart_[1].store(0, std::memory_order_relaxed);
    wait_.ClearEvent(KqEvent::StopRequest);
    wait_.ClearEvent(KqEvent::Stopped);
    state_.store(kStateStreaming, std::memory_order_release);

    NtStatus status = wait_.StartThread(&ReaderEntry, this);
    if (!IsSuccess(status)) {
        SetIdle();
        return status;
    }
    threadExists_ = true;
    status = SendCommand(command::kStartStreaming);
    if (!IsSuccess(status)) {
        // The camera never heard the start: do not pretend to stream.
        StopCaptureLocked();
        return status;
    }
    return kStatusSuccess;
}

NtStatus Device::StopCapture() {
    ScopedLock lock(wait_, KqLock::Capture);
    return StopCaptureLocked();
}

NtStatus Device::StopCaptureLocked() {
    SendCommand(command::kStopStreaming);  // the stop proceeds whatever the camera says
    NtStatus result = kStatusSuccess;
    if (threadExists_) {
        SetIdle();
        wait_.SetEvent(KqEvent::StopRequest);
        wait_.JoinThread();
        threadExists_ = false;
        std::uint32_t port = 0;
        if (IsSuccess(usb_.GetPortStatus(port)) && (port & kPortConnected) != 0) {
            for (UsbPipe pipe : kAllPipes) {
                if (!usb_.HasPipe(pipe)) continue;
                NtStatus s = usb_.AbortPipe(pipe);
                if (IsSuccess(s)) s = usb_.ResetPipe(pipe);
                if (s == kStatusInsufficientResources) {
                    result = s;
                    break;
                }
            }
        }
    }
    SetIdle();
    if (busy_.load(std::memory_order_acquire) != 0) AbortExistingPipes();
    // The completion must be done with the buffers before anyone frees them.
    while (busy_.load(std::memory_order_acquire) != 0) wait_.Sleep(1);
    wait_.ClearEvent(KqEvent::StopRequest);
    return result;
}

void Device::AbortExistingPipes() {
    for (UsbPipe pipe : kAllPipes)
        if (usb_.HasPipe(pipe)) usb_.AbortPipe(pipe);
}

void Device::RunReaderThread() {
    bool holdsSlot = false;
    for (;;) {
        if (!holdsSlot) {
            const KqEvent events[] = {KqEvent::ReadSlot, KqEvent::StopRequest};
            if (wait_.WaitAny(events, kWaitForever) == 0) holdsSlot = true;
        }
        if (!IsStreaming()) break;
        if (!holdsSlot) continue;
        if (error_.load(std::memory_order_acquire) != kErrorNone) {
            RecoverFromError();
            continue;  // look at the state again before reading
        }
        if (busy_.exchange(1, std::memory_order_acq_rel) != 0) {
            // The last completion has released the slot but not yet the read
            // context; it is about to.
            wait_.Sleep(1);
            continue;
        }
        if (!IsStreaming()) {
            busy_.store(0, std::memory_order_release);
            break;
        }
        holdsSlot = false;  // the completion gives the slot back
        usb_.SubmitVideoRead(bulkBuffer_.first(kChunkBytes), *this);
    }
    // Give the slot back so that the next stream's thread can read.
    if (holdsSlot) wait_.SetEvent(KqEvent::ReadSlot);
}

void Device::RecoverFromError() {
    std::uint32_t port = 0;
    const NtStatus portStatus = usb_.GetPortStatus(port);
    if (!IsSuccess(portStatus) || (port & kPortConnected) == 0 || !usb_.HasPipe(UsbPipe::Video)) {
        SetIdle();  // the camera is gone; waiting reads fail at once
        return;
    }
    NtStatus status = usb_.AbortPipe(UsbPipe::Video);
    if (IsSuccess(status)) status = usb_.ResetPort();
    if (IsSuccess(status)) status = usb_.ResetPipe(UsbPipe::Video);
    if (IsSuccess(status)) {
        error_.store(kErrorNone, std::memory_order_release);
        return;
    }
    // Out of memory for the pipe request or a busy bus: try again shortly,
    // unless a stop arrives first.
    const KqEvent events[] = {KqEvent::StopRequest};
    wait_.WaitAny(events, kRecoveryRetryMs);
}

void Device::OnVideoReadComplete(NtStatus status, UsbdStatus usbd, std::uint32_t length) {
    if (IsStreaming()) {
        LatchGeometry();
        if (!IsSuccess(status) || usbd < 0) {
            const std::uint32_t code = usbd == kUsbdXactError        ? kErrorTransaction
                                       : usbd == kUsbdBabbleDetected ? kErrorBabble
                                                                     : kErrorTransfer;
            error_.store(code, std::memory_order_release);
            // The lost transfer leaves a hole in the frame, and after the port
            // reset the camera starts a new one: count afresh.
            chunksRemaining_.store(geometry_.chunksPerFrame, std::memory_order_relaxed);
        } else {
            AssembleTransfer(length);
        }
    }
    wait_.SetEvent(KqEvent::ReadSlot);
    // Last: once busy is clear the stop path may free everything.
    busy_.store(0, std::memory_order_release);
}

void Device::LatchGeometry() {
    // A new format takes effect between transfers; the partial frame is dropped.
    if (geometryChanged_.exchange(false, std::memory_order_acq_rel)) {
        const std::uint32_t bytes = pendingFrameBytes_.load(std::memory_order_acquire);
        const FrameGeometry g = bytes == kNoFormat ? FrameGeometry{} : GeometryForFrameBytes(bytes);
        if (frameBytesZeroed_.load(std::memory_order_acquire)) {
            // A device stop: the camera still sends frames of the last format,
            // and they are counted as before, but hand out no bytes.
            geometry_ = g;
            geometry_.frameBytes = 0;
            return;
        }
        geometry_ = g;
        chunksRemaining_.store(geometry_.chunksPerFrame, std::memory_order_relaxed);
    }
}

void Device::AssembleTransfer(std::uint32_t n) {
    const std::uint32_t c = geometry_.chunksPerFrame;
    const std::uint32_t k = chunksRemaining_.load(std::memory_order_relaxed);
    const std::uint8_t* data = bulkBuffer_.data();

    if (n == kStartMarkerBytes && data[kStartMarkerFlagOffset] == 1) {
        // An unread frame is dropped so the reader gets the newest one: assemble
        // into its buffer, unless a read is copying from it right now.
        std::uint32_t b = buffers_.load(std::memory_order_acquire);
        while (WriteIndex(b) != ReadIndex(b) && (b & kReadingBit) == 0) {
            const std::uint32_t takenBack = (b & ~kWriteBit) | ReadIndex(b);
            if (buffers_.compare_exchange_weak(b, takenBack, std::memory_order_acq_rel)) {
                b = takenBack;
                break;
            }
        }
        frameStart_[WriteIndex(b)].store(1, std::memory_order_release);
        // Chunks after a marker belong to the new frame, whatever the last one
        // lost: counting afresh keeps them from landing at a shifted offset.
        chunksRemaining_.store(c, std::memory_order_relaxed);
        return;
    }

    const std::uint32_t w = WriteIndex(buffers_.load(std::memory_order_acquire));
    const std::size_t capacity = frameBuffers_[w].size();
    if (n == kChunkBytes && k > 1) {
        const std::size_t offset = static_cast<std::size_t>(c - k) * kChunkBytes;
        if (offset + n <= capacity) {
            CopyBytes(FrameBuffer(w) + offset, data, n);
            chunksRemaining_.store(k - 1, std::memory_order_relaxed);
            return;
        }
    } else if (n < kChunkBytes && k == 1 && n == geometry_.lastChunkBytes) {
        const std::size_t offset = static_cast<std::size_t>(c - 1) * kChunkBytes;
        if (offset + n <= capacity) {
            CopyBytes(FrameBuffer(w) + offset, data, n);
            chunksRemaining_.store(c, std::memory_order_relaxed);
            frameLength_[w].store(geometry_.frameBytes, std::memory_order_relaxed);
            // Publish only when no unread frame waits; otherwise the next frame
            // overwrites this one in the same buffer.
            std::uint32_t b = buffers_.load(std::memory_order_acquire);
            while (WriteIndex(b) == ReadIndex(b)) {
                if (buffers_.compare_exchange_weak(b, b ^ kWriteBit, std::memory_order_acq_rel)) {
                    wait_.SetEvent(KqEvent::FrameReady);
                    break;
                }
            }
            return;
        }
    }
    // A transfer that fits nowhere: drop the partial frame and count afresh.
    chunksRemaining_.store(c, std::memory_order_relaxed);
}

bool Device::TryBeginRead(std::uint32_t& readIndex) {
    std::uint32_t b = buffers_.load(std::memory_order_acquire);
    while (WriteIndex(b) != ReadIndex(b) && (b & kReadingBit) == 0) {
        if (buffers_.compare_exchange_weak(b, b | kReadingBit, std::memory_order_acq_rel)) {
            readIndex = ReadIndex(b);
            return true;
        }
    }
    return false;
}

std::uint32_t Device::EndRead() {
    // While the reading bit is set nobody else changes W or R.
    std::uint32_t b = buffers_.load(std::memory_order_acquire);
    std::uint32_t next = 0;
    do {
        next = (b & ~kReadingBit) ^ kReadBit;
    } while (!buffers_.compare_exchange_weak(b, next, std::memory_order_acq_rel));
    return ReadIndex(next);
}

RequestResult Device::ReadFrame(std::span<std::uint8_t> buffer) {
    if (buffer.empty() || buffer.data() == nullptr || !IsStreaming()) return {kStatusUnsuccessful, 0};
    const std::uint32_t length = ClampToU32(buffer.size());
    for (;;) {
        std::uint32_t r = 0;
        if (TryBeginRead(r)) {
            const std::uint32_t n = MinOf(frameLength_[r].load(std::memory_order_relaxed), length);
            CopyBytes(buffer.data(), FrameBuffer(r), n);
            const std::uint32_t next = EndRead();
            const bool frameStart = frameStart_[next].exchange(0, std::memory_order_acq_rel) != 0;
            // The trailer byte is written only where the caller's buffer has it.
            if (length - n > kTrailerFrameStartFlag) buffer[n + kTrailerFrameStartFlag] = frameStart ? 1 : 0;
            return {kStatusSuccess, n + MinOf(kTrailerBytes, length - n)};
        }
        const KqEvent events[] = {KqEvent::FrameReady, KqEvent::Stopped};
        if (wait_.WaitAny(events, kReadTimeoutMs) == kWaitTimedOut || !IsStreaming()) return {kStatusUnsuccessful, 0};
    }
}

StreamDiagnostics Device::Diagnostics() const {
    StreamDiagnostics d;
    d.streaming = IsStreaming();
    const std::uint32_t b = buffers_.load(std::memory_order_acquire);
    d.writeIndex = WriteIndex(b);
    d.readIndex = ReadIndex(b);
    d.errorCode = error_.load(std::memory_order_acquire);
    d.chunksRemaining = chunksRemaining_.load(std::memory_order_relaxed);
    const std::uint32_t bytes = pendingFrameBytes_.load(std::memory_order_acquire);
    if (bytes != kNoFormat) d.formatGeometry = GeometryForFrameBytes(bytes);
    if (frameBytesZeroed_.load(std::memory_order_acquire)) d.formatGeometry.frameBytes = 0;
    return d;
}

}  // namespace kqff
