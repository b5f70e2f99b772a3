// Abstract node of a configuration tree: a named node that is either a leaf
// holding a text value or a composite holding named children.
#pragma once

#include <list>

template <class T>
class ComponentT {
 public:
  explicit ComponentT(const T& name) : name_(name) {}
  ComponentT(const ComponentT&) = delete;
  ComponentT& operator=(const ComponentT&) = delete;
  virtual ~ComponentT() = default;

  virtual const T& getName() const { return name_; }
  virtual T& getName() { return name_; }
  virtual void setName(const T& name) { name_ = name; }

  // The node's text in the file syntax, indented by `indent` tabs.
  // A leaf has no line end of its own; a composite ends with one.
  virtual T toString(int indent) const = 0;

  // The value of a leaf; an empty text for a composite.
  virtual const T& getValue() const = 0;
  virtual T& getValue() = 0;
  // Replaces a leaf's value; no effect on a composite.
  virtual void setValue(const T& value) = 0;

  // Takes ownership of `child`. A composite files it under the child's
  // current name, after any children of the same name; a leaf deletes it.
  virtual void add(ComponentT* child) = 0;
  // Has no effect on either kind of node.
  virtual void remove(ComponentT* child) = 0;
  virtual int childCount() const = 0;

  // Appends every child named `name`, in order, without emptying `out` first.
  // A leaf empties `out` instead (it has no children).
  virtual void find(const T& name, std::list<ComponentT*>& out) = 0;
  virtual void find(const T& name, std::list<const ComponentT*>& out) const = 0;
  // Appends all children in order; a leaf empties `out`.
  virtual void getChildren(std::list<ComponentT*>& out) = 0;
  virtual void getChildren(std::list<const ComponentT*>& out) const = 0;

 private:
  T name_;
};
