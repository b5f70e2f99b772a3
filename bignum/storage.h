// Mantissa storage: arrays of 32-bit words held in memory or, when long, in a
// file of their own in the process's private folder (see scratch.h), always
// reached through access windows so that the caller need not know which. Also
// the word allocator, which lends out the one large workspace for buffers
// above Memorythreshold words.
//
// Failures throw: ResourceError when a file cannot be made, opened, read,
// written or cut, std::bad_alloc when memory runs out. Whatever throws leaves
// the storages it was given as they were, with no window open that it opened,
// and the workspace lent out only where it was before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

namespace bignum {

// Storage locations; DEFAULT chooses DISK above Memorythreshold words, else MEMORY.
inline constexpr int MEMORY = 0;
inline constexpr int DISK = 1;
inline constexpr int DEFAULT = -1;

// A buffer of `words` words (aligned to 64 bytes from 32 KiB on). Up to Memorythreshold words
// it is fresh heap memory (null for 0 words; std::bad_alloc when there is none);
// above that the workspace is lent out, which must be free ("!workspaceused")
// and large enough ("size <= Maxblocksize").
std::uint32_t* allocateWords(std::size_t words);
// Gives back a buffer of `words` words from allocateWords(): the workspace
// becomes free again, anything else is freed.
void releaseWords(std::uint32_t* buffer, std::size_t words);
// Whether the workspace is lent out.
bool workspaceInUse();
// The words of all buffers from allocateWords() on the heap not yet given back
// (mantissas in memory, caches, scratch of running computations).
std::size_t heapWordsInUse();

// The storage of one mantissa. At most one access window is open at a time.
// Backing files are named by an eight-digit counter, "00000000.num" and on, in
// the private folder, hold the words in order as 4 little-endian bytes each,
// and exist exactly as long as their storage (a DISK storage always has one).
// A storage destroyed while a window is open, which only an exception may
// cause, drops the window.
class datastruct {
 public:
  // `size` words at `location`. A given `data` array (from allocateWords(size))
  // is taken over; otherwise the words are zero when `fill` is set.
  explicit datastruct(std::size_t size, std::uint32_t* data = nullptr, int location = DEFAULT, bool fill = true);
  // A copy of the first min(count, source size) words of `source`, followed by
  // zeros up to `total` words, at `location` (DEFAULT: the source's).
  datastruct(datastruct& source, std::size_t count, int location, std::size_t total);
  datastruct(const datastruct&) = delete;
  datastruct& operator=(const datastruct&) = delete;
  virtual ~datastruct();

  std::size_t size() const { return size_; }
  int location() const { return location_; }
  bool gotdata() const { return gotdata_; }
  // The whole array of a MEMORY storage (null for size 0).
  std::uint32_t* memoryData() const { return location_ == MEMORY ? data_ : nullptr; }
  // The backing file's path (DISK only).
  std::string fileName() const;

  // Windows over words [position, position + length). In memory they point into
  // the array; on disk they are buffers read from (or to be written to) the file.
  // Words changed in a read window are stored by closing it with writeback().
  std::uint32_t* getreadwindow(std::size_t position, std::size_t length);
  std::uint32_t* getwritewindow(std::size_t position, std::size_t length);
  void clearreadwindow();
  // Closes a write (or read) window, writing a disk buffer back to the file.
  // The window is closed even when that write fails (and throws).
  void writeback();
  // Closes the open window without storing anything; for unwinding.
  void dropwindow() noexcept;

  // Changes the number of words: the first min(old, new) words stay, new ones are zero.
  void resize(std::size_t newSize);
  // Moves the words to `location` (DEFAULT: by the new size), keeping the first
  // min(old, new) words and adding zeros when growing.
  void relocate(int location = DEFAULT, std::size_t newSize = keepSize);
  static constexpr std::size_t keepSize = ~std::size_t{0};

  // Takes over the words of `other` (memory or file), which is left empty, in
  // memory; what this storage held before is released. No window may be open.
  void takeStorage(datastruct& other);

  // Direct access to the backing file for the disk transforms: the file stays
  // open until closestream(). DISK only ("location != MEMORY").
  int openstream();
  void closestream();

 private:
  // Short arrays in memory live inside the storage itself.
  static constexpr std::size_t kInlineWords = 20;
  std::uint32_t* newArray(std::size_t words);
  std::size_t capacityOf(const std::uint32_t* array, std::size_t words) const {
    return array == inline_ ? kInlineWords : words;
  }
  void freeArray(std::uint32_t* words, std::size_t count);
  std::uint32_t* openWindow(std::size_t position, std::size_t length, bool read);
  void createFile(const std::uint32_t* words, std::size_t count, std::size_t total);
  void readFile(std::size_t position, std::size_t length, std::uint32_t* into);
  void writeFile(std::size_t position, std::size_t length, const std::uint32_t* from);
  void setFileLength(std::size_t words);
  void removeFile();

  std::size_t size_ = 0;
  std::size_t capacity_ = 0;  // MEMORY: words of the array (it may hold more than size_)
  int location_ = MEMORY;
  std::uint32_t* data_ = nullptr;  // MEMORY: the array; DISK: the open window's buffer
  bool gotdata_ = false;
  std::size_t position_ = 0;      // DISK window
  std::size_t windowLength_ = 0;  // DISK window
  std::uint32_t fileNumber_ = 0;  // DISK
  int stream_ = -1;               // DISK, open between openstream() and closestream()
  std::uint32_t inline_[kInlineWords];
};

// Drops, when the scope is left by an exception, the window then open on a
// storage that the scope uses but does not own; on the normal way out the
// code has closed its windows itself and the guard does nothing.
class WindowGuard {
 public:
  explicit WindowGuard(datastruct& storage) : storage_(storage), exceptions_(std::uncaught_exceptions()) {}
  ~WindowGuard() {
    if (std::uncaught_exceptions() > exceptions_ && storage_.gotdata()) storage_.dropwindow();
  }
  WindowGuard(const WindowGuard&) = delete;
  WindowGuard& operator=(const WindowGuard&) = delete;

 private:
  datastruct& storage_;
  int exceptions_;
};

// Copies `length` words from `source` at `sourcePosition` to `target` at
// `targetPosition`, in windows of Blocksize words. The two must be different storages.
void copyWords(datastruct& target, std::size_t targetPosition, datastruct& source, std::size_t sourcePosition,
               std::size_t length);
// The number of zero words at the end of the first `count` words.
std::size_t trailingZeroWords(datastruct& storage, std::size_t count);

// Reads or writes `words` words at word `position` of an open stream; throws
// ResourceError when not all of them can be transferred.
void streamRead(int stream, std::size_t position, std::size_t words, std::uint32_t* into);
void streamWrite(int stream, std::size_t position, std::size_t words, const std::uint32_t* from);

}  // namespace bignum
