#pragma once
// Helpers of the widget tests: events go straight to the widget.
#include <gtest/gtest.h>

#include <QTest>
#include <QWidget>

// Shows a window and makes it active: focus, and what hangs on it, needs both.
inline void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}
