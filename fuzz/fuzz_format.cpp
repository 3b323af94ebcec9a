// libFuzzer target of the formatter. The first two bytes choose a buffer size from 1 to
// max_size, the rest is the format. Every value passed is a pointer to a long zeroed buffer,
// which reads safely as any kind: an empty string, zero bytes to dump or an address, an
// integer. Eight doubles come first and travel in registers, so no integer or pointer read
// ever lands on one.
//
// Checked: nothing is stored past the size (the buffer has exactly that size, under
// AddressSanitizer), the output is terminated, and it is the start of the same format's
// output into a large buffer, with the number of characters kept as the result.
#include <cmath>
#include <cstdarg>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "kelvane-str.h"

namespace {

constexpr int max_size = 1024;
constexpr int reference_size = 1 << 16;
// Values passed after the doubles; a format may take at most one per '%' and per '*'.
constexpr int pointer_values = 64;
constexpr int max_value_reads = 56;

// Strings end at once, 16-bit strings too, and a hex dump stops once the output is full,
// which it is after at most half the size of the larger (reference) buffer plus one byte.
alignas(8) unsigned char zeros[reference_size / 2 + 16];

int format_with_values(char* buffer, int size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = bounded_vformat(buffer, size, format, args);
  va_end(args);
  return result;
}

#define Z zeros
#define Z8 Z, Z, Z, Z, Z, Z, Z, Z
#define Z64 Z8, Z8, Z8, Z8, Z8, Z8, Z8, Z8

int format_fixed_values(char* buffer, int size, const char* format) {
  static_assert(pointer_values == 64, "Z64 passes 64 pointers");
  return format_with_values(buffer, size, format, 0.5, -2.5, 1e300, -0.0, NAN, -INFINITY, 9.96,
                            1234567.5, Z64);
}

int value_reads_bound(const std::string& format) {
  int reads = 0;
  for (char c : format) reads += c == '%' || c == '*';
  return reads;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const int buffer_size = 1 + (data[0] | data[1] << 8) % max_size;
  const std::string format(reinterpret_cast<const char*>(data + 2), size - 2);
  if (value_reads_bound(format) > max_value_reads) return 0;

  static std::vector<char> reference(reference_size);
  const int full = format_fixed_values(reference.data(), reference_size, format.c_str());
  if (full < 0 || full >= reference_size || reference[full] != 0) std::abort();

  std::vector<char> buffer(buffer_size);
  const int result = format_fixed_values(buffer.data(), buffer_size, format.c_str());
  const int kept = full < buffer_size ? full : buffer_size - 1;
  if (result != kept) std::abort();
  if (buffer[result] != 0) std::abort();
  if (std::memcmp(buffer.data(), reference.data(), result) != 0) std::abort();
  return 0;
}
