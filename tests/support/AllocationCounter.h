#pragma once

// Counts every heap allocation of the test program while a CountingScope is alive. Linking this
// replaces the global allocation functions (and, on glibc outside the sanitizer builds, which
// bring their own, the C allocator too), so only an executable of its own may link it.
class CountingScope {
  public:
    CountingScope();
    ~CountingScope();
    CountingScope(const CountingScope&) = delete;
    CountingScope& operator=(const CountingScope&) = delete;
    int seen() const;
};

// True when malloc and its relatives are counted, not only operator new.
bool countsCAllocations();
