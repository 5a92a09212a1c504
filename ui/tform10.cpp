#include "ui/tform10.h"

#include <QMouseEvent>

#include "link/panellink.h"
#include "link/protocol.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/tform1.h"

using namespace layout;

namespace {

constexpr uint8_t kQuestions[] = {cmd::LinkStatus, cmd::MachineType, cmd::SoftwareVersion, cmd::IpInfo, cmd::Mac};

}  // namespace

TForm10::TForm10(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form10"));
  setWindowTitle(Utf8(kSystemMessage));
  setFixedSize(330, 276);

  const struct {
    TQelLabel** Caption;
    const char* CaptionName;
    const char* CaptionText;
    TQelLabel** Value;
    const char* ValueName;
    const char* ValueText;
    int Height;
  } rows[] = {{&Label1, "Label1", kLinkStatus, &Label6, "Label6", kLinkAbnormal, 22},
              {&Label2, "Label2", kMachineType, &Label7, "Label7", kNotReported, 22},
              {&Label3, "Label3", kSoftwareVersion, &Label8, "Label8", kNotReported, 22},
              {&Label4, "Label4", kIpInfo, &Label9, "Label9", kNotReported, 76},
              {&Label5, "Label5", kMac, &Label10, "Label10", kNoMac, 22}};
  int y = 16;
  int k = 0;
  for (const auto& r : rows) {
    *r.Caption = Place(new TQelLabel(Utf8(r.CaptionText), this), r.CaptionName, QRect(18, y, 120, 22));
    (*r.Caption)->setCursor(Qt::PointingHandCursor);
    (*r.Caption)->installEventFilter(this);
    captions_[k++] = *r.Caption;
    *r.Value = Place(new TQelLabel(Utf8(r.ValueText), this), r.ValueName, QRect(146, y, 168, r.Height));
    (*r.Value)->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    (*r.Value)->setFrameShape(QFrame::StyledPanel);
    (*r.Value)->setContentsMargins(4, 2, 4, 2);
    y += r.Height + 20;
  }
}

bool TForm10::eventFilter(QObject* watched, QEvent* e) {
  if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton)
    for (int k = 0; k < 5; ++k)
      if (watched == captions_[k]) LabelClick(k + 1);
  return QDialog::eventFilter(watched, e);
}

void TForm10::LabelClick(int k) {
  if (k >= 1 && k <= 5) F.Form1->CommandPanel(kQuestions[k - 1], this);
}
