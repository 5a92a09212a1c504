#pragma once
#include <QImage>
#include <QPointer>

#include "controls/qelbuttons.h"
#include "controls/qelimagelist.h"

// A push button with a picture beside its caption: a glyph strip (normal,
// then disabled) or a picture of a linked image list; and the stock kinds
// with their own caption, glyph and results.
class TQelBitBtn : public TQelButton {
  Q_OBJECT

 public:
  enum TBitBtnKind { bkCustom, bkOK, bkCancel, bkHelp, bkYes, bkNo, bkClose, bkAbort, bkRetry, bkIgnore, bkAll };
  enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

  explicit TQelBitBtn(const QString& caption = {}, QWidget* parent = nullptr);

  const QImage& Glyph() const { return glyph_; }
  void SetGlyph(const QImage& glyph);
  // A stock kind whose settings were changed since reads, and stays, bkCustom.
  TBitBtnKind Kind() const;
  void SetKind(TBitBtnKind kind);
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { assign(layout_, v); }
  int Margin() const { return margin_; }
  void SetMargin(int v);  // below -1 ignored
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int v);  // 1..4
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { assign(spacing_, v); }
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int v) { assign(imageIndex_, v); }
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int v) { assign(disabledIndex_, v); }
  TQelImageList* Images() const { return images_; }
  void SetImages(TQelImageList* images);

  // Scales Margin and Spacing by m / d.
  void ChangeScale(int m, int d);

  // Width and height of the picture drawn.
  qel::TPoint GlyphSize() const;
  // Where the picture goes.
  qel::TRect LayoutGlyphAndCaption() const;

  static const QImage& StockGlyph(TBitBtnKind kind);
  static QString StockCaption(TBitBtnKind kind);
  static int StockModalResult(TBitBtnKind kind);

 protected:
  qel::TRect FaceTextRect() const override;
  void PaintCaption(qel::Canvas& canvas) override;
  virtual void DrawImageListImage(qel::Canvas& canvas, const qel::TRect& g);
  virtual void DrawGlyphBitmap(qel::Canvas& canvas, const qel::TRect& g);

 private:
  // The image list's picture is drawn rather than the glyph.
  bool UsesImageList() const;
  void GlyphChanged();
  void DropLink();

  QImage glyph_;
  qel::Canvas glyphCanvas_{0, 0};
  mutable TBitBtnKind kind_ = bkCustom;
  TButtonLayout layout_ = blGlyphLeft;
  int margin_ = 2;
  int numGlyphs_ = 1;
  int spacing_ = 4;
  bool modifiedGlyph_ = false;
  int imageIndex_ = -1;
  int disabledIndex_ = -1;
  QPointer<TQelImageList> images_;
  QMetaObject::Connection imagesChange_, imagesGone_;
};
