// The debug log of a test process, kept in temporary files so that tests can read it back.
#pragma once

#include <functional>
#include <string>

// Starts the core once per process, logging to a file of its own with CORE_LOG_FILE and
// CORE_LOG_INFO; returns that file's path. The file is removed when the tests end.
const std::string& test_log_start();

// A log file for a death test's child, with the same path in the parent and in the child (on
// Windows the child is a new process). The child switches to it with core_configure before it
// dies; the parent reads it afterwards and removes it.
std::string test_log_death_path();

// The file's contents with CR LF turned into LF; empty when it cannot be read.
std::string test_log_read(const std::string& path);

// What step adds to the log that test_log_start began.
std::string test_log_added_by(const std::function<void()>& step);
