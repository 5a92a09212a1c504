#pragma once
#include <QImage>
#include <QPointer>
#include <array>

#include "controls/qelbuttons.h"
#include "controls/qelframecontroller.h"

class QButtonGroup;

// Base of the check-style buttons: a small state glyph beside a caption.
// The face is composed over a cached background, which is rebuilt only
// when something marks it stale (a repaint request, a resize, Color,
// enabled or Transparent changing, new CustomGlyphs); the paints at once of
// focus and press changes, and the pointer's glyph-only paints, reuse it.
class TQelCustomGlyphButton : public TQelCustomButton {
  Q_OBJECT
  // By these names a linked frame controller sets them.
  Q_PROPERTY(TColor FrameColor READ FrameColor WRITE SetFrameColor)
  Q_PROPERTY(TColor DisabledColor READ DisabledColor WRITE SetDisabledColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)

 public:
  // Side of the caption: taRightJustify puts the glyph at the left edge.
  enum TLeftRight { taLeftJustify, taRightJustify };

  explicit TQelCustomGlyphButton(QWidget* parent = nullptr);
  ~TQelCustomGlyphButton() override;

  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v) { assign(alignment_, v); }
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v) { assign(frameColor_, v); }
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor v) { assign(disabledColor_, v); }
  // Key colour: transparent in a glyph.
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor v) { assign(transparentColor_, v); }
  // Key colour: painted as clWindow.
  TColor WinMaskColor() const { return winMaskColor_; }
  void SetWinMaskColor(TColor v) { assign(winMaskColor_, v); }
  // A strip of NumStates state images of equal width; a non-empty strip is
  // used at once, an empty one drops back to the drawn glyphs.
  const QImage& CustomGlyphs() const { return customGlyphs_; }
  void SetCustomGlyphs(const QImage& strip);
  bool UseCustomGlyphs() const { return useCustomGlyphs_; }
  void SetUseCustomGlyphs(bool v);
  int NumStates() const { return numStates_; }
  int GlyphWidth() const { return glyphWidth_; }
  int GlyphHeight() const { return glyphHeight_; }
  // Enter moves the focus on as Tab does.
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
  TQelFrameController* FrameController() const { return frameController_; }
  void SetFrameController(TQelFrameController* v);
  bool ParentColor() const { return parentColor(); }
  void SetParentColor(bool v) {
    setParentColor(v);
    refresh();  // the same colour may now come from the parent's painting
  }

  // A colour that would read as a key colour (TransparentColor,
  // WinMaskColor or clGray) moved off it: red one step up, or down at FF.
  // Any other colour is returned as it is.
  TColor AvoidMaskColor(TColor c) const;
  // Where the glyph sits.
  qel::TRect HotTrackArea() const override;
  // Takes the controller's FrameColor and DisabledColor while its frame is
  // visible.
  virtual void ApplyControllerFrame();

  // "Flat" of old forms is HotTrack.
  bool applyLegacyProperty(const QString& name, const QVariant& value) override;

 signals:
  void DblClick();

 protected:
  // Draws the state glyph into a GlyphWidth x GlyphHeight bitmap.
  virtual void DrawGlyph(qel::Canvas& glyph) = 0;
  // Composes the glyph over the background: TransparentColor shows the
  // background, WinMaskColor becomes clWindow, clGreen half FrameColor.
  virtual void PaintGlyph(qel::Canvas& canvas);
  // Image n of strip (w x h each) into target, made w x h.
  void CutGlyphImage(int n, qel::Canvas& target, int h, int w, const QImage& strip) const;
  virtual bool ReadChecked() const { return false; }
  virtual void WriteChecked(bool) {}
  void SetNumStates(int v);

  // Transparent, or taking the colour of a parent that Qt paints (a tab
  // page, a group box), whose palette colour need not be what shows.
  bool SeeThrough() const override;
  void DisplayChanged() override { PaintAtOnce(); }
  void RedrawButton() override { PaintAtOnce(); }
  // The background is kept between paints that do not erase.
  void PaintBackground(qel::Canvas& canvas) override;
  void PaintAll(qel::Canvas& canvas) override;
  void refresh() override;

  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  void PaintAtOnce();
  void FitGlyphSize();

  TLeftRight alignment_ = taRightJustify;
  TColor frameColor_ = clBtnShadow;
  int numStates_ = 2;
  QImage customGlyphs_;
  bool useCustomGlyphs_ = false;
  TColor transparentColor_ = clOlive;
  TColor winMaskColor_ = clLime;
  TColor disabledColor_ = clBtnFace;
  int glyphWidth_ = 13;
  int glyphHeight_ = 13;
  bool tabOnEnter_ = false;
  QPointer<TQelFrameController> frameController_;
  qel::Canvas background_{0, 0};
  bool backgroundStale_ = true;
  bool paintingAtOnce_ = false;
};

// The styled radio button. Checked is QAbstractButton's checked state
// (checkable, not auto-exclusive): however it is written, checking one
// unchecks the other radio buttons of the same parent and clicks once. A
// click on a checked one, by the mouse or QAbstractButton::click(), does
// nothing.
// Only a checked radio button is a tab stop; moving the focus onto one by
// keyboard checks it.
class TQelRadioButton : public TQelCustomGlyphButton {
  Q_OBJECT

 public:
  // The 12 key colours of the hot-track pictures, in the order of
  // HotTrackColors.
  static constexpr std::array<TColor, 12> kRadioKeyColors = {clWhite, clBlack, clGreen,   clGray,   clPurple, clMaroon,
                                                             clLime,  clRed,   clFuchsia, clYellow, clNavy,   clBlue};

  explicit TQelRadioButton(const QString& caption = {}, QWidget* parent = nullptr);

  bool Checked() const { return checked_; }
  void SetChecked(bool v) { setChecked(v); }
  // A left-button press on this button is under way.
  bool UsingMouse() const { return usingMouse_; }
  // Unchecks every other radio button of the parent.
  void UncheckSiblings();
  // What each key colour of the hot-track pictures becomes now: by state
  // (disabled, pressed, pointer over) and by screen depth.
  std::array<TColor, 12> HotTrackColors() const;

 protected:
  bool ReadChecked() const override { return checked_; }
  void WriteChecked(bool v) override;
  void PerformClick() override;
  void DrawGlyph(qel::Canvas& glyph) override;
  void DialogChar() override;

  void checkStateSet() override;
  void nextCheckState() override;
  void focusInEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  bool checked_ = false;
  bool usingMouse_ = false;
  // QAbstractButton::click() emits clicked itself after nextCheckState.
  bool qtClicks_ = false;
  // A group of this button alone, whose signals come after the button's.
  QButtonGroup* clickEnd_ = nullptr;
  bool quietClick_ = false;  // signals blocked until Qt's click ends
  bool wasBlocked_ = false;
};
