// Zero-terminated 8-bit string functions; comparisons ignore the case of ASCII letters.
#include "kelvane-str.h"

#include "str_fatal.h"

namespace {

unsigned char fold_case(char character) {
  const auto byte = static_cast<unsigned char>(character);
  return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + ('a' - 'A')) : byte;
}

}  // namespace

unsigned str_length(const char* string) {
  const char* end = string;
  while (*end != 0) ++end;
  return static_cast<unsigned>(end - string);
}

int str_copy_unbounded(char* destination, const char* source) {
  if (destination == nullptr) str_fatal_null_pointer(1963);
  if (source == nullptr) str_fatal_null_pointer(1964);
  while ((*destination++ = *source++) != 0) {
  }
  return 1;
}

int str_copy(char* destination, const char* source, unsigned size) {
  if (destination == nullptr) str_fatal_null_pointer(1978);
  if (source == nullptr) str_fatal_null_pointer(1979);
  // Below 2 bytes there is no room for a character: store what fits of the terminator alone.
  if (size == 0) return 0;
  if (size == 1) {
    *destination = 0;
    return *source == 0;
  }
  char* const last = destination + size - 1;
  while (destination != last) {
    if ((*destination++ = *source++) == 0) return 1;
  }
  *last = 0;
  return 0;
}

int str_concat(char* destination, const char* source) {
  // A null destination goes on to str_copy_unbounded, which reports it.
  char* end = destination == nullptr ? destination : destination + str_length(destination);
  return str_copy_unbounded(end, source);
}

int str_equal(const char* first, const char* second) {
  if (first == nullptr) str_fatal_null_pointer(2265);
  if (second == nullptr) str_fatal_null_pointer(2266);
  for (;; ++first, ++second) {
    if (fold_case(*first) != fold_case(*second)) return 0;
    if (*first == 0) return 1;
  }
}

int str_starts_with(const char* string, const char* prefix) {
  if (string == nullptr) str_fatal_null_pointer(2446);
  if (prefix == nullptr) str_fatal_null_pointer(2447);
  for (; *prefix != 0; ++string, ++prefix) {
    if (fold_case(*string) != fold_case(*prefix)) return 0;
  }
  return 1;
}

int str_find(const char* string, const char* needle, const char** result) {
  if (string == nullptr) str_fatal_null_pointer(2643);
  if (needle == nullptr) str_fatal_null_pointer(2644);
  if (result == nullptr) str_fatal_null_pointer(2645);
  for (; *string != 0; ++string) {
    if (str_starts_with(string, needle)) {
      *result = string;
      return 1;
    }
  }
  *result = nullptr;
  return 0;
}
