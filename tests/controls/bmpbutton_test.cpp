#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <memory>
#include <set>

#include "controls/qelbmpbutton.h"
#include "controls/qelbuttons.h"
#include "controls/qelpictures.h"
#include "tests/controls/events.h"

namespace {

using B = TQelBmpButton;
using qel::TRect;

QImage Solid(int w, int h, TColor color) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(ColorToQRgb(color));
  return image;
}

// Distinct pictures, 20 x 10, so the colour at the centre tells which is shown.
const TColor kUp = clBlue, kDown = clRed, kStayDown = clGreen, kDisabled = clGray, kHot = clYellow, kFocused = clAqua;

void GivePictures(B* b) {
  TQelButtonBitmaps* p = b->Bitmaps();
  p->SetUp(Solid(20, 10, kUp));
  p->SetDown(Solid(20, 10, kDown));
  p->SetStayDown(Solid(20, 10, kStayDown));
  p->SetDisabled(Solid(20, 10, kDisabled));
}

TColor Shown(B* b) { return b->Paint().Pixel(10, 5); }

// --- Size ---

TEST(BmpButtonSize, SizeToBitmapAddsTheBorder) {
  struct Case {
    B::TButtonBorder border;
    B::TButtonStyle style;
    int width, height;
  };
  const Case cases[] = {
      {B::bbNone, B::bsAutoDetect, 40, 20},   {B::bbSingle, B::bsAutoDetect, 42, 22},
      {B::bbButton, B::bsAutoDetect, 44, 24}, {B::bbButton, B::bsNew, 44, 24},
      {B::bbButton, B::bsWin31, 46, 26},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "border " << c.border << " style " << c.style);
    QWidget host;
    auto* b = new B(&host);
    host.show();
    b->SetButtonStyle(c.style);
    b->SetButtonBorder(c.border);
    b->Bitmaps()->SetUp(Solid(40, 20, kUp));
    EXPECT_EQ(b->size(), QSize(c.width, c.height));
    // A resize snaps back.
    b->resize(90, 90);
    EXPECT_EQ(b->size(), QSize(c.width, c.height));
  }
}

TEST(BmpButtonSize, TheSizeStaysWithoutUpWhileLoadingAndWithBszNeither) {
  B b;
  b.resize(26, 26);
  b.SetButtonBorder(B::bbSingle);
  EXPECT_EQ(b.size(), QSize(26, 26));  // no Up yet
  b.beginLoad();
  b.Bitmaps()->SetUp(Solid(40, 20, kUp));
  EXPECT_EQ(b.size(), QSize(26, 26));
  b.finishLoad();
  EXPECT_EQ(b.size(), QSize(42, 22));
  B neither;
  neither.SetButtonSize(B::bszNeither);
  neither.Bitmaps()->SetUp(Solid(40, 20, kUp));
  EXPECT_EQ(neither.size(), QSize(80, 30));
}

// --- The link indicator ---

struct BmpButtonIndicator : ::testing::Test {
  void SetUp() override {
    parent.resize(100, 60);
    QPalette red;
    red.setColor(QPalette::Window, Qt::red);
    parent.setPalette(red);
    parent.setAutoFillBackground(true);
    button = new B(&parent);
    button->setGeometry(10, 10, 26, 26);
    button->Bitmaps()->SetUp(qel::LinkIndicatorUp());
    button->Bitmaps()->SetDisabled(qel::LinkIndicatorDisabled());
    button->Bitmaps()->SetTransparentColor(clOlive);
    button->SetColor(clBtnFace);
    button->setToolTip(QStringLiteral("Link"));
    parent.show();
  }
  // Every pixel: the picture's own, or the parent's red where it is olive.
  void ExpectShows(const QImage& picture) {
    const qel::Canvas c = button->Paint();
    ASSERT_EQ(QSize(c.Width(), c.Height()), picture.size());
    int olive = 0;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) {
        const TColor p = QRgbToColor(picture.pixel(x, y));
        olive += p == clOlive;
        ASSERT_EQ(c.Pixel(x, y), p == clOlive ? clRed : p) << x << "," << y;
      }
    EXPECT_GT(olive, 0);
  }
  QWidget parent;
  B* button = nullptr;
};

TEST_F(BmpButtonIndicator, EnabledShowsUpOverTheParent) {
  EXPECT_EQ(button->size(), qel::LinkIndicatorUp().size());
  ExpectShows(qel::LinkIndicatorUp());
}

TEST_F(BmpButtonIndicator, DisabledShowsDisabledAndEnabledAgainUp) {
  button->setEnabled(false);
  ExpectShows(qel::LinkIndicatorDisabled());
  button->setEnabled(true);
  ExpectShows(qel::LinkIndicatorUp());
}

TEST_F(BmpButtonIndicator, WithoutDisabledAGreyOfUpInThreeColours) {
  button->Bitmaps()->SetDisabled(QImage());
  button->setEnabled(false);
  const qel::Canvas c = button->Paint();
  std::set<TColor> seen;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) seen.insert(c.Pixel(x, y));
  EXPECT_EQ(seen, (std::set<TColor>{ColorToRGB(clBtnFace), ColorToRGB(clBtnHighlight), ColorToRGB(clBtnShadow)}));
}

TEST(BmpButtonPaint, TheGeneratedGreyEmbossesDarkPixels) {
  // See-through and light pixels become the face, a black key colour too;
  // a dark one shadow, with a highlight one pixel right and down unless
  // that one is dark too.
  const TColor F = ColorToRGB(clBtnFace), S = ColorToRGB(clBtnShadow), H = ColorToRGB(clBtnHighlight);
  const TColor expected[4][4] = {{F, F, F, F}, {F, S, F, F}, {F, S, S, F}, {F, F, H, H}};
  for (TColor key : {clOlive, clBlack}) {
    SCOPED_TRACE(testing::Message() << std::hex << key);
    const QImage up = qel::PictureFromMap({"....", ".kw.", ".kk.", "...."},
                                          {{'.', key}, {'k', RGB(0x40, 0x40, 0x40)}, {'w', RGB(0xC0, 0xC0, 0x60)}});
    B b;
    b.Bitmaps()->SetTransparentColor(key);
    b.Bitmaps()->SetUp(up);
    b.setEnabled(false);
    const qel::Canvas c = b.Paint();
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 4; ++x) EXPECT_EQ(c.Pixel(x, y), expected[y][x]) << x << "," << y;
  }
}

// --- Input ---

// A window with a 20 x 10 bitmap button and an edit; counts the clicks.
struct BmpButtonInput : ::testing::Test {
  void SetUp() override {
    window.resize(200, 100);
    button = Add(10, 10);
    edit = new QLineEdit(&window);
    edit->setGeometry(100, 10, 80, 24);
    ShowActive(&window);
  }
  B* Add(int x, int y) {
    auto* b = new B(&window);
    b->move(x, y);
    GivePictures(b);
    QObject::connect(b, &QAbstractButton::clicked, [this] { ++clicks; });
    b->show();
    return b;
  }
  QWidget window;
  B* button = nullptr;
  QLineEdit* edit = nullptr;
  int clicks = 0;
};

TEST_F(BmpButtonInput, MouseTable) {
  const QPoint in(5, 5), out(50, 5), below(5, 10);
  enum Step { Press, RightPress, MoveOut, MoveBelow, MoveIn, ReleaseIn, ReleaseOut, ReleaseBelow, ShiftUp };
  struct Case {
    const char* name;
    bool enabled;
    std::vector<Step> steps;
    std::vector<TColor> shown;  // after each step
    int clicks;
  };
  const Case cases[] = {
      {"press and release inside", true, {Press, ReleaseIn}, {kDown, kUp}, 1},
      {"release outside without a move", true, {Press, ReleaseOut}, {kDown, kUp}, 0},
      {"release on the row below", true, {Press, ReleaseBelow}, {kDown, kUp}, 0},
      {"drag onto the row below and back", true, {Press, MoveBelow, MoveIn, ReleaseIn}, {kDown, kUp, kDown, kUp}, 1},
      {"drag out and release outside", true, {Press, MoveOut, ReleaseOut}, {kDown, kUp, kUp}, 0},
      {"Shift released while the mouse is held", true, {Press, ShiftUp, ReleaseIn}, {kDown, kDown, kUp}, 1},
      {"right button", true, {RightPress, ReleaseIn}, {kUp, kUp}, 0},
      {"disabled", false, {Press, ReleaseIn}, {kDisabled, kDisabled}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks = 0;
    button->setEnabled(c.enabled);
    edit->setFocus();
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      switch (c.steps[i]) {
        case Press: MousePress(button, in); break;
        case RightPress: MousePress(button, in, Qt::RightButton); break;
        case MoveOut: MouseMove(button, out, Qt::LeftButton); break;
        case MoveBelow: MouseMove(button, below, Qt::LeftButton); break;
        case MoveIn: MouseMove(button, in, Qt::LeftButton); break;
        case ReleaseIn: MouseRelease(button, in); break;
        case ReleaseOut: MouseRelease(button, out); break;
        case ReleaseBelow: MouseRelease(button, below); break;
        case ShiftUp: SendKey(button, QEvent::KeyRelease, Qt::Key_Shift); break;
      }
      EXPECT_EQ(Shown(button), c.shown[i]) << "step " << i;
    }
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_FALSE(button->Pressing());
  }
  // Any button takes the focus; only the left one presses.
  button->setEnabled(true);
  edit->setFocus();
  MousePress(button, in, Qt::RightButton);
  EXPECT_TRUE(button->hasFocus());
  EXPECT_FALSE(button->Pressing());
}

TEST_F(BmpButtonInput, KeyTable) {
  const QEvent::Type down = QEvent::KeyPress, up = QEvent::KeyRelease;
  struct Event {
    QEvent::Type type;
    int key;
    bool autoRepeat;
    TColor shown;  // after the event
    int clicks;    // so far
  };
  struct Case {
    const char* name;
    std::vector<Event> events;
  };
  const Case cases[] = {
      {"Space: pressed until its key-up, then one click",
       {{down, Qt::Key_Space, false, kDown, 0}, {up, Qt::Key_Space, false, kUp, 1}}},
      {"Space held with auto-repeat",
       {{down, Qt::Key_Space, false, kDown, 0},
        {up, Qt::Key_Space, true, kDown, 0},
        {down, Qt::Key_Space, true, kDown, 0},
        {up, Qt::Key_Space, false, kUp, 1}}},
      {"another key-up during Space", {{down, Qt::Key_Space, false, kDown, 0}, {up, Qt::Key_Shift, false, kDown, 0}}},
      {"Space key-up without its key-down", {{up, Qt::Key_Space, false, kUp, 0}}},
      {"Enter clicks at once", {{down, Qt::Key_Return, false, kUp, 1}, {up, Qt::Key_Return, false, kUp, 1}}},
      {"keypad Enter, repeated", {{down, Qt::Key_Enter, false, kUp, 1}, {down, Qt::Key_Enter, true, kUp, 1}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks = 0;
    button->setFocus();
    for (std::size_t i = 0; i < c.events.size(); ++i) {
      const Event& e = c.events[i];
      SendKey(button, e.type, e.key, e.autoRepeat);
      EXPECT_EQ(Shown(button), e.shown) << "event " << i;
      EXPECT_EQ(clicks, e.clicks) << "event " << i;
    }
    // Leaving ends an unfinished press without a click.
    edit->setFocus();
    EXPECT_FALSE(button->Pressing());
    EXPECT_EQ(Shown(button), kUp);
    EXPECT_EQ(clicks, c.events.back().clicks);
  }
}

TEST_F(BmpButtonInput, AltAndTheCaptionLetterClicksAnEnabledButton) {
  button->setText(QStringLiteral("&Go"));
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
  button->setEnabled(false);
  QTest::keyClick(edit, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
}

TEST_F(BmpButtonInput, HotAndFocusedPictures) {
  button->Bitmaps()->SetHot(Solid(20, 10, kHot));
  button->Bitmaps()->SetUpAndFocused(Solid(20, 10, kFocused));
  int entered = 0, left = 0;
  QObject::connect(button, &B::MouseEnter, [&] { ++entered; });
  QObject::connect(button, &B::MouseLeave, [&] { ++left; });
  edit->setFocus();
  EXPECT_EQ(Shown(button), kUp);
  button->setFocus();
  EXPECT_EQ(Shown(button), kFocused);
  button->SetShowFocus(false);
  EXPECT_EQ(Shown(button), kUp);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(button->mapToGlobal(QPoint(5, 5))));
  QApplication::sendEvent(button, &enter);
  EXPECT_EQ(Shown(button), kHot);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(button, &leave);
  EXPECT_EQ(Shown(button), kUp);
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);
}

// --- Groups ---

TEST_F(BmpButtonInput, TheGroupedPairTakeTurnsBeingDown) {
  B* second = Add(10, 40);
  button->SetGroupIndex(1);
  second->SetGroupIndex(1);
  MouseClick(button, {5, 5});
  EXPECT_TRUE(button->Down());
  EXPECT_EQ(Shown(button), kStayDown);
  MouseClick(second, {5, 5});
  EXPECT_TRUE(second->Down());
  EXPECT_FALSE(button->Down());
  EXPECT_EQ(Shown(button), kUp);
  EXPECT_EQ(Shown(second), kStayDown);
  // The down one stays down unless the group allows all up.
  MouseClick(second, {5, 5});
  EXPECT_TRUE(second->Down());
  button->SetAllowAllUp(true);  // the group message copies it
  EXPECT_TRUE(second->AllowAllUp());
  MouseClick(second, {5, 5});
  EXPECT_FALSE(second->Down());
  EXPECT_EQ(Shown(second), kUp);
  EXPECT_EQ(clicks, 4);
  // Outside any group Down stays False.
  B* plain = Add(40, 40);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
}

TEST_F(BmpButtonInput, AGroupedButtonComesToRestAfterAPressThatDoesNotToggle) {
  struct Case {
    const char* name;
    bool down;
    bool bySpace;  // else the mouse, released outside without a move
    TColor shown;
  };
  const Case cases[] = {
      {"up, released outside", false, false, kUp},
      {"down, released outside", true, false, kStayDown},
      {"down, Space refused", true, true, kStayDown},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    B* b = Add(40, 40);
    b->SetGroupIndex(2);
    b->SetDown(c.down);
    if (c.bySpace) {
      b->setFocus();
      SendKey(b, QEvent::KeyPress, Qt::Key_Space);
      SendKey(b, QEvent::KeyRelease, Qt::Key_Space);
    } else {
      MousePress(b, {5, 5});
      MouseRelease(b, {50, 5});
    }
    EXPECT_EQ(b->Down(), c.down);
    EXPECT_EQ(Shown(b), c.shown);
    delete b;
  }
}

TEST_F(BmpButtonInput, ADownButtonEnabledAgainIsDrawnDown) {
  button->SetGroupIndex(1);
  button->SetDown(true);
  MousePress(button, {5, 5});
  button->setEnabled(false);
  EXPECT_EQ(button->State(), B::stDisabled);
  EXPECT_FALSE(button->Pressing());
  EXPECT_EQ(Shown(button), kDisabled);
  button->setEnabled(true);
  EXPECT_EQ(button->State(), B::stStayDown);
  EXPECT_EQ(Shown(button), kStayDown);
  // The release of the press the disabling ended clicks nothing.
  MouseRelease(button, {5, 5});
  EXPECT_EQ(clicks, 0);
}

TEST_F(BmpButtonInput, DoubleClickIsReportedOnlyWhileDown) {
  int doubles = 0;
  QObject::connect(button, &B::DblClick, [&] { ++doubles; });
  for (bool down : {false, true}) {
    button->SetGroupIndex(down ? 1 : 0);
    button->SetDown(down);
    MouseDoubleClick(button, {5, 5});
  }
  EXPECT_EQ(doubles, 1);
}

TEST(BmpButtonClick, EveryClickWritesTheWindowsModalResult) {
  QDialog dialog;
  auto* stay = new B(&dialog);
  auto* leave = new B(&dialog);
  leave->SetModalResult(2);
  dialog.setModal(true);
  dialog.show();
  stay->click();
  EXPECT_EQ(qel::FormModalResult(&dialog), 0);
  EXPECT_TRUE(dialog.isVisible());
  leave->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 2);
}

// --- Painting ---

struct BmpButtonPainted : ::testing::Test {
  void SetUp() override { old = qel::SetTextEngine(&engine); }
  void TearDown() override { qel::SetTextEngine(old); }
  qel::RecordingTextEngine engine;  // 7 x 13 per character
  qel::TextEngine* old = nullptr;
};

TEST_F(BmpButtonPainted, CalcBitmapLayout) {
  // "Abc" measures 21 x 13; the picture is 20 x 10.
  const QImage picture = Solid(20, 10, kUp);
  const TRect face{0, 0, 100, 40};
  struct Case {
    const char* name;
    B::TButtonLayout layout;
    int margin, spacing;
    TRect face;
    B::TBtnSize size;
    TRect caption, picture;
  };
  const Case cases[] = {
      {"left, thirds", B::blGlyphLeft, -1, -1, face, B::bszNeither, {58, 14, 79, 27}, {19, 15, 39, 25}},
      {"right, thirds", B::blGlyphRight, -1, -1, face, B::bszNeither, {21, 14, 42, 27}, {61, 15, 81, 25}},
      {"top, thirds", B::blGlyphTop, -1, -1, face, B::bszNeither, {40, 20, 61, 33}, {40, 5, 60, 15}},
      {"bottom, thirds", B::blGlyphBottom, -1, -1, face, B::bszNeither, {40, 7, 61, 20}, {40, 25, 60, 35}},
      {"left, centred together", B::blGlyphLeft, -1, 4, face, B::bszNeither, {52, 14, 73, 27}, {28, 15, 48, 25}},
      {"left, spacing computed", B::blGlyphLeft, 2, -1, face, B::bszNeither, {51, 14, 72, 27}, {2, 15, 22, 25}},
      {"moved face", B::blGlyphLeft, -1, -1, {3, 2, 103, 42}, B::bszNeither, {61, 16, 82, 29}, {22, 17, 42, 27}},
      // (30 - 41) / 3 truncates to -3.
      {"too narrow", B::blGlyphLeft, -1, -1, {0, 0, 30, 40}, B::bszNeither, {14, 14, 35, 27}, {-3, 15, 17, 25}},
      // The picture covers the face and takes no room.
      {"stretched", B::blGlyphLeft, -1, -1, face, B::bszStretchToButton, {40, 14, 61, 27}, face},
  };
  B b;
  b.setText(QStringLiteral("Abc"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    b.SetButtonSize(c.size);
    b.SetLayout(c.layout);
    b.SetMargin(c.margin);
    b.SetSpacing(c.spacing);
    const B::TBitmapLayout got = b.CalcBitmapLayout(c.face, picture);
    EXPECT_EQ(got.Caption, c.caption);
    EXPECT_EQ(got.Picture, c.picture);
  }
  // Margin below -1 is ignored.
  b.SetMargin(-5);
  EXPECT_EQ(b.Margin(), -1);
}

TEST_F(BmpButtonPainted, CaptionCopiesByState) {
  QWidget window;
  window.resize(200, 100);
  auto* b = new B(&window);
  b->setGeometry(0, 0, 100, 40);
  b->setText(QStringLiteral("Abc"));
  b->SetCaptionDownOffset(3);
  ShowActive(&window);
  // No picture: the caption alone, centred.
  const TRect r{40, 14, 61, 27};
  auto moved = [](TRect t, int by) { return TRect{t.Left + by, t.Top + by, t.Right + by, t.Bottom + by}; };
  struct Copy {
    TRect place;
    TColor color;
  };
  auto expectCopies = [&](const std::vector<Copy>& copies) {
    engine.Drawn.clear();
    b->Paint();
    ASSERT_EQ(engine.Drawn.size(), copies.size());
    for (std::size_t i = 0; i < copies.size(); ++i) {
      EXPECT_EQ(engine.Drawn[i].place, copies[i].place) << "copy " << i;
      EXPECT_EQ(engine.Drawn[i].color, copies[i].color) << "copy " << i;
    }
  };
  expectCopies({{r, clWindowText}});
  b->setFocus();
  QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
  QApplication::sendEvent(b, &space);
  expectCopies({{moved(r, 3), clWindowText}});
  // The focus frame is the caption's rectangle grown by 2, dotted.
  const qel::Canvas c = b->Paint();
  EXPECT_EQ(c.Pixel(r.Left - 1, r.Top - 2), clBlack);
  EXPECT_EQ(c.Pixel(r.Left - 2, r.Top - 1), clBlack);
  b->setEnabled(false);
  expectCopies({{moved(r, 1), clWhite}, {r, clGray}});
}

TEST(BmpButtonFace, RingsOfEachStyle) {
  const TColor hi = ColorToRGB(clBtnHighlight), sh = ColorToRGB(clBtnShadow), dk = ColorToRGB(cl3DDkShadow),
               face = ColorToRGB(clBtnFace);
  struct Case {
    const char* name;
    B::TButtonStyle style;
    bool pressed;
    // Pixels at the left middle, going inwards, and the top-left corner.
    std::vector<TColor> fromLeft;
    TColor right, corner;
  };
  const Case cases[] = {
      {"new, up", B::bsNew, false, {hi, face}, dk, hi},
      {"new, pressed", B::bsNew, true, {sh, face}, sh, sh},
      {"old, up", B::bsWin31, false, {clBlack, hi, face}, clBlack, face},
      {"old, pressed", B::bsWin31, true, {clBlack, sh, face}, clBlack, face},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget window;
    auto* b = new B(&window);
    b->SetButtonStyle(c.style);
    b->SetButtonBorder(B::bbButton);
    b->setGeometry(0, 0, 40, 30);
    window.show();
    if (c.pressed) {
      b->setFocus();
      QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
      QApplication::sendEvent(b, &space);
    }
    const qel::Canvas canvas = b->Paint();
    for (std::size_t i = 0; i < c.fromLeft.size(); ++i) EXPECT_EQ(canvas.Pixel(int(i), 15), c.fromLeft[i]) << i;
    EXPECT_EQ(canvas.Pixel(39, 15), c.right);
    EXPECT_EQ(canvas.Pixel(0, 0), c.corner);
  }
}

TEST(BmpButtonFace, TheSharedCheckerFillsAStayDownFaceInsideItsBorder) {
  EXPECT_EQ(B::DownPatternBrush(), nullptr);
  {
    QWidget window;
    auto* a = new B(&window);
    auto* b = new B(&window);
    EXPECT_EQ(B::Count(), 2);
    for (B* x : {a, b}) {
      x->SetButtonBorder(B::bbSingle);
      x->setGeometry(0, 0, 40, 30);
      x->SetGroupIndex(1);
    }
    a->SetDown(true);
    EXPECT_EQ(B::DownPatternBrush(), nullptr);  // made at the first paint that needs it
    const qel::Canvas c = a->Paint();
    const qel::CanvasBrush* shared = B::DownPatternBrush();
    ASSERT_NE(shared, nullptr);
    for (int y = 5; y < 9; ++y)
      for (int x = 5; x < 9; ++x) EXPECT_EQ(c.Pixel(x, y), x % 2 == y % 2 ? clWhite : ColorToRGB(clBtnFace));
    // The frame stays whole.
    for (auto [x, y] : {std::pair{0, 15}, {20, 0}, {39, 15}, {20, 29}}) EXPECT_EQ(c.Pixel(x, y), clBlack);
    b->SetDown(true);
    b->Paint();
    EXPECT_EQ(B::DownPatternBrush(), shared);
    a->SetShowDownPattern(false);
    a->SetDown(true);
    EXPECT_EQ(a->Paint().Pixel(6, 6), ColorToRGB(clBtnFace));
  }
  // Gone with the last bitmap button.
  EXPECT_EQ(B::Count(), 0);
  EXPECT_EQ(B::DownPatternBrush(), nullptr);
}

}  // namespace
