// The formatter's per-call record and the steps shared by its conversions: storing characters,
// storing a whole field, and converting numbers into the record's digit buffer.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <cstring>

namespace format_flag {
enum : uint32_t {
  negative = 0x01,       // a '-' goes before the number
  right_justify = 0x02,  // fill on the left; when clear, spaces on the right
  zero_fill = 0x04,      // left fill is '0' and comes after the sign
  upper_case = 0x08,     // a-z of the text are output as A-Z
  plus_sign = 0x10,      // a '+' goes before a number that is not negative
  grouping = 0x20,       // ',' between groups of three integer digits
};
}

constexpr int format_digits_size = 60;
// A number's text reaching this many characters would endanger `digits`.
constexpr int format_number_limit = 55;

// Mode codes of format_number beside the integer bases.
constexpr int format_mode_real = 9999;
constexpr int format_mode_fixed = 1616;

struct FormatSink {
  int32_t width;     // field width; for a hex dump, the number of bytes
  uint32_t flags;    // format_flag bits of the current directive
  int32_t length;    // characters of `text` to copy out
  int32_t zero_pad;  // '0' characters before the text (from the precision)
  char* out;         // next position to store into
  char* end;         // just past the caller's buffer
  int32_t count;     // characters stored so far by this call
  char digits[format_digits_size];
  const char* text;  // first character of the converted text
};

// Pieces up to this length are stored by a plain loop.
constexpr int64_t format_short_piece = 16;

inline int sink_put(FormatSink* sink, char character) {
  if (sink->out >= sink->end) return 0;
  *sink->out++ = character;
  sink->count++;
  return 1;
}

// Stores as many of the n characters as fit; 1 when all of them did.
inline int sink_put_text(FormatSink* sink, const char* text, int64_t n) {
  const int64_t room = sink->end - sink->out;
  const int64_t stored = n < room ? n : room;
  if (stored > 0) {
    // Most pieces are a few characters long: a plain loop beats calling memcpy for them.
    if (stored <= format_short_piece) {
      for (int64_t i = 0; i < stored; ++i) sink->out[i] = text[i];
    } else {
      std::memcpy(sink->out, text, static_cast<size_t>(stored));
    }
    sink->out += stored;
    sink->count += static_cast<int32_t>(stored);
  }
  return stored == n;
}

// Stores n copies of the character, as many as fit; 1 when all of them did (also for n <= 0).
inline int sink_put_repeated(FormatSink* sink, char character, int64_t n) {
  if (n <= 0) return 1;
  const int64_t room = sink->end - sink->out;
  const int64_t stored = n < room ? n : room;
  if (stored <= format_short_piece) {
    for (int64_t i = 0; i < stored; ++i) sink->out[i] = character;
  } else {
    std::memset(sink->out, character, static_cast<size_t>(stored));
  }
  sink->out += stored;
  sink->count += static_cast<int32_t>(stored);
  return stored == n;
}

// Stores the field of the current directive: sign, fill, zero padding and `length` characters
// of text (with wide = 1, the low byte of each 16-bit unit). 0 at the first refused character.
int sink_put_field(FormatSink* sink, const char* text, int wide);

// Converts a number into `digits` and points `text` at it, adding its length to `length`.
// code is an integer base (2, 8, 10, 16), format_mode_real for `real` or format_mode_fixed for
// the low 32 bits of the integer as 16.16 fixed point. A value_signed integer whose high half
// is negative sets `negative` and is converted as its magnitude. Always 1.
int format_number(FormatSink* sink, uint32_t low, uint32_t high, int value_signed, double real,
                  int code, int precision);

// Writes the digits of value in base backwards, ending just before position, with ',' between
// groups of three when `grouping` is set; returns the first character written. Fatal when the
// text from there to the end of `digits` reaches format_number_limit.
char* format_integer_digits(FormatSink* sink, char* position, uint64_t value, unsigned base);

// Points `text` at the characters from first to the end of `digits` and adds them to `length`.
inline void format_set_text(FormatSink* sink, char* first) {
  sink->text = first;
  sink->length += static_cast<int32_t>(sink->digits + format_digits_size - first);
}

// Handles the directive that starts at *cursor (just past its '%'), taking its values from
// the list, and leaves *cursor just past it. 0 when the formatting must end.
int format_directive(FormatSink* sink, const char** cursor, va_list* values);

void format_real(FormatSink* sink, double value, int precision);
void format_fixed(FormatSink* sink, uint32_t value);
