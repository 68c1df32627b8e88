/* VELMO: plays one media file at a time behind plain C functions.
 *
 * All functions are called from one thread (the player's UI thread). Times are whole
 * milliseconds. Nothing allocated crosses this boundary. See docs/velmo.md. */
#ifndef VELMO_H
#define VELMO_H

#include <stdint.h>

#if defined(VELMO_BUILDING) && defined(__GNUC__)
#define VELMO_API __attribute__((visibility("default")))
#else
#define VELMO_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Negative results of PLY; the FAILED(0x...) debug lines print them in hex. */
#define VELMO_E_FAIL (-2147467259)        /* 0x80004005: the pipeline could not be built */
#define VELMO_E_NOT_FOUND (-2147220970)   /* 0x80040216: missing, a folder or unreadable */
#define VELMO_E_UNSUPPORTED (-2147220891) /* 0x80040265: no type or no decoder for the data */
#define VELMO_E_TIMEOUT (-2147220946)     /* 0x8004022E: preroll did not finish in time */

/* Graph lifecycle. owner is an X11 window id (0: no window, video is decoded but not shown);
 * path is a NUL-terminated byte string of any length. Returns 1 or a VELMO_E_ code. The new
 * graph is paused at position 0; the video window is 320 x 240 at the owner's top-left. */
VELMO_API int32_t PLY(uintptr_t owner, const char* path);
VELMO_API int32_t DS_STOP(void);                          /* releases the graph; returns 1 */
VELMO_API int32_t DS_VIEW(int32_t mode);                  /* 1 shows, else hides + detaches */
VELMO_API int32_t DS_ZOOM(int32_t width, int32_t height); /* sizes the video window; 1 */
VELMO_API int32_t DS_W(void);                             /* source video width, 0 if none */
VELMO_API int32_t DS_H(void);                             /* source video height, 0 if none */

/* Transport and seeking. */
VELMO_API int32_t DS_RUN(void);   /* returns 0 */
VELMO_API int32_t DS_PAUSE(void); /* returns 0 */
VELMO_API int32_t DS_LEN(void);   /* length in ms, 0 when unknown */
VELMO_API int32_t DS_POS(void);   /* position in ms, 0 when unknown */
VELMO_API int32_t DS_END(void);   /* takes one graph event; 1 when it is the end of the medium */
VELMO_API int32_t DS_SEEK(int32_t mode, int32_t amount); /* 0 absolute, 1 forward, -1 back */
VELMO_API int32_t DS_KEY(void); /* 1 left button, 2 right button, 4 Ctrl+Alt+Q, else 0 */
VELMO_API int32_t DS_VOLUME(int32_t percent); /* 0..100 on a perceptual scale; returns 0 */

/* Shuffle order table, independent of the graph. */
VELMO_API int32_t DS_INI_RAND(int32_t count, int32_t fallback);
VELMO_API int32_t DS_RET_RAND(int32_t position);
VELMO_API int32_t DS_RET_TNO(int32_t entry);
VELMO_API int32_t DS_RAND_FREE(void);

#ifdef __cplusplus
}
#endif

#endif /* VELMO_H */
