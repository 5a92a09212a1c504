#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QLineEdit>
#include <QMainWindow>
#include <QTest>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "controls/qelcolormath.h"
#include "controls/qelpanels.h"
#include "tests/controls/events.h"

namespace {

using Entry = qel::RecordingTextEngine::Entry;
using qel::TRect;
using Pixels = std::set<std::pair<int, int>>;

// Measures 7 pixels a character and 13 a line.
class WithEngine : public ::testing::Test {
 protected:
  void SetUp() override { old_ = qel::SetTextEngine(&engine_); }
  void TearDown() override { qel::SetTextEngine(old_); }

  std::vector<Entry> Drawn(TQelCustomPanel& panel) {
    engine_.Drawn.clear();
    panel.Paint();
    return engine_.Drawn;
  }

  qel::RecordingTextEngine engine_;
  qel::TextEngine* old_ = nullptr;
};

Pixels PixelsOf(const qel::Canvas& canvas, TColor color) {
  Pixels found;
  for (int y = 0; y < canvas.Height(); ++y)
    for (int x = 0; x < canvas.Width(); ++x)
      if (canvas.Pixel(x, y) == PaintRGB(color)) found.insert({x, y});
  return found;
}

QImage Filled(int width, int height, TColor color) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ColorToQRgb(color));
  return image;
}

// --- Geometry, without a window. ---

TEST(PanelGeometry, InnerBorderRect) {
  struct Case {
    const char* name;
    int borderWidth;
    qel::TFrameStyleEx outer, inner;
    int bevelWidth;
    qel::TSides sides;
    bool withBorderWidth;
    TRect expected;
  };
  const Case cases[] = {
      {"raised and lowered, with the border width",
       2,
       qel::fsRaised,
       qel::fsLowered,
       1,
       qel::sdAllSides,
       true,
       {6, 6, 94, 44}},
      {"raised and lowered, without it", 2, qel::fsRaised, qel::fsLowered, 1, qel::sdAllSides, false, {4, 4, 96, 46}},
      {"status by the bevel width, top only", 0, qel::fsStatus, qel::fsNone, 3, qel::sdTop, true, {0, 3, 100, 50}},
      {"flat and popup", 0, qel::fsFlat, qel::fsPopup, 4, qel::sdLeft | qel::sdBottom, true, {5, 0, 100, 45}},
      {"none", 0, qel::fsNone, qel::fsNone, 1, qel::sdAllSides, true, {0, 0, 100, 50}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelPanel panel;
    panel.SetBorderWidth(c.borderWidth);
    panel.SetBorderOuter(c.outer);
    panel.SetBorderInner(c.inner);
    panel.SetBevelWidth(c.bevelWidth);
    panel.SetBorderSides(c.sides);
    EXPECT_EQ(panel.InnerBorderRect({0, 0, 100, 50}, c.withBorderWidth), c.expected);
  }
}

using GroupBoxGeometry = WithEngine;

TEST_F(GroupBoxGeometry, AdjustForBorders) {
  struct Case {
    TQelGroupBox::TQelGroupBoxStyle style;
    int borderWidth;
    TRect expected;
  };
  const Case cases[] = {
      {TQelGroupBox::gsFlat, 0, {1, 14, 99, 49}},     {TQelGroupBox::gsTopLine, 0, {1, 14, 99, 49}},
      {TQelGroupBox::gsStandard, 0, {2, 15, 98, 48}}, {TQelGroupBox::gsCustom, 0, {2, 15, 98, 48}},
      {TQelGroupBox::gsFlat, 6, {7, 12, 93, 43}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << ", border width " << c.borderWidth);
    TQelGroupBox box;
    box.SetGroupStyle(c.style);
    box.SetBorderWidth(c.borderWidth);
    EXPECT_EQ(box.AdjustForBorders({0, 0, 100, 50}), c.expected);
  }
}

TEST_F(GroupBoxGeometry, CaptionRect) {
  struct Case {
    const char* caption;
    TQelGroupBox::TQelGroupBoxStyle style;
    bool rightToLeft;
    TRect expected;
  };
  const Case cases[] = {
      {"Event Set", TQelGroupBox::gsFlat, false, {8, 0, 71, 13}},
      {"Event Set", TQelGroupBox::gsStandard, false, {8, 0, 71, 13}},
      {"Event Set", TQelGroupBox::gsTopLine, false, {0, 0, 63, 13}},
      {"Event Set", TQelGroupBox::gsFlat, true, {505, 0, 568, 13}},
      {"Event Set", TQelGroupBox::gsStandard, true, {505, 0, 568, 13}},
      {"Event Set", TQelGroupBox::gsCustom, false, {}},
      {"", TQelGroupBox::gsFlat, false, {}},
      // As it shows: "&E" is an underlined E, "&&" one ampersand.
      {"&Event && Set", TQelGroupBox::gsFlat, false, {8, 0, 85, 13}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.caption << ", style " << c.style << (c.rightToLeft ? ", right to left" : ""));
    TQelGroupBox box(QString::fromLatin1(c.caption));
    box.resize(576, 105);
    box.SetGroupStyle(c.style);
    if (c.rightToLeft) box.setLayoutDirection(Qt::RightToLeft);
    EXPECT_EQ(box.CaptionRect(), c.expected);
  }
}

TEST(PanelGrid, PixelsOfEachStyle) {
  Pixels dots, solid, dotted, solidRowsOnly;
  for (int x : {7, 15})
    for (int y : {3, 7}) dots.insert({x, y});
  for (int y = 0; y < 10; ++y) solid.insert({7, y}), solid.insert({15, y});
  for (int x = 0; x < 20; ++x)
    solid.insert({x, 3}), solid.insert({x, 7}), solidRowsOnly.insert({x, 3}), solidRowsOnly.insert({x, 7});
  for (int y = 1; y < 10; y += 2) dotted.insert({7, y}), dotted.insert({15, y});
  for (int x = 1; x < 20; x += 2) dotted.insert({x, 3}), dotted.insert({x, 7});
  struct Case {
    const char* name;
    TQelPanel::TQelGridStyle style;
    int xSize, ySize;
    Pixels expected;
  };
  const Case cases[] = {
      {"dots", TQelPanel::gsDots, 8, 4, dots},
      {"solid lines", TQelPanel::gsSolidLines, 8, 4, solid},
      {"dotted lines, from one past the start", TQelPanel::gsDottedLines, 8, 4, dotted},
      {"no columns at size 0", TQelPanel::gsSolidLines, 0, 4, solidRowsOnly},
      {"no dots at size 0", TQelPanel::gsDots, 8, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelPanel panel;
    panel.resize(20, 10);
    panel.SetBorderOuter(qel::fsNone);
    panel.SetColor(clWhite);
    panel.SetShowGrid(true);
    panel.SetGridColor(clRed);
    panel.SetGridStyle(c.style);
    panel.SetGridXSize(std::uint16_t(c.xSize));
    panel.SetGridYSize(std::uint16_t(c.ySize));
    EXPECT_EQ(PixelsOf(panel.Paint(), clRed), c.expected);
  }
}

// --- Align. ---

QWidget* Child(QWidget* parent, qel::TAlign align, const QRect& r) {
  auto* w = new QWidget(parent);
  w->setGeometry(r);
  qel::SetAlign(w, align);
  return w;
}

TEST(Align, OneChildOfEachKind) {
  TQelPanel panel;
  panel.resize(100, 50);
  panel.SetBorderOuter(qel::fsNone);
  QWidget* top1 = Child(&panel, qel::alTop, {5, 5, 10, 6});
  QWidget* bottom = Child(&panel, qel::alBottom, {5, 5, 10, 8});
  QWidget* left = Child(&panel, qel::alLeft, {5, 5, 12, 10});
  QWidget* client = Child(&panel, qel::alClient, {5, 5, 10, 10});
  QWidget* right = Child(&panel, qel::alRight, {5, 5, 14, 10});
  QWidget* top2 = Child(&panel, qel::alTop, {5, 5, 10, 4});
  QWidget* none = Child(&panel, qel::alNone, {5, 5, 10, 10});
  QWidget* hidden = Child(&panel, qel::alNone, {5, 5, 10, 10});
  hidden->hide();
  qel::SetAlign(hidden, qel::alTop);  // a hidden child takes no room
  EXPECT_EQ(top1->geometry(), QRect(0, 0, 100, 6));
  EXPECT_EQ(top2->geometry(), QRect(0, 6, 100, 4));  // stacked in child order
  EXPECT_EQ(bottom->geometry(), QRect(0, 42, 100, 8));
  EXPECT_EQ(left->geometry(), QRect(0, 10, 12, 32));
  EXPECT_EQ(right->geometry(), QRect(86, 10, 14, 32));
  EXPECT_EQ(client->geometry(), QRect(12, 10, 74, 32));
  EXPECT_EQ(none->geometry(), QRect(5, 5, 10, 10));
  EXPECT_EQ(hidden->geometry(), QRect(5, 5, 10, 10));

  // A resize places them again (Qt tells a widget of its size once shown).
  panel.show();
  panel.resize(120, 60);
  EXPECT_EQ(bottom->geometry(), QRect(0, 52, 120, 8));
  EXPECT_EQ(client->geometry(), QRect(12, 10, 94, 42));
}

TEST(Align, InsideTheBordersOnTheirSides) {
  TQelPanel panel;
  panel.resize(100, 50);
  panel.SetBorderOuter(qel::fsStatus);
  panel.SetBevelWidth(3);
  QWidget* client = Child(&panel, qel::alClient, {});
  EXPECT_EQ(client->geometry(), QRect(3, 3, 94, 44));
  panel.SetBorderSides(qel::sdTop);
  EXPECT_EQ(client->geometry(), QRect(0, 3, 100, 47));
  panel.SetBorderWidth(2);  // the border width on every side
  EXPECT_EQ(client->geometry(), QRect(2, 5, 96, 43));
}

TEST(Align, KeepAlignedEdge) {
  QWidget parent;
  parent.resize(200, 200);
  struct Case {
    const char* name;
    qel::TAlign align;
    QRect from, bounds, expected;
  };
  const Case cases[] = {
      {"bottom grows upward", qel::alBottom, {0, 100, 100, 50}, {0, 100, 100, 80}, {0, 70, 100, 80}},
      {"right grows leftward", qel::alRight, {100, 0, 50, 50}, {100, 0, 80, 50}, {70, 0, 80, 50}},
      {"bottom, same height", qel::alBottom, {0, 100, 100, 50}, {0, 90, 120, 50}, {0, 90, 120, 50}},
      {"not aligned", qel::alNone, {0, 100, 100, 50}, {0, 100, 100, 80}, {0, 100, 100, 80}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelPanel panel(&parent);
    panel.setGeometry(c.from);
    panel.SetAlign(c.align);
    panel.SetBounds(c.bounds.x(), c.bounds.y(), c.bounds.width(), c.bounds.height());
    EXPECT_EQ(panel.geometry(), c.expected);
  }
}

// --- Behaviour. ---

struct PanelEnabled : ::testing::Test {
  void SetUp() override {
    window.resize(200, 100);
    panel = new TQelPanel(&window);
    for (auto*& c : children) c = new QWidget(panel);
    children[1]->setEnabled(false);
  }
  std::vector<std::pair<QString, QWidget*>> Saved() const {
    std::vector<std::pair<QString, QWidget*>> saved;
    for (const TQelPanel::EnabledEntry& e : panel->EnabledList()) saved.emplace_back(e.Text, e.Object.data());
    return saved;
  }
  static bool Own(const QWidget* w) { return !w->testAttribute(Qt::WA_ForceDisabled); }

  QWidget window;
  TQelPanel* panel = nullptr;
  QWidget* children[3] = {};
};

TEST_F(PanelEnabled, PanelDisablesItsChildrenAndGivesBackTheirOwnState) {
  panel->setEnabled(false);
  const std::vector<std::pair<QString, QWidget*>> expected = {
      {QStringLiteral("1"), children[0]}, {QStringLiteral("0"), children[1]}, {QStringLiteral("1"), children[2]}};
  EXPECT_EQ(Saved(), expected);
  for (QWidget* c : children) EXPECT_FALSE(Own(c));

  auto* late = new QWidget(panel);  // added while disabled: no entry
  children[2]->setEnabled(false);   // disabled again meanwhile: still saved as "1"
  panel->setEnabled(true);
  EXPECT_TRUE(Own(children[0]));
  EXPECT_FALSE(Own(children[1]));
  EXPECT_TRUE(Own(children[2]));
  EXPECT_TRUE(late->isEnabled());
  EXPECT_EQ(Saved(), expected);  // not cleared on enabling
}

TEST_F(PanelEnabled, DisablingTheParentLeavesThePanelsChildrenAlone) {
  window.setEnabled(false);
  EXPECT_TRUE(panel->EnabledList().empty());
  EXPECT_TRUE(Own(children[0]));
  EXPECT_FALSE(children[0]->isEnabled());
  window.setEnabled(true);
  EXPECT_TRUE(children[0]->isEnabled());
  EXPECT_FALSE(children[1]->isEnabled());
  EXPECT_TRUE(panel->EnabledList().empty());
}

TEST(GroupBox, GroupStyleTurnsThemeAwareOff) {
  struct Case {
    std::vector<TQelGroupBox::TQelGroupBoxStyle> styles;
    bool themeAware;
  };
  const Case cases[] = {
      {{TQelGroupBox::gsStandard}, true},
      {{TQelGroupBox::gsTopLine}, false},
      {{TQelGroupBox::gsCustom}, false},
      {{TQelGroupBox::gsCustom, TQelGroupBox::gsFlat}, false},
  };
  for (const Case& c : cases) {
    TQelGroupBox box;
    EXPECT_TRUE(box.ThemeAware());
    EXPECT_EQ(box.GroupStyle(), TQelGroupBox::gsFlat);
    for (auto s : c.styles) box.SetGroupStyle(s);
    EXPECT_EQ(box.ThemeAware(), c.themeAware) << "last style " << c.styles.back();
  }
}

TEST(GroupBox, DefaultsAndLegacyProperties) {
  TQelGroupBox box(QStringLiteral("Box"));
  EXPECT_EQ(box.height(), 105);
  EXPECT_EQ(box.BorderOuter(), qel::fsNone);
  EXPECT_EQ(box.Alignment(), TQelGroupBox::taLeftJustify);
  EXPECT_EQ(box.AlignmentVertical(), TQelGroupBox::avTop);
  EXPECT_EQ(box.Color(), clBtnFace);
  EXPECT_TRUE(box.applyLegacyProperty(QStringLiteral("FrameSides"), QStringLiteral("[sdLeft]")));
  TQelPanel panel;
  EXPECT_EQ(panel.BorderOuter(), qel::fsRaised);
  EXPECT_EQ(panel.Alignment(), TQelPanel::taCenter);
  EXPECT_EQ(panel.AlignmentVertical(), TQelPanel::avCenter);
  EXPECT_FALSE(panel.TabStop());
  EXPECT_TRUE(panel.testAttribute(Qt::WA_OpaquePaintEvent));
  panel.SetTransparent(true);
  EXPECT_FALSE(panel.testAttribute(Qt::WA_OpaquePaintEvent));
}

TEST(Panel, EnterAndLeaveSignals) {
  TQelPanel panel;
  std::vector<std::string> seen;
  QObject::connect(&panel, &TQelPanel::MouseEnter, [&] { seen.push_back("enter"); });
  QObject::connect(&panel, &TQelPanel::MouseLeave, [&] { seen.push_back("leave"); });
  QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
  QApplication::sendEvent(&panel, &enter);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(&panel, &leave);
  EXPECT_EQ(seen, (std::vector<std::string>{"enter", "leave"}));
}

TEST(GroupBox, AcceleratorFocusesTheFirstChildThatTakesTheFocus) {
  QWidget window;
  window.resize(300, 200);
  auto* other = new QLineEdit(&window);
  other->setGeometry(200, 10, 80, 24);
  auto* box = new TQelGroupBox(QStringLiteral("&Settings"), &window);
  box->setGeometry(10, 10, 180, 150);
  auto* label = new QWidget(box);  // takes no focus
  label->setGeometry(8, 20, 60, 20);
  auto* first = new QLineEdit(box);
  first->setGeometry(8, 44, 80, 24);
  auto* second = new QLineEdit(box);
  second->setGeometry(8, 74, 80, 24);
  ShowActive(&window);

  other->setFocus();
  QTest::keyClick(other, Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(first->hasFocus());

  other->setFocus();
  first->setEnabled(false);
  QTest::keyClick(other, Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(second->hasFocus());

  other->setFocus();
  box->setEnabled(false);
  QTest::keyClick(other, Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(other->hasFocus());

  // A new caption brings its own accelerator.
  box->setEnabled(true);
  box->SetCaption(QStringLiteral("&Other"));
  QTest::keyClick(other, Qt::Key_S, Qt::AltModifier);
  EXPECT_TRUE(other->hasFocus());
  QTest::keyClick(other, Qt::Key_O, Qt::AltModifier);
  EXPECT_TRUE(first->hasFocus() || second->hasFocus());
}

TEST(GroupBox, FrameControllerReachesOnlyTheCustomStyle) {
  TQelFrameController controller;
  controller.SetFrameVisible(true);
  controller.SetFrameStyle(qel::fsLowered);
  controller.SetFrameColor(clRed);
  controller.SetColor(clInfoBk);
  TQelGroupBox custom, flat;
  custom.SetGroupStyle(TQelGroupBox::gsCustom);
  custom.SetFrameController(&controller);
  flat.SetFrameController(&controller);
  EXPECT_EQ(custom.BorderOuter(), qel::fsLowered);
  EXPECT_EQ(custom.FlatColor(), clRed);
  EXPECT_EQ(custom.FlatColorAdjustment(), 0);
  EXPECT_EQ(custom.Color(), clInfoBk);
  EXPECT_EQ(custom.BorderHighlight(), TintColor(clInfoBk, 100));
  EXPECT_EQ(custom.BorderShadow(), ShadeColor(clInfoBk, 50));
  EXPECT_EQ(flat.BorderOuter(), qel::fsNone);
  EXPECT_EQ(flat.Color(), clBtnFace);
  EXPECT_EQ(flat.FlatColorAdjustment(), 30);
  // A panel takes it as well, and a destroyed controller unlinks itself.
  auto* owned = new TQelFrameController;
  owned->SetFrameVisible(true);
  TQelPanel panel;
  panel.SetFrameController(owned);
  EXPECT_EQ(panel.BorderOuter(), qel::fsFlat);
  delete owned;
  EXPECT_EQ(panel.FrameController(), nullptr);
}

// --- Pixels. ---

using GroupBoxPixels = WithEngine;

TEST_F(GroupBoxPixels, CutCornerFrameAndCaptionGap) {
  const TColor a = PaintRGB(AdjustColorBy(clBtnShadow, 30));
  ASSERT_EQ(a, 0x9F9F9Fu);
  TQelGroupBox box;
  box.resize(100, 50);
  qel::Canvas plain = box.Paint();
  EXPECT_EQ(plain.Pixel(0, 5), PaintRGB(clBtnFace));  // the cut corner
  EXPECT_EQ(plain.Pixel(1, 6), a);
  EXPECT_EQ(plain.Pixel(2, 5), a);
  EXPECT_EQ(plain.Pixel(0, 7), a);
  EXPECT_EQ(plain.Pixel(97, 5), a);
  EXPECT_EQ(plain.Pixel(98, 5), PaintRGB(clBtnFace));
  EXPECT_EQ(plain.Pixel(50, 49), a);
  EXPECT_EQ(plain.Pixel(20, 5), a);  // no caption, no gap

  box.SetCaption(QStringLiteral("Event Set"));  // C = (8, 0, 71, 13)
  qel::Canvas captioned = box.Paint();
  EXPECT_EQ(captioned.Pixel(7, 5), a);
  EXPECT_EQ(captioned.Pixel(8, 5), PaintRGB(clBtnFace));
  EXPECT_EQ(captioned.Pixel(70, 5), PaintRGB(clBtnFace));
  EXPECT_EQ(captioned.Pixel(71, 5), a);
}

TEST_F(GroupBoxPixels, TransparentShowsTheParentInTheCaptionGap) {
  QWidget parent;
  parent.resize(120, 60);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(ColorToQRgb(clYellow)));
  parent.setPalette(palette);
  parent.setAutoFillBackground(true);
  auto* box = new TQelGroupBox(QStringLiteral("Event Set"), &parent);
  box->setGeometry(0, 0, 100, 50);
  box->SetTransparent(true);
  const QImage shown = parent.grab().toImage();
  const TColor a = PaintRGB(AdjustColorBy(clBtnShadow, 30));
  EXPECT_EQ(QRgbToColor(shown.pixel(20, 5)), clYellow);   // in C
  EXPECT_EQ(QRgbToColor(shown.pixel(50, 20)), clYellow);  // inside the frame
  EXPECT_EQ(QRgbToColor(shown.pixel(75, 5)), a);
  EXPECT_EQ(qAlpha(box->Paint().Image().pixel(50, 20)), 0);
}

TEST(GroupBoxPixelsQtText, DisabledTransparentCaptionKeepsBothCopies) {
  TQelGroupBox box(QStringLiteral("MMMM"));
  box.resize(120, 60);
  box.SetTransparent(true);
  box.setEnabled(false);
  const TRect c = box.CaptionRect();
  ASSERT_FALSE(c.IsEmpty());
  const qel::Canvas canvas = box.Paint();
  int highlight = 0, shadow = 0;
  for (int y = c.Top; y < c.Bottom; ++y)
    for (int x = c.Left; x < c.Right; ++x) {
      if (qAlpha(canvas.Image().pixel(x, y)) == 0) continue;
      highlight += canvas.Pixel(x, y) == PaintRGB(clBtnHighlight);
      shadow += canvas.Pixel(x, y) == PaintRGB(clBtnShadow);
    }
  EXPECT_GT(highlight, 0);
  EXPECT_GT(shadow, 0);
}

// --- Captions through the text engine. ---

using PanelCaptions = WithEngine;

TEST_F(PanelCaptions, GroupBoxCaptionAndItsDisabledCopies) {
  TQelGroupBox box(QStringLiteral("Event Set"));
  box.resize(200, 80);
  std::vector<Entry> drawn = Drawn(box);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].text, QStringLiteral("Event Set"));
  EXPECT_EQ(drawn[0].place, TRect({8, 0, 71, 13}));
  EXPECT_EQ(drawn[0].color, clWindowText);
  EXPECT_TRUE(drawn[0].flags & qel::tfSingleLine);

  box.setEnabled(false);
  drawn = Drawn(box);
  ASSERT_EQ(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].place, TRect({9, 1, 72, 14}));
  EXPECT_EQ(drawn[0].color, clBtnHighlight);
  EXPECT_EQ(drawn[1].place, TRect({8, 0, 71, 13}));
  EXPECT_EQ(drawn[1].color, clBtnShadow);

  box.SetCaption({});
  EXPECT_TRUE(Drawn(box).empty());
}

TEST_F(PanelCaptions, PanelCaptionByVerticalAlignment) {
  // Inner rectangle of a raised panel 100 x 50: (2, 2, 98, 48); the text
  // rectangle starts one further right.
  struct Case {
    const char* name;
    const char* caption;
    TQelPanel::TAlignmentVertical vertical;
    TRect expected;
  };
  const Case cases[] = {
      {"top", "Panel", TQelPanel::avTop, {3, 2, 98, 48}},
      {"centre", "Panel", TQelPanel::avCenter, {3, 18, 98, 31}},
      {"bottom", "Panel", TQelPanel::avBottom, {3, 34, 98, 48}},
      // Five lines, 65 high, over 46: (2 + 48 - 65) >> 1 is -8 (not -7).
      {"centre, taller than the panel",
       "aaaaaaaaaaaa bbbbbbbbbbbb cccccccccccc dddddddddddd eeeeeeeeeeee",
       TQelPanel::avCenter,
       {3, -8, 98, 57}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelPanel panel;
    panel.resize(100, 50);
    panel.SetCaption(QString::fromLatin1(c.caption));
    panel.SetAlignmentVertical(c.vertical);
    const std::vector<Entry> drawn = Drawn(panel);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].place, c.expected);
    EXPECT_EQ(drawn[0].flags, unsigned(qel::tfCenter | qel::tfWordBreak | qel::tfExpandTabs));
  }
}

TEST_F(PanelCaptions, CustomGroupBoxPaintsAsThePanelAndSignalsAtTheEnd) {
  TQelGroupBox box(QStringLiteral("Custom"));
  box.resize(100, 50);
  box.SetGroupStyle(TQelGroupBox::gsCustom);
  box.SetAlignment(TQelGroupBox::taRightJustify);
  int painted = 0;
  QObject::connect(&box, &TQelGroupBox::Painted, [&](qel::Canvas& canvas) {
    ++painted;
    canvas.SetPixel(50, 25, clRed);  // a handler draws over the box
  });
  const std::vector<Entry> drawn = Drawn(box);
  ASSERT_EQ(drawn.size(), 1u);
  EXPECT_EQ(drawn[0].place, TRect({1, 0, 100, 50}));
  EXPECT_TRUE(drawn[0].flags & qel::tfRight);
  EXPECT_EQ(painted, 1);
  EXPECT_EQ(box.Paint().Pixel(50, 25), PaintRGB(clRed));
}

// --- The background. ---

TEST(Background, ShowCouplings) {
  struct Case {
    const char* name;
    bool showImage;
    std::vector<std::pair<char, bool>> writes;  // 't' texture, 'g' gradient
    bool texture, gradient;
  };
  const Case cases[] = {
      {"texture on turns the gradient off", false, {{'t', true}}, true, false},
      {"texture off turns it on again", false, {{'t', true}, {'t', false}}, false, true},
      {"gradient off without a picture turns the texture on", false, {{'g', false}}, true, false},
      {"gradient off with a picture leaves the texture", true, {{'g', false}}, false, false},
      {"gradient on turns the texture off", true, {{'t', true}, {'g', true}}, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelBackground b;
    b.SetShowImage(c.showImage);
    for (auto [which, v] : c.writes) which == 't' ? b.SetShowTexture(v) : b.SetShowGradient(v);
    EXPECT_EQ(b.ShowTexture(), c.texture);
    EXPECT_EQ(b.ShowGradient(), c.gradient);
  }
}

TEST(Background, ImagePlace) {
  struct Case {
    TQelBackground::TImageStyle style;
    int pw, ph, w, h;
    TRect expected;
  };
  const Case cases[] = {
      {TQelBackground::isFill, 300, 100, 200, 200, {0, 0, 200, 66}},
      {TQelBackground::isFill, 100, 300, 200, 200, {0, 0, 66, 200}},
      {TQelBackground::isFill, 0, 100, 200, 200, {}},
      {TQelBackground::isCenter, 301, 101, 100, 50, {-100, -25, 201, 76}},
      {TQelBackground::isCenter, 10, 10, 101, 51, {45, 20, 55, 30}},
      {TQelBackground::isClip, 30, 20, 100, 50, {0, 0, 30, 20}},
      {TQelBackground::isStretch, 30, 20, 100, 50, {0, 0, 100, 50}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TQelBackground::ImagePlace(c.style, c.pw, c.ph, c.w, c.h), c.expected)
        << "style " << c.style << ", " << c.pw << " x " << c.ph;
}

TEST(Background, Layers) {
  TQelBackground b;
  b.resize(40, 30);
  b.SetGradientColorStart(clBlue);
  b.SetGradientColorStop(clBlue);
  EXPECT_EQ(b.Paint().Pixel(20, 15), PaintRGB(clBlue));

  // An empty picture draws nothing.
  b.SetShowImage(true);
  EXPECT_EQ(PixelsOf(b.Paint(), clBlue).size(), 40u * 30u);

  // A stretched picture covers it; the gradient is not painted under it.
  b.SetImage(Filled(4, 4, clRed));
  b.SetImageStyle(TQelBackground::isStretch);
  EXPECT_EQ(PixelsOf(b.Paint(), clRed).size(), 40u * 30u);

  // isFill keeps the proportions at the top left, over the gradient.
  b.SetImage(Filled(80, 20, clRed));
  b.SetImageStyle(TQelBackground::isFill);
  qel::Canvas fill = b.Paint();
  EXPECT_EQ(fill.Pixel(39, 9), PaintRGB(clRed));
  EXPECT_EQ(fill.Pixel(39, 10), PaintRGB(clBlue));

  // Active off drops the gradient only: picture and texture still paint.
  b.SetActive(false);
  b.SetImageStyle(TQelBackground::isClip);
  b.SetImage(Filled(10, 10, clRed));
  qel::Canvas inactive = b.Paint();
  EXPECT_EQ(inactive.Pixel(5, 5), PaintRGB(clRed));
  EXPECT_EQ(inactive.Pixel(20, 20), PaintRGB(clWhite));
  b.SetTexture(Filled(3, 3, clLime));
  b.SetShowTexture(true);
  ASSERT_FALSE(b.ShowGradient());
  inactive = b.Paint();
  EXPECT_EQ(inactive.Pixel(5, 5), PaintRGB(clRed));
  EXPECT_EQ(inactive.Pixel(20, 20), PaintRGB(clLime));
}

TEST(Background, FrameShiftsTheLayers) {
  TQelBackground b;
  b.resize(40, 30);
  b.SetGradientColorStart(clBlue);
  b.SetGradientColorStop(clBlue);
  b.SetFrameStyle(qel::fsRaised);
  qel::Canvas raised = b.Paint();
  EXPECT_EQ(raised.Pixel(2, 2), PaintRGB(clBlue));
  EXPECT_NE(raised.Pixel(1, 1), PaintRGB(clBlue));
  EXPECT_NE(raised.Pixel(38, 28), PaintRGB(clBlue));
  b.SetFrameStyle(qel::fsFlat);
  b.SetFrameColor(clRed);
  qel::Canvas flat = b.Paint();
  EXPECT_EQ(flat.Pixel(0, 0), PaintRGB(clRed));
  EXPECT_EQ(flat.Pixel(39, 29), PaintRGB(clRed));
  EXPECT_EQ(flat.Pixel(1, 1), PaintRGB(clBlue));
}

TEST(Background, GradientColoursComparedAsRgb) {
  TQelBackground b;
  b.SetGradientColorStart(clWindow);
  EXPECT_EQ(b.GradientColorStart(), clWindow);
  b.SetGradientColorStart(clWhite);  // paints the same: kept as it was
  EXPECT_EQ(b.GradientColorStart(), clWindow);
  b.SetGradientSmoothFactor(0);
  EXPECT_EQ(b.GradientSmoothFactor(), 1);
  EXPECT_EQ(b.minimumSize(), QSize(5, 5));
}

// The main window's look: a clWindow background under transparent group
// boxes, between them and inside them.
TEST(Background, MainWindowSurfaceShowsThroughTransparentGroupBoxes) {
  QMainWindow window;
  window.resize(300, 200);
  auto* background = new TQelBackground(&window);
  background->SetFrameColor(clWindowFrame);
  background->SetGradientColorStart(clWindow);
  background->SetGradientColorStop(clWindow);
  window.setCentralWidget(background);
  for (int i = 0; i < 2; ++i) {
    auto* box = new TQelGroupBox(QStringLiteral("Box"), background);
    box->setGeometry(6 + i * 150, 4, 140, 150);
    box->SetFlatColor(clLime);
    box->SetTransparent(true);
  }
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  const QImage shown = background->grab().toImage();
  EXPECT_EQ(QRgbToColor(shown.pixel(148, 80)), PaintRGB(clWindow));  // between the boxes
  EXPECT_EQ(QRgbToColor(shown.pixel(70, 80)), PaintRGB(clWindow));   // inside one
  EXPECT_EQ(QRgbToColor(shown.pixel(6, 80)), PaintRGB(AdjustColorBy(clLime, 30)));
}

}  // namespace
