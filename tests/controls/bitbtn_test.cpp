#include <gtest/gtest.h>

#include <QWidget>
#include <memory>

#include "controls/qelbitbtn.h"
#include "controls/qelpictures.h"

namespace {

using qel::TRect;

// Reaches the caption rectangle and the pressed look.
struct ProbeBitBtn : TQelBitBtn {
  using TQelBitBtn::FaceTextRect;
  using TQelBitBtn::TQelBitBtn;
  void SetShowPressed(bool v) { showPressed_ = v; }
};

QImage Solid(int w, int h, TColor color) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(ColorToQRgb(color));
  return image;
}

// Fixed text metrics: "OK" is 14 x 13.
struct BitBtn : ::testing::Test {
  void SetUp() override {
    old = qel::SetTextEngine(&engine);
    button = new ProbeBitBtn(QStringLiteral("OK"), &parent);
    button->setGeometry(0, 0, 75, 25);
  }
  void TearDown() override { qel::SetTextEngine(old); }
  qel::RecordingTextEngine engine;
  qel::TextEngine* old = nullptr;
  QWidget parent;
  ProbeBitBtn* button = nullptr;
};

TEST_F(BitBtn, NumGlyphsFollowsTheGlyphsShape) {
  struct Case {
    int width, height, numGlyphs;
  };
  const Case cases[] = {{32, 16, 2}, {16, 16, 1}, {96, 16, 1}, {30, 16, 3}, {0, 16, 3}, {64, 16, 4}};
  for (const Case& c : cases) {
    button->SetNumGlyphs(3);
    button->SetGlyph(Solid(c.width, c.height, clRed));
    EXPECT_EQ(button->NumGlyphs(), c.numGlyphs) << c.width << " x " << c.height;
  }
  // A zero-width glyph never divides by zero when painted.
  button->SetGlyph(QImage());
  button->Paint();
}

TEST_F(BitBtn, DefaultLayoutPlacesGlyphAndCaption) {
  button->SetGlyph(Solid(16, 16, clRed));
  EXPECT_EQ(button->LayoutGlyphAndCaption(), (TRect{7, 5, 23, 21}));
  EXPECT_EQ(button->FaceTextRect().Left, 27);
}

TEST_F(BitBtn, LayoutsByMarginAndPress) {
  button->SetGlyph(Solid(16, 16, clRed));
  struct Case {
    TQelBitBtn::TButtonLayout layout;
    int margin;
    TRect glyph, caption;  // not pressed; pressed moves both by (1, 1)
  };
  const Case cases[] = {
      {TQelBitBtn::blGlyphLeft, 2, {7, 5, 23, 21}, {27, 5, 70, 20}},
      {TQelBitBtn::blGlyphLeft, 0, {5, 5, 21, 21}, {25, 5, 70, 20}},
      {TQelBitBtn::blGlyphLeft, -1, {5, 5, 21, 21}, {24, 5, 70, 20}},
      {TQelBitBtn::blGlyphRight, 2, {52, 5, 68, 21}, {5, 5, 48, 20}},
      {TQelBitBtn::blGlyphRight, 0, {54, 5, 70, 21}, {5, 5, 50, 20}},
      {TQelBitBtn::blGlyphRight, -1, {54, 5, 70, 21}, {5, 5, 51, 20}},
      {TQelBitBtn::blGlyphTop, 2, {30, 7, 46, 23}, {5, 27, 70, 20}},
      {TQelBitBtn::blGlyphTop, 0, {30, 5, 46, 21}, {5, 25, 70, 20}},
      // (25 - 16 - 13 - 4) div 2 = -4: a button too low for both.
      {TQelBitBtn::blGlyphTop, -1, {30, -4, 46, 12}, {5, 17, 70, 30}},
      {TQelBitBtn::blGlyphBottom, 2, {30, 2, 46, 18}, {5, 5, 70, -2}},
      {TQelBitBtn::blGlyphBottom, 0, {30, 4, 46, 20}, {5, 5, 70, 0}},
      {TQelBitBtn::blGlyphBottom, -1, {30, 14, 46, 30}, {5, 1, 70, 14}},
  };
  auto moved = [](TRect r) { return TRect{r.Left + 1, r.Top + 1, r.Right + 1, r.Bottom + 1}; };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "layout " << c.layout << " margin " << c.margin);
    button->SetLayout(c.layout);
    button->SetMargin(c.margin);
    button->SetShowPressed(false);
    EXPECT_EQ(button->LayoutGlyphAndCaption(), c.glyph);
    EXPECT_EQ(button->FaceTextRect(), c.caption);
    button->SetShowPressed(true);
    EXPECT_EQ(button->LayoutGlyphAndCaption(), moved(c.glyph));
    EXPECT_EQ(button->FaceTextRect(), moved(c.caption));
  }
  button->SetMargin(-2);  // ignored
  EXPECT_EQ(button->Margin(), -1);
}

TEST_F(BitBtn, StockKindBringsItsSettingsUntilTheGlyphChanges) {
  button->SetKind(TQelBitBtn::bkOK);
  EXPECT_EQ(button->text(), QStringLiteral("OK"));
  EXPECT_TRUE(button->Default());
  EXPECT_FALSE(button->Cancel());
  EXPECT_EQ(button->ModalResult(), 1);
  EXPECT_EQ(button->NumGlyphs(), 2);
  EXPECT_EQ(button->Glyph().size(), QSize(32, 16));
  EXPECT_EQ(button->Kind(), TQelBitBtn::bkOK);
  button->SetGlyph(Solid(16, 16, clRed));
  EXPECT_EQ(button->Kind(), TQelBitBtn::bkCustom);

  button->SetKind(TQelBitBtn::bkNo);
  EXPECT_EQ(button->text(), QStringLiteral("&No"));
  EXPECT_TRUE(button->Cancel());
  EXPECT_FALSE(button->Default());
  EXPECT_EQ(button->ModalResult(), 7);
  button->SetModalResult(0);
  EXPECT_EQ(button->Kind(), TQelBitBtn::bkCustom);
}

TEST_F(BitBtn, TheDisabledHalfShowsWhileDisabledAndTheBottomLeftColourIsKey) {
  // Left half red, right half blue; the bottom-left pixel green, the key.
  QImage glyph = qel::SideBySide(Solid(16, 16, clRed), Solid(16, 16, clBlue));
  glyph.setPixel(0, 15, ColorToQRgb(clGreen));
  glyph.setPixel(5, 5, ColorToQRgb(clGreen));
  glyph.setPixel(21, 5, ColorToQRgb(clGreen));
  button->SetGlyph(glyph);
  ASSERT_EQ(button->NumGlyphs(), 2);
  const TRect g = button->LayoutGlyphAndCaption();
  const TColor face = ColorToRGB(clBtnFace);
  qel::Canvas enabled = button->Paint();
  EXPECT_EQ(enabled.Pixel(g.Left + 1, g.Top + 1), clRed);
  EXPECT_EQ(enabled.Pixel(g.Left + 5, g.Top + 5), face);
  button->setEnabled(false);
  qel::Canvas disabled = button->Paint();
  EXPECT_EQ(disabled.Pixel(g.Left + 1, g.Top + 1), clBlue);
  EXPECT_EQ(disabled.Pixel(g.Left + 5, g.Top + 5), face);
  // One picture: shown unchanged while disabled.
  QImage single = Solid(16, 16, clRed);
  single.setPixel(0, 15, ColorToQRgb(clOlive));
  button->SetGlyph(single);
  EXPECT_EQ(button->Paint().Pixel(g.Left + 1, g.Top + 1), clRed);
}

TEST_F(BitBtn, ImageListPicturesAndTheStockGlyphBesideThem) {
  auto list = std::make_unique<TQelImageList>(24, 24);
  list->Add(Solid(24, 24, clRed));
  list->Add(Solid(24, 24, clBlue));
  button->SetImages(list.get());
  button->SetImageIndex(0);
  EXPECT_EQ(button->GlyphSize(), (qel::TPoint{24, 24}));
  TRect g = button->LayoutGlyphAndCaption();
  EXPECT_EQ(button->Paint().Pixel(g.Left + 1, g.Top + 1), clRed);
  button->SetDisabledIndex(1);
  button->setEnabled(false);
  EXPECT_EQ(button->Paint().Pixel(g.Left + 1, g.Top + 1), clBlue);
  button->setEnabled(true);

  // A stock kind draws its own glyph at its own size.
  button->SetKind(TQelBitBtn::bkCancel);
  EXPECT_EQ(button->GlyphSize(), (qel::TPoint{16, 16}));
  g = button->LayoutGlyphAndCaption();
  const qel::Canvas c = button->Paint();
  const QImage& stock = TQelBitBtn::StockGlyph(TQelBitBtn::bkCancel);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) {
      const TColor pixel = QRgbToColor(stock.pixel(x, y));
      if (pixel != clOlive) {
        EXPECT_EQ(c.Pixel(g.Left + x, g.Top + y), pixel) << x << "," << y;
      }
    }

  // A destroyed list is dropped before it can be drawn.
  button->SetKind(TQelBitBtn::bkCustom);
  button->SetGlyph(QImage());
  list.reset();
  EXPECT_EQ(button->Images(), nullptr);
  button->Paint();
}

TEST_F(BitBtn, ChangeScaleRoundsHalvesAwayFromZero) {
  struct Case {
    int margin, spacing, m, d, wantMargin, wantSpacing;
  };
  const Case cases[] = {
      {2, 4, 3, 2, 3, 6},
      {2, 4, 5, 4, 3, 5},
      {-1, 3, 3, 2, -2, 5},
      {2, 4, 1, 0, 2, 4},
  };
  for (const Case& c : cases) {
    button->SetMargin(c.margin);
    button->SetSpacing(c.spacing);
    button->ChangeScale(c.m, c.d);
    EXPECT_EQ(button->Margin(), c.wantMargin) << c.m << "/" << c.d;
    EXPECT_EQ(button->Spacing(), c.wantSpacing) << c.m << "/" << c.d;
  }
}

TEST(StockGlyphs, EveryKindHasTwoPicturesACaptionAndAResult) {
  for (int k = TQelBitBtn::bkOK; k <= TQelBitBtn::bkAll; ++k) {
    const auto kind = TQelBitBtn::TBitBtnKind(k);
    const QImage& glyph = TQelBitBtn::StockGlyph(kind);
    EXPECT_EQ(glyph.size(), QSize(32, 16)) << k;
    EXPECT_EQ(&glyph, &TQelBitBtn::StockGlyph(kind)) << "drawn once";
    EXPECT_EQ(QRgbToColor(glyph.pixel(0, 15)), clOlive) << k;
    EXPECT_FALSE(TQelBitBtn::StockCaption(kind).isEmpty());
  }
  EXPECT_EQ(TQelBitBtn::StockCaption(TQelBitBtn::bkAll), QStringLiteral("&All"));
  EXPECT_EQ(TQelBitBtn::StockModalResult(TQelBitBtn::bkAll), 8);
  EXPECT_EQ(TQelBitBtn::StockModalResult(TQelBitBtn::bkHelp), 0);
}

}  // namespace
