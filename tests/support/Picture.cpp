#include "Picture.h"

int differences(const Picture& a, const Picture& b) {
    if (a.size() != b.size() || a.empty()) return -1;
    int n = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        n += a[i] != b[i];
    return n;
}
