// "Open" and "Upload" of many records end in the state the record-by-record
// road gives: the same program driven with the load's holds switched off is
// the reference (model, lists, page, every control, the log).
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>

#include "link/server.h"
#include "linked_fixture.h"
#include "model/projectfile.h"
#include "project_fixture.h"
#include "tools/bench/benchkit.h"
#include "tools/panelsim/panelsim.h"
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"
#include "ui_fixture.h"

namespace {

using transfertest::Linked;
using transfertest::Until;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif
// The full sizes are too slow under the sanitizer.
constexpr int kEventsEach = kSanitized ? 40 : kMaxEvents;
constexpr int kUploadedEach = kSanitized ? 100 : kMaxEvents;
// The record-by-record reference upload paints the window after every
// record: on a slow or busy machine it takes many times the held road's
// time, so its bound only ends a hang.
constexpr int kReferenceUploadMs = 120000;

// Everything the window shows or keeps, as text.
QStringList EndState(TForm1& f) {
  QStringList s;
  s << QString::fromLatin1(BuildSaveAsFile(f.F.V, *f.F.Model).c_str());
  for (const TListView* list : {f.ListView1, f.ListView2}) {
    s << QStringLiteral("rows %1 selected %2").arg(list->Count()).arg(list->Selected());
    for (int r = 0; r < list->Count(); ++r) s << list->Row(r).join(QLatin1Char('|'));
  }
  s << QStringLiteral("painting %1").arg(f.updatesEnabled());
  s << QStringLiteral("page %1 kind %2").arg(f.QelPageControl1->TabIndex()).arg(f.QelListBox1->currentRow());
  for (const QLineEdit* e : f.findChildren<QLineEdit*>())
    if (!e->objectName().isEmpty()) s << e->objectName() + QLatin1Char('=') + e->text();
  for (const QPlainTextEdit* e : f.findChildren<QPlainTextEdit*>())
    if (e != f.Memo2) s << e->objectName() + QLatin1Char('=') + e->toPlainText();
  for (const QComboBox* c : f.findChildren<QComboBox*>()) {
    QStringList items;
    for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
    s << c->objectName() + QStringLiteral("=%1:").arg(c->currentIndex()) + c->currentText() + QLatin1Char('[') +
             items.join(QLatin1Char(',')) + QLatin1Char(']');
  }
  for (const QAbstractSlider* b : f.findChildren<QAbstractSlider*>())
    if (!b->objectName().isEmpty()) s << b->objectName() + QStringLiteral("=%1").arg(b->value());
  for (const QAbstractButton* b : f.findChildren<QAbstractButton*>())
    if (b->isCheckable()) s << b->objectName() + QStringLiteral("=%1").arg(b->isChecked());
  // Each program's link has ports of its own.
  static const QRegularExpression port(QStringLiteral("([Pp]ort\\D{0,3})\\d+"));
  for (QString line : f.LogText().split(QLatin1Char('\n'))) s << line.replace(port, QStringLiteral("\\1#"));
  return s;
}

void ExpectSameState(const QStringList& held, const QStringList& reference) {
  ASSERT_EQ(held.size(), reference.size());
  for (qsizetype i = 0; i < held.size(); ++i)
    ASSERT_EQ(held[i].toStdString(), reference[i].toStdString()) << "line " << i;
}

// Every key with every kind, kEventsEach events of mixed kinds each, as bench_project builds it.
std::string LargestProject(const Variant& v) {
  TestProgram p(v);
  Forms& w = p.W();
  TForm1& f = *w.Form1;
  const int keys = v.HasKey10Dialog ? 9 : v.KeyCount;
  for (int key = 1; key <= keys; ++key)
    for (int kind = 0; kind < 3; ++kind) {
      AddKeyActionThroughDialog(w, key, kind);
      bench::AddEvents(f, kEventsEach);
    }
  if (v.HasKey10Dialog)
    for (int kind = 0; kind < 2; ++kind) {
      AddKeyActionThroughDialog(w, 10, kind);
      bench::AddEvents(f, kEventsEach);
    }
  EXPECT_TRUE(p.Boxes.Boxes.empty());
  return BuildSaveAsFile(v, *f.F.Model);
}

QStringList OpenedState(const Variant& v, const std::string& file, bool hold) {
  TestProgram p(v);
  TForm1& f = *p.W().Form1;
  f.HoldDuringLoads = hold;
  f.show();
  p.Dir.Write("largest.dat", file);
  p.Files.NextOpen = QString::fromStdString((p.Dir.Path() / "largest.dat").string());
  f.Open1Click();
  EXPECT_TRUE(p.Boxes.Boxes.empty());
  return EndState(f);
}

// The panel holds the model of 2 x 500 events as a download would leave it.
panelsim::StoredConfig Stored(const ConfigModel& m) {
  panelsim::StoredConfig c;
  for (int a = 1; a <= m.ActionCount; ++a) {
    panelsim::StoredAction s{static_cast<uint16_t>(a), m.Actions[a].Header, {}};
    for (int e = 1; e <= m.Actions[a].EventCount; ++e) {
      std::string frame = m.Actions[a].Events[e].Frame;
      frame[1] = static_cast<char>(e >> 8);
      frame[2] = static_cast<char>(e);
      s.Events.push_back(frame);
    }
    c.push_back(s);
  }
  return c;
}

QStringList UploadedState(const Variant& v, const panelsim::StoredConfig& stored, bool hold) {
  Linked t(v);
  t.F1.HoldDuringLoads = hold;
  t.F1.show();
  EXPECT_TRUE(LinkPanelAt(t.F1, "127.0.0.2"));  // the first show emptied the panel fields
  t.Sim.Core().SetStored(stored);
  EXPECT_TRUE(t.Upload(hold ? transfertest::kWaitMs : kReferenceUploadMs));
  EXPECT_TRUE(t.F1.LogText().contains(QStringLiteral("upload complete!!!")));
  EXPECT_TRUE(t.P.Boxes.Boxes.empty()) << t.BoxTexts().join(QStringLiteral("; ")).toStdString();
  return EndState(t.F1);
}

class LoadEndState : public ::testing::TestWithParam<const Variant*> {};
INSTANTIATE_TEST_SUITE_P(Builds, LoadEndState, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST_P(LoadEndState, OpenOfTheLargestProjectEndsAsRecordByRecord) {
  const Variant& v = *GetParam();
  const std::string file = LargestProject(v);
  ExpectSameState(OpenedState(v, file, true), OpenedState(v, file, false));
}

TEST_P(LoadEndState, UploadOfAThousandRecordsEndsAsRecordByRecord) {
  const Variant& v = *GetParam();
  panelsim::StoredConfig stored;
  {
    TestProgram p(v);
    Forms& w = p.W();
    for (int a = 1; a <= 2; ++a) {
      AddKeyActionThroughDialog(w, a, 0);
      bench::AddEvents(*w.Form1, kUploadedEach);
    }
    ASSERT_EQ(w.Model->Actions[2].EventCount, kUploadedEach);
    stored = Stored(*w.Model);
  }
  ExpectSameState(UploadedState(v, stored, true), UploadedState(v, stored, false));
}

}  // namespace
