// The configuration store: trees of named text values, one per index
// (see the named stores below), addressed by paths of names
// separated by "/". Paths report no errors: one that names no node or several
// nodes reads as an empty text and is not written. A missing or malformed file
// loads as an empty store; load and save say how they ended.
#pragma once

#include <list>
#include <string>

#include "config/ComponentT.h"
#include "config/FileReplace.h"

class IConfig {
 public:
  using Node = ComponentT<std::string>;

  // The stores the programs use, each for one kind of file.
  static constexpr int SettingsStore = 0;   // the program's settings
  static constexpr int VariablesStore = 1;  // variables files the user exports and imports
  static constexpr int ConstantsStore = 2;  // the user constants' file

  // The store of `index` (0 to 15), made on first use; the pointer stays valid
  // until release(). Refuses other indices with std::out_of_range.
  static IConfig* instance(int index);

  virtual ~IConfig() = default;

  // Empties this store's tree and destroys this object; the next instance()
  // of the same index makes a new object on the now empty store.
  virtual void release() = 0;
  // The root becomes a new, empty block named `rootName`; any previous tree is dropped.
  virtual void create(const std::string& rootName) = 0;
  // Adds a leaf `name` = `value` under the node `parentPath` names, if it names
  // exactly one node and that node is a block; otherwise nothing happens.
  virtual void add(const std::string& parentPath, const std::string& name, const std::string& value) = 0;
  // What load() found at the file's path.
  enum class LoadResult {
    Loaded,      // a regular file whose first block was read
    Missing,     // nothing at the path
    Unreadable,  // there is something, but not a readable, well-formed file of
                 // at most kMaxFileBytes bytes (a folder, a FIFO or device, no
                 // permission, a syntax error, too large, out of memory)
  };
  // Files beyond this size are refused unread.
  static constexpr long long kMaxFileBytes = 64LL << 20;

  // Replaces the tree with the block read from `fileName`; on any failure the
  // store is left empty. Only regular files are opened, never FIFOs or
  // devices, so a load never waits for a writer.
  virtual LoadResult load(const std::string& fileName) = 0;
  // Writes the tree to `fileName`. Without a root nothing is written. The text
  // goes to a new file in the same folder that replaces the target only once it
  // is complete, so a failed save leaves the old file as it was. A file this
  // process may not write, or one without any write permission bit (which
  // stops even root), is left as it is. Returns how it ended: Replaced, or
  // why not (a store without a root writes nothing: NotCreated).
  virtual ReplaceResult save(const std::string& fileName) = 0;
  // The value of the one node `path` names (empty for a block); an empty text otherwise.
  virtual std::string get(const std::string& path) = 0;
  // If `path` names exactly one node, its children are appended to `out` in
  // order (a leaf empties `out`); otherwise `out` is left unchanged. The nodes
  // stay owned by the tree and are valid until it changes.
  virtual void children(const std::string& path, std::list<Node*>& out) = 0;
  // Sets the value of the one leaf `path` names; never creates a node.
  virtual void set(const std::string& path, const std::string& value) = 0;
};
