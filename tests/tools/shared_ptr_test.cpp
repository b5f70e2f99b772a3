#include "tools/shared_ptr.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Records its destruction in a log shared by the test.
struct Base {
  explicit Base(std::vector<int>* log, int id) : log_(log), id_(id) {}
  virtual ~Base() { log_->push_back(id_); }
  std::vector<int>* log_;
  int id_;
};

struct Derived : Base {
  Derived(std::vector<int>* log, int id, bool* derivedGone) : Base(log, id), gone_(derivedGone) {}
  ~Derived() override { *gone_ = true; }
  bool* gone_;
};

using Ptr = V_odaza::shared_ptr<Base>;

TEST(SharedPtr, EmptyOwnerHoldsNothing) {
  const Ptr empty;
  EXPECT_EQ(empty.get(), nullptr);
  EXPECT_EQ(empty.use_count(), 0);
  EXPECT_FALSE(empty);
  const Ptr fromNull(nullptr);
  EXPECT_EQ(fromNull.use_count(), 0);
  const Ptr copy(empty);
  EXPECT_EQ(copy.use_count(), 0);
}

TEST(SharedPtr, CopiesShareAndTheLastOwnerDeletes) {
  std::vector<int> log;
  {
    Ptr first(new Base(&log, 1));
    EXPECT_EQ(first.use_count(), 1);
    {
      Ptr second(first);
      Ptr third;
      third = second;
      EXPECT_EQ(first.use_count(), 3);
      EXPECT_EQ(third.get(), first.get());
      EXPECT_EQ(third->id_, 1);
    }
    EXPECT_EQ(first.use_count(), 1);
    EXPECT_TRUE(log.empty());
  }
  EXPECT_EQ(log, std::vector<int>{1});
}

TEST(SharedPtr, AssignmentLetsGoOfTheOldObjectFirst) {
  std::vector<int> log;
  Ptr a(new Base(&log, 1));
  Ptr b(new Base(&log, 2));
  a = b;
  EXPECT_EQ(log, std::vector<int>{1});
  EXPECT_EQ(b.use_count(), 2);
  a = Ptr();
  EXPECT_EQ(a.use_count(), 0);
  EXPECT_EQ(b.use_count(), 1);
  EXPECT_EQ(log, std::vector<int>{1});
}

TEST(SharedPtr, SelfAssignmentChangesNothing) {
  std::vector<int> log;
  Ptr a(new Base(&log, 1));
  Ptr& alias = a;
  a = alias;
  EXPECT_EQ(a.use_count(), 1);
  EXPECT_EQ(a->id_, 1);
  Ptr b(a);
  a = b;  // same object through another owner
  EXPECT_EQ(a.use_count(), 2);
  EXPECT_TRUE(log.empty());
}

TEST(SharedPtr, DeletesThroughTheVirtualDestructor) {
  std::vector<int> log;
  bool derivedGone = false;
  { Ptr owner(new Derived(&log, 7, &derivedGone)); }
  EXPECT_TRUE(derivedGone);
  EXPECT_EQ(log, std::vector<int>{7});

  // The owner itself is destroyed correctly through a pointer to its base type.
  derivedGone = false;
  struct Owner : Ptr {
    using Ptr::Ptr;
  };
  std::unique_ptr<Ptr> owner(new Owner(new Derived(&log, 8, &derivedGone)));
  owner.reset();
  EXPECT_TRUE(derivedGone);
}

// An object that owns the last owner of itself must not be used after the owner lets go.
TEST(SharedPtr, AssigningFromAnOwnerHeldByTheReleasedObject) {
  struct Node {
    V_odaza::shared_ptr<Node> next;
    int value = 0;
  };
  V_odaza::shared_ptr<Node> head(new Node);
  head->next = V_odaza::shared_ptr<Node>(new Node);
  head->next->value = 5;
  head = head->next;  // the old head (holder of `next`) dies during the assignment
  EXPECT_EQ(head->value, 5);
  EXPECT_EQ(head.use_count(), 1);
}

}  // namespace
