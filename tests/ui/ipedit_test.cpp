#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <utility>
#include <ostream>
#include <vector>

#include "ipedit/tipedit.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

// An IP edit at the windows' size in a shown, active top-level window, with
// both events recorded.
struct IPEditTest : ::testing::Test {
  QWidget Window;
  TIPEdit* Edit = new TIPEdit(&Window);
  QLineEdit* Other = new QLineEdit(&Window);  // somewhere for the focus to be outside the edit

  std::vector<int> Changes;  // the changed field's value at each OnChange
  std::vector<QWidget*> Senders;
  std::vector<int> Errors;  // field index at each OnError
  bool ErrorDuringOnError = false;
  QString IPDuringOnError;

  void SetUp() override {
    Edit->setGeometry(10, 10, 151, 22);
    Other->setGeometry(10, 40, 80, 22);
    Window.resize(200, 80);
    Window.show();
    QApplication::setActiveWindow(&Window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Window));
    Edit->OnChange = [this](QWidget* sender) {
      Senders.push_back(sender);
      auto* f = dynamic_cast<TIPFieldEdit*>(QApplication::focusWidget());
      Changes.push_back(f ? f->FieldValue() : -1);
    };
    Edit->OnError = [this](QWidget* sender, int field) {
      Senders.push_back(sender);
      Errors.push_back(field);
      ErrorDuringOnError = Edit->Error();
      IPDuringOnError = Edit->IPString();
    };
  }

  TIPFieldEdit* F(int k) { return Edit->FieldAt(k); }
  int Focused() {
    for (int k = 0; k < 4; ++k)
      if (Window.focusWidget() == F(k)) return k;
    return -1;
  }
  QStringList Texts() {
    QStringList t;
    for (int k = 0; k < 4; ++k) t << F(k)->text();
    return t;
  }
  // Focus as the user's Tab would give it: the whole text selected.
  void TabInto(int k) {
    F(k)->setFocus(Qt::TabFocusReason);
    F(k)->selectAll();  // already focused fields get no focus-in
    ASSERT_EQ(Focused(), k);
  }
  // Like a keyboard: each key goes to whichever widget holds the focus then.
  void Type(const char* keys) {
    for (const char* c = keys; *c; ++c) {
      ASSERT_NE(Window.focusWidget(), nullptr);
      QTest::keyClick(Window.focusWidget(), *c);
    }
  }
  void Press(Qt::Key key) { QTest::keyClick(Window.focusWidget(), key); }
};

TEST_F(IPEditTest, StartsAtZeroAndFieldAtIsRangeChecked) {
  EXPECT_EQ(Edit->IPString(), "0.0.0.0");
  EXPECT_EQ(Texts(), (QStringList{"0", "0", "0", "0"}));
  EXPECT_FALSE(Edit->Error());
  for (int k = 0; k < 4; ++k) {
    ASSERT_NE(F(k), nullptr);
    EXPECT_EQ(F(k)->parentWidget(), Edit);
    EXPECT_EQ(F(k)->maxLength(), 3);
    EXPECT_EQ(F(k)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_FALSE(F(k)->hasFrame());
    for (int j = 0; j < k; ++j) EXPECT_NE(F(j), F(k));
  }
  EXPECT_EQ(Edit->FieldAt(-1), nullptr);
  EXPECT_EQ(Edit->FieldAt(4), nullptr);
  EXPECT_EQ(Edit->FieldAt(1000), nullptr);
}

// The dot after a three-digit octet finds the next field empty or selected and
// is swallowed, so the same keys work on a fresh and on an emptied edit.
TEST_F(IPEditTest, TypingAnAddressWithDots) {
  for (bool emptied : {false, true}) {
    SCOPED_TRACE(emptied ? "emptied" : "fresh");
    Edit->SetIPString("0.0.0.0");
    if (emptied) Edit->clear();
    TabInto(0);
    Type("192.168.1.5");
    EXPECT_EQ(Texts(), (QStringList{"192", "168", "1", "5"}));
    EXPECT_EQ(Edit->IPString(), "192.168.1.5");
    EXPECT_EQ(Focused(), 3);
    TabInto(0);
    Type("10.0.0.1");
    EXPECT_EQ(Edit->IPString(), "10.0.0.1");
    EXPECT_EQ(Focused(), 3);
  }
  EXPECT_TRUE(Errors.empty());
}

struct TypingCase {
  const char* Name;
  int Field;
  const char* Keys;
  const char* Text;
  int FocusAfter;
  std::vector<int> Changes;
  std::vector<int> Errors;
};

// Each case types into an emptied field that held 0.
TEST_F(IPEditTest, TypingIntoOneField) {
  const TypingCase cases[] = {
      {"three digits move on", 0, "123", "123", 1, {1, 12, 123}, {}},
      {"three digits in the last field stay", 3, "123", "123", 3, {1, 12, 123}, {}},
      {"leading zero", 2, "099", "099", 3, {9, 99}, {}},
      {"two digits stay", 1, "25", "25", 1, {2, 25}, {}},
      {"over 255 becomes 255", 1, "300", "255", 1, {3, 30, 255}, {1}},
      {"256 becomes 255", 2, "256", "255", 2, {2, 25, 255}, {2}},
      {"letters and signs refused", 0, "1a-+ x,2", "12", 0, {1, 12}, {}},
      {"only letters", 3, "abc", "", 3, {}, {}},
  };
  for (const TypingCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit->SetIPString("0.0.0.0");
    Edit->clear();
    TabInto(c.Field);
    Changes.clear();
    Errors.clear();
    Senders.clear();
    Type(c.Keys);
    EXPECT_EQ(F(c.Field)->text(), c.Text);
    EXPECT_EQ(Focused(), c.FocusAfter);
    EXPECT_EQ(Changes, c.Changes);
    EXPECT_EQ(Errors, c.Errors);
    for (QWidget* s : Senders) EXPECT_EQ(s, &Window);  // the edit's parent, not the edit
    EXPECT_FALSE(Edit->Error());
    if (c.FocusAfter != c.Field) {
      EXPECT_EQ(F(c.FocusAfter)->selectedText(), F(c.FocusAfter)->text());
      EXPECT_EQ(F(c.FocusAfter)->CaretColumn(), 0);
    }
    if (!c.Errors.empty()) {
      EXPECT_TRUE(ErrorDuringOnError);
      EXPECT_EQ(IPDuringOnError, "255");
      EXPECT_EQ(F(c.Field)->CaretColumn(), 0);
      EXPECT_FALSE(F(c.Field)->hasSelectedText());
      EXPECT_EQ(F(c.Field)->FieldValue(), 255);
    }
  }
}

TEST_F(IPEditTest, ReplacedOctetCanBeRetyped) {
  TabInto(1);
  Type("300");
  ASSERT_EQ(Edit->IPString(), "0.255.0.0");
  F(1)->selectAll();
  Type("42");
  EXPECT_EQ(Edit->IPString(), "0.42.0.0");
}

TEST_F(IPEditTest, DotMovesOnlyFromUnselectedText) {
  Edit->SetIPString("1.2.3.4");
  TabInto(1);  // "2" selected
  Type(".");
  EXPECT_EQ(Focused(), 1);
  F(1)->SetCaretColumn(1);
  Type(".");
  EXPECT_EQ(Focused(), 2);
  EXPECT_EQ(F(2)->selectedText(), "3");
  F(2)->clear();
  Type(".");
  EXPECT_EQ(Focused(), 2);
  F(3)->setFocus();
  F(3)->SetCaretColumn(1);
  Type(".");
  EXPECT_EQ(Focused(), 3);
  EXPECT_EQ(Texts(), (QStringList{"1", "2", "", "4"}));
}

struct NavCase {
  const char* Name;
  int Field;
  int Caret;  // -1: whole text selected
  Qt::Key Key;
  int FocusAfter;
  int CaretAfter;
};

TEST_F(IPEditTest, ArrowsAndBackspaceAtTheEdges) {
  const NavCase cases[] = {
      {"Backspace at column 0 goes to the end of the previous field", 2, 0, Qt::Key_Backspace, 1, 3},
      {"Left at column 0 likewise", 2, 0, Qt::Key_Left, 1, 3},
      {"Right at the end goes to column 0 of the next field", 1, 3, Qt::Key_Right, 2, 0},
      {"Left at column 0 of field 0 is consumed", 0, 0, Qt::Key_Left, 0, 0},
      {"Left on a selection from 0 only cancels it", 0, -1, Qt::Key_Left, 0, 0},
      {"Right at the end of field 3 is consumed", 3, 2, Qt::Key_Right, 3, 2},
      {"Backspace at column 0 of field 0 stays", 0, 0, Qt::Key_Backspace, 0, 0},
      {"Left inside the text moves the caret", 1, 2, Qt::Key_Left, 1, 1},
      {"Right inside the text moves the caret", 1, 1, Qt::Key_Right, 1, 2},
      {"Right on a whole selection stays in the field", 1, -1, Qt::Key_Right, 1, 3},
      {"Right at the end of a short octet", 2, 1, Qt::Key_Right, 3, 0},
  };
  for (const NavCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Edit->SetIPString("192.168.1.10");
    F(c.Field)->setFocus(Qt::OtherFocusReason);
    if (c.Caret < 0)
      F(c.Field)->selectAll();
    else
      F(c.Field)->SetCaretColumn(c.Caret);
    Press(c.Key);
    EXPECT_EQ(Focused(), c.FocusAfter);
    EXPECT_EQ(F(c.FocusAfter)->CaretColumn(), c.CaretAfter);
    EXPECT_FALSE(F(c.FocusAfter)->hasSelectedText());
    EXPECT_EQ(Texts(), (QStringList{"192", "168", "1", "10"}));  // the Backspace deleted nothing
  }
  // An ordinary Backspace still deletes.
  F(1)->setFocus();
  F(1)->SetCaretColumn(2);
  Press(Qt::Key_Backspace);
  EXPECT_EQ(F(1)->text(), "18");
  EXPECT_EQ(Focused(), 1);
}

TEST_F(IPEditTest, BackspacingThroughTheAddress) {
  Edit->SetIPString("1.2.3.4");
  F(3)->setFocus();
  F(3)->SetCaretColumn(1);
  for (int i = 0; i < 8; ++i) Press(Qt::Key_Backspace);
  EXPECT_EQ(Texts(), (QStringList{"", "", "", ""}));
  EXPECT_EQ(Focused(), 0);
  EXPECT_EQ(Edit->IPString(), "1.2.3.4");  // emptied fields keep their last value
  EXPECT_TRUE(Changes.empty());
}

TEST_F(IPEditTest, ControlCharactersAreDropped) {
  Edit->SetIPString("1.2.3.4");
  TabInto(0);
  F(0)->SetCaretColumn(1);
  // As Ctrl+A, X, V and Z arrive: with a control character or with no text.
  for (Qt::Key k : {Qt::Key_A, Qt::Key_X, Qt::Key_V, Qt::Key_Z})
    for (const QString& text : {QString(QChar(k - Qt::Key_A + 1)), QString()})
      QTest::sendKeyEvent(QTest::Click, F(0), k, text, Qt::ControlModifier);
  EXPECT_EQ(F(0)->text(), "1");
  EXPECT_EQ(F(0)->CaretColumn(), 1);
  Press(Qt::Key_Home);  // keys that are not characters keep their editing
  EXPECT_EQ(F(0)->CaretColumn(), 0);
  Press(Qt::Key_Delete);
  EXPECT_EQ(F(0)->text(), "");
  EXPECT_EQ(Focused(), 0);
}

struct WriteCase {
  const char* Written;
  const char* Read;  // nullptr: the write is ignored
};

TEST_F(IPEditTest, IPStringWriteAndRead) {
  const WriteCase cases[] = {
      {"192.168.1.10", "192.168.1.10"},
      {"0.0.0.0", "0.0.0.0"},
      {"255.255.255.255", "255.255.255.255"},
      {"10.0.0", nullptr},
      {"", nullptr},
      {"1.2.3.", "1.2.3.255"},
      {"10 0 0 1", nullptr},
      {"1.2.3.4.5", "1.2.3.4"},
      {"300.1.2.3", "255.1.2.3"},
      {"a.b.c.d", "255.255.255.255"},
      {"-1.256.1e2.3", "255.255.255.3"},
      {"1..2.3", "1.255.2.3"},
      {" 7.$1F.0x10.+4", "7.31.16.4"},
      {"1.2.3.4 ", "1.2.3.255"},  // trailing blanks fail the conversion
      {"00012.1.1.1", "12.1.1.1"},
  };
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.Written);
    Edit->SetIPString("9.8.7.6");
    Changes.clear();
    Edit->SetIPString(c.Written);
    const QString expected = c.Read ? c.Read : "9.8.7.6";
    EXPECT_EQ(Edit->IPString(), expected);
    EXPECT_EQ(Texts(), expected.split(u'.'));
    EXPECT_TRUE(Changes.empty());
    EXPECT_TRUE(Errors.empty());
    EXPECT_FALSE(Edit->Error());
  }
}

TEST_F(IPEditTest, WritesByCodeNeverMoveTheFocus) {
  TabInto(0);
  Edit->SetIPString("192.168.100.200");
  EXPECT_EQ(Focused(), 0);
  F(0)->setText("123");
  EXPECT_EQ(Focused(), 0);
  F(0)->setText("300");
  EXPECT_EQ(Focused(), 0);
  EXPECT_EQ(F(0)->text(), "255");
  EXPECT_EQ(Errors, std::vector<int>{0});
  TabInto(2);
  Edit->clear();
  Edit->SetIPString("111.222.111.222");
  EXPECT_EQ(Focused(), 2);
  // Typing still works afterwards: the caret is where the user puts it.
  F(2)->selectAll();
  Type("123");
  EXPECT_EQ(Focused(), 3);
}

TEST_F(IPEditTest, ClearEmptiesTheTextsButKeepsTheAddress) {
  Edit->SetIPString("192.168.1.5");
  EXPECT_TRUE(Edit->ShowsAddress());
  Edit->clear();
  EXPECT_EQ(Texts(), (QStringList{"", "", "", ""}));
  EXPECT_EQ(Edit->IPString(), "192.168.1.5");
  EXPECT_FALSE(Edit->ShowsAddress());
  EXPECT_TRUE(Changes.empty());
  TabInto(3);
  Type("7");
  EXPECT_EQ(Edit->IPString(), "192.168.1.7");
  EXPECT_FALSE(Edit->ShowsAddress());  // one field of four
  Edit->SetIPString("192.168.1.7");
  EXPECT_TRUE(Edit->ShowsAddress());
}

TEST_F(IPEditTest, FocusFromOutside) {
  Other->setFocus();
  Edit->setFocus();
  EXPECT_EQ(Focused(), 0);
  for (int k = 1; k < 4; ++k) {
    Press(Qt::Key_Tab);
    EXPECT_EQ(Focused(), k);
  }
  Press(Qt::Key_Tab);
  EXPECT_EQ(Window.focusWidget(), Other);

  // A click on the box between the fields focuses field 0 only when no field
  // has the focus.
  const QPoint gap = F(1)->geometry().topLeft() - QPoint(2, -5);
  QTest::mouseClick(Edit, Qt::LeftButton, {}, gap);
  EXPECT_EQ(Focused(), 0);
  F(2)->setFocus();
  QTest::mouseClick(Edit, Qt::LeftButton, {}, gap);
  EXPECT_EQ(Focused(), 2);
}

// Four equal fields in a centred row inside the border, each wide enough for
// three of the font's digits; the row follows resizes and font changes.
void ExpectRowLayout(TIPEdit* edit, int pointSize) {
  const int b = edit->FieldAt(0)->y();
  const QRect client = edit->rect().adjusted(b, b, -b, -b);
  const int w = edit->FieldAt(0)->width();
  const int step = edit->FieldAt(1)->x() - edit->FieldAt(0)->x();
  EXPECT_GE(w, 3 * pointSize);
  EXPECT_GE(step - w, w / 9 + 1);
  for (int k = 0; k < 4; ++k) {
    SCOPED_TRACE(k);
    const TIPFieldEdit* f = edit->FieldAt(k);
    EXPECT_EQ(f->font().pointSize(), pointSize);
    EXPECT_EQ(f->width(), w);
    EXPECT_EQ(f->x(), edit->FieldAt(0)->x() + k * step);
    EXPECT_EQ(f->geometry().top(), client.top());
    EXPECT_EQ(f->geometry().bottom(), client.bottom());
    EXPECT_TRUE(client.contains(f->geometry()));
    EXPECT_LE(f->fontMetrics().horizontalAdvance(QStringLiteral("888")) + 4, w);  // QLineEdit's margins
  }
  const int left = edit->FieldAt(0)->x();
  const int right = edit->width() - 1 - edit->FieldAt(3)->geometry().right();
  EXPECT_LE(std::abs(left - right), 1) << left << " " << right;
}

TEST_F(IPEditTest, FieldGeometry) {
  ExpectRowLayout(Edit, 9);
  Edit->resize(200, 22);
  ExpectRowLayout(Edit, 9);
  QFont big = Edit->font();
  big.setPointSize(12);
  Edit->setFont(big);
  Edit->resize(220, 28);
  ExpectRowLayout(Edit, 12);
  Edit->SetBorderStyle(TIPEdit::bsNone);
  EXPECT_EQ(F(0)->y(), 0);
  ExpectRowLayout(Edit, 12);
}

// Rows holding dark pixels in the columns [x0, x1), as {top, bottom}.
std::pair<int, int> InkRows(const QImage& img, int x0, int x1) {
  int top = img.height(), bottom = -1;
  for (int x = x0; x < x1; ++x)
    for (int y = 0; y < img.height(); ++y)
      if (qGray(img.pixel(x, y)) < 128) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  return {top, bottom};
}

// Painted: a dot in each gap standing on the digits' baseline, and a border
// unless the border style is none.
TEST_F(IPEditTest, PaintsDotsAndBorder) {
  Other->setFocus();  // no focus frame, no caret
  Edit->SetIPString("192.168.1.5");
  const QImage img = Edit->grab().toImage();
  const auto [digitsTop, digitsBottom] = InkRows(img, F(0)->x(), F(0)->geometry().right() + 1);
  ASSERT_GE(digitsBottom, 0) << "no digits";
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(k);
    const auto [top, bottom] = InkRows(img, F(k)->geometry().right() + 1, F(k + 1)->x());
    ASSERT_GE(bottom, 0) << "no dot";
    EXPECT_LE(std::abs(bottom - digitsBottom), 1);
    EXPECT_GE(top, (digitsTop + digitsBottom) / 2);  // low, not centred like a hyphen
  }
  const QRgb base = img.pixel(Edit->width() / 2, 3);
  EXPECT_NE(img.pixel(Edit->width() / 2, 0), base);
  EXPECT_NE(img.pixel(0, Edit->height() / 2), base);
  Edit->SetBorderStyle(TIPEdit::bsNone);
  const QImage plain = Edit->grab().toImage();
  EXPECT_EQ(plain.pixel(Edit->width() / 2, 0), base);
  EXPECT_EQ(plain.pixel(0, Edit->height() / 2), base);
}

TEST_F(IPEditTest, ReadOnlyKeepsTheValuesButStillMoves) {
  Edit->SetIPString("1.2.3.4");
  Edit->SetReadOnly(true);
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(F(k)->isReadOnly());
  TabInto(0);
  F(0)->SetCaretColumn(1);
  Type("9.9");
  EXPECT_EQ(Edit->IPString(), "1.2.3.4");
  EXPECT_EQ(Focused(), 1);
  Edit->SetReadOnly(false);
  EXPECT_FALSE(F(3)->isReadOnly());
}

}  // namespace
