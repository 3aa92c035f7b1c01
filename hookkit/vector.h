// The suite's small singly linked vector: new items go in at the head.
#ifndef HOOKKIT_VECTOR_H_
#define HOOKKIT_VECTOR_H_

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

  VectorItem<T>* head = nullptr;
  unsigned int count = 0;
};

#endif  // HOOKKIT_VECTOR_H_
