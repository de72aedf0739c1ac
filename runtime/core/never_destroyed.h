#pragma once
// Storage for an object that is made before any code runs and never destroyed. It stays usable
// during the destruction of static objects at exit, and its first use needs no guard against a
// second thread: a function-local static would need one (the C++ library's, which brings the
// thread library and the exception unwinder into the executable). T must be constructible at
// compile time; declare the storage constinit so that the compiler holds it to that.

namespace rt {

template <typename T>
union NeverDestroyed {
  constexpr NeverDestroyed() : object() {}
  ~NeverDestroyed() {}
  T object;
};

}  // namespace rt
