#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <string>
#include <vector>

#include "controls/qeledits.h"
#include "tests/controls/events.h"

namespace {

TColor At(const QImage& image, int x, int y) { return QRgbToColor(image.pixel(x, y)); }

// A control in a window, followed in the tab order by a plain edit.
template <class Control>
struct InWindow {
  InWindow() {
    window.resize(300, 200);
    control = new Control(&window);
    control->setGeometry(10, 10, 150, 80);
    next = new QLineEdit(&window);
    next->setGeometry(10, 120, 100, 24);
    ShowActive(&window);
    control->setFocus();
  }
  QWidget window;
  Control* control = nullptr;
  QLineEdit* next = nullptr;
};

TEST(Edit, TextIsWrittenAndReadWhole) {
  TQelEdit edit;
  QSignalSpy changed(&edit, &QLineEdit::textChanged);
  edit.setText(QStringLiteral("12"));
  EXPECT_EQ(edit.text(), QStringLiteral("12"));
  EXPECT_EQ(changed.count(), 1);  // program writes are changes too
  EXPECT_EQ(edit.MaxLength(), 0);

  // Beyond QLineEdit's default limit of 32767.
  const QString long40k(40000, QLatin1Char('7'));
  edit.setText(long40k);
  EXPECT_EQ(edit.text(), long40k);

  // A limit the window sets still holds, for writes and typing.
  edit.setMaxLength(4);
  EXPECT_EQ(edit.MaxLength(), 4);
  edit.setText(QStringLiteral("123456"));
  EXPECT_EQ(edit.text(), QStringLiteral("1234"));
  edit.SetMaxLength(0);
  edit.setText(long40k);
  EXPECT_EQ(edit.text().size(), 40000);
}

TEST(Edit, ADirectCentringLastsUntilTheEditIsReapplied) {
  struct Case {
    const char* name;
    void (*write)(TQelEdit&);
    Qt::Alignment after;
  };
  const Case cases[] = {
      {"text and enabling keep it",
       [](TQelEdit& e) {
         e.setText(QStringLiteral("3000"));
         e.setEnabled(false);
         e.setEnabled(true);
         e.SetColor(clInfoBk);
       },
       Qt::AlignCenter},
      {"Alignment", [](TQelEdit& e) { e.SetAlignment(TQelCustomEdit::taRightJustify); },
       Qt::AlignRight | Qt::AlignVCenter},
      {"FrameVisible", [](TQelEdit& e) { e.SetFrameVisible(true); }, Qt::AlignLeft | Qt::AlignVCenter},
      {"DropButtonShown", [](TQelEdit& e) { e.SetDropButtonShown(true); }, Qt::AlignLeft | Qt::AlignVCenter},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelEdit edit;
    edit.setAlignment(Qt::AlignCenter);
    c.write(edit);
    EXPECT_EQ(edit.alignment(), c.after);
  }
}

TEST(Edit, KeepsTheInputMaskOfQLineEdit) {
  InWindow<TQelEdit> w;
  w.control->setInputMask(QStringLiteral("000.000.000.000;_"));
  w.control->setCursorPosition(0);
  QTest::keyClicks(w.control, QStringLiteral("192168001x001"));
  EXPECT_EQ(w.control->text(), QStringLiteral("192.168.001.001"));
}

TEST(Edit, DropButton) {
  InWindow<TQelEdit> w;
  TQelEdit& edit = *w.control;
  edit.resize(120, 24);
  std::vector<std::string> events;
  QObject::connect(&edit, &TQelCustomEdit::ButtonDropDown,
                   [&] { events.push_back(edit.ButtonDown() ? "drop (down)" : "drop (up)"); });
  QObject::connect(&edit, &TQelCustomEdit::ButtonCloseUp, [&] { events.push_back("close"); });

  // Hidden: Alt+Down is only a key.
  QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_TRUE(events.empty());

  edit.SetDropButtonShown(true);
  EXPECT_GE(edit.textMargins().right(), qel::kVScrollBarWidth);  // text keeps clear of the button
  QTest::keyClick(&edit, Qt::Key_Down, Qt::AltModifier);
  EXPECT_EQ(events, (std::vector<std::string>{"drop (down)", "close"}));
  EXPECT_FALSE(edit.ButtonDown());
  QTest::keyClick(&edit, Qt::Key_Down, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(events.size(), 2u);

  // A press on the button focuses the edit and drops down; the right button
  // is eaten; a press on the text does neither.
  const qel::TRect r = edit.DropButtonRect();
  const QPoint onButton((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  w.next->setFocus();
  events.clear();
  MousePress(&edit, onButton, Qt::RightButton);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(w.next->hasFocus());
  MouseClick(&edit, onButton);
  EXPECT_EQ(events, (std::vector<std::string>{"drop (down)", "close"}));
  EXPECT_TRUE(edit.hasFocus());
  EXPECT_TRUE(edit.MouseOverButton());
  MouseClick(&edit, QPoint(5, 5));
  EXPECT_EQ(events.size(), 2u);
  EXPECT_FALSE(edit.MouseOverButton());

  // Painted inside the border: its face, then the edit's own 2-pixel ring.
  const QImage image = edit.grab().toImage();
  EXPECT_EQ(At(image, r.Left + 3, r.Top + 3), PaintRGB(clBtnFace));
  EXPECT_NE(At(image, r.Right + 1, r.Top + 3), PaintRGB(clBtnFace));
}

TEST(Memo, LineAndColumnOfTheCaret) {
  struct Case {
    const char* name;
    void (*write)(TQelMemo&);
    int position;                        // caret afterwards
    std::vector<QList<QVariant>> fired;  // LineColChange
  };
  const Case cases[] = {
      {"Column 5 is past the line", [](TQelMemo& m) { m.SetColumn(5); }, 4, {}},
      {"Column 4 is just past its end", [](TQelMemo& m) { m.SetColumn(4); }, 6, {{2, 4}}},
      {"Column 1", [](TQelMemo& m) { m.SetColumn(1); }, 3, {{2, 1}}},
      {"Column 0", [](TQelMemo& m) { m.SetColumn(0); }, 4, {}},
      {"Column -3", [](TQelMemo& m) { m.SetColumn(-3); }, 4, {}},
      {"Line 1", [](TQelMemo& m) { m.SetLine(1); }, 0, {{1, 1}}},
      {"Line 0", [](TQelMemo& m) { m.SetLine(0); }, 4, {}},
      {"Line 99", [](TQelMemo& m) { m.SetLine(99); }, 4, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TQelMemo memo;
    memo.setPlainText(QStringLiteral("ab\ncde"));
    QTextCursor caret = memo.textCursor();
    caret.setPosition(4);  // just before d
    memo.setTextCursor(caret);
    EXPECT_EQ(memo.Line(), 2);
    EXPECT_EQ(memo.Column(), 2);
    QSignalSpy spy(&memo, &TQelMemo::LineColChange);
    c.write(memo);
    EXPECT_EQ(memo.textCursor().position(), c.position);
    EXPECT_FALSE(memo.textCursor().hasSelection());
    EXPECT_EQ(std::vector<QList<QVariant>>(spy.begin(), spy.end()), c.fired);
  }
}

TEST(Memo, LineOfASelectionIsWhereTheCaretIs) {
  TQelMemo memo;
  memo.setPlainText(QStringLiteral("ab\ncde\nf"));
  QTextCursor caret = memo.textCursor();
  caret.setPosition(7);
  caret.setPosition(1, QTextCursor::KeepAnchor);
  memo.setTextCursor(caret);
  EXPECT_EQ(memo.Line(), 1);
  EXPECT_EQ(memo.Column(), 2);
}

TEST(Memo, TextHasCrLfLineBreaks) {
  TQelMemo memo;
  memo.SetText(QStringLiteral("one\r\ntwo\r\n\r\nthree"));
  EXPECT_EQ(memo.toPlainText(), QStringLiteral("one\ntwo\n\nthree"));
  EXPECT_EQ(memo.Text(), QStringLiteral("one\r\ntwo\r\n\r\nthree"));
  EXPECT_EQ(memo.blockCount(), 4);
  memo.SetText(QStringLiteral("a\rb\nc"));
  EXPECT_EQ(memo.Text(), QStringLiteral("a\r\nb\r\nc"));
}

// A memo of 100 lines scrolled to line 50, turned at (20, 20) of its
// viewport, where Qt delivers the wheel.
struct WheeledMemo : InWindow<TQelMemo> {
  WheeledMemo() : memo(*control) {
    QStringList lines;
    for (int i = 0; i < 100; ++i) lines << QString::number(i);
    memo.setPlainText(lines.join(QLatin1Char('\n')));
    bar = memo.verticalScrollBar();
    bar->setValue(50);
  }
  void Wheel(int delta, Qt::KeyboardModifiers modifiers) {
    QWheelEvent e(QPointF(kAt), QPointF(memo.viewport()->mapToGlobal(kAt)), QPoint(), QPoint(0, delta), Qt::NoButton,
                  modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(memo.viewport(), &e);
  }
  static constexpr QPoint kAt{20, 20};
  TQelMemo& memo;
  QScrollBar* bar = nullptr;
};

TEST(Memo, OneLinePerWheelNotch) {
  WheeledMemo w;
  TQelMemo& memo = w.memo;
  QScrollBar* bar = w.bar;
  auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) { w.Wheel(delta, modifiers); };
  const float zoom = memo.font().pointSizeF();
  wheel(-120, Qt::NoModifier);
  EXPECT_EQ(bar->value(), 51);
  wheel(240, Qt::NoModifier);
  EXPECT_EQ(bar->value(), 49);
  wheel(-60, Qt::NoModifier);  // half a notch waits for the other half
  EXPECT_EQ(bar->value(), 49);
  wheel(-60, Qt::NoModifier);
  EXPECT_EQ(bar->value(), 50);
  wheel(-120, Qt::ControlModifier);
  EXPECT_EQ(bar->value(), 50 + QApplication::wheelScrollLines());
  EXPECT_EQ(memo.font().pointSizeF(), zoom);  // no zoom
}

// Each notch tells its handler first, with the keys held, the point in the
// memo's coordinates and the scroll position still unchanged; a handled
// notch scrolls all the same.
TEST(Memo, WheelNotchesAreSignalledBeforeTheyScroll) {
  WheeledMemo w;
  TQelMemo& memo = w.memo;
  QScrollBar* bar = w.bar;
  std::vector<std::string> log;
  auto note = [&](const char* name, Qt::KeyboardModifiers m, QPoint pos, bool* handled) {
    log.push_back(std::string(name) + " at " + std::to_string(bar->value()) + (m & Qt::ShiftModifier ? " shift" : "") +
                  " " + std::to_string(pos.x()) + "," + std::to_string(pos.y()));
    *handled = true;
  };
  QObject::connect(&memo, &TQelMemo::MouseWheelDown,
                   [&](Qt::KeyboardModifiers m, QPoint pos, bool* handled) { note("down", m, pos, handled); });
  QObject::connect(&memo, &TQelMemo::MouseWheelUp,
                   [&](Qt::KeyboardModifiers m, QPoint pos, bool* handled) { note("up", m, pos, handled); });
  const QPoint inMemo = memo.viewport()->mapTo(&memo, WheeledMemo::kAt);
  const std::string at = " " + std::to_string(inMemo.x()) + "," + std::to_string(inMemo.y());
  const struct {
    int delta;
    Qt::KeyboardModifiers modifiers;
    std::vector<std::string> log;
    int value;
  } cases[] = {
      {-120, Qt::NoModifier, {"down at 50" + at}, 51},
      {240, Qt::ShiftModifier, {"up at 51 shift" + at, "up at 50 shift" + at}, 49},
      {-60, Qt::NoModifier, {}, 49},  // half a notch: nothing yet
      {-60, Qt::NoModifier, {"down at 49" + at}, 50},
  };
  for (const auto& c : cases) {
    log.clear();
    w.Wheel(c.delta, c.modifiers);
    EXPECT_EQ(log, c.log) << c.delta;
    EXPECT_EQ(bar->value(), c.value) << c.delta;
  }
}

TEST(Memo, ScrollBarsStayQtsUntilSet) {
  TQelMemo memo;
  EXPECT_EQ(memo.verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  memo.SetScrollBars(TQelMemo::ssVertical);
  EXPECT_EQ(memo.ScrollBars(), TQelMemo::ssVertical);
  EXPECT_EQ(memo.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
  EXPECT_EQ(memo.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  memo.SetScrollBars(TQelMemo::ssBoth);
  EXPECT_EQ(memo.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

TEST(Memo, KeysAndClicksReportTheCaretAndTheSelection) {
  InWindow<TQelMemo> w;
  TQelMemo& memo = *w.control;
  memo.setPlainText(QStringLiteral("ab\ncde"));
  QSignalSpy lineCol(&memo, &TQelMemo::LineColChange);
  QSignalSpy clipboard(&memo, &TQelMemo::ClipboardChange);
  QTest::keyClick(&memo, Qt::Key_Down);  // press and release
  ASSERT_EQ(lineCol.count(), 2);
  EXPECT_EQ(lineCol.last(), (QList<QVariant>{2, 1}));
  EXPECT_EQ(clipboard.count(), 2);
  QTest::keyClick(&memo, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_TRUE(clipboard.last().at(0).toBool());  // a selection now

  lineCol.clear();
  clipboard.clear();
  const QPoint at = memo.cursorRect().center();
  MouseRelease(memo.viewport(), at);
  EXPECT_EQ(lineCol.count(), 1);    // the click
  EXPECT_EQ(clipboard.count(), 2);  // after the click's, the release's own
}

// Enter moves the focus on as Tab would and types nothing.
template <class Control>
void ExpectTabOnEnter(const std::function<QString(Control&)>& text) {
  {
    InWindow<Control> w;
    w.control->SetTabOnEnter(true);
    const QString before = text(*w.control);
    QTest::keyClick(w.control, Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_TRUE(w.next->hasFocus());
    EXPECT_EQ(text(*w.control), before);
  }
  InWindow<Control> w;  // without it Enter stays
  QTest::keyClick(w.control, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_TRUE(w.control->hasFocus());
}

TEST(Edit, TabOnEnter) {
  ExpectTabOnEnter<TQelEdit>([](TQelEdit& e) { return e.text(); });
}

TEST(Memo, TabOnEnter) {
  ExpectTabOnEnter<TQelMemo>([](TQelMemo& m) { return m.toPlainText(); });
}

}  // namespace
