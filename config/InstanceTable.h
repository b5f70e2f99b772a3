// Per-index singletons: a table of plain pointers for lookup beside a table of
// owners that keeps the objects alive until the table itself is destroyed.
#pragma once

#include <array>
#include <cstddef>
#include <stdexcept>

#include "tools/shared_ptr.h"

template <class T, int Size>
class InstanceTable {
 public:
  // The object of `index`, made by `make(index)` on first use. Refuses an
  // index outside 0 to Size - 1 with std::out_of_range.
  template <class Make>
  T* get(int index, Make make) {
    if (index < 0 || index >= Size) throw std::out_of_range("configuration store index out of range");
    const auto slot = static_cast<std::size_t>(index);  // checked above: 0 to Size - 1
    if (lookup_[slot] == nullptr) {
      T* made = make(index);
      owners_[slot] = V_odaza::shared_ptr<T>(made);
      lookup_[slot] = made;
    }
    return lookup_[slot];
  }

  // Destroys the object of `index` (if any); the next get() makes a new one.
  // Needs an index get() accepts: 0 to Size - 1.
  void clear(int index) {
    const auto slot = static_cast<std::size_t>(index);
    lookup_[slot] = nullptr;
    owners_[slot].reset();
  }

 private:
  std::array<T*, Size> lookup_{};
  std::array<V_odaza::shared_ptr<T>, Size> owners_;
};
