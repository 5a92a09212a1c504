#include <QGuiApplication>
#include <QScreen>

#include "controls/qelcolormath.h"

bool ScreenHasFullColor() {
  const QScreen* screen =
      qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
  return !screen || screen->depth() > 8;
}
