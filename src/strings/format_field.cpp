// Field output: sign, fill, zero padding and the converted text of one directive.
#include "format_sink.h"
#include "str_fatal.h"

namespace {

char upper(char character) {
  return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A')
                                              : character;
}

// Stores `length` characters of text, stepping `stride` bytes per character.
int put_folded(FormatSink* sink, const char* text, int32_t length, int stride, int fold) {
  const char* const stop = text + static_cast<int64_t>(length) * stride;
  for (; text != stop; text += stride) {
    if (!sink_put(sink, fold ? upper(*text) : *text)) return 0;
  }
  return 1;
}

int put_text(FormatSink* sink, const char* text, int wide) {
  const int fold = (sink->flags & format_flag::upper_case) != 0;
  if (!wide && !fold) return sink_put_text(sink, text, sink->length);
  return put_folded(sink, text, sink->length, wide ? 2 : 1, fold);
}

char sign_of(uint32_t flags) {
  if (flags & format_flag::negative) return '-';
  if (flags & format_flag::plus_sign) return '+';
  return 0;
}

}  // namespace

int sink_put_field(FormatSink* sink, const char* text, int wide) {
  if (text == nullptr) str_fatal_null_pointer(230);
  const uint32_t flags = sink->flags;
  const char sign = sign_of(flags);
  const int zero_fill = (flags & format_flag::zero_fill) != 0;
  const int right_justify = (flags & format_flag::right_justify) != 0;
  // 64-bit so that any width and precision taken from the argument list stay exact.
  const int64_t fill =
      static_cast<int64_t>(sink->width) - sink->length - sink->zero_pad - (sign ? 1 : 0);

  if (zero_fill && sign && !sink_put(sink, sign)) return 0;
  if (right_justify && !sink_put_repeated(sink, zero_fill ? '0' : ' ', fill)) return 0;
  if (!zero_fill && sign && !sink_put(sink, sign)) return 0;
  if (!sink_put_repeated(sink, '0', sink->zero_pad)) return 0;
  if (!put_text(sink, text, wide)) return 0;
  if (!right_justify && !sink_put_repeated(sink, ' ', fill)) return 0;
  return 1;
}
