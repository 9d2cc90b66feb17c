// qvl-snapshot: the editor drawn without a display, for documentation and review.

#include "EditorSnapshot.h"
#include "SnapshotOptions.h"

#include "ProductIdentity.h"

#include <cstdio>

int main(int argc, char** argv) {
    const ParsedSnapshotOptions parsed = parseSnapshotOptions(argc, argv);
    if (!parsed.ok) {
        std::fprintf(stderr, "qvl-snapshot: %s\nqvl-snapshot --help lists the options\n",
                     parsed.error.c_str());
        return 2;
    }
    if (parsed.options.help) {
        std::fputs(snapshotUsage(), stdout);
        return 0;
    }
    if (parsed.options.version) {
        std::puts("qvl-snapshot " QVL_VERSION_TEXT);
        return 0;
    }
    const std::string error = writeEditorSnapshot(parsed.options);
    if (!error.empty()) {
        std::fprintf(stderr, "qvl-snapshot: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
