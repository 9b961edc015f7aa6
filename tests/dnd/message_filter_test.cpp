#include "dnd/message_filter.h"

#include <gtest/gtest.h>

namespace {

TEST(DropMessageFilter, OnlyFromVersion6OnInOrder) {
  const std::vector<std::uint32_t> allowed = {0x233, 0x4A, 0x49};
  const struct {
    std::int32_t version;
    bool changes;
  } cases[] = {{0, false},     {0x500, false}, {0x501, false}, {0x502, false}, {0x5FF, false},
               {0x600, true},  {0x601, true},  {0x602, true},  {0xA00, true}};
  for (const auto& c : cases) {
    EXPECT_EQ(DropMessagesToAllow(c.version), c.changes ? allowed : std::vector<std::uint32_t>{}) << c.version;
  }
}

}  // namespace
