#pragma once
// Places an object's result label after its results changed. On Windows the
// label is also measured on the screen; elsewhere it is only composed.
class CCLObject;

namespace figures {

void PlaceLabel(CCLObject& owner, float x, float y);

}  // namespace figures
