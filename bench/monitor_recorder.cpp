// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor_recorder.h"

#include "monotonic_clock.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <stdexcept>
#include <vector>

extern char** environ;

namespace tobira::bench {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

MonitorRecorder::MonitorRecorder(const std::string& source, const std::filesystem::path& folder) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe for parec");
    const std::string log = (folder / "parec.log").string();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // Small fragments: each piece of the monitor arrives within a few milliseconds of being
    // played, which is what places the recording on the clock.
    std::vector<std::string> args{"parec",
                                  "--raw",
                                  "--format=float32le",
                                  "--rate=44100",
                                  "--channels=2",
                                  "--latency-msec=5",
                                  "--device=" + source};
    std::vector<char*> argv;
    for (std::string& a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int spawned = posix_spawnp(&pid_, "parec", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
        close(fds[0]);
        throw std::runtime_error("parec cannot be started (apt-get install pulseaudio-utils)");
    }
    fd_ = fds[0];
    reader_ = std::thread([this, folder] { read(folder); });
}

MonitorRecorder::~MonitorRecorder() {
    kill(pid_, SIGTERM);
    reader_.join();
    int status = 0;
    waitpid(pid_, &status, 0);
    close(fd_);
}

void MonitorRecorder::read(const std::filesystem::path& folder) {
    File sound(std::fopen((folder / "monitor.f32").c_str(), "wb"));
    File stamps(std::fopen((folder / "stamps.txt").c_str(), "w"));
    if (!sound || !stamps)
        return;
    std::vector<char> buffer(1 << 16);
    long long total = 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        const long long now = MonotonicNs();
        if (n <= 0)
            break;
        std::fwrite(buffer.data(), 1, static_cast<std::size_t>(n), sound.get());
        total += n;
        std::fprintf(stamps.get(), "%lld %lld\n", now, total);
    }
}

} // namespace tobira::bench
