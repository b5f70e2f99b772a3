// A registry of classes by name: Reflectable<Base> maps names to creators of
// objects derived from Base, and a ClassRegister<T, Base> object, constructed
// with a name, enters a creator of T under it.
#pragma once

#include <map>
#include <memory>
#include <string>

template <class Base>
class Reflectable {
 public:
  class BaseCreator {
   public:
    virtual ~BaseCreator() = default;
    // A new object; the caller owns it.
    virtual Base* create() = 0;
  };
  // Names compared byte by byte (case-sensitive); the map owns the creators,
  // which are deleted with it at program exit.
  using Creators = std::map<std::string, std::unique_ptr<BaseCreator>>;

  // The registry, with every registration of Base's classes made (each Base
  // defines this in the place that holds its registrations).
  static Creators& creators();

  // A new object of the class registered under `name`, or null when there is none.
  static std::unique_ptr<Base> create(const std::string& name) {
    const Creators& all = creators();
    const auto found = all.find(name);
    if (found == all.end() || !found->second) return nullptr;
    return std::unique_ptr<Base>(found->second->create());
  }

  // The map itself, built on first use: it exists before any registration.
  static Creators& table() {
    static Creators map;
    return map;
  }
};

template <class T, class Base>
class ClassRegister {
 public:
  class ObjCreator : public Reflectable<Base>::BaseCreator {
   public:
    Base* create() override { return new T; }
  };

  // Enters a creator of T under `name`, replacing any earlier one.
  explicit ClassRegister(const std::string& name) { Reflectable<Base>::table()[name] = std::make_unique<ObjCreator>(); }
};
