// Heap buffers of kLargeBuffer bytes and more, with a few recently freed ones
// kept for the next request of a size they fit, so that a run of long products
// does not fault in and clear fresh pages for every working vector. Buffers of
// 2 MiB and more are aligned to and backed by huge pages where the system
// offers them.
#pragma once

#include <cstddef>

namespace bignum {

inline constexpr std::size_t kHugePage = std::size_t{2} << 20;
inline constexpr std::size_t kLargeBuffer = std::size_t{32} << 10;

// A buffer of at least `bytes` bytes, or null when out of memory.
void* allocateLarge(std::size_t bytes);
// Gives back a buffer from allocateLarge().
void releaseLarge(void* buffer);
// Frees the buffers kept for reuse.
void dropCachedLarge();

}  // namespace bignum
