// Growable arrays: ON_SimpleArray for plain data, ON_ClassArray for objects.
//
// Both grow geometrically when full (capacity 4 while the count is at most 2, otherwise twice the
// count), so appending n elements costs O(n) in all. Indexing is not checked. Running out of
// memory ends the process; nothing here throws.
#ifndef VANTRELL_OPENNURBS_ARRAYS_H
#define VANTRELL_OPENNURBS_ARRAYS_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>
#include <utility>

// Reports that memory ran out (or that an array would exceed int indices) and ends the process.
[[noreturn]] void ON_OutOfMemory();

// The capacity an array full at `count` elements grows to.
inline int ON_GrownCapacity(int count) {
  if (count <= 2) return 4;
  if (count == INT_MAX) ON_OutOfMemory();
  return count > INT_MAX / 2 ? INT_MAX : 2 * count;
}

// What both arrays share: the block, the count and the capacity. Not for use on its own.
template <class T>
class ON_ArrayStorage {
 public:
  int Count() const { return m_count; }
  int Capacity() const { return m_capacity; }

  T& operator[](int i) { return m_a[i]; }
  const T& operator[](int i) const { return m_a[i]; }

 protected:
  ON_ArrayStorage() = default;
  ON_ArrayStorage(const ON_ArrayStorage&) = delete;
  ON_ArrayStorage& operator=(const ON_ArrayStorage&) = delete;
  ~ON_ArrayStorage() = default;

  // Takes over the block of src, whose own block was already released, leaving src empty.
  void TakeFrom(ON_ArrayStorage& src) noexcept {
    m_a = src.m_a;
    m_count = src.m_count;
    m_capacity = src.m_capacity;
    src.m_a = nullptr;
    src.m_count = src.m_capacity = 0;
  }

  // Reserve(n) as an int capacity, or 0 when the capacity already suffices.
  int ReservedCapacity(size_t n) const {
    if (n <= static_cast<size_t>(m_capacity)) return 0;
    if (n > static_cast<size_t>(INT_MAX)) ON_OutOfMemory();
    return static_cast<int>(n);
  }

  // A block for `capacity` elements, or the block `a` resized to it.
  static T* Allocation(T* a, int capacity) {
    if (static_cast<size_t>(capacity) > SIZE_MAX / sizeof(T)) ON_OutOfMemory();
    void* block = std::realloc(static_cast<void*>(a), sizeof(T) * static_cast<size_t>(capacity));
    if (block == nullptr) ON_OutOfMemory();
    return static_cast<T*>(block);
  }

  T* m_a = nullptr;
  int m_count = 0;
  int m_capacity = 0;
};

// Plain data: elements are copied bytewise, never constructed or destroyed. Capacity added by
// growth or Reserve is zero-filled.
template <class T>
class ON_SimpleArray : public ON_ArrayStorage<T> {
  using Base = ON_ArrayStorage<T>;
  using Base::m_a;
  using Base::m_capacity;
  using Base::m_count;

  static_assert(std::is_trivially_copyable<T>::value, "ON_SimpleArray holds plain data only");

 public:
  ON_SimpleArray() = default;
  ~ON_SimpleArray() { std::free(m_a); }

  // A copy has the source's elements and a capacity of exactly their count.
  ON_SimpleArray(const ON_SimpleArray& src) : Base() { CopyFrom(src); }
  ON_SimpleArray& operator=(const ON_SimpleArray& src) {
    if (this != &src) CopyFrom(src);
    return *this;
  }
  ON_SimpleArray(ON_SimpleArray&& src) noexcept : Base() { this->TakeFrom(src); }
  ON_SimpleArray& operator=(ON_SimpleArray&& src) noexcept {
    if (this != &src) {
      std::free(m_a);
      this->TakeFrom(src);
    }
    return *this;
  }

  // Adds a copy of x at the end; x may be an element of this array.
  void Append(const T& x) {
    if (m_count == m_capacity) {
      const T copy = x;  // x may live in the block that growing frees
      SetCapacity(ON_GrownCapacity(m_count));
      m_a[m_count++] = copy;
    } else {
      m_a[m_count++] = x;
    }
  }

  // Makes the capacity exactly n when it is smaller; otherwise does nothing.
  void Reserve(size_t n) {
    if (const int capacity = this->ReservedCapacity(n)) SetCapacity(capacity);
  }

  // Count 0; the capacity and its memory are kept.
  void Empty() { m_count = 0; }

  // Count and capacity 0; the memory is freed.
  void Destroy() {
    std::free(m_a);
    m_a = nullptr;
    m_count = m_capacity = 0;
  }

 private:
  void SetCapacity(int capacity) {
    m_a = Base::Allocation(m_a, capacity);
    std::memset(static_cast<void*>(m_a + m_capacity), 0,
                sizeof(T) * static_cast<size_t>(capacity - m_capacity));
    m_capacity = capacity;
  }

  void CopyFrom(const ON_SimpleArray& src) {
    if (src.m_count > m_capacity) {
      Destroy();
      SetCapacity(src.m_count);
    }
    if (src.m_count > 0)
      std::memcpy(static_cast<void*>(m_a), static_cast<const void*>(src.m_a),
                  sizeof(T) * static_cast<size_t>(src.m_count));
    m_count = src.m_count;
  }

};

// Objects: every slot up to the capacity holds a constructed object, default-constructed unless
// an element was stored there. Elements are stored by copy assignment and moved when the array
// grows.
template <class T>
class ON_ClassArray : public ON_ArrayStorage<T> {
  using Base = ON_ArrayStorage<T>;
  using Base::m_a;
  using Base::m_capacity;
  using Base::m_count;

  static_assert(alignof(T) <= alignof(std::max_align_t), "over-aligned elements");

 public:
  ON_ClassArray() = default;
  ~ON_ClassArray() { Destroy(); }

  // A copy has copies of the source's elements, element by element, and a capacity of exactly
  // their count (or more, when assigned to an array that had more).
  ON_ClassArray(const ON_ClassArray& src) : Base() { CopyConstructFrom(src); }
  ON_ClassArray& operator=(const ON_ClassArray& src) {
    if (this == &src) return *this;
    if (src.m_count > m_capacity) {
      Destroy();
      CopyConstructFrom(src);
      return *this;
    }
    for (int i = 0; i < src.m_count; ++i) m_a[i] = src.m_a[i];
    for (int i = src.m_count; i < m_count; ++i) ResetSlot(i);
    m_count = src.m_count;
    return *this;
  }
  ON_ClassArray(ON_ClassArray&& src) noexcept : Base() { this->TakeFrom(src); }
  ON_ClassArray& operator=(ON_ClassArray&& src) noexcept {
    if (this != &src) {
      Destroy();
      this->TakeFrom(src);
    }
    return *this;
  }

  // Copy-assigns x into the next slot; x may be an element of this array, even when the array
  // must grow first.
  void Append(const T& x) {
    if (m_count == m_capacity) {
      SetCapacity(ON_GrownCapacity(m_count), &x);
    } else {
      m_a[m_count] = x;
    }
    ++m_count;
  }

  // Makes the capacity exactly n when it is smaller; otherwise does nothing.
  void Reserve(size_t n) {
    if (const int capacity = this->ReservedCapacity(n)) SetCapacity(capacity);
  }

  // Count 0: the used slots are destroyed and default-constructed again; the capacity is kept.
  void Empty() {
    for (int i = 0; i < m_count; ++i) ResetSlot(i);
    m_count = 0;
  }

  // Takes off the last element: its slot is destroyed and default-constructed again; the
  // capacity is kept. Nothing happens to an empty array.
  void Remove() {
    if (m_count > 0) ResetSlot(--m_count);
  }

  // Count and capacity 0: every slot is destroyed and the memory freed.
  void Destroy() {
    for (int i = 0; i < m_capacity; ++i) m_a[i].~T();
    std::free(m_a);
    m_a = nullptr;
    m_count = m_capacity = 0;
  }

 private:
  // Moves the elements into a block of `capacity` slots. With `next`, slot m_count of the new
  // block is assigned *next first, while *next is still as it was: it may be an element of the
  // old block, which is moved from and freed after.
  void SetCapacity(int capacity, const T* next = nullptr) {
    T* a = Base::Allocation(nullptr, capacity);
    int firstDefault = m_count;
    if (next) {
      new (a + m_count) T();
      a[m_count] = *next;
      ++firstDefault;
    }
    for (int i = 0; i < m_count; ++i) new (a + i) T(std::move(m_a[i]));
    for (int i = firstDefault; i < capacity; ++i) new (a + i) T();
    for (int i = 0; i < m_capacity; ++i) m_a[i].~T();
    std::free(m_a);
    m_a = a;
    m_capacity = capacity;
  }

  void CopyConstructFrom(const ON_ClassArray& src) {
    if (src.m_count == 0) return;
    m_a = Base::Allocation(nullptr, src.m_count);
    for (int i = 0; i < src.m_count; ++i) new (m_a + i) T(src.m_a[i]);
    m_count = m_capacity = src.m_count;
  }

  void ResetSlot(int i) {
    m_a[i].~T();
    new (m_a + i) T();
  }

};

#endif
