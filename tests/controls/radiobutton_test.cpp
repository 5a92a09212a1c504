#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QTest>
#include <memory>

#include "controls/qelbuttons.h"
#include "controls/qelcolormath.h"
#include "controls/qelframecontroller.h"
#include "controls/qelradiobutton.h"
#include "tests/controls/events.h"

namespace {

using qel::TRect;

void PointerOver(QWidget* w) {
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(w->mapToGlobal(QPoint(5, 5))));
  QApplication::sendEvent(w, &enter);
}

// Two panels, each with "ASCII" and "HEX" placed and set as the main
// window's pages do, and an edit to start the focus from. Clicks are logged.
struct RadioPanels : ::testing::Test {
  void SetUp() override {
    window.resize(320, 120);
    edit = new QLineEdit(&window);
    edit->setGeometry(8, 80, 100, 24);
    for (int i = 0; i < 2; ++i) {
      panel[i] = new QWidget(&window);
      panel[i]->setGeometry(i * 160, 0, 160, 70);
      ascii[i] = new TQelRadioButton(QStringLiteral("ASCII"), panel[i]);
      ascii[i]->setGeometry(8, 10, 70, 22);
      hex[i] = new TQelRadioButton(QStringLiteral("HEX"), panel[i]);
      hex[i]->setGeometry(80, 10, 60, 22);
      ascii[i]->setChecked(true);
      for (TQelRadioButton* r : {ascii[i], hex[i]})
        QObject::connect(r, &QAbstractButton::clicked, [this, r] { clicks.push_back(r); });
    }
  }
  // Checked of ASCII, HEX on the first panel, then on the second.
  std::vector<bool> States() const {
    return {ascii[0]->isChecked(), hex[0]->isChecked(), ascii[1]->isChecked(), hex[1]->isChecked()};
  }

  QWidget window;
  QLineEdit* edit = nullptr;
  QWidget* panel[2] = {};
  TQelRadioButton* ascii[2] = {};
  TQelRadioButton* hex[2] = {};
  std::vector<TQelRadioButton*> clicks;
};

TEST_F(RadioPanels, CheckingOneUnchecksItsSiblingsOnItsOwnPanelOnly) {
  // Other buttons of the panel are not the radio's siblings.
  auto* qtRadio = new QRadioButton(QStringLiteral("Qt"), panel[0]);
  qtRadio->setChecked(true);
  auto* push = new TQelButton(QStringLiteral("Push"), panel[0]);
  enum Road { Own, ThroughQAbstractButton, QtClick };
  struct Case {
    const char* name;
    Road road;
    int panel;
    bool hex;
    std::vector<bool> states;
  };
  const Case cases[] = {
      {"HEX on the first panel", Own, 0, true, {false, true, true, false}},
      {"HEX on the second, through QAbstractButton*", ThroughQAbstractButton, 1, true, {false, true, false, true}},
      {"ASCII back on the first, by QAbstractButton::click", QtClick, 0, false, {true, false, false, true}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks.clear();
    TQelRadioButton* target = c.hex ? hex[c.panel] : ascii[c.panel];
    QAbstractButton* base = target;
    switch (c.road) {
      case Own: target->SetChecked(true); break;
      case ThroughQAbstractButton: base->setChecked(true); break;
      case QtClick: base->click(); break;
    }
    EXPECT_EQ(States(), c.states);
    EXPECT_EQ(clicks, std::vector<TQelRadioButton*>{target});
    // Only a checked radio is a tab stop.
    for (TQelRadioButton* r : {ascii[0], hex[0], ascii[1], hex[1]}) EXPECT_EQ(r->TabStop(), r->Checked());
  }
  EXPECT_TRUE(qtRadio->isChecked());
  EXPECT_FALSE(push->isChecked());
}

TEST_F(RadioPanels, OnlyAChangeToCheckedClicks) {
  hex[0]->setChecked(true);
  hex[0]->setChecked(true);
  EXPECT_EQ(clicks.size(), 1u);
  hex[0]->setChecked(false);  // by code a radio may be left unchecked
  EXPECT_EQ(States(), (std::vector<bool>{false, false, true, false}));
  EXPECT_EQ(clicks.size(), 1u);
  // Without a parent there are no siblings to touch.
  TQelRadioButton lone(QStringLiteral("Lone"));
  int loneClicks = 0;
  QObject::connect(&lone, &QAbstractButton::clicked, [&] { ++loneClicks; });
  lone.SetChecked(true);
  EXPECT_TRUE(lone.Checked());
  EXPECT_EQ(loneClicks, 1);
}

// The mouse and QAbstractButton::click() do the same: a checked radio stays
// as it is and clicks nothing, an unchecked one is checked with one click.
TEST_F(RadioPanels, AClickOnACheckedRadioDoesNothingByEitherRoad) {
  ShowActive(&window);
  for (bool qt : {false, true}) {
    SCOPED_TRACE(qt ? "QAbstractButton::click" : "the mouse");
    auto click = [qt](TQelRadioButton* r) {
      if (qt)
        static_cast<QAbstractButton*>(r)->click();
      else
        MouseClick(r, {5, 5});
    };
    ascii[0]->setChecked(true);
    clicks.clear();
    click(ascii[0]);
    EXPECT_EQ(States(), (std::vector<bool>{true, false, true, false}));
    EXPECT_TRUE(clicks.empty());
    EXPECT_FALSE(ascii[0]->signalsBlocked());
    click(hex[0]);
    EXPECT_EQ(States(), (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(clicks, std::vector<TQelRadioButton*>{hex[0]});
  }
  // Signals the program blocked stay blocked.
  ascii[0]->setChecked(true);
  ascii[0]->blockSignals(true);
  ascii[0]->click();
  EXPECT_TRUE(ascii[0]->signalsBlocked());
}

TEST_F(RadioPanels, TabOntoARadioWhoseTabStopWasSetChecksIt) {
  ShowActive(&window);
  ascii[0]->setFocus();
  QTest::keyClick(ascii[0], Qt::Key_Tab);  // HEX is no tab stop: on to the next panel
  EXPECT_EQ(QApplication::focusWidget(), ascii[1]);
  EXPECT_EQ(States(), (std::vector<bool>{true, false, true, false}));
  hex[0]->SetTabStop(true);
  ascii[0]->setFocus();
  QTest::keyClick(ascii[0], Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), hex[0]);
  EXPECT_EQ(States(), (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(clicks, std::vector<TQelRadioButton*>{hex[0]});
}

TEST_F(RadioPanels, TheFocusChecksWhenItMovesOntoTheRadioNotWhenItComesBack) {
  ShowActive(&window);
  struct Case {
    Qt::FocusReason reason;
    bool checks;
  };
  const Case cases[] = {
      {Qt::TabFocusReason, true},    {Qt::BacktabFocusReason, true}, {Qt::ShortcutFocusReason, true},
      {Qt::OtherFocusReason, true},  {Qt::MouseFocusReason, false},  {Qt::ActiveWindowFocusReason, false},
      {Qt::PopupFocusReason, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reason);
    edit->setFocus();
    ascii[0]->setChecked(true);
    hex[0]->setFocus(c.reason);
    ASSERT_TRUE(hex[0]->hasFocus());
    EXPECT_EQ(hex[0]->isChecked(), c.checks);
    EXPECT_EQ(ascii[0]->isChecked(), !c.checks);
  }
}

TEST_F(RadioPanels, TheMouseChecksOnReleaseInside) {
  ShowActive(&window);
  const QPoint in(5, 5), out(5, 40);
  edit->setFocus();
  MousePress(hex[0], in);
  EXPECT_TRUE(hex[0]->hasFocus());
  EXPECT_TRUE(hex[0]->ShowPressed());
  EXPECT_TRUE(hex[0]->UsingMouse());
  EXPECT_FALSE(hex[0]->isChecked());
  MouseRelease(hex[0], in);
  EXPECT_FALSE(hex[0]->UsingMouse());
  EXPECT_EQ(States(), (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(clicks.size(), 1u);
  // Released outside: nothing; on a checked radio: no second click.
  MousePress(ascii[0], in);
  SendMouse(ascii[0], QEvent::MouseMove, out, Qt::LeftButton, Qt::LeftButton);
  MouseRelease(ascii[0], out);
  MousePress(hex[0], in);
  MouseRelease(hex[0], in);
  EXPECT_EQ(States(), (std::vector<bool>{false, true, true, false}));
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(RadioPanels, Keys) {
  ShowActive(&window);
  hex[0]->setText(QStringLiteral("&HEX"));
  // Alt and the caption's letter focuses the radio, which checks it.
  QTest::keyClick(edit, Qt::Key_H, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), hex[0]);
  EXPECT_EQ(States(), (std::vector<bool>{false, true, true, false}));
  // Down clicks without changing Checked; not with a shift key.
  clicks.clear();
  ascii[0]->setFocus(Qt::MouseFocusReason);
  QTest::keyClick(ascii[0], Qt::Key_Down);
  QTest::keyClick(ascii[0], Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(clicks, std::vector<TQelRadioButton*>{ascii[0]});
  EXPECT_FALSE(ascii[0]->isChecked());
  // With TabOnEnter, Enter moves on as Tab does.
  ascii[1]->SetTabOnEnter(true);
  ascii[1]->setFocus();
  QTest::keyClick(ascii[1], Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(RadioPanels, DoubleClickRaisesItsSignal) {
  ShowActive(&window);
  int doubles = 0;
  QObject::connect(hex[0], &TQelCustomGlyphButton::DblClick, [&] { ++doubles; });
  for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) MouseDoubleClick(hex[0], {5, 5}, button);
  EXPECT_EQ(doubles, 1);
  EXPECT_TRUE(hex[0]->isChecked());
}

// --- Painting ---

// A radio alone on a host, painted with an empty caption: the glyph sits
// at (0, 2).
struct GlyphButtonPaint : ::testing::Test {
  void SetUp() override {
    host.resize(100, 40);
    radio = new TQelRadioButton(QString(), &host);
    radio->setGeometry(10, 10, 60, 20);
    radio->SetColor(kFace);
    ShowActive(&host);
  }
  TColor At(int x, int y) { return radio->Paint().Pixel(x, y + 2); }

  enum State { Unchecked, Checked, UncheckedPressed, CheckedPressed, UncheckedDisabled, CheckedDisabled };
  void Enter(State s) {
    radio->setEnabled(s < UncheckedDisabled);
    radio->setChecked(s == Checked || s == CheckedPressed || s == CheckedDisabled);
    if (s == UncheckedPressed || s == CheckedPressed) MousePress(radio, {5, 5});
  }
  void Leave() {
    if (radio->Pressing()) MouseRelease(radio, {-5, -5});
  }

  static constexpr TColor kFace = RGB(0x30, 0x60, 0x90);
  QWidget host;
  TQelRadioButton* radio = nullptr;
};

TEST_F(GlyphButtonPaint, ACustomStripGivesOneImageForEachOfTheSixStates) {
  // Six 13 x 13 images, each in its own colour; in each the top-left pixel
  // is TransparentColor, the next WinMaskColor, the next clGreen.
  const TColor colors[6] = {clRed, clBlue, clYellow, clFuchsia, clAqua, clMaroon};
  QImage strip(78, 13, QImage::Format_RGB32);
  for (int n = 0; n < 6; ++n)
    for (int y = 0; y < 13; ++y)
      for (int x = 0; x < 13; ++x) strip.setPixel(n * 13 + x, y, ColorToQRgb(colors[n]));
  for (int n = 0; n < 6; ++n) {
    strip.setPixel(n * 13, 0, ColorToQRgb(clOlive));
    strip.setPixel(n * 13 + 1, 0, ColorToQRgb(clLime));
    strip.setPixel(n * 13 + 2, 0, ColorToQRgb(clGreen));
  }
  radio->SetCustomGlyphs(strip);
  EXPECT_TRUE(radio->UseCustomGlyphs());
  EXPECT_EQ(radio->GlyphWidth(), 13);
  EXPECT_EQ(radio->GlyphHeight(), 13);
  for (int s = Unchecked; s <= CheckedDisabled; ++s) {
    SCOPED_TRACE(s);
    Enter(State(s));
    const qel::Canvas c = radio->Paint();
    EXPECT_EQ(c.Pixel(6, 8), colors[s]);
    EXPECT_EQ(c.Pixel(12, 14), colors[s]);
    EXPECT_EQ(c.Pixel(13, 8), kFace);  // beside the glyph
    EXPECT_EQ(c.Pixel(0, 2), kFace);
    EXPECT_EQ(c.Pixel(1, 2), ColorToRGB(clWindow));
    EXPECT_EQ(c.Pixel(2, 2), MixColors(clBtnShadow, kFace, 128));
    Leave();
  }
  // An empty strip gives the drawn glyphs back.
  radio->SetCustomGlyphs(QImage());
  EXPECT_FALSE(radio->UseCustomGlyphs());
  EXPECT_EQ(radio->GlyphWidth(), 13);
  // A strip of another size while in use gives its own glyph size.
  radio->SetCustomGlyphs(strip);
  radio->SetCustomGlyphs(strip.scaled(96, 16));
  EXPECT_EQ(radio->GlyphWidth(), 16);
  EXPECT_EQ(radio->GlyphHeight(), 16);
}

TEST_F(GlyphButtonPaint, TheClassicRadioByState) {
  const TColor window = ColorToRGB(clWindow), face = ColorToRGB(clBtnFace);
  struct Case {
    State state;
    TColor inside, dot;
  };
  const Case cases[] = {
      {Unchecked, window, window},     {Checked, window, ColorToRGB(clWindowText)},
      {UncheckedPressed, face, face},  {CheckedPressed, face, ColorToRGB(clWindowText)},
      {UncheckedDisabled, face, face}, {CheckedDisabled, face, ColorToRGB(clBtnShadow)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    Enter(c.state);
    EXPECT_EQ(At(6, 6), c.dot);
    EXPECT_EQ(At(6, 3), c.inside);
    EXPECT_EQ(At(6, 0), ColorToRGB(clBtnShadow));   // outer ring, upper-left
    EXPECT_EQ(At(6, 1), ColorToRGB(cl3DDkShadow));  // inner ring
    EXPECT_EQ(At(6, 12), ColorToRGB(clBtnHighlight));
    EXPECT_EQ(At(6, 11), ColorToRGB(cl3DLight));
    EXPECT_EQ(At(0, 0), kFace);  // outside the circle
    Leave();
  }
}

TEST_F(GlyphButtonPaint, AHotTrackFrameInTheTransparentColourStaysVisible) {
  radio->SetHotTrack(true);
  radio->SetFrameColor(clOlive);
  EXPECT_EQ(At(6, 0), RGB(0x81, 0x80, 0x00));
  EXPECT_EQ(At(0, 0), kFace);
  radio->SetChecked(true);
  EXPECT_EQ(At(6, 6), ColorToRGB(clHighlight));  // the dot
}

TEST_F(GlyphButtonPaint, TheBackgroundFollowsColorAndSize) {
  EXPECT_EQ(radio->Paint().Pixel(50, 1), kFace);
  radio->SetColor(clRed);
  EXPECT_EQ(radio->Paint().Pixel(50, 1), clRed);
  radio->resize(90, 20);
  EXPECT_EQ(radio->Paint().Pixel(85, 1), clRed);
}

// A parent that paints a colour of its own, not its palette's, as a tab
// page does.
struct PaintedParent : QWidget {
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), QColor(0x20, 0x90, 0x40)); }
};

TEST(GlyphButtonBackground, UnderAQtParentTheParentsPaintingShows) {
  PaintedParent parent;
  parent.resize(100, 40);
  TQelRadioButton radio(QString(), &parent);
  radio.setGeometry(10, 10, 60, 20);
  const TColor painted = RGB(0x20, 0x90, 0x40);
  EXPECT_TRUE(radio.ParentColor());
  EXPECT_EQ(radio.Paint().Pixel(50, 1), painted);
  EXPECT_EQ(radio.Paint().Pixel(0, 2), painted);  // beside the circle
  radio.SetColor(clRed);
  EXPECT_FALSE(radio.ParentColor());
  EXPECT_EQ(radio.Paint().Pixel(50, 1), clRed);
  EXPECT_EQ(radio.Paint().Pixel(0, 2), clRed);
}

TEST(RadioColors, AvoidMaskColorMovesOnlyRed) {
  struct Case {
    const char* name;
    TColor transparent, winMask, in, out;
  };
  const Case cases[] = {
      {"the transparent colour", clOlive, clLime, clOlive, RGB(0x81, 0x80, 0x00)},
      {"the window mask colour", clOlive, clLime, clLime, RGB(0x01, 0xFF, 0x00)},
      {"gray", clOlive, clLime, clGray, RGB(0x81, 0x80, 0x80)},
      {"a system colour resolving to gray", clOlive, clLime, clBtnShadow, RGB(0x81, 0x80, 0x80)},
      {"another colour", clOlive, clLime, clRed, clRed},
      {"another system colour stays one", clOlive, clLime, clHighlight, clHighlight},
      {"white on a white key: red down, no carry", clWhite, clLime, clWhite, RGB(0xFE, 0xFF, 0xFF)},
      {"clWindow on a white key", clWhite, clLime, clWindow, RGB(0xFE, 0xFF, 0xFF)},
      {"full red on a red mask", clOlive, clRed, clRed, RGB(0xFE, 0x00, 0x00)},
  };
  TQelRadioButton radio;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    radio.SetTransparentColor(c.transparent);
    radio.SetWinMaskColor(c.winMask);
    EXPECT_EQ(radio.AvoidMaskColor(c.in), c.out);
  }
}

TEST_F(GlyphButtonPaint, HotTrackKeyColourMapByState) {
  ASSERT_TRUE(ScreenHasFullColor());
  radio->SetHotTrack(true);
  const TColor F = RGB(0x20, 0x50, 0x80), W = clWindow, Hl = clHighlight, D = RGB(0xC0, 0xC0, 0x70);
  const TColor hot = RGB(0xE0, 0x80, 0x20);
  radio->SetFrameColor(F);
  radio->SetDisabledColor(D);
  radio->SetHotTrackColorType(TQelCustomButton::htctActual);
  radio->SetHotTrackColor(hot);
  const TColor P = ShadeColor(W, 20), Hc = TintColor(hot, 30), Hd = ShadeColor(hot, 30);
  auto mix = MixColors;
  struct Row {
    TColor key, base, disabled, pressed, over;
  };
  const TColor amcF = F, amcHl = Hl;  // neither is a key colour
  const Row rows[] = {
      {clWhite, W, D, P, W},
      {clBlack, amcF, amcF, amcF, amcF},
      {clGreen, TintColor(F, 10), TintColor(F, 10), TintColor(F, 10), TintColor(F, 10)},
      {clGray, mix(F, W, 128), mix(F, D, 128), mix(F, P, 128), mix(F, Hd, 128)},
      {clPurple, mix(F, W, 128), mix(F, D, 128), mix(F, P, 128), mix(F, Hc, 128)},
      {clMaroon, mix(F, W, 80), mix(F, D, 80), mix(F, P, 80), mix(F, Hd, 80)},
      {clLime, mix(F, W, 80), mix(F, D, 80), mix(F, P, 80), mix(F, Hc, 80)},
      {clRed, W, D, P, Hd},
      {clFuchsia, W, D, P, Hc},
      {clYellow, W, D, P, mix(Hc, W, 128)},
      {clNavy, amcHl, clBtnShadow, amcHl, amcHl},
      {clBlue, mix(Hl, W, 153), mix(Hl, D, 128), mix(Hl, P, 153), mix(Hl, W, 153)},
  };
  enum Look { Base, Disabled, Pressed, Over, DisabledAndOver, PressedAndOver };
  for (Look look : {Base, Disabled, Pressed, Over, DisabledAndOver, PressedAndOver}) {
    SCOPED_TRACE(look);
    radio->setEnabled(look != Disabled && look != DisabledAndOver);
    if (look == Pressed || look == PressedAndOver) MousePress(radio, {5, 5});
    if (look >= Over) PointerOver(radio);
    const std::array<TColor, 12> map = radio->HotTrackColors();
    for (std::size_t i = 0; i < 12; ++i) {
      const Row& r = rows[i];
      ASSERT_EQ(TQelRadioButton::kRadioKeyColors[i], r.key);
      // Disabled comes first, then pressed, then the pointer.
      const TColor want = look == Base                                  ? r.base
                          : look == Disabled || look == DisabledAndOver ? r.disabled
                          : look == Pressed || look == PressedAndOver   ? r.pressed
                                                                        : r.over;
      EXPECT_EQ(map[i], want) << "key " << std::hex << r.key;
    }
    if (radio->Pressing()) MouseRelease(radio, {-5, -5});
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(radio, &leave);
  }
}

TEST(RadioFrameController, SetsFrameColorAndDisabledColorByName) {
  TQelRadioButton radio;
  auto controller = std::make_unique<TQelFrameController>();
  controller->SetFrameColor(clRed);
  controller->SetDisabledColor(clBlue);
  radio.SetFrameController(controller.get());
  EXPECT_EQ(radio.FrameColor(), clRed);
  EXPECT_EQ(radio.DisabledColor(), clBlue);
  controller->SetFrameColor(clGreen);
  EXPECT_EQ(radio.FrameColor(), clGreen);
  controller.reset();
  EXPECT_EQ(radio.FrameController(), nullptr);
}

TEST(RadioLegacy, FlatBecomesHotTrack) {
  TQelRadioButton radio;
  EXPECT_TRUE(radio.applyLegacyProperty(QStringLiteral("Flat"), true));
  EXPECT_TRUE(radio.HotTrack());
}

}  // namespace
