#include <QApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

#include "controls/qeltabs.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

// The tab control with a list of its own.
class DemoTabs : public TQelCustomTabControl {
 public:
  using TQelCustomTabControl::TQelCustomTabControl;
  void SetCaptions(std::initializer_list<const char*> captions) {
    TabData().Clear();
    for (const char* c : captions) TabData().Add().Caption = QString::fromLatin1(c);
    RequestLayout();
  }
  TQelTabData& Tab(int i) { return TabData().Items(i); }
  void Changed() { RequestLayout(); }
};

// A host with a diagonal gradient, to show what a Transparent control
// lets through.
class GradientHost : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(0, 0, width(), height());
    g.setColorAt(0, QColor(0xF0, 0xD0, 0x90));
    g.setColorAt(1, QColor(0x70, 0xA0, 0xD0));
    p.fillRect(rect(), g);
  }
};

void Send(QWidget* w, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), button, held, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

QPoint Middle(const qel::TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 2}; }

// One control in a host of the control's size plus a 4-pixel rim in
// clBtnFace (or a gradient); the picture is the host as Qt composes it.
struct Cell {
  std::unique_ptr<QWidget> host;
  DemoTabs* tabs;
  Cell(int w, int h, bool gradient = false) : host(gradient ? new GradientHost : new QWidget) {
    host->resize(w + 8, h + 8);
    FaceBackground(*host, !gradient);
    tabs = new DemoTabs(host.get());
    tabs->setGeometry(4, 4, w, h);
    tabs->SetColor(clWindow);
  }
  // Shown without the focus a new window gives its first child.
  void Show() {
    host->show();
    QApplication::processEvents();
    if (!focused) tabs->clearFocus();
    tabs->UpdateLayout();
  }
  bool focused = false;
  QImage Shot() {
    Show();
    QApplication::processEvents();
    return host->grab().toImage();
  }
};

// Three small pictures: a red square, a green disc, and a blue triangle.
TQelImageList* Pictures(QObject* owner) {
  auto* list = new TQelImageList(14, 14, owner);
  QImage square(14, 14, QImage::Format_ARGB32);
  square.fill(Qt::transparent);
  {
    QPainter p(&square);
    p.fillRect(2, 2, 10, 10, QColor(0xD0, 0x30, 0x30));
  }
  list->Add(square);
  QImage disc(14, 14, QImage::Format_ARGB32);
  disc.fill(Qt::transparent);
  {
    QPainter p(&disc);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x30, 0xA0, 0x40));
    p.drawEllipse(1, 1, 12, 12);
  }
  list->Add(disc);
  return list;
}

const std::initializer_list<const char*> kShort = {"&One", "Two", "Three"};
const std::initializer_list<const char*> kSide = {"&One", "Two", "Six"};
const std::initializer_list<const char*> kProgram = {"RS232/485", "IR", "TCP/IP", "&Delay", "Compare", "LED", "Toggle"};

}  // namespace

// Rows 1 to 4: each style (a row each: single slant, double slant, cut
// corner, round corners) on each edge (top, left, bottom, right; the side
// strips with vertical text), standard then reverse; tab 1 current. Row 5: three rows, a scrolled strip, hot
// tab 2 as tab bar in the complement and in the actual colour, hot text,
// a disabled tab, the focus. Row 6: coloured tabs, images left, top,
// right, bottom, behind and stretched. Row 7: vertical text on each edge,
// the close button, a drag mark over tab 3, Transparent over a gradient.
// Row 8: the program's page control.
qel::Canvas TabControlSheet() {
  const int gap = 8;
  const int styleW = 170, styleH = 190;
  const int stateW = 230, stateH = 110;
  const int sheetW = gap + std::max(8 * (styleW + 8 + gap), 7 * (stateW + 8 + gap));
  const int sheetH = gap + 4 * (styleH + 8 + gap) + 3 * (stateH + 8 + gap) + 352 + gap;
  qel::Canvas sheet(sheetW, sheetH);
  sheet.FillRect({0, 0, sheetW, sheetH}, clWindow);
  int y = gap;
  for (int style = qel::tsSingleSlant; style <= qel::tsRoundCorners; ++style) {
    int x = gap;
    for (int o = qel::toTop; o <= qel::toRight; ++o)
      for (int sequence : {qel::tsStandard, qel::tsReverse}) {
        Cell cell(styleW, styleH);
        const bool side = o == qel::toLeft || o == qel::toRight;
        cell.tabs->SetCaptions(side ? kSide : kShort);
        cell.tabs->SetTabStyle(qel::TQelTabStyle(style));
        cell.tabs->SetTabOrientation(qel::TQelTabOrientation(o));
        cell.tabs->SetTabSequence(qel::TQelTabSequence(sequence));
        // Side strips are made for turned captions.
        if (side) cell.tabs->SetTextOrientation(qel::orVertical);
        cell.tabs->SetTabIndex(1);
        sheet.DrawImage(x, y, cell.Shot());
        x += styleW + 8 + gap;
      }
    y += styleH + 8 + gap;
  }

  auto row = [&](const std::vector<std::function<void(Cell&)>>& setups, bool gradientLast = false) {
    int x = gap;
    for (std::size_t i = 0; i < setups.size(); ++i) {
      Cell cell(stateW, stateH, gradientLast && i + 1 == setups.size());
      cell.tabs->SetCaptions(kShort);
      cell.tabs->SetTabIndex(0);
      setups[i](cell);
      sheet.DrawImage(x, y, cell.Shot());
      x += stateW + 8 + gap;
    }
    y += stateH + 8 + gap;
  };
  auto hover = [](Cell& cell, int tab) {
    cell.Show();
    Send(cell.tabs, QEvent::MouseMove, Middle(cell.tabs->TabClientRect(tab)), Qt::NoButton);
  };
  row({
      [](Cell& c) {
        c.tabs->SetCaptions(kProgram);
        c.tabs->SetMultiLine(true);
        c.tabs->SetTabIndex(3);
      },
      [](Cell& c) {
        c.tabs->SetCaptions(kProgram);
        c.tabs->SetTabStyle(qel::tsDoubleSlant);
        c.Show();
        c.tabs->ScrollTabs(true);
        c.tabs->SetTabIndex(2);
      },
      [&](Cell& c) { hover(c, 2); },
      [&](Cell& c) {
        c.tabs->SetHotTrackColorType(TQelCustomTabControl::htctActual);
        hover(c, 2);
      },
      [&](Cell& c) {
        c.tabs->SetHotTrackStyle(TQelCustomTabControl::htsText);
        c.tabs->SetHotTrackColor(clRed);
        hover(c, 2);
      },
      [](Cell& c) {
        c.tabs->Tab(2).Enabled = false;
        c.tabs->Changed();
      },
      [](Cell& c) {
        Activate(c.host.get());
        c.focused = true;
        c.tabs->setFocus();
      },
  });
  TQelImageList* pictures = nullptr;
  auto images = [&](qel::TQelImagePosition position) {
    return [&, position](Cell& c) {
      if (!pictures) pictures = Pictures(nullptr);
      c.tabs->SetImages(pictures);
      c.tabs->SetImagePosition(position);
      c.tabs->SetTabStyle(qel::tsRoundCorners);
      c.tabs->Tab(0).ImageIndex = 0;
      c.tabs->Tab(1).ImageIndex = 1;
      c.tabs->Tab(2).ImageIndex = 0;
      c.tabs->Tab(2).Enabled = false;
      c.tabs->Changed();
    };
  };
  row({
      [](Cell& c) {
        c.tabs->SetUseColoredTabs(true);
        c.tabs->Tab(0).Color = clYellow;
        c.tabs->Tab(1).Color = RGB(0x60, 0xA0, 0xFF);
        c.tabs->Tab(2).Color = RGB(0x80, 0xD0, 0x80);
      },
      images(qel::ipLeft),
      images(qel::ipTop),
      images(qel::ipRight),
      images(qel::ipBottom),
      images(qel::ipBack),
      images(qel::ipStretch),
  });
  auto vertical = [](qel::TQelTabOrientation o) {
    return [o](Cell& c) {
      c.tabs->SetTextOrientation(qel::orVertical);
      c.tabs->SetTabStyle(qel::tsCutCorner);
      c.tabs->SetTabOrientation(o);
    };
  };
  row({
          vertical(qel::toTop),
          vertical(qel::toLeft),
          vertical(qel::toBottom),
          vertical(qel::toRight),
          [](Cell& c) {
            c.tabs->SetShowCloseButton(true);
            c.tabs->SetTabStyle(qel::tsDoubleSlant);
          },
          [](Cell& c) {
            c.tabs->SetCaptions(kProgram);
            c.tabs->SetTabStyle(qel::tsDoubleSlant);
            c.tabs->SetAllowTabDragging(true);
            c.Show();
            const QPoint from = Middle(c.tabs->TabClientRect(0));
            Send(c.tabs, QEvent::MouseButtonPress, from, Qt::LeftButton);
            Send(c.tabs, QEvent::MouseMove, from + QPoint(20, 0), Qt::LeftButton);
            Send(c.tabs, QEvent::MouseMove, Middle(c.tabs->TabClientRect(2)), Qt::LeftButton);
          },
          [](Cell& c) {
            c.tabs->SetTransparent(true);
            c.tabs->SetTabStyle(qel::tsDoubleSlant);
          },
      },
      true);
  {
    Cell cell(468, 344, true);
    cell.tabs->SetCaptions(kProgram);
    cell.tabs->SetTabStyle(qel::tsDoubleSlant);
    cell.tabs->SetFlatColor(clAqua);
    cell.tabs->SetTransparent(true);
    cell.tabs->SetTabIndex(0);
    sheet.DrawImage(gap, y, cell.Shot());
  }
  delete pictures;
  return sheet;
}

}  // namespace gallery
