// The real (`f`) and 16.16 fixed-point (`a`) modes of format_number. The sign has already been
// taken off the value and put into the flags; the text holds only digits, separators and '.'.
#include <cmath>

#include "format_sink.h"
#include "kelvane-str.h"

namespace {

const uint32_t powers_of_ten[] = {1,      10,      100,      1000,      10000,
                                  100000, 1000000, 10000000, 100000000, 1000000000};

constexpr int default_real_precision = 6;
constexpr int max_real_precision = 9;
constexpr int fixed_fraction_digits = 6;
// 2 to the power 64: the first whole number the real mode's integer part cannot hold.
constexpr double integer_part_limit = 18446744073709551616.0;

void short_text(FormatSink* sink, const char* text) {
  str_copy(sink->digits, text, format_digits_size);
  sink->text = sink->digits;
  sink->length += static_cast<int32_t>(str_length(sink->digits));
}

// Writes exactly `places` decimal digits of fraction backwards before position, then a '.'.
char* fraction_digits(char* position, uint32_t fraction, int places) {
  char* const stop = position - places;
  while (fraction != 0) {
    *--position = static_cast<char>('0' + fraction % 10);
    fraction /= 10;
  }
  while (position != stop) *--position = '0';
  *--position = '.';
  return position;
}

}  // namespace

void format_real(FormatSink* sink, double value, int precision) {
  if (std::isnan(value)) return short_text(sink, "1.#QNAN0");
  if (!std::isfinite(value)) return short_text(sink, "1.#INF00");
  if (precision < 0) precision = default_real_precision;
  if (precision > max_real_precision) precision = max_real_precision;

  char* position = sink->digits + format_digits_size;
  double whole;
  if (precision == 0) {
    whole = std::floor(value + 0.5);
    if (whole >= integer_part_limit) return short_text(sink, "1.#INF00");
  } else {
    whole = std::floor(value);
    if (whole >= integer_part_limit) return short_text(sink, "1.#INF00");
    const uint32_t scale = powers_of_ten[precision];
    auto fraction = static_cast<uint32_t>(std::floor((value - whole) * scale + 0.5));
    if (fraction >= scale) {
      whole += 1;  // exact: a value with a fraction is far below 2 to the power 53
      fraction -= scale;
    }
    position = fraction_digits(position, fraction, precision);
  }
  format_set_text(sink, format_integer_digits(sink, position, static_cast<uint64_t>(whole), 10));
}

void format_fixed(FormatSink* sink, uint32_t value) {
  const uint32_t whole = value >> 16;
  const uint32_t fraction_bits = value & 0xFFFF;
  // Truncated, not rounded: 0xFFFF gives 999984.
  const auto fraction = static_cast<uint32_t>(fraction_bits * (1.0 / 65536.0) * 1000000.0);
  char* position = sink->digits + format_digits_size;
  position = fraction_digits(position, fraction, fixed_fraction_digits);
  format_set_text(sink, format_integer_digits(sink, position, whole, 10));
}
