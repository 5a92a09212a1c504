#include <QWidget>
#include <functional>

#include "controls/qellabel.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

using Setup = std::function<void(TQelLabel&)>;

constexpr int kCell = 110;

TQelLabel* Put(QWidget* host, const QString& caption, const QRect& r, const Setup& setup = {}) {
  auto* l = new TQelLabel(caption, host);
  l->SetAutoSize(false);
  l->setGeometry(r);
  if (setup) setup(*l);
  return l;
}

QRect Cell(int column, int row, int width = kCell - 6, int height = 30) {
  return {6 + column * kCell, 6 + row * 40, width, height};
}

QFont Bigger(const QFont& f) {
  QFont big = f;
  big.setPointSize(f.pointSize() + 4);
  big.setBold(true);
  return big;
}

}  // namespace

// Rows: every text style enabled, then disabled; border stacks; the same
// caption at 0, 45, 90, 180 and 270 degrees; text on an arc, a caption
// shortened at its end and one within its path; colours and layouts.
qel::Canvas LabelSheet() {
  QWidget host;
  host.resize(6 + 6 * kCell, 336);
  FaceBackground(host);

  const struct {
    const char* caption;
    TQelLabel::TTextStyle style;
    bool light;
  } styles[] = {{"Normal", TQelLabel::tsNormal, false},     {"Raised", TQelLabel::tsRaised, false},
                {"Recessed", TQelLabel::tsRecessed, false}, {"Shadow", TQelLabel::tsShadow, false},
                {"Light R", TQelLabel::tsRaised, true},     {"Light Rc", TQelLabel::tsRecessed, true}};
  for (int row = 0; row < 2; ++row)
    for (int i = 0; i < 6; ++i)
      Put(&host, QString::fromLatin1(styles[i].caption), Cell(i, row), [&](TQelLabel& l) {
        l.setFont(Bigger(l.font()));
        l.SetTextStyle(styles[i].style);
        l.SetLightTextStyle(styles[i].light);
        l.setEnabled(row == 0);
      });

  const struct {
    qel::TFrameStyleEx outer;
    int width;
    qel::TFrameStyleEx inner;
    TColor color;
  } borders[] = {{qel::fsFlat, 0, qel::fsNone, clWindow},    {qel::fsLowered, 2, qel::fsRaised, clBtnFace},
                 {qel::fsStatus, 0, qel::fsNone, clBtnFace}, {qel::fsFlatRounded, 1, qel::fsFlat, clWindow},
                 {qel::fsGroove, 0, qel::fsNone, clInfoBk},  {qel::fsButtonUp, 3, qel::fsButtonDown, clBtnFace}};
  for (int i = 0; i < 6; ++i)
    Put(&host, QStringLiteral("Border"), Cell(i, 2, kCell - 6, 34), [&](TQelLabel& l) {
      l.SetBorderOuter(borders[i].outer);
      l.SetBorderWidth(borders[i].width);
      l.SetBorderInner(borders[i].inner);
      l.SetBevelWidth(2);
      l.SetColor(borders[i].color);
      l.setAlignment(Qt::AlignHCenter);
      l.SetLayout(TQelLabel::tlCenter);
    });

  const int angles[] = {0, 45, 90, 180, 270};
  for (int i = 0; i < 5; ++i)
    Put(&host, QStringLiteral("Angle %1").arg(angles[i]), QRect(6 + i * kCell, 128, kCell - 6, 84), [&](TQelLabel& l) {
      l.SetBorderOuter(qel::fsFlat);
      l.setAlignment(Qt::AlignHCenter);
      l.SetRotation(TQelLabel::roFlat);
      l.SetAngle(angles[i]);
    });
  Put(&host, QStringLiteral("Left 90"), QRect(6 + 5 * kCell, 128, kCell - 6, 84), [](TQelLabel& l) {
    l.SetBorderOuter(qel::fsFlat);
    l.SetTextStyle(TQelLabel::tsRaised);
    l.SetAngle(90);
  });

  Put(&host, QStringLiteral("Text along an arc"), QRect(6, 222, 2 * kCell - 6, 100), [](TQelLabel& l) {
    l.SetBorderOuter(qel::fsLowered);
    l.SetRotation(TQelLabel::roCurve);
    l.SetCenterPoint(TQelLabel::cpLowerCenter);
    l.SetAngle(75);
  });
  Put(&host, QStringLiteral("A caption far too long for the box it is given"),
      QRect(6 + 2 * kCell, 222, 2 * kCell - 6, 22), [](TQelLabel& l) {
        l.SetBorderOuter(qel::fsFlat);
        l.SetCondenseCaption(TQelLabel::ccAtEnd);
      });
  Put(&host, QStringLiteral("C:\\Program Files\\Panel\\Library\\RS232\\projector.rss"),
      QRect(6 + 2 * kCell, 252, 2 * kCell - 6, 22), [](TQelLabel& l) {
        l.SetBorderOuter(qel::fsFlat);
        l.SetCondenseCaption(TQelLabel::ccWithinPath);
      });
  Put(&host, QStringLiteral("Words that wrap onto a second line"), QRect(6 + 2 * kCell, 282, 2 * kCell - 6, 40),
      [](TQelLabel& l) {
        l.SetBorderOuter(qel::fsLowered);
        l.setWordWrap(true);
      });
  Put(&host, QStringLiteral("Right, bottom"), QRect(6 + 4 * kCell, 222, 2 * kCell - 6, 40), [](TQelLabel& l) {
    l.SetBorderOuter(qel::fsFlat);
    l.SetColor(clInfoBk);
    l.setAlignment(Qt::AlignRight);
    l.SetLayout(TQelLabel::tlBottom);
  });
  Put(&host, QStringLiteral("Blink colour"), QRect(6 + 4 * kCell, 270, 2 * kCell - 6, 22), [](TQelLabel& l) {
    l.SetBlinking(true);
    TQelBlinkingControlsList::Instance()->Tick();
    TQelBlinkingControlsList::Instance()->Tick();
  });
  Put(&host, QStringLiteral("&Accelerator, 中文标签"), QRect(6 + 4 * kCell, 300, 2 * kCell - 6, 22));

  return Grabbed(host);
}

}  // namespace gallery
