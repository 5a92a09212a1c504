#pragma once

#include <QEvent>
#include <QObject>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

#include "controls/qelcolor.h"

class QRect;
class QWidget;

namespace qel {

// Sent to a styled control's direct children when its Color changes.
extern const QEvent::Type ParentColorChange;

class ParentColorChangeEvent : public QEvent {
 public:
  explicit ParentColorChangeEvent(TColor color) : QEvent(ParentColorChange), color_(color) {}
  TColor color() const { return color_; }

 private:
  TColor color_;
};

// The colour a ParentColor control takes: the parent's Color when the parent
// is a styled control (a "Color" property of type TColor), else the parent's
// Qt background. clBtnFace without a parent.
TColor ParentColorOf(const QWidget* widget);
// Whether a widget is a styled control with a Color, so it paints one
// known colour (a plain Qt parent need not paint its palette colour).
bool HasStyledColor(const QWidget* widget);
// Tells the direct children of widget that its Color is now color.
void NotifyChildrenOfColor(QWidget* widget, TColor color);

// a * b / c rounded half away from zero, as the platform's multiply-divide.
// c 0 gives -1.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const long long p = static_cast<long long>(a) * b;
  const long long ap = p < 0 ? -p : p, ac = c < 0 ? -static_cast<long long>(c) : c;
  const long long q = (2 * ap + ac) / (2 * ac);
  return static_cast<int>((p < 0) != (c < 0) ? -q : q);
}

// Docking of a child to an edge of its container, the container placing
// it: alTop children stack down from the top in child order, then alBottom
// up from the bottom, then alLeft, then alRight; alClient fills what is
// left. Widgets that are not styled containers ignore it.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
TAlign AlignOf(const QWidget* widget);
// Stores align and asks the parent to place its children again.
void SetAlign(QWidget* widget, TAlign align);
// Places container's aligned children (those not hidden) inside area.
void AlignChildren(QWidget* container, const QRect& area);

// Whole wheel notches (120 eighths of a degree each) from deltas gathered
// in accumulated: +1 per notch up, -1 per notch down; the rest stays.
inline int TakeWheelNotches(int& accumulated, int delta) {
  constexpr int kNotch = 120;
  accumulated += delta;
  const int notches = accumulated / kNotch;
  accumulated -= notches * kNotch;
  return notches;
}

// Enter as Tab: a Tab press posted to widget moves the focus on once the
// Enter that asked for it is done.
void PostTabKey(QWidget* widget);

// One beep for the whole library, replaceable (tests count it).
void Beep();
std::function<void()> SetBeepHook(std::function<void()> hook);  // empty restores the default
// What a control passes on from an event handler: reported, never thrown
// across the event loop.
void ReportError(const QString& message);
std::function<void(const QString&)> SetErrorHook(std::function<void(const QString&)> hook);

// Shared ground of every styled control and of the frame controller.
// Loading is explicit: between beginLoad() and finishLoad() writers store
// without repainting and skip their after-loading steps; finishLoad() runs
// those steps once and repaints once. A control never bracketed counts as
// loaded.
class StyledControl {
 public:
  explicit StyledControl(QObject* self);
  virtual ~StyledControl();
  StyledControl(const StyledControl&) = delete;
  StyledControl& operator=(const StyledControl&) = delete;

  void beginLoad();
  void finishLoad();
  bool isLoading() const { return loading_ > 0; }

  // An old form property by name; true when this control took it.
  virtual bool applyLegacyProperty(const QString& name, const QVariant& value);

  bool parentColor() const { return parentColor_; }
  void setParentColor(bool on);

 protected:
  // The steps that follow loading (and a change that acts "unless loading").
  virtual void loaded() {}
  // A parent's colour reached a control with ParentColor set.
  virtual void parentColorChanged(TColor) {}
  // Repaints the whole control; nothing while loading.
  virtual void refresh();

  // The writers' rule: an unchanged value does nothing, a new one is stored
  // and repainted. Returns whether it changed.
  template <class T, class U>
  bool assign(T& field, const U& value) {
    if (field == value) return false;
    field = value;
    refresh();
    return true;
  }

  QObject* self() const { return self_; }

 private:
  class Watcher;
  void takeParentColor();

  QObject* self_;
  std::unique_ptr<Watcher> watcher_;
  int loading_ = 0;
  bool parentColor_ = false;
};

}  // namespace qel
