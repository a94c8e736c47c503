/* KQSim: test interface of the simulated-camera build of KQCMOSu.dll.
 *
 * That build (bin/simcam/KQCMOSu.dll, never installed) has the whole KQ_*
 * interface over simulated cameras instead of the driver, and these
 * functions besides, to drive the simulated hardware. The product
 * KQCMOSu.dll exports none of them.
 *
 * The cameras come from KQSimCam.ini beside the DLL, or from the file named
 * by the environment variable KQSIM_CONFIG when it is set and not empty
 * (see sdk/usb/simcam/sim_camera_config.h for the keys and fallbacks); no
 * file gives one colour camera. Cameras are numbered from 1 in the file's
 * order, as KQ_Initialize counts them while all are present.
 *
 * Every function returns KQSIM_OK or one of the failures below. */
#ifndef KQSIM_H
#define KQSIM_H

#include "KQCMOSu.h"

#define KQSIM_OK 0
#define KQSIM_BAD_ARGUMENT 10 /* no camera with that number, or a null or negative argument */
#define KQSIM_BUSY 11         /* a camera is open */
#define KQSIM_NO_FILE 12      /* the configuration file cannot be read */
#define KQSIM_TIMED_OUT 13    /* nothing happened within the time given */
#define KQSIM_NO_RECORD 14    /* no request with that control code was made */

/* Control from another process, for a test that runs the library's client
 * as a program of its own. When the environment variable KQSIM_CONTROL
 * holds a name (1 to 64 letters, digits, '_' or '-') as the library starts
 * its cameras, it serves that name: the caller writes a command into the
 * block of the file mapping of that name, sets the event "<name>_request"
 * and waits for "<name>_done" (both auto-reset), after which the block's
 * result is what the command's own function returned. Whichever side comes
 * first makes the objects. One command at a time. */
#define KQSIM_CONTROL_UNPLUG 1 /* KQSim_Unplug(camera) */
#define KQSIM_CONTROL_REPLUG 2 /* KQSim_Replug(camera) */

typedef struct KQSIM_CONTROL_BLOCK {
    int command;
    int camera;
    int result; /* KQSIM_OK or a failure; KQSIM_BAD_ARGUMENT for an unknown command */
} KQSIM_CONTROL_BLOCK;

#ifdef __cplusplus
extern "C" {
#endif

/* Replaces the cameras with those of the INI file at path (null: the file
 * read at load). Refused with KQSIM_BUSY while any camera is open. */
int KQAPI KQSim_LoadConfig(const wchar_t* path);

/* Hot plug: the camera leaves the bus and every open handle on it hears of
 * it (device event 0; calls answer 3); Replug brings it back and reopens
 * them with their last capture record (event 1). */
int KQAPI KQSim_Unplug(int camera);
int KQAPI KQSim_Replug(int camera);

/* With on 0, Unplug and Replug change the bus alone: the library hears of
 * it only when the test sends its message window ("My Msg Win") a
 * WM_DEVICECHANGE, as the system would. 1 (the default) tells it at once. */
int KQAPI KQSim_SweepOnPlug(int on);

/* While fail is nonzero, the message window that the next camera open
 * starts gets no device broadcasts (its registration fails). */
int KQAPI KQSim_FailNoticeRegistration(int fail);

/* Faults: opening the camera fails while fail is nonzero; the next `times`
 * requests with a control code fail. */
int KQAPI KQSim_FailOpen(int camera, int fail);
int KQAPI KQSim_FailControl(unsigned int code, int times);

/* Frame pacing. With a budget each frame read uses one and waits while none
 * is left, until more are allowed or the read is cancelled; a negative
 * budget lets reads run freely (the default). WaitForBlockedRead returns
 * KQSIM_OK once a read of the camera waits, KQSIM_TIMED_OUT after
 * timeoutMs without one. */
int KQAPI KQSim_SetReadBudget(int camera, int frames);
int KQAPI KQSim_AllowFrames(int camera, int frames);
int KQAPI KQSim_WaitForBlockedRead(int camera, int timeoutMs);

/* What reached the driver: the input bytes of the latest request with the
 * control code (copied up to bufferBytes; *bytes is its full length), and
 * the number of driver connections open now. */
int KQAPI KQSim_LastControlInput(unsigned int code, unsigned char* buffer, int bufferBytes, int* bytes);
int KQAPI KQSim_OpenConnections(int* count);

#ifdef __cplusplus
}
#endif

#endif
