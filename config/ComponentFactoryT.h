// The two concrete kinds of configuration node and the functions that make them.
#pragma once

#include <map>
#include <memory>

#include "config/ComponentT.h"

template <class T>
class ComponentFactoryT {
 public:
  using Component = ComponentT<T>;

  class Leaf : public Component {
   public:
    Leaf(const T& name, const T& value) : Component(name), value_(value) {}

    // "name = value;" after `indent` tabs, without a line end.
    T toString(int indent) const override {
      T text(static_cast<std::size_t>(indent > 0 ? indent : 0), '\t');
      text += this->getName();
      text += " = ";
      text += value_;
      text += ';';
      return text;
    }
    const T& getValue() const override { return value_; }
    T& getValue() override { return value_; }
    void setValue(const T& value) override { value_ = value; }
    void add(Component* child) override { delete child; }
    void remove(Component*) override {}
    int childCount() const override { return 0; }
    void find(const T&, std::list<Component*>& out) override { out.clear(); }
    void find(const T&, std::list<const Component*>& out) const override { out.clear(); }
    void getChildren(std::list<Component*>& out) override { out.clear(); }
    void getChildren(std::list<const Component*>& out) const override { out.clear(); }

   private:
    T value_;
  };

  class Composite : public Component {
   public:
    explicit Composite(const T& name) : Component(name) {}

    // The name, then the children between braces, one per line, each
    // indented by one more tab; ends with a line end.
    T toString(int indent) const override {
      T text;
      appendTo(text, indent);
      return text;
    }
    // A composite has no value: the text is always empty.
    const T& getValue() const override { return noValue_; }
    T& getValue() override {
      noValue_.clear();
      return noValue_;
    }
    void setValue(const T&) override {}
    // Equal names keep the order in which they were added: a multimap
    // inserts at the end of the range of equal keys.
    void add(Component* child) override {
      if (child == nullptr) return;
      std::unique_ptr<Component> owned(child);
      children_.emplace(owned->getName(), std::move(owned));
    }
    void remove(Component*) override {}
    int childCount() const override { return static_cast<int>(children_.size()); }
    void find(const T& name, std::list<Component*>& out) override {
      auto range = children_.equal_range(name);
      for (auto it = range.first; it != range.second; ++it) out.push_back(it->second.get());
    }
    void find(const T& name, std::list<const Component*>& out) const override {
      auto range = children_.equal_range(name);
      for (auto it = range.first; it != range.second; ++it) out.push_back(it->second.get());
    }
    void getChildren(std::list<Component*>& out) override {
      for (auto& entry : children_) out.push_back(entry.second.get());
    }
    void getChildren(std::list<const Component*>& out) const override {
      for (const auto& entry : children_) out.push_back(entry.second.get());
    }

   private:
    // Writes into one text, so that deep trees cost time in proportion to their size.
    void appendTo(T& text, int indent) const {
      const T tabs(static_cast<std::size_t>(indent > 0 ? indent : 0), '\t');
      text += tabs;
      text += this->getName();
      text += '\n';
      text += tabs;
      text += "{\n";
      for (const auto& entry : children_) {
        if (const auto* block = dynamic_cast<const Composite*>(entry.second.get()))
          block->appendTo(text, indent + 1);
        else
          text += entry.second->toString(indent + 1);
        text += '\n';
      }
      text += tabs;
      text += "}\n";
    }

    // Keys compare byte by byte (std::string's ordering compares as unsigned char).
    std::multimap<T, std::unique_ptr<Component>> children_;
    T noValue_;
  };

  // A new leaf; the caller owns it.
  static Component* createLeaf(const T& name, const T& value) { return new Leaf(name, value); }
  // A new composite with no children; the caller owns it.
  static Component* createComposite(const T& name) { return new Composite(name); }
};
