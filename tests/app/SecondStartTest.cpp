#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "platform/SingleInstance.h"
#include "support/TestSupport.h"

TEST(SecondStart, IsRefusedAndBringsTheRunningWindowForward) {
    QTemporaryDir folder;
    SingleInstance first(folder.path());
    int broughtForward = 0;
    first.laterStart = [&] { ++broughtForward; };
    ASSERT_FALSE(first.anotherRunning());

    SingleInstance second(folder.path());
    EXPECT_TRUE(second.anotherRunning());
    for (int i = 0; i < 50 && broughtForward == 0; ++i) pumpEvents(10);
    EXPECT_EQ(broughtForward, 1);

    // Once the running VYRN has ended, the next start runs.
    QTemporaryDir other;
    auto ended = std::make_unique<SingleInstance>(other.path());
    ASSERT_FALSE(ended->anotherRunning());
    ended.reset();
    SingleInstance next(other.path());
    EXPECT_FALSE(next.anotherRunning());
}
