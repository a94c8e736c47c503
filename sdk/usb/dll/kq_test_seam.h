/* Test seam of KQCMOSu.dll, not part of the camera interface.
 *
 * KQTest_SetTransport(transport) makes every later open and re-arrival use
 * the given kq::CameraTransport (a simulated camera bus) instead of the
 * Windows driver; null restores the driver. The object stays the caller's
 * and must outlive its use. Built with the same compiler as the DLL only. */
#ifndef KQ_TEST_SEAM_H
#define KQ_TEST_SEAM_H

#include "KQCMOSu.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef void(KQAPI* KQTEST_SET_TRANSPORT)(void* transport);
void KQAPI KQTest_SetTransport(void* transport);

#ifdef __cplusplus
}
#endif

#endif
