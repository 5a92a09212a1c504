#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "controls/qelbuttons.h"
#include "controls/qelcolormath.h"
#include "tests/controls/events.h"

namespace {

using qel::RecordingTextEngine;
using qel::TRect;

// A window with one button; counts its clicks.
struct OneButton : ::testing::Test {
  void SetUp() override {
    window.resize(200, 100);
    button = new TQelButton(QStringLiteral("&Go"), &window);
    button->setGeometry(10, 10, 75, 25);
    other = new QLineEdit(&window);
    other->setGeometry(100, 10, 80, 24);
    QObject::connect(button, &QPushButton::clicked, [this] { ++clicks; });
    ShowActive(&window);
  }
  QWidget window;
  TQelButton* button = nullptr;
  QLineEdit* other = nullptr;
  int clicks = 0;
};

TEST_F(OneButton, MouseTable) {
  const QPoint in(10, 10), out(200, 10);
  enum Step { Press, RightPress, MoveOut, MoveIn, ReleaseIn, ReleaseOut, RightRelease };
  struct Case {
    const char* name;
    bool enabled;
    std::vector<Step> steps;
    std::vector<bool> pressedLook;  // after each step
    int clicks;
  };
  const Case cases[] = {
      {"press and release inside", true, {Press, ReleaseIn}, {true, false}, 1},
      {"drag out and release outside", true, {Press, MoveOut, ReleaseOut}, {true, false, false}, 0},
      {"drag out and back in", true, {Press, MoveOut, MoveIn, ReleaseIn}, {true, false, true, false}, 1},
      {"right button", true, {RightPress, RightRelease}, {false, false}, 0},
      {"disabled", false, {Press, ReleaseIn}, {false, false}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks = 0;
    button->setEnabled(c.enabled);
    other->setFocus();
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      switch (c.steps[i]) {
        case Press: MousePress(button, in); break;
        case RightPress: MousePress(button, in, Qt::RightButton); break;
        case MoveOut: MouseMove(button, out, Qt::LeftButton); break;
        case MoveIn: MouseMove(button, in, Qt::LeftButton); break;
        case ReleaseIn: MouseRelease(button, in); break;
        case ReleaseOut: MouseRelease(button, out); break;
        case RightRelease: MouseRelease(button, in, Qt::RightButton); break;
      }
      EXPECT_EQ(button->ShowPressed(), c.pressedLook[i]) << "step " << i;
    }
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_FALSE(button->Pressing());
  }
  // A press takes the focus.
  button->setEnabled(true);
  other->setFocus();
  MousePress(button, in);
  EXPECT_TRUE(button->hasFocus());
  MouseRelease(button, in);
}

TEST_F(OneButton, SpaceTable) {
  struct Event {
    QEvent::Type type;
    bool autoRepeat;
  };
  const QEvent::Type down = QEvent::KeyPress, up = QEvent::KeyRelease;
  struct Case {
    const char* name;
    std::vector<Event> events;
    int clicks;
  };
  const Case cases[] = {
      {"once", {{down, false}, {up, false}}, 1},
      {"held with auto-repeat",
       {{down, false}, {up, true}, {down, true}, {up, true}, {down, true}, {up, true}, {down, true}, {up, false}},
       1},
      {"key-up without its key-down", {{up, false}}, 0},
      {"second key-up after a click", {{down, false}, {up, false}, {up, false}}, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    clicks = 0;
    button->setFocus();
    for (const Event& e : c.events) SendKey(button, e.type, Qt::Key_Space, e.autoRepeat);
    EXPECT_EQ(clicks, c.clicks);
    EXPECT_FALSE(button->ShowPressed());
  }
}

TEST_F(OneButton, FocusLostWhileSpaceIsDownEndsThePressWithoutAClick) {
  button->setFocus();
  SendKey(button, QEvent::KeyPress, Qt::Key_Space);
  EXPECT_TRUE(button->ShowPressed());
  other->setFocus();
  EXPECT_FALSE(button->ShowPressed());
  EXPECT_FALSE(button->SpaceDown());
  // The key comes up on the button later: no click.
  button->setFocus();
  SendKey(button, QEvent::KeyRelease, Qt::Key_Space);
  EXPECT_EQ(clicks, 0);
}

TEST_F(OneButton, AltAndTheCaptionLetterClicks) {
  other->setFocus();
  QTest::keyClick(other, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
  button->setEnabled(false);
  QTest::keyClick(other, Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(clicks, 1);
}

TEST_F(OneButton, EnterAndLeaveRaiseTheirSignalsAndTrackTheMouse) {
  int entered = 0, left = 0;
  QObject::connect(button, &TQelCustomButton::MouseEnter, [&] { ++entered; });
  QObject::connect(button, &TQelCustomButton::MouseLeave, [&] { ++left; });
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(button->mapToGlobal(QPoint(5, 5))));
  QApplication::sendEvent(button, &enter);
  EXPECT_TRUE(button->MouseOver());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(button, &leave);
  EXPECT_FALSE(button->MouseOver());
  EXPECT_EQ(entered, 1);
  EXPECT_EQ(left, 1);
}

// --- Dialog keys ---

enum Focus { OnEdit, OnMemo, OnOtherStyled, OnQtButton };
enum Clicked { None, DefaultButton, CancelButton, OtherStyled, QtButton, Closed };

// A window with a Default and a Cancel styled button, another styled button,
// a plain Qt button, an edit and a memo.
template <class Window>
struct KeysWindow {
  Window window;
  TQelButton* ok;
  TQelButton* cancel;
  TQelButton* otherStyled;
  QPushButton* qtButton;
  QLineEdit* edit;
  QPlainTextEdit* memo;
  std::vector<Clicked> log;

  KeysWindow() {
    QWidget* host = &window;
    if constexpr (std::is_same_v<Window, QMainWindow>) {
      host = new QWidget;
      window.setCentralWidget(host);
    }
    window.resize(320, 200);
    edit = new QLineEdit(host);
    edit->setGeometry(10, 10, 100, 24);
    memo = new QPlainTextEdit(host);
    memo->setGeometry(10, 40, 100, 60);
    qtButton = new QPushButton(QStringLiteral("Qt"), host);
    qtButton->setGeometry(120, 10, 60, 25);
    otherStyled = new TQelButton(QStringLiteral("Other"), host);
    otherStyled->setGeometry(120, 40, 75, 25);
    ok = new TQelButton(QStringLiteral("OK"), host);
    ok->setGeometry(200, 150, 75, 25);
    ok->SetDefault(true);
    cancel = new TQelButton(QStringLiteral("Cancel"), host);
    cancel->setGeometry(100, 150, 75, 25);
    cancel->SetCancel(true);
    QObject::connect(ok, &QPushButton::clicked, [this] { log.push_back(DefaultButton); });
    QObject::connect(cancel, &QPushButton::clicked, [this] { log.push_back(CancelButton); });
    QObject::connect(otherStyled, &QPushButton::clicked, [this] { log.push_back(OtherStyled); });
    QObject::connect(qtButton, &QPushButton::clicked, [this] { log.push_back(QtButton); });
  }

  QWidget* FocusOn(Focus f) {
    QWidget* w = f == OnEdit          ? static_cast<QWidget*>(edit)
                 : f == OnMemo        ? static_cast<QWidget*>(memo)
                 : f == OnOtherStyled ? static_cast<QWidget*>(otherStyled)
                                      : static_cast<QWidget*>(qtButton);
    w->setFocus();
    return w;
  }

  Clicked Press(Focus f, int key, Qt::KeyboardModifiers mods) {
    log.clear();
    ShowActive(&window);
    QWidget* target = FocusOn(f);
    EXPECT_EQ(QApplication::focusWidget(), target);
    QTest::keyClick(target, Qt::Key(key), mods);
    if (!window.isVisible()) return Closed;
    EXPECT_LE(log.size(), 1u);
    return log.empty() ? None : log.front();
  }
};

struct KeyCase {
  Focus focus;
  int key;
  Clicked inDialog, inMainWindow;
};

const KeyCase kPlainKeys[] = {
    {OnEdit, Qt::Key_Return, DefaultButton, DefaultButton},
    {OnEdit, Qt::Key_Escape, CancelButton, CancelButton},
    {OnMemo, Qt::Key_Return, None, None},  // the memo keeps Enter
    {OnMemo, Qt::Key_Escape, CancelButton, CancelButton},
    {OnOtherStyled, Qt::Key_Return, OtherStyled, OtherStyled},  // the focused button answers Enter
    {OnOtherStyled, Qt::Key_Escape, CancelButton, CancelButton},
    // A dialog's Qt buttons click themselves on Enter; focused, one takes
    // Enter from the default button in a main window too.
    {OnQtButton, Qt::Key_Return, QtButton, None},
    {OnQtButton, Qt::Key_Escape, CancelButton, CancelButton},
};

TEST(DialogKeys, EnterAndEscWithoutModifiers) {
  KeysWindow<QDialog> dialog;
  KeysWindow<QMainWindow> main;
  for (const KeyCase& c : kPlainKeys) {
    SCOPED_TRACE(testing::Message() << "focus " << c.focus << " key " << std::hex << c.key);
    EXPECT_EQ(dialog.Press(c.focus, c.key, Qt::NoModifier), c.inDialog);
    EXPECT_EQ(main.Press(c.focus, c.key, Qt::NoModifier), c.inMainWindow);
  }
  // Keypad Enter is Enter.
  EXPECT_EQ(main.Press(OnEdit, Qt::Key_Enter, Qt::KeypadModifier), DefaultButton);
}

TEST(DialogKeys, ShiftCtrlOrAltKeepEveryStyledButtonStill) {
  KeysWindow<QDialog> dialog;
  KeysWindow<QMainWindow> main;
  for (Qt::KeyboardModifier mod : {Qt::ShiftModifier, Qt::ControlModifier, Qt::AltModifier})
    for (const KeyCase& c : kPlainKeys) {
      SCOPED_TRACE(testing::Message() << "focus " << c.focus << " key " << std::hex << c.key << " mod " << mod);
      // What Qt's own widgets do with the key stays theirs.
      const Clicked qtOwn = c.inDialog == QtButton ? QtButton : None;
      EXPECT_EQ(dialog.Press(c.focus, c.key, mod), qtOwn);
      EXPECT_EQ(main.Press(c.focus, c.key, mod), None);
    }
}

TEST(DialogKeys, EscStillClosesADialogWithoutACancelButton) {
  KeysWindow<QDialog> dialog;
  dialog.cancel->SetCancel(false);
  EXPECT_EQ(dialog.Press(OnEdit, Qt::Key_Escape, Qt::NoModifier), Closed);
}

TEST(DialogKeys, HiddenOrDisabledButtonsLetTheKeyGoOn) {
  KeysWindow<QDialog> dialog;
  dialog.cancel->setEnabled(false);
  EXPECT_EQ(dialog.Press(OnEdit, Qt::Key_Escape, Qt::NoModifier), Closed);
  KeysWindow<QMainWindow> main;
  main.ok->hide();
  EXPECT_EQ(main.Press(OnEdit, Qt::Key_Return, Qt::NoModifier), None);
}

TEST(DialogKeys, ActiveDefaultFollowsTheFocus) {
  KeysWindow<QMainWindow> w;
  ShowActive(&w.window);
  w.edit->setFocus();
  EXPECT_TRUE(w.ok->ActiveDefault());
  w.otherStyled->setFocus();
  EXPECT_FALSE(w.ok->ActiveDefault());
  EXPECT_TRUE(w.otherStyled->ActiveDefault());
  w.qtButton->setFocus();
  EXPECT_FALSE(w.ok->ActiveDefault());
  EXPECT_FALSE(w.otherStyled->ActiveDefault());
  // Writing Default re-runs the tracking with the window's focus.
  w.edit->setFocus();
  w.ok->SetDefault(false);
  EXPECT_FALSE(w.ok->ActiveDefault());
}

// --- Groups and ModalResult ---

TEST(ButtonGroups, DownMovesAlongTheGroupAndStaysUnlessAllUpIsAllowed) {
  QWidget parent;
  auto* a = new TQelButton(QStringLiteral("A"), &parent);
  auto* b = new TQelButton(QStringLiteral("B"), &parent);
  a->SetGroupIndex(1);
  b->SetGroupIndex(1);
  a->SetDown(true);
  EXPECT_TRUE(a->Down());
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  b->SetDown(false);  // refused
  EXPECT_TRUE(b->Down());
  a->SetAllowAllUp(true);  // the group message copies it
  EXPECT_TRUE(b->AllowAllUp());
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
  // Outside any group Down stays False.
  auto* plain = new TQelButton(QStringLiteral("C"), &parent);
  plain->SetDown(true);
  EXPECT_FALSE(plain->Down());
}

TEST_F(OneButton, ClickingAGroupedButtonTogglesDownThroughTheGroup) {
  auto* second = new TQelButton(QStringLiteral("B"), &window);
  second->setGeometry(10, 50, 75, 25);
  second->show();
  button->SetGroupIndex(1);
  second->SetGroupIndex(1);
  MouseClick(button, {5, 5});
  EXPECT_TRUE(button->Down());
  MouseClick(second, {5, 5});
  EXPECT_TRUE(second->Down());
  EXPECT_FALSE(button->Down());
  MouseClick(second, {5, 5});
  EXPECT_TRUE(second->Down());
  second->SetAllowAllUp(true);
  MouseClick(second, {5, 5});
  EXPECT_FALSE(second->Down());
  EXPECT_EQ(clicks, 1);
}

TEST_F(OneButton, EveryClickWritesTheWindowsModalResultZeroIncluded) {
  button->SetModalResult(2);
  button->click();
  EXPECT_EQ(qel::FormModalResult(&window), 2);
  button->SetModalResult(0);
  button->click();
  EXPECT_EQ(qel::FormModalResult(&window), 0);
  EXPECT_EQ(clicks, 2);
}

TEST(ModalResult, AModalDialogClosesOnlyForANonZeroResult) {
  QDialog dialog;
  auto* stay = new TQelButton(QStringLiteral("Stay"), &dialog);
  auto* leave = new TQelButton(QStringLiteral("Leave"), &dialog);
  leave->SetModalResult(1);
  dialog.setModal(true);
  dialog.show();
  stay->click();
  EXPECT_TRUE(dialog.isVisible());
  leave->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_EQ(dialog.result(), 1);
}

// --- Painting ---

struct Painted : ::testing::Test {
  void SetUp() override { old = qel::SetTextEngine(&engine); }
  void TearDown() override { qel::SetTextEngine(old); }
  RecordingTextEngine engine;
  qel::TextEngine* old = nullptr;
};

TEST_F(Painted, TheDefaultButtonHasAWindowFrameRing) {
  QWidget parent;
  auto* b = new TQelButton(QString(), &parent);
  b->setGeometry(0, 0, 75, 25);
  b->SetDefault(true);
  auto* plain = new TQelButton(QString(), &parent);
  plain->setGeometry(0, 30, 75, 25);
  parent.show();
  ASSERT_TRUE(b->ActiveDefault());
  const TColor ring = ColorToRGB(clWindowFrame);
  const qel::Canvas withRing = b->Paint(), without = plain->Paint();
  for (auto [x, y] : {std::pair{0, 12}, {37, 0}, {74, 12}, {37, 24}}) {
    EXPECT_EQ(withRing.Pixel(x, y), ring) << x << "," << y;
    EXPECT_NE(without.Pixel(x, y), ring) << x << "," << y;
  }
}

TEST_F(Painted, ADownGroupedButtonShowsTheCheckerPattern) {
  for (auto [color, dots] : {std::pair{clBtnFace, clSilver}, {clSilver, clGray}}) {
    QWidget parent;
    auto* b = new TQelButton(QString(), &parent);
    b->setGeometry(0, 0, 75, 25);
    b->SetColor(color);
    b->SetGroupIndex(1);
    b->SetDown(true);
    const qel::Canvas c = b->Paint();
    for (int y = 8; y < 12; ++y)
      for (int x = 8; x < 12; ++x) EXPECT_EQ(c.Pixel(x, y), x % 2 == y % 2 ? dots : ColorToRGB(color)) << x << "," << y;
    b->SetShowDownPattern(false);
    EXPECT_EQ(b->Paint().Pixel(9, 9), ColorToRGB(color));
  }
}

TEST_F(Painted, TheHotTrackLookCutsItsCornersOverTheParent) {
  QWidget parent;
  parent.resize(100, 40);
  QPalette red;
  red.setColor(QPalette::Window, Qt::red);
  parent.setPalette(red);
  parent.setAutoFillBackground(true);
  auto* b = new TQelButton(QString(), &parent);
  b->setGeometry(10, 10, 75, 25);
  b->SetHotTrack(true);
  EXPECT_TRUE(b->Transparent());
  const qel::Canvas c = b->Paint();
  const TColor dark = ColorToRGB(ShadeColor(clBtnFace, 20)), frame = ColorToRGB(cl3DDkShadow);
  EXPECT_EQ(c.Pixel(0, 0), clRed);  // corner: the parent shows
  EXPECT_EQ(c.Pixel(1, 0), clRed);
  EXPECT_EQ(c.Pixel(1, 1), dark);   // the rounded corner's dot
  EXPECT_EQ(c.Pixel(2, 0), dark);   // top edge
  EXPECT_EQ(c.Pixel(1, 2), frame);  // the frame, its own corner cut
  EXPECT_EQ(c.Pixel(2, 1), frame);
  EXPECT_EQ(c.Pixel(74, 24), clRed);
}

TEST_F(Painted, CaptionCopiesByTextStyle) {
  QWidget parent;
  auto* b = new TQelButton(QStringLiteral("OK"), &parent);
  b->setGeometry(0, 0, 75, 25);
  // Face text rectangle (5, 5, 70, 20); one 13-pixel line centred in it.
  const TRect r{5, 6, 70, 19};
  auto moved = [](TRect t, int dx, int dy) { return TRect{t.Left + dx, t.Top + dy, t.Right + dx, t.Bottom + dy}; };
  struct Copy {
    TRect place;
    TColor color;
  };
  struct Case {
    const char* name;
    TQelCustomButton::TTextStyle style;
    bool light;
    TQelButton::TAlignment align;
    bool enabled;
    std::vector<Copy> copies;
  };
  const Case cases[] = {
      {"plain", TQelCustomButton::tsNormal, false, TQelButton::taCenter, true, {{r, clWindowText}}},
      {"raised",
       TQelCustomButton::tsRaised,
       false,
       TQelButton::taCenter,
       true,
       {{moved(r, 1, 1), clBtnShadow}, {moved(r, -1, -1), clBtnHighlight}, {r, clWindowText}}},
      {"raised, light",
       TQelCustomButton::tsRaised,
       true,
       TQelButton::taCenter,
       true,
       {{moved(r, -1, -1), clBtnHighlight}, {r, clWindowText}}},
      {"recessed, light",
       TQelCustomButton::tsRecessed,
       true,
       TQelButton::taCenter,
       true,
       {{moved(r, 1, 1), clBtnHighlight}, {r, clWindowText}}},
      {"shadow, right-aligned",
       TQelCustomButton::tsShadow,
       false,
       TQelButton::taRightJustify,
       true,
       {{moved(r, 0, 2), clBtnShadow}, {moved(r, -2, 0), clWindowText}}},
      {"disabled",
       TQelCustomButton::tsRaised,
       false,
       TQelButton::taCenter,
       false,
       {{moved(r, 1, 1), clBtnHighlight}, {r, clBtnShadow}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    b->SetTextStyle(c.style);
    b->SetLightTextStyle(c.light);
    b->SetAlignment(c.align);
    b->setEnabled(c.enabled);
    engine.Drawn.clear();
    b->Paint();
    ASSERT_EQ(engine.Drawn.size(), c.copies.size());
    for (std::size_t i = 0; i < c.copies.size(); ++i) {
      EXPECT_EQ(engine.Drawn[i].text, QStringLiteral("OK"));
      EXPECT_EQ(engine.Drawn[i].place, c.copies[i].place) << "copy " << i;
      EXPECT_EQ(engine.Drawn[i].color, c.copies[i].color) << "copy " << i;
    }
  }
}

TEST(ButtonLegacy, FrameFlatBecomesHotTrack) {
  TQelButton b;
  EXPECT_TRUE(b.applyLegacyProperty(QStringLiteral("FrameFlat"), true));
  EXPECT_TRUE(b.HotTrack());
  EXPECT_FALSE(b.applyLegacyProperty(QStringLiteral("Flat"), true));
}

}  // namespace
