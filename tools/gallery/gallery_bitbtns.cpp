#include <QWidget>

#include "controls/qelbitbtn.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

qel::Canvas BitBtn(TQelBitBtn::TBitBtnKind kind, TQelBitBtn::TButtonLayout layout, int margin, bool enabled, int w,
                   int h) {
  QWidget host;
  auto* b = new TQelBitBtn(QString(), &host);
  b->setGeometry(0, 0, w, h);
  b->SetKind(kind);
  b->SetLayout(layout);
  b->SetMargin(margin);
  b->setEnabled(enabled);
  return b->Paint();
}

}  // namespace

// Rows 1-2: the four layouts with Margin -1 and 2 (tall buttons), enabled
// then disabled. Rows 3-6: every stock kind, enabled and disabled.
qel::Canvas BitBtnSheet() {
  const int cellW = 92, tallH = 52, cellH = 32;
  qel::Canvas sheet(4 + 8 * cellW, 4 + 2 * (tallH + 6) + 4 * cellH);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clBtnFace);
  int y = 4;
  for (bool enabled : {true, false}) {
    int x = 4;
    for (int layout = TQelBitBtn::blGlyphLeft; layout <= TQelBitBtn::blGlyphBottom; ++layout)
      for (int margin : {-1, 2}) {
        sheet.DrawImage(
            x, y, BitBtn(TQelBitBtn::bkOK, TQelBitBtn::TButtonLayout(layout), margin, enabled, 84, tallH).Image());
        x += cellW;
      }
    y += tallH + 6;
  }
  int column = 0;
  for (int kind = TQelBitBtn::bkOK; kind <= TQelBitBtn::bkAll; ++kind)
    for (bool enabled : {true, false}) {
      const int x = 4 + (column % 8) * cellW, row = column / 8;
      sheet.DrawImage(x, y + row * cellH,
                      BitBtn(TQelBitBtn::TBitBtnKind(kind), TQelBitBtn::blGlyphLeft, 2, enabled, 84, 25).Image());
      ++column;
    }
  return sheet;
}

}  // namespace gallery
