// The FPGA family's settling pause after a capture-parameter request is a
// choice of the build: on by default, off where the library's caller paces
// its own requests. Either way both requests reach the camera.

#include <gtest/gtest.h>

#include "fpga_fixture.h"

namespace kq::test {
namespace {

class FpgaSettling : public FpgaTest, public ::testing::WithParamInterface<bool> {};

TEST_P(FpgaSettling, ParameterRequestsPauseOnlyWhenTheBuildAsksForIt) {
    const bool settle = GetParam();
    library.SetDeviceOptions(DeviceOptions{settle});
    struct Case {
        const char* what;
        std::function<int(CKQNavelo_FPGA&)> change;
        int settledPause;  // the pause a settling build waits
    };
    const Case cases[] = {
        {"gain only",
         [](CKQNavelo_FPGA& d) {
             CapInfo record = FullWindow();
             record.gain = {40, 40, 40};
             return d.SetCapInfo(record);
         },
         100},
        {"new window", [](CKQNavelo_FPGA& d) { return d.SetZoomMode(1); }, 200},
    };
    const std::uint32_t handle = OpenFpga();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        bus.ClearLog();
        pauses.clear();
        ASSERT_EQ(On(handle, c.change), status::kSuccess);
        EXPECT_EQ(bus.LogOf(kqff::kIoctlSetFormat).size(), 1u);
        EXPECT_EQ(Lists().size(), 1u);
        EXPECT_EQ(pauses, settle ? std::vector<int>{c.settledPause} : std::vector<int>{});
    }
}

INSTANTIATE_TEST_SUITE_P(Builds, FpgaSettling, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Settling" : "Immediate"; });

}  // namespace
}  // namespace kq::test
