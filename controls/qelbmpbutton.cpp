#include "controls/qelbmpbutton.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <memory>

#include "controls/qelborders.h"
#include "controls/qelbuttons.h"
#include "controls/qeldraw.h"
#include "controls/qelpictures.h"

using qel::TRect;

namespace {

int g_buttons = 0;
std::unique_ptr<qel::CanvasBrush> g_downPattern;

qel::Canvas CanvasOf(const QImage& picture) {
  qel::Canvas canvas(picture.width(), picture.height());
  canvas.Image() = picture.convertToFormat(QImage::Format_RGB32);
  canvas.Image().setDevicePixelRatio(1);
  return canvas;
}

// The embossed grey of a picture that has no Disabled one: its see-through
// and light pixels become the button face, the dark ones shadow over a
// highlight one pixel right and down.
QImage GeneratedDisabled(const QImage& up, TColor transparent) {
  // See-through pixels count as light whatever their colour.
  QImage light = up.convertToFormat(QImage::Format_RGB32);
  const QRgb key = ColorToQRgb(transparent);
  for (int y = 0; y < light.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(light.scanLine(y));
    for (int x = 0; x < light.width(); ++x)
      if ((line[x] | 0xFF000000u) == key) line[x] = 0xFFFFFFFFu;
  }
  return qel::GreyedPicture(light, clBtnFace);
}

// The face of a bbButton border: one ring in the new style; in the old a
// black frame, its corners left out when rounded, with a ring inside. Hands
// back the client moved in by 1 (new) or 2 (old).
TRect PaintButtonFace(qel::Canvas& c, const TRect& client, bool newStyle, bool rounded, bool down) {
  c.FillRect(client, clBtnFace);
  const TColor upperLeft = down ? clBtnShadow : clBtnHighlight;
  if (newStyle) {
    qel::PaintEdgeLines(c, client, upperLeft, qel::sdAllSides, down ? clBtnShadow : cl3DDkShadow);
    return qel::InsetSides(client, qel::sdAllSides, 1);
  }
  const TRect ring = qel::PaintEdgeLines(c, client, clBlack, qel::sdAllSides, clBlack);
  if (rounded)
    for (auto [x, y] : {std::pair{client.Left, client.Top},
                        {client.Right - 1, client.Top},
                        {client.Left, client.Bottom - 1},
                        {client.Right - 1, client.Bottom - 1}})
      c.SetPixel(x, y, clBtnFace);
  qel::PaintEdgeLines(c, ring, upperLeft, qel::sdAllSides, clBtnShadow);
  return qel::InsetSides(client, qel::sdAllSides, 2);
}

}  // namespace

// --- TQelButtonBitmaps ---

void TQelButtonBitmaps::Store(QImage& field, const QImage& v) {
  field = v;
  emit Changed();
}

void TQelButtonBitmaps::SetTransparentColor(TColor v) {
  if (transparentColor_ == v) return;
  transparentColor_ = v;
  emit Changed();
}

// --- TQelBmpButton ---

TQelBmpButton::TQelBmpButton(QWidget* parent)
    : QAbstractButton(parent), StyledControl(this), bitmaps_(new TQelButtonBitmaps(this)) {
  resize(80, 30);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  connect(bitmaps_, &TQelButtonBitmaps::Changed, this, &TQelBmpButton::BitmapsChanged);
  ++g_buttons;
}

TQelBmpButton::~TQelBmpButton() {
  if (--g_buttons == 0) g_downPattern.reset();
}

int TQelBmpButton::Count() { return g_buttons; }

const qel::CanvasBrush* TQelBmpButton::DownPatternBrush() { return g_downPattern.get(); }

const qel::CanvasBrush& TQelBmpButton::MakeDownPatternBrush() {
  if (!g_downPattern) {
    g_downPattern = std::make_unique<qel::CanvasBrush>(qel::CheckerBrush(clWhite, clBtnFace));
  }
  return *g_downPattern;
}

void TQelBmpButton::click() { qel::ModalClick(this, modalResult_); }

void TQelBmpButton::SetMargin(int v) {
  if (v >= -1) assign(margin_, v);
}

void TQelBmpButton::SetGroupIndex(int v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  NotifyBmpGroup();
}

void TQelBmpButton::SetAllowAllUp(bool v) {
  if (allowAllUp_ == v) return;
  allowAllUp_ = v;
  NotifyBmpGroup();
}

void TQelBmpButton::SetDown(bool v) {
  const bool value = groupIndex_ != 0 && v;
  if (value == down_ || (down_ && !allowAllUp_)) return;
  down_ = value;
  state_ = value ? stStayDown : stUp;
  refresh();
  if (value) NotifyBmpGroup();
}

void TQelBmpButton::NotifyBmpGroup() {
  QWidget* parent = parentWidget();
  if (groupIndex_ == 0 || !parent) {
    state_ = stUp;
    return;
  }
  for (QObject* child : parent->children())
    if (auto* b = qobject_cast<TQelBmpButton*>(child)) b->BmpGroupMessage(groupIndex_, this);
}

void TQelBmpButton::BmpGroupMessage(int groupIndex, TQelBmpButton* sender) {
  if (sender == this || groupIndex != groupIndex_) return;
  if (sender->down_ && down_) {
    down_ = false;
    state_ = stUp;
    refresh();
  }
  allowAllUp_ = sender->allowAllUp_;
}

int TQelBmpButton::BorderWidth() const {
  switch (buttonBorder_) {
    case bbNone: return 0;
    case bbSingle: return 1;
    case bbButton: return NewStyle() ? 2 : 3;
  }
  return 0;
}

void TQelBmpButton::SizeToBitmap() {
  const QImage& up = bitmaps_->Up();
  if (isLoading() || buttonSize_ == bszNeither || up.isNull()) return;
  if (buttonSize_ == bszButtonToBitmap) {
    const int b = BorderWidth();
    resize(up.width() + 2 * b, up.height() + 2 * b);
  }
  update();
}

void TQelBmpButton::BitmapsChanged() {
  if (buttonSize_ == bszButtonToBitmap) SizeToBitmap();
  refresh();
}

void TQelBmpButton::resizeEvent(QResizeEvent* e) {
  QAbstractButton::resizeEvent(e);
  SizeToBitmap();
}

TQelBmpButton::TBitmapLayout TQelBmpButton::CalcBitmapLayout(const TRect& face, const QImage& picture) const {
  const qel::FontValue font{this->font(), fontColor_, 0};
  const qel::TPoint c{face.Width(), face.Height()};
  const bool takesRoom = !picture.isNull() && buttonSize_ == bszNeither;
  const qel::TPoint g = takesRoom ? qel::TPoint{picture.width(), picture.height()} : qel::TPoint{};
  const QString caption = text();
  const TRect measured = caption.isEmpty() ? TRect{} : qel::Text().Measure(font, caption, c.X, qel::tfSingleLine);
  const qel::TPoint t{measured.Width(), measured.Height()};
  // Each point split into its coordinate along the layout axis and across it.
  const bool across = layout_ == blGlyphLeft || layout_ == blGlyphRight;
  auto along = [across](auto& p) -> auto& { return across ? p.X : p.Y; };
  auto athwart = [across](auto& p) -> auto& { return across ? p.Y : p.X; };
  qel::TPoint picAt, textAt;
  athwart(picAt) = athwart(c) / 2 - athwart(g) / 2;
  athwart(textAt) = athwart(c) / 2 - athwart(t) / 2;
  int spacing = t.X == 0 || g.X == 0 ? 0 : spacing_;
  int margin = margin_;
  const int cAxis = along(c), gAxis = along(g), tAxis = along(t);
  if (margin == -1 && spacing == -1) {
    margin = (cAxis - (gAxis + tAxis)) / 3;
    spacing = margin;
  } else if (margin == -1) {
    margin = cAxis / 2 - (gAxis + spacing + tAxis) / 2;
  } else if (spacing == -1) {
    spacing = (cAxis - (margin + gAxis)) / 2 - tAxis / 2;
  }
  if (layout_ == blGlyphLeft || layout_ == blGlyphTop) {
    along(picAt) = margin;
    along(textAt) = margin + gAxis + spacing;
  } else {
    along(picAt) = cAxis - margin - gAxis;
    along(textAt) = along(picAt) - spacing - tAxis;
  }
  TBitmapLayout result;
  result.Caption = Moved(measured, face.Left + textAt.X, face.Top + textAt.Y);
  result.Picture = face;
  if (g.X != 0 || g.Y != 0) {
    const int x = face.Left + picAt.X, y = face.Top + picAt.Y;
    result.Picture = {x, y, x + g.X, y + g.Y};
  }
  return result;
}

void TQelBmpButton::SetState(TBmpState v) {
  if (state_ == v) return;
  state_ = v;
  repaint();
}

// A disabled button is drawn disabled and holds no press; enabled again it
// comes back at rest.
void TQelBmpButton::FollowEnabled() {
  if (!isEnabled()) {
    state_ = stDisabled;
    press_ = NoPress;
  } else if (state_ == stDisabled) {
    state_ = RestState();
  }
}

const QImage* TQelBmpButton::ChoosePicture(QImage& generated) const {
  const TQelButtonBitmaps& b = *bitmaps_;
  auto first = [](std::initializer_list<const QImage*> pictures) {
    for (const QImage* p : pictures)
      if (!p->isNull()) return p;
    return pictures.end()[-1];
  };
  if (b.Up().isNull() && !(state_ == stDisabled && !b.Disabled().isNull())) return nullptr;
  switch (state_) {
    case stUp:
      if (mouseOver_ && !b.Hot().isNull()) return &b.Hot();
      if (!hasFocus_ || !showFocus_) return &b.Up();
      return first({&b.UpAndFocused(), &b.Up()});
    case stDisabled:
      if (!b.Disabled().isNull()) return &b.Disabled();
      generated = GeneratedDisabled(b.Up(), b.TransparentColor());
      return &generated;
    case stPressed: return first({&b.Down(), &b.Up()});
    case stStayDown: return first({&b.StayDown(), &b.Down(), &b.Up()});
  }
  return nullptr;
}

qel::Canvas TQelBmpButton::Paint() {
  qel::Canvas canvas = qel::CanvasFor(this);
  PaintAll(canvas);
  return canvas;
}

void TQelBmpButton::paintEvent(QPaintEvent*) {
  // Composed off-screen and copied in one step: never half drawn.
  const qel::Canvas canvas = Paint();
  QPainter p(this);
  qel::ShowCanvas(p, canvas);
}

void TQelBmpButton::PaintAll(qel::Canvas& c) {
  FollowEnabled();
  const bool newStyle = NewStyle();
  const int d = newStyle ? 1 : 2;
  const TRect client{0, 0, width(), height()};
  TRect r = client;
  c.Brush = qel::CanvasBrush{};
  c.Brush.Color = color_;
  switch (buttonBorder_) {
    case bbNone:
      c.FillRect(r);
      qel::PaintParentImage(this, c);
      break;
    case bbSingle:
      c.FillRect(r);
      r = qel::PaintEdgeLines(c, r, clBlack, qel::sdAllSides, clBlack);
      break;
    case bbButton:
      r = qel::InsetSides(PaintButtonFace(c, client, newStyle, !newStyle, state_ == stPressed || state_ == stStayDown),
                          qel::sdAllSides, 1);
      break;
  }
  if (state_ == stStayDown && buttonBorder_ != bbNone) {
    const qel::CanvasBrush keep = c.Brush;
    if (showDownPattern_) c.Brush = MakeDownPatternBrush();
    const int pull = newStyle ? 2 : 1;
    // Grown by the bevel, the face would reach over the border's top and
    // left lines (all of a single frame's in the old style): kept inside it.
    c.Save();
    c.IntersectClipRect(qel::InsetSides(client, qel::sdAllSides, buttonBorder_ == bbSingle ? 1 : d));
    c.FillRect({r.Left - d, r.Top - d, r.Right - pull + d, r.Bottom - pull + d});
    c.Restore();
    c.Brush = keep;
  }
  QImage generated;
  const QImage* picture = ChoosePicture(generated);
  const TBitmapLayout layout = CalcBitmapLayout(r, picture ? *picture : QImage());
  if (picture) {
    const qel::Canvas source = CanvasOf(*picture);
    const TColor key = bitmaps_->TransparentColor();
    const TRect whole{0, 0, source.Width(), source.Height()};
    switch (buttonSize_) {
      case bszNeither: qel::BlitTransparentColor(c, source, layout.Picture, key, whole); break;
      case bszButtonToBitmap: qel::BlitMaskedBitmap(c, source, r, key, whole); break;
      case bszStretchToButton: qel::StretchTransparentBitmap(c, source, r, key); break;
      case bszTileToButton: qel::TileTransparentBitmap(c, source, r, key); break;
    }
  }
  if (!text().isEmpty()) PaintCaption(c, layout.Caption);
}

void TQelBmpButton::PaintCaption(qel::Canvas& c, const TRect& r) {
  c.Font = {font(), fontColor_, 0};
  c.Brush.Clear = true;
  const unsigned flags = qel::tfCenter | qel::tfVCenter | qel::tfSingleLine;
  auto draw = [&](const TRect& at, TColor color) {
    c.Font.Color = color;
    c.TextRect(at, text(), flags);
  };
  if (state_ == stDisabled) {
    draw(Moved(r, 1, 1), clWhite);
    draw(r, clGray);
  } else {
    const int by = state_ == stPressed || state_ == stStayDown ? captionDownOffset_ : 0;
    draw(Moved(r, by, by), fontColor_);
  }
  c.Brush.Clear = false;
  if (hasFocus_ && showFocus_) qel::PaintFocusFrame(c, qel::InsetSides(r, qel::sdAllSides, -2));
}

// --- Input ---

bool TQelBmpButton::event(QEvent* e) {
  if (qel::TakeAccelerator(
          e, this, [this] { return isEnabled() && focusPolicy() != Qt::NoFocus; }, [this] { click(); }))
    return true;
  return QAbstractButton::event(e);
}

void TQelBmpButton::StartPress(TPress how) {
  if (!down_) SetState(stPressed);
  press_ = how;
}

void TQelBmpButton::mousePressEvent(QMouseEvent* e) {
  if (!isEnabled()) {
    QWidget::mousePressEvent(e);
    return;
  }
  if (!hasFocus()) setFocus(Qt::MouseFocusReason);
  // A window that is not active yet still gives this button its focus.
  const bool focused = hasFocus() || window()->focusWidget() == this;
  if (e->button() != Qt::LeftButton || !focused) {
    QWidget::mousePressEvent(e);
    return;
  }
  e->accept();
  StartPress(MousePress);
}

void TQelBmpButton::mouseDoubleClickEvent(QMouseEvent* e) {
  mousePressEvent(e);
  if (down_) emit DblClick();
}

void TQelBmpButton::mouseMoveEvent(QMouseEvent* e) {
  if (press_ != MousePress) {
    QWidget::mouseMoveEvent(e);
    return;
  }
  SetState(down_ ? stStayDown : Inside(e->position().toPoint()) ? stPressed : stUp);
}

void TQelBmpButton::mouseReleaseEvent(QMouseEvent* e) {
  if (press_ != MousePress || e->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(e);
    return;
  }
  press_ = NoPress;
  const bool inside = Inside(e->position().toPoint());
  NotifyBmpGroup();
  FinishClick(inside);
}

void TQelBmpButton::FinishClick(bool inside) {
  if (groupIndex_ == 0) {
    repaint();
  } else if (inside) {
    SetDown(!down_);
  } else {
    state_ = RestState();
    repaint();
  }
  if (inside) click();
}

void TQelBmpButton::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  if (!enter && !qel::IsSpacePress(e)) {
    QWidget::keyPressEvent(e);
    return;
  }
  if (!qel::AcceptUnrepeated(e)) return;
  if (enter)
    click();
  else
    StartPress(SpacePress);
}

void TQelBmpButton::keyReleaseEvent(QKeyEvent* e) {
  // Only the Space that began a press ends it: Shift or another key coming
  // up while the mouse is held, or after Enter, clicks nothing.
  if (e->key() != Qt::Key_Space || press_ != SpacePress) {
    QWidget::keyReleaseEvent(e);
    return;
  }
  if (!qel::AcceptUnrepeated(e)) return;
  press_ = NoPress;
  state_ = RestState();
  FinishClick(true);
}

void TQelBmpButton::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  hasFocus_ = true;
  repaint();
}

void TQelBmpButton::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  hasFocus_ = false;
  // The Space key's release goes to the new focus: its press ends unclicked.
  if (press_ == SpacePress) {
    press_ = NoPress;
    state_ = RestState();
  }
  repaint();
}

void TQelBmpButton::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  mouseOver_ = true;
  emit MouseEnter();
  if (!bitmaps_->Hot().isNull()) repaint();
}

void TQelBmpButton::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  mouseOver_ = false;
  emit MouseLeave();
  if (!bitmaps_->Hot().isNull()) repaint();
}

void TQelBmpButton::changeEvent(QEvent* e) {
  QAbstractButton::changeEvent(e);
  if (e->type() == QEvent::EnabledChange) FollowEnabled();
  if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) update();
}

// --- The link indicator's pictures ---

namespace qel {

namespace {

// One lamp in a metal bezel; the lens shades 1 (its gleam) to 4 (its rim).
QImage Lamp(TColor gleam, TColor light, TColor body, TColor rim) {
  return PictureFromMap(
      {
          "...........oooo...........", "........oooWWWWooo........", "......ooWWWWWWWWWSoo......",
          ".....oWWWWkkkkkkWSSSo.....", "....oWWWkk444444kkSSSo....", "...oWWWk3333334444kSSSo...",
          "..oWWWk332233333444kSSSo..", "..oWWk33222223333444kSSo..", ".oWWk3322112233334444kSSo.",
          ".oWWk3221111223334444kDDo.", ".oWk432211112233344444kDo.", "oWWk433221122333344444kDDo",
          "oWWk433222222333344444kDDo", "oWWk433332233333444444kDDo", "oWWk443333333334444444kDDo",
          ".oWk443333333344444444kDo.", ".oWWk4433333344444444kDDo.", ".oSSk4444444444444444kDDo.",
          "..oSSk44444444444444kDDo..", "..oSSSk444444444444kDDDo..", "...oSSSk4444444444kDDDo...",
          "....oSSSkk444444kkDDDo....", ".....oSSSDkkkkkkDDDDo.....", "......ooSDDDDDDDDDoo......",
          "........oooDDDDooo........", "...........oooo...........",
      },
      {{'.', clOlive},
       {'o', RGB(0x40, 0x40, 0x40)},
       {'W', clWhite},
       {'S', clSilver},
       {'D', clGray},
       {'k', RGB(0x20, 0x20, 0x20)},
       {'1', gleam},
       {'2', light},
       {'3', body},
       {'4', rim}});
}

}  // namespace

// The button is disabled while its panel is linked: idle is the dark lamp,
// linked the lit one.
QImage LinkIndicatorUp() {
  return Lamp(RGB(0x98, 0xA0, 0x98), RGB(0x68, 0x74, 0x68), RGB(0x48, 0x54, 0x48), RGB(0x30, 0x38, 0x30));
}

QImage LinkIndicatorDisabled() {
  return Lamp(RGB(0xE8, 0xFF, 0xE8), RGB(0x90, 0xFF, 0x90), RGB(0x20, 0xE0, 0x20), RGB(0x00, 0x98, 0x00));
}

}  // namespace qel
