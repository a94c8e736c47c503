// Copying the live measurements onto a snapshot's controller.
#include "clone_objects.h"
#include "image_controller.h"

int CImageController::CloneObjectsFrom(const ObjectList& objects, const CCounterStyles& styles) {
    const int result = CloneObjectsInto(model_, objects, styles);
    printUnitText = model_.style.unitText;
    printScale = model_.style.scale;
    return result;
}
