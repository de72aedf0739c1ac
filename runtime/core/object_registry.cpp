#include "runtime/core/object_registry.h"

namespace rt {

void ObjectRegistry::Add(RuntimeObject* object, int32_t kind) {
  if (object != nullptr && KindOf(object) == -1) entries_.push_back({object, kind});
}

int32_t ObjectRegistry::KindOf(const void* object) const {
  for (const Entry& e : entries_)
    if (e.object == object) return e.kind;
  return -1;
}

void ObjectRegistry::Remove(const void* object) {
  std::erase_if(entries_, [object](const Entry& e) { return e.object == object; });
}

void ObjectRegistry::CloseAll() {
  std::vector<Entry> listed;
  listed.swap(entries_);
  for (const Entry& e : listed) delete e.object;
}

}  // namespace rt
