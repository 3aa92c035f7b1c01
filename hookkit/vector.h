// The suite's small singly linked vector: new items go in at the head.
#ifndef HOOKKIT_VECTOR_H_
#define HOOKKIT_VECTOR_H_

#include "foundation/xfile.h"

template <class T>
struct VectorItem {
  T value;
  VectorItem* next;
};

template <class T>
class Vector {
 public:
  Vector() = default;
  ~Vector() { clear(); }
  Vector(const Vector&) = delete;
  Vector& operator=(const Vector&) = delete;

  void push(const T& value) {
    head = new VectorItem<T>{value, head};
    ++count;
  }
  void clear() {
    while (head != nullptr) {
      VectorItem<T>* next = head->next;
      delete head;
      head = next;
    }
    count = 0;
  }
  // The item at position n from the head; null when n is not below count.
  const VectorItem<T>* at(unsigned int n) const {
    const VectorItem<T>* item = head;
    for (; item != nullptr && n > 0; --n) item = item->next;
    return item;
  }

  // The stored form of a vector of numbers: a 4-byte count, then the values
  // from the head.
  XFile& write(XFile& file) const {
    file << count;
    for (const VectorItem<T>* item = head; item != nullptr; item = item->next) file << item->value;
    return file;
  }
  // Reads into an empty vector, linking each value in at the head, so the
  // values come back reversed. A count the file cannot hold fails the file.
  XFile& read(XFile& file) {
    clear();
    unsigned int n = 0;
    file >> n;
    if (file.failed()) return file;
    if (static_cast<uint64_t>(n) * sizeof(T) > file.bytesLeft()) {
      file.markFailed();
      return file;
    }
    for (unsigned int i = 0; i < n && !file.failed(); ++i) {
      T value{};
      file >> value;
      if (!file.failed()) push(value);
    }
    return file;
  }

  VectorItem<T>* head = nullptr;
  unsigned int count = 0;
};

#endif  // HOOKKIT_VECTOR_H_
