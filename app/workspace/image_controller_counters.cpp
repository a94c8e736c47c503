// The controller's counter styles: numbering of counter markers per kind and
// colour key.
#include "image_controller.h"

void CImageController::SetCounterStyle(ColourRef colourKey, int nextNumber, int size, int type) {
    if (owner_ == nullptr) {
        return;
    }
    counterStyles_.Set(colourKey, nextNumber, size, type);
}

CounterNumbering CImageController::GetCounterStyle(int type, ColourRef colourKey) const {
    return counterStyles_.Get(type, colourKey);
}

void CImageController::NumberCounter(CCL_Count& counter) { model_.NumberCounter(counter); }

void CImageController::UnnumberCounter(const CCL_Count& counter) { model_.UnnumberCounter(counter); }
