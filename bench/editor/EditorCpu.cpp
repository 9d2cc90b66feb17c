// The editor's processor load with its meters moving: the module loaded as a host loads it,
// its editor open in an X11 window and idled 30 times a second, while an audio thread feeds
// it a signal whose level swings, so the meters redraw on every tick. Measured: the processor
// time of the thread that idles the editor (the host's user-interface thread) and of the X
// server, as a share of one core. Runs at 100 % and 200 % alternately, side by side, and
// reports medians and their ratio.
//
//   bench_editor_cpu <X server pid> [seconds per run] [runs]
#include "HostedPlugin.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// utime + stime of a process, in seconds.
double processSeconds(long pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i == 14 || i == 15) ticks += std::stod(field);
    return ticks / double(sysconf(_SC_CLK_TCK));
}

struct Load {
    double editor;
    double server;
};

Load run(Display* display, long serverPid, float scale, double seconds) {
    HostedPlugin plugin(QVL_MODULE_PATH);
    if (!plugin.isLoaded()) {
        std::fprintf(stderr, "cannot load the module: %s\n", plugin.error().c_str());
        std::exit(1);
    }
    plugin.setSampleRate(48000.0f);
    plugin.setBlockSize(512);
    plugin.resume();
    plugin.setParameter(3, 0.4f); // threshold -20 dB, inside the signal's swing
    plugin.dispatch(vst2::effVendorSpecific, 'P' << 24 | 'r' << 16 | 'e' << 8 | 'S',
                    'A' << 24 | 'e' << 16 | 'C' << 8 | 's', nullptr, scale);
    vst2::ERect* rect = nullptr;
    plugin.dispatch(vst2::effEditGetRect, 0, 0, &rect);
    if (!rect) {
        std::fprintf(stderr, "the module reports no editor size\n");
        std::exit(1);
    }
    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, unsigned(rect->right),
                            unsigned(rect->bottom), 0, 0, 0);
    XMapRaised(display, window);
    XSync(display, False);
    plugin.dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t(window)));

    // Audio at real time: 512-frame blocks of a 220 Hz tone whose level swings over 3 s.
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> left(512), right(512), outLeft(512), outRight(512);
        float* in[2] = {left.data(), right.data()};
        float* out[2] = {outLeft.data(), outRight.data()};
        long frame = 0;
        auto next = std::chrono::steady_clock::now();
        while (running) {
            for (int i = 0; i < 512; ++i, ++frame) {
                const double t = double(frame) / 48000.0;
                const double level = 0.5 + 0.45 * std::sin(2 * M_PI * t / 3.0);
                left[std::size_t(i)] = right[std::size_t(i)] =
                    float(level * std::sin(2 * M_PI * 220.0 * t));
            }
            plugin.process(in, out, 512);
            next += std::chrono::microseconds(512 * 1000000 / 48000);
            std::this_thread::sleep_until(next);
        }
    });

    // Settle, then measure.
    const auto idleUntil = [&](std::chrono::steady_clock::time_point end) {
        auto next = std::chrono::steady_clock::now();
        while (next < end) {
            plugin.dispatch(vst2::effEditIdle);
            next += std::chrono::microseconds(1000000 / 30);
            std::this_thread::sleep_until(next);
        }
    };
    idleUntil(std::chrono::steady_clock::now() + std::chrono::seconds(1));
    XSync(display, False);
    const double editorStart = threadSeconds();
    const double serverStart = processSeconds(serverPid);
    const auto start = std::chrono::steady_clock::now();
    idleUntil(start + std::chrono::milliseconds(long(seconds * 1000)));
    XSync(display, False);
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const Load load{(threadSeconds() - editorStart) / wall * 100.0,
                    (processSeconds(serverPid) - serverStart) / wall * 100.0};

    running = false;
    audio.join();
    plugin.dispatch(vst2::effEditClose);
    XDestroyWindow(display, window);
    XSync(display, False);
    return load;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? 0
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || !std::getenv("DISPLAY")) {
        std::fprintf(stderr, "usage (with DISPLAY set): %s <X server pid> [seconds] [runs]\n",
                     argv[0]);
        return 2;
    }
    const long serverPid = std::atol(argv[1]);
    const double seconds = argc > 2 ? std::atof(argv[2]) : 10.0;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    std::vector<double> editor100, editor200, server100, server200;
    for (int i = 0; i < runs; ++i) {
        const Load a = run(display, serverPid, 1.0f, seconds);
        const Load b = run(display, serverPid, 2.0f, seconds);
        std::printf("run %d: 100 %%: editor %.2f %%, X server %.2f %%;  200 %%: editor %.2f %%, "
                    "X server %.2f %%\n",
                    i + 1, a.editor, a.server, b.editor, b.server);
        std::fflush(stdout);
        editor100.push_back(a.editor);
        server100.push_back(a.server);
        editor200.push_back(b.editor);
        server200.push_back(b.server);
    }
    XCloseDisplay(display);
    const double e1 = median(editor100), e2 = median(editor200);
    const double s1 = median(server100), s2 = median(server200);
    std::printf("median of %d runs of %.0f s (share of one core):\n", runs, seconds);
    std::printf("  editor thread  100 %%: %.2f %%   200 %%: %.2f %%   ratio %.2f\n", e1, e2,
                e2 / e1);
    std::printf("  X server       100 %%: %.2f %%   200 %%: %.2f %%   ratio %.2f\n", s1, s2,
                s2 / s1);
    return 0;
}
