#pragma once
// How the large-format camera of type 7 comes back: as every camera, but
// its capture record goes out twice (once directly, then through the
// resend) and only a running preview starts again; fast capture waits for
// the caller. A model class takes it by deriving through the template.

#include <type_traits>

#include "core/base_device.h"

namespace kq {

template <class Device>
class ZundraArrival : public Device {
    static_assert(std::is_base_of_v<BaseDevice, Device>);

public:
    using Device::Device;

protected:
    int PrepareArrivedSensor() override { return this->ApplyCapInfo(this->capInfo_); }
    bool RestartsAfterArrival() const override { return this->streaming_; }
};

}  // namespace kq
