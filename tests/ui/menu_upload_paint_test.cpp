// "Upload" chosen from the menu as a user chooses it, and what the window
// shows afterwards: the paint events that reach it, and what the screen
// holds of it (grab() would draw the widget anew, whatever was painted).
// The same on the offscreen platform and under an X server.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTest>

#include "linked_fixture.h"
#include "project_fixture.h"
#include "ui/tform1.h"

namespace {

using transfertest::Faults;
using transfertest::Linked;
using transfertest::One;
using transfertest::Phase;
using transfertest::Until;

// Counts the paint events that reach a widget of the main window, or one
// inside it, while `counts` holds.
class PaintCounter : public QObject {
 public:
  PaintCounter(QWidget* within, std::function<bool()> counts = {}) : within_(within), counts_(std::move(counts)) {
    qApp->installEventFilter(this);
  }
  ~PaintCounter() override { qApp->removeEventFilter(this); }
  bool eventFilter(QObject* o, QEvent* e) override {
    if (e->type() == QEvent::Paint && o->isWidgetType()) {
      auto* w = static_cast<QWidget*>(o);
      if ((w == within_ || within_->isAncestorOf(w)) && (!counts_ || counts_())) ++Count;
    }
    return false;
  }
  int Count = 0;

 private:
  QWidget* within_;
  std::function<bool()> counts_;
};

// What the screen shows of a widget, against what the widget draws now.
bool ShownAsDrawn(QWidget* w) {
  const QPoint at = w->mapTo(w->window(), QPoint());
  const QImage shown = w->screen()
                           ->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height())
                           .toImage()
                           .convertToFormat(QImage::Format_RGB32);
  const QImage drawn = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
  return shown == drawn;
}

// Opens Connection from the menu bar with the mouse, then walks to
// "Upload" with the arrow key and takes it with Enter.
void ChooseUploadFromTheMenu(TForm1& f) {
  QMenuBar* bar = f.menuBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(f.Connection1->menuAction()).center());
  ASSERT_TRUE(Until([&] { return f.Connection1->isVisible(); }, 2000));
  QTest::qWait(50);  // as a user would: the menu is drawn before a key comes
  for (int i = 0; i < 4 && f.Connection1->activeAction() != f.Download1; ++i)
    QTest::keyClick(f.Connection1, Qt::Key_Down);
  ASSERT_EQ(f.Connection1->activeAction(), f.Download1);
  QTest::keyClick(f.Connection1, Qt::Key_Return);
}

struct MenuUploadCase {
  const char* Name;
  Faults Panel;
  bool Completes;
};
void PrintTo(const MenuUploadCase& c, std::ostream* os) { *os << c.Name; }

class MenuUpload : public ::testing::TestWithParam<MenuUploadCase> {};
INSTANTIATE_TEST_SUITE_P(Panel, MenuUpload,
                         ::testing::Values(MenuUploadCase{"Complete", {}, true},
                                           MenuUploadCase{"NothingReceived", One(&Faults::SilentAt, Phase::Upload, 0),
                                                          false}),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_P(MenuUpload, TheWindowPaintsAgainWithTheUploadedRows) {
  const MenuUploadCase& c = GetParam();
  Linked t(kVantor);
  t.MakeProject();
  ASSERT_TRUE(t.Download());
  const int actions = t.F1.F.Model->ActionCount;
  // One row more than the panel holds: a screen still showing the list from
  // before is told from one showing the upload.
  AddKeyActionThroughDialog(t.P.W(), 3, 0);
  ASSERT_EQ(t.F1.F.Model->ActionCount, actions + 1);
  t.Sim.SetFaults(c.Panel);
  TForm1& f = t.F1;
  f.Timer1->start(100);  // the clock, as the program runs it
  f.show();
  ASSERT_TRUE(LinkPanelAt(f, "127.0.0.2"));  // the first show emptied the panel fields
  f.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  QTest::qWait(200);

  // Paints of the Action List once the upload has ended (or, from a silent
  // panel, once it was asked).
  bool asked = false;
  PaintCounter listPaints(f.ListView1, [&] { return asked && !(c.Completes && f.Uploading()); });
  ChooseUploadFromTheMenu(f);
  ASSERT_FALSE(HasFatalFailure());
  asked = true;
  if (c.Completes) {
    ASSERT_TRUE(Until([&] { return !f.Uploading(); }));
    ASSERT_EQ(f.F.Model->ActionCount, actions);
  } else {
    // The model is cleared at once; the panel stays silent.
    ASSERT_TRUE(f.Uploading());
    ASSERT_EQ(f.F.Model->ActionCount, 0);
  }
  // The upload's end, or the panel's pause, releases the hold; then the
  // window paints within 500 ms.
  const int releaseMs = c.Completes ? 0 : 250;
  EXPECT_TRUE(Until([&] { return listPaints.Count > 0; }, releaseMs + 500)) << "no paint reached the Action List";
  EXPECT_FALSE(f.Connection1->isVisible());
  EXPECT_TRUE(Until([&] { return ShownAsDrawn(f.ListView1); }, releaseMs + 500))
      << "the Action List on the screen is not what it holds";
  // The clock goes on: the status bar is painted at its next second.
  PaintCounter statusPaints(f.StatusBar1);
  EXPECT_TRUE(Until([&] { return statusPaints.Count > 0; }, 1500));
  EXPECT_TRUE(Until([&] { return ShownAsDrawn(f.StatusBar1); }, 1500));
}

}  // namespace
