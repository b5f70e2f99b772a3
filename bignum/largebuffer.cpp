#include "bignum/largebuffer.h"

#include <sys/mman.h>

#include <cstdlib>
#include <unordered_map>

#include "bignum/init.h"

namespace bignum {

namespace {

struct Block {
  void* address;
  std::size_t bytes;
};

// Freed buffers kept for reuse, oldest first: at most kKept of them and at
// most twice the workspace in all. A plain array, so that it can be emptied at
// exit whatever the order of static destruction.
constexpr std::size_t kKept = 24;
Block kept[kKept];
std::size_t keptCount = 0;
std::size_t keptBytes = 0;

// The size of every buffer handed out. Never destroyed, for the same reason.
std::unordered_map<void*, std::size_t>& live() {
  static auto* sizes = new std::unordered_map<void*, std::size_t>;
  return *sizes;
}

constexpr std::size_t kPage = 4096;
std::size_t granule(std::size_t bytes) { return bytes >= kHugePage ? kHugePage : kPage; }
std::size_t roundUp(std::size_t bytes) { return (bytes + granule(bytes) - 1) / granule(bytes) * granule(bytes); }

void forget(std::size_t i) {
  keptBytes -= kept[i].bytes;
  for (std::size_t j = i + 1; j < keptCount; ++j) kept[j - 1] = kept[j];
  --keptCount;
}

}  // namespace

void* allocateLarge(std::size_t bytes) {
  const std::size_t rounded = roundUp(bytes);
  // The smallest kept buffer that is large enough without wasting half of itself.
  std::size_t best = keptCount;
  for (std::size_t i = 0; i < keptCount; ++i)
    if (kept[i].bytes >= rounded && kept[i].bytes / 2 < rounded &&
        (best == keptCount || kept[i].bytes < kept[best].bytes))
      best = i;
  if (best < keptCount) {
    const Block block = kept[best];
    forget(best);
    live()[block.address] = block.bytes;
    return block.address;
  }
  const std::size_t alignment = granule(rounded) == kHugePage ? kHugePage : 64;
  void* address = std::aligned_alloc(alignment, rounded);
  if (address == nullptr) {
    dropCachedLarge();
    address = std::aligned_alloc(alignment, rounded);
    if (address == nullptr) return nullptr;
  }
  if (alignment == kHugePage) ::madvise(address, rounded, MADV_HUGEPAGE);
  live()[address] = rounded;
  return address;
}

void releaseLarge(void* buffer) {
  auto it = live().find(buffer);
  if (it == live().end()) return;
  const std::size_t bytes = it->second;
  live().erase(it);
  // Only buffers within the library's memory budget are kept.
  const std::size_t budget = 2 * limits().Maxblocksize * 4;
  if (bytes > budget) {
    std::free(buffer);
    return;
  }
  while (keptCount > 0 && (keptCount == kKept || keptBytes + bytes > budget)) {
    std::free(kept[0].address);
    forget(0);
  }
  kept[keptCount++] = Block{buffer, bytes};
  keptBytes += bytes;
}

void dropCachedLarge() {
  for (std::size_t i = 0; i < keptCount; ++i) std::free(kept[i].address);
  keptCount = 0;
  keptBytes = 0;
}

}  // namespace bignum
