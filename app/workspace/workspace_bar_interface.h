#pragma once
// The measurement data bar as the image controller sees it: a list of the
// objects' results that the controller keeps in step with its objects. The
// controller holds it without owning it, so no virtual destructor.
#include "cl_object.h"
#include "kqmk_blocks.h"

class IWorkspaceBar {
public:
    // One more object, shown first.
    virtual void AddMeasurement(const CCLObject& object) = 0;
    // Every row replaced by the objects, in list order; the bar keeps what
    // it shows, not the objects.
    virtual void SetMeasurements(const ObjectList& objects) = 0;

protected:
    ~IWorkspaceBar() = default;
};
