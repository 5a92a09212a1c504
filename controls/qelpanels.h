#pragma once
#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "controls/qelborders.h"
#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"
#include "controls/qeldraw.h"
#include "controls/qelframecontroller.h"

// A container with an outer and an inner border, an optional grid and a
// word-wrapped caption; it disables its children with itself and gives each
// its own state back when enabled again. Aligned children are placed inside
// the borders.
class TQelCustomPanel : public QWidget, public qel::StyledControl, public IFrameControllerNotification {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)

 public:
  enum TAlignment { taLeftJustify, taRightJustify, taCenter };
  enum TAlignmentVertical { avTop, avCenter, avBottom };
  enum TQelGridStyle { gsDots, gsDottedLines, gsSolidLines };
  // A child's own enabled flag ("1" or "0") kept while the panel is disabled.
  struct EnabledEntry {
    QString Text;
    QPointer<QWidget> Object;
  };

  explicit TQelCustomPanel(QWidget* parent = nullptr);
  ~TQelCustomPanel() override;

  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& v);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment v) { assign(alignment_, v); }
  TAlignmentVertical AlignmentVertical() const { return alignmentVertical_; }
  void SetAlignmentVertical(TAlignmentVertical v) { assign(alignmentVertical_, v); }
  qel::TAlign Align() const { return qel::AlignOf(this); }
  void SetAlign(qel::TAlign v) { qel::SetAlign(this, v); }
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int v) { AssignAndRealign(bevelWidth_, v); }
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int v) { AssignAndRealign(borderWidth_, v); }
  qel::TFrameStyleEx BorderInner() const { return borderInner_; }
  void SetBorderInner(qel::TFrameStyleEx v) { AssignAndRealign(borderInner_, v); }
  qel::TFrameStyleEx BorderOuter() const { return borderOuter_; }
  void SetBorderOuter(qel::TFrameStyleEx v) { AssignAndRealign(borderOuter_, v); }
  qel::TSides BorderSides() const { return borderSides_; }
  void SetBorderSides(qel::TSides v) { AssignAndRealign(borderSides_, v); }
  TColor BorderColor() const { return borderColor_; }
  void SetBorderColor(TColor v) { assign(borderColor_, v); }
  TColor BorderHighlight() const { return borderHighlight_; }
  void SetBorderHighlight(TColor v) { assign(borderHighlight_, v); }
  TColor BorderShadow() const { return borderShadow_; }
  void SetBorderShadow(TColor v) { assign(borderShadow_, v); }
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor(); }
  void SetParentColor(bool v) { setParentColor(v); }
  TColor FlatColor() const { return flatColor_; }
  void SetFlatColor(TColor v) { assign(flatColor_, v); }
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  void SetFlatColorAdjustment(int v) { assign(flatColorAdjustment_, v); }
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor v) { assign(fontColor_, v); }
  TQelFrameController* FrameController() const { return frameController_; }
  void SetFrameController(TQelFrameController* v);
  TColor GridColor() const { return gridColor_; }
  void SetGridColor(TColor v) { assign(gridColor_, v); }
  TQelGridStyle GridStyle() const { return gridStyle_; }
  void SetGridStyle(TQelGridStyle v) { assign(gridStyle_, v); }
  std::uint16_t GridXSize() const { return gridXSize_; }
  void SetGridXSize(std::uint16_t v) { assign(gridXSize_, v); }
  std::uint16_t GridYSize() const { return gridYSize_; }
  void SetGridYSize(std::uint16_t v) { assign(gridYSize_, v); }
  bool ShowGrid() const { return showGrid_; }
  void SetShowGrid(bool v) { assign(showGrid_, v); }
  // What lies beneath shows instead of Color; children that show their
  // parent's image see through to it as well.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  // No visual styles exist here: kept for the group box's coupling only.
  bool ThemeAware() const { return themeAware_; }
  void SetThemeAware(bool v) { assign(themeAware_, v); }
  // Plain fields: a resize always repaints the whole panel, and nothing
  // docks into one.
  bool FullRepaint() const { return fullRepaint_; }
  void SetFullRepaint(bool v) { fullRepaint_ = v; }
  bool Locked() const { return locked_; }
  void SetLocked(bool v) { locked_ = v; }
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool v) { dockSite_ = v; }
  bool UseDockManager() const { return useDockManager_; }
  void SetUseDockManager(bool v) { useDockManager_ = v; }
  bool ShowDockClientCaptions() const { return showDockClientCaptions_; }
  void SetShowDockClientCaptions(bool v) { showDockClientCaptions_ = v; }
  // Tab does not stop here; setFocus() still gives the panel the focus.
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::NoFocus); }

  const std::vector<EnabledEntry>& EnabledList() const { return enabledList_; }

  qel::TRect WholeRect() const { return {0, 0, width(), height()}; }
  qel::TRect PlainClientRect() const { return WholeRect(); }
  // rect less BorderWidth on every side (when asked), then less the outer
  // and the inner border's widths on each side in BorderSides.
  qel::TRect InnerBorderRect(qel::TRect rect, bool includeBorderWidth) const;
  // The area the children live in, before the borders.
  virtual qel::TRect AdjustForBorders(qel::TRect rect) const;
  // Places the aligned children inside the borders of rect.
  void AlignInsideBorders(qel::TRect rect);
  void Realign();
  // Moves and sizes the panel; an aligned one keeps its aligned edge.
  void SetBounds(int left, int top, int width, int height) { KeepAlignedEdge(left, top, width, height); }
  QPoint CursorClientPos() const;

  // The whole panel as it paints now, for tests and the gallery.
  qel::Canvas Paint();

  // "FrameSides" of old forms is taken and dropped.
  bool applyLegacyProperty(const QString& name, const QVariant& value) override;
  void ApplyControllerFrame() override;

 Q_SIGNALS:
  void MouseEnter();
  void MouseLeave();
  // At the end of the panel's painting, on the canvas it paints on.
  void Painted(qel::Canvas& canvas);

 protected:
  virtual void KeepAlignedEdge(int left, int top, int width, int height);
  virtual void PaintAll(qel::Canvas& canvas);
  virtual void PaintCaptionText(qel::Canvas& canvas, qel::TRect rect);
  virtual void PaintGrid(qel::Canvas& canvas, const qel::TRect& rect);
  virtual void CaptionChanged() {}
  qel::FontValue CaptionFont() const { return {font(), fontColor_, 0}; }

  void loaded() override { Realign(); }
  void parentColorChanged(TColor color) override;

  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void enterEvent(QEnterEvent* e) override;
  void leaveEvent(QEvent* e) override;

  qel::TFrameStyleEx borderInner_ = qel::fsNone;
  qel::TFrameStyleEx borderOuter_ = qel::fsRaised;
  TAlignment alignment_ = taCenter;
  TAlignmentVertical alignmentVertical_ = avCenter;

 private:
  void EnabledChanged();
  // A writer whose value moves the aligned children.
  template <class T>
  void AssignAndRealign(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Realign();
    refresh();
  }

  QString caption_;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  qel::TSides borderSides_ = qel::sdAllSides;
  TColor borderColor_ = clBtnFace;
  TColor borderHighlight_ = clBtnHighlight;
  TColor borderShadow_ = clBtnShadow;
  TColor color_ = clBtnFace;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 30;
  TColor fontColor_ = clWindowText;
  TColor gridColor_ = clBtnShadow;
  TQelGridStyle gridStyle_ = gsDots;
  std::uint16_t gridXSize_ = 8;
  std::uint16_t gridYSize_ = 8;
  bool showGrid_ = false;
  bool transparent_ = false;
  bool showDockClientCaptions_ = true;
  bool themeAware_ = true;
  bool fullRepaint_ = true;
  bool locked_ = false;
  bool dockSite_ = false;
  bool useDockManager_ = true;
  QPointer<TQelFrameController> frameController_;
  std::vector<EnabledEntry> enabledList_;
  bool ownEnabled_ = true;  // the flag as the last enabled change left it
};

// A frame with its caption set into the top edge: a cut-corner rectangle
// (gsFlat), an etched or flat box (gsStandard), a top line (gsTopLine), or
// the panel's own look (gsCustom). Alt and the caption's accelerator focus
// the first child that takes the focus.
class TQelCustomGroupBox : public TQelCustomPanel {
  Q_OBJECT

 public:
  enum TQelGroupBoxStyle { gsStandard, gsCustom, gsTopLine, gsFlat };

  explicit TQelCustomGroupBox(const QString& caption = {}, QWidget* parent = nullptr);

  TQelGroupBoxStyle GroupStyle() const { return groupStyle_; }
  // gsCustom and gsTopLine switch ThemeAware off.
  void SetGroupStyle(TQelGroupBoxStyle v);

  qel::TRect AdjustForBorders(qel::TRect rect) const override;
  // Where the caption sits in the top edge; empty without one and for gsCustom.
  qel::TRect CaptionRect() const;
  // Only gsCustom takes the controller's frame.
  void ApplyControllerFrame() override;

 protected:
  void PaintAll(qel::Canvas& canvas) override;
  void CaptionChanged() override;
  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;

 private:
  void PaintFrame(qel::Canvas& canvas, const qel::TRect& frame);

  TQelGroupBoxStyle groupStyle_ = gsFlat;
  int shortcutId_ = 0;
};

class TQelPanel : public TQelCustomPanel {
  Q_OBJECT

 public:
  explicit TQelPanel(QWidget* parent = nullptr) : TQelCustomPanel(parent) {}
};

class TQelGroupBox : public TQelCustomGroupBox {
  Q_OBJECT

 public:
  explicit TQelGroupBox(const QString& caption = {}, QWidget* parent = nullptr) : TQelCustomGroupBox(caption, parent) {}
};

// A background of up to three layers (a tiled texture, a gradient and a
// picture placed by ImageStyle) under an optional frame. It stays at the
// bottom of its siblings, as it lies under every other control.
class TQelCustomBackground : public QWidget, public qel::StyledControl {
  Q_OBJECT

 public:
  enum TImageStyle { isCenter, isClip, isFill, isStretch, isTiled };

  explicit TQelCustomBackground(QWidget* parent = nullptr);

  bool Active() const { return active_; }
  void SetActive(bool v);
  qel::TAlign Align() const { return qel::AlignOf(this); }
  void SetAlign(qel::TAlign v) { qel::SetAlign(this, v); }
  qel::TFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(qel::TFrameStyle v);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v);
  // An RGB value equal to the one painted now changes nothing.
  TColor GradientColorStart() const { return startColor_; }
  void SetGradientColorStart(TColor v);
  TColor GradientColorStop() const { return stopColor_; }
  void SetGradientColorStop(TColor v);
  qel::TGradientDirection GradientDirection() const { return gradientDirection_; }
  void SetGradientDirection(qel::TGradientDirection v);
  // 1 to 8; other values are brought into that range.
  qel::TSmoothFactor GradientSmoothFactor() const { return smoothFactor_; }
  void SetGradientSmoothFactor(qel::TSmoothFactor v);
  const QImage& Image() const { return image_; }
  void SetImage(const QImage& v);
  TImageStyle ImageStyle() const { return imageStyle_; }
  void SetImageStyle(TImageStyle v);
  const QImage& Texture() const { return texture_; }
  void SetTexture(const QImage& v);
  // Texture and gradient are never on together; turning the gradient off
  // without a picture turns the texture on.
  bool ShowGradient() const { return showGradient_; }
  void SetShowGradient(bool v);
  bool ShowImage() const { return showImage_; }
  void SetShowImage(bool v);
  bool ShowTexture() const { return showTexture_; }
  void SetShowTexture(bool v);

  // Where a picture of that size lands on a background of that size
  // (isTiled: its first tile).
  static qel::TRect ImagePlace(TImageStyle style, int pictureWidth, int pictureHeight, int width, int height);

  // The layers and the frame as they paint now.
  qel::Canvas Paint();

 protected:
  virtual void InvalidateArea() { refresh(); }
  void refresh() override;
  virtual void PaintAll(qel::Canvas& canvas);
  virtual void PaintGradient(qel::Canvas& canvas);
  virtual void PaintImage(qel::Canvas& canvas, const QImage& picture);
  virtual void PaintTexture(qel::Canvas& canvas, const QImage& picture);

  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;

 private:
  bool active_ = true;
  qel::TFrameStyle frameStyle_ = qel::fsNone;
  TColor frameColor_ = clBtnShadow;
  TColor startColor_ = clHotLight;
  TColor startRgb_;
  TColor stopColor_ = clActiveCaption;
  TColor stopRgb_;
  qel::TGradientDirection gradientDirection_ = qel::gdHorizontalEnd;
  qel::TSmoothFactor smoothFactor_ = 1;
  bool showGradient_ = true;
  QImage image_;
  bool showImage_ = false;
  TImageStyle imageStyle_ = isCenter;
  QImage texture_;
  bool showTexture_ = false;
  std::optional<qel::Canvas> painted_;  // until something changes
};

class TQelBackground : public TQelCustomBackground {
  Q_OBJECT

 public:
  explicit TQelBackground(QWidget* parent = nullptr) : TQelCustomBackground(parent) {}
};
