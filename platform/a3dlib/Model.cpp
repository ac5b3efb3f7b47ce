#include "a3dlib/Model.h"

#include <unordered_set>

namespace a3d {

Entity* EntityStore::Find(const void* address) const {
  auto found = m_index.find(address);
  return found == m_index.end() ? nullptr : m_entities[found->second].get();
}

void EntityStore::Remove(const std::vector<Entity*>& entities) {
  std::unordered_set<const void*> doomed;
  for (Entity* entity : entities)
    if (entity && m_index.count(entity)) doomed.insert(entity);
  if (doomed.empty()) return;
  // One pass that keeps the survivors in order and renumbers the index.
  size_t kept = 0;
  for (size_t i = 0; i < m_entities.size(); ++i) {
    if (doomed.count(m_entities[i].get())) {
      m_index.erase(m_entities[i].get());
      m_entities[i].reset();
      continue;
    }
    if (kept != i) {
      m_entities[kept] = std::move(m_entities[i]);
      m_index[m_entities[kept].get()] = kept;
    }
    ++kept;
  }
  m_entities.resize(kept);
}

}  // namespace a3d
