#include <gtest/gtest.h>

#include <QPalette>
#include <QStringList>
#include <QWidget>

#include "controls/qelcommon.h"

namespace {

// The least a styled control does: a Color that tells its children, a writer
// with an after-loading step, and counts of what it did.
class FakeStyled : public QWidget, public qel::StyledControl {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ color WRITE setColor)

 public:
  explicit FakeStyled(QWidget* parent = nullptr) : QWidget(parent), StyledControl(this) {}
  TColor color() const { return color_; }
  void setColor(TColor c) {
    if (assign(color_, c)) qel::NotifyChildrenOfColor(this, c);
  }
  void setSpacing(int v) {
    if (assign(spacing_, v) && !isLoading()) ++realigns;
  }
  int refreshes = 0, realigns = 0, loadedRuns = 0;

 protected:
  void refresh() override {
    if (!isLoading()) ++refreshes;
    StyledControl::refresh();
  }
  void loaded() override {
    ++loadedRuns;
    ++realigns;
  }
  void parentColorChanged(TColor c) override { setColor(c); }

 private:
  TColor color_ = clBtnFace;
  int spacing_ = 0;
};

TEST(SharedGround, WritersIgnoreAnUnchangedValue) {
  FakeStyled c;
  c.setSpacing(0);
  EXPECT_EQ(c.refreshes, 0);
  c.setSpacing(3);
  c.setSpacing(3);
  EXPECT_EQ(c.refreshes, 1);
  EXPECT_EQ(c.realigns, 1);
  EXPECT_FALSE(c.isLoading());
}

TEST(SharedGround, LoadingDefersAfterStepsToOneFullUpdate) {
  FakeStyled c;
  c.beginLoad();
  EXPECT_TRUE(c.isLoading());
  c.setSpacing(3);
  c.setColor(clRed);
  c.setSpacing(4);
  EXPECT_EQ(c.refreshes, 0);
  EXPECT_EQ(c.realigns, 0);
  c.finishLoad();
  EXPECT_FALSE(c.isLoading());
  EXPECT_EQ(c.loadedRuns, 1);
  EXPECT_EQ(c.realigns, 1);
  EXPECT_EQ(c.refreshes, 1);
  // An unmatched finish does nothing.
  c.finishLoad();
  EXPECT_EQ(c.loadedRuns, 1);
}

TEST(SharedGround, UnknownLegacyPropertyIsNotTaken) {
  FakeStyled c;
  EXPECT_FALSE(c.applyLegacyProperty(QStringLiteral("NoSuchThing"), true));
}

TEST(SharedGround, ParentColorFromAStyledParentAndItsNotification) {
  FakeStyled parent;
  parent.setColor(clInfoBk);
  FakeStyled child(&parent), other(&parent);
  FakeStyled grandchild(&child);
  child.setParentColor(true);
  grandchild.setParentColor(true);
  EXPECT_EQ(child.color(), clInfoBk);  // the value, not its RGB
  EXPECT_EQ(qel::ParentColorOf(&child), clInfoBk);

  parent.setColor(clRed);
  EXPECT_EQ(child.color(), clRed);
  EXPECT_EQ(grandchild.color(), clRed);  // passed on by the child's own writer
  EXPECT_EQ(other.color(), clBtnFace);   // no ParentColor: keeps its own
}

TEST(SharedGround, ParentColorFromAPlainQtParent) {
  QWidget parent;
  QPalette pal = parent.palette();
  pal.setColor(QPalette::Window, QColor(1, 2, 3));
  parent.setPalette(pal);
  FakeStyled child(&parent);
  child.setParentColor(true);
  EXPECT_EQ(child.color(), RGB(1, 2, 3));
  FakeStyled orphan;
  EXPECT_EQ(qel::ParentColorOf(&orphan), clBtnFace);
}

TEST(SharedGround, HooksCountBeepsAndReports) {
  int beeps = 0;
  QStringList reports;
  auto oldBeep = qel::SetBeepHook([&] { ++beeps; });
  auto oldError = qel::SetErrorHook([&](const QString& m) { reports << m; });
  qel::Beep();
  qel::Beep();
  qel::ReportError(QStringLiteral("bad value"));
  qel::SetBeepHook(oldBeep);
  qel::SetErrorHook(oldError);
  EXPECT_EQ(beeps, 2);
  EXPECT_EQ(reports, QStringList{QStringLiteral("bad value")});
}

}  // namespace

#include "shared_ground_test.moc"
