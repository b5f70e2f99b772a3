// Per-index singletons: a table of plain pointers for lookup beside a table of
// owners that keeps the objects alive until the table itself is destroyed.
#pragma once

#include <array>
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
    if (lookup_[index] == nullptr) {
      T* made = make(index);
      owners_[index] = V_odaza::shared_ptr<T>(made);
      lookup_[index] = made;
    }
    return lookup_[index];
  }

  // Destroys the object of `index` (if any); the next get() makes a new one.
  void clear(int index) {
    lookup_[index] = nullptr;
    owners_[index].reset();
  }

 private:
  std::array<T*, Size> lookup_{};
  std::array<V_odaza::shared_ptr<T>, Size> owners_;
};
