// Field output: sign, fill, zero padding and the converted text of one directive.
#include "format_sink.h"
#include "str_fatal.h"

namespace {

char upper(char character) {
  return character >= 'a' && character <= 'z' ? static_cast<char>(character - 'a' + 'A')
                                              : character;
}

// Stores `length` characters of text (the low byte of each unit when wide), folding a-z to
// A-Z when `upper_case` is set; as many as fit.
int put_text(FormatSink* sink, const char* text, int wide) {
  const int64_t length = sink->length;
  const int fold = (sink->flags & format_flag::upper_case) != 0;
  if (!wide && !fold) return sink_put_text(sink, text, length);
  const int64_t room = sink->end - sink->out;
  const int64_t stored = length < room ? length : room;
  const int stride = wide ? 2 : 1;
  char* out = sink->out;
  for (int64_t i = 0; i < stored; ++i, text += stride) *out++ = fold ? upper(*text) : *text;
  sink->out = out;
  sink->count += static_cast<int32_t>(stored);
  return stored == length;
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
