#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "controls/qelcolormath.h"
#include "controls/qellabel.h"

namespace {

using Entry = qel::RecordingTextEngine::Entry;

// Ten characters measure 100 x 20.
const QString kCaption = QStringLiteral("0123456789");

// Fonts are outlines unless named "Fixedsys".
class Engine : public qel::RecordingTextEngine {
 public:
  bool IsOutlineFont(const qel::FontValue& f) override { return f.Font.family() != QLatin1String("Fixedsys"); }
};

class LabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.CharWidth = 10;
    engine_.LineHeight = 20;
    old_ = qel::SetTextEngine(&engine_);
  }
  void TearDown() override { qel::SetTextEngine(old_); }

  // What one painting of the label draws.
  std::vector<Entry> Paint(QWidget& w) {
    engine_.Drawn.clear();
    w.grab();
    return engine_.Drawn;
  }
  TColor Shown(QWidget& w) {
    const std::vector<Entry> drawn = Paint(w);
    return drawn.empty() ? clNone : drawn.back().color;
  }
  // A label of a fixed box at (0, 0).
  static std::unique_ptr<TQelLabel> Boxed(int width, int height, const QString& caption = QStringLiteral("Text")) {
    auto l = std::make_unique<TQelLabel>(caption);
    l->SetAutoSize(false);
    l->setGeometry(0, 0, width, height);
    return l;
  }

  Engine engine_;
  qel::TextEngine* old_ = nullptr;
};

void Enter(QWidget& w) {
  QEnterEvent e(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(&w, &e);
}

void Leave(QWidget& w) {
  QEvent e(QEvent::Leave);
  QApplication::sendEvent(&w, &e);
}

TEST_F(LabelTest, DefaultsAndTheAlignmentBitsItReads) {
  TQelLabel l(kCaption);
  EXPECT_TRUE(l.AutoSize());
  EXPECT_TRUE(l.ShowAccelChar());
  EXPECT_TRUE(l.ParentColor());
  EXPECT_EQ(l.Color(), clBtnFace);
  EXPECT_EQ(l.Layout(), TQelLabel::tlTop);
  EXPECT_EQ(l.alignment(), Qt::AlignLeft | Qt::AlignTop);
  EXPECT_EQ(l.focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(l.size(), QSize(100, 20));

  // Layout is the vertical bits; a window's own alignment shows as Layout.
  l.setAlignment(Qt::AlignRight);
  l.SetLayout(TQelLabel::tlCenter);
  EXPECT_EQ(l.alignment(), Qt::AlignRight | Qt::AlignVCenter);
  l.setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  EXPECT_EQ(l.Layout(), TQelLabel::tlBottom);
}

TEST_F(LabelTest, AngleIsStoredAsTheWritersKeepIt) {
  const struct { int written, stored; } cases[] = {{-30, 330}, {725, 5}, {-400, -40}, {45, 45}};
  for (const auto& c : cases) {
    TQelLabel l(kCaption);
    ASSERT_EQ(l.Rotation(), TQelLabel::roNone);
    l.SetAngle(c.written);
    EXPECT_EQ(l.Angle(), c.stored) << c.written;
    EXPECT_EQ(l.Rotation(), TQelLabel::roFlat) << c.written;
  }
}

TEST_F(LabelTest, RotationWritersResetTheAngle) {
  TQelLabel l(kCaption);
  l.SetRotation(TQelLabel::roCurve);
  l.SetAngle(45);
  l.SetCenterPoint(TQelLabel::cpUpperLeft);
  EXPECT_EQ(l.Rotation(), TQelLabel::roCurve);  // a turned label stays on its arc
  l.SetRotation(TQelLabel::roFlat);
  EXPECT_EQ(l.Angle(), 0);
  EXPECT_EQ(l.CenterPoint(), TQelLabel::cpCenter);
  l.SetAngle(30);
  l.SetRotation(TQelLabel::roNone);
  EXPECT_EQ(l.Angle(), 0);
}

TEST_F(LabelTest, TurnedTextNeedsAnOutlineFont) {
  TQelLabel l(kCaption);
  QFont f = l.font();
  f.setFamily(QStringLiteral("Fixedsys"));
  l.setFont(f);
  l.SetAngle(30);
  EXPECT_EQ(l.font().family(), QStringLiteral("Verdana"));
  EXPECT_EQ(l.Angle(), 30);
  l.setFont(f);
  EXPECT_EQ(l.Angle(), 0);
}

TEST_F(LabelTest, AutoSizeFitsTheTurnedCaption) {
  using Setup = std::function<void(TQelLabel&)>;
  const auto angle = [](int a) { return [a](TQelLabel& l) { l.SetAngle(a); }; };
  const auto shadow = [](int a) {
    return [a](TQelLabel& l) {
      l.SetTextStyle(TQelLabel::tsShadow);
      l.SetAngle(a);
      l.setText(QString());  // styles alone do not resize
      l.setText(kCaption);
    };
  };
  const struct {
    const char* what;
    Setup setup;
    int width, height;
  } cases[] = {
      {"0", angle(0), 100, 20},
      {"45", angle(45), 85, 85},
      {"90", angle(90), 20, 100},
      {"100", angle(100), 37, 102},
      {"270", angle(270), 20, 100},
      {"320", angle(320), 89, 80},
      {"-400, kept as -40", angle(-400), 89, 80},
      {"shadow, flat", shadow(0), 102, 22},
      {"shadow, 90", shadow(90), 21, 101},
      {"borders",
       [](TQelLabel& l) {
         l.SetBorderOuter(qel::fsLowered);
         l.SetBorderWidth(3);
         l.SetBorderInner(qel::fsFlat);
         l.setText(QString());
         l.setText(kCaption);
       },
       112, 32},
  };
  for (const auto& c : cases) {
    TQelLabel l(kCaption);
    c.setup(l);
    EXPECT_EQ(l.size(), QSize(c.width, c.height)) << c.what;
  }
}

TEST_F(LabelTest, AutoSizeKeepsTheRightEdgeOfRightAlignedText) {
  TQelLabel l(kCaption);
  l.setAlignment(Qt::AlignRight | Qt::AlignTop);
  l.SetAutoSize(false);
  l.setGeometry(50, 10, 300, 40);
  l.SetAutoSize(true);
  EXPECT_EQ(l.geometry(), QRect(250, 10, 100, 20));
  l.setText(QStringLiteral("abc"));
  EXPECT_EQ(l.geometry(), QRect(320, 10, 30, 20));
}

TEST_F(LabelTest, ShorteningTurnsAutoSizeOffAndShortens) {
  const struct {
    TQelLabel::TQelCondenseCaption condense;
    const char* caption;
    const char* shown;
    unsigned flag;
  } cases[] = {{TQelLabel::ccAtEnd, "0123456789", "012...", qel::tfEndEllipsis},
               {TQelLabel::ccWithinPath, "a/bbbbbbbb/cc", "a/b.../cc", qel::tfPathEllipsis}};
  for (const auto& c : cases) {
    TQelLabel l(QString::fromLatin1(c.caption));
    l.SetCondenseCaption(c.condense);
    EXPECT_FALSE(l.AutoSize());
    l.setGeometry(0, 0, c.condense == TQelLabel::ccAtEnd ? 60 : 90, 20);
    const std::vector<Entry> drawn = Paint(l);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].text, QString::fromLatin1(c.shown));
    EXPECT_TRUE(drawn[0].flags & c.flag);
  }
}

TEST_F(LabelTest, TextFlagsFollowTheLabel) {
  using Setup = std::function<void(TQelLabel&)>;
  const struct {
    const char* what;
    Setup setup;
    unsigned flags;
  } cases[] = {
      {"plain", [](TQelLabel&) {}, qel::tfLeft | qel::tfExpandTabs},
      {"centred", [](TQelLabel& l) { l.setAlignment(Qt::AlignHCenter); }, qel::tfCenter | qel::tfExpandTabs},
      {"right", [](TQelLabel& l) { l.setAlignment(Qt::AlignRight); }, qel::tfRight | qel::tfExpandTabs},
      {"right to left", [](TQelLabel& l) { l.setLayoutDirection(Qt::RightToLeft); },
       qel::tfRight | qel::tfRtlReading | qel::tfExpandTabs},
      {"wrapped", [](TQelLabel& l) { l.setWordWrap(true); }, qel::tfWordBreak | qel::tfExpandTabs},
      {"no accelerator", [](TQelLabel& l) { l.SetShowAccelChar(false); }, qel::tfNoPrefix | qel::tfExpandTabs},
  };
  for (const auto& c : cases) {
    auto l = Boxed(100, 20);
    c.setup(*l);
    const std::vector<Entry> drawn = Paint(*l);
    ASSERT_EQ(drawn.size(), 1u) << c.what;
    EXPECT_EQ(drawn[0].flags, c.flags) << c.what;
  }
}

TEST_F(LabelTest, LayoutPlacesTheTextInItsBox) {
  const struct {
    const char* what;
    TQelLabel::TTextLayout layout;
    TQelLabel::TTextStyle style;
    Qt::Alignment horizontal;
    int left, top;  // of the text in the font colour
  } cases[] = {
      {"top", TQelLabel::tlTop, TQelLabel::tsNormal, Qt::AlignLeft, 0, 0},
      {"centre", TQelLabel::tlCenter, TQelLabel::tsNormal, Qt::AlignLeft, 0, 10},
      {"bottom", TQelLabel::tlBottom, TQelLabel::tsNormal, Qt::AlignLeft, 0, 20},
      {"bottom, shadowed", TQelLabel::tlBottom, TQelLabel::tsShadow, Qt::AlignLeft, 0, 18},
      {"right, shadowed", TQelLabel::tlTop, TQelLabel::tsShadow, Qt::AlignRight, -2, 0},
  };
  for (const auto& c : cases) {
    auto l = Boxed(100, 40);
    l->setAlignment(c.horizontal);
    l->SetLayout(c.layout);
    l->SetTextStyle(c.style);
    const Entry text = Paint(*l).back();
    EXPECT_EQ(text.place.Left, c.left) << c.what;
    EXPECT_EQ(text.place.Top, c.top) << c.what;
  }

  // Margins move the box; a frame adds QLabel's indent of half an "x" on
  // the aligned sides.
  auto framed = Boxed(100, 40);
  framed->setContentsMargins(4, 2, 4, 2);
  EXPECT_EQ(Paint(*framed).back().place, (qel::TRect{4, 2, 96, 38}));
  framed->setFrameShape(QFrame::StyledPanel);
  framed->setContentsMargins(4, 2, 4, 2);
  EXPECT_EQ(Paint(*framed).back().place, (qel::TRect{9, 7, 96, 38}));
  framed->setAlignment(Qt::AlignRight | Qt::AlignTop);
  EXPECT_EQ(Paint(*framed).back().place, (qel::TRect{4, 7, 91, 38}));
}

struct Copy {
  int dx, dy;
  TColor color;
  bool operator==(const Copy&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Copy& c) {
  return os << "(" << c.dx << ", " << c.dy << ", " << std::hex << c.color << std::dec << ")";
}

TEST_F(LabelTest, StyledAndDisabledCopiesOfTheText) {
  const TColor text = clWindowText, shadow = clBtnShadow, light = clBtnHighlight;
  const struct {
    const char* what;
    TQelLabel::TTextStyle style;
    bool lightStyle, enabled;
    std::vector<Copy> copies;
  } cases[] = {
      {"normal", TQelLabel::tsNormal, false, true, {{0, 0, text}}},
      {"raised", TQelLabel::tsRaised, false, true, {{1, 1, shadow}, {-1, -1, light}, {0, 0, text}}},
      {"raised, light", TQelLabel::tsRaised, true, true, {{-1, -1, light}, {0, 0, text}}},
      {"recessed", TQelLabel::tsRecessed, false, true, {{1, 1, light}, {-1, -1, shadow}, {0, 0, text}}},
      {"recessed, light", TQelLabel::tsRecessed, true, true, {{1, 1, light}, {0, 0, text}}},
      {"shadow", TQelLabel::tsShadow, false, true, {{2, 2, shadow}, {0, 0, text}}},
      {"disabled", TQelLabel::tsRaised, false, false, {{1, 1, clBtnHighlight}, {0, 0, clBtnShadow}}},
  };
  for (const auto& c : cases) {
    auto l = Boxed(100, 20);
    l->SetTextStyle(c.style);
    l->SetLightTextStyle(c.lightStyle);
    l->setEnabled(c.enabled);
    std::vector<Copy> copies;
    for (const Entry& e : Paint(*l)) copies.push_back({e.place.Left, e.place.Top, e.color});
    EXPECT_EQ(copies, c.copies) << c.what;
  }
}

TEST_F(LabelTest, TurnedTextHangsFromItsPoint) {
  auto l = Boxed(100, 100);
  l->SetAngle(45);
  l->SetTextStyle(TQelLabel::tsShadow);
  const std::vector<Entry> drawn = Paint(*l);
  ASSERT_EQ(drawn.size(), 2u);
  // Centre (50, 50) moved a quarter line down the turned text: th = 20.
  EXPECT_EQ(drawn[0].place.Left, 54 + 1);
  EXPECT_EQ(drawn[0].place.Top, 54 + 1);
  EXPECT_EQ(drawn[0].color, clBtnShadow);
  EXPECT_EQ(drawn[1].place.Left, 54 - 1);
  EXPECT_EQ(drawn[1].place.Top, 54 - 1);
  for (const Entry& e : drawn) {
    EXPECT_EQ(e.escapement, 450);
    EXPECT_EQ(e.flags & (qel::tfAnchorCenter | qel::tfAnchorBaseline), qel::tfAnchorCenter | qel::tfAnchorBaseline);
  }

  auto up = Boxed(40, 100);
  up->SetAngle(90);
  const Entry e = Paint(*up).back();
  EXPECT_EQ(e.place.Left, 20 + 5);
  EXPECT_EQ(e.place.Top, 100);  // left-aligned text starts at the bottom
  EXPECT_EQ(e.escapement, 900);
}

TEST_F(LabelTest, ArcTextOneCharacterAtATime) {
  auto l = Boxed(11, 40);
  l->SetRotation(TQelLabel::roCurve);
  l->SetAngle(90);
  l->SetBorderWidth(5);
  l->SetCenterPoint(TQelLabel::cpUpperLeft);
  std::vector<Entry> drawn = Paint(*l);
  ASSERT_EQ(drawn.size(), 4u);
  EXPECT_EQ(drawn[0].text, QStringLiteral("T"));
  EXPECT_EQ(drawn[0].escapement, 900);
  EXPECT_LT(drawn[1].escapement, 900);

  // A radius of 0 across: no step to divide by, so nothing is drawn.
  l->resize(10, 40);
  EXPECT_TRUE(Paint(*l).empty());
  l->resize(20, 40);
  l->SetCenterPoint(TQelLabel::cpCenter);
  EXPECT_TRUE(Paint(*l).empty());
}

TEST_F(LabelTest, BlinkingSharesOneTimer) {
  ASSERT_EQ(TQelBlinkingControlsList::Instance(), nullptr);
  {
    TQelLabel a(kCaption), b(kCaption), still(kCaption);
    TQelBlinkingControlsList* list = TQelBlinkingControlsList::Instance();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Interval(), 500);
    a.SetFontColor(clRed);
    a.SetBlinkColor(clBlue);
    b.SetFontColor(clGreen);
    b.SetBlinkColor(clYellow);
    still.SetBlinkColor(clBlue);
    a.SetBlinking(true);
    b.SetBlinking(true);
    a.SetBlinkIntervalOn(1000);
    a.SetBlinkIntervalOff(200);
    EXPECT_EQ(b.BlinkIntervalOn(), 1000);
    EXPECT_EQ(list->Interval(), 500);  // new intervals wait for the next tick

    const struct {
      int phase, interval;
      TColor a, b;
    } ticks[] = {{0, 200, clRed, clGreen}, {1, 1000, clBlue, clYellow}, {0, 200, clRed, clGreen}};
    for (const auto& t : ticks) {
      list->Tick();
      EXPECT_EQ(list->Phase(), t.phase);
      EXPECT_EQ(list->Interval(), t.interval);
      EXPECT_EQ(Shown(a), t.a);
      EXPECT_EQ(Shown(b), t.b);
      EXPECT_EQ(Shown(still), clWindowText);
    }

    // While blinking a font change waits; stopping shows the font colour at once.
    list->Tick();
    b.SetFontColor(clPurple);
    EXPECT_EQ(Shown(b), clYellow);
    a.SetBlinking(false);
    EXPECT_EQ(Shown(a), clRed);
  }
  EXPECT_EQ(TQelBlinkingControlsList::Instance(), nullptr);
  TQelLabel fresh(kCaption);
  ASSERT_NE(TQelBlinkingControlsList::Instance(), nullptr);
  EXPECT_EQ(TQelBlinkingControlsList::Instance()->Interval(), 500);
  EXPECT_EQ(fresh.BlinkIntervalOn(), 500);
  EXPECT_EQ(fresh.BlinkIntervalOff(), 500);
}

// A font colour written while a label blinks shows in the font-colour
// phase, and stays when the blinking stops.
TEST_F(LabelTest, AFontColourWrittenWhileBlinkingIsKept) {
  TQelLabel label(kCaption);
  TQelBlinkingControlsList* list = TQelBlinkingControlsList::Instance();
  ASSERT_NE(list, nullptr);
  label.SetBlinkColor(clBlue);
  label.SetBlinking(true);
  do list->Tick();
  while (list->Phase() != 1);
  ASSERT_EQ(Shown(label), clBlue);
  label.SetFontColor(clRed);
  EXPECT_EQ(Shown(label), clBlue);
  list->Tick();
  EXPECT_EQ(Shown(label), clRed);
  list->Tick();
  label.SetFontColor(clGreen);
  label.SetBlinking(false);
  EXPECT_EQ(Shown(label), clGreen);
  EXPECT_EQ(label.FontColor(), clGreen);
}

// Runs a hook, which the test owns, after each blink repaint.
class HookedLabel : public TQelLabel {
 public:
  HookedLabel(const std::function<void(HookedLabel*)>& hook) : TQelLabel(kCaption), hook_(hook) { SetBlinking(true); }
  int blinks = 0;

 protected:
  void ApplyBlinkState(int phase) override {
    TQelLabel::ApplyBlinkState(phase);
    ++blinks;
    hook_(this);  // may destroy this label
  }

 private:
  const std::function<void(HookedLabel*)>& hook_;
};

// A blink repaint may destroy labels the tick has yet to reach, and the
// last label with them, which takes the shared list along.
TEST_F(LabelTest, LabelsDestroyedDuringATick) {
  ASSERT_EQ(TQelBlinkingControlsList::Instance(), nullptr);
  std::unique_ptr<HookedLabel> a, b, c;
  std::function<void(HookedLabel*)> hook = [&](HookedLabel* blinking) {
    if (blinking == a.get()) b.reset();
  };
  a = std::make_unique<HookedLabel>(hook);
  b = std::make_unique<HookedLabel>(hook);
  c = std::make_unique<HookedLabel>(hook);
  TQelBlinkingControlsList::Instance()->Tick();
  EXPECT_EQ(b, nullptr);
  EXPECT_EQ(a->blinks, 1);
  EXPECT_EQ(c->blinks, 1);
  EXPECT_EQ(TQelBlinkingControlsList::Instance()->Count(), 2);

  // The first label's repaint destroys the other and then itself.
  hook = [&](HookedLabel* blinking) {
    if (blinking != a.get()) return;
    c.reset();
    a.reset();
  };
  TQelBlinkingControlsList::Instance()->Tick();
  EXPECT_EQ(a, nullptr);
  EXPECT_EQ(c, nullptr);
  EXPECT_EQ(TQelBlinkingControlsList::Instance(), nullptr);
  // A new label makes a new list.
  TQelLabel fresh(kCaption);
  ASSERT_NE(TQelBlinkingControlsList::Instance(), nullptr);
  EXPECT_EQ(TQelBlinkingControlsList::Instance()->Count(), 1);
}

// Paints green whatever its palette says.
class Backdrop : public QWidget {
 public:
  Backdrop() {
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::red);
    setPalette(p);
    resize(100, 60);
  }

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Qt::green); }
};

// A styled parent: one Color of its own.
class StyledBackdrop : public Backdrop {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color)
 public:
  TColor Color() const { return clYellow; }
};

TEST_F(LabelTest, WhatShowsUnderTheText) {
  const struct {
    const char* what;
    bool transparent, parentColor;
    QRgb shown;
  } cases[] = {
      {"transparent", true, false, qRgb(0, 255, 0)},
      {"own colour", false, false, qRgb(0, 0, 255)},
      // Under a parent Qt paints, its palette colour is not what shows.
      {"parent's colour", false, true, qRgb(0, 255, 0)},
  };
  for (const auto& c : cases) {
    Backdrop host;
    auto* l = new TQelLabel(kCaption, &host);
    l->SetColor(clBlue);
    l->SetParentColor(c.parentColor);
    l->SetTransparent(c.transparent);
    l->move(10, 10);
    const QImage image = host.grab().toImage();
    EXPECT_EQ(image.pixel(15, 15), c.shown) << c.what;
    EXPECT_EQ(image.pixel(5, 5), qRgb(0, 255, 0)) << c.what;
  }

  StyledBackdrop styled;
  auto* l = new TQelLabel(kCaption, &styled);
  EXPECT_EQ(l->Color(), clYellow);
  EXPECT_EQ(styled.grab().toImage().pixel(5, 5), qRgb(255, 255, 0));
}

TEST_F(LabelTest, FlyByGivesBackOnlyAColourAnEntrySaved) {
  enum Step { In, Out, On, Off, Red };
  const struct {
    const char* what;
    std::vector<Step> steps;
    TColor font;
  } cases[] = {
      {"inside", {On, In}, clLime},
      {"in and out", {On, In, Out}, clNavy},
      {"switched on inside", {In, On, Out}, clNavy},
      {"on and off outside", {On, Off}, clNavy},
      {"off inside", {On, In, Off}, clNavy},
      {"set after a give-back", {On, In, Off, Red, On, Out}, clRed},
  };
  for (const auto& c : cases) {
    TQelLabel l(kCaption);
    l.SetFontColor(clNavy);
    l.SetFlyByColor(clLime);
    int entered = 0, left = 0;
    QObject::connect(&l, &TQelLabel::MouseEnter, [&] { ++entered; });
    QObject::connect(&l, &TQelLabel::MouseLeave, [&] { ++left; });
    int ins = 0, outs = 0;
    for (Step s : c.steps) switch (s) {
        case In: Enter(l), ++ins; break;
        case Out: Leave(l), ++outs; break;
        case On: l.SetFlyByEnabled(true); break;
        case Off: l.SetFlyByEnabled(false); break;
        case Red: l.SetFontColor(clRed); break;
      }
    EXPECT_EQ(l.FontColor(), c.font) << c.what;
    EXPECT_EQ(Shown(l), c.font) << c.what;
    EXPECT_EQ(entered, ins) << c.what;
    EXPECT_EQ(left, outs) << c.what;
  }
}

TEST_F(LabelTest, FrameControllerLink) {
  auto fc = std::make_unique<TQelFrameController>();
  fc->SetFrameStyle(qel::fsFlatBold);
  fc->SetFrameSides(qel::sdTop | qel::sdBottom);
  fc->SetColor(clInfoBk);
  TQelLabel l(kCaption);
  l.SetFrameController(fc.get());
  EXPECT_EQ(l.BorderOuter(), qel::fsNone);  // an invisible frame changes nothing
  EXPECT_TRUE(l.ParentColor());
  fc->SetFrameVisible(true);
  EXPECT_EQ(l.BorderOuter(), qel::fsFlatBold);
  EXPECT_EQ(l.BorderSides(), qel::sdTop | qel::sdBottom);
  EXPECT_EQ(l.FlatColorAdjustment(), 0);
  EXPECT_EQ(l.Color(), clInfoBk);
  EXPECT_FALSE(l.ParentColor());
  EXPECT_EQ(l.BorderHighlight(), TintColor(clInfoBk, 100));
  EXPECT_EQ(l.BorderShadow(), ShadeColor(clInfoBk, 50));

  {
    TQelLabel gone(kCaption);
    gone.SetFrameController(fc.get());
    EXPECT_EQ(fc->LinkedCount(), 2);
  }
  EXPECT_EQ(fc->LinkedCount(), 1);
  fc.reset();
  EXPECT_EQ(l.FrameController(), nullptr);

  EXPECT_TRUE(l.applyLegacyProperty(QStringLiteral("FrameSides"), 15));
  EXPECT_FALSE(l.applyLegacyProperty(QStringLiteral("Angle"), 15));
}

TEST_F(LabelTest, LoadingDefersTheFontColourAndTheSize) {
  TQelLabel l(QString{});
  l.beginLoad();
  l.SetFontColor(clRed);
  l.setText(kCaption);
  EXPECT_EQ(Shown(l), clWindowText);
  EXPECT_NE(l.size(), QSize(100, 20));
  l.finishLoad();
  EXPECT_EQ(Shown(l), clRed);
  EXPECT_EQ(l.size(), QSize(100, 20));
}

}  // namespace

#include "label_test.moc"
