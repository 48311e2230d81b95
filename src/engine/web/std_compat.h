// Forced into every file of the browser build: Debian's emscripten 3.1.6 ships a C++ library
// (LLVM 14's libc++) without std::bit_cast, which the game's random generator uses. The compiler
// has the builtin it stands for; this gives it its standard name until the toolchain does.
#pragma once

#ifdef __cplusplus
#include <version>
#if !defined(__cpp_lib_bit_cast)
#include <type_traits>
namespace std {
template <class To, class From>
requires(sizeof(To) == sizeof(From) && is_trivially_copyable_v<To> &&
         is_trivially_copyable_v<From>) constexpr To bit_cast(const From& from) noexcept {
  return __builtin_bit_cast(To, from);
}
}  // namespace std
#endif
#endif
