// Starting and stopping the core: the log path beside the executable, the lock, the options,
// the console and the banner.
#include "core_state.h"
#include "kelvane-core.h"
#include "kelvane-str.h"
#include "log_internal.h"

namespace {

const char kVersionText[] = "0.50";
const char kRevisionText[] = KELVANE_REVISION;

const char kLongPathPrefix[] = "\\\\?\\";
const char kNetworkPathPrefix[] = "\\\\?\\UNC\\";

int is_separator(char c) {
  return c == '\\' || c == '/';
}

// Copies exe_path into buffer in its ordinary form: "\\?\UNC\server\..." becomes
// "\\server\..." and "\\?\C:\..." becomes "C:\...".
void copy_ordinary_path(char* buffer, const char* exe_path) {
  if (str_starts_with(exe_path, kNetworkPathPrefix)) {
    str_copy(buffer, "\\\\", kCorePathSize);
    str_copy(buffer + 2, exe_path + sizeof kNetworkPathPrefix - 1, kCorePathSize - 2);
  } else if (str_starts_with(exe_path, kLongPathPrefix)) {
    str_copy(buffer, exe_path + sizeof kLongPathPrefix - 1, kCorePathSize);
  } else {
    str_copy(buffer, exe_path, kCorePathSize);
  }
}

// Cuts path after its last separator; a path without one has no directory part.
void keep_directory(char* path) {
  char* end = path;
  for (char* at = path; *at; at++) {
    if (is_separator(*at)) end = at + 1;
  }
  *end = '\0';
}

void write_banner() {
  if (kRevisionText[0] == '?') {
    log_printf("KelvaneCore v%s\n", kVersionText);
  } else {
    log_printf("KelvaneCore v%s (rev: %s)\n", kVersionText, kRevisionText);
  }
}

}  // namespace

void build_log_path(char* buffer, const char* exe_path, const char* name) {
  if (name[0] && name[1] == ':') {
    str_copy(buffer, name, kCorePathSize);
    return;
  }
  if (is_separator(name[0])) {
    str_copy(buffer, name, kCorePathSize);
    return;
  }
  copy_ordinary_path(buffer, exe_path);
  keep_directory(buffer);
  const char* file_name = str_length(name) < 2 ? "debug.log" : name;
  unsigned used = str_length(buffer);
  str_copy(buffer + used, file_name, kCorePathSize - used);
}

int core_init(const char* log_name, uint32_t options) {
  core_state.main_thread_id = os_thread_id();
  if (core_state.lock) {
    fatal_at(kCoreSourceFile, 975);
    fatal_error("Kelvanecore already initialized\n");
  }
  core_lock_create();
  if (!os_command_line()) {
    fatal_at(kCoreSourceFile, 979);
    fatal_error("Unable to retrieve commandline!\n");
  }
  char exe_path[kCorePathSize];
  os_module_path(exe_path, kCorePathSize);
  char log_path[kCorePathSize];
  build_log_path(log_path, exe_path, log_name ? log_name : "");
  return core_configure(log_path, options);
}

int core_configure(const char* log_path, uint32_t options) {
  core_lock();
  core_state.core_flags = options;
  str_copy(core_state.log_base_path, log_path, kCorePathSize);
  if ((options & CORE_LOG_PER_THREAD) && !(options & CORE_LOG_APPEND)) {
    fatal_at(kCoreSourceFile, 913);
    fatal_error("Threaded logging requires append to be on\n");
  }
  if (core_state.log_file) os_file_close(core_state.log_file);
  core_state.log_file = 0;
  if (options == 0) {
    core_unlock();
    return 1;
  }
  if ((options & CORE_LOG_CONSOLE) && !core_state.console) {
    core_state.console = os_console_open();
    os_console_set_title(core_state.log_base_path);
  }
  core_unlock();
  if (options & CORE_LOG_INFO) write_banner();
  return 1;
}

int core_shutdown() {
  if (core_state.log_file) os_file_close(core_state.log_file);
  core_state.log_file = 0;
  core_state.core_flags |= CORE_LOG_APPEND;
  core_lock_destroy();
  return 1;
}
