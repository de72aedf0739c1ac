#pragma once
// Objects that library code hands to the runtime to keep (open files among them), each with a
// kind. The runtime closes every object still listed at shut-down.

#include <cstdint>
#include <vector>

namespace rt {

// Deleting the object closes whatever it holds.
class RuntimeObject {
 public:
  virtual ~RuntimeObject() = default;
};

class ObjectRegistry {
 public:
  // Lists the object with its kind unless it is already listed.
  void Add(RuntimeObject* object, int32_t kind);
  // The object's kind, or -1 when it is not listed.
  int32_t KindOf(const void* object) const;
  // Forgets the object; its owner closes it.
  void Remove(const void* object);
  // Closes and deletes every listed object.
  void CloseAll();

 private:
  struct Entry {
    RuntimeObject* object;
    int32_t kind;
  };
  std::vector<Entry> entries_;
};

}  // namespace rt
