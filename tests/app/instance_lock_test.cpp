// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/instance_lock.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace tobira {
namespace {

TEST(InstanceLock, SecondHolderIsRefusedUntilTheFirstReleases) {
    testing::TempDir dir;
    InstanceLock first(dir / "tobira.lock");
    InstanceLock second(dir / "tobira.lock");
    ASSERT_TRUE(first.tryAcquire());
    EXPECT_FALSE(second.tryAcquire());
    EXPECT_FALSE(second.held());
    first.release();
    EXPECT_TRUE(second.tryAcquire());
}

TEST(InstanceLock, KilledHolderLeavesNoStaleLock) {
    testing::TempDir dir;
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        InstanceLock lock(dir / "tobira.lock");
        char ok = lock.tryAcquire() ? 1 : 0;
        (void)!write(ready[1], &ok, 1);
        pause();
        _exit(0);
    }
    char ok = 0;
    ASSERT_EQ(read(ready[0], &ok, 1), 1);
    ASSERT_EQ(ok, 1);

    InstanceLock mine(dir / "tobira.lock");
    EXPECT_FALSE(mine.tryAcquire()) << "the running holder keeps the lock";
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(mine.tryAcquire()) << "the kernel released the killed holder's lock";
    close(ready[0]);
    close(ready[1]);
}

TEST(InstanceLock, UnopenableLockFileIsAnError) {
    InstanceLock lock("/nonexistent-folder/tobira.lock");
    EXPECT_THROW(lock.tryAcquire(), std::runtime_error);
}

} // namespace
} // namespace tobira
