#include "bignum/largebuffer.h"

#include <sys/mman.h>

#include <cstdlib>

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
constexpr std::size_t kKept = 8;
Block kept[kKept];
std::size_t keptCount = 0;
std::size_t keptBytes = 0;

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
  for (std::size_t i = keptCount; i-- > 0;) {
    if (kept[i].bytes != rounded) continue;
    void* address = kept[i].address;
    forget(i);
    return address;
  }
  const std::size_t alignment = granule(rounded) == kHugePage ? kHugePage : 64;
  void* address = std::aligned_alloc(alignment, rounded);
  if (address == nullptr) {
    dropCachedLarge();
    address = std::aligned_alloc(alignment, rounded);
    if (address == nullptr) return nullptr;
  }
  if (alignment == kHugePage) ::madvise(address, rounded, MADV_HUGEPAGE);
  return address;
}

void releaseLarge(void* buffer, std::size_t bytes) {
  const std::size_t rounded = roundUp(bytes);
  const std::size_t budget = 2 * limits().Maxblocksize * 4;
  if (rounded > budget) {
    std::free(buffer);
    return;
  }
  while (keptCount > 0 && (keptCount == kKept || keptBytes + rounded > budget)) {
    std::free(kept[0].address);
    forget(0);
  }
  kept[keptCount++] = Block{buffer, rounded};
  keptBytes += rounded;
}

void dropCachedLarge() {
  for (std::size_t i = 0; i < keptCount; ++i) std::free(kept[i].address);
  keptCount = 0;
  keptBytes = 0;
}

}  // namespace bignum
