/* The C interface of a HID access library of zemrak-mouse. The program loads such a library
 * at run time and reaches the mouse only through these eleven functions; other tools load
 * the same libraries, so the signatures are fixed.
 *
 * The command channel carries 8-byte feature reports with report ID 1, the data channel
 * (names ending in _1) 65-byte feature reports whose first byte is the report ID 0. */
#ifndef ZEMRAK_HID_H
#define ZEMRAK_HID_H

#if defined(__GNUC__)
#define ZEMRAK_HID_API __attribute__((visibility("default")))
#else
#define ZEMRAK_HID_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Called by the device monitor, possibly from a thread of the library's own. For presence
 * notices `message` is the presenceMessage given to Open_HIDDevMonitor and `wparam` is 1 on
 * arrival of a matching device, 0 on its removal. */
typedef void (*HidNotifyFn)(void* context, unsigned int message, unsigned long wparam, long lparam);

ZEMRAK_HID_API void Set_HIDVIDPID(unsigned int vid, unsigned int pid);
ZEMRAK_HID_API void Open_HIDDevMonitor(HidNotifyFn notify, void* context,
                                       unsigned int monitorMessage, unsigned int presenceMessage);
ZEMRAK_HID_API void Close_HIDDevMonitor(void);
ZEMRAK_HID_API int Open_HIDFeatureDevice(void);   /* command channel; non-zero = open */
ZEMRAK_HID_API int Open_HIDFeatureDevice_1(void); /* data channel; non-zero = open */
ZEMRAK_HID_API void Close_HIDFeatureDevice(void);
ZEMRAK_HID_API void Close_HIDFeatureDevice_1(void);
ZEMRAK_HID_API int SetHIDFeature(const unsigned char* report,
                                 int length); /* 8 bytes; non-zero = written */
ZEMRAK_HID_API int SetHIDFeature_1(const unsigned char* report,
                                   int length); /* 65 bytes; non-zero = written */
ZEMRAK_HID_API int GetHIDFeature(unsigned char* report, int length);
ZEMRAK_HID_API int GetHIDFeature_1(unsigned char* report, int length);

#ifdef __cplusplus
}
#endif

#endif
