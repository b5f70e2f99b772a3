// Reference-counted owner for the program's singletons (the evaluator, the
// per-index configuration stores). Deliberately small: one owned object, one
// separately allocated plain integer count, no locking. Everything runs on one
// thread, so the count is not atomic.
#pragma once

#include <utility>

// GCC 12 cannot see that a count is freed only by its last owner and warns of a
// use after free wherever several owners die in one inlined function.
#if defined(__GNUC__) && !defined(__clang__) && __GNUC__ >= 12
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wuse-after-free"
#define V_ODAZA_POP_DIAGNOSTICS
#endif

namespace V_odaza {

template <class T>
class shared_ptr {
 public:
  // An empty owner: both the object and the count pointer are null.
  shared_ptr() noexcept = default;

  // Takes ownership of `object` (which may be null: the owner is then empty).
  // If the count cannot be allocated the object is deleted and the failure passed on.
  explicit shared_ptr(T* object) : object_(object) {
    if (object_ == nullptr) return;
    try {
      count_ = new int(1);
    } catch (...) {
      delete object_;
      object_ = nullptr;
      throw;
    }
  }

  // Shares the other owner's object; the count goes up by one.
  shared_ptr(const shared_ptr& other) noexcept : object_(other.object_), count_(other.count_) {
    if (count_ != nullptr) ++*count_;
  }

  // Lets go of the current object first, then shares the other's.
  // Assigning an owner to itself (or to another owner of the same object) changes nothing.
  shared_ptr& operator=(const shared_ptr& other) noexcept {
    if (this == &other || (object_ == other.object_ && count_ == other.count_)) return *this;
    shared_ptr keep(other);  // `other` may be owned by the object we are about to let go of
    release();
    std::swap(object_, keep.object_);
    std::swap(count_, keep.count_);
    return *this;
  }

  virtual ~shared_ptr() { release(); }

  // Lets go of the object and becomes empty. The last owner deletes the object
  // through its (virtual) destructor and frees the count.
  void reset() noexcept { release(); }

  T* get() const noexcept { return object_; }
  T& operator*() const noexcept { return *object_; }
  T* operator->() const noexcept { return object_; }
  explicit operator bool() const noexcept { return object_ != nullptr; }

  // Number of owners sharing the object; 0 for an empty owner.
  int use_count() const noexcept { return count_ != nullptr ? *count_ : 0; }

 private:
  void release() noexcept {
    T* object = object_;
    int* count = count_;
    object_ = nullptr;
    count_ = nullptr;
    if (count != nullptr && --*count == 0) {
      delete count;
      delete object;
    }
  }

  T* object_ = nullptr;
  int* count_ = nullptr;
};

}  // namespace V_odaza

#ifdef V_ODAZA_POP_DIAGNOSTICS
#pragma GCC diagnostic pop
#undef V_ODAZA_POP_DIAGNOSTICS
#endif
