#pragma once
// Placing controls on the fixed-size windows.
#include <QRect>
#include <QString>
#include <QWidget>
#include <type_traits>

#include "controls/qelbuttons.h"
#include "controls/qellabel.h"

namespace layout {

// The windows were drawn with label text centred vertically in fixed boxes; a window
// that sets its own alignment afterwards keeps it.
inline void CentreInBox(TQelLabel* l) {
  l->SetLayout(TQelLabel::tlCenter);
  l->SetAutoSize(false);
}

// Names a new control (handlers and tests find controls by name) and places it.
template <class W>
W* Place(W* w, const char* name, const QRect& r) {
  w->setObjectName(QString::fromLatin1(name));
  if constexpr (std::is_base_of_v<TQelLabel, W>) CentreInBox(w);
  w->setGeometry(r);
  return w;
}

inline TQelLabel* MakeLabel(QWidget* parent, const QString& caption, const QRect& r) {
  auto* l = new TQelLabel(caption, parent);
  CentreInBox(l);
  l->setGeometry(r);
  return l;
}

template <class B>
B* MakeButton(QWidget* parent, const char* name, const QString& caption, const QRect& r) {
  return Place(new B(caption, parent), name, r);
}

}  // namespace layout
