#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/core/cleanup_list.h"
#include "runtime/core/object_registry.h"

namespace rt {
namespace {

std::string ran;
void First() { ran += "1"; }
void Second() { ran += "2"; }

TEST(CleanupList, RegistersARoutineOnceAndRunsInOrder) {
  CleanupList list;
  ran.clear();
  list.Register(Second);
  list.Register(First);
  list.Register(Second);
  EXPECT_EQ(list.Size(), 2u);
  list.RunAll();
  EXPECT_EQ(ran, "21");
  EXPECT_EQ(list.Size(), 0u);
  list.RunAll();  // emptied: nothing runs twice
  EXPECT_EQ(ran, "21");
}

// A routine that enters the shut-down again makes the list run from inside itself: the routines
// after it run there, and none runs twice.
CleanupList* running = nullptr;
void RunsTheListAgain() {
  ran += "R";
  running->RunAll();
}

TEST(CleanupList, RunFromInsideARoutineRunsEachRemainingRoutineOnce) {
  CleanupList list;
  running = &list;
  ran.clear();
  list.Register(First);
  list.Register(RunsTheListAgain);
  list.Register(Second);
  list.RunAll();
  EXPECT_EQ(ran, "1R2");
  EXPECT_EQ(list.Size(), 0u);
}

TEST(CleanupList, ForgetAllRunsNothing) {
  CleanupList list;
  ran.clear();
  list.Register(First);
  list.ForgetAll();
  list.RunAll();
  EXPECT_EQ(ran, "");
}

std::vector<int> closed;
struct Closable : RuntimeObject {
  explicit Closable(int id) : id(id) {}
  ~Closable() override { closed.push_back(id); }
  int id;
};

TEST(ObjectRegistry, KnowsKindsAndClosesWhatIsStillListed) {
  closed.clear();
  ObjectRegistry registry;
  auto* a = new Closable(1);
  auto* b = new Closable(2);
  auto* c = new Closable(3);
  registry.Add(a, 1);
  registry.Add(b, 1);
  registry.Add(a, 7);  // already listed: keeps its kind
  registry.Add(c, 2);
  EXPECT_EQ(registry.KindOf(a), 1);
  EXPECT_EQ(registry.KindOf(c), 2);
  EXPECT_EQ(registry.KindOf(nullptr), -1);

  registry.Remove(b);
  EXPECT_EQ(registry.KindOf(b), -1);
  delete b;  // its owner closes a removed object
  registry.CloseAll();
  EXPECT_EQ(closed, (std::vector<int>{2, 1, 3}));
  EXPECT_EQ(registry.KindOf(a), -1);
  registry.CloseAll();  // nothing closes twice
  EXPECT_EQ(closed.size(), 3u);
}

}  // namespace
}  // namespace rt
