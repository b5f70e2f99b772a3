// The error of a computation that ran out of room: a backing file (or its
// folder) that cannot be made, opened, read, written or cut, as on a full disk
// or in a folder without write permission. The library throws it where it
// would otherwise have to stop the process; every number and the workspace are
// usable again afterwards. Running out of memory throws std::bad_alloc.
#pragma once

#include <stdexcept>

namespace bignum {

class ResourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace bignum
