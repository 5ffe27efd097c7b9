// The few parts of the C++ runtime that the relay supplies itself, in the MinGW build.
// The relay is built without exceptions (see CMakeLists.txt). The library's own versions of these
// functions throw, and one throw links the whole exception runtime into the program: the unwinder,
// the verbose terminate handler with its demangler, winpthread and MinGW's printf, several times
// the relay's own size. What they report is a failure the relay cannot recover from: uncaught, the
// exception ended the process through std::terminate and abort. These end it the same way: the
// reason on standard error, then abort.
#include <cstdio>
#include <cstdlib>
#include <new>
#include <string>

namespace {

[[noreturn]] void endOnFailure(const char* what) {
    std::fflush(stdout);  // what was echoed so far stays in order before the reason
    std::fputs(what, stderr);
    std::fputs("\n", stderr);
    std::fflush(stderr);
    std::abort();
}

void* allocate(std::size_t size) { return std::malloc(size != 0 ? size : 1); }

void* allocateOrEnd(std::size_t size) {
    void* block = allocate(size);
    if (block == nullptr) endOnFailure("out of memory");
    return block;
}

}  // namespace

// Replacements of the global allocation functions; only their failure differs from the library's.
void* operator new(std::size_t size) { return allocateOrEnd(size); }
void* operator new[](std::size_t size) { return allocateOrEnd(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

#if defined(__GLIBCXX__)
// libstdc++'s containers call these where they would throw: a length beyond what can be
// allocated, a null text, a position out of range.
namespace std {
void __throw_bad_alloc() { endOnFailure("out of memory"); }
void __throw_bad_array_new_length() { endOnFailure("out of memory"); }
void __throw_length_error(const char* what) { endOnFailure(what); }
void __throw_logic_error(const char* what) { endOnFailure(what); }
void __throw_out_of_range(const char* what) { endOnFailure(what); }
void __throw_out_of_range_fmt(const char* what, ...) { endOnFailure(what); }
}  // namespace std
#endif
