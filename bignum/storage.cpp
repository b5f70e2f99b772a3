#include "bignum/storage.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

#include "bignum/check.h"
#include "bignum/init.h"
#include "bignum/largebuffer.h"
#include "bignum/resource_error.h"
#include "bignum/scratch.h"

static_assert(std::endian::native == std::endian::little, "backing files hold little-endian words");

namespace bignum {

namespace {

constexpr const char* kStorage = "storage";

bool workspaceLent = false;

[[noreturn]] void fail(const char* what) {
  const int error = errno;
  throw ResourceError(std::string(what) + ": " + std::strerror(error));
}

// Loops until all bytes are transferred; false (errno set) on any error or end of file.
bool transferAll(int fd, std::size_t offset, std::size_t bytes, void* buffer, bool reading) {
  auto* p = static_cast<char*>(buffer);
  while (bytes > 0) {
    const ssize_t done = reading ? ::pread(fd, p, bytes, static_cast<off_t>(offset))
                                 : ::pwrite(fd, p, bytes, static_cast<off_t>(offset));
    if (done < 0 && errno == EINTR) continue;
    if (done == 0) errno = reading ? ENODATA : ENOSPC;
    if (done <= 0) return false;
    p += done;
    offset += static_cast<std::size_t>(done);
    bytes -= static_cast<std::size_t>(done);
  }
  return true;
}

// A descriptor, closed with its owner; close() reports a failure to close.
class File {
 public:
  explicit File(int fd) : fd_(fd) {}
  ~File() {
    if (fd_ >= 0) ::close(fd_);
  }
  File(const File&) = delete;
  File& operator=(const File&) = delete;
  int get() const { return fd_; }
  void close() {
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && errno != EINTR) fail("cannot close a file of a long number");
  }

 private:
  int fd_;
};

// Cuts the file to `words` words, or extends it with zero words.
void setLength(int fd, std::size_t words) {
  if (::ftruncate(fd, static_cast<off_t>(words * 4)) != 0) fail("cannot change the length of a file of a long number");
}

}  // namespace

namespace {
// Worker threads of the transforms allocate too.
std::atomic<std::size_t> heapWords{0};
}  // namespace

std::size_t heapWordsInUse() { return heapWords.load(std::memory_order_relaxed); }

std::uint32_t* allocateWords(std::size_t words) {
  const Limits& l = limits();
  if (words <= l.Memorythreshold) {
    if (words == 0) return nullptr;
    // Short buffers from the plain heap; long ones, which the transforms use,
    // aligned and kept for reuse.
    const std::size_t bytes = words * 4;
    void* buffer = bytes >= kLargeBuffer ? allocateLarge(bytes) : std::malloc(bytes);
    if (buffer == nullptr) throw std::bad_alloc();
    heapWords.fetch_add(words, std::memory_order_relaxed);
    return static_cast<std::uint32_t*>(buffer);
  }
  BIGNUM_CHECK(!workspaceLent, "!workspaceused", "modint");
  BIGNUM_CHECK(words <= l.Maxblocksize, "size <= Maxblocksize", "modint");
  workspaceLent = true;
  return workspace();
}

void releaseWords(std::uint32_t* buffer, std::size_t words) {
  if (buffer == nullptr) return;
  if (buffer == workspace()) {
    BIGNUM_CHECK(workspaceLent, "workspaceused", "modint");
    workspaceLent = false;
    return;
  }
  heapWords.fetch_sub(words, std::memory_order_relaxed);
  if (words * 4 >= kLargeBuffer)
    releaseLarge(buffer);
  else
    std::free(buffer);
}

bool workspaceInUse() { return workspaceLent; }

void streamRead(int stream, std::size_t position, std::size_t words, std::uint32_t* into) {
  if (!transferAll(stream, position * 4, words * 4, into, true)) fail("cannot read a file of a long number");
}

void streamWrite(int stream, std::size_t position, std::size_t words, const std::uint32_t* from) {
  if (!transferAll(stream, position * 4, words * 4, const_cast<std::uint32_t*>(from), false))
    fail("cannot write a file of a long number");
}

// --- datastruct ------------------------------------------------------------

std::string datastruct::fileName() const { return scratchFilePath(fileNumber_); }

// A new file of `total` words, the first `count` from `words`, the rest zero.
// Nothing changes when it fails.
void datastruct::createFile(const std::uint32_t* words, std::size_t count, std::size_t total) {
  const ScratchFile created = createScratchFile();
  try {
    File file(created.fd);
    if (count > 0) streamWrite(file.get(), 0, count, words);
    if (total > count) setLength(file.get(), total);
    file.close();
  } catch (...) {
    removeScratchFile(created.number);
    throw;
  }
  fileNumber_ = created.number;
}

void datastruct::readFile(std::size_t position, std::size_t length, std::uint32_t* into) {
  File file(openScratchFile(fileNumber_, O_RDONLY));
  streamRead(file.get(), position, length, into);
  file.close();
}

void datastruct::writeFile(std::size_t position, std::size_t length, const std::uint32_t* from) {
  File file(openScratchFile(fileNumber_, O_RDWR));
  streamWrite(file.get(), position, length, from);
  file.close();
}

// Cuts the file, or extends it with zero words.
void datastruct::setFileLength(std::size_t words) {
  File file(openScratchFile(fileNumber_, O_RDWR));
  setLength(file.get(), words);
  file.close();
}

void datastruct::removeFile() { removeScratchFile(fileNumber_); }

std::uint32_t* datastruct::newArray(std::size_t words) {
  if (words == 0) return nullptr;
  return words <= kInlineWords ? inline_ : allocateWords(words);
}

void datastruct::freeArray(std::uint32_t* words, std::size_t count) {
  if (words != inline_) releaseWords(words, count);
}

datastruct::datastruct(std::size_t size, std::uint32_t* data, int location, bool fill) : size_(size) {
  location_ = location == DEFAULT ? (size > limits().Memorythreshold ? DISK : MEMORY) : location;
  if (location_ == MEMORY) {
    if (size == 0) {
      releaseWords(data, 0);
    } else if (data != nullptr) {
      data_ = data;
      capacity_ = size;
    } else {
      data_ = newArray(size);
      capacity_ = capacityOf(data_, size);
      if (fill) std::memset(data_, 0, size * 4);
    }
    return;
  }
  // On disk: the words (or zeros) go to a new file. Without `fill` the file is
  // still as long as the mantissa, so that every window can be read.
  try {
    createFile(data, data != nullptr ? size : 0, size);
  } catch (...) {
    releaseWords(data, size);
    throw;
  }
  releaseWords(data, size);
}

datastruct::datastruct(datastruct& source, std::size_t count, int location, std::size_t total) : size_(total) {
  const Limits& l = limits();
  location_ = location == DEFAULT ? source.location() : location;
  const std::size_t copied = std::min({count, source.size(), total});
  if (location_ == MEMORY) {
    data_ = newArray(total);
    capacity_ = capacityOf(data_, total);
    try {
      for (std::size_t done = 0; done < copied;) {
        const std::size_t n = std::min(l.Blocksize, copied - done);
        std::memcpy(data_ + done, source.getreadwindow(done, n), n * 4);
        source.clearreadwindow();
        done += n;
      }
    } catch (...) {
      freeArray(data_, capacity_);
      throw;
    }
    if (total > copied) std::memset(data_ + copied, 0, (total - copied) * 4);
    return;
  }
  // A disk target is written straight through its file; a disk source is read
  // in heap-sized windows so that the workspace is not needed twice.
  const ScratchFile created = createScratchFile();
  try {
    File file(created.fd);
    WindowGuard guard(source);
    const std::size_t chunk = source.location() == DISK ? l.Blocksize : l.Maxblocksize;
    for (std::size_t done = 0; done < copied;) {
      const std::size_t n = std::min(chunk, copied - done);
      streamWrite(file.get(), done, n, source.getreadwindow(done, n));
      source.clearreadwindow();
      done += n;
    }
    setLength(file.get(), total);
    file.close();
  } catch (...) {
    removeScratchFile(created.number);
    throw;
  }
  fileNumber_ = created.number;
}

datastruct::~datastruct() {
  if (gotdata_) {
    // Only a computation abandoned through an exception leaves a window open.
    BIGNUM_CHECK(std::uncaught_exceptions() > 0, "!gotdata", kStorage);
    dropwindow();
  }
  if (location_ == MEMORY) {
    freeArray(data_, capacity_);
  } else {
    if (stream_ >= 0) ::close(stream_);
    removeFile();
  }
}

std::uint32_t* datastruct::openWindow(std::size_t position, std::size_t length, bool read) {
  BIGNUM_CHECK(!gotdata_, "!gotdata", kStorage);
  if (location_ == MEMORY) {
    gotdata_ = true;
    return data_ == nullptr ? nullptr : data_ + position;
  }
  BIGNUM_CHECK(data_ == nullptr, "!data", kStorage);
  std::uint32_t* buffer = allocateWords(length);
  if (read && length > 0) {
    try {
      readFile(position, length, buffer);
    } catch (...) {
      releaseWords(buffer, length);
      throw;
    }
  }
  gotdata_ = true;
  position_ = position;
  windowLength_ = length;
  data_ = buffer;
  return data_;
}

std::uint32_t* datastruct::getreadwindow(std::size_t position, std::size_t length) {
  return openWindow(position, length, true);
}

std::uint32_t* datastruct::getwritewindow(std::size_t position, std::size_t length) {
  return openWindow(position, length, false);
}

void datastruct::clearreadwindow() {
  BIGNUM_CHECK(gotdata_, "gotdata", kStorage);
  dropwindow();
}

void datastruct::writeback() {
  BIGNUM_CHECK(gotdata_, "gotdata", kStorage);
  if (location_ == DISK && windowLength_ > 0) {
    BIGNUM_CHECK(data_ != nullptr, "data", kStorage);
    try {
      writeFile(position_, windowLength_, data_);
    } catch (...) {
      dropwindow();
      throw;
    }
  }
  dropwindow();
}

void datastruct::dropwindow() noexcept {
  if (!gotdata_) return;
  gotdata_ = false;
  if (location_ == MEMORY) return;
  releaseWords(data_, windowLength_);
  data_ = nullptr;
}

void datastruct::resize(std::size_t newSize) {
  BIGNUM_CHECK(!gotdata_, "!gotdata", kStorage);
  if (newSize == size_) return;
  if (location_ == DISK) {
    setFileLength(newSize);
    size_ = newSize;
    return;
  }
  // Within the array already there, unless that array is the workspace: a
  // short number must not keep the one workspace from the next long buffer.
  if (newSize <= capacity_ && (data_ != workspace() || newSize == 0)) {
    if (newSize > size_) std::memset(data_ + size_, 0, (newSize - size_) * 4);
    size_ = newSize;
    if (newSize == 0) {
      freeArray(data_, capacity_);
      data_ = nullptr;
      capacity_ = 0;
    }
    return;
  }
  std::uint32_t* fresh = newArray(newSize);
  const std::size_t kept = std::min(size_, newSize);
  if (kept > 0) std::memcpy(fresh, data_, kept * 4);
  if (newSize > kept) std::memset(fresh + kept, 0, (newSize - kept) * 4);
  freeArray(data_, capacity_);
  data_ = fresh;
  capacity_ = capacityOf(fresh, newSize);
  size_ = newSize;
}

void datastruct::relocate(int location, std::size_t newSize) {
  BIGNUM_CHECK(!gotdata_, "!gotdata", kStorage);
  if (newSize == keepSize) newSize = size_;
  const int target = location == DEFAULT ? (newSize > limits().Memorythreshold ? DISK : MEMORY) : location;
  if (target == location_) {
    resize(newSize);
    return;
  }
  const std::size_t kept = std::min(size_, newSize);
  if (target == DISK) {
    // The array is given back only once its words are in the new file.
    createFile(data_, kept, newSize);
    freeArray(data_, capacity_);
    data_ = nullptr;
    capacity_ = 0;
    location_ = DISK;
    size_ = newSize;
    return;
  }
  // DISK -> MEMORY: read the file into a new array, then delete it.
  std::uint32_t* words = newArray(newSize);
  if (kept > 0) {
    try {
      readFile(0, kept, words);
    } catch (...) {
      freeArray(words, capacityOf(words, newSize));
      throw;
    }
  }
  if (newSize > kept) std::memset(words + kept, 0, (newSize - kept) * 4);
  removeFile();
  location_ = MEMORY;
  data_ = words;
  capacity_ = capacityOf(words, newSize);
  size_ = newSize;
}

void datastruct::takeStorage(datastruct& other) {
  BIGNUM_CHECK(!gotdata_ && !other.gotdata_, "!gotdata", kStorage);
  if (location_ == MEMORY)
    freeArray(data_, capacity_);
  else
    removeFile();
  location_ = other.location_;
  size_ = other.size_;
  capacity_ = other.capacity_;
  fileNumber_ = other.fileNumber_;
  if (other.data_ == other.inline_) {
    std::memcpy(inline_, other.inline_, size_ * 4);
    data_ = inline_;
    capacity_ = kInlineWords;
  } else {
    data_ = other.data_;
  }
  // The other storage is left empty, in memory, with no file of its own.
  other.location_ = MEMORY;
  other.size_ = 0;
  other.capacity_ = 0;
  other.data_ = nullptr;
}

int datastruct::openstream() {
  BIGNUM_CHECK(location_ != MEMORY, "location != MEMORY", kStorage);
  if (stream_ < 0) stream_ = openScratchFile(fileNumber_, O_RDWR);
  return stream_;
}

void datastruct::closestream() {
  BIGNUM_CHECK(location_ != MEMORY, "location != MEMORY", kStorage);
  if (stream_ < 0) return;
  File file(stream_);
  stream_ = -1;
  file.close();
}

// --- word routines -----------------------------------------------------------

void copyWords(datastruct& target, std::size_t targetPosition, datastruct& source, std::size_t sourcePosition,
               std::size_t length) {
  const std::size_t block = limits().Blocksize;
  WindowGuard guard(source);
  for (std::size_t done = 0; done < length;) {
    const std::size_t n = std::min(block, length - done);
    const std::uint32_t* from = source.getreadwindow(sourcePosition + done, n);
    std::uint32_t* to = target.getwritewindow(targetPosition + done, n);
    std::memcpy(to, from, n * 4);
    target.writeback();
    source.clearreadwindow();
    done += n;
  }
}

std::size_t trailingZeroWords(datastruct& storage, std::size_t count) {
  const std::size_t block = limits().Blocksize;
  std::size_t zeros = 0;
  for (std::size_t end = count; end > 0;) {
    const std::size_t n = std::min(block, end);
    const std::uint32_t* words = storage.getreadwindow(end - n, n);
    std::size_t i = n;
    while (i > 0 && words[i - 1] == 0) --i;
    storage.clearreadwindow();
    zeros += n - i;
    if (i > 0) break;
    end -= n;
  }
  return zeros;
}

}  // namespace bignum
