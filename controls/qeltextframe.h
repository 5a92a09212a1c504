// API ready
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>
#include <optional>

#include "controls/qelborders.h"
#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"
#include "controls/qelframecontroller.h"

class QEvent;
class QWidget;

namespace qel {

// The platform's vertical scroll-bar width, one constant rather than the
// style's, so drop-down buttons and their hot strips measure the same
// everywhere.
constexpr int kVScrollBarWidth = 17;

// Sides as text, the way a form writes them: "[sdLeft,sdTop]". The reader
// also takes a bare number (what a TSides passed through a QVariant becomes)
// and names separated by blanks, commas or '|'; nullopt for anything else.
QString SidesToText(TSides sides);
std::optional<TSides> SidesFromText(const QString& text);

// The frame scheme shared by the four framed text controls (combo box, list
// box, edit, memo): the styled frame over Qt's border, the hot frame, the
// state colours (normal, focused, disabled), the frame-controller link and
// the flat drop-down button.
//
// How a control hooks it in:
//  - Derive from the Qt class FIRST, then from TextFrame (StyledControl
//    installs an event filter on the widget, so the widget must exist):
//      class TQelCustomEdit : public QLineEdit, public qel::TextFrame
//    and pass `this` and the focus tracking the control uses.
//  - Put QEL_TEXT_FRAME_PROPERTIES after Q_OBJECT (the combo box adds
//    QEL_FLAT_BUTTON_PROPERTIES), and declare the signals MouseEnter() and
//    MouseLeave(): MouseHover() emits them by name.
//  - In event(), after the Qt base handled the event, call FrameEvent(e):
//    it runs the scheme's focus entry and exit, mouse entry and exit,
//    enabled change and resize steps.
//  - Paint after the base paint: QLineEdit and QComboBox at the end of
//    paintEvent; QListWidget and QPlainTextEdit in event() on the scroll
//    area's own QEvent::Paint, after the base returns (their paintEvent
//    paints the viewport, the frame lies outside it). PaintFrameOver() does
//    it all for list box, edit and memo; the combo box builds its canvas
//    with FrameCanvas() and calls EraseFrameRing(), paints its button, then
//    PaintFrameLines(), and hands the canvas to DrawOver().
//  - Color is the palette's Base role in every colour group; the scheme
//    writes it, the control paints from it.
//  - Where the four controls differ, they override the protected
//    virtuals: Focused() (the combo box's own focus flag),
//    RepaintForHotState() (combo box and edit: the button strip),
//    ApplyFrameVisible() (how the Qt widget gets or drops its 2-pixel
//    frame), RedrawFrame() (the combo box invalidates), ColorApplied().
class TextFrame : public StyledControl {
 public:
  // Where the "control has the focus" half of the hot state comes from:
  // the combo box and the edit record it in WriteHotState (in-control
  // flag), the list box and the memo ask Qt's focus at paint time.
  enum class FocusTracking { InControlFlag, PlatformFocus };

  TextFrame(QWidget* self, FocusTracking tracking);
  ~TextFrame() override;  // leaves the frame controller

  // --- Properties (getter named as the property, writer SetX). ---
  // Color is the state colour now; SetColor also moves FocusColor while it
  // equals the remembered normal colour, and clears ParentColor.
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor FocusColor() const { return focusColor_; }
  void SetFocusColor(TColor v);
  TColor DisabledColor() const { return disabledColor_; }
  void SetDisabledColor(TColor v);
  bool ParentColor() const { return parentColor(); }
  void SetParentColor(bool v) { setParentColor(v); }
  bool FrameVisible() const { return frameVisible_; }
  void SetFrameVisible(bool v);
  TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TFrameStyle v);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v);
  TSides FrameSides() const { return frameSides_; }
  void SetFrameSides(TSides v);
  // True also makes FrameVisible True and, unless loading, all four sides.
  bool FrameHotTrack() const { return frameHotTrack_; }
  void SetFrameHotTrack(bool v);
  TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  void SetFrameHotStyle(TFrameStyle v);
  TColor FrameHotColor() const { return frameHotColor_; }
  void SetFrameHotColor(TColor v);
  ::TFramingPreference FramingPreference() const { return framingPreference_; }
  void SetFramingPreference(::TFramingPreference v);
  TQelFrameController* FrameController() const { return frameController_; }
  void SetFrameController(TQelFrameController* v);
  // Stored here; each control acts on Enter itself.
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
  // Combo box and edit only (published by QEL_FLAT_BUTTON_PROPERTIES).
  bool FlatButtons() const { return flatButtons_; }
  void SetFlatButtons(bool v);
  TColor FlatButtonColor() const { return flatButtonColor_; }
  void SetFlatButtonColor(TColor v);

  // The remembered normal colour: what Color returns to when the control is
  // neither focused nor disabled.
  TColor NormalColor() const { return normalColor_; }
  bool OverControl() const { return overControl_; }
  bool InControl() const { return inControl_; }

  // "FrameFlat" and "FrameFocusStyle" of old forms mapped onto the frame
  // properties; "FrameFlatStyle" taken and dropped.
  bool applyLegacyProperty(const QString& name, const QVariant& value) override;

  // --- The scheme's operations. ---
  // Color for the state: DisabledColor, FocusColor or the normal colour.
  // Nothing while loading.
  virtual void UpdateStateColor();
  // Records the mouse (fromMouse) or the focus half of the hot state,
  // repaints what depends on it, then UpdateStateColor.
  virtual void WriteHotState(bool fromMouse, bool value);
  // Repaints the frame at once (the combo box invalidates instead).
  virtual void RedrawFrame();
  // No visual themes exist here: always false, whatever FramingPreference.
  virtual bool UseThemedFrame() const { return false; }
  // FrameVisible and not UseThemedFrame: the styled frame is painted.
  bool FrameShown() const { return frameVisible_ && !UseThemedFrame(); }
  // FrameHotTrack and the control hot (mouse over it, or focused by the
  // control's FocusTracking).
  bool PaintsHot() const;

  // --- Painting. ---
  // A see-through canvas the size of the control.
  Canvas FrameCanvas() const;
  // The 2-pixel ring in Color on all four sides, covering Qt's border.
  void EraseFrameRing(Canvas& canvas) const;
  // The frame lines on FrameSides in the hot or normal style and colour,
  // without the erase step.
  void PaintFrameLines(Canvas& canvas) const;
  // Ring and lines when FrameShown().
  void PaintFrame(Canvas& canvas) const;
  // Paints canvas over what the Qt base painted on the control.
  void DrawOver(const Canvas& canvas) const;
  // FrameCanvas, PaintFrame, DrawOver when FrameShown (list box, edit, memo).
  void PaintFrameOver() const;

  // The drop-down button's rectangle inside a 2-pixel border: the right-most
  // strip kVScrollBarWidth wide (right-to-left: the left-most).
  TRect DropButtonRect() const;
  // The flat drop-down button. Not hot: restColor and the arrow; hot: a
  // raised (pressed: sunken) button in FlatButtonColor.
  void PaintFlatDropButton(Canvas& canvas, const TRect& r, bool hot, bool pressed, TColor restColor) const;

  // To call from the control's event() after the Qt base handled e.
  void FrameEvent(QEvent* e);

  // --- Meta-object adapters behind QEL_TEXT_FRAME_PROPERTIES. ---
  // A number outside fsNone..fsFlatBold is refused.
  void SetFrameStyleValue(TFrameStyle v);
  void SetFrameHotStyleValue(TFrameStyle v);
  // Any number but fpCustomFraming's counts as fpXPThemes.
  void SetFramingPreferenceValue(::TFramingPreference v) {
    SetFramingPreference(v == fpCustomFraming ? fpCustomFraming : fpXPThemes);
  }
  QString FrameSidesText() const { return SidesToText(frameSides_); }
  void SetFrameSidesText(const QString& v);

 protected:
  QWidget* widget() const { return widget_; }

  // Whether the control counts as focused for the state colour and the hot
  // state (default: Qt's focus).
  virtual bool Focused() const;
  // What a hot-state change repaints (default: RedrawFrame when
  // FrameHotTrack).
  virtual void RepaintForHotState();
  // Gives the Qt widget its 2-pixel frame for the styled frame to cover
  // (FrameVisible) or its own frame back. The default handles QFrame-based
  // scroll areas and QLineEdit.
  virtual void ApplyFrameVisible();
  // After the scheme wrote Color into the palette.
  virtual void ColorApplied() {}
  // OnMouseEnter / OnMouseLeave: emits the control's signal MouseEnter()
  // or MouseLeave() by name.
  virtual void MouseHover(bool entered);
  // Repaints at once the client rectangle (whole) or the drop-down button's
  // strip: kVScrollBarWidth + 2 pixels at the right (right-to-left: left).
  void RepaintButtonStrip(bool whole) const;

  void loaded() override;
  void parentColorChanged(TColor color) override;

 private:
  // Color and the palette's Base role, without the normal-colour rules.
  void ApplyColor(TColor v);
  template <class T>
  void WriteFrame(T& field, const T& value) {
    if (field == value) return;
    field = value;
    RedrawFrame();
  }

  QWidget* widget_;
  FocusTracking tracking_;
  TColor color_ = clWindow;
  TColor normalColor_ = clWindow;
  TColor focusColor_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  bool frameVisible_ = false;
  TFrameStyle frameStyle_ = fsFlat;
  TColor frameColor_ = clBtnShadow;
  TSides frameSides_ = sdAllSides;
  bool frameHotTrack_ = false;
  TFrameStyle frameHotStyle_ = fsFlatBold;
  TColor frameHotColor_ = clBtnShadow;
  ::TFramingPreference framingPreference_ = fpXPThemes;
  QPointer<TQelFrameController> frameController_;
  bool tabOnEnter_ = false;
  bool flatButtons_ = false;
  TColor flatButtonColor_ = clBtnFace;
  bool updatingColor_ = false;
  bool inControl_ = false;
  bool overControl_ = false;
};

}  // namespace qel

// The frame scheme's properties under their published names, for a control
// deriving from qel::TextFrame (moc expands the macro).
#define QEL_TEXT_FRAME_PROPERTIES                                                                                   \
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)                                                                \
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)                                                \
  Q_PROPERTY(TColor FocusColor READ FocusColor WRITE SetFocusColor)                                                 \
  Q_PROPERTY(TColor DisabledColor READ DisabledColor WRITE SetDisabledColor)                                        \
  Q_PROPERTY(bool FrameVisible READ FrameVisible WRITE SetFrameVisible)                                             \
  Q_PROPERTY(qel::FrameTypes::TFrameStyleEx FrameStyle READ FrameStyle WRITE SetFrameStyleValue)                    \
  Q_PROPERTY(TColor FrameColor READ FrameColor WRITE SetFrameColor)                                                 \
  Q_PROPERTY(QString FrameSides READ FrameSidesText WRITE SetFrameSidesText)                                        \
  Q_PROPERTY(bool FrameHotTrack READ FrameHotTrack WRITE SetFrameHotTrack)                                          \
  Q_PROPERTY(qel::FrameTypes::TFrameStyleEx FrameHotStyle READ FrameHotStyle WRITE SetFrameHotStyleValue)           \
  Q_PROPERTY(TColor FrameHotColor READ FrameHotColor WRITE SetFrameHotColor)                                        \
  Q_PROPERTY(                                                                                                       \
      qel::FrameTypes::TFramingPreference FramingPreference READ FramingPreference WRITE SetFramingPreferenceValue) \
  Q_PROPERTY(bool TabOnEnter READ TabOnEnter WRITE SetTabOnEnter)

#define QEL_FLAT_BUTTON_PROPERTIES                                   \
  Q_PROPERTY(bool FlatButtons READ FlatButtons WRITE SetFlatButtons) \
  Q_PROPERTY(TColor FlatButtonColor READ FlatButtonColor WRITE SetFlatButtonColor)
