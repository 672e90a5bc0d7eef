/* Test controls of the virtual mouse (libzemrak-hid-virtual.so), beside the eleven functions
 * of zemrak_hid.h.
 *
 * The virtual mouse behaves as a connected mouse of whatever identity Set_HIDVIDPID gives.
 * Every report it receives is appended, as one line, to the file named by the environment
 * variable ZEMRAK_VIRTUAL_MOUSE_LOG (when set):
 *
 *     <CLOCK_MONOTONIC nanoseconds> cmd <hex>     8-byte command reports
 *     <CLOCK_MONOTONIC nanoseconds> data <hex>    65-byte data reports, report ID included
 *
 * Only reports the mouse accepted are logged; a refused write returns 0 and leaves no line.
 *
 * Environment read when the library is loaded:
 *     ZEMRAK_VIRTUAL_MOUSE_ABSENT=1          start unplugged
 *     ZEMRAK_VIRTUAL_MOUSE_FAIL_WRITES=N     refuse the next N writes (-1: every write)
 */
#ifndef ZEMRAK_VIRTUAL_MOUSE_CONTROL_H
#define ZEMRAK_VIRTUAL_MOUSE_CONTROL_H

#include "zemrak_hid.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Plugs (1) or unplugs (0) the mouse. Unplugging closes both channels; the device monitor,
 * when open, is told synchronously on the calling thread (presence 1 or 0). Plugging does not
 * open the channels: the program opens them as it would for a real mouse. */
ZEMRAK_HID_API void ZemrakVirtualMouse_SetPlugged(int plugged);

/* Refuses the next `count` writes on either channel; -1 refuses every write, 0 none. */
ZEMRAK_HID_API void ZemrakVirtualMouse_FailWrites(int count);

/* Number of reports accepted since the library was loaded. */
ZEMRAK_HID_API int ZemrakVirtualMouse_AcceptedWrites(void);

#ifdef __cplusplus
}
#endif

#endif
