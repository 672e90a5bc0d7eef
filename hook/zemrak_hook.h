/* The C interface of zemrak-mouse's input library, libzemrak-hook.so. The program loads it at
 * run time from its folder (or from $ZEMRAK_HOOK_LIBRARY) and looks up these functions by
 * name; other tools load the same library, so the signatures are fixed.
 *
 * While a hook is installed the library reads the keyboards (installhook) or the mice
 * (installmousehook) that this user may read, and calls `fn` on a thread of its own for each
 * event: message 1280 for a key, wparam the virtual-key code that the same physical key gives
 * on a US keyboard, lparam 0 for a key down (auto-repeat is another key down) and 1 for a key
 * up; message 1281 for a mouse button or wheel notch, wparam 513/514 left down/up, 516/517
 * right, 519/520 middle, 522 one wheel notch, 523/524 side button down/up with lparam 1 (back)
 * or 2 (forward). An installed hook delivers until enablehook(0) holds it back; installing a
 * hook again replaces it. removehook and removemousehook return only once no call of that
 * hook's fn is running (other than the caller's own, when fn removes its hook), so ctx may be
 * freed then. Input devices are open only while a hook is installed; nothing read is kept or
 * written anywhere. */
#ifndef ZEMRAK_HOOK_H
#define ZEMRAK_HOOK_H

#if defined(__GNUC__)
#define ZEMRAK_HOOK_API __attribute__((visibility("default")))
#else
#define ZEMRAK_HOOK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void (*HookNotifyFn)(void* ctx, unsigned msg, unsigned long wparam, long lparam);

ZEMRAK_HOOK_API void installhook(HookNotifyFn fn, void* ctx); /* keyboard events -> msg 1280 */
ZEMRAK_HOOK_API void removehook(void);
ZEMRAK_HOOK_API void enablehook(int on); /* 1 deliver, 0 hold back */
ZEMRAK_HOOK_API void installmousehook(HookNotifyFn fn,
                                      void* ctx); /* buttons and wheel -> msg 1281 */
ZEMRAK_HOOK_API void removemousehook(void);
ZEMRAK_HOOK_API void enablemousehook(int on);
ZEMRAK_HOOK_API void MouseMoveHook(void); /* present, never called */
ZEMRAK_HOOK_API int hookavailable(void);  /* 1 when a keyboard or mouse can be read, else 0 */

#ifdef __cplusplus
}
#endif

#endif
