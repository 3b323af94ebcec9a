// Start-up option words: "-word" or "/word" on the command line, in any letter case, ending
// at a space or at the end of the text.
#include "core_state.h"
#include "kelvane-core.h"
#include "kelvane-str.h"

namespace {

struct OptionWord {
  const char* word;
  uint32_t bits;
};

const OptionWord kOptionWords[] = {
    {"debug", CORE_LOG_FILE | CORE_LOG_INFO},
    {"perthread", CORE_LOG_PER_THREAD | CORE_LOG_APPEND},
    {"unique", CORE_LOG_DATED | CORE_LOG_APPEND | CORE_LOG_INFO | CORE_LOG_FILE},
    {"window", CORE_LOG_CONSOLE},
    {"cachewrites", CORE_LOG_CACHE_WRITES},
    {"timestamp", CORE_LOG_TIMESTAMP},
    {"append", CORE_LOG_APPEND},
    {"externalprint", CORE_LOG_EXTERNAL},
};

int counts_as_option(const char* command_line, const char* at, unsigned word_length) {
  if (at == command_line) return 0;
  char before = at[-1];
  char after = at[word_length];
  return (before == '-' || before == '/') && (after == ' ' || after == '\0');
}

}  // namespace

int find_option(const char* command_line, const char* word) {
  if (!command_line) {
    fatal_at(kCoreSourceFile, 2226);
    fatal_error("Pointer is NULL\n");
  }
  if (!word) {
    fatal_at(kCoreSourceFile, 2227);
    fatal_error("Pointer is NULL\n");
  }
  unsigned word_length = str_length(word);
  const char* at = nullptr;
  for (const char* from = command_line; str_find(from, word, &at); from = at + 1) {
    if (counts_as_option(command_line, at, word_length)) return 1;
  }
  return 0;
}

int core_parse_options(uint32_t* options, const char* command_line) {
  if (!options) return 0;
  uint32_t found = 0;
  for (const OptionWord& option : kOptionWords) {
    if (find_option(command_line, option.word)) found |= option.bits;
  }
  *options = found;
  return 1;
}
