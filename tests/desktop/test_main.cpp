// SPDX-License-Identifier: GPL-3.0-or-later
// The bus tests need an event loop: the player answers calls on the test's own thread.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
