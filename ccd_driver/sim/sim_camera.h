// A simulated USB camera behind the driver core's USB side.
//
// It answers command blocks the way the camera firmware does (IO value,
// serial number, format, start/stop), keeps the data area that data requests
// read and write, echoes every other request, keeps a log of every block it
// received, and serves the video pipe: the single read the driver keeps
// outstanding is completed by Deliver(), called by a test directly (scripted
// transfers) or by SimStream's thread (live streaming, frames of the chosen
// picture, freely or one per request). Faults: failing command sends and
// response reads, failing recovery calls, a missing response pipe, unplugging.
#pragma once

#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <span>
#include <vector>

#include "frame_pattern.h"
#include "kqff_ports.h"
#include "scene_picture.h"

namespace kqff::sim {

using Block = std::array<std::uint8_t, kBlockBytes>;

// A GET_DESCRIPTOR request as the camera received it.
struct DescriptorRequest {
    std::uint8_t type = 0;
    std::uint32_t requestedBytes = 0;
    bool operator==(const DescriptorRequest&) const = default;
};

struct SimCounters {
    int videoReadsSubmitted = 0;
    int overlappingReads = 0;  // a read submitted while another was pending
    int portResets = 0;
    int portStatusQueries = 0;
    int videoAborts = 0;
    int videoPipeResets = 0;
    int pipeAborts = 0;  // every pipe
};

class SimCamera final : public UsbSide {
public:
    SimCamera();

    // Configuration and faults.
    // The identity in the device descriptor (0, 0 by default).
    void SetUsbIdentity(std::uint16_t vendorId, std::uint16_t productId);
    // The configuration descriptor the camera answers with; by default one
    // interface with the command OUT, video IN and (while present) response
    // IN bulk endpoints.
    void SetConfigurationDescriptor(std::vector<std::uint8_t> descriptor);
    void SetHasResponsePipe(bool present);
    void SetConnected(bool connected);  // false also fails the pending read
    void FailCommandSends(int count, NtStatus status = kStatusUnsuccessful);
    void FailResponseReads(int count, NtStatus status = kStatusUnsuccessful);
    void FailRecoveryCalls(int count);  // the next pipe aborts run out of memory
    void SetIoInput(std::uint8_t value);
    void SetSerial(const std::array<std::uint8_t, 16>& serial);
    void SetBytesPerPixel(std::uint32_t bytes);
    // A format larger than the sensor is read out at the sensor's size in
    // that direction; 0 is no limit (the default).
    void SetSensorSize(std::uint16_t width, std::uint16_t height);

    // The time the sensor takes to read one row: frames then come no faster
    // than SensorFrameTime of the format's rows and exposure lines. Zero
    // (the default) sends frames as fast as they are read.
    void SetRowTime(std::chrono::nanoseconds rowTime);
    std::chrono::nanoseconds FrameTime() const;  // of the last format

    // What the sensor sends (SimStream): the frame pattern by default.
    void SetPicture(Picture picture);
    // The sensor the scene picture is seen through: colour with Bayer phase
    // 1 (the default) or monochrome.
    void SetBayerPhase(BayerPhase phase);
    void SetMonochromeSensor(bool monochrome);

    // Frames on request: the camera exposes one frame per RequestFrame, as a
    // triggered camera does. Off (the default): frames follow each other while
    // the camera streams.
    void SetFramesOnRequest(bool onRequest);
    void RequestFrame();
    // Takes back one request that no frame has started to answer.
    void WithdrawFrameRequest();
    // For the stream: true when a frame may start now (streaming with a format
    // and, on request, a request pending, which this takes).
    bool TakeFrameTurn();

    // The FPGA bridge of the cameras of types 11, 12, 13 and 16 (chosen by
    // the USB identity): request blocks with subcommand 3 answer the serial
    // at bytes 2..17, 7 stores the 40-byte EEPROM area from bytes 2..41, 8
    // answers it there, and 16 writes its register list into a register map
    // (16-bit addresses for type 16, else 8-bit).
    bool FpgaBridge() const;
    std::map<std::uint16_t, std::uint16_t> FpgaRegisters() const;
    std::array<std::uint8_t, 40> FpgaEeprom() const;

    // What the camera saw.
    std::vector<Block> CommandLog() const;
    std::vector<DescriptorRequest> DescriptorLog() const;
    // The configuration descriptor the camera answers with now.
    std::vector<std::uint8_t> ConfigurationDescriptor() const;
    void ClearCommandLog();
    SimCounters Counters() const;
    bool Streaming() const;            // after command 14, until 254
    std::uint32_t FrameBytes() const;  // width x height x bytes per pixel of the last format
    std::uint32_t RowBytes() const;    // width x bytes per pixel of the last format
    Picture CurrentPicture() const;
    SceneLayout CurrentScene() const;        // of the last format
    std::uint64_t StreamGeneration() const;  // bumps on every start and port reset

    // Video pipe. Waits for the driver's outstanding read and completes it
    // with data (or with an error). False when no read came within timeout,
    // or when waitWhileStreaming is set and streaming stopped meanwhile.
    bool Deliver(std::span<const std::uint8_t> data, UsbdStatus usbd = kUsbdSuccess,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(2000), bool onlyWhileStreaming = false);
    bool DeliverMarker();
    bool WaitForPendingRead(std::chrono::milliseconds timeout);
    // Wakes a Deliver waiting for a read, so a stream thread can end.
    void Interrupt();

    // UsbSide.
    bool HasPipe(UsbPipe pipe) const override;
    NtStatus BulkOut(UsbPipe pipe, std::span<const std::uint8_t> data) override;
    NtStatus BulkIn(UsbPipe pipe, std::span<std::uint8_t> data, std::uint32_t& transferred) override;
    void SubmitVideoRead(std::span<std::uint8_t> buffer, VideoReadCompletion& done) override;
    NtStatus GetDescriptor(std::uint8_t type, std::span<std::uint8_t> data, std::uint32_t& transferred) override;
    NtStatus GetPortStatus(std::uint32_t& portStatus) override;
    NtStatus ResetPort() override;
    NtStatus AbortPipe(UsbPipe pipe) override;
    NtStatus ResetPipe(UsbPipe pipe) override;

private:
    struct PendingRead {
        std::span<std::uint8_t> buffer;
        VideoReadCompletion* done = nullptr;
    };
    void Answer(const Block& block);  // mutex held
    bool FpgaBridgeLocked() const;
    void AnswerFpga(const Block& block);  // mutex held
    std::vector<std::uint8_t> ConfigurationLocked() const;
    bool TakePendingRead(PendingRead& read);  // mutex held

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool hasResponsePipe_ = true;
    std::uint16_t vendorId_ = 0;
    std::uint16_t productId_ = 0;
    std::vector<std::uint8_t> configuration_;  // empty: built from the pipes
    std::vector<DescriptorRequest> descriptorLog_;
    bool connected_ = true;
    int failSends_ = 0;
    NtStatus failSendStatus_ = kStatusUnsuccessful;
    int failResponses_ = 0;
    NtStatus failResponseStatus_ = kStatusUnsuccessful;
    int failRecovery_ = 0;
    std::uint8_t ioInput_ = 0;
    std::array<std::uint8_t, 16> serial_{};
    std::uint32_t bytesPerPixel_ = 1;
    std::uint16_t sensorWidth_ = 0;
    std::uint16_t sensorHeight_ = 0;
    std::uint32_t frameBytes_ = 0;
    std::uint32_t rowBytes_ = 0;
    std::uint32_t rows_ = 0;
    std::uint32_t exposureLines_ = 0;
    std::chrono::nanoseconds rowTime_{0};
    Picture picture_ = Picture::Pattern;
    BayerPhase bayerPhase_ = BayerPhase::Rggb;
    bool monochromeSensor_ = false;
    bool framesOnRequest_ = false;
    int frameRequests_ = 0;
    Block dataArea_{};  // bytes 1-63 are the area
    std::map<std::uint16_t, std::uint16_t> fpgaRegisters_;
    std::array<std::uint8_t, 40> fpgaEeprom_{};
    bool streaming_ = false;
    std::uint64_t generation_ = 0;
    bool interrupted_ = false;
    Block response_{};
    std::vector<Block> log_;
    SimCounters counters_;
    bool readPending_ = false;
    PendingRead pending_;
};

}  // namespace kqff::sim
