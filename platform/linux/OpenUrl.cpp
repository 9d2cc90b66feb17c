#include "platform/OpenUrl.h"

#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

// xdg-open may wait for the browser, so it runs as a grandchild: the child only forks it and
// exits at once, this process reaps the child right away and init adopts the grandchild. No
// shell is involved and no zombie stays behind. Between fork and exec only async-signal-safe
// calls are made, since the host may run other threads.
bool openUrlInBrowser(const char* url) {
    if (!url || !*url) return false;
    char opener[] = "xdg-open";
    char* const argv[] = {opener, const_cast<char*>(url), nullptr};

    const pid_t child = fork();
    if (child < 0) return false;
    if (child == 0) {
        if (fork() == 0) {
            execvp(argv[0], argv);
            _exit(127);
        }
        _exit(0);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return true;
}
