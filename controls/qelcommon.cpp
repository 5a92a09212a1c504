#include "controls/qelcommon.h"

#include <QApplication>
#include <QMetaProperty>
#include <QPalette>
#include <QWidget>
#include <QtDebug>

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

TColor ParentColorOf(const QWidget* widget) {
  const QWidget* parent = widget->parentWidget();
  if (!parent) return clBtnFace;
  const QMetaObject* meta = parent->metaObject();
  const int index = meta->indexOfProperty("Color");
  if (index >= 0 && meta->property(index).metaType() == QMetaType::fromType<TColor>())
    return parent->property("Color").value<TColor>();
  return QRgbToColor(parent->palette().color(QPalette::Window).rgb());
}

void NotifyChildrenOfColor(QWidget* widget, TColor color) {
  for (QObject* child : widget->children())
    if (child->isWidgetType()) {
      ParentColorChangeEvent event(color);
      QCoreApplication::sendEvent(child, &event);
    }
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

// Sees the parent-colour notification without every control forwarding it.
class StyledControl::Watcher : public QObject {
 public:
  explicit Watcher(StyledControl* owner) : owner_(owner) {}
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == ParentColorChange && owner_->parentColor_)
      owner_->parentColorChanged(static_cast<ParentColorChangeEvent*>(event)->color());
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
