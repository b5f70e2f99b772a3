#include "config/IConfigImpl.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <new>
#include <sstream>

#include "config/ComponentFactoryT.h"
#include "config/ConfigPath.h"
#include "config/ConfigReader.h"
#include "config/FileReplace.h"
#include "config/InstanceTable.h"

namespace {

using Factory = ComponentFactoryT<std::string>;

// Function-local so that the table exists whenever the first store is asked for.
InstanceTable<IConfig, 16>& stores() {
  static InstanceTable<IConfig, 16> tables;
  return tables;
}

}  // namespace

IConfig* IConfig::instance(int index) {
  return stores().get(index, [](int made) { return new IConfigImpl(made); });
}

void IConfigImpl::release() {
  tree()->setRoot(nullptr);
  stores().clear(index_);  // deletes this object: nothing of it may be used after
}

void IConfigImpl::create(const std::string& rootName) { tree()->setRoot(Factory::createComposite(rootName)); }

IConfig::Node* IConfigImpl::single(const std::string& path) const {
  std::list<Node*> found;
  resolvePath(tree()->getRoot(), path, found);
  return found.size() == 1 ? found.front() : nullptr;
}

void IConfigImpl::add(const std::string& parentPath, const std::string& name, const std::string& value) {
  if (Node* parent = single(parentPath)) parent->add(Factory::createLeaf(name, value));
}

IConfig::LoadResult IConfigImpl::load(const std::string& fileName) {
  tree()->setRoot(nullptr);
  // Opened without waiting (a FIFO would block a plain open until a writer
  // comes), then checked to be a regular file before anything is read.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? LoadResult::Missing : LoadResult::Unreadable;
  const std::unique_ptr<const int, void (*)(const int*)> closer(&fd, [](const int* open) { ::close(*open); });
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileBytes) return LoadResult::Unreadable;
  try {
    std::string text(static_cast<std::size_t>(info.st_size), '\0');
    std::size_t done = 0;
    while (done < text.size()) {
      const ssize_t got = ::read(fd, text.data() + done, text.size() - done);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) return LoadResult::Unreadable;
      if (got == 0) break;  // the file shrank meanwhile: what is there is read
      done += static_cast<std::size_t>(got);
    }
    text.resize(done);
    std::istringstream in(std::move(text));
    tree()->setRoot(readConfig(in).release());
  } catch (const std::bad_alloc&) {
    tree()->setRoot(nullptr);
    return LoadResult::Unreadable;
  }
  return tree()->getRoot() != nullptr ? LoadResult::Loaded : LoadResult::Unreadable;
}

ReplaceResult IConfigImpl::save(const std::string& fileName) {
  const Node* root = tree()->getRoot();
  return root != nullptr ? replaceFileWithResult(fileName, root->toString(0)) : ReplaceResult::NotCreated;
}

std::string IConfigImpl::get(const std::string& path) {
  const Node* node = single(path);
  return node != nullptr ? node->getValue() : std::string();
}

void IConfigImpl::children(const std::string& path, std::list<Node*>& out) {
  if (Node* node = single(path)) node->getChildren(out);
}

void IConfigImpl::set(const std::string& path, const std::string& value) {
  if (Node* node = single(path)) node->setValue(value);
}
