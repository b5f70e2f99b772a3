#include "tools/shared_ptr.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records its destruction in a log shared by the test.
struct Base {
  explicit Base(std::vector<int>* log, int id) : log_(log), id_(id) {}
  virtual ~Base() { log_->push_back(id_); }
  std::vector<int>* log_;
  int id_;
};

using Ptr = V_odaza::shared_ptr<Base>;

// Copies, assignments (also of an owner to itself and between owners of one
// object) and resets keep the count, and the last owner deletes exactly once.
TEST(SharedPtr, OwnersAreCountedAndTheLastDeletesOnce) {
  std::vector<int> log;
  const Ptr empty;
  const Ptr copyOfEmpty(empty);  // NOLINT(performance-unnecessary-copy-initialization): the copy is tested
  EXPECT_EQ(copyOfEmpty.use_count(), 0);
  Ptr a(new Base(&log, 1)), b(new Base(&log, 2));
  {
    Ptr second(a);  // NOLINT(performance-unnecessary-copy-initialization): the copy is counted
    Ptr third;
    third = second;
    EXPECT_EQ(a.use_count(), 3);
    EXPECT_EQ(third.get(), a.get());
  }
  Ptr& alias = a;
  a = alias;
  Ptr sameObject(b);
  b = sameObject;
  EXPECT_EQ(a.use_count(), 1);
  EXPECT_EQ(b.use_count(), 2);
  EXPECT_TRUE(log.empty());
  a = b;  // lets go of the old object first
  EXPECT_EQ(log, std::vector<int>{1});
  EXPECT_EQ(b.use_count(), 3);
  a = empty;
  sameObject.reset();
  EXPECT_EQ(b.use_count(), 1);
  b = empty;
  EXPECT_EQ(log, (std::vector<int>{1, 2}));
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
