// Without a device there is nothing to paint: drawing only ends a drag, and
// a label is composed but not measured.
#include "angle_figures.h"
#include "area_figures.h"
#include "circle_figures.h"
#include "figure_label.h"
#include "line_figures.h"

namespace figures {

void PlaceLabel(CCLObject& owner, float x, float y) {
    owner.label.x = x;
    owner.label.y = y;
    owner.label.dirty = 1;
    owner.label.font = owner.font;
    owner.label.textColour = owner.drawColour;
    owner.label.ComposeText(owner);
}

}  // namespace figures

void CCLLine::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLLine::DrawFigure(CDC*, float, int, int) {}
void CCL_Scale::Draw(CDC*, float, int, int) { dragging = 0; }
void CCL_Scale::DrawTracking(CDC*, float, int, int) {}
void CCLParallel::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLParallel::DrawFigure(CDC*, int, float, int, int) {}
void CCLAngle::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLAngle::DrawFigure(CDC*, int, float, int, int) {}
void CCLAngle4Point::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLAngle4Point::DrawFigure(CDC*, int, float, int, int) {}
void CCLCircle::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLCircle::DrawTracking(CDC*, float, int, int) {}
void CCLCircle_D::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLCircle_D::DrawTracking(CDC*, float, int, int) {}
void CCLCircle_T::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLCircle_T::DrawTracking(CDC*, int, float, int, int) {}
void CCLEllipse::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLEllipse::DrawTracking(CDC*, float, int, int) {}
void CCLRectangle::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLRectangle::DrawFigure(CDC*, float, int, int) {}
void CCLPolyline::Draw(CDC*, float, int, int) { dragging = 0; }
void CCLPolyline::DrawPath(CDC*, bool, float, int, int) {}
