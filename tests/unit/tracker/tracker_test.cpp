#include "tracker.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>

#include "kelvane-core.h"
#include "kelvane-str.h"
#include "test_log.h"

namespace {

uint8_t* allocate(int32_t size) {
  return static_cast<uint8_t*>(tracked_alloc(size, 1, "tfile", 11));
}

void release(void* block, int32_t size) {
  tracked_free(block, size, 1, "tfile", 77);
}

std::string address_text(const void* address) {
  char text[32];
  std::snprintf(text, sizeof text, "%08" PRIXPTR, reinterpret_cast<uintptr_t>(address));
  return text;
}

std::string byte_list(const uint8_t* bytes, int count) {
  std::string text;
  char hex[8];
  for (int i = 0; i < count; i++) {
    std::snprintf(hex, sizeof hex, " %02X", bytes[i]);
    text += hex;
  }
  return text;
}

class TrackerTest : public ::testing::Test {
 protected:
  void SetUp() override { tracker_init(TRACKER_NO_LIMIT); }
};

using TrackerDeathTest = TrackerTest;

TEST(TrackerGuardTest, GuardBytesComeFromTheLow32BitsOfTheBlockAddress) {
  uint8_t guard[4];
  tracker_guard_bytes(0x45678, guard);
  EXPECT_EQ(byte_list(guard, 4), " B4 F0 52 03");
  tracker_guard_bytes(0xABCD00045678ull, guard);
  EXPECT_EQ(byte_list(guard, 4), " B4 F0 52 03");
}

TEST(TrackerGuardTest, BlockLengthOfTheLargestSizesDoesNotWrap) {
  EXPECT_EQ(tracker_block_length(0x7ffffff4), 0x7ffffffc);
  EXPECT_EQ(tracker_block_length(0x7fffffff), 0x80000008);
}

struct LayoutCase {
  int32_t size;
  int32_t block_length;
};

class TrackerLayoutTest : public TrackerTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(TrackerLayoutTest, BlockIsZeroedBetweenTwoEqualGuardsAndCounted) {
  const LayoutCase layout = GetParam();
  EXPECT_EQ(tracker_block_length(layout.size), layout.block_length);
  uint8_t* user = allocate(layout.size);
  EXPECT_EQ(tracker_state.block_count, 1);
  EXPECT_EQ(tracker_state.bytes_in_use, layout.block_length);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(user) % alignof(std::max_align_t), 0u);

  uint8_t guard[4];
  tracker_guard_bytes(reinterpret_cast<uintptr_t>(user - 4), guard);
  EXPECT_EQ(std::memcmp(user - 4, guard, 4), 0);
  EXPECT_EQ(std::memcmp(user + layout.block_length - 8, guard, 4), 0);
  for (int i = 0; i < layout.block_length - 8; i++) ASSERT_EQ(user[i], 0) << "byte " << i;

  // The bytes between the size and the end of the user area are never examined.
  std::memset(user + layout.size, 0x5A, layout.block_length - 8 - layout.size);
  EXPECT_EQ(tracked_free(user, layout.size, 1, "tfile", 77), nullptr);
  EXPECT_EQ(tracker_state.block_count, 0);
  EXPECT_EQ(tracker_state.bytes_in_use, 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, TrackerLayoutTest,
                         ::testing::Values(LayoutCase{1, 12}, LayoutCase{4, 12}, LayoutCase{5, 16},
                                           LayoutCase{32, 40}));

TEST_F(TrackerTest, PeaksAreSeparateMaximaAndInitResetsThemButNotTheAddressMarks) {
  uint8_t* first = allocate(1);   // 12
  uint8_t* second = allocate(5);  // 16: two blocks of 28 bytes
  release(first, 1);
  release(second, 5);
  uint8_t* third = allocate(100);  // one block of 108 bytes
  EXPECT_EQ(tracker_state.peak_blocks, 2);
  EXPECT_EQ(tracker_state.peak_bytes, 108);

  const uintptr_t lowest = tracker_state.lowest_address;
  const uintptr_t highest = tracker_state.highest_address;
  EXPECT_TRUE(tracker_address_valid(reinterpret_cast<uintptr_t>(third)));
  release(third, 100);
  tracker_init(TRACKER_NO_LIMIT);
  EXPECT_EQ(tracker_state.peak_blocks, 0);
  EXPECT_EQ(tracker_state.peak_bytes, 0);
  EXPECT_EQ(tracker_state.lowest_address, lowest);
  EXPECT_EQ(tracker_state.highest_address, highest);
  EXPECT_FALSE(tracker_address_valid(lowest - 1));
  EXPECT_FALSE(tracker_address_valid(highest + 1));
}

struct FatalCase {
  const char* name;
  std::function<void()> call;
  const char* message;  // matched against the fatal report, whose location is tfile/77 or /11
};

void PrintTo(const FatalCase& fatal, std::ostream* out) {
  *out << fatal.name;
}

class TrackerFatalTest : public TrackerTest, public ::testing::WithParamInterface<FatalCase> {};

TEST_P(TrackerFatalTest, ReportsAtTheCallersLocation) {
  EXPECT_EXIT(GetParam().call(), ::testing::ExitedWithCode(1), GetParam().message);
}

const FatalCase fatal_cases[] = {
    {"ZeroSizeAllocation", [] { allocate(0); },
     "ABORT: Invalid Memory Size \\(0\\)\n       \\(tfile/11\\)"},
    {"NegativeSizeAllocation", [] { allocate(-1); }, "Invalid Memory Size \\(-1\\)"},
    {"ZeroSizeFree", [] { release(allocate(4), 0); },
     "Invalid Memory Size \\(0\\)\n       \\(tfile/77\\)"},
    {"NullFree", [] { release(nullptr, 4); },
     "No Memory address to free \\(4 / 12\\)\n       \\(tfile/77\\)"},
    {"LimitPassed",
     [] {
       tracker_init(64);
       allocate(40);
       allocate(30);
     },
     "Memory exceeds limit \\(\\(48 \\+ 40\\) / 64\\)\n       \\(tfile/11\\)"},
    // A length or a sum beyond 31 bits is reported as passing the limit, never wrapped; a
    // length that does not fit is shown as 0x7fffffff.
    {"SumBeyond31Bits",
     [] {
       allocate(4);
       allocate(0x7ffffff4);
     },
     "Memory exceeds limit \\(\\(12 \\+ 2147483644\\) / 2147483647\\)"},
    {"LengthBeyond31Bits", [] { allocate(0x7fffffff); },
     "Memory exceeds limit \\(\\(0 \\+ 2147483647\\) / 2147483647\\)"},
    {"FreeOfSizeNoBlockCanHave", [] { release(allocate(4), 0x7ffffff5); },
     "Invalid Memory Size \\(2147483637\\)"},
    {"BelowEveryBlock",
     [] {
       allocate(4);
       release(reinterpret_cast<void*>(uintptr_t{16}), 4);
     },
     "Invalid memory address \\(4\\) <From:0x0+C To:0x0+10>\n       \\(tfile/77\\)"},
    {"AboveEveryBlockEnd",
     [] {
       allocate(4);
       release(reinterpret_cast<void*>(~uintptr_t{0} - 63), 4);
     },
     "Invalid memory address \\(4\\) <From:0xF+BC To:0xF+C0>"},
    {"FreeWithAnotherSize", [] { release(allocate(32), 4); },
     "Memory corrupt \\(4\\) <Addr:0x\\w+ Before:0 After:. Max:4>"},
};

INSTANTIATE_TEST_SUITE_P(Cases, TrackerFatalTest, ::testing::ValuesIn(fatal_cases),
                         [](const auto& info) { return std::string(info.param.name); });

struct CorruptionCase {
  const char* name;
  int damaged_offset;  // from the user area of a 5-byte block (block length 16)
  int before;
  int after;
};

class TrackerCorruptionTest : public TrackerTest,
                              public ::testing::WithParamInterface<CorruptionCase> {};

// The user area's address as the report shows it. On Windows the death test's child is a new
// process, so its block need not lie where the parent's does.
uintptr_t reported_address(const std::string& log) {
  const size_t at = log.find("Addr:0x");
  return at == std::string::npos ? 0 : std::strtoull(log.c_str() + at + 7, nullptr, 16);
}

TEST_P(TrackerCorruptionTest, FreeWritesTheReportLineByLineAndStops) {
  const CorruptionCase damage = GetParam();
  const std::string log_path = test_log_death_path();
  uint8_t* user = allocate(5);
  user[damage.damaged_offset] ^= 0x01;

  EXPECT_EXIT(
      {
        core_configure(log_path.c_str(), CORE_LOG_FILE);
        release(user, 5);
      },
      ::testing::ExitedWithCode(1), "Memory corrupt \\(5\\).*\n       \\(tfile/77\\)");
  user[damage.damaged_offset] ^= 0x01;
  release(user, 5);

  const std::string log = test_log_read(log_path);
  std::filesystem::remove(log_path);
  const uintptr_t child_user = reported_address(log);
  ASSERT_NE(child_user, 0u) << log;
  uint8_t guard[4];
  tracker_guard_bytes(child_user - 4, guard);
  uint8_t leading[8] = {guard[0], guard[1], guard[2], guard[3], 0, 0, 0, 0};
  uint8_t trailing[4] = {guard[0], guard[1], guard[2], guard[3]};
  if (damage.before) leading[4 + damage.damaged_offset] ^= 0x01;
  if (damage.after) trailing[damage.damaged_offset - 8] ^= 0x01;
  char summary[128];
  std::snprintf(
      summary, sizeof summary, "Memory corrupt (5) <Addr:0x%s Before:%d After:%d Max:4>\n",
      address_text(reinterpret_cast<void*>(child_user)).c_str(), damage.before, damage.after);
  std::string expected = std::string(summary) + "Expected:" + byte_list(guard, 4) + "\n";
  if (damage.before) expected += "Prior corruption:" + byte_list(leading, 8) + "\n";
  if (damage.after) expected += "After corruption:" + byte_list(trailing, 4) + "\n";
  expected += std::string("\n\nABORT: ") + summary + "       (tfile/77)\n";
  EXPECT_EQ(log, expected);
}

INSTANTIATE_TEST_SUITE_P(Damage, TrackerCorruptionTest,
                         ::testing::Values(CorruptionCase{"TrailingGuard", 8, 0, 1},
                                           CorruptionCase{"LeadingGuard", -1, 1, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

std::string rule(const char* name) {
  std::string line = name ? std::string("====[") + name + "]" : "====";
  return line + std::string(79 - line.size(), '=') + "\n";
}

TEST(TrackerLogTest, InitLogsTheLimitBetweenRules) {
  EXPECT_EQ(test_log_added_by([] { tracker_init(TRACKER_NO_LIMIT); }),
            rule("Memory Init") + "Memory Initialized (Maximum)\n" + rule(nullptr));
  EXPECT_EQ(test_log_added_by([] { tracker_init(65536 + 1023); }),
            rule("Memory Init") + "Memory Initialized (limit 64k)\n" + rule(nullptr));
}

struct LeakCase {
  int32_t size;  // of the one block left allocated (0: none)
  const char* peak;
  const char* warning;
};

class TrackerLeakTest : public ::testing::TestWithParam<LeakCase> {};

TEST_P(TrackerLeakTest, ShutdownLogsPeaksAndWarnsInBytesOrWholeKilobytes) {
  test_log_start();
  tracker_init(TRACKER_NO_LIMIT);
  const LeakCase leak = GetParam();
  uint8_t* kept = leak.size ? allocate(leak.size) : nullptr;
  release(allocate(2040), 2040);  // a block of 2048 bytes
  EXPECT_EQ(test_log_added_by([] { tracker_shutdown(); }),
            rule("Memory Remove") + leak.peak + leak.warning + rule(nullptr));
  if (kept) release(kept, leak.size);
}

// Block lengths 1000, 1024 and 2044 are left in use.
INSTANTIATE_TEST_SUITE_P(Remaining, TrackerLeakTest,
                         ::testing::Values(LeakCase{0, "Maximum Memory in use (1 / 2k)\n", ""},
                                           LeakCase{992, "Maximum Memory in use (2 / 2k)\n",
                                                    "Not all memory was free'd (1 / 1000b)\n"},
                                           LeakCase{1016, "Maximum Memory in use (2 / 3k)\n",
                                                    "Not all memory was free'd (1 / 1k)\n"},
                                           LeakCase{2036, "Maximum Memory in use (2 / 3k)\n",
                                                    "Not all memory was free'd (1 / 1k)\n"}));

}  // namespace
