#include "controls/qelbitbtn.h"

#include <array>

#include "controls/qeldraw.h"
#include "controls/qelpictures.h"

using qel::TRect;

namespace {

// Stock pictures, 16 x 16 on the olive key colour.
const qel::PictureLegend kStockLegend = {
    {'.', clOlive}, {'k', clBlack}, {'g', clGreen},  {'l', clLime},  {'r', clRed},    {'m', clMaroon},
    {'b', clNavy},  {'u', clBlue},  {'y', clYellow}, {'w', clWhite}, {'s', clSilver}, {'d', clGray},
};

QImage StockPicture(TQelBitBtn::TBitBtnKind kind) {
  switch (kind) {
    case TQelBitBtn::bkOK:
      return qel::PictureFromMap({"................", "................", "................", "............g...",
                                  "...........gg...", "..........ggg...", "..g......ggg....", "..gg....ggg.....",
                                  "..ggg..ggg......", "...gggggg.......", "....gggg........", ".....gg.........",
                                  "......g.........", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkCancel:
      return qel::PictureFromMap({"................", "................", "...rr......rr...", "...rrr....rrr...",
                                  "....rrr..rrr....", ".....rrrrrr.....", "......rrrr......", "......rrrr......",
                                  ".....rrrrrr.....", "....rrr..rrr....", "...rrr....rrr...", "...rr......rr...",
                                  "................", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkHelp:
      return qel::PictureFromMap({"................", ".....bbbbbb.....", "....bb....bb....", "....bb....bb....",
                                  "..........bb....", ".........bb.....", "........bb......", ".......bb.......",
                                  ".......bb.......", ".......bb.......", "................", ".......bb.......",
                                  ".......bb.......", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkYes:
      return qel::PictureFromMap({"................", "................", "..............g.", ".............gg.",
                                  "............ggg.", "...........ggg..", ".gg.......ggg...", ".ggg.....ggg....",
                                  "..ggg...ggg.....", "...ggg.ggg......", "....ggggg.......", ".....ggg........",
                                  "......g.........", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkNo:
      return qel::PictureFromMap({"................", ".....rrrrrr.....", "...rrr....rrr...", "..rr........rr..",
                                  "..rrr........r..", ".r.rrr.......rr.", ".r..rrr.......r.", ".r...rrr......r.",
                                  ".r....rrr.....r.", ".r.....rrr....r.", ".rr.....rrr.r...", "..r......rrrr...",
                                  "..rr.......rrr..", "...rrr....rrr...", ".....rrrrrr.....", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkClose:
      return qel::PictureFromMap({"................", "..kkkkkkkk......", "..kyyyyyyk......", "..kyyyyyyk......",
                                  "..kyyyyyyk...u..", "..kyyyyyyk...uu.", "..kyyyykyk.uuuuu", "..kyyyyyyk...uu.",
                                  "..kyyyyyyk...u..", "..kyyyyyyk......", "..kyyyyyyk......", "..kyyyyyyk......",
                                  "..kkkkkkkk......", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkAbort:
      return qel::PictureFromMap({"................", ".....mmmmmm.....", "....mrrrrrrm....", "...mrrrrrrrrm...",
                                  "..mrrrrrrrrrrm..", "..mrrrrrrrrrrm..", "..mrwwwwwwwwrm..", "..mrwwwwwwwwrm..",
                                  "..mrrrrrrrrrrm..", "..mrrrrrrrrrrm..", "...mrrrrrrrrm...", "....mrrrrrrm....",
                                  ".....mmmmmm.....", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkRetry:
      return qel::PictureFromMap({"................", "......gggg......", "....gg....gg.g..", "...g........gg..",
                                  "..g........ggg..", "..g.............", ".g..............", ".g..............",
                                  ".g..............", ".g............g.", "..g...........g.", "..g..........g..",
                                  "...g........g...", "....gg....gg....", "......gggg......", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkIgnore:
      return qel::PictureFromMap({"................", "................", ".......kk.......", ".......kk.......",
                                  "..r....kk.......", "...r...kk.......", "....r..kk.......", ".....r.kk.......",
                                  "......rkk.......", ".......rr.......", "................", ".......kkr......",
                                  ".......kk.r.....", "...........r....", "............r...", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkAll:
      return qel::PictureFromMap({"................", "................", "........g.....g.", ".......gg....gg.",
                                  "......ggg...ggg.", ".....ggg...ggg..", "g...ggg.g.ggg...", "gg.ggg.ggggg....",
                                  ".ggggg..ggg.....", "..ggg....g......", "...g............", "................",
                                  "................", "................", "................", "................"},
                                 kStockLegend);
    case TQelBitBtn::bkCustom: break;
  }
  return {};
}

int ClampGlyphs(int n) { return std::clamp(n, 1, 4); }

}  // namespace

const QImage& TQelBitBtn::StockGlyph(TBitBtnKind kind) {
  // Each drawn once, on first use, and shared by every button.
  static std::array<QImage, bkAll + 1> cache;
  QImage& glyph = cache[std::size_t(kind)];
  if (glyph.isNull() && kind != bkCustom) {
    const QImage normal = StockPicture(kind);
    glyph = qel::SideBySide(normal, qel::GreyedPicture(normal, clOlive));
  }
  return glyph;
}

QString TQelBitBtn::StockCaption(TBitBtnKind kind) {
  static const char* const captions[] = {"",       "OK",    "Cancel", "&Help",   "&Yes", "&No",
                                         "&Close", "Abort", "&Retry", "&Ignore", "&All"};
  return QString::fromLatin1(captions[kind]);
}

int TQelBitBtn::StockModalResult(TBitBtnKind kind) {
  static const int results[] = {0, 1, 2, 0, 6, 7, 0, 3, 4, 5, 8};
  return results[kind];
}

TQelBitBtn::TQelBitBtn(const QString& caption, QWidget* parent) : TQelButton(caption, parent) {}

void TQelBitBtn::SetGlyph(const QImage& glyph) {
  glyph_ = glyph.convertToFormat(QImage::Format_RGB32);
  modifiedGlyph_ = true;
  GlyphChanged();
}

void TQelBitBtn::GlyphChanged() {
  glyphCanvas_ = qel::Canvas(glyph_.width(), glyph_.height());
  if (!glyph_.isNull()) glyphCanvas_.DrawImage(0, 0, glyph_);
  // Only a strip of square pictures tells how many it holds; a width of 0
  // is no strip.
  const int w = glyph_.width(), h = glyph_.height();
  if (w > 0 && h > 0 && w % h == 0) numGlyphs_ = w / h > 4 ? 1 : w / h;
  refresh();
}

TQelBitBtn::TBitBtnKind TQelBitBtn::Kind() const {
  if (kind_ != bkCustom) {
    const bool stays = Default() == (kind_ == bkOK || kind_ == bkYes) &&
                       Cancel() == (kind_ == bkCancel || kind_ == bkNo) && ModalResult() == StockModalResult(kind_) &&
                       !modifiedGlyph_;
    if (!stays) kind_ = bkCustom;
  }
  return kind_;
}

void TQelBitBtn::SetKind(TBitBtnKind kind) {
  if (kind == kind_) return;
  if (kind != bkCustom) {
    SetDefault(kind == bkOK || kind == bkYes);
    SetCancel(kind == bkCancel || kind == bkNo);
    if (!isLoading() || text().isEmpty()) setText(StockCaption(kind));
    SetModalResult(StockModalResult(kind));
    glyph_ = StockGlyph(kind);
    GlyphChanged();
    modifiedGlyph_ = false;
  }
  kind_ = kind;
  refresh();
}

void TQelBitBtn::SetMargin(int v) {
  if (v < -1) return;
  assign(margin_, v);
}

void TQelBitBtn::SetNumGlyphs(int v) { assign(numGlyphs_, ClampGlyphs(v)); }

void TQelBitBtn::SetImages(TQelImageList* images) {
  disconnect(imagesChange_);
  disconnect(imagesGone_);
  images_ = images;
  if (images) {
    // A changed list shows at once; a destroyed one is dropped first.
    imagesChange_ = connect(images, &TQelImageList::Change, this, [this] { refresh(); });
    imagesGone_ = connect(images, &QObject::destroyed, this, [this] { DropLink(); });
  }
  refresh();
}

void TQelBitBtn::DropLink() {
  images_ = nullptr;
  refresh();
}

void TQelBitBtn::ChangeScale(int m, int d) {
  if (d == 0) return;
  margin_ = qel::MulDiv(margin_, m, d);
  spacing_ = qel::MulDiv(spacing_, m, d);
  refresh();
}

bool TQelBitBtn::UsesImageList() const { return Kind() == bkCustom && images_ && imageIndex_ != -1; }

qel::TPoint TQelBitBtn::GlyphSize() const {
  // From the picture that is drawn, so a stock glyph keeps its own size
  // beside a linked list.
  if (UsesImageList()) return {images_->Width(), images_->Height()};
  return {glyph_.width() / numGlyphs_, glyph_.height()};
}

TRect TQelBitBtn::FaceTextRect() const {
  TRect r = TQelButton::FaceTextRect();
  if (!UsesImageList() && glyph_.isNull()) return r;
  const qel::TPoint size = GlyphSize();
  const int w = size.X, h = size.Y;
  if (margin_ >= 0) {
    const int across = margin_ + spacing_;
    switch (layout_) {
      case blGlyphLeft: r.Left += across + w; break;
      case blGlyphRight: r.Right -= across + w; break;
      case blGlyphTop: r.Top += across + h; break;
      case blGlyphBottom: r.Bottom -= across + h; break;
    }
    return r;
  }
  const int th = qel::Text().Measure(CaptionFont(), text(), r.Width(), qel::tfCenter | qel::tfWordBreak).Height();
  const int free = (height() - h - th - spacing_) / 2;
  switch (layout_) {
    case blGlyphLeft: r.Left += -1 + w + spacing_; break;
    case blGlyphRight: r.Right -= -1 + w + spacing_; break;
    case blGlyphTop:
      r.Top += free + h;
      r.Bottom = r.Top + th;
      break;
    case blGlyphBottom:
      r.Top += free;
      r.Bottom = r.Top + th;
      break;
  }
  return r;
}

TRect TQelBitBtn::LayoutGlyphAndCaption() const {
  TRect r = TQelButton::FaceTextRect();
  if (ShowPressed()) r = qel::Moved(r, -1, -1);
  const qel::TPoint size = GlyphSize();
  const int w = size.X, h = size.Y;
  if (margin_ >= 0) {
    switch (layout_) {
      case blGlyphLeft: r.Left += margin_; break;
      case blGlyphRight: r.Left = r.Right - margin_ - w; break;
      case blGlyphTop: r.Top += margin_; break;
      case blGlyphBottom: r.Top = r.Bottom - margin_ - h; break;
    }
  } else {
    const int th = qel::Text().Measure(CaptionFont(), text(), r.Width(), qel::tfCenter | qel::tfWordBreak).Height();
    const int free = (height() - h - th - spacing_) / 2;
    switch (layout_) {
      case blGlyphLeft: break;
      case blGlyphRight: r.Left = r.Right - w; break;
      case blGlyphTop: r.Top = free; break;
      case blGlyphBottom: r.Top += th + free; break;
    }
  }
  if (layout_ == blGlyphLeft || layout_ == blGlyphRight)
    r.Top += (r.Bottom - r.Top - h + 1) / 2;
  else
    r.Left += (r.Right - r.Left - w + 1) / 2;
  r.Right = r.Left + w;
  r.Bottom = r.Top + h;
  if (ShowPressed()) r = qel::Moved(r, 1, 1);
  return r;
}

void TQelBitBtn::PaintCaption(qel::Canvas& canvas) {
  TQelButton::PaintCaption(canvas);
  const TRect g = LayoutGlyphAndCaption();
  if (UsesImageList())
    DrawImageListImage(canvas, g);
  else if (!glyph_.isNull())
    DrawGlyphBitmap(canvas, g);
}

void TQelBitBtn::DrawImageListImage(qel::Canvas& canvas, const TRect& g) {
  if (!images_ || images_->Count() == 0) return;
  if (disabledIndex_ != -1) {
    const int index = isEnabled() ? imageIndex_ : disabledIndex_;
    if (index != -1) images_->Draw(canvas, g.Left, g.Top, index, true);
    return;
  }
  if (imageIndex_ != -1) images_->Draw(canvas, g.Left, g.Top, imageIndex_, isEnabled());
}

void TQelBitBtn::DrawGlyphBitmap(qel::Canvas& canvas, const TRect& g) {
  const int w = g.Width(), h = g.Height();
  if (w < 1 || h < 1) return;
  const TRect source = numGlyphs_ > 1 && !isEnabled() ? TRect{w, 0, 2 * w, h} : TRect{0, 0, w, h};
  // The bottom-left pixel is the colour that lets the face show through.
  const TColor key = glyphCanvas_.Pixel(0, h - 1);
  qel::BlitMaskedBitmap(canvas, glyphCanvas_, g, key, source);
}
