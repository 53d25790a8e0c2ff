// SPDX-License-Identifier: GPL-3.0-or-later
#include "private_pulse.h"

#include "support/wait_until.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <fstream>

extern char** environ;

namespace tobira::testing {

namespace {

constexpr int kRate = 44100;

bool Installed(const char* program) {
    for (const char* folder : {"/usr/bin/", "/bin/", "/usr/local/bin/"})
        if (::access((std::string(folder) + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

pid_t Spawn(const std::vector<std::string>& arguments, const std::vector<std::string>& extraEnv,
            int outFd) {
    std::vector<char*> argv;
    for (const auto& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e)
        env.emplace_back(*e);
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> envp;
    for (auto& e : env)
        envp.push_back(e.data());
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Never the test's own output: a daemon left by a test that died would hold ctest's pipe
    // open until its timeout.
    if (outFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, outFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0)
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

void End(pid_t& pid) {
    if (pid <= 0)
        return;
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    pid = -1;
}

} // namespace

std::string PrivatePulse::Missing() {
    if (!Installed("pulseaudio"))
        return "pulseaudio is not installed";
    if (!Installed("parec"))
        return "parec (pulseaudio-utils) is not installed";
    return {};
}

PrivatePulse::PrivatePulse() {
    const auto home = dir_ / "home";
    const auto runtime = dir_ / "run";
    std::filesystem::create_directories(home);
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    std::ofstream(dir_ / "pa.pa")
        << "load-module module-null-sink sink_name=nul format=float32le rate=44100 channels=2\n"
           "load-module module-native-protocol-unix\n"
           "set-default-sink nul\n";
    daemon_ = Spawn({"pulseaudio", "-n", "-F", (dir_ / "pa.pa").string(), "--daemonize=no",
                     "--exit-idle-time=-1", "--use-pid-file=no"},
                    {"HOME=" + home.string(), "XDG_RUNTIME_DIR=" + runtime.string(),
                     "PULSE_RUNTIME_PATH=" + (runtime / "pulse").string()},
                    -1);
    const auto socket = runtime / "pulse" / "native";
    if (daemon_ <= 0 || !WaitUntil([&] { return std::filesystem::exists(socket); })) {
        End(daemon_);
        return;
    }
    if (const char* old = std::getenv("PULSE_SERVER"))
        oldServer_ = old;
    setenv("PULSE_SERVER", ("unix:" + socket.string()).c_str(), 1);
}

PrivatePulse::~PrivatePulse() {
    End(daemon_);
    if (oldServer_.empty())
        unsetenv("PULSE_SERVER");
    else
        setenv("PULSE_SERVER", oldServer_.c_str(), 1);
}

void PrivatePulse::kill() {
    End(daemon_);
}

MonitorRecording::MonitorRecording() {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return;
    recorder_ = Spawn({"parec", "-d", "nul.monitor", "--raw", "--format=float32le", "--rate=44100",
                       "--channels=2", "--latency-msec=5"},
                      {}, fds[1]);
    ::close(fds[1]);
    pipe_ = fds[0];
    reader_ = std::thread([this] { read(); });
}

MonitorRecording::~MonitorRecording() {
    End(recorder_);
    if (reader_.joinable())
        reader_.join();
    if (pipe_ >= 0)
        ::close(pipe_);
}

void MonitorRecording::read() {
    std::vector<char> pending;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(pipe_, buffer, sizeof buffer);
        if (got <= 0)
            return;
        const auto now = Clock::now();
        pending.insert(pending.end(), buffer, buffer + got);
        const std::size_t whole = pending.size() / sizeof(float) * sizeof(float);
        std::lock_guard lock(mutex_);
        const std::size_t before = samples_.size();
        samples_.resize(before + whole / sizeof(float));
        std::memcpy(samples_.data() + before, pending.data(), whole);
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(whole));
        const auto frames = static_cast<std::int64_t>(samples_.size() / 2);
        const auto first = now - std::chrono::microseconds(frames * 1'000'000 / kRate);
        start_ = std::min(start_, first);
    }
}

std::size_t MonitorRecording::frames() const {
    std::lock_guard lock(mutex_);
    return samples_.size() / 2;
}

std::vector<float> MonitorRecording::samples() const {
    std::lock_guard lock(mutex_);
    return samples_;
}

MonitorRecording::Clock::time_point MonitorRecording::heardAt(std::size_t frame) const {
    std::lock_guard lock(mutex_);
    return start_ + std::chrono::microseconds(static_cast<std::int64_t>(frame) * 1'000'000 / kRate);
}

} // namespace tobira::testing

namespace tobira::testing {

std::size_t MonitorRecording::frameAt(Clock::time_point time) const {
    std::lock_guard lock(mutex_);
    if (start_ == Clock::time_point::max() || time <= start_)
        return 0;
    return static_cast<std::size_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(time - start_).count() * kRate /
        1'000'000);
}

} // namespace tobira::testing
