#include <QApplication>
#include <QMouseEvent>
#include <functional>
#include <memory>
#include <vector>

#include "controls/qeledits.h"
#include "controls/qellabel.h"
#include "controls/qeltabs.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

const char* const kProgram[] = {"RS232/485", "IR", "TCP/IP", "Delay", "Compare", "LED", "Toggle"};

// A page control of the program's size in a clBtnFace host, its pages
// holding a label and an edit each.
struct Pages {
  std::unique_ptr<QWidget> host{new QWidget};
  TQelPageControl* pages;
  Pages(int w, int h) {
    host->resize(w + 8, h + 8);
    FaceBackground(*host);
    pages = new TQelPageControl(host.get());
    pages->setGeometry(4, 4, w, h);
    for (const char* caption : kProgram) {
      TQelTabSheet* s = pages->AddSheet(QString::fromLatin1(caption));
      auto* label = new TQelLabel(QString::fromLatin1(caption) + QStringLiteral(" page:"), s);
      label->setGeometry(8, 12, 110, 20);
      auto* edit = new TQelEdit(s);
      edit->setGeometry(120, 10, 120, 22);
    }
    pages->SetFlatColor(clAqua);
    pages->SetTabStyle(qel::tsDoubleSlant);
    pages->SetTransparent(true);
    pages->SetColor(clWindow);
    pages->SetActivePage(pages->Page(0));
  }
  QImage Shot() {
    host->show();
    QApplication::processEvents();
    // Shown without the focus a new window gives its first child.
    pages->clearFocus();
    pages->UpdateLayout();
    QApplication::processEvents();
    return host->grab().toImage();
  }
};

void Hover(TQelPageControl* pages, int tab) {
  const qel::TRect r = pages->TabClientRect(tab);
  const QPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 2);
  QMouseEvent e(QEvent::MouseMove, QPointF(at), QPointF(pages->mapToGlobal(at)), Qt::NoButton, Qt::NoButton,
                Qt::NoModifier);
  QApplication::sendEvent(pages, &e);
}

}  // namespace

// Row 1: the program's page control on its first page, on "Delay" with
// "Compare" hovered, and with the close button. Row 2: coloured pages
// (yellow, blue, green), "IR" without a tab and "TCP/IP" disabled, a page
// painted by its own handler.
qel::Canvas PageControlSheet() {
  const int gap = 8, w = 468, h = 200;
  const int sheetW = gap + 3 * (w + 8 + gap), sheetH = gap + 2 * (h + 8 + gap);
  qel::Canvas sheet(sheetW, sheetH);
  sheet.FillRect({0, 0, sheetW, sheetH}, clWindow);
  const std::vector<std::function<void(TQelPageControl*)>> setups = {
      [](TQelPageControl*) {},
      [](TQelPageControl* p) {
        p->SetTabIndex(3);
        Hover(p, 4);
      },
      [](TQelPageControl* p) { p->SetShowCloseButton(true); },
      [](TQelPageControl* p) {
        p->Page(0)->SetColor(clYellow);
        p->Page(1)->SetColor(RGB(0x60, 0xA0, 0xFF));
        p->Page(2)->SetColor(RGB(0x80, 0xD0, 0x80));
      },
      [](TQelPageControl* p) {
        p->Page(1)->SetTabVisible(false);
        p->Page(2)->SetTabEnabled(false);
        p->SetTabIndex(2);
      },
      [](TQelPageControl* p) {
        QObject::connect(p->Page(0), &TQelTabSheet::PaintBackground,
                         [](qel::Canvas& c, const qel::TRect& r, bool& handled) {
                           for (int y = r.Top; y < r.Bottom; y += 8)
                             c.FillRect({r.Left, y, r.Right, y + 4}, RGB(0xE0, 0xF0, 0xFF));
                           handled = true;
                         });
      },
  };
  for (std::size_t i = 0; i < setups.size(); ++i) {
    Pages cell(w, h);
    cell.host->show();
    QApplication::processEvents();
    setups[i](cell.pages);
    const int x = gap + int(i % 3) * (w + 8 + gap), y = gap + int(i / 3) * (h + 8 + gap);
    sheet.DrawImage(x, y, cell.Shot());
  }
  return sheet;
}

}  // namespace gallery
