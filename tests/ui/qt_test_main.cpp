#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>
#include <cstdlib>

#include "link/netguard.h"

int main(int argc, char** argv) {
  // Must be set before QApplication exists, or test discovery needs a display.
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  // These tests open sockets: only inside the private namespace.
  if (!::testing::GTEST_FLAG(list_tests) && !netguard::OnlyLoopbackInterfaces()) {
    std::fprintf(stderr,
                 "this machine has network interfaces besides loopback: run the tests through scripts/netns-run\n");
    return 1;
  }
  return RUN_ALL_TESTS();
}
