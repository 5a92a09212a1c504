#pragma once
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "controls/qelborders.h"
#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"
#include "controls/qelframecontroller.h"

// What the shared blink timer asks of a registered control and tells it.
class IBlinkingControl {
 public:
  virtual ~IBlinkingControl() = default;
  virtual bool BlinkQuery() const = 0;  // whether it blinks now
  virtual void BlinkNotify(int phase) = 0;
};

// One timer for every blinking control of the process. The first control
// makes it, the last one frees it; blinking controls show their blink
// colour for BlinkIntervalOn and their own colour for BlinkIntervalOff.
class TQelBlinkingControlsList {
 public:
  // nullptr while no control is registered.
  static TQelBlinkingControlsList* Instance();
  static void Register(IBlinkingControl* control);
  static void Unregister(IBlinkingControl* control);

  virtual ~TQelBlinkingControlsList() = default;
  virtual int Count() const { return int(controls_.size()); }

  std::uint16_t BlinkIntervalOff() const { return off_; }
  std::uint16_t BlinkIntervalOn() const { return on_; }
  // Take effect at the next tick.
  void SetBlinkIntervalOff(std::uint16_t ms) { off_ = ms; }
  void SetBlinkIntervalOn(std::uint16_t ms) { on_ = ms; }
  int Phase() const { return phase_; }
  int Interval() const { return timer_.interval(); }  // until the next tick
  // One timer tick: the next phase, its interval, and every blinking control
  // told. When the last control goes meanwhile, the list frees itself as
  // the tick ends.
  void Tick();

 private:
  TQelBlinkingControlsList();

  std::uint8_t phase_ = 1;
  int ticking_ = 0;  // ticks under way
  std::vector<IBlinkingControl*> controls_;
  std::uint16_t off_ = 500;
  std::uint16_t on_ = 500;
  QTimer timer_;
};

// Text label with 3-D text styles, text turned by any angle or laid on an
// arc, a stack of borders, blinking, a fly-by colour and caption shortening.
// QLabel's text is the caption, its horizontal alignment the text
// alignment, its vertical alignment Layout, its word wrap WordWrap; the
// painting is all ours, where QLabel would put its text (inside the frame,
// the margins and the indent), with QFrame's frame on top.
class TQelLabel : public QLabel,
                  public qel::StyledControl,
                  public IFrameControllerNotification,
                  public IBlinkingControl {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)

 public:
  enum TTextStyle { tsNormal, tsRaised, tsRecessed, tsShadow };
  enum TRotation { roNone, roFlat, roCurve };
  enum TCenterPoint {
    cpUpperLeft,
    cpUpperCenter,
    cpUpperRight,
    cpLeftCenter,
    cpCenter,
    cpRightCenter,
    cpLowerLeft,
    cpLowerCenter,
    cpLowerRight,
  };
  enum TQelCondenseCaption { ccNone, ccAtEnd, ccWithinPath };
  enum TTextLayout { tlTop, tlCenter, tlBottom };

  explicit TQelLabel(const QString& caption = {}, QWidget* parent = nullptr);
  ~TQelLabel() override;

  // Sets the caption, repaints at once and sizes the label to it.
  void setText(const QString& text);
  void setWordWrap(bool on);

  // Negative values are kept as 360 + value, others modulo 360.
  int Angle() const { return angle_; }
  void SetAngle(int v);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Blinking() const { return blinking_; }
  void SetBlinking(bool v);
  TColor BlinkColor() const { return blinkColor_; }
  void SetBlinkColor(TColor v) { assign(blinkColor_, v); }
  // Shared by every label.
  std::uint16_t BlinkIntervalOff() const;
  void SetBlinkIntervalOff(std::uint16_t ms);
  std::uint16_t BlinkIntervalOn() const;
  void SetBlinkIntervalOn(std::uint16_t ms);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v) { assign(bevelWidth_, v); }
  qel::TFrameStyleEx BorderInner() const { return borderInner_; }
  void SetBorderInner(qel::TFrameStyleEx v) { assign(borderInner_, v); }
  qel::TFrameStyleEx BorderOuter() const { return borderOuter_; }
  void SetBorderOuter(qel::TFrameStyleEx v) { assign(borderOuter_, v); }
  qel::TSides BorderSides() const { return borderSides_; }
  void SetBorderSides(qel::TSides v) { assign(borderSides_, v); }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { assign(borderColor_, v); }
  TColor BorderHighlight() const { return borderHighlight_; }
  void SetBorderHighlight(TColor v) { assign(borderHighlight_, v); }
  TColor BorderShadow() const { return borderShadow_; }
  void SetBorderShadow(TColor v) { assign(borderShadow_, v); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v) { assign(borderWidth_, v); }
  // Any shortening switches AutoSize off.
  TQelCondenseCaption CondenseCaption() const { return condenseCaption_; }
  void SetCondenseCaption(TQelCondenseCaption v);
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor v) { assign(flatColor_, v); }
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  void SetFlatColorAdjustment(int v) { assign(flatColorAdjustment_, v); }
  TQelFrameController* FrameController() const { return frameController_; }
  void SetFrameController(TQelFrameController* v);
  TCenterPoint CenterPoint() const { return centerPoint_; }
  void SetCenterPoint(TCenterPoint v) { assign(centerPoint_, v); }
  TColor FlyByColor() const { return flyByColor_; }
  void SetFlyByColor(TColor v) { assign(flyByColor_, v); }
  bool FlyByEnabled() const { return flyByEnabled_; }
  void SetFlyByEnabled(bool v);
  TTextLayout Layout() const;
  void SetLayout(TTextLayout v);
  bool LightTextStyle() const { return lightTextStyle_; }
  void SetLightTextStyle(bool v) { assign(lightTextStyle_, v); }
  TRotation Rotation() const { return rotation_; }
  void SetRotation(TRotation v);
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor v) { assign(highlightColor_, v); }
  TColor ShadowColor() const { return shadowColor_; }
  void SetShadowColor(TColor v) { assign(shadowColor_, v); }
  int ShadowDepth() const { return shadowDepth_; }
  void SetShadowDepth(int v) { assign(shadowDepth_, v); }
  TTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TTextStyle v) { assign(textStyle_, v); }
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor(); }
  void SetParentColor(bool v);
  // The font's colour: a write acts as a font change.
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor v);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool v) { assign(showAccelChar_, v); }
  // Nothing is filled: what lies beneath shows around the text.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);

  // "FrameSides" of old forms is taken and dropped.
  bool applyLegacyProperty(const QString& name, const QVariant& value) override;
  void ApplyControllerFrame() override;

 Q_SIGNALS:
  // After the fly-by colour is set or given back.
  void MouseEnter();
  void MouseLeave();

 protected:
  virtual void PaintAll(qel::Canvas& canvas);
  virtual QString CaptionToDraw() const { return text(); }
  virtual void ApplyBlinkState(int phase);
  // Adds what the borders, the shadow and the angle take to a text extent.
  virtual void GrowExtentByBorders(int& width, int& height) const;
  virtual qel::TRect CalcTextRect(qel::TRect r, bool withBorderWidth) const;
  // Sizes the label to its caption when AutoSize.
  virtual void AdjustBounds();

  bool BlinkQuery() const override { return blinking_; }
  void BlinkNotify(int phase) override;
  void loaded() override;
  void parentColorChanged(TColor color) override;

  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void changeEvent(QEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  // Where the label paints: inside QLabel's frame, margins and indent.
  qel::TRect Box() const;
  qel::FontValue CaptionFont() const;
  unsigned CondenseFlag() const;
  unsigned TextFlags() const;
  bool AnchoredRight() const;
  bool SeeThrough() const;
  void UpdateSeeThrough();
  void UseTrueTypeFont();
  void FontChanged();
  void TakeParentColorNow();
  void RestoreEntryColor();
  qel::TRect PlaceTextByLayout(const QString& text, unsigned flags, qel::TRect r) const;
  // The 3-D or disabled copies, then the text, each through draw(dx, dy, colour).
  void DrawCopies(const std::function<void(int, int, TColor)>& draw, int shadowShift, int textShift) const;
  void PaintLabelText(qel::Canvas& canvas);
  void PaintArcText(qel::Canvas& canvas);

  int angle_ = 0;
  bool autoSize_ = true;
  bool blinking_ = false;
  TColor blinkColor_ = clHighlight;
  int bevelWidth_ = 1;
  qel::TFrameStyleEx borderInner_ = qel::fsNone;
  qel::TFrameStyleEx borderOuter_ = qel::fsNone;
  qel::TSides borderSides_ = qel::sdAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  int borderWidth_ = 0;
  TQelCondenseCaption condenseCaption_ = ccNone;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  QPointer<TQelFrameController> frameController_;
  TCenterPoint centerPoint_ = cpCenter;
  TColor flyByColor_ = clHighlight;
  bool flyByEnabled_ = false;
  bool lightTextStyle_ = false;
  TRotation rotation_ = roNone;
  TColor highlightColor_ = clBtnHighlight;
  TColor shadowColor_ = clBtnShadow;
  int shadowDepth_ = 2;
  TTextStyle textStyle_ = tsNormal;
  TColor color_ = clBtnFace;
  TColor fontColor_ = clWindowText;
  bool showAccelChar_ = true;
  bool transparent_ = false;

  TColor restColor_ = clWindowText;     // shown while not blinking
  TColor currentColor_ = clWindowText;  // the caption's colour now
  std::optional<TColor> entryColor_;    // the font colour a fly-by entry replaced
  bool initialising_ = true;
};
