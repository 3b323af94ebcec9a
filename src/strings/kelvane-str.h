// Kelvane core: bounded zero-terminated 8-bit strings and the bounded formatter.
#pragma once

#include <cstdarg>
#include <cstdint>

// Formats into buffer, never storing past size bytes and always terminating what it stored.
// Returns the number of characters before the terminator; an overrun is reported to the log.
int bounded_format(char* buffer, int size, const char* format, ...);
int bounded_vformat(char* buffer, int size, const char* format, va_list args);

unsigned str_length(const char* string);
// Copies at most size - 1 characters and terminates; 1 when the whole source fitted.
int str_copy(char* destination, const char* source, unsigned size);
int str_copy_unbounded(char* destination, const char* source);
int str_concat(char* destination, const char* source);
// Comparisons ignore the case of ASCII letters.
int str_equal(const char* first, const char* second);
int str_starts_with(const char* string, const char* prefix);
int str_find(const char* string, const char* needle, const char** result);
