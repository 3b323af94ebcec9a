// Integer conversion of the formatter, and the dispatch to its real and fixed-point modes.
#include "format_sink.h"
#include "kelvane-core.h"
#include "str_fatal.h"

namespace {

const char digit_characters[] = "0123456789abcdef";

[[noreturn]] void number_too_long(int characters) {
  fatal_at("kelvane-str", 204);
  fatal_error("Value exceeds buffer size (%d > %d)\n", characters, format_number_limit);
}

// The base is a template argument so that the division compiles to a multiplication.
template <unsigned Base, typename Value>
char* plain_digits(char* position, Value value, const char* guard) {
  do {
    *--position = digit_characters[value % Base];
    value /= Base;
  } while (value != 0 && position != guard);
  return position;
}

template <unsigned Base, typename Value>
char* grouped_digits(char* position, Value value, const char* guard) {
  int in_group = 0;
  for (;;) {
    *--position = digit_characters[value % Base];
    value /= Base;
    if (value == 0 || position == guard) return position;
    if (++in_group == 3) {
      *--position = ',';
      in_group = 0;
      if (position == guard) return position;
    }
  }
}

const char decimal_pairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Decimal digits two at a time: half the chain of divisions. At most 20 characters, far
// below the guard.
template <typename Value>
char* decimal_digits(char* position, Value value) {
  while (value >= 100) {
    const auto pair = static_cast<unsigned>(value % 100);
    value /= 100;
    position -= 2;
    std::memcpy(position, decimal_pairs + 2 * pair, 2);
  }
  if (value >= 10) {
    position -= 2;
    std::memcpy(position, decimal_pairs + 2 * value, 2);
  } else {
    *--position = static_cast<char>('0' + value);
  }
  return position;
}

template <unsigned Base>
char* digits_in_base(char* position, uint64_t value, int group, const char* guard) {
  if (value <= UINT32_MAX) {
    const uint32_t narrow = static_cast<uint32_t>(value);
    return group ? grouped_digits<Base>(position, narrow, guard)
                 : plain_digits<Base>(position, narrow, guard);
  }
  return group ? grouped_digits<Base>(position, value, guard)
               : plain_digits<Base>(position, value, guard);
}

}  // namespace

char* format_integer_digits(FormatSink* sink, char* position, uint64_t value, unsigned base) {
  char* const last = sink->digits + format_digits_size;
  const char* guard = last - format_number_limit;
  const int group = (sink->flags & format_flag::grouping) != 0;
  char* first;
  switch (base) {
    case 2:
      first = digits_in_base<2>(position, value, group, guard);
      break;
    case 8:
      first = digits_in_base<8>(position, value, group, guard);
      break;
    case 16:
      first = digits_in_base<16>(position, value, group, guard);
      break;
    default:
      if (group) {
        first = digits_in_base<10>(position, value, group, guard);
      } else if (value <= UINT32_MAX) {
        first = decimal_digits(position, static_cast<uint32_t>(value));
      } else {
        first = decimal_digits(position, value);
      }
      break;
  }
  if (first <= guard) number_too_long(format_number_limit);
  return first;
}

int format_number(FormatSink* sink, uint32_t low, uint32_t high, int value_signed, double real,
                  int code, int precision) {
  if (sink == nullptr) str_fatal_null_pointer(80);
  sink->digits[0] = 0;
  sink->text = sink->digits;
  uint64_t value = (static_cast<uint64_t>(high) << 32) | low;
  if (value_signed && static_cast<int32_t>(high) < 0) {
    sink->flags |= format_flag::negative;
    value = 0 - value;  // the magnitude, also of the most negative value
  }
  if (real < 0) {
    sink->flags |= format_flag::negative;
    real = -real;
  }
  if (code == format_mode_real) {
    format_real(sink, real, precision);
  } else if (code == format_mode_fixed) {
    format_fixed(sink, low);
  } else {
    char* last = sink->digits + format_digits_size;
    format_set_text(sink, format_integer_digits(sink, last, value, static_cast<unsigned>(code)));
  }
  return 1;
}
