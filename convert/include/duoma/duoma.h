// GB2312 <-> Big5 conversion in place and GB2312 -> Unicode, with C linkage.
#pragma once

#include <stdint.h>

#include "duoma/duoma_export.h"

#ifdef __cplusplus
extern "C" {
#endif

/// Converts the first `length` bytes of `text` from GB2312 to Big5 in place, two bytes per
/// character. Single-byte characters are stepped over. Returns `length`; never reads or writes
/// past the `length` bytes.
DUOMA_EXPORT int32_t Duoma(unsigned char* text, int32_t length);

/// Converts the first `length` bytes of `text` from Big5 to GB2312 in place. Returns `length`.
DUOMA_EXPORT int32_t Big52Gb(unsigned char* text, int32_t length);

/// Writes the Unicode code point of one zero-terminated GB2312 character (one ASCII byte or a
/// lead and a trail byte) and a terminating 0 into `output[0..1]`. Returns 0.
DUOMA_EXPORT int32_t Gb2Unicode(const char* character, uint16_t* output);

#ifdef __cplusplus
}
#endif
