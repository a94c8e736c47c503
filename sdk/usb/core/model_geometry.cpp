#include "model_geometry.h"

namespace kq {
namespace {

ModelGeometry Sensor(std::int32_t w, std::int32_t h, std::int32_t maxExposure, bool stripe) {
    ModelGeometry g;
    g.maxWidth = w;
    g.maxHeight = h;
    g.maxExposure = maxExposure;
    g.stripeCapable = stripe;
    return g;
}

ModelGeometry WithTiming(ModelGeometry g, std::uint16_t readMode, std::uint16_t hBlank, std::uint16_t vBlank) {
    g.defaultSensorReadMode = readMode;
    g.defaultHorizontalBlanking = hBlank;
    g.defaultVerticalBlanking = vBlank;
    g.rightEdgeRepair = 2;
    return g;
}

}  // namespace

ModelGeometry GeometryForType(std::int32_t typeCode) {
    switch (typeCode) {
    case 1:
    case 3:
    case 9: return WithTiming(Sensor(1280, 1024, 4000, true), 0x8000, 25, 25);
    case 14: return WithTiming(Sensor(1024, 816, 4000, true), 0x8000, 25, 25);
    case 15: return WithTiming(Sensor(1280, 1024, 4000, false), 0x8000, 25, 25);
    case 2:
    case 5:
    case 17: return WithTiming(Sensor(2048, 1536, 4000, false), 0xC040, 142, 25);
    case 4: return Sensor(1600, 1200, 255, false);
    case 7: return Sensor(3488, 2560, 4000, false);
    case 8: return Sensor(2560, 1944, 5000, false);
    case 10: return Sensor(752, 480, 5000, false);
    // The FPGA pictures take no stripe removal.
    case 11:
    case 19: return Sensor(2048, 1536, 10000, false);
    case 12:
    case 13:
    case 20: return Sensor(1280, 1024, 10000, false);
    case 16: return Sensor(1280, 960, 10000, false);
    case 18: return Sensor(4096, 4096, 10000, false);
    case 21:
    case 24:
    case 25: return Sensor(2592, 1944, 10000, false);
    case 6:
    case 22: return WithTiming(Sensor(2592, 1944, 4000, false), 0x4006, 0, 25);
    default: return Sensor(2592, 1944, 4000, false);  // 0, 23 and the constructor's
    }
}

}  // namespace kq
