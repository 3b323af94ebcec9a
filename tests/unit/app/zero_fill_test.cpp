// Zeroing a slice: exactly its bytes, on both the cached and the streaming path, whatever the
// alignment of its start and end.
#include "zero_fill.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ZeroFill, WritesExactlyTheGivenBytes) {
  const uint64_t sizes[] = {
      0, 1, 87, (uint64_t{1} << 20) - 1, uint64_t{1} << 20, (uint64_t{1} << 20) + 21};
  const uint64_t offsets[] = {0, 3, 16};
  for (uint64_t size : sizes) {
    for (uint64_t offset : offsets) {
      SCOPED_TRACE(testing::Message() << size << " bytes at +" << offset);
      std::vector<uint8_t> buffer(size + 64, 0xAA);
      zero_fill(buffer.data() + offset, size);
      uint64_t wrong = 0;
      for (uint64_t i = 0; i < buffer.size(); ++i) {
        bool inside = i >= offset && i < offset + size;
        wrong += buffer[i] != (inside ? 0 : 0xAA);
      }
      EXPECT_EQ(wrong, 0u);
    }
  }
}

}  // namespace
