#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <memory>

#include "controls/qeledits.h"
#include "controls/qelframecontroller.h"
#include "controls/qeltextframe.h"
#include "tests/controls/events.h"

namespace {

using qel::TextFrame;

void Enter(QWidget* w) {
  QEnterEvent e(QPointF(3, 3), QPointF(3, 3), QPointF(w->mapToGlobal(QPoint(3, 3))));
  QApplication::sendEvent(w, &e);
}

void Leave(QWidget* w) {
  QEvent e(QEvent::Leave);
  QApplication::sendEvent(w, &e);
}

TColor At(const QImage& image, int x, int y) { return QRgbToColor(image.pixel(x, y)); }

// A framed control in a window beside a plain edit that can take the focus.
struct Framed {
  const char* name;
  std::function<QWidget*(QWidget*)> make;
};

const Framed kKinds[] = {
    {"edit", [](QWidget* p) -> QWidget* { return new TQelEdit(p); }},
    {"memo", [](QWidget* p) -> QWidget* { return new TQelMemo(p); }},
};

struct Host {
  explicit Host(const Framed& kind, bool show = true) {
    window.resize(260, 120);
    widget = kind.make(&window);
    widget->setGeometry(10, 10, 120, 60);
    frame = dynamic_cast<TextFrame*>(widget);
    other = new QLineEdit(&window);
    other->setGeometry(150, 10, 80, 24);
    if (!show) return;
    ShowActive(&window);
    other->setFocus();
  }
  QImage Grab() const { return widget->grab().toImage(); }
  QWidget window;
  QWidget* widget = nullptr;
  TextFrame* frame = nullptr;
  QLineEdit* other = nullptr;
};

// Every pixel of ring `depth` (0 the outermost) on the given sides; without
// corners, only where no other side crosses.
void ExpectRing(const QImage& image, int depth, TColor color, qel::TSides sides = qel::sdAllSides,
                bool corners = true) {
  const int w = image.width(), h = image.height();
  const TColor rgb = PaintRGB(color);
  const int from = corners ? depth : 2;
  for (int x = from; x < w - from; ++x) {
    if (sides & qel::sdTop) {
      EXPECT_EQ(At(image, x, depth), rgb) << "top " << x;
    }
    if (sides & qel::sdBottom) {
      EXPECT_EQ(At(image, x, h - 1 - depth), rgb) << "bottom " << x;
    }
  }
  for (int y = from; y < h - from; ++y) {
    if (sides & qel::sdLeft) {
      EXPECT_EQ(At(image, depth, y), rgb) << "left " << y;
    }
    if (sides & qel::sdRight) {
      EXPECT_EQ(At(image, w - 1 - depth, y), rgb) << "right " << y;
    }
  }
}

TEST(TextFrame, StateColoursFollowFocusAndEnabling) {
  for (const Framed& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    Host host(kind);
    TextFrame& f = *host.frame;
    EXPECT_EQ(f.Color(), clWindow);
    host.widget->setFocus();
    EXPECT_EQ(f.Color(), clWindow);  // FocusColor defaults to the normal colour
    f.SetFocusColor(clInfoBk);       // takes effect at once while focused
    EXPECT_EQ(f.Color(), clInfoBk);
    host.other->setFocus();
    EXPECT_EQ(f.Color(), clWindow);

    host.widget->setEnabled(false);
    EXPECT_EQ(f.Color(), clBtnFace);
    // Qt paints a disabled widget from the Disabled group.
    EXPECT_EQ(host.widget->palette().color(QPalette::Disabled, QPalette::Base).rgb(), ColorToQRgb(clBtnFace));
    f.SetDisabledColor(clSilver);
    EXPECT_EQ(f.Color(), clSilver);
    host.widget->setEnabled(true);
    EXPECT_EQ(f.Color(), clWindow);
    EXPECT_EQ(host.widget->palette().color(QPalette::Active, QPalette::Base).rgb(), ColorToQRgb(clWindow));

    // A disabled parent disables the control too.
    host.window.setEnabled(false);
    EXPECT_EQ(f.Color(), clSilver);
    host.window.setEnabled(true);
    EXPECT_EQ(f.Color(), clWindow);
  }
}

TEST(TextFrame, ColorMovesFocusColorUntilFocusColorIsSet) {
  for (const Framed& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    Host host(kind, false);
    TextFrame& f = *host.frame;
    f.SetParentColor(true);
    f.SetColor(clYellow);
    EXPECT_FALSE(f.ParentColor());
    EXPECT_EQ(f.FocusColor(), clYellow);
    EXPECT_EQ(f.NormalColor(), clYellow);
    f.SetFocusColor(clAqua);
    f.SetColor(clRed);
    EXPECT_EQ(f.FocusColor(), clAqua);
    EXPECT_EQ(f.Color(), clRed);
    // The state colour is not a new normal colour.
    host.widget->setEnabled(false);
    EXPECT_EQ(f.NormalColor(), clRed);
    host.widget->setEnabled(true);
    EXPECT_EQ(f.Color(), clRed);
  }
}

TEST(TextFrame, HotTrackShowsTheFrameOnAllSidesUnlessLoading) {
  for (const Framed& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    Host host(kind, false);
    TextFrame& f = *host.frame;
    f.SetFrameSides(qel::sdTop);
    f.SetFrameHotTrack(true);
    EXPECT_TRUE(f.FrameVisible());
    EXPECT_EQ(f.FrameSides(), qel::sdAllSides);

    Host loading(kind, false);
    TextFrame& g = *loading.frame;
    g.beginLoad();
    g.SetFrameSides(qel::sdTop);
    g.SetFrameHotTrack(true);
    g.finishLoad();
    EXPECT_TRUE(g.FrameVisible());
    EXPECT_EQ(g.FrameSides(), qel::sdTop);
  }
}

TEST(TextFrame, WithDefaultsQtsOwnFrameShows) {
  // No styled frame: the control paints as the Qt widget with the same Base.
  Host edit(kKinds[0]);
  auto* plainEdit = new QLineEdit(&edit.window);
  plainEdit->setGeometry(edit.widget->geometry().translated(0, 100));
  plainEdit->setPalette(edit.widget->palette());
  EXPECT_TRUE(edit.Grab() == plainEdit->grab().toImage());

  Host memo(kKinds[1]);
  auto* plainMemo = new QPlainTextEdit(&memo.window);
  plainMemo->setGeometry(memo.widget->geometry().translated(0, 100));
  plainMemo->setPalette(memo.widget->palette());
  EXPECT_TRUE(memo.Grab() == plainMemo->grab().toImage());
}

TEST(TextFrame, ADisabledEditPaintsBtnFace) {
  Host host(kKinds[0]);
  host.widget->setEnabled(false);
  const QImage image = host.Grab();
  EXPECT_EQ(At(image, image.width() / 2, image.height() / 2), PaintRGB(clBtnFace));
}

TEST(TextFrame, RingsOfTheStyledFrame) {
  struct Case {
    const char* name;
    qel::TFrameStyle style;
    TColor color;
    qel::TSides sides;
    TColor frameColor;
    TColor outer, inner;  // on the sides drawn
  };
  const Case cases[] = {
      {"flat", qel::fsFlat, clWindow, qel::sdAllSides, clBtnShadow, clBtnShadow, clWindow},
      {"flat on a colour", qel::fsFlat, clInfoBk, qel::sdAllSides, clRed, clRed, clInfoBk},
      {"flat bold", qel::fsFlatBold, clInfoBk, qel::sdAllSides, clGreen, clGreen, clGreen},
      {"none: only the erased edge", qel::fsNone, clInfoBk, qel::sdAllSides, clRed, clInfoBk, clInfoBk},
      {"flat on top only", qel::fsFlat, clYellow, qel::sdTop, clBtnShadow, clBtnShadow, clYellow},
  };
  for (const Framed& kind : kKinds)
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(kind.name) + ": " + c.name);
      Host host(kind);
      TextFrame& f = *host.frame;
      f.SetColor(c.color);
      f.SetFrameStyle(c.style);
      f.SetFrameColor(c.frameColor);
      f.SetFrameSides(c.sides);
      f.SetFrameVisible(true);
      const QImage image = host.Grab();
      ExpectRing(image, 0, c.outer, c.sides);
      ExpectRing(image, 0, c.color, qel::sdAllSides & ~c.sides, false);
      ExpectRing(image, 1, c.inner, c.sides);
    }
}

TEST(TextFrame, ExactClWindowTakesTheSystemBorderAndWhiteTheColouredOne) {
  for (const Framed& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    QImage rings[2];
    const TColor colors[2] = {clWindow, clWhite};
    for (int i = 0; i < 2; ++i) {
      Host host(kind);
      host.frame->SetFrameStyle(qel::fsLowered);
      host.frame->SetColor(colors[i]);
      host.frame->SetFrameVisible(true);
      rings[i] = host.Grab();
    }
    const int w = rings[0].width(), h = rings[0].height();
    qel::Canvas system(w, h), coloured(w, h);
    qel::PaintFrameStyleBorder(system, {0, 0, w, h}, qel::fsLowered, qel::sdAllSides);
    qel::PaintColoredFrameBorder(coloured, {0, 0, w, h}, clWhite, qel::sdAllSides, qel::fsLowered);
    for (int y : {0, 1, h / 2, h - 2, h - 1})
      for (int x : {0, 1, w / 2, w - 2, w - 1}) {
        if (x > 1 && x < w - 2 && y > 1 && y < h - 2) continue;  // rings only
        EXPECT_EQ(At(rings[0], x, y), system.Pixel(x, y)) << x << "," << y;
        EXPECT_EQ(At(rings[1], x, y), coloured.Pixel(x, y)) << x << "," << y;
      }
    EXPECT_NE(At(rings[0], 0, h / 2), At(rings[1], 0, h / 2));
  }
}

TEST(TextFrame, HotFrameWhileUnderTheMouseOrFocused) {
  for (const Framed& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    Host host(kind);
    TextFrame& f = *host.frame;
    int entered = 0, left = 0;
    if (auto* edit = qobject_cast<TQelEdit*>(host.widget)) {
      QObject::connect(edit, &TQelEdit::MouseEnter, [&] { ++entered; });
      QObject::connect(edit, &TQelEdit::MouseLeave, [&] { ++left; });
    } else {
      auto* memo = qobject_cast<TQelMemo*>(host.widget);
      QObject::connect(memo, &TQelMemo::MouseEnter, [&] { ++entered; });
      QObject::connect(memo, &TQelMemo::MouseLeave, [&] { ++left; });
    }
    f.SetFrameHotColor(clRed);
    f.SetFrameHotTrack(true);  // hot style fsFlatBold

    ExpectRing(host.Grab(), 0, clBtnShadow);
    Enter(host.widget);
    EXPECT_EQ(entered, 1);
    EXPECT_TRUE(f.PaintsHot());
    ExpectRing(host.Grab(), 0, clRed);
    ExpectRing(host.Grab(), 1, clRed);
    Leave(host.widget);
    EXPECT_EQ(left, 1);
    EXPECT_FALSE(f.PaintsHot());
    ExpectRing(host.Grab(), 1, clWindow);

    host.widget->setFocus();
    EXPECT_TRUE(f.PaintsHot());
    ExpectRing(host.Grab(), 0, clRed);
    host.other->setFocus();
    EXPECT_FALSE(f.PaintsHot());

    // Without FrameHotTrack the mouse changes nothing that shows.
    f.SetFrameHotTrack(false);
    Enter(host.widget);
    EXPECT_FALSE(f.PaintsHot());
    ExpectRing(host.Grab(), 0, clBtnShadow);
  }
}

TEST(TextFrame, AFrameControllerSetsTheFramePropertiesByName) {
  for (const Framed& kind : kKinds) {
    SCOPED_TRACE(kind.name);
    Host host(kind, false);
    TextFrame& f = *host.frame;
    TQelFrameController fc;
    fc.SetColor(clYellow);
    fc.SetFocusColor(clInfoBk);
    fc.SetDisabledColor(clGray);
    fc.SetFrameVisible(true);
    fc.SetFrameStyle(qel::fsLowered);
    fc.SetFrameColor(clRed);
    fc.SetFrameSides(qel::sdLeft | qel::sdTop);
    fc.SetFrameHotStyle(qel::fsRaised);
    fc.SetFrameHotColor(clGreen);
    fc.SetFramingPreference(fpCustomFraming);
    fc.SetFlatButtons(true);
    f.SetFrameController(&fc);
    EXPECT_EQ(f.Color(), clYellow);
    EXPECT_EQ(f.FocusColor(), clInfoBk);
    EXPECT_EQ(f.DisabledColor(), clGray);
    EXPECT_TRUE(f.FrameVisible());
    EXPECT_EQ(f.FrameStyle(), qel::fsLowered);
    EXPECT_EQ(f.FrameColor(), clRed);
    EXPECT_EQ(f.FrameSides(), qel::sdLeft | qel::sdTop);
    EXPECT_EQ(f.FrameHotStyle(), qel::fsRaised);
    EXPECT_EQ(f.FrameHotColor(), clGreen);
    EXPECT_EQ(f.FramingPreference(), fpCustomFraming);
    EXPECT_FALSE(f.FlatButtons());  // not published by these two
    EXPECT_TRUE(host.widget->dynamicPropertyNames().isEmpty());

    fc.SetFrameHotTrack(true);
    EXPECT_TRUE(f.FrameHotTrack());
    EXPECT_EQ(f.FrameSides(), qel::sdAllSides);
    fc.SetParentColor(true);
    EXPECT_TRUE(f.ParentColor());

    // Forms set them by value name too.
    host.widget->setProperty("FrameStyle", QStringLiteral("fsBump"));
    host.widget->setProperty("FrameSides", QStringLiteral("[sdRight,sdBottom]"));
    EXPECT_EQ(f.FrameStyle(), qel::fsBump);
    EXPECT_EQ(host.widget->property("FrameSides").toString(), QStringLiteral("[sdRight,sdBottom]"));
    // fsFlatRounded is no frame style of theirs, by name or by number.
    host.widget->setProperty("FrameStyle", QStringLiteral("fsFlatRounded"));
    host.widget->setProperty("FrameHotStyle", int(qel::fsFlatRounded));
    EXPECT_EQ(f.FrameStyle(), qel::fsBump);
    EXPECT_EQ(f.FrameHotStyle(), qel::fsRaised);
    host.widget->setProperty("FramingPreference", QStringLiteral("fpXPThemes"));
    EXPECT_EQ(f.FramingPreference(), fpXPThemes);
    host.widget->setProperty("FramingPreference", int(fpCustomFraming));
    EXPECT_EQ(f.FramingPreference(), fpCustomFraming);

    f.SetFrameController(nullptr);
    EXPECT_FALSE(fc.HasList());
  }
}

TEST(TextFrame, TheControllerLinkEndsWithEitherSide) {
  auto fc = std::make_unique<TQelFrameController>();
  {
    TQelMemo memo;
    memo.SetFrameController(fc.get());
    EXPECT_EQ(fc->LinkedCount(), 1);
  }
  EXPECT_FALSE(fc->HasList());
  TQelEdit edit;
  edit.SetFrameController(fc.get());
  fc.reset();
  EXPECT_EQ(edit.FrameController(), nullptr);
}

TEST(TextFrame, LegacyProperties) {
  TQelEdit edit;
  EXPECT_TRUE(edit.applyLegacyProperty(QStringLiteral("FrameFlat"), true));
  EXPECT_TRUE(edit.FrameHotTrack());
  EXPECT_TRUE(edit.FrameVisible());
  EXPECT_EQ(edit.FrameStyle(), qel::fsStatus);
  EXPECT_EQ(edit.FrameHotStyle(), qel::fsLowered);
  EXPECT_TRUE(edit.applyLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsGroove")));
  EXPECT_EQ(edit.FrameHotStyle(), qel::fsGroove);
  EXPECT_TRUE(edit.applyLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsFlatRounded")));
  EXPECT_EQ(edit.FrameHotStyle(), qel::fsGroove);  // outside the frame styles
  EXPECT_TRUE(edit.applyLegacyProperty(QStringLiteral("FrameFlatStyle"), QStringLiteral("fsFlat")));
  EXPECT_FALSE(edit.applyLegacyProperty(QStringLiteral("FrameGlow"), true));

  TQelMemo memo;
  EXPECT_TRUE(memo.applyLegacyProperty(QStringLiteral("FrameFlat"), false));
  EXPECT_FALSE(memo.FrameHotTrack());
  EXPECT_EQ(memo.FrameStyle(), qel::fsFlat);
}

TEST(TextFrame, SidesAsText) {
  struct Case {
    const char* text;
    std::optional<qel::TSides> sides;
  };
  const Case cases[] = {
      {"[sdLeft,sdTop,sdRight,sdBottom]", qel::sdAllSides},
      {"[]", 0u},
      {"sdTop | sdBottom", qel::sdTop | qel::sdBottom},
      {"5", qel::sdLeft | qel::sdRight},
      {"16", std::nullopt},
      {"[sdLeft,sdMiddle]", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(qel::SidesFromText(QLatin1String(c.text)), c.sides);
  }
  EXPECT_EQ(qel::SidesToText(qel::sdTop | qel::sdBottom), QStringLiteral("[sdTop,sdBottom]"));

  QString reported;
  auto old = qel::SetErrorHook([&](const QString& m) { reported = m; });
  TQelEdit edit;
  edit.setProperty("FrameSides", QStringLiteral("[sdMiddle]"));
  qel::SetErrorHook(old);
  EXPECT_FALSE(reported.isEmpty());
  EXPECT_EQ(edit.FrameSides(), qel::sdAllSides);
}

}  // namespace
