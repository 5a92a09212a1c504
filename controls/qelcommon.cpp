#include "controls/qelcommon.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QPalette>
#include <QWidget>
#include <QtDebug>
#include <algorithm>
#include <vector>

namespace qel {

const QEvent::Type ParentColorChange = QEvent::Type(QEvent::registerEventType());

namespace {

std::function<void()>& BeepHook() {
  static std::function<void()> hook;
  return hook;
}

std::function<void(const QString&)>& ErrorHook() {
  static std::function<void(const QString&)> hook;
  return hook;
}

}  // namespace

bool HasStyledColor(const QWidget* widget) {
  const QMetaObject* meta = widget->metaObject();
  const int index = meta->indexOfProperty("Color");
  return index >= 0 && meta->property(index).metaType() == QMetaType::fromType<TColor>();
}

TColor ParentColorOf(const QWidget* widget) {
  const QWidget* parent = widget->parentWidget();
  if (!parent) return clBtnFace;
  if (HasStyledColor(parent)) return parent->property("Color").value<TColor>();
  return QRgbToColor(parent->palette().color(QPalette::Window).rgb());
}

void NotifyChildrenOfColor(QWidget* widget, TColor color) {
  for (QObject* child : widget->children())
    if (child->isWidgetType()) {
      ParentColorChangeEvent event(color);
      QCoreApplication::sendEvent(child, &event);
    }
}

namespace {
constexpr char kAlignProperty[] = "qelAlign";
}

TAlign AlignOf(const QWidget* widget) {
  const QVariant v = widget->property(kAlignProperty);
  return v.isValid() ? TAlign(v.toInt()) : alNone;
}

void SetAlign(QWidget* widget, TAlign align) {
  if (AlignOf(widget) == align) return;
  widget->setProperty(kAlignProperty, int(align));
  if (QWidget* parent = widget->parentWidget()) {
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(parent, &request);
  }
}

void AlignChildren(QWidget* container, const QRect& area) {
  int left = area.x(), top = area.y(), right = left + area.width(), bottom = top + area.height();
  std::vector<QWidget*> children;
  for (QObject* object : container->children()) {
    auto* child = qobject_cast<QWidget*>(object);
    if (child && !child->isWindow() && child->isVisibleTo(container) && AlignOf(child) != alNone)
      children.push_back(child);
  }
  const auto place = [](QWidget* child, int x, int y, int w, int h) {
    child->setGeometry(x, y, std::max(w, 0), std::max(h, 0));
  };
  for (TAlign kind : {alTop, alBottom, alLeft, alRight, alClient})
    for (QWidget* child : children) {
      if (AlignOf(child) != kind) continue;
      const int w = child->width(), h = child->height();
      switch (kind) {
        case alTop:
          place(child, left, top, right - left, h);
          top += h;
          break;
        case alBottom:
          bottom -= h;
          place(child, left, bottom, right - left, h);
          break;
        case alLeft:
          place(child, left, top, w, bottom - top);
          left += w;
          break;
        case alRight:
          right -= w;
          place(child, right, top, w, bottom - top);
          break;
        case alClient: place(child, left, top, right - left, bottom - top); break;
        case alNone: break;
      }
    }
}

void PostTabKey(QWidget* widget) {
  QCoreApplication::postEvent(widget, new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier));
}

void Beep() {
  if (BeepHook())
    BeepHook()();
  else
    QApplication::beep();
}

std::function<void()> SetBeepHook(std::function<void()> hook) { return std::exchange(BeepHook(), std::move(hook)); }

void ReportError(const QString& message) {
  if (ErrorHook())
    ErrorHook()(message);
  else
    qWarning().noquote() << message;
}

std::function<void(const QString&)> SetErrorHook(std::function<void(const QString&)> hook) {
  return std::exchange(ErrorHook(), std::move(hook));
}

// Sees the parent-colour notification and a new parent without every
// control forwarding them.
class StyledControl::Watcher : public QObject {
 public:
  explicit Watcher(StyledControl* owner) : owner_(owner) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!owner_->parentColor_) return false;
    if (event->type() == ParentColorChange) {
      owner_->parentColorChanged(static_cast<ParentColorChangeEvent*>(event)->color());
    } else if (event->type() == QEvent::ParentChange) {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget && widget->parentWidget()) owner_->parentColorChanged(ParentColorOf(widget));
    }
    return false;
  }

 private:
  StyledControl* owner_;
};

StyledControl::StyledControl(QObject* self) : self_(self), watcher_(std::make_unique<Watcher>(this)) {
  self_->installEventFilter(watcher_.get());
}

StyledControl::~StyledControl() = default;

void StyledControl::beginLoad() { ++loading_; }

void StyledControl::finishLoad() {
  if (loading_ == 0) return;
  if (--loading_ > 0) return;
  loaded();
  refresh();
}

bool StyledControl::applyLegacyProperty(const QString&, const QVariant&) { return false; }

void StyledControl::setParentColor(bool on) {
  if (parentColor_ == on) return;
  parentColor_ = on;
  if (on) takeParentColor();
}

void StyledControl::takeParentColor() {
  if (auto* widget = qobject_cast<QWidget*>(self_)) parentColorChanged(ParentColorOf(widget));
}

void StyledControl::refresh() {
  if (isLoading()) return;
  if (auto* widget = qobject_cast<QWidget*>(self_)) widget->update();
}

}  // namespace qel
