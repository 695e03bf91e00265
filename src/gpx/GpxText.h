#pragma once
// Text rules of the GPX reader: UTF-8 validation, trimming, numbers and time stamps.
// Locale-independent: the app runs under the user's LC_NUMERIC.

#include <optional>
#include <string>
#include <string_view>

#include "document/Records.h"

namespace tw {

// True when `bytes` is well-formed UTF-8 (no overlongs, no surrogates, nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// `text` without Unicode white space and line breaks at either end (U+0009–U+000D, U+0020,
// U+0085, U+00A0, U+1680, U+2000–U+200A, U+2028, U+2029, U+202F, U+205F, U+3000).
std::string_view trimWhitespace(std::string_view text);

// The number at the start of `text` after leading white space, like a lenient "doubleValue":
// "12.5m" is 12.5, "abc" and "" are 0.0. Only decimal notation is read (no hex, inf or nan);
// a number too large for a double is ±infinity, one too small is 0.
double leadingDouble(std::string_view text);

// Elevation of an `ele` text: −100.0 (unknown) when negative, above 3800 or not finite.
float elevationFromText(std::string_view text);

// "yyyy-MM-ddTHH:mm:ssZ" or "yyyy-MM-ddTHH:mm:ss.SSSZ" (exactly three fraction digits), UTC.
// Anything else (offsets, other fraction lengths, out-of-range fields) has no time.
std::optional<TimePoint> parseGpxTime(std::string_view text);

// "yyyy-MM-ddTHH:mm:ssZ": whole seconds (floored), UTC.
std::string formatGpxTime(TimePoint t);

}  // namespace tw
