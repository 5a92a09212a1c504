#pragma once
#include <QAbstractButton>
#include <QImage>
#include <QObject>

#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"

// The pictures of a bitmap button, one per state, and the colour that is
// see-through in every one of them.
class TQelButtonBitmaps : public QObject {
  Q_OBJECT

 public:
  explicit TQelButtonBitmaps(QObject* parent = nullptr) : QObject(parent) {}

  const QImage& Up() const { return up_; }
  void SetUp(const QImage& v) { Store(up_, v); }
  const QImage& UpAndFocused() const { return upAndFocused_; }
  void SetUpAndFocused(const QImage& v) { Store(upAndFocused_, v); }
  const QImage& Disabled() const { return disabled_; }
  void SetDisabled(const QImage& v) { Store(disabled_, v); }
  const QImage& Down() const { return down_; }
  void SetDown(const QImage& v) { Store(down_, v); }
  const QImage& StayDown() const { return stayDown_; }
  void SetStayDown(const QImage& v) { Store(stayDown_, v); }
  const QImage& Hot() const { return hot_; }
  void SetHot(const QImage& v) { Store(hot_, v); }
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor v);

 signals:
  // A picture was written (changed or not) or TransparentColor changed.
  void Changed();

 private:
  void Store(QImage& field, const QImage& v);

  QImage up_, upAndFocused_, disabled_, down_, stayDown_, hot_;
  TColor transparentColor_ = clOlive;
};

// A button drawn from its pictures: one per state, an optional caption and
// border. Every input and paint handler is its own; QAbstractButton's press,
// Space, auto-repeat and animated click never run.
class TQelBmpButton : public QAbstractButton, public qel::StyledControl {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)

 public:
  enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
  enum TButtonStyle { bsAutoDetect, bsWin31, bsNew };
  enum TButtonBorder { bbNone, bbSingle, bbButton };
  enum TBtnSize { bszNeither, bszButtonToBitmap, bszStretchToButton, bszTileToButton };
  enum TBmpState { stUp, stDisabled, stPressed, stStayDown };

  explicit TQelBmpButton(QWidget* parent = nullptr);
  ~TQelBmpButton() override;

  // The click: ModalResult to the window, then clicked (OnClick). A
  // disabled button does nothing, as a Qt button.
  void click();

  TQelButtonBitmaps* Bitmaps() const { return bitmaps_; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  // Only a grouped button goes down; the down one of a group comes up only
  // when the group allows all up.
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  int CaptionDownOffset() const { return captionDownOffset_; }
  void SetCaptionDownOffset(int v) { assign(captionDownOffset_, v); }
  TButtonLayout Layout() const { return layout_; }
  void SetLayout(TButtonLayout v) { assign(layout_, v); }
  // -1: computed by CalcBitmapLayout.
  int Spacing() const { return spacing_; }
  void SetSpacing(int v) { assign(spacing_, v); }
  int Margin() const { return margin_; }
  void SetMargin(int v);  // below -1 ignored
  TButtonStyle ButtonStyle() const { return buttonStyle_; }
  void SetButtonStyle(TButtonStyle v) {
    if (assign(buttonStyle_, v)) SizeToBitmap();
  }
  TButtonBorder ButtonBorder() const { return buttonBorder_; }
  void SetButtonBorder(TButtonBorder v) {
    if (assign(buttonBorder_, v)) SizeToBitmap();
  }
  TBtnSize ButtonSize() const { return buttonSize_; }
  void SetButtonSize(TBtnSize v) {
    if (assign(buttonSize_, v)) SizeToBitmap();
  }
  bool ShowFocus() const { return showFocus_; }
  void SetShowFocus(bool v) { assign(showFocus_, v); }
  bool ShowDownPattern() const { return showDownPattern_; }
  void SetShowDownPattern(bool v) { assign(showDownPattern_, v); }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { assign(color_, v); }
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor v) { assign(fontColor_, v); }
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  // TabStop: Tab reaches the button; without it only a click focuses it.
  bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus); }

  bool Pressing() const { return press_ != NoPress; }
  bool MouseOver() const { return mouseOver_; }
  TBmpState State() const { return state_; }

  // Whether bbButton draws the one-ring look (the old one is framed in black).
  bool NewStyle() const { return buttonStyle_ != bsWin31; }
  // Width of the border on each side: 0, 1, or 2 (new) or 3 (old) for bbButton.
  int BorderWidth() const;
  // With bszButtonToBitmap, Up's size plus the border; nothing while
  // loading, with bszNeither or without an Up picture.
  void SizeToBitmap();

  struct TBitmapLayout {
    qel::TRect Caption;
    // Where the picture goes; the face itself when the picture takes no
    // room (an empty one, or any size mode but bszNeither).
    qel::TRect Picture;
  };
  // Picture and caption placed in the face by Layout, Margin and Spacing.
  TBitmapLayout CalcBitmapLayout(const qel::TRect& face, const QImage& picture) const;

  // The whole control as it paints now, for tests and the gallery.
  qel::Canvas Paint();

  // The checker of a stay-down face, one for all bitmap buttons: made at
  // the first paint that needs it, released with the last button.
  static const qel::CanvasBrush* DownPatternBrush();
  static int Count();

 signals:
  void MouseEnter();
  void MouseLeave();
  // A double click on a Down button.
  void DblClick();

 protected:
  virtual void PaintAll(qel::Canvas& canvas);
  void loaded() override { SizeToBitmap(); }

  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  enum TPress { NoPress, MousePress, SpacePress };

  static const qel::CanvasBrush& MakeDownPatternBrush();
  // The look of a button at rest: stay-down when Down, else up.
  TBmpState RestState() const { return down_ ? stStayDown : stUp; }
  void SetState(TBmpState v);
  void FollowEnabled();
  void BitmapsChanged();
  void StartPress(TPress how);
  void FinishClick(bool inside);
  void NotifyBmpGroup();
  void BmpGroupMessage(int groupIndex, TQelBmpButton* sender);
  bool Inside(const QPoint& p) const { return p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() < height(); }
  const QImage* ChoosePicture(QImage& generated) const;
  void PaintCaption(qel::Canvas& canvas, const qel::TRect& r);

  TQelButtonBitmaps* bitmaps_;
  int groupIndex_ = 0;
  bool down_ = false;
  int captionDownOffset_ = 1;
  bool allowAllUp_ = false;
  TButtonLayout layout_ = blGlyphLeft;
  int spacing_ = 4;
  int margin_ = -1;
  TButtonStyle buttonStyle_ = bsAutoDetect;
  TButtonBorder buttonBorder_ = bbNone;
  TBtnSize buttonSize_ = bszButtonToBitmap;
  bool showFocus_ = true;
  bool showDownPattern_ = true;
  TColor color_ = clBtnFace;
  TColor fontColor_ = clWindowText;
  int modalResult_ = 0;
  TPress press_ = NoPress;
  bool hasFocus_ = false;
  bool mouseOver_ = false;
  TBmpState state_ = stUp;
};

namespace qel {

// The main window's link indicator: a dark lamp (Up, no panel linked) and
// a lit one (Disabled, its panel linked), 26 x 26 on clOlive, the
// TransparentColor to give them.
QImage LinkIndicatorUp();
QImage LinkIndicatorDisabled();

}  // namespace qel
