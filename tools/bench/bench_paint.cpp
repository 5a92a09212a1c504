// Drawing speed: the shown main window rendered whole, offscreen, and the
// two canvas fills that cost most on a large canvas. One RESULT line a
// program.
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <vector>

#include "controls/qelcanvas.h"
#include "controls/qeldraw.h"
#include "tools/bench/benchkit.h"
#include "ui/tform1.h"
#include "ui/tform1_controls.h"

namespace {

using namespace bench;

constexpr int kWide = 1920, kHigh = 1080;

template <class F>
double MedianMs(int runs, F f) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto t0 = Clock::now();
    f();
    times.push_back(Ms(t0, Clock::now()));
  }
  return Median(times);
}

// Every paint of the window from scratch: QWidget::render paints each
// widget anew, and the events between renders run outside the clock.
double WindowRenderMs(TForm1& f) {
  QImage target(f.size() * f.devicePixelRatio(), QImage::Format_ARGB32_Premultiplied);
  target.setDevicePixelRatio(f.devicePixelRatio());
  std::vector<double> times;
  for (int i = 0; i < 30; ++i) {
    QCoreApplication::processEvents();
    target.fill(Qt::white);
    const auto t0 = Clock::now();
    f.render(&target);
    times.push_back(Ms(t0, Clock::now()));
  }
  return Median(times);
}

double DiagonalMs() {
  qel::Canvas canvas(kWide, kHigh);
  return MedianMs(5, [&] {
    qel::PaintGradientRect(canvas, {0, 0, kWide, kHigh}, qel::gdDiagonalUp, 1, clBlue, clYellow);
  });
}

double FillRectMs() {
  qel::Canvas canvas(kWide, kHigh);
  canvas.IntersectClipRect({10, 10, 1910, 1070});
  int round = 0;
  return MedianMs(5, [&] { canvas.FillRect({0, 0, kWide, kHigh}, round++ % 2 ? clRed : clNavy); });
}

int Run(const Variant& v) {
  Program p(v, "bench_paint");
  TForm1& f = *p.W().Form1;
  f.show();
  f.QelPageControl1->SetTabIndex(0);
  Settle(f);
  const double window = WindowRenderMs(f);
  const double diagonal = DiagonalMs();
  const double fill = FillRectMs();
  std::printf("RESULT bench_paint variant=%s window_render_ms=%.2f diagonal_1080p_ms=%.2f fillrect_1080p_ms=%.2f\n",
              v.Name.c_str(), window, diagonal, fill);
  std::fflush(stdout);
  return p.Boxes.Count == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return MainOnLoopback(argc, argv, [] { return Run(kVantor) | Run(kQuillet); });
}
