#include "tool_prototypes.h"

#include "angle_figures.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "cl_arrow.h"
#include "cl_count.h"
#include "cl_scale_bar.h"
#include "cl_text.h"
#include "line_figures.h"

CToolPrototypes::CToolPrototypes() {
    Register<CCLLine>(CCLLine::kType);
    Register<CCLAngle>(CCLAngle::kType);
    Register<CCLAngle4Point>(CCLAngle4Point::kType);
    Register<CCLRectangle>(CCLRectangle::kType);
    Register<CCLParallel>(CCLParallel::kType);
    Register<CCLCircle>(CCLCircle::kType);
    Register<CCLCircle_D>(CCLCircle_D::kType);
    Register<CCLCircle_T>(CCLCircle_T::kType);
    Register<CCLEllipse>(CCLEllipse::kType);
    Register<CCLCurve>(CCLCurve::kType);
    Register<CCLPolygon>(CCLPolygon::kType);
    Register<CCLText>(CCLText::kType);
    Register<CCL_CountCircle>(CCL_CountCircle::kType);
    Register<CCL_CountRect>(CCL_CountRect::kType);
    Register<CCL_CountDiamond>(CCL_CountDiamond::kType);
    Register<CCL_BiaoChi>(CCL_BiaoChi::kType);
    Register<CCL_Scale>(CCL_Scale::kType);
    Register<CCLArrow>(CCLArrow::kType);
}

CCLObject* CToolPrototypes::Get(int tool) const {
    if (tool <= 0 || tool >= kToolCount) {
        return nullptr;
    }
    return entries_[static_cast<std::size_t>(tool)].object.get();
}

std::unique_ptr<CCLObject> CToolPrototypes::CopyOf(int tool) const {
    const CCLObject* prototype = Get(tool);
    if (prototype == nullptr) {
        return nullptr;
    }
    return entries_[static_cast<std::size_t>(tool)].copy(*prototype);
}

CCL_Scale& CToolPrototypes::CalibrationLine() const {
    return static_cast<CCL_Scale&>(*entries_[kCalibrationTool].object);
}
