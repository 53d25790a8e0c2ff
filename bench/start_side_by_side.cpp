// SPDX-License-Identifier: GPL-3.0-or-later
// Start time side by side: starts two programs in turn, N times each, and measures from the
// spawn to the moment the X server maps a top-level window of the given size (the main window,
// not a helper or a message box). Prints the medians, their ratio and how many shared
// libraries each program had loaded by then. Run it on an X display (xvfb-run).
//
//   start_side_by_side <runs> <width> <height> <program A> <program B>
#include <xcb/xcb.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Sample {
    double ms = -1.0;
    int libraries = 0;
};

int LoadedLibraries(pid_t pid) {
    std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
    std::set<std::string> files;
    std::string line;
    while (std::getline(maps, line)) {
        const auto slash = line.find('/');
        if (slash != std::string::npos && line.find(".so", slash) != std::string::npos)
            files.insert(line.substr(slash));
    }
    return static_cast<int>(files.size());
}

Sample StartOnce(xcb_connection_t* x, const char* program, int width, int height) {
    Sample sample;
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto spawned = Clock::now();
    pid_t pid = 0;
    if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0) {
        std::perror(program);
        return sample;
    }
    while (sample.ms < 0) {
        xcb_generic_event_t* event = xcb_wait_for_event(x);
        if (!event)
            break;
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
            xcb_get_geometry_reply_t* geometry =
                xcb_get_geometry_reply(x, xcb_get_geometry(x, map->window), nullptr);
            if (geometry && geometry->width == width && geometry->height == height) {
                sample.ms =
                    std::chrono::duration<double, std::milli>(Clock::now() - spawned).count();
                sample.libraries = LoadedLibraries(pid);
            }
            std::free(geometry);
        }
        std::free(event);
    }
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    return sample;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty()      ? 0.0
           : v.size() % 2 ? v[v.size() / 2]
                          : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s runs width height programA programB\n", argv[0]);
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const int width = std::atoi(argv[2]);
    const int height = std::atoi(argv[3]);
    const char* programs[2] = {argv[4], argv[5]};

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "no X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(x)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);

    // One start each first, not counted: it fills the page cache and the program's folder.
    for (const char* program : programs)
        StartOnce(x, program, width, height);
    std::vector<double> times[2], libraries[2];
    for (int run = 0; run < runs; ++run)
        for (int p = 0; p < 2; ++p) {
            const Sample s = StartOnce(x, programs[p], width, height);
            if (s.ms < 0) {
                std::fprintf(stderr, "%s: no %dx%d window\n", programs[p], width, height);
                return 1;
            }
            times[p].push_back(s.ms);
            libraries[p].push_back(s.libraries);
        }
    for (int p = 0; p < 2; ++p)
        std::printf("%-40s median %.1f ms (min %.1f, max %.1f), %.0f shared libraries\n",
                    programs[p], Median(times[p]),
                    *std::min_element(times[p].begin(), times[p].end()),
                    *std::max_element(times[p].begin(), times[p].end()), Median(libraries[p]));
    std::printf("ratio %.2f over %d runs each\n", Median(times[0]) / Median(times[1]), runs);
    xcb_disconnect(x);
    return 0;
}
