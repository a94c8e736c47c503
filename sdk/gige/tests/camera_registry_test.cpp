// The camera registry's indices and ports, and the model codes chosen from
// discovery names.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "camera_manager.h"
#include "model_codes.h"
#include "unsupported_camera.h"

namespace kqge {
namespace {

struct CameraLog {
    int destroyed = 0;
};

class TestCamera final : public testing::UnsupportedCamera {
public:
    TestCamera(std::int32_t index, CameraLog& log, bool streaming = false)
        : index_(index), log_(log), streaming_(streaming) {}
    ~TestCamera() override { ++log_.destroyed; }
    std::int32_t Index() const override { return index_; }
    void AssignPort(std::uint16_t port) override {
        if (!streaming_) port_ = port;
    }
    std::uint16_t port() const { return port_; }
    std::size_t ReceiveBytes() const override { return 0; }
    void StoreFrame(const DeliveredFrame&) override {}
    bool TriggerOn() const override { return false; }
    bool ContinuousCapture() const override { return false; }
    void StartSnapshot(const DeliveredFrame&) override {}

private:
    std::int32_t index_;
    CameraLog& log_;
    bool streaming_;
    std::uint16_t port_ = 0;
};

// One step on the registry and what it must answer.
struct Step {
    enum Kind { add, addNull, change } kind;
    std::int32_t index = 0;          // add
    std::uint16_t from = 0, to = 0;  // change
    std::int32_t result = 0;
    std::uint16_t portAfter = 0;  // add: the camera's port; change: the camera found at `to`
};

struct Scenario {
    const char* name;
    std::vector<Step> steps;
    std::vector<std::uint16_t> listed;  // ports that find a camera at the end
    std::uint16_t next;
};

Step Add(std::int32_t index, std::int32_t result, std::uint16_t port) { return {Step::add, index, 0, 0, result, port}; }
Step Change(std::uint16_t from, std::uint16_t to, std::int32_t result) {
    return {Step::change, 0, from, to, result, 0};
}

TEST(CameraManagerTest, IndicesAndPortsThroughAddAndChange) {
    const Scenario scenarios[] = {
        {"empty", {}, {}, 55005},
        {"two cameras", {Add(0, 0, 55005), Add(1, 0, 55006)}, {55005, 55006}, 55007},
        {"a changed port is not handed out again",
         {Add(0, 0, 55005), Add(1, 0, 55006), Change(55006, 60000, 0), Add(2, 0, 60001)},
         {55005, 60000, 60001},
         60002},
        {"a port to itself", {Add(0, 0, 55005), Change(55005, 55005, 0)}, {55005}, 55006},
        {"a port of another camera",
         {Add(0, 0, 55005), Add(1, 0, 55006), Change(55006, 55005, 9)},
         {55005, 55006},
         55007},
        {"an unknown old port", {Add(0, 0, 55005), Change(40000, 40001, 16)}, {55005}, 55006},
        {"no ports yet", {Change(55005, 55006, 8)}, {}, 55005},
        {"a port below the first", {Add(0, 0, 55005), Change(55005, 1024, 0), Add(1, 0, 55006)}, {1024, 55006}, 55007},
        {"the top port taken",
         {Add(0, 0, 55005), Add(1, 0, 55006), Change(55005, 65535, 0), Add(2, 0, 55005)},
         {55005, 55006, 65535},
         55007},
        {"null camera", {Add(0, 0, 55005), {Step::addNull, 0, 0, 0, 7, 0}}, {55005}, 55006},
        {"an index twice", {Add(4, 0, 55005), Add(4, 7, 0)}, {55005}, 55006},
    };
    for (const Scenario& s : scenarios) {
        CameraLog log;
        CCameraManager registry;
        std::int32_t added = 0;
        int refused = 0;
        for (const Step& step : s.steps) {
            if (step.kind == Step::add) {
                auto camera = std::make_unique<TestCamera>(step.index, log);
                TestCamera* raw = camera.get();
                const std::int32_t result = registry.AddCamera(std::move(camera));
                EXPECT_EQ(result, step.result) << s.name;
                if (result != 0) {
                    ++refused;
                    continue;
                }
                ++added;
                EXPECT_EQ(raw->port(), step.portAfter) << s.name;
                EXPECT_EQ(registry.FindByIndex(step.index), raw) << s.name;
                EXPECT_EQ(registry.FindByPort(step.portAfter), raw) << s.name;
            } else if (step.kind == Step::addNull) {
                EXPECT_EQ(registry.AddCamera(nullptr), step.result) << s.name;
            } else {
                IGigECamera* before = registry.FindByPort(step.from);
                IGigECamera* atTarget = registry.FindByPort(step.to);
                EXPECT_EQ(registry.ChangePort(step.from, step.to), step.result) << s.name;
                if (step.result == 0 && step.from != step.to) {
                    EXPECT_EQ(registry.FindByPort(step.to), before) << s.name;
                    EXPECT_EQ(registry.FindByPort(step.from), nullptr) << s.name;
                } else {
                    EXPECT_EQ(registry.FindByPort(step.from), before) << s.name;
                    EXPECT_EQ(registry.FindByPort(step.to), atTarget) << s.name;
                }
            }
        }
        EXPECT_EQ(registry.GetCount(), added) << s.name;
        for (std::uint16_t port : s.listed) EXPECT_NE(registry.FindByPort(port), nullptr) << s.name << port;
        EXPECT_EQ(registry.NextFreePort(), s.next) << s.name;
        // A refused camera is destroyed at once, the registered ones only by Clear.
        EXPECT_EQ(log.destroyed, refused) << s.name;
    }
}

TEST(CameraManagerTest, StreamingCameraKeepsItsPortAndClearDestroysEachOnce) {
    CameraLog log;
    CCameraManager registry;
    auto streaming = std::make_unique<TestCamera>(0, log, true);
    TestCamera* raw = streaming.get();
    ASSERT_EQ(registry.AddCamera(std::move(streaming)), 0);
    ASSERT_EQ(registry.AddCamera(std::make_unique<TestCamera>(1, log)), 0);
    EXPECT_EQ(raw->port(), 0);
    EXPECT_EQ(registry.FindByPort(55005), raw);

    registry.Clear();
    EXPECT_EQ(log.destroyed, 2);
    EXPECT_EQ(registry.GetCount(), 0);
    EXPECT_EQ(registry.FindByIndex(0), nullptr);
    EXPECT_EQ(registry.FindByPort(55005), nullptr);
    EXPECT_EQ(registry.FindByPort(55006), nullptr);
    EXPECT_EQ(registry.NextFreePort(), 55005);
    EXPECT_EQ(registry.ChangePort(55005, 55007), 8);
}

TEST(ModelCodesTest, FirstPatternFoundAnywhereInTheNameRegardlessOfCase) {
    struct Case {
        std::string name;
        std::uint32_t code;
    } cases[] = {
        {"Gige-Parsun", 0x14000},
        {"GIGE-PARSUN 5M", 0x14000},
        {"KQ Gige-Hobrin-II", 0x50000},
        {"gige-cmosjorvel", 0x10013001},
        {"Gige-Ivrose", 0x20100B1},
        {"Gige-CMOSNavelo Gige-CMOSDorisk", 0x10003601},
        {"Gige-Ostrel Gige-Parsun", 0x14000},
        {"Gige-Parsu", 0},
        {"Fake", 0},
        {"", 0},
    };
    for (const Case& c : cases) EXPECT_EQ(ModelCodeFromName(c.name), c.code) << c.name;
}

}  // namespace
}  // namespace kqge
