#include "live_controller.h"

CLiveController::CLiveController() { SetSequenceNumber(-1); }

void CLiveController::ClearAll() {
    GetSelection().clear();
    GetObjectList()->clear();
}
