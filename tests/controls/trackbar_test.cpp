#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <climits>
#include <cmath>
#include <set>
#include <stdexcept>
#include <vector>

#include "controls/qelcolormath.h"
#include "controls/qeltrackbars.h"
#include "tests/controls/events.h"

namespace {

using qel::TRect;

// The protected drawing steps, for recording.
struct OpenBar : TQelTrackBar {
  using TQelTrackBar::DrawTicks;
  using TQelTrackBar::TQelTrackBar;
};

struct Line {
  qel::TPoint from, to;
  bool operator==(const Line&) const = default;
};

std::vector<Line> TickLines(OpenBar& bar) {
  qel::Canvas canvas(bar.width(), bar.height());
  std::vector<qel::CanvasCall> calls;
  canvas.SetRecorder(&calls);
  bar.DrawTicks(canvas);
  std::vector<Line> lines;
  for (const qel::CanvasCall& c : calls)
    if (c.op == "LineTo") lines.push_back({c.points[0], c.points[1]});
  return lines;
}

// A window with one bar (and an edit to take the focus); counts changes,
// beeps and reported errors.
template <class Bar>
struct BarWindow : ::testing::Test {
  void SetUp() override {
    window.resize(400, 300);
    bar = new Bar(&window);
    bar->setGeometry(10, 10, 145, 41);
    other = new QLineEdit(&window);
    other->setGeometry(10, 200, 80, 24);
    QObject::connect(bar, &TQelTrackBar::valueChanged, [this](int p) { changes.push_back(p); });
    keptBeep = qel::SetBeepHook([this] { ++beeps; });
    keptError = qel::SetErrorHook([this](const QString& m) { errors << m; });
    ShowActive(&window);
  }
  void TearDown() override {
    qel::SetBeepHook(keptBeep);
    qel::SetErrorHook(keptError);
  }
  // The windows' bar: 145 x 41, tsXPBox, Max 99.
  void WindowsBar() {
    bar->SetThumbStyle(TQelTrackBar::tsXPBox);
    bar->SetMax(99);
  }
  QWidget window;
  Bar* bar = nullptr;
  QLineEdit* other = nullptr;
  std::vector<int> changes;
  int beeps = 0;
  QStringList errors;
  std::function<void()> keptBeep;
  std::function<void(const QString&)> keptError;
};

using TrackBar = BarWindow<OpenBar>;

TEST_F(TrackBar, GeometryTable) {
  struct Case {
    const char* name;
    int w, h;
    TQelTrackBar::TThumbStyle style;
    TQelTrackBar::TPointerType pointer;
    int position;
    TQelTrackBar::TOrientation orientation;
    TRect groove, thumb;
  };
  const auto H = TQelTrackBar::orHorizontal, V = TQelTrackBar::orVertical;
  const auto box = TQelTrackBar::tsXPBox, ptr = TQelTrackBar::tsPointer;
  const auto std = TQelTrackBar::ptStandard, w95 = TQelTrackBar::ptWin95;
  const Case cases[] = {
      {"xp box at 0", 145, 41, box, std, 0, H, {9, 20, 136, 28}, {4, 14, 15, 35}},
      {"xp box at 50", 145, 41, box, std, 50, H, {9, 20, 136, 28}, {67, 14, 78, 35}},
      {"xp box at Max", 145, 41, box, std, 99, H, {9, 20, 136, 28}, {130, 14, 141, 35}},
      {"vertical at 0", 41, 145, box, std, 0, V, {20, 9, 28, 136}, {14, 130, 35, 141}},
      {"vertical at Max", 41, 145, box, std, 99, V, {20, 9, 28, 136}, {14, 4, 35, 15}},
      {"standard pointer", 145, 41, ptr, std, 0, H, {9, 20, 136, 28}, {4, 12, 15, 33}},
      {"win95 pointer", 145, 41, ptr, w95, 0, H, {9, 20, 136, 28}, {4, 14, 15, 35}},
      {"vertical win95 pointer", 41, 145, ptr, w95, 0, V, {20, 9, 28, 136}, {12, 130, 33, 141}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->resize(c.w, c.h);
    bar->SetThumbStyle(c.style);
    bar->SetPointerType(c.pointer);
    bar->SetMax(99);
    bar->SetPosition(c.position);
    EXPECT_EQ(bar->Orientation(), c.orientation);
    EXPECT_EQ(bar->TrackRect(), c.groove);
    EXPECT_EQ(bar->ThumbRect(), c.thumb);
    // The vertical images are loaded with the shape.
    EXPECT_EQ(bar->ThumbImage(TQelTrackBar::tiNormal).width(), c.thumb.Width());
  }
}

TEST_F(TrackBar, PaintsGrooveAndComposedThumb) {
  WindowsBar();
  bar->SetColor(RGB(0x30, 0x60, 0x90));
  const qel::Canvas c = bar->Paint();
  // fsStatus groove, TrackColor inside.
  EXPECT_EQ(c.Pixel(20, 20), PaintRGB(clBtnShadow));
  EXPECT_EQ(c.Pixel(20, 27), PaintRGB(clBtnHighlight));
  EXPECT_EQ(c.Pixel(20, 24), PaintRGB(cl3DLight));
  // The thumb's rounded corner shows the background; its edge is drawn.
  EXPECT_EQ(c.Pixel(4, 14), RGB(0x30, 0x60, 0x90));
  EXPECT_EQ(c.Pixel(4, 15), QRgbToColor(bar->ThumbImage(TQelTrackBar::tiNormal).pixel(0, 1)));
  EXPECT_FALSE(bar->ImageStale());
}

TEST_F(TrackBar, TickTable) {
  bar->resize(200, 35);
  const std::vector<int> everyValue = {9, 27, 45, 63, 81, 99, 117, 135, 153, 171, 190};
  struct Case {
    const char* name;
    TQelTrackBar::TThumbStyle style;
    TQelTrackBar::TPointerType pointer;
    int step;
    bool top, bottom;
    std::vector<int> xs;
  };
  const Case cases[] = {
      {"standard pointer: top", TQelTrackBar::tsPointer, TQelTrackBar::ptStandard, 1, true, false, everyValue},
      {"win95 pointer: bottom", TQelTrackBar::tsPointer, TQelTrackBar::ptWin95, 1, false, true, everyValue},
      {"box: both", TQelTrackBar::tsBox, TQelTrackBar::ptStandard, 1, true, true, everyValue},
      {"xp pointer: top", TQelTrackBar::tsXPPointer, TQelTrackBar::ptStandard, 1, true, false, everyValue},
      {"step 5", TQelTrackBar::tsPointer, TQelTrackBar::ptStandard, 5, true, false, {9, 99, 190}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->SetThumbStyle(c.style);
    bar->SetPointerType(c.pointer);
    bar->SetTickStep(c.step);
    std::vector<Line> expected;
    for (int x : c.xs) {
      if (c.top) expected.push_back({{x, 4}, {x, 10}});
      if (c.bottom) expected.push_back({{x, 25}, {x, 31}});
    }
    EXPECT_EQ(TickLines(*bar), expected);
  }
  // Lines without their end point, in TickColor.
  bar->SetThumbStyle(TQelTrackBar::tsPointer);
  bar->SetTickStep(1);
  const qel::Canvas c = bar->Paint();
  for (int y = 3; y <= 10; ++y) EXPECT_EQ(c.Pixel(27, y) == PaintRGB(clBtnShadow), y >= 4 && y <= 9) << y;
  // Vertical: left only for pointers.
  bar->resize(35, 200);
  const std::vector<Line> lines = TickLines(*bar);
  ASSERT_EQ(lines.size(), 11u);
  EXPECT_EQ(lines.front(), (Line{{4, 190}, {10, 190}}));
  EXPECT_EQ(lines.back(), (Line{{4, 9}, {10, 9}}));
}

TEST_F(TrackBar, OwnerDrawnTicks) {
  bar->resize(200, 35);
  bar->SetTickStyle(TQelTrackBar::tkOwnerDraw);
  EXPECT_TRUE(TickLines(*bar).empty());
  std::vector<std::pair<qel::TPoint, int>> drawn;
  bar->OnDrawTick = [&](TQelTrackBar*, qel::Canvas&, qel::TPoint at, int index) { drawn.push_back({at, index}); };
  TickLines(*bar);
  ASSERT_EQ(drawn.size(), 11u);
  EXPECT_EQ(drawn[1], std::make_pair(qel::TPoint{27, 0}, 1));
  EXPECT_EQ(drawn[10], std::make_pair(qel::TPoint{190, 0}, 10));
}

// Ranges as wide as an int allows: the loops end and the thumb lands.
TEST_F(TrackBar, WideRanges) {
  WindowsBar();
  bar->setRange(INT_MIN, INT_MAX);
  EXPECT_EQ(bar->ThumbRect().Left, 67);
  bar->SetPosition(INT_MAX);
  EXPECT_EQ(bar->ThumbRect().Left, 130);
  bar->SetPosition(INT_MIN);
  EXPECT_EQ(bar->ThumbRect().Left, 4);

  // Standard ticks: one line per place, never one per value.
  const std::vector<Line> lines = TickLines(*bar);
  ASSERT_FALSE(lines.empty());
  EXPECT_LE(lines.size(), 2u * 127u);
  std::set<int> xs;
  for (const Line& l : lines) xs.insert(l.from.X);
  EXPECT_EQ(xs.size() * 2, lines.size());
  EXPECT_EQ(*xs.begin(), 9);
  EXPECT_EQ(*xs.rbegin(), 9 + int(std::trunc(4294967295.0 * (126.0 / 4294967295.0))));

  // Owner-drawn: every multiple of TickStep, counted past INT_MAX.
  std::vector<int> indexes;
  bar->SetTickStyle(TQelTrackBar::tkOwnerDraw);
  bar->OnDrawTick = [&](TQelTrackBar*, qel::Canvas&, qel::TPoint, int index) { indexes.push_back(index); };
  bar->SetTickStep(1 << 30);
  TickLines(*bar);
  EXPECT_EQ(indexes, (std::vector<int>{INT_MIN, -(1 << 30), 0, 1 << 30}));
  indexes.clear();
  bar->setRange(INT_MAX - 3, INT_MAX);
  bar->SetTickStep(1);
  TickLines(*bar);
  EXPECT_EQ(indexes, (std::vector<int>{INT_MAX - 3, INT_MAX - 2, INT_MAX - 1, INT_MAX}));

  // Position + PageSize past INT_MAX is clamped, with its change.
  bar->SetPageSize(10);
  bar->SetPosition(INT_MAX - 2);
  changes.clear();
  PressKey(bar, Qt::Key_PageUp);
  EXPECT_EQ(bar->Position(), INT_MAX);
  EXPECT_EQ(changes, std::vector<int>{INT_MAX});

  // A drag over the whole range reaches both ends exactly.
  bar->setRange(INT_MIN, INT_MAX);
  bar->SetPosition(0);
  const TRect t = bar->ThumbRect();
  MousePress(bar, {t.Left + 5, 24});
  MouseMove(bar, {500, 24}, Qt::LeftButton);
  EXPECT_EQ(bar->Position(), INT_MAX);
  MouseMove(bar, {-500, 24}, Qt::LeftButton);
  EXPECT_EQ(bar->Position(), INT_MIN);
  MouseRelease(bar, {-500, 24});
}

// Standard ticks at each place once draw what a line per value would.
TEST_F(TrackBar, TicksOncePerPlaceMatchEveryValue) {
  bar->resize(200, 35);
  for (int max : {7, 181, 1000, 99999})
    for (int step : {1, 3, 250}) {
      SCOPED_TRACE(testing::Message() << "max " << max << " step " << step);
      bar->setRange(-37, max);
      bar->SetTickStep(step);
      const double scale = 181.0 / (max + 37.0);
      std::set<int> expected;
      for (long long v = -37; v <= max; ++v)
        if (v % step == 0) expected.insert(int(std::trunc((v + 37) * scale)) + 9);
      std::set<int> xs;
      for (const Line& l : TickLines(*bar)) xs.insert(l.from.X);
      EXPECT_EQ(xs, expected);
    }
}

TEST_F(TrackBar, WriterTable) {
  // Max and Min never meet; Position follows through its writer.
  bar->SetPosition(8);
  changes.clear();
  bar->SetMax(0);
  EXPECT_EQ(bar->Max(), 1);
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(changes, std::vector<int>{1});
  bar->SetMax(10);
  bar->SetMin(10);
  EXPECT_EQ(bar->Min(), 9);
  EXPECT_EQ(bar->Position(), 9);
  bar->SetMin(50);
  EXPECT_EQ(bar->Min(), 9);
  // setRange ends as asked from either side.
  bar->setRange(20, 30);
  EXPECT_EQ(std::make_pair(bar->minimum(), bar->maximum()), std::make_pair(20, 30));
  bar->setRange(-30, -20);
  EXPECT_EQ(std::make_pair(bar->minimum(), bar->maximum()), std::make_pair(-30, -20));
  EXPECT_EQ(bar->value(), -20);

  bar->SetTrackWidth(3);
  EXPECT_EQ(bar->TrackWidth(), 4);
  bar->SetTickStep(0);
  bar->SetTickStep(-3);
  EXPECT_EQ(bar->TickStep(), 1);

  bar->SetThumbStyle(TQelTrackBar::tsMixer);
  EXPECT_EQ(bar->TrackWidth(), 6);
  bar->SetThumbStyle(TQelTrackBar::tsBox);
  EXPECT_EQ(bar->TrackWidth(), 8);
  bar->SetTrackWidth(12);
  bar->beginLoad();
  bar->SetThumbStyle(TQelTrackBar::tsFlat);
  bar->finishLoad();
  EXPECT_EQ(bar->TrackWidth(), 12);
  EXPECT_EQ(bar->ThumbLength(), 10);
}

TEST_F(TrackBar, HighlightPlusOneMovesOnlyRed) {
  struct Case {
    TColor highlight, expected;
  };
  const Case cases[] = {
      {clHighlight, RGB(0x0B, 0x24, 0x6A)}, {clRed, RGB(0xFE, 0, 0)}, {clWhite, RGB(0xFE, 0xFF, 0xFF)}};
  for (const Case& c : cases) {
    bar->SetHighlightColor(c.highlight);
    EXPECT_EQ(bar->KeyColorReplacement(clBlue), c.expected);
    // The colour table of the images carries it.
    EXPECT_EQ(bar->ThumbImage(TQelTrackBar::tiNormal).color(12), ColorToQRgb(c.expected));
  }
}

TEST_F(TrackBar, WritePositionTable) {
  WindowsBar();
  bool refuse = false;
  std::vector<int> asked;
  bar->OnChanging = [&](TQelTrackBar*, int newPos, bool& allow) {
    asked.push_back(newPos);
    allow = !refuse;
  };
  struct Case {
    const char* name;
    int from, write;
    bool refuse;
    std::vector<int> asked, changes;
    int position;
  };
  const Case cases[] = {
      {"equal", 40, 40, false, {}, {}, 40},
      {"clamped", 40, 150, false, {99}, {99}, 99},
      {"clamped to the position it had", 99, 149, false, {99}, {99}, 99},
      {"refused", 40, 60, true, {60}, {}, 40},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    refuse = false;
    bar->SetPosition(c.from);
    asked.clear();
    changes.clear();
    refuse = c.refuse;
    bar->setValue(c.write);
    EXPECT_EQ(asked, c.asked);
    EXPECT_EQ(changes, c.changes);
    EXPECT_EQ(bar->value(), c.position);
  }
}

TEST_F(TrackBar, KeyTable) {
  WindowsBar();
  bar->SetPageSize(10);
  bar->setFocus();
  struct Case {
    const char* name;
    bool vertical;
    int from, key;
    Qt::KeyboardModifiers modifiers;
    int to;
    bool taken;
  };
  const Qt::KeyboardModifiers none = Qt::NoModifier, pad = Qt::KeypadModifier;
  const Case cases[] = {
      {"page up", false, 50, Qt::Key_PageUp, none, 60, true},
      {"page down", false, 50, Qt::Key_PageDown, none, 40, true},
      {"page down at 5", false, 5, Qt::Key_PageDown, none, 0, true},
      {"end", false, 50, Qt::Key_End, none, 99, true},
      {"home", false, 50, Qt::Key_Home, none, 0, true},
      {"left", false, 50, Qt::Key_Left, none, 49, true},
      {"down", false, 50, Qt::Key_Down, none, 49, true},
      {"left at Min", false, 0, Qt::Key_Left, none, 0, true},
      {"right", false, 50, Qt::Key_Right, none, 51, true},
      {"up at Max", false, 99, Qt::Key_Up, none, 99, true},
      {"keypad minus", false, 50, Qt::Key_Minus, pad, 49, true},
      {"keypad plus", false, 50, Qt::Key_Plus, pad, 51, true},
      {"minus", false, 50, Qt::Key_Minus, none, 50, false},
      {"letter", false, 50, Qt::Key_A, none, 50, false},
      {"vertical end", true, 50, Qt::Key_End, none, 0, true},
      {"vertical home", true, 50, Qt::Key_Home, none, 99, true},
      {"vertical up", true, 50, Qt::Key_Up, none, 51, true},
      {"vertical page up", true, 50, Qt::Key_PageUp, none, 60, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->resize(c.vertical ? 41 : 145, c.vertical ? 145 : 41);
    bar->SetPosition(c.from);
    EXPECT_EQ(PressKey(bar, c.key, c.modifiers), c.taken);
    EXPECT_EQ(bar->Position(), c.to);
  }
}

TEST_F(TrackBar, TabOnEnter) {
  bar->setFocus();
  PressKey(bar, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_TRUE(bar->hasFocus());
  bar->SetTabOnEnter(true);
  EXPECT_TRUE(PressKey(bar, Qt::Key_Enter, Qt::KeypadModifier));
  EXPECT_TRUE(bar->hasFocus());  // the Tab is posted
  QCoreApplication::processEvents();
  EXPECT_TRUE(other->hasFocus());
}

TEST_F(TrackBar, PagingToTheRightEndsInADrag) {
  WindowsBar();
  bar->SetPageSize(10);
  other->setFocus();
  MousePress(bar, {110, 24});
  EXPECT_TRUE(bar->hasFocus());
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_TRUE(bar->Paging());
  EXPECT_TRUE(bar->PagingTimer()->isActive());
  EXPECT_EQ(bar->PagingTimer()->interval(), 200);
  for (int p = 20; p <= 80; p += 10) {
    bar->PagingTick();
    EXPECT_EQ(bar->Position(), p);
    EXPECT_EQ(bar->PagingTimer()->interval(), 100);
  }
  // The thumb now lies under the pointer.
  bar->PagingTick();
  EXPECT_EQ(bar->Position(), 80);
  EXPECT_TRUE(bar->Dragging());
  EXPECT_FALSE(bar->Paging());
  EXPECT_FALSE(bar->PagingTimer()->isActive());
  EXPECT_EQ(bar->GrabOffset(), (qel::TPoint{0, 0}));
  MouseRelease(bar, {110, 24});
  EXPECT_FALSE(bar->Dragging());
  EXPECT_FALSE(bar->MouseCaptured());
}

TEST_F(TrackBar, PagingStopsOnceTheThumbPassesThePointer) {
  WindowsBar();
  bar->SetPageSize(10);
  MousePress(bar, {28, 24});
  EXPECT_EQ(bar->Position(), 10);
  bar->PagingTick();
  EXPECT_EQ(bar->Position(), 20);
  bar->PagingTick();
  EXPECT_EQ(bar->Position(), 20);
  EXPECT_FALSE(bar->Paging());
  EXPECT_FALSE(bar->PagingTimer()->isActive());
  EXPECT_EQ(bar->PagingTimer()->interval(), 200);
  MouseRelease(bar, {28, 24});
  // After the release a tick does nothing.
  bar->PagingTick();
  EXPECT_EQ(bar->Position(), 20);
}

TEST_F(TrackBar, VerticalPagingDirection) {
  bar->resize(41, 145);
  bar->SetThumbStyle(TQelTrackBar::tsXPBox);
  bar->setRange(5, 15);
  bar->SetPosition(10);
  ASSERT_EQ(bar->ThumbRect(), (TRect{14, 67, 35, 78}));
  MousePress(bar, {24, 66});
  EXPECT_EQ(bar->Position(), 11);
  MouseRelease(bar, {24, 66});
  bar->SetPosition(10);
  MousePress(bar, {24, 78});
  EXPECT_EQ(bar->Position(), 9);
  MouseRelease(bar, {24, 78});
  // Outside the groove and the thumb a press only takes the focus.
  MousePress(bar, {5, 100});
  EXPECT_EQ(bar->Position(), 9);
  EXPECT_FALSE(bar->Paging());
  MouseRelease(bar, {5, 100});
}

TEST_F(TrackBar, PagingErrorStopsTheTimerAndIsReported) {
  WindowsBar();
  bar->SetPageSize(10);
  bar->OnChanging = [](TQelTrackBar*, int newPos, bool&) {
    if (newPos == 20) throw std::runtime_error("no 20");
  };
  MousePress(bar, {110, 24});
  bar->PagingTick();
  EXPECT_EQ(bar->Position(), 10);
  EXPECT_FALSE(bar->PagingTimer()->isActive());
  EXPECT_EQ(bar->PagingTimer()->interval(), 200);
  EXPECT_EQ(errors, QStringList{QStringLiteral("no 20")});
  MouseRelease(bar, {110, 24});
}

TEST_F(TrackBar, Drag) {
  WindowsBar();
  MousePress(bar, {9, 24});
  EXPECT_TRUE(bar->Dragging());
  std::vector<int> seen;
  for (int x : {72, 136, 200, 0}) {
    MouseMove(bar, {x, 24}, Qt::LeftButton);
    seen.push_back(bar->Position());
  }
  EXPECT_EQ(seen, (std::vector<int>{49, 99, 99, 0}));
  MouseRelease(bar, {0, 24});
  EXPECT_FALSE(bar->Dragging());

  // Hot and the drag cursor follow the pointer over the thumb.
  const auto hover = [&](int x) { MouseMove(bar, {x, 24}); };
  QEvent leave(QEvent::Leave);
  hover(9);
  EXPECT_TRUE(bar->Hot());
  EXPECT_EQ(bar->cursor().shape(), Qt::SizeHorCursor);
  hover(60);
  EXPECT_FALSE(bar->Hot());
  EXPECT_EQ(bar->cursor().shape(), Qt::ArrowCursor);
  hover(9);
  QApplication::sendEvent(bar, &leave);
  EXPECT_FALSE(bar->Hot());
  // Leaving while dragging keeps the hot look until the release.
  hover(9);
  MousePress(bar, {9, 24});
  QApplication::sendEvent(bar, &leave);
  EXPECT_TRUE(bar->Hot());
  MouseRelease(bar, {9, 24});
  EXPECT_FALSE(bar->Hot());
  // A right press takes the focus and nothing else.
  other->setFocus();
  MousePress(bar, {9, 24}, Qt::RightButton);
  EXPECT_TRUE(bar->hasFocus());
  EXPECT_FALSE(bar->Dragging());
  MouseRelease(bar, {9, 24}, Qt::RightButton);
}

// A groove of length 0 or less maps no pointer place to a value.
TEST_F(TrackBar, DragOnAGrooveOfNoLength) {
  bar->SetThumbStyle(TQelTrackBar::tsXPBox);
  bar->SetTrackOffset(6);
  for (const QSize size : {QSize(18, 18), QSize(17, 17), QSize(17, 18)}) {
    SCOPED_TRACE(testing::Message() << size.width() << " x " << size.height());
    bar->resize(size);
    bar->SetPosition(0);
    changes.clear();
    const TRect t = bar->ThumbRect();
    MousePress(bar, {t.Left + 1, t.Top + 1});
    ASSERT_TRUE(bar->Dragging());
    ASSERT_LE(bar->Orientation() == TQelTrackBar::orHorizontal ? bar->TrackRect().Width() : bar->TrackRect().Height(),
              0);
    for (int p : {-40, 0, 9, 30, 400}) MouseMove(bar, {p, p}, Qt::LeftButton);
    EXPECT_EQ(bar->Position(), 0);
    EXPECT_TRUE(changes.empty());
    MouseRelease(bar, {0, 0});
  }
}

// A custom thumb: background AND mask, OR the face, pixel for pixel.
TEST_F(TrackBar, CustomThumbComposesExactly) {
  const int w = 7, h = 9;
  QImage strip(3 * w, h, QImage::Format_RGB32);
  const auto face = [](int part, int x, int y) {
    return part == 0 ? qRgb(40 * x, 20 * y, 0x80) : qRgb(0x10, 30 * x, 25 * y);
  };
  const auto mask = [](int x, int y) { return (x + y) % 3 == 0 ? qRgb(255, 255, 255) : qRgb(0, 0, 0); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      strip.setPixel(x, y, face(0, x, y));
      strip.setPixel(w + x, y, mask(x, y));
      strip.setPixel(2 * w + x, y, face(2, x, y));
    }
  bar->SetColor(RGB(0x5A, 0xC3, 0x3C));
  bar->SetTrackColor(RGB(0x5A, 0xC3, 0x3C));
  bar->SetTrackFrame(qel::fsNone);
  bar->SetShowTicks(false);
  bar->SetCustomThumb(strip);
  EXPECT_EQ(bar->ThumbStyle(), TQelTrackBar::tsCustom);
  EXPECT_EQ(bar->ThumbLength(), w);
  bar->SetPosition(3);
  const TRect r = bar->ThumbRect();
  const auto check = [&](int part) {
    const qel::Canvas c = bar->Paint();
    const QRgb ground = ColorToQRgb(RGB(0x5A, 0xC3, 0x3C));
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        ASSERT_EQ(ColorToQRgb(c.Pixel(r.Left + x, r.Top + y)), (ground & mask(x, y)) | face(part, x, y))
            << x << "," << y;
  };
  check(0);
  MouseMove(bar, {r.Left + 1, r.Top + 1});
  ASSERT_TRUE(bar->Hot());
  check(0);
  bar->setEnabled(false);
  bar->SetTrackColor(clBtnFace);
  bar->SetColor(clBtnFace);
  const QRgb ground = ColorToQRgb(clBtnFace);
  const qel::Canvas c = bar->Paint();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      ASSERT_EQ(ColorToQRgb(c.Pixel(r.Left + x, r.Top + y)), (ground & mask(x, y)) | face(2, x, y));
}

TEST(TrackBarPixels, TransparentShowsTheParent) {
  QWidget parent;
  parent.resize(200, 80);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor(0x30, 0x80, 0x50));
  parent.setPalette(palette);
  parent.setAutoFillBackground(true);
  auto* bar = new TQelTrackBar(&parent);
  bar->setGeometry(20, 10, 145, 41);
  bar->SetColor(clRed);
  bar->SetThumbStyle(TQelTrackBar::tsXPBox);
  bar->SetTickStyle(TQelTrackBar::tkOwnerDraw);
  bar->SetTransparent(true);
  EXPECT_FALSE(bar->testAttribute(Qt::WA_OpaquePaintEvent));
  parent.show();
  const qel::Canvas c = bar->Paint();
  const TRect groove = bar->TrackRect(), thumb = bar->ThumbRect();
  const auto inside = [](const TRect& r, int x, int y) {
    return x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom;
  };
  int outside = 0;
  for (int y = 0; y < bar->height(); ++y)
    for (int x = 0; x < bar->width(); ++x)
      if (!inside(groove, x, y) && !inside(thumb, x, y)) {
        ++outside;
        ASSERT_EQ(c.Pixel(x, y), RGB(0x30, 0x80, 0x50)) << x << "," << y;
      }
  EXPECT_GT(outside, 0);
  EXPECT_EQ(c.Pixel(thumb.Left, thumb.Top), RGB(0x30, 0x80, 0x50));  // the thumb's corner
}

// --- The data-aware bar ---

struct FakeField : TQelField {
  QString text;
  QString EditText() const override { return text; }
  void SetEditText(const QString& t) override { text = t; }
};

struct FakeLink : TQelFieldDataLink {
  FakeField* field = nullptr;
  bool editing = false;
  bool failUpdate = false;
  int edits = 0, resets = 0, updates = 0;
  TQelField* Field() const override { return field; }
  bool Editing() const override { return editing; }
  bool Edit() override {
    ++edits;
    editing = !ReadOnly();
    return editing;
  }
  void Reset() override {
    ++resets;
    TQelFieldDataLink::Reset();
  }
  void UpdateRecord() override {
    ++updates;
    if (failUpdate) throw std::runtime_error("Field 'Count' must have a value");
    TQelFieldDataLink::UpdateRecord();
  }
};

struct DBTrackBar : BarWindow<TQelDBTrackBar> {
  void SetUp() override {
    BarWindow::SetUp();
    WindowsBar();
    auto owned = std::make_unique<FakeLink>();
    link = owned.get();
    link->field = &field;
    bar->SetDataLink(std::move(owned));
  }
  FakeField field;
  FakeLink* link = nullptr;
};

TEST_F(DBTrackBar, PositionToValue) {
  EXPECT_EQ(bar->PositionToValue(42), "42");
  EXPECT_EQ(bar->PositionToValue(100), "");
  EXPECT_EQ(bar->PositionToValue(-1), "");
  bar->SetValues({QStringLiteral("a"), QString(), QStringLiteral("c")});
  EXPECT_EQ(bar->PositionToValue(0), "a");
  EXPECT_EQ(bar->PositionToValue(1), "1");
  EXPECT_EQ(bar->PositionToValue(2), "c");
  EXPECT_EQ(bar->PositionToValue(3), "");
  // Below 0 the entries are never read.
  bar->SetMin(-10);
  EXPECT_EQ(bar->PositionToValue(-1), "-1");
  EXPECT_EQ(bar->PositionToValue(-10), "-10");
  EXPECT_EQ(bar->PositionToValue(-11), "");
}

TEST_F(DBTrackBar, ValuesSetTheRange) {
  struct Case {
    const char* name;
    int fromMin, fromMax;
    QStringList values;
    int max;
  };
  const Case cases[] = {
      {"none", 0, 99, {}, 1},
      {"one", 0, 99, {QStringLiteral("x")}, 1},
      {"three", 0, 99, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 2},
      {"three from below 0", -10, -5, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 2},
      {"none from below 0", -10, -5, {}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bar->setRange(c.fromMin, c.fromMax);
    bar->SetValues(c.values);
    EXPECT_EQ(bar->Min(), 0);
    EXPECT_EQ(bar->Max(), c.max);
    EXPECT_GE(bar->Position(), 0);
    EXPECT_LE(bar->Position(), c.max);
  }
  for (const char* v : {"d", "e", "f"}) bar->Values().Add(QString::fromLatin1(v));
  EXPECT_EQ(bar->Max(), 2);
  bar->Values().Insert(0, QStringLiteral("z"));
  EXPECT_EQ(bar->Max(), 3);
  bar->Values().Delete(3);
  EXPECT_EQ(bar->Max(), 2);
  EXPECT_THROW(bar->Values().Delete(9), std::out_of_range);
  bar->Values().Clear();
  EXPECT_EQ(std::make_pair(bar->Min(), bar->Max()), std::make_pair(0, 1));
}

TEST_F(DBTrackBar, FieldAndUserPaths) {
  // The field moves the thumb to the first position with its text.
  bar->SetValues({QStringLiteral("low"), QStringLiteral("mid"), QStringLiteral("high"), QStringLiteral("mid")});
  field.text = QStringLiteral("mid");
  link->OnDataChange();
  EXPECT_EQ(bar->Position(), 1);
  field.text = QStringLiteral("2");  // "high" stands at 2
  link->OnDataChange();
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(bar->ValueText(), "2");
  bar->Values().Clear();
  bar->SetMax(99);
  field.text = QStringLiteral("42");
  link->OnDataChange();
  EXPECT_EQ(bar->Position(), 42);
  field.text = QStringLiteral("042");  // no position's text
  link->OnDataChange();
  EXPECT_EQ(bar->Position(), 42);

  // A key puts the record into editing; leaving writes the text back.
  bar->setFocus();
  PressKey(bar, Qt::Key_Right);
  EXPECT_EQ(bar->Position(), 43);
  EXPECT_EQ(link->edits, 1);
  EXPECT_TRUE(link->IsModified());
  EXPECT_EQ(bar->ValueText(), "43");
  other->setFocus();
  EXPECT_EQ(link->updates, 1);
  EXPECT_EQ(field.text, "43");

  // Escape shows the field's value again.
  bar->setFocus();
  PressKey(bar, Qt::Key_Right);
  EXPECT_EQ(bar->Position(), 44);
  PressKey(bar, Qt::Key_Escape);
  EXPECT_EQ(link->resets, 1);
  EXPECT_EQ(bar->Position(), 43);
  EXPECT_FALSE(link->IsModified());
}

TEST_F(DBTrackBar, FailedUpdateKeepsTheFocus) {
  bar->setFocus();
  PressKey(bar, Qt::Key_Right);
  link->failUpdate = true;
  other->setFocus();
  EXPECT_EQ(link->updates, 1);
  QCoreApplication::processEvents();
  EXPECT_TRUE(bar->hasFocus());
  EXPECT_EQ(errors, QStringList{QStringLiteral("Field 'Count' must have a value")});
}

TEST_F(DBTrackBar, ReadOnlyBeepsAndStays) {
  bar->SetReadOnly(true);
  bar->SetPageSize(10);
  bar->SetPosition(50);
  bar->setFocus();
  for (int key : {Qt::Key_PageUp, Qt::Key_Left, Qt::Key_Home, Qt::Key_A}) PressKey(bar, key);
  EXPECT_EQ(beeps, 4);
  MousePress(bar, {20, 24});
  bar->PagingTick();
  bar->PagingTick();
  MouseRelease(bar, {20, 24});
  EXPECT_EQ(beeps, 7);
  MousePress(bar, {bar->ThumbRect().Left + 2, 24});
  MouseMove(bar, {10, 24}, Qt::LeftButton);
  MouseRelease(bar, {10, 24});
  EXPECT_EQ(beeps, 8);
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_EQ(link->edits, 0);
}

TEST_F(DBTrackBar, UnboundBarIsAPlainSlider) {
  bar->SetDataLink(nullptr);
  EXPECT_EQ(bar->LinkedField(), nullptr);
  bar->setFocus();
  PressKey(bar, Qt::Key_End);
  EXPECT_EQ(bar->Position(), 99);
  EXPECT_EQ(bar->ValueText(), "99");
  PressKey(bar, Qt::Key_Escape);
  EXPECT_EQ(bar->Position(), 99);
  auto* source = new TQelDataSource;
  bar->SetDataSource(source);
  EXPECT_EQ(bar->DataSource(), source);
  delete source;
  EXPECT_EQ(bar->DataSource(), nullptr);
  EXPECT_EQ(beeps, 0);
}

TEST(TrackValueList, ClearLeavesABarBeingDestroyedAlone) {
  TQelTrackValueList detached;
  detached.Add(QStringLiteral("a"));
  detached.Clear();
  EXPECT_EQ(detached.Count(), 0);
  auto* bar = new TQelDBTrackBar;
  bar->SetValues({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  bar->SetPosition(2);
  bar->Values().Clear();
  EXPECT_EQ(bar->Position(), 1);
  bar->SetValues({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  bar->SetPosition(2);
  int changes = 0;
  QObject::connect(bar, &TQelTrackBar::valueChanged, [&] { ++changes; });
  delete bar;  // its entries go without moving it
  EXPECT_EQ(changes, 0);
}

}  // namespace
