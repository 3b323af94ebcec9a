// One directive of the formatter: flags, width, precision and the conversion word.
#include <climits>
#include <cstdint>

#include "format_sink.h"

namespace {

using namespace format_flag;

constexpr char del_character = 127;
// Widths and precisions written as digits saturate here; far beyond any buffer size.
constexpr int32_t max_written_number = 999999999;

struct Directive {
  int32_t precision;  // -1 when none was given
  int alternate;      // '#'
};

const char* parse_decimal(const char* cursor, int32_t* value) {
  int32_t result = 0;
  for (; *cursor >= '0' && *cursor <= '9'; ++cursor) {
    const int32_t digit = *cursor - '0';
    result = result > (max_written_number - digit) / 10 ? max_written_number : result * 10 + digit;
  }
  *value = result;
  return cursor;
}

int word_follows(const char* cursor, const char* word) {
  for (; *word != 0; ++cursor, ++word) {
    if (*cursor != *word) return 0;
  }
  return 1;
}

int literal(FormatSink* sink, char character) {
  sink_put(sink, character);
  return 1;
}

int put_null(FormatSink* sink) {
  sink_put_text(sink, "NULL", 4);
  return 1;
}

int integer_field(FormatSink* sink, const Directive& directive, uint64_t value, int value_signed,
                  int code) {
  format_number(sink, static_cast<uint32_t>(value), static_cast<uint32_t>(value >> 32),
                value_signed, 0.0, code, 0);
  if (directive.precision > sink->length) sink->zero_pad = directive.precision - sink->length;
  // An explicit precision of 0 prints nothing at all for a zero.
  if (directive.precision == 0 && sink->text[0] == '0') return 1;
  return sink_put_field(sink, sink->text, 0);
}

int signed32_field(FormatSink* sink, const Directive& directive, va_list* values, int base) {
  const int64_t value = va_arg(*values, int);
  return integer_field(sink, directive, static_cast<uint64_t>(value), 1, base);
}

int unsigned32_field(FormatSink* sink, const Directive& directive, va_list* values, int base) {
  sink->flags &= ~plus_sign;
  const unsigned value = va_arg(*values, unsigned);
  return integer_field(sink, directive, value, 0, base);
}

int hexadecimal_field(FormatSink* sink, const Directive& directive, uint64_t value) {
  if (directive.alternate) sink_put_text(sink, "0x", 2);
  return integer_field(sink, directive, value, 0, 16);
}

int real_field(FormatSink* sink, const Directive& directive, va_list* values) {
  const double value = va_arg(*values, double);
  format_number(sink, 0, 0, 0, value, format_mode_real, directive.precision);
  return sink_put_field(sink, sink->text, 0);
}

int character_field(FormatSink* sink, va_list* values) {
  sink->flags &= ~(plus_sign | zero_fill);
  sink->digits[0] = static_cast<char>(va_arg(*values, int));
  sink->text = sink->digits;
  sink->length = 1;
  return sink_put_field(sink, sink->text, 0);
}

// Strings of 8-bit characters (stride 1) or of 16-bit units stored low byte first (stride 2):
// the scan ends at a low byte of 0 or of DEL; with '#' a DEL replaces the whole string by
// "NONASCII", otherwise the string ends there.
int string_field(FormatSink* sink, const Directive& directive, const char* string, int stride) {
  sink->flags &= ~(plus_sign | zero_fill);
  if (string == nullptr) return put_null(sink);
  // Without the DEL guard nothing beyond the precision is ever looked at.
  const int64_t limit =
      !directive.alternate && directive.precision >= 0 ? directive.precision : INT32_MAX;
  const char* scan = string;
  int64_t length = 0;
  for (; length < limit && *scan != 0 && *scan != del_character; scan += stride) ++length;
  if (directive.alternate && length < limit && *scan == del_character) {
    sink_put_text(sink, "NONASCII", 8);
    return 1;
  }
  if (directive.precision >= 0 && directive.precision < length) length = directive.precision;
  sink->length = static_cast<int32_t>(length);
  return sink_put_field(sink, string, stride == 2);
}

int hex_dump(FormatSink* sink, const unsigned char* bytes, int upper) {
  if (bytes == nullptr) return put_null(sink);
  const char* digit = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  for (int32_t i = 0; i < sink->width; ++i) {
    if (!sink_put(sink, digit[bytes[i] >> 4]) || !sink_put(sink, digit[bytes[i] & 0xF])) return 0;
  }
  return 1;
}

int ipv4_field(FormatSink* sink, const Directive& directive, const unsigned char* address) {
  sink->flags &= ~(plus_sign | zero_fill);
  if (address == nullptr) return put_null(sink);
  char* position = sink->digits;
  for (int i = 0; i < 4; ++i) {
    const unsigned byte = address[i];
    if (i != 0) *position++ = '.';
    if (byte >= 100) *position++ = static_cast<char>('0' + byte / 100);
    if (byte >= 10) *position++ = static_cast<char>('0' + byte / 10 % 10);
    *position++ = static_cast<char>('0' + byte % 10);
  }
  sink->length = static_cast<int32_t>(position - sink->digits);
  if (directive.precision >= 0 && directive.precision < sink->length) {
    sink->length = directive.precision;
  }
  sink->text = sink->digits;
  return sink_put_field(sink, sink->text, 0);
}

// The conversion word at *cursor; leaves *cursor just past the word.
int convert(FormatSink* sink, const Directive& directive, const char** cursor, va_list* values) {
  const char* word = *cursor;
  *cursor = word + 1;
  switch (*word) {
    case 'd':
      return signed32_field(sink, directive, values, 10);
    case 'i':
      if (!word_follows(word + 1, "pv4")) return signed32_field(sink, directive, values, 10);
      *cursor = word + 4;
      return ipv4_field(sink, directive, va_arg(*values, const unsigned char*));
    case 'l':
      if (word[1] != 'l') return signed32_field(sink, directive, values, 10);
      *cursor = word + 2;
      return integer_field(sink, directive, static_cast<uint64_t>(va_arg(*values, long long)), 1,
                           10);
    case 'I': {
      const char kind = word[1] == '6' && word[2] == '4' ? word[3] : 0;
      if (kind != 'd' && kind != 'u' && kind != 'x') return literal(sink, 'I');
      *cursor = word + 4;
      const auto value = static_cast<uint64_t>(va_arg(*values, long long));
      return integer_field(sink, directive, value, kind == 'd', kind == 'x' ? 16 : 10);
    }
    case 'u':
    case 'U':
      if (!word_follows(word + 1, "nicode")) return unsigned32_field(sink, directive, values, 10);
      *cursor = word + 7;
      return string_field(sink, directive, va_arg(*values, const char*), 2);
    case 'x':
    case 'X':
      sink->flags &= ~plus_sign;
      return hexadecimal_field(sink, directive, va_arg(*values, unsigned));
    case 'p': {
      sink->flags = (sink->flags & ~plus_sign) | upper_case;
      const Directive eight_digits = {8, directive.alternate};
      return hexadecimal_field(sink, eight_digits,
                               reinterpret_cast<uintptr_t>(va_arg(*values, void*)));
    }
    case 'o':
    case 'O':
      if (directive.alternate) sink_put(sink, '0');
      return unsigned32_field(sink, directive, values, 8);
    case 'b':
      return unsigned32_field(sink, directive, values, 2);
    case 'a': {
      const unsigned value = va_arg(*values, unsigned);
      return integer_field(sink, directive, value, 0, format_mode_fixed);
    }
    case 'f':
      return real_field(sink, directive, values);
    case 'c':
      return character_field(sink, values);
    case 's':
    case 'S':
      return string_field(sink, directive, va_arg(*values, const char*), 1);
    case 'h':
    case 'H':
      if (!word_follows(word + 1, "ex") && !word_follows(word + 1, "EX")) {
        return literal(sink, *word);
      }
      *cursor = word + 3;
      sink->flags &= ~(plus_sign | zero_fill);
      return hex_dump(sink, va_arg(*values, const unsigned char*), *word == 'H');
    default:
      return literal(sink, *word);
  }
}

}  // namespace

int format_directive(FormatSink* sink, const char** cursor, va_list* values) {
  const char* at = *cursor;
  if (*at == '%') {
    *cursor = at + 1;
    return literal(sink, '%');
  }
  sink->width = 0;
  sink->flags = right_justify;
  sink->length = 0;
  sink->zero_pad = 0;
  Directive directive = {-1, 0};

  // Flags count only in this order; anything out of order is taken as the conversion letter.
  if (*at == '#') {
    directive.alternate = 1;
    ++at;
  }
  if (*at == '-') {
    sink->flags &= ~right_justify;
    ++at;
  }
  if (*at == '+') {
    sink->flags |= plus_sign;
    ++at;
  }
  if (*at == '\'') {
    sink->flags |= grouping;
    ++at;
  }
  if (*at == '0') {
    sink->flags |= zero_fill;
    ++at;
  }
  if (*at == '*') {
    sink->width = va_arg(*values, int);
    ++at;
  } else {
    at = parse_decimal(at, &sink->width);
  }
  if (*at == '.') {
    ++at;
    if (*at == '*') {
      directive.precision = va_arg(*values, int);
      if (directive.precision < 0) directive.precision = -1;
      ++at;
    } else {
      at = parse_decimal(at, &directive.precision);
    }
  }
  // A format cut inside a directive outputs nothing for it.
  if (*at == 0) {
    *cursor = at;
    return 1;
  }
  if (*at >= 'A' && *at <= 'Z') sink->flags |= upper_case;
  *cursor = at;
  return convert(sink, directive, cursor, values);
}
