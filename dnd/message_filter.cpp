#include "dnd/message_filter.h"

std::vector<std::uint32_t> DropMessagesToAllow(std::int32_t osVersionWord) {
  if (osVersionWord < 0x600) return {};
  return {kWmDropFiles, kWmCopyData, kWmCopyGlobalData};
}
