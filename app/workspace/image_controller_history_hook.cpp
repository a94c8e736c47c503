// Until the history store records steps, a change only tells the owner
// window that the history changed.
#include "image_controller.h"

namespace {
constexpr UINT kHistoryChangedMessage = 0x40E;
}

void CImageController::PushHistory(int) {
    if (owner_ != nullptr) {
        ::SendMessageW(owner_, kHistoryChangedMessage, 0, 0);
    }
}
