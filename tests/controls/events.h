#pragma once
// Helpers of the widget tests: events go straight to the widget.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTest>
#include <QWidget>

// Shows a window and makes it active: focus, and what hangs on it, needs both.
inline void ShowActive(QWidget* window) {
  window->show();
  window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

// One mouse event at a point of w; the global position follows from it.
inline void SendMouse(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

// A press holds the button it presses.
inline void MousePress(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonPress, at, button, button);
}

// A release leaves no button held.
inline void MouseRelease(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  SendMouse(w, QEvent::MouseButtonRelease, at, button, Qt::NoButton);
}

// A move names no button, only those held.
inline void MouseMove(QWidget* w, QPoint at, Qt::MouseButtons held = Qt::NoButton) {
  SendMouse(w, QEvent::MouseMove, at, Qt::NoButton, held);
}

// Press and release at one point.
inline void MouseClick(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  MousePress(w, at, button);
  MouseRelease(w, at, button);
}

// Qt's order for a double click: press, release, double click, release.
inline void MouseDoubleClick(QWidget* w, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  MouseClick(w, at, button);
  SendMouse(w, QEvent::MouseButtonDblClick, at, button, button);
  MouseRelease(w, at, button);
}

// A key event; Space carries its text, as the keyboard's does.
inline void SendKey(QWidget* w, QEvent::Type type, int key, bool autoRepeat = false) {
  QKeyEvent e(type, key, Qt::NoModifier, key == Qt::Key_Space ? QStringLiteral(" ") : QString(), autoRepeat);
  QApplication::sendEvent(w, &e);
}

// A key press without text; returns whether the widget took it.
inline bool PressKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent e(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(w, &e);
  return e.isAccepted();
}
