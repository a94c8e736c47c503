// What an adapter channel asks of the camera side above it: cameras made for
// its discovery records, and the camera that owns a host UDP port. The
// registry implements it; the channel never knows the camera classes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <shared_mutex>
#include <span>

#include "delivered_frame.h"
#include "discovery_list.h"

namespace kqge {

class CNIC;

// A camera as the receive thread sees it. Every call runs on the adapter's
// receive thread; the camera guards its own ring.
class FrameSink {
public:
    // Copies the frame into the camera's ring; the bytes are gone after.
    virtual void StoreFrame(const DeliveredFrame& frame) = 0;
    virtual bool TriggerOn() const = 0;
    // Capture mode 0: every frame is a snapshot while the trigger is on.
    virtual bool ContinuousCapture() const = 0;
    virtual void StartSnapshot(const DeliveredFrame& frame) = 0;

protected:
    ~FrameSink() = default;
};

class ChannelHost {
public:
    // Makes and registers one camera per record, in order, skipping any that
    // cannot be made; the largest receive size any of them needs, 0 for none.
    virtual std::size_t CreateCameras(CNIC& channel, std::span<const DiscoveryRecord> records) = 0;
    // The camera that owns the port, or null; called on receive threads.
    virtual FrameSink* FindByPort(std::uint16_t hostPort) = 0;
    // Held shared by a receive thread from finding a camera until the frame
    // is handed over, and exclusively while cameras are removed, so that no
    // camera is destroyed under a frame; none where the cameras outlive
    // every channel.
    virtual std::shared_mutex* RoutingLock() { return nullptr; }

protected:
    ~ChannelHost() = default;
};

}  // namespace kqge
