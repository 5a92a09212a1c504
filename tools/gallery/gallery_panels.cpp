#include <QPainter>
#include <QWidget>
#include <functional>

#include "controls/qelpanels.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

constexpr int kCell = 160;

// A light gradient under everything, so that see-through controls show it.
TQelBackground* Ground(QWidget& host) {
  auto* ground = new TQelBackground(&host);
  ground->setGeometry(0, 0, host.width(), host.height());
  ground->SetGradientColorStart(clMoneyGreen);
  ground->SetGradientColorStop(clSkyBlue);
  ground->SetGradientDirection(qel::gdDiagonalDown);
  return ground;
}

// A picture with a clear top-left corner and edges: a frame, a diagonal
// and a disc on white.
QImage Picture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter p(&image);
  p.setPen(Qt::darkBlue);
  p.drawRect(0, 0, width - 1, height - 1);
  p.setPen(Qt::red);
  p.drawLine(0, 0, width - 1, height - 1);
  p.setBrush(QColor(255, 200, 0));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPoint(width * 2 / 3, height / 3), height / 4, height / 4);
  return image;
}

QImage Checker(int size, QColor a, QColor b) {
  QImage image(2 * size, 2 * size, QImage::Format_RGB32);
  image.fill(a);
  QPainter p(&image);
  p.fillRect(size, 0, size, size, b);
  p.fillRect(0, size, size, size, b);
  return image;
}

}  // namespace

// Group boxes: a column per style (standard, custom, top line, flat), rows
// opaque with a caption, opaque without, see-through, disabled, right to
// left and the window's coloured frames. Then panels: borders, caption
// placements, the three grids, disabled and see-through.
qel::Canvas PanelSheet() {
  QWidget host;
  host.resize(6 + 4 * kCell, 6 + 6 * 76 + 3 * 66);
  Ground(host);

  const struct {
    TQelGroupBox::TQelGroupBoxStyle style;
    const char* name;
  } styles[] = {{TQelGroupBox::gsStandard, "Standard"},
                {TQelGroupBox::gsCustom, "Custom"},
                {TQelGroupBox::gsTopLine, "Top line"},
                {TQelGroupBox::gsFlat, "Flat"}};
  const struct {
    const char* suffix;
    std::function<void(TQelGroupBox&)> setup;
  } rows[] = {
      {"", [](TQelGroupBox&) {}},
      {nullptr, [](TQelGroupBox&) {}},
      {", see-through", [](TQelGroupBox& b) { b.SetTransparent(true); }},
      {", &disabled", [](TQelGroupBox& b) { b.setEnabled(false); }},
      {", RTL", [](TQelGroupBox& b) { b.setLayoutDirection(Qt::RightToLeft); }},
      {", coloured",
       [](TQelGroupBox& b) {
         b.SetTransparent(true);
         b.SetFlatColor(b.GroupStyle() == TQelGroupBox::gsTopLine ? clNavy
                        : b.GroupStyle() == TQelGroupBox::gsFlat  ? clLime
                                                                  : clBlue);
         b.SetBorderOuter(qel::fsFlat);
         b.SetBorderInner(b.GroupStyle() == TQelGroupBox::gsCustom ? qel::fsLowered : qel::fsNone);
       }},
  };
  for (int row = 0; row < 6; ++row)
    for (int column = 0; column < 4; ++column) {
      const QString caption = rows[row].suffix
                                  ? QString::fromLatin1(styles[column].name) + QString::fromLatin1(rows[row].suffix)
                                  : QString();
      auto* box = new TQelGroupBox(caption, &host);
      box->setGeometry(6 + column * kCell, 6 + row * 76, kCell - 8, 70);
      box->SetGroupStyle(styles[column].style);
      rows[row].setup(*box);
    }

  const int panels = 6 + 6 * 76;
  const struct {
    const char* caption;
    std::function<void(TQelPanel&)> setup;
  } panelCells[] = {
      {"Raised", [](TQelPanel&) {}},
      {"Lowered, ring, raised",
       [](TQelPanel& p) {
         p.SetBorderOuter(qel::fsLowered);
         p.SetBorderWidth(3);
         p.SetBorderInner(qel::fsRaised);
       }},
      {"Status, bevel 3",
       [](TQelPanel& p) {
         p.SetBorderOuter(qel::fsStatus);
         p.SetBevelWidth(3);
         p.SetColor(clInfoBk);
       }},
      {"Rounded, flat inside",
       [](TQelPanel& p) {
         p.SetBorderOuter(qel::fsFlatRounded);
         p.SetBorderWidth(1);
         p.SetBorderInner(qel::fsFlat);
         p.SetColor(clWindow);
       }},
      {"Top left",
       [](TQelPanel& p) {
         p.SetAlignment(TQelPanel::taLeftJustify);
         p.SetAlignmentVertical(TQelPanel::avTop);
       }},
      {"Bottom right",
       [](TQelPanel& p) {
         p.SetAlignment(TQelPanel::taRightJustify);
         p.SetAlignmentVertical(TQelPanel::avBottom);
       }},
      {"A caption long enough to wrap onto lines", [](TQelPanel&) {}},
      {"Disabled", [](TQelPanel& p) { p.setEnabled(false); }},
      {"",
       [](TQelPanel& p) {
         p.SetShowGrid(true);
         p.SetGridStyle(TQelPanel::gsDots);
         p.SetGridColor(clBlack);
       }},
      {"",
       [](TQelPanel& p) {
         p.SetShowGrid(true);
         p.SetGridStyle(TQelPanel::gsDottedLines);
         p.SetGridXSize(12);
       }},
      {"",
       [](TQelPanel& p) {
         p.SetShowGrid(true);
         p.SetGridStyle(TQelPanel::gsSolidLines);
         p.SetGridYSize(6);
         p.SetColor(clWindow);
       }},
      {"See-through, flat sides",
       [](TQelPanel& p) {
         p.SetTransparent(true);
         p.SetBorderOuter(qel::fsFlat);
         p.SetFlatColor(clRed);
         p.SetBorderSides(qel::sdLeft | qel::sdBottom);
       }},
  };
  for (int i = 0; i < 12; ++i) {
    auto* panel = new TQelPanel(&host);
    panel->SetCaption(QString::fromLatin1(panelCells[i].caption));
    panel->setGeometry(6 + (i % 4) * kCell, panels + (i / 4) * 66, kCell - 8, 58);
    panelCells[i].setup(*panel);
  }
  return Grabbed(host);
}

// Rows: the picture by each image style (over the gradient; stretched and
// tiled ones hide it), then a texture, gradients and Active off, then the
// frames.
qel::Canvas BackgroundSheet() {
  constexpr int kWidth = 120, kHeight = 80, kStep = 128;
  QWidget host;
  host.resize(6 + 5 * kStep, 6 + 3 * (kHeight + 8));
  host.setAutoFillBackground(true);
  const auto put = [&](int column, int row, const std::function<void(TQelBackground&)>& setup) {
    auto* b = new TQelBackground(&host);
    b->setGeometry(6 + column * kStep, 6 + row * (kHeight + 8), kWidth, kHeight);
    setup(*b);
  };
  const QImage picture = Picture(56, 36);
  const TQelBackground::TImageStyle imageStyles[] = {TQelBackground::isCenter, TQelBackground::isClip,
                                                     TQelBackground::isFill, TQelBackground::isStretch,
                                                     TQelBackground::isTiled};
  for (int i = 0; i < 5; ++i)
    put(i, 0, [&](TQelBackground& b) {
      b.SetImage(picture);
      b.SetShowImage(true);
      b.SetImageStyle(imageStyles[i]);
    });

  put(0, 1, [](TQelBackground& b) {
    b.SetTexture(Checker(6, QColor(230, 230, 230), QColor(180, 200, 230)));
    b.SetShowTexture(true);
  });
  const qel::TGradientDirection directions[] = {qel::gdDiagonalUp, qel::gdVerticalCenter, qel::gdSquareBox};
  for (int i = 0; i < 3; ++i)
    put(1 + i, 1, [&](TQelBackground& b) {
      b.SetGradientDirection(directions[i]);
      b.SetGradientColorStart(clYellow);
      b.SetGradientColorStop(clRed);
      b.SetGradientSmoothFactor(qel::TSmoothFactor(1 + 3 * i));
    });
  put(4, 1, [&](TQelBackground& b) {
    b.SetActive(false);
    b.SetImage(picture);
    b.SetShowImage(true);
  });

  const qel::TFrameStyle frames[] = {qel::fsFlat, qel::fsGroove, qel::fsLowered, qel::fsRaised, qel::fsFlatBold};
  for (int i = 0; i < 5; ++i)
    put(i, 2, [&](TQelBackground& b) {
      b.SetFrameStyle(frames[i]);
      b.SetFrameColor(clRed);
      b.SetImage(picture);
      b.SetShowImage(true);
      b.SetImageStyle(TQelBackground::isClip);
    });
  return Grabbed(host);
}

}  // namespace gallery
