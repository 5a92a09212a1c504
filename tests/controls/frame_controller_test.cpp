#include <gtest/gtest.h>

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "controls/qelframecontroller.h"

namespace {

// Has some of the controller's properties (not DisabledColor, FlatButtons,
// FlatButtonColor, FrameHotColor or FramingPreference) and logs each write.
class FakeFramed : public QWidget {
  Q_OBJECT
  Q_PROPERTY(bool ParentColor READ parentColor WRITE setParentColor)
  Q_PROPERTY(TColor Color READ color WRITE setColor)
  Q_PROPERTY(TColor FocusColor READ focusColor WRITE setFocusColor)
  Q_PROPERTY(TColor FrameColor READ frameColor WRITE setFrameColor)
  Q_PROPERTY(bool FrameHotTrack READ frameHotTrack WRITE setFrameHotTrack)
  Q_PROPERTY(int FrameHotStyle READ frameHotStyle WRITE setFrameHotStyle)
  Q_PROPERTY(uint FrameSides READ frameSides WRITE setFrameSides)
  Q_PROPERTY(int FrameStyle READ frameStyle WRITE setFrameStyle)
  Q_PROPERTY(bool FrameVisible READ frameVisible WRITE setFrameVisible)

 public:
  QStringList writes;
  QPointer<TQelFrameController> controller;

  bool parentColor() const { return parentColor_; }
  void setParentColor(bool v) { parentColor_ = v, writes << QStringLiteral("ParentColor"); }
  TColor color() const { return color_; }
  void setColor(TColor v) { color_ = v, writes << QStringLiteral("Color"); }
  TColor focusColor() const { return focusColor_; }
  void setFocusColor(TColor v) { focusColor_ = v, writes << QStringLiteral("FocusColor"); }
  TColor frameColor() const { return frameColor_; }
  void setFrameColor(TColor v) { frameColor_ = v, writes << QStringLiteral("FrameColor"); }
  bool frameHotTrack() const { return frameHotTrack_; }
  void setFrameHotTrack(bool v) { frameHotTrack_ = v, writes << QStringLiteral("FrameHotTrack"); }
  int frameHotStyle() const { return frameHotStyle_; }
  void setFrameHotStyle(int v) { frameHotStyle_ = v, writes << QStringLiteral("FrameHotStyle"); }
  uint frameSides() const { return frameSides_; }
  void setFrameSides(uint v) { frameSides_ = v, writes << QStringLiteral("FrameSides"); }
  int frameStyle() const { return frameStyle_; }
  void setFrameStyle(int v) { frameStyle_ = v, writes << QStringLiteral("FrameStyle"); }
  bool frameVisible() const { return frameVisible_; }
  void setFrameVisible(bool v) { frameVisible_ = v, writes << QStringLiteral("FrameVisible"); }

 private:
  bool parentColor_ = true;
  TColor color_ = clNone, focusColor_ = clNone, frameColor_ = clNone;
  bool frameHotTrack_ = false, frameVisible_ = false;
  int frameHotStyle_ = -1, frameStyle_ = -1;
  uint frameSides_ = 0;
};

class Notified : public QWidget, public IFrameControllerNotification {
 public:
  int applied = 0;
  void ApplyControllerFrame() override { ++applied; }
};

const QStringList kFullUpdate = {
    QStringLiteral("ParentColor"), QStringLiteral("Color"),         QStringLiteral("FocusColor"),
    QStringLiteral("FrameColor"),  QStringLiteral("FrameHotTrack"), QStringLiteral("FrameHotStyle"),
    QStringLiteral("FrameSides"),  QStringLiteral("FrameStyle"),    QStringLiteral("FrameVisible")};

TEST(FrameController, LinkingUpdatesThatControlOnceAndOnlyIt) {
  TQelFrameController fc;
  FakeFramed a, b;
  fc.AddControl(&a);
  EXPECT_EQ(a.writes, kFullUpdate);
  EXPECT_EQ(a.color(), clWindow);
  EXPECT_EQ(a.frameStyle(), int(qel::fsFlat));
  EXPECT_EQ(a.frameSides(), qel::sdAllSides);
  fc.AddControl(&b);
  fc.AddControl(&a);
  EXPECT_EQ(a.writes, kFullUpdate);
  EXPECT_EQ(b.writes, kFullUpdate);
  EXPECT_EQ(fc.LinkedCount(), 2);
  EXPECT_TRUE(a.dynamicPropertyNames().isEmpty());
}

TEST(FrameController, TheListGoesWithItsLastControl) {
  TQelFrameController fc;
  FakeFramed a;
  EXPECT_FALSE(fc.HasList());
  fc.AddControl(&a);
  fc.RemoveControl(&a);
  EXPECT_FALSE(fc.HasList());
  fc.AddControl(&a);
  EXPECT_TRUE(fc.HasList());
  EXPECT_EQ(a.writes.size(), 2 * kFullUpdate.size());
}

TEST(FrameController, WritersSendOneCodeOrNothing) {
  TQelFrameController fc;
  FakeFramed a;
  fc.AddControl(&a);
  a.writes.clear();
  fc.SetColor(clWindow);
  fc.SetFrameStyle(qel::fsFlat);
  EXPECT_TRUE(a.writes.isEmpty());

  // FocusColor equal to the old Color moves along, without its own code.
  fc.SetColor(clInfoBk);
  EXPECT_EQ(fc.FocusColor(), clInfoBk);
  EXPECT_EQ(a.writes, QStringList{QStringLiteral("Color")});
  fc.SetFocusColor(clRed);
  fc.SetColor(clBlue);
  EXPECT_EQ(fc.FocusColor(), clRed);

  a.writes.clear();
  fc.SetParentColor(true);
  EXPECT_EQ(a.writes, QStringList{QStringLiteral("ParentColor")});
  fc.SetParentColor(false);
  EXPECT_EQ(a.writes,
            (QStringList{QStringLiteral("ParentColor"), QStringLiteral("ParentColor"), QStringLiteral("Color")}));
  fc.SetParentColor(true);
  fc.SetColor(clGreen);
  EXPECT_FALSE(fc.ParentColor());

  // Properties the control lacks are skipped, never made dynamic.
  a.writes.clear();
  fc.SetDisabledColor(clRed);
  fc.SetFlatButtons(false);
  fc.SetFramingPreference(fpCustomFraming);
  EXPECT_TRUE(a.writes.isEmpty());
  EXPECT_TRUE(a.dynamicPropertyNames().isEmpty());
}

TEST(FrameController, HotTrackingShowsTheFrameOnAllSides) {
  TQelFrameController fc;
  fc.SetFrameSides(qel::sdTop);
  fc.SetFrameHotTrack(true);
  EXPECT_TRUE(fc.FrameVisible());
  EXPECT_EQ(fc.FrameSides(), qel::sdAllSides);

  TQelFrameController loading;
  loading.beginLoad();
  loading.SetFrameSides(qel::sdTop);
  loading.SetFrameHotTrack(true);
  EXPECT_TRUE(loading.FrameVisible());
  EXPECT_EQ(loading.FrameSides(), qel::sdTop);
}

TEST(FrameController, UpdatesAndLoadingGiveOneFullUpdate) {
  TQelFrameController fc;
  FakeFramed a;
  fc.AddControl(&a);
  a.writes.clear();
  fc.BeginUpdate();
  fc.BeginUpdate();
  fc.SetColor(clRed);
  fc.SetFrameStyle(qel::fsRaised);
  fc.EndUpdate();
  EXPECT_TRUE(a.writes.isEmpty());
  fc.EndUpdate();
  EXPECT_EQ(a.writes, kFullUpdate);
  EXPECT_EQ(a.frameStyle(), int(qel::fsRaised));

  a.writes.clear();
  fc.beginLoad();
  fc.finishLoad();
  EXPECT_EQ(a.writes, kFullUpdate);

  // Assign copies everything at once.
  TQelFrameController other;
  other.SetFrameColor(clGreen);
  a.writes.clear();
  fc.Assign(other);
  EXPECT_EQ(a.writes, kFullUpdate);
  EXPECT_EQ(a.frameColor(), clGreen);
  EXPECT_EQ(fc.FrameStyle(), qel::fsFlat);
}

TEST(FrameController, NotifiedControlsRestyleThemselves) {
  TQelFrameController fc;
  Notified n;
  fc.AddControl(&n);
  fc.SetFrameColor(clRed);
  EXPECT_EQ(n.applied, 2);
  EXPECT_TRUE(n.dynamicPropertyNames().isEmpty());
}

TEST(FrameController, DestroyingEitherSideLeavesNoDanglingLink) {
  auto fc = std::make_unique<TQelFrameController>();
  FakeFramed kept;
  kept.controller = fc.get();
  fc->AddControl(&kept);
  {
    FakeFramed gone;
    fc->AddControl(&gone);
  }
  fc->SetFrameColor(clRed);  // must not reach the destroyed control
  EXPECT_EQ(kept.frameColor(), clRed);
  fc->RemoveControl(&kept);
  EXPECT_FALSE(fc->HasList());

  auto ini = std::make_unique<TQelRegIniFile>();
  fc->SetRegIniFile(ini.get());
  ini.reset();
  EXPECT_EQ(fc->RegIniFile(), nullptr);
  fc.reset();
  EXPECT_TRUE(kept.controller.isNull());
}

// Plain widgets never unlink: destroyed, they leave the list all the same,
// and the last one frees it.
TEST(FrameController, DestroyedControlsLeaveTheListUnasked) {
  TQelFrameController fc;
  auto a = std::make_unique<QWidget>(), b = std::make_unique<QWidget>(), c = std::make_unique<QWidget>();
  for (QWidget* w : {a.get(), b.get(), c.get()}) fc.AddControl(w);
  EXPECT_EQ(fc.LinkedCount(), 3);
  b.reset();
  EXPECT_EQ(fc.LinkedCount(), 2);
  // Unlinked before it goes, a control is not counted out twice.
  fc.RemoveControl(a.get());
  a.reset();
  EXPECT_EQ(fc.LinkedCount(), 1);
  c.reset();
  EXPECT_EQ(fc.LinkedCount(), 0);
  EXPECT_FALSE(fc.HasList());
}

TEST(FrameController, LegacyProperties) {
  TQelFrameController fc;
  EXPECT_TRUE(fc.applyLegacyProperty(QStringLiteral("FrameFlat"), true));
  EXPECT_TRUE(fc.FrameHotTrack());
  EXPECT_EQ(fc.FrameStyle(), qel::fsStatus);
  EXPECT_EQ(fc.FrameHotStyle(), qel::fsLowered);
  EXPECT_TRUE(fc.applyLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsRaised")));
  EXPECT_EQ(fc.FrameHotStyle(), qel::fsRaised);
  EXPECT_TRUE(fc.applyLegacyProperty(QStringLiteral("FrameFocusStyle"), QStringLiteral("fsFlatRounded")));
  EXPECT_EQ(fc.FrameHotStyle(), qel::fsRaised);  // outside the frame styles
  EXPECT_TRUE(fc.applyLegacyProperty(QStringLiteral("FrameFlatStyle"), QStringLiteral("fsFlat")));
  EXPECT_FALSE(fc.applyLegacyProperty(QStringLiteral("FrameGlow"), true));
  EXPECT_TRUE(fc.dynamicPropertyNames().isEmpty());

  TQelFrameController off;
  EXPECT_TRUE(off.applyLegacyProperty(QStringLiteral("FrameFlat"), false));
  EXPECT_EQ(off.FrameStyle(), qel::fsFlat);
}

TEST(FrameController, IsKnownToTheMetaObjectSystem) {
  TQelFrameController fc;
  QObject* object = &fc;
  EXPECT_STREQ(object->metaObject()->className(), "TQelFrameController");
  EXPECT_EQ(qobject_cast<TQelFrameController*>(object), &fc);
}

TEST(RegIniFile, WritersSetTheChangedFlag) {
  TQelRegIniFile ini;
  EXPECT_TRUE(ini.Changed());
  ini.SetChanged(false);
  ini.SetPathType(TQelRegIniFile::ptIniFile);
  EXPECT_FALSE(ini.Changed());
  ini.SetPath(QStringLiteral("Software\\Panel"));
  EXPECT_TRUE(ini.Changed());
  EXPECT_EQ(ini.RegKey(), TQelRegIniFile::hkeyCurrentUser);
  EXPECT_EQ(ini.RegAccess(), 512u);
}

TEST(ColorNames, OursThenTheSystemColoursWithoutIndex25) {
  EXPECT_STREQ(kQelColorNames[0].name, "Black");
  EXPECT_EQ(kQelColorNames[1].color, RGB(0x99, 0x33, 0x00));  // Brown
  EXPECT_STREQ(kQelColorNames[39].name, "White");
  EXPECT_EQ(kQelColorNames[40].color, clScrollBar);
  EXPECT_EQ(kQelColorNames[64].color, clInfoBk);
  EXPECT_EQ(kQelColorNames[65].color, clHotLight);
  EXPECT_STREQ(kQelColorNames[69].name, "Menu Bar");
}

}  // namespace

#include "frame_controller_test.moc"
