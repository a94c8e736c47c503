#pragma once
// Shared set-up of the FPGA camera tests: a library over the simulated bus
// whose pauses are recorded, and the register lists read back from the
// request log as the camera reads them.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <vector>

#include "kqff_protocol.h"
#include "models/fpga_request.h"
#include "models/navelo_fpga.h"
#include "sim_fixture.h"

namespace kq::test {

using fpga::AddressWidth;
using fpga::RegisterWrite;
using Writes = std::vector<RegisterWrite>;

inline CapInfo FullWindow() {
    CapInfo r;
    r.width = 2048;
    r.height = 1536;
    r.exposure = 300;
    r.gain = {32, 32, 32};
    return r;
}

// A list as the camera reads it: the counted writes, then the one after.
struct SentList {
    Writes counted;
    RegisterWrite trailing;
    std::uint16_t width = 0, height = 0;
    std::uint8_t control = 0;
};

class FpgaTest : public LibraryTest {
protected:
    FpgaTest() {
        // Two cameras' threads may pause at once.
        library.SetSleeper([this](std::chrono::milliseconds d) {
            std::lock_guard hold(pausesLock);
            pauses.push_back(static_cast<int>(d.count()));
        });
    }

    std::uint32_t OpenFpga(const CapInfo& record = FullWindow(), std::u16string_view pattern = u"VID_F5A1&PID_0B01") {
        bus.AddCamera(InstanceId(pattern));
        const std::uint32_t handle = Open(1, record);
        bus.ClearLog();
        pauses.clear();
        return handle;
    }
    int On(std::uint32_t handle, const std::function<int(CKQNavelo_FPGA&)>& op) {
        return library.WithDevice(handle, [&](BaseDevice& d) { return op(dynamic_cast<CKQNavelo_FPGA&>(d)); });
    }
    std::vector<SentList> Lists() const {
        std::vector<SentList> lists;
        for (const auto& r : bus.LogOf(kqff::kIoctlWriteCommand)) {
            const auto list = fpga::DecodeRegisterListRequest(r.input, width);
            if (!list) continue;
            lists.push_back({Writes(list->Counted().begin(), list->Counted().end()), list->Trailing(), list->width,
                             list->height, list->control});
        }
        return lists;
    }
    // The control codes in the order sent.
    std::vector<std::uint32_t> Codes() const {
        std::vector<std::uint32_t> codes;
        for (const auto& r : bus.Log()) codes.push_back(r.code);
        return codes;
    }

    std::mutex pausesLock;
    std::vector<int> pauses;
    AddressWidth width = AddressWidth::eightBit;  // of the lists the camera gets
};

}  // namespace kq::test
