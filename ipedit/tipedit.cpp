#include "ipedit/tipedit.h"

#include <QEvent>
#include <QFontInfo>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>
#include <algorithm>
#include <cstdlib>

TIPEdit::TIPEdit(QWidget* parent) : QWidget(parent) {
  for (int k = 0; k < 4; ++k) fields_[k] = new TIPFieldEdit(this, k);
  // The box itself never holds the focus: it hands it to field 0, and Tab
  // walks the fields in order.
  setFocusPolicy(Qt::NoFocus);
  setFocusProxy(fields_[0]);
  setCursor(Qt::IBeamCursor);
  resize(125, 21);
  QFont f;  // only size and weight: the rest still comes from the parent
  f.setPointSize(9);
  f.setBold(true);
  setFont(f);
  SetTabStop(true);
  LayoutIPFields();
}

QString TIPEdit::IPString() const {
  QString s;
  for (int k = 0; k < 4; ++k) {
    if (fields_[k]->InError()) return QStringLiteral("255");
    s += QString::number(fields_[k]->FieldValue());
    if (k < 3) s += u'.';
  }
  return s;
}

void TIPEdit::SetIPString(const QString& ip) {
  QString rest = ip;
  std::array<std::uint8_t, 4> octets{};
  for (int k = 0; k < 4; ++k) {
    const qsizetype dot = rest.indexOf(u'.');
    const QString part = dot < 0 ? rest : rest.left(dot);
    if (dot >= 0) rest.remove(0, dot);
    const std::optional<long long> v = OctetTextToInteger(part);
    octets[k] = v && *v >= 0 && *v <= 255 ? static_cast<std::uint8_t>(*v) : 255;
    if (k < 3) {
      if (!rest.startsWith(u'.')) return;  // too few dots or numbers: keep the old address
      rest.remove(0, 1);
    }
  }
  for (int k = 0; k < 4; ++k) fields_[k]->SetFieldValue(octets[k]);
}

bool TIPEdit::Error() const {
  for (const TIPFieldEdit* f : fields_)
    if (f->InError()) return true;
  return false;
}

TIPFieldEdit* TIPEdit::FieldAt(int index) const { return index >= 0 && index < 4 ? fields_[index] : nullptr; }

void TIPEdit::clear() {
  for (int k = 0; k < 4; ++k) FieldAt(k)->clear();
}

bool TIPEdit::ShowsAddress() const {
  return std::none_of(fields_.begin(), fields_.end(), [](const TIPFieldEdit* f) { return f->text().isEmpty(); });
}

// The window's focus widget rather than hasFocus(), which is false whenever
// the window is not the active one.
bool TIPEdit::FieldHasFocus(int index) const { return fields_[index]->window()->focusWidget() == fields_[index]; }

int TIPEdit::FocusedFieldIndex() const {
  int found = -1;
  for (int k = 0; k < 4; ++k)
    if (FieldHasFocus(k)) found = k;
  return found;
}

void TIPEdit::FocusNextField(bool selectAll) {
  for (int k = 0; k < 3; ++k) {
    if (!FieldHasFocus(k)) continue;
    TIPFieldEdit* target = fields_[k + 1];
    if (selectAll)
      target->selectAll();
    else
      target->SetCaretColumn(0);
    target->setFocus(Qt::OtherFocusReason);  // Tab would select all on its own
    return;
  }
}

void TIPEdit::FocusPrevField(bool selectAll) {
  for (int k = 3; k > 0; --k) {
    if (!FieldHasFocus(k)) continue;
    TIPFieldEdit* target = fields_[k - 1];
    if (selectAll)
      target->selectAll();
    else
      target->SetCaretColumn(3);
    target->setFocus(Qt::OtherFocusReason);
    return;
  }
}

int TIPEdit::BorderWidth() const {
  if (borderStyle_ == bsNone) return 0;
  QStyleOptionFrame opt;
  opt.initFrom(this);
  return style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, this);
}

QFont TIPEdit::DotFont() const {
  QFont f = font();
  f.setBold(true);
  f.setPointSize(18);
  return f;
}

TIPEdit::Geometry TIPEdit::Metrics() const {
  const int size = std::abs(font().pointSize() > 0 ? font().pointSize() : QFontInfo(font()).pointSize());
  // Three pixels a point suits fonts with narrow digits; wider digits (DejaVu
  // and the like) widen the fields so that three fit beside QLineEdit's
  // margins and caret, and the gap keeps a pixel free each side of the dot.
  // The row is centred inside the border, whatever the style makes its width.
  const QFontMetrics fm(font());
  int digit = 0;
  for (char16_t c = u'0'; c <= u'9'; ++c) digit = std::max(digit, fm.horizontalAdvance(QChar(c)));
  const int w = std::max(size * 3, 3 * digit + 5);
  const int dot = QFontMetrics(DotFont()).tightBoundingRect(QStringLiteral(".")).width();
  const int g = std::max(w / 9 + 1, dot + 2);
  return {w, g, (width() - 2 * BorderWidth() - 4 * w - 3 * g) / 2};
}

void TIPEdit::LayoutIPFields() {
  const Geometry m = Metrics();
  const int b = BorderWidth();
  // A QLineEdit centres its text vertically, so the fields fill the client
  // height rather than start below its top as top-aligned edits would.
  for (int k = 0; k < 4; ++k) fields_[k]->setGeometry(b + m.X0 + k * (m.W + m.G), b, m.W, height() - 2 * b);
}

void TIPEdit::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int b = BorderWidth();
  if (borderStyle_ == bsSingle) {
    QStyleOptionFrame opt;
    opt.initFrom(this);
    opt.rect = rect();
    opt.lineWidth = b;
    opt.midLineWidth = 0;
    opt.state |= QStyle::State_Sunken;
    for (const TIPFieldEdit* f : fields_)
      if (f->hasFocus()) opt.state |= QStyle::State_HasFocus;
    if (ReadOnly()) opt.state |= QStyle::State_ReadOnly;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &opt, &p, this);
  } else {
    p.fillRect(rect(), palette().brush(QPalette::Base));
  }

  // The dots: 18 points bold, each centred in the gap after field k and
  // standing on the octets' baseline, where a period belongs.
  const Geometry m = Metrics();
  const QFont dotFont = DotFont();
  p.setFont(dotFont);
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::Text));
  const QRect ink = QFontMetrics(dotFont).tightBoundingRect(QStringLiteral("."));
  const QFontMetrics fm(fields_[0]->font());
  const QRect f0 = fields_[0]->geometry();
  // Where a vertically centred QLineEdit puts its baseline.
  const int baseline = f0.y() + (f0.height() - fm.height() + 1) / 2 + fm.ascent();
  for (int k = 0; k < 3; ++k) {
    const int gapLeft = b + m.X0 + m.W + k * (m.W + m.G);
    p.drawText(QPoint(gapLeft + (m.G - ink.width()) / 2 - ink.left(), baseline - 1 - ink.bottom()),
               QStringLiteral("."));
  }
}

void TIPEdit::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  LayoutIPFields();
}

void TIPEdit::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange) {
    LayoutIPFields();
    update();
  }
}

void TIPEdit::mousePressEvent(QMouseEvent* e) {
  QWidget::mousePressEvent(e);
  if (FocusedFieldIndex() == -1) fields_[0]->setFocus(Qt::MouseFocusReason);
}

void TIPEdit::SetBorderStyle(TBorderStyle style) {
  if (style == borderStyle_) return;
  borderStyle_ = style;
  LayoutIPFields();
  update();
}

void TIPEdit::SetReadOnly(bool readOnly) {
  if (readOnly == ReadOnly()) return;
  for (TIPFieldEdit* f : fields_) f->setReadOnly(readOnly);
  update();
}

void TIPEdit::SetTabStop(bool tabStop) {
  tabStop_ = tabStop;
  for (TIPFieldEdit* f : fields_) f->setFocusPolicy(tabStop ? Qt::StrongFocus : Qt::ClickFocus);
}

void TIPEdit::SetCursor(const QCursor& cursor) {
  setCursor(cursor);
  for (TIPFieldEdit* f : fields_) f->setCursor(cursor);
}

void TIPEdit::SetColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::Base, color);
  setPalette(pal);  // the fields take it up too
  update();
}

void TIPEdit::RaiseError(int field) {
  if (OnError) OnError(parentWidget(), field);
}

void TIPEdit::RaiseChange() {
  if (OnChange) OnChange(parentWidget());
}
