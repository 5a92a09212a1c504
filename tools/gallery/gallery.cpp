// gallery [FOLDER]: writes the drawing core's sheets into FOLDER (default
// "gallery") at 4x zoom, for a person to look at.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QImage>
#include <QPalette>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "controls/qelborders.h"
#include "controls/qeldraw.h"
#include "tools/gallery/sheets.h"

namespace gallery {

void Activate(QWidget* window) {
  window->show();
  window->activateWindow();
  QElapsedTimer t;
  t.start();
  while (!window->isActiveWindow() && t.elapsed() < 2000) QApplication::processEvents(QEventLoop::AllEvents, 20);
}

void FaceBackground(QWidget& host, bool fill) {
  host.setAutoFillBackground(fill);
  QPalette palette = host.palette();
  palette.setColor(QPalette::Window, QColor::fromRgb(ColorToQRgb(clBtnFace)));
  host.setPalette(palette);
}

void Hover(QWidget* w) {
  QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(w->mapToGlobal(QPoint(2, 2))));
  QApplication::sendEvent(w, &e);
}

qel::Canvas Grabbed(QWidget& host) {
  const QImage image = host.grab().toImage();
  qel::Canvas sheet(image.width(), image.height());
  sheet.DrawImage(0, 0, image);
  return sheet;
}

}  // namespace gallery

namespace {

constexpr int kZoom = 4;

bool Save(const qel::Canvas& canvas, const QDir& folder, const char* name) {
  const QImage& image = canvas.Image();
  const QImage zoomed = image.scaled(image.size() * kZoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  const QString path = folder.filePath(QString::fromLatin1(name));
  if (!zoomed.save(path)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
  }
  std::printf("%s\n", qPrintable(path));
  return true;
}

// Every direction in rows; per row: two colour pairs, smoothing 1 and 16,
// a wide and a tall box.
qel::Canvas GradientSheet() {
  struct Pair {
    TColor a, b;
  };
  const Pair pairs[] = {{clRed, clBlue}, {clBtnFace, clBtnShadow}};
  const int smoothings[] = {1, 16};
  const int cell = 70, wide = 64, tall = 20;
  const int columns = 2 * 2 * 2;
  qel::Canvas sheet(columns * cell + 4, 10 * cell + 4);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clWindow);
  for (int d = qel::gdDiagonalUp; d <= qel::gdBigSquareBox; ++d) {
    int column = 0;
    for (const Pair& p : pairs)
      for (int s : smoothings)
        for (bool isWide : {true, false}) {
          const int x = 4 + column * cell, y = 4 + d * cell;
          const int w = isWide ? wide : tall, h = isWide ? tall : wide;
          qel::PaintGradientRect(sheet, {x, y, x + w, y + h}, qel::TGradientDirection(d), qel::TSmoothFactor(s), p.a,
                                 p.b);
          ++column;
        }
  }
  return sheet;
}

// Rows: every frame style in system colours, then derived from clBtnFace
// and from a blue; then double, rounded and focus frames; then arrows
// (drop, up, down, left, right) plain and themed, enabled, pressed, disabled.
qel::Canvas BorderSheet() {
  const int cell = 28, box = 22;
  qel::Canvas sheet(4 + 15 * cell, 4 + 6 * cell);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clBtnFace);
  auto at = [&](int column, int row) {
    const int x = 4 + column * cell, y = 4 + row * cell;
    return qel::TRect{x, y, x + box, y + box};
  };
  for (int style = qel::fsNone; style <= qel::fsFlatRounded; ++style) {
    qel::PaintBorder(sheet, at(style, 0), qel::TFrameStyle(style));
    qel::PaintColoredBorder(sheet, at(style, 1), clBtnFace, qel::TFrameStyleEx(style));
    qel::PaintColoredBorder(sheet, at(style, 2), RGB(0x40, 0x80, 0xE0), qel::TFrameStyleEx(style));
  }
  qel::DoubleBorder d;
  d.outerStyle = qel::fsFlat;
  d.borderWidth = 2;
  d.innerStyle = qel::fsLowered;
  qel::PaintDoubleBorder(sheet, at(0, 3), d);
  d.outerStyle = qel::fsFlatRounded;
  d.innerStyle = qel::fsFlat;
  d.squareInner = true;
  qel::PaintDoubleBorder(sheet, at(1, 3), d);
  d.outerStyle = qel::fsRaised;
  d.innerStyle = qel::fsFlatRounded;
  d.squareInner = false;
  qel::PaintDoubleBorder(sheet, at(2, 3), d);
  qel::PaintRoundedFlatFrame(sheet, at(3, 3), clBtnShadow, qel::sdAllSides);
  qel::PaintRoundedFlatFrame(sheet, at(4, 3), clBtnShadow, qel::sdTop | qel::sdLeft | qel::sdRight);
  qel::PaintFocusFrame(sheet, at(5, 3));
  struct State {
    bool enabled, pressed;
  };
  const State states[] = {{true, false}, {true, true}, {false, false}};
  for (int row = 4; row <= 5; ++row)
    for (int i = 0; i < 3; ++i) {
      const bool themed = row == 5;
      const int first = i * 5;
      sheet.FillRect(at(first, row), clWindow);
      qel::PaintDropArrow(sheet, at(first, row), themed, states[i].enabled, states[i].pressed);
      for (int dir = qel::adUp; dir <= qel::adRight; ++dir) {
        sheet.FillRect(at(first + 1 + dir, row), clWindow);
        qel::PaintDirectionArrow(sheet, at(first + 1 + dir, row), themed, states[i].enabled, states[i].pressed, dir);
      }
    }
  return sheet;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);  // takes Qt's own options out of argv
  if (argc > 1 && argv[1][0] == '-') {
    // --help, or an option meant for something else: not a folder name.
    const bool help = std::strcmp(argv[1], "-h") == 0 || std::strcmp(argv[1], "--help") == 0;
    std::fprintf(help ? stdout : stderr,
                 "usage: gallery [FOLDER]\nWrites the styled controls' sheets into FOLDER (default \"gallery\").\n");
    return help ? 0 : 2;
  }
  const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("gallery"));
  if (!QDir().mkpath(folder.path())) {
    std::fprintf(stderr, "cannot create %s\n", qPrintable(folder.path()));
    return 1;
  }
  const bool ok =
      Save(GradientSheet(), folder, "gradients.png") && Save(BorderSheet(), folder, "borders.png") &&
      Save(gallery::LabelSheet(), folder, "labels.png") && Save(gallery::ButtonSheet(), folder, "buttons.png") &&
      Save(gallery::BitBtnSheet(), folder, "bitbtns.png") && Save(gallery::RadioSheet(), folder, "radios.png") &&
      Save(gallery::BmpButtonSheet(), folder, "bmpbuttons.png") && Save(gallery::PanelSheet(), folder, "panels.png") &&
      Save(gallery::BackgroundSheet(), folder, "backgrounds.png") && Save(gallery::EditSheet(), folder, "edits.png") &&
      Save(gallery::ComboListSheet(), folder, "combolists.png") &&
      Save(gallery::TrackBarSheet(), folder, "trackbars.png") &&
      Save(gallery::TabPartsSheet(), folder, "tabparts.png") &&
      Save(gallery::TabControlSheet(), folder, "tabcontrols.png") &&
      Save(gallery::PageControlSheet(), folder, "pagecontrols.png");
  return ok ? 0 : 1;
}
