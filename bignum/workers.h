// The worker threads of the transforms. They are started when a transform
// first splits its rows and then wait, parked, for the next row set: creating
// a thread costs tens of microseconds, which would make mid-size products
// slower with more threads instead of faster.
#pragma once

#include <cstddef>
#include <functional>

namespace bignum {

// Runs job(t) for every t below `threads`: job(threads - 1) on the calling
// thread, the others on workers, and returns when all are done. A worker that
// cannot be started stops the process ("handles[t]", source "transform").
// Only one thread may call this at a time. Jobs must not throw: the transform
// jobs only compute on words in memory, with every buffer and table made
// before (the disk transforms, which read and write files, run on the calling
// thread alone), so no allocation or file error can arise on a worker.
void runOnWorkers(std::size_t threads, const std::function<void(std::size_t)>& job);

}  // namespace bignum
