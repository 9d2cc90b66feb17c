// Writes the reference renders of the engine this is built with. It was run once, on the engine
// whose double-precision arithmetic still kept its original order; run again, it would move the
// reference to whatever the engine does now.
#include "ReferenceRenders.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <renders file>\n", argv[0]);
        return 2;
    }
    std::vector<double> samples;
    for (const reference::Case& c : reference::allCases()) {
        const reference::StereoOutput d = reference::render<double>(c);
        const reference::StereoOutput f = reference::render<float>(c);
        // The renders keep the double output only: the float output must be it rounded.
        for (std::size_t i = 0; i < d.left.size(); ++i) {
            if (static_cast<float>(d.left[i]) != f.left[i] ||
                static_cast<float>(d.right[i]) != f.right[i]) {
                std::fprintf(stderr, "%s: float output is not the double output rounded\n",
                             reference::describe(c).c_str());
                return 1;
            }
        }
        samples.insert(samples.end(), d.left.begin(), d.left.end());
        samples.insert(samples.end(), d.right.begin(), d.right.end());
    }
    if (!reference::writeRenders(argv[1], samples)) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
