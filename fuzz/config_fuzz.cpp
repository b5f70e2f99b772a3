// Arbitrary bytes as a configuration file: loading never fails loudly, and a
// tree that loaded saves and loads back the same (its second save is byte for
// byte its first).
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "config/IConfig.h"

namespace {

const std::string& folder() {
  static const std::string path = [] {
    char name[] = "/tmp/numbrix-config-fuzz-XXXXXX";
    if (mkdtemp(name) == nullptr) std::abort();
    return std::string(name);
  }();
  return path;
}

std::string bytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Loads `from` into a fresh store and saves it to `to`.
void copyThroughStore(const std::string& from, const std::string& to) {
  IConfig* store = IConfig::instance(0);
  store->load(from);
  store->save(to);
  store->release();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string input = folder() + "/input", first = folder() + "/first", second = folder() + "/second";
  {
    std::ofstream out(input, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  std::remove(first.c_str());
  std::remove(second.c_str());
  copyThroughStore(input, first);
  if (access(first.c_str(), F_OK) == 0) {  // a tree loaded and was written
    copyThroughStore(first, second);
    if (bytesOf(first) != bytesOf(second)) std::abort();
  }
  return 0;
}
