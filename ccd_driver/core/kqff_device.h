// The KQFF device core: everything the driver decides, without the kernel.
//
// One Device per camera. It owns the command block, the stored video format
// and the response area, answers every device control code, assembles the
// video stream into whole frames in two frame buffers, and hands frames to
// readers. Below it sit two seams (kqff_ports.h): the USB side and the wait
// layer. The WDM shell drives it from its IRP dispatch routines; the SDK's
// simulated device and the native tests drive it directly.
//
// Usable in the kernel: no exceptions, no RTTI, no heap, no global
// constructors, no library code beyond header-only <atomic>/<span>. Memory
// comes from the owner (DeviceMemory).
//
// Calling contract (mirrors the requests the driver serves):
//   Open()       IRP_MJ_CREATE: resets the command block defaults and sets
//                streaming idle.
//   Close()      IRP_MJ_CLOSE: stops streaming.
//   Control()    IRP_MJ_DEVICE_CONTROL (METHOD_BUFFERED): input and output
//                may be the same memory; returns status + bytes returned.
//   ReadFrame()  IRP_MJ_READ: copies the newest complete frame and the
//                frame-start trailer byte into the caller's buffer.
//   DeviceStop() PnP stop, surprise removal and removal: stops streaming and
//                zeroes the frame bytes (the chunking stays), so frames read
//                after a new start carry only the trailer until a format is
//                set. Call it before destroying.
// All of them may run concurrently from any number of threads.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>

#include "kqff_format.h"
#include "kqff_ports.h"
#include "kqff_protocol.h"

namespace kqff {

struct RequestResult {
    NtStatus status = kStatusSuccess;
    std::uint32_t information = 0;  // bytes returned
};

// Buffers the owner supplies for the device's life: two frame buffers of
// kFrameBufferBytes (smaller ones lower the largest accepted format) and a
// bulk buffer of at least kChunkBytes.
struct DeviceMemory {
    std::span<std::uint8_t> frameBuffer0;
    std::span<std::uint8_t> frameBuffer1;
    std::span<std::uint8_t> bulkBuffer;
};

// The client's last video format, as IOCTL_KQ_GET_FORMAT reports it.
struct StoredFormat {
    std::uint32_t height = 0;
    std::uint32_t width = 0;
    std::uint32_t columnStart = 0;
    std::uint32_t rowStart = 0;
    std::uint32_t exposure = 0;
    std::uint8_t gains[3] = {};
    std::uint8_t control = 0;
};

// A consistent-enough view of the streaming state, for tests and tracing.
struct StreamDiagnostics {
    bool streaming = false;
    std::uint32_t writeIndex = 0;
    std::uint32_t readIndex = 0;
    std::uint32_t errorCode = 0;        // 0 none, 1 failed, 2 babble, 3 transaction error
    std::uint32_t chunksRemaining = 0;  // of the frame being assembled
    FrameGeometry formatGeometry;       // from the last accepted format
};

// Transfer error classes kept until the reader thread has recovered.
inline constexpr std::uint32_t kErrorNone = 0;
inline constexpr std::uint32_t kErrorTransfer = 1;
inline constexpr std::uint32_t kErrorBabble = 2;
inline constexpr std::uint32_t kErrorTransaction = 3;

class Device final : private VideoReadCompletion {
public:
    Device(UsbSide& usb, WaitLayer& wait, const DeviceMemory& memory);
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // USB identity from the device descriptor; decides the SET_FORMAT sizing.
    void SetUsbIdentity(std::uint16_t vendorId, std::uint16_t productId);

    void Open();
    NtStatus Close();
    void DeviceStop();
    RequestResult Control(std::uint32_t code, std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    RequestResult ReadFrame(std::span<std::uint8_t> buffer);

    NtStatus StartCapture();
    NtStatus StopCapture();

    StreamDiagnostics Diagnostics() const;
    std::uint32_t FrameCapacity() const { return frameCapacity_; }

    // Body of the reader thread (the wait layer's thread runs it).
    void RunReaderThread();

private:
    // Control requests (command lock held where they touch the block).
    RequestResult SetFormat(std::span<const std::uint8_t> input);
    RequestResult GetFormat(std::span<std::uint8_t> output);
    RequestResult SendCommandOnly(std::uint8_t command);
    RequestResult SetIo(std::span<const std::uint8_t> input);
    RequestResult GetIo(std::span<std::uint8_t> output);
    RequestResult GetSerial(std::span<std::uint8_t> output);
    RequestResult SetSerial(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    RequestResult SetTiming(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    RequestResult RawWrite(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    RequestResult WriteReadData(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);
    RequestResult Transact(std::span<const std::uint8_t> input, std::span<std::uint8_t> output);

    NtStatus SendCommandBlock();  // command lock held
    NtStatus SendRaw(std::span<const std::uint8_t> input);
    NtStatus ReadResponse();  // command lock held
    NtStatus SendCommand(std::uint8_t command);

    // Streaming.
    NtStatus StopCaptureLocked();
    void AbortExistingPipes();
    void SetIdle();
    bool IsStreaming() const;
    void RecoverFromError();
    void OnVideoReadComplete(NtStatus status, UsbdStatus usbd, std::uint32_t length) override;
    void LatchGeometry();
    void AssembleTransfer(std::uint32_t length);
    bool TryBeginRead(std::uint32_t& readIndex);
    std::uint32_t EndRead();
    std::uint8_t* FrameBuffer(std::uint32_t index) const;

    UsbSide& usb_;
    WaitLayer& wait_;
    std::span<std::uint8_t> frameBuffers_[2];
    std::span<std::uint8_t> bulkBuffer_;
    std::uint32_t frameCapacity_ = 0;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;

    // Under the command lock.
    std::uint8_t block_[kBlockBytes] = {};
    StoredFormat format_;
    std::uint8_t response_[kResponseAreaBytes] = {};

    // Under the capture lock.
    bool threadExists_ = false;

    // Streaming state shared with the completion and the readers.
    std::atomic<std::uint32_t> state_;
    std::atomic<std::uint32_t> busy_{0};
    std::atomic<std::uint32_t> error_{kErrorNone};
    // Bit 0: write index W, bit 1: read index R, bit 2: a read is copying
    // buffer R. A frame is available exactly when W != R.
    std::atomic<std::uint32_t> buffers_{0};
    std::atomic<std::uint32_t> frameStart_[2] = {};
    std::atomic<std::uint32_t> frameLength_[2] = {};
    // Frame bytes of the last accepted format (kNoFormat: none); the
    // completion latches it between frames.
    std::atomic<std::uint32_t> pendingFrameBytes_;
    // Set by a device stop, cleared by the next format: frames keep the
    // format's chunking but are handed out with no bytes.
    std::atomic<bool> frameBytesZeroed_{false};
    std::atomic<bool> geometryChanged_{false};
    std::atomic<std::uint32_t> chunksRemaining_{0};
    // Owned by the completion alone.
    FrameGeometry geometry_;
};

}  // namespace kqff
