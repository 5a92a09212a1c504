#pragma once
#include <QAbstractButton>
#include <QPushButton>
#include <functional>

#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"

// Owner-drawn button: tracks focus, the pointer and the pressed look, and
// draws its caption with 3-D effects. Every input and paint handler is ours;
// QAbstractButton's own press, Space, auto-repeat and animated click never run.
class TQelCustomButton : public QAbstractButton, public qel::StyledControl {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)

 public:
  enum TAlignmentVertical { avTop, avCenter, avBottom };
  enum TQelHotTrackColorType { htctComplement, htctActual };
  enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };

  explicit TQelCustomButton(QWidget* parent = nullptr);

  // Sets the caption and repaints at once.
  void setText(const QString& text);

  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor v) { assign(fontColor_, v); }
  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  void SetAlignmentVertical(TAlignmentVertical v) { assign(alignmentVertical_, v); }
  TColor HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor v) { hotTrackColor_ = v; }
  TQelHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TQelHotTrackColorType v) { hotTrackColorType_ = v; }
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor v) { assign(highlightColor_, v); }
  bool LightTextStyle() const { return lightTextStyle_; }
  void SetLightTextStyle(bool v) { assign(lightTextStyle_, v); }
  TTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TTextStyle v) { assign(textStyle_, v); }
  TColor TextHighlightColor() const { return textHighlightColor_; }
  void SetTextHighlightColor(TColor v) { assign(textHighlightColor_, v); }
  TColor TextShadowColor() const { return textShadowColor_; }
  void SetTextShadowColor(TColor v) { assign(textShadowColor_, v); }
  int TextShadowDepth() const { return textShadowDepth_; }
  void SetTextShadowDepth(int v) { assign(textShadowDepth_, v); }
  bool HotTrack() const { return hotTrack_; }
  virtual void SetHotTrack(bool v) { assign(hotTrack_, v); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // No visual styles exist here: the themed look never applies.
  bool ThemeAware() const { return themeAware_; }
  void SetThemeAware(bool v) { assign(themeAware_, v); }
  // TabStop: Tab reaches the button; without it only a click focuses it.
  bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus); }

  bool Pressing() const { return pressing_; }
  bool MouseOver() const { return mouseOver_; }
  bool ShowPressed() const { return showPressed_; }

  // Enabled and visible up to its window, so it may take the focus.
  bool CanFocus() const;

  // The whole face as it paints now, for tests and the gallery.
  qel::Canvas Paint();

 signals:
  void MouseEnter();
  void MouseLeave();

 protected:
  // The appearance changed.
  virtual void DisplayChanged() {}
  virtual void RedrawButton() { repaint(); }
  virtual qel::TRect HotTrackArea() const { return {0, 0, width(), height()}; }
  virtual void DrawCaption3D(qel::Canvas& canvas, qel::TRect r, unsigned flags);
  virtual void PerformClick() = 0;
  virtual void PaintAll(qel::Canvas& canvas) = 0;
  // Whether Paint starts from the parent's image rather than Color.
  virtual bool SeeThrough() const { return transparent_; }
  // What Paint starts from: the parent's image or Color.
  virtual void PaintBackground(qel::Canvas& canvas);
  // Another button of the same parent announced its group.
  virtual void ButtonGroupMessage(int groupIndex, TQelCustomButton* sender);
  // Sends ButtonGroupMessage to every styled button of the parent.
  void BroadcastToSiblings(int groupIndex);
  qel::FontValue CaptionFont() const { return {font(), fontColor_, 0}; }
  // The light and dark colours of the hot-track look under the pointer,
  // from HotTrackColor and HotTrackColorType.
  void PointerOverColors(TColor& light, TColor& dark) const;
  void parentColorChanged(TColor color) override;

  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  // The caption's accelerator arrived (Alt + its letter).
  virtual void DialogChar() {}

  bool showPressed_ = false;

 private:
  void PointerMoved(bool over);

  TColor color_ = clBtnFace;
  TColor fontColor_ = clWindowText;
  TAlignmentVertical alignmentVertical_ = avCenter;
  TColor hotTrackColor_ = clHighlight;
  TQelHotTrackColorType hotTrackColorType_ = htctComplement;
  TColor highlightColor_ = clHighlight;
  bool lightTextStyle_ = false;
  TTextStyle textStyle_ = tsNormal;
  TColor textHighlightColor_ = clBtnHighlight;
  TColor textShadowColor_ = clBtnShadow;
  int textShadowDepth_ = 2;
  bool pressing_ = false;
  bool hotTrack_ = false;
  bool mouseOver_ = false;
  bool transparent_ = false;
  bool themeAware_ = true;
};

// The styled push button: Default and Cancel keys, ModalResult, grouped Down
// buttons, and the hot-track and classic looks.
class TQelButton : public TQelCustomButton {
  Q_OBJECT

 public:
  enum TAlignment { taLeftJustify, taRightJustify, taCenter };

  explicit TQelButton(const QString& caption = {}, QWidget* parent = nullptr);

  // The click: ModalResult to the window, then clicked (OnClick). A
  // disabled button does nothing, as a Qt button.
  void click();

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { assign(alignment_, v); }
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool v);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool v) { cancel_ = v; }
  bool Default() const { return default_; }
  void SetDefault(bool v);
  bool ActiveDefault() const { return activeDefault_; }
  bool Down() const { return down_; }
  void SetDown(bool v);
  bool DropDownOnEnter() const { return dropDownOnEnter_; }
  void SetDropDownOnEnter(bool v) { dropDownOnEnter_ = v; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int v);
  int ModalResult() const { return modalResult_; }
  void SetModalResult(int v) { modalResult_ = v; }
  bool ShowDownPattern() const { return showDownPattern_; }
  void SetShowDownPattern(bool v) { assign(showDownPattern_, v); }
  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool v) { assign(showFocusRect_, v); }
  bool Clicking() const { return clicking_; }
  bool SpaceDown() const { return spaceDown_; }
  void SetHotTrack(bool v) override;

  bool applyLegacyProperty(const QString& name, const QVariant& value) override;

  // Enter (ActiveDefault) or Esc (Cancel) offered by the window's dialog
  // keys; true when the button took it.
  bool DialogKey(int key);

  // The 8 x 8 checker of a Down button's face.
  static qel::CanvasBrush FillDownPattern(TColor color);

 protected:
  void DisplayChanged() override { update(); }
  void PerformClick() override;
  void PaintAll(qel::Canvas& canvas) override;
  void ButtonGroupMessage(int groupIndex, TQelCustomButton* sender) override;
  void DialogChar() override;
  virtual qel::TRect FaceTextRect() const;
  virtual void PaintCaption(qel::Canvas& canvas);

  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  friend class QelDialogKeys;
  void NotifyGroup();
  // Follows the window's focus: a button focused is the one Enter clicks.
  void TrackFocus(QWidget* now);
  void SetActiveDefault(bool v);
  void InstallDialogKeys();
  void PaintHotTrack(qel::Canvas& canvas, qel::TRect& q);
  void PaintClassic(qel::Canvas& canvas, qel::TRect& q);

  TAlignment alignment_ = taCenter;
  bool clicking_ = false;
  bool default_ = false;
  bool cancel_ = false;
  bool activeDefault_ = false;
  int modalResult_ = 0;
  bool spaceDown_ = false;
  bool allowAllUp_ = false;
  bool down_ = false;
  int groupIndex_ = 0;
  bool showDownPattern_ = true;
  bool showFocusRect_ = true;
  bool dropDownOnEnter_ = true;
  bool shown_ = false;
};

class QEvent;
class QKeyEvent;

namespace qel {

// Shift, Ctrl, Alt or Meta held.
bool HasModifier(const QKeyEvent* e);
// The ModalResult a button click last gave a window (0 when none did).
int FormModalResult(const QWidget* window);
// A button's click: modalResult to its window, then clicked (OnClick); a
// modal dialog left with a non-zero result closes. Nothing while disabled.
void ModalClick(QAbstractButton* button, int modalResult);

// The caption's accelerator, the only shortcut a button registers: one that
// other controls share focuses the button when canFocus() allows it, one of
// its own runs activate(). False for any other event.
bool TakeAccelerator(QEvent* e, QWidget* button, const std::function<bool()>& canFocus,
                     const std::function<void()>& activate);
// Space without Alt: the key a button presses on.
bool IsSpacePress(const QKeyEvent* e);
// Accepts a key a button takes; false for the press and release pairs Qt
// repeats while the key is held, so a held key clicks once.
bool AcceptUnrepeated(QKeyEvent* e);

}  // namespace qel
