#pragma once
#include <QEvent>
#include <QPointer>
#include <QString>
#include <QShortcut>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"
#include "controls/qelimagelist.h"
#include "controls/qeltabdata.h"
#include "controls/qeltablayout.h"

// A strip of tabs along one edge and a card (the page area) beside it,
// drawn by our own code: four tab shapes, one or more rows, scrolling
// single-line strips, hot tracking, tab hints, a close button and drag
// reordering. It owns no pages: a derived class fills the tab data
// (TabData()) and calls RequestLayout(); child controls aligned with
// qel::SetAlign are placed inside the card.
//
// Layout is lazy: a change that moves anything marks it needed and posts
// a layout request; it runs from that request, before every paint, and
// first in every geometry query and input handler, never while drawing.
// Choosing the current tab after a layout may ask Changing and report
// Change, so drawing never sees a handler run.
class TQelCustomTabControl : public QWidget, public qel::StyledControl, public TQelTabOwner {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)

 public:
  enum TQelHotTrackStyle { htsTab, htsText };
  enum TQelHotTrackColorType { htctComplement, htctActual };
  enum TQelHorizontalAlignment { haLeft, haRight, haCenter };
  enum TQelVerticalAlignment { vaTop, vaCenter, vaBottom };
  // The text colour being asked for (GetTextColor).
  enum TQelTextStyle { tsHotTrack, tsSelected, tsUnselected, tsDisabledHighlight, tsDisabledShadow };

  explicit TQelCustomTabControl(QWidget* parent = nullptr);
  ~TQelCustomTabControl() override;

  // --- The tabs ---
  const TQelTabDataList& Tabs() const { return tabs_; }
  // -1: no current tab.
  int TabIndex() const override { return layout_.TabIndex(); }
  // Out of range gives -1 without events; otherwise Changing may veto, and
  // Change follows a change. While loading only stored.
  virtual void SetTabIndex(int value);
  // Whether index may become current: a visible, enabled tab, and Changing
  // (asked unless it is current already) did not veto.
  virtual bool CanChange(int index);
  int HotTabIndex() const { return hotTabIndex_; }

  // --- Properties that move the tabs ---
  bool AlignTabs() const { return S().AlignTabs; }
  virtual void SetAlignTabs(bool v);
  bool BoldCurrentTab() const { return S().BoldCurrentTab; }
  virtual void SetBoldCurrentTab(bool v) { AssignLayout(S().BoldCurrentTab, v); }
  // Negative values are ignored; a change lays out only for tsCutCorner.
  int CutCornerSize() const { return S().CutCornerSize; }
  virtual void SetCutCornerSize(int v);
  TQelHorizontalAlignment ImageAlignment() const { return imageAlignment_; }
  virtual void SetImageAlignment(TQelHorizontalAlignment v) { AssignLayout(imageAlignment_, v); }
  TQelVerticalAlignment ImageAlignmentVertical() const { return imageAlignmentVertical_; }
  virtual void SetImageAlignmentVertical(TQelVerticalAlignment v) { AssignLayout(imageAlignmentVertical_, v); }
  int ImageMargin() const { return S().ImageMargin; }
  virtual void SetImageMargin(int v) { AssignSize(S().ImageMargin, v); }
  qel::TQelImagePosition ImagePosition() const { return S().ImagePosition; }
  virtual void SetImagePosition(qel::TQelImagePosition v) { AssignLayout(S().ImagePosition, v); }
  // The shared image list, held while it lives; its changes repaint.
  TQelImageList* Images() const { return images_; }
  virtual void SetImages(TQelImageList* images);
  int Margin() const { return S().Margin; }
  virtual void SetMargin(int v) { AssignSize(S().Margin, v); }
  bool MultiLine() const { return S().MultiLine; }
  virtual void SetMultiLine(bool v) { AssignLayout(S().MultiLine, v); }
  int RowIndent() const { return S().RowIndent; }
  virtual void SetRowIndent(int v) { AssignSize(S().RowIndent, v); }
  int RowOverlap() const { return S().RowOverlap; }
  virtual void SetRowOverlap(int v) { AssignSize(S().RowOverlap, v); }
  bool ShowCardFrame() const { return S().ShowCardFrame; }
  virtual void SetShowCardFrame(bool v) { AssignLayout(S().ShowCardFrame, v); }
  bool ShowCloseButton() const { return S().ShowCloseButton; }
  virtual void SetShowCloseButton(bool v);
  // Turning it off turns ShowShadow off.
  bool ShowFullFrame() const { return S().ShowFullFrame; }
  virtual void SetShowFullFrame(bool v);
  // Turning it on turns ShowFullFrame on.
  bool ShowShadow() const { return S().ShowShadow; }
  virtual void SetShowShadow(bool v);
  int TabHeight() const { return S().TabHeight; }
  virtual void SetTabHeight(int v) { AssignSize(S().TabHeight, v); }
  int TabWidth() const { return S().TabWidth; }
  virtual void SetTabWidth(int v) { AssignSize(S().TabWidth, v); }
  // While loading only stored.
  qel::TQelTabOrientation TabOrientation() const override { return S().TabOrientation; }
  virtual void SetTabOrientation(qel::TQelTabOrientation v);
  qel::TQelTabSequence TabSequence() const override { return S().TabSequence; }
  virtual void SetTabSequence(qel::TQelTabSequence v) { AssignLayout(S().TabSequence, v); }
  qel::TQelTabStyle TabStyle() const { return S().TabStyle; }
  virtual void SetTabStyle(qel::TQelTabStyle v) { AssignLayout(S().TabStyle, v); }
  TQelHorizontalAlignment TextAlignment() const { return textAlignment_; }
  virtual void SetTextAlignment(TQelHorizontalAlignment v) { AssignLayout(textAlignment_, v); }
  TQelVerticalAlignment TextAlignmentVertical() const { return textAlignmentVertical_; }
  virtual void SetTextAlignmentVertical(TQelVerticalAlignment v) { AssignLayout(textAlignmentVertical_, v); }
  // Vertical text turns the captions by 90 degrees (270 on a right strip).
  qel::TOrientation TextOrientation() const { return S().TextOrientation; }
  virtual void SetTextOrientation(qel::TOrientation v) { AssignLayout(S().TextOrientation, v); }
  // False: the strip fills the control and the card is out of sight.
  bool CardVisible() const { return S().CardVisible; }
  virtual void SetCardVisible(bool v) { AssignLayout(S().CardVisible, v); }
  // -1 or a positive number of tab regions kept; other values are ignored.
  int RegionCacheCapacity() const { return layout_.RegionCacheCapacity(); }
  virtual void SetRegionCacheCapacity(int v) { layout_.SetRegionCacheCapacity(v); }

  // --- Properties that only repaint ---
  bool AllowTabDragging() const { return allowTabDragging_; }
  void SetAllowTabDragging(bool v) { allowTabDragging_ = v; }
  // Behind the tabs; clears ParentBackgroundColor.
  TColor BackgroundColor() const { return backgroundColor_; }
  virtual void SetBackgroundColor(TColor v);
  // BackgroundColor follows the parent's Color.
  bool ParentBackgroundColor() const { return parentColor(); }
  virtual void SetParentBackgroundColor(bool v) { setParentColor(v); }
  // The card and the current tab (without UseColoredTabs). Children are
  // told of a change.
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TColor FlatColor() const { return flatColor_; }
  virtual void SetFlatColor(TColor v);
  int FlatColorAdjustment() const { return flatColorAdjustment_; }
  virtual void SetFlatColorAdjustment(int v);
  bool HotTrack() const { return hotTrack_; }
  virtual void SetHotTrack(bool v);
  TColor HotTrackColor() const { return hotTrackColor_; }
  virtual void SetHotTrackColor(TColor v) { AssignRepaint(hotTrackColor_, v); }
  TQelHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  virtual void SetHotTrackColorType(TQelHotTrackColorType v) { AssignRepaint(hotTrackColorType_, v); }
  TQelHotTrackStyle HotTrackStyle() const { return hotTrackStyle_; }
  virtual void SetHotTrackStyle(TQelHotTrackStyle v) { AssignRepaint(hotTrackStyle_, v); }
  bool ShowFocusRect() const { return showFocusRect_; }
  virtual void SetShowFocusRect(bool v) { AssignRepaint(showFocusRect_, v); }
  TQelTabColors& TabColors() { return tabColors_; }
  const TQelTabColors& TabColors() const { return tabColors_; }
  virtual void SetTabColors(const TQelTabColors& v) { tabColors_.Assign(v); }
  TQelTextColors& TextColors() { return textColors_; }
  const TQelTextColors& TextColors() const { return textColors_; }
  virtual void SetTextColors(const TQelTextColors& v) { textColors_.Assign(v); }
  // A tab's Hint becomes the control's while the pointer is over it.
  bool TabHints() const { return tabHints_; }
  virtual void SetTabHints(bool v);
  // What lies beneath (parent and lower siblings) shows around the tabs.
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool v);
  // Tabs and card in each tab's Color.
  bool UseColoredTabs() const { return useColoredTabs_; }
  virtual void SetUseColoredTabs(bool v) { AssignRepaint(useColoredTabs_, v); }
  bool UseGradients() const { return useGradients_; }
  virtual void SetUseGradients(bool v) { AssignRepaint(useGradients_, v); }
  // The control's own hint (its tool tip) when no tab hint shows.
  QString Hint() const { return toolTip(); }
  void SetHint(const QString& v);
  // Tab reaches the control; clicking its current tab focuses it.
  bool TabStop() const { return focusPolicy() != Qt::NoFocus; }
  void SetTabStop(bool v) { setFocusPolicy(v ? Qt::TabFocus : Qt::NoFocus); }

  // --- Layout and geometry (each runs a pending layout first) ---
  void UpdateLayout();
  bool LayoutNeeded() const { return layoutNeeded_; }
  int FixedDimension();
  int RowCount();
  int FirstShownTab();
  bool ScrollNeeded();
  qel::TRect TabStripRect();
  qel::TRect CardRect(int row);
  qel::TRect CardClientRect();
  qel::TRect TabClientRect(int index);
  bool IsTabShown(int index);
  int TabIndexAtPoint(qel::TPoint p);
  // Where the drag mark stands for a drop on target.
  qel::TRect DragMarkRect(int target);
  // The drag marks drawn now (one, or none, outside a paint call's toggles).
  const std::vector<qel::TRect>& DragMarks() const { return dragMarks_; }
  // Scrolls a single-line strip by one tab; false when it cannot.
  bool ScrollTabs(bool forward);
  bool CanScrollBackward() const override { return layout_.CanScrollBackward(); }
  bool CanScrollForward() const override { return layout_.CanScrollForward(); }
  TQelTabScroller* Scroller() const { return scroller_; }
  TQelTabCloseButton* CloseButton() const { return closeButton_; }
  const QTimer& HotTimer() const { return hotTimer_; }

  // The whole control as it paints now (layout first), for tests and the
  // gallery.
  qel::Canvas Paint();

  // "FixedDimension" of old forms: the row depth until the first layout.
  bool applyLegacyProperty(const QString& name, const QVariant& value) override;

  // Where the hot-tracking timer reads the pointer (global coordinates);
  // an empty hook restores the real cursor. Returns the one replaced.
  static std::function<QPoint()> SetCursorHook(std::function<QPoint()> hook);

  // --- Overridable operations ---
  // Repaints the whole control (ends a hot repaint).
  void InvalidateTabs() override;
  // The tab data changed: lays out again. A page control rebuilds its
  // tabs from its sheets here first.
  virtual void RequestLayout() { MarkLayoutDirty(true); }
  // Marking posts a layout request and repaints.
  virtual void MarkLayoutDirty(bool needed);
  // Nothing here; a page control hides or shows every sheet's tab.
  virtual void HideAllTabs() {}
  virtual void ShowAllTabs() {}

 signals:
  // Before the current tab changes; allow starts true.
  void Changing(int index, bool& allow);
  void Change();
  // The close button asks; allow starts false, so nothing closes unheard.
  void Close(bool& allow);
  // handled set: colour is used for that caption pass.
  void GetTextColor(int tab, TQelTextStyle style, TColor& colour, bool& handled);
  // handled set: the control's own drawing of that part is skipped.
  void PaintBackground(qel::Canvas& canvas, const qel::TRect& rect, bool& handled);
  void PaintCardBackground(qel::Canvas& canvas, int row, const qel::TRect& rect, bool& handled);
  void PaintTabBackground(qel::Canvas& canvas, int tab, const qel::TRect& rect, bool& handled);
  // A tab became current by the user (click, key, accelerator).
  void TabClick();
  // A left press and release inside the control.
  void Click();

 protected:
  // The list derived classes fill; call RequestLayout() after a change.
  TQelTabDataList& TabData() { return tabs_; }

  virtual void FireChanging(int index, bool& allow) { emit Changing(index, allow); }
  virtual void FireChange() { emit Change(); }
  virtual void FireTabClick() { emit TabClick(); }
  virtual void FireGetTextColor(int tab, TQelTextStyle style, bool& handled, TColor& colour) {
    emit GetTextColor(tab, style, colour, handled);
  }
  virtual void FirePaintBackground(qel::Canvas& canvas, const qel::TRect& rect, bool& handled) {
    emit PaintBackground(canvas, rect, handled);
  }
  virtual void FirePaintCardBackground(qel::Canvas& canvas, int row, bool& handled, const qel::TRect& rect) {
    emit PaintCardBackground(canvas, row, rect, handled);
  }
  virtual void FirePaintTabBackground(qel::Canvas& canvas, int tab, bool& handled, const qel::TRect& rect) {
    emit PaintTabBackground(canvas, tab, rect, handled);
  }
  // Toggles the drag mark at rect: a second call with the same rectangle
  // removes it. Shown at the next paint.
  virtual void PaintDragInsertMark(const qel::TRect& rect);
  // Nothing here: a page control closes or moves its active sheet.
  virtual void CloseCurrentTab() {}
  virtual void MoveCurrentTabTo(int) {}
  // Asks Close; false unless a handler allows it.
  virtual bool CanClose();
  // Records the row count of a layout.
  virtual void StoreLayoutValue(int rowCount) { rowCount_ = rowCount; }
  // Places the close button, the scroller and the aligned children.
  virtual void AlignInsideBorders();
  // Color changed: children are told and the card repaints.
  virtual void ColorChanged();
  virtual void PaintAll(qel::Canvas& buffer, bool hotOnly);

  void loaded() override;
  void parentColorChanged(TColor color) override;

  bool event(QEvent* e) override;
  void changeEvent(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  // One drawing step of an outline: op 0 takes the outline colour as
  // pen, 2 resets it, 3 moves, 4 draws a line, 5 and 6 shadow lines.
  struct OutlineCommand {
    int op, x, y;
  };

  qel::TabLayoutSettings& S() { return layout_.Settings(); }
  const qel::TabLayoutSettings& S() const { return layout_.Settings(); }
  template <class T, class U>
  void AssignLayout(T& field, const U& v) {
    if (field == v) return;
    field = v;
    RequestLayout();
  }
  // Sizes: negative values are ignored.
  void AssignSize(int& field, int v) {
    if (v >= 0) AssignLayout(field, v);
  }
  template <class T, class U>
  void AssignRepaint(T& field, const U& v) {
    if (field == v) return;
    field = v;
    InvalidateTabs();
  }
  TColor AdjustedFlatColor() const;
  void PushFrameColor();
  void PlaceButtons();
  void GrabAccelerators();
  // The tab whose accelerator is c: enabled and visible, first by index.
  int TabForAccelerator(QChar c) const;
  void TakeAccelerator(int tab);
  // A key's tab becomes current without asking Changing again.
  void SelectByKey(int tab);
  void HotTrackAt(const QPoint& p);
  void EndHotTracking();
  void HotTimerTick();
  void PrepareBuffer();
  void DragTo(const QPoint& p);
  void EndDrag(const QPoint& p, bool drop);
  void CloseClicked();

  // Painting.
  void PaintTabsAndCards(qel::Canvas& c, bool hotOnly);
  void PaintCard(qel::Canvas& c, int row, bool hotOnly);
  void PaintTab(qel::Canvas& c, int t);
  void PaintTabBackgroundArea(qel::Canvas& c, int t, const qel::TRect& r);
  void PaintTabContent(qel::Canvas& c, int t, const qel::TRect& r);
  void PaintTabBar(qel::Canvas& c, const qel::TRect& r, TColor color);
  void PaintCaption(qel::Canvas& c, int t, const qel::TRect& area, int offset, TColor color);
  void PaintCaptionPart(qel::Canvas& c, qel::TPoint& pen, const qel::FontValue& font, const QString& text);
  qel::TRect TabTextArea(const qel::TRect& r) const;
  // The caption block aligned in the text area.
  qel::TRect AlignedCaptionArea(int t, const qel::TRect& area) const;
  TColor TextColorFor(int t, TQelTextStyle style, TColor fallback);
  TColor HotBarColor() const;
  void BuildTabOutline(int t);
  void BuildCardFrame(int row, bool hotOnly);
  void BuildCardShadow(const qel::TRect& card);
  void Record(int op, int x = 0, int y = 0) { outline_.push_back({op, x, y}); }
  void RunOutlineCommands(qel::Canvas& c);
  void PaintDragMarks(qel::Canvas& c) const;

  TQelTabDataList tabs_;
  mutable qel::TabLayout layout_{tabs_};
  qel::Canvas buffer_{0, 0};
  bool layoutNeeded_ = true;
  bool inLayout_ = false;
  bool changeConfirmed_ = false;
  std::vector<OutlineCommand> outline_;
  int hotTabIndex_ = -1;
  QString savedHint_;
  qel::TRect lastCardRect_{-1, -1, -1, -1};
  int rowCount_ = 1;
  QPointer<TQelTabScroller> scroller_;
  QPointer<TQelTabCloseButton> closeButton_;
  QTimer hotTimer_;
  bool hotRepaint_ = false;
  QPointer<TQelImageList> images_;
  QMetaObject::Connection imagesChange_, imagesGone_;
  int creationTabIndex_ = 0;
  std::vector<qel::TRect> dragMarks_;
  int dragTarget_ = 0;

  TQelHorizontalAlignment imageAlignment_ = haCenter;
  TQelVerticalAlignment imageAlignmentVertical_ = vaCenter;
  TQelHorizontalAlignment textAlignment_ = haCenter;
  TQelVerticalAlignment textAlignmentVertical_ = vaCenter;
  bool allowTabDragging_ = false;
  TColor backgroundColor_ = clBtnFace;
  TColor color_ = clBtnFace;
  TColor flatColor_ = clBtnShadow;
  int flatColorAdjustment_ = 0;
  bool hotTrack_ = true;
  TColor hotTrackColor_ = clHighlight;
  TQelHotTrackColorType hotTrackColorType_ = htctComplement;
  TQelHotTrackStyle hotTrackStyle_ = htsTab;
  bool showFocusRect_ = true;
  TQelTabColors tabColors_{this};
  TQelTextColors textColors_{this};
  bool tabHints_ = false;
  bool transparent_ = false;
  bool useColoredTabs_ = false;
  bool useGradients_ = true;

  // Accelerator shortcuts by id, with their letter.
  std::map<int, QChar> accelerators_;
  QString acceleratorCaptions_;
  // The left press: where, and whether a release inside clicks.
  QPoint pressAt_;
  bool pressed_ = false;
  bool dragging_ = false;
};

class TQelPageControl;

// A page of a TQelPageControl: hidden until its page control shows it,
// filling the card (alClient), its tab built from Caption, Color,
// TabEnabled, TabVisible, its tool tip and the two image indexes.
class TQelTabSheet : public QWidget {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)

 public:
  // A page control as parent lists the sheet in it.
  explicit TQelTabSheet(QWidget* parent = nullptr);
  // A listed sheet leaves its page control first.
  ~TQelTabSheet() override;

  TQelPageControl* PageControl() const { return pageControl_; }
  // Leaves the old page control, takes the new one as parent and joins it.
  void SetPageControl(TQelPageControl* pageControl);
  // -1 without a page control.
  int PageIndex() const;
  // Moves the sheet in its page control's list; nothing without one.
  // Throws std::out_of_range past the last index or below 0.
  void SetPageIndex(int index);
  // Its tab's index: -1 when TabVisible is off.
  int VisibleTabIndex() const;

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  // Differing from the page control's Color turns its UseColoredTabs on.
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int DisabledIndex() const { return disabledIndex_; }
  void SetDisabledIndex(int index);
  int ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int index);
  bool TabEnabled() const { return tabEnabled_; }
  void SetTabEnabled(bool on);
  bool TabVisible() const { return tabVisible_; }
  void SetTabVisible(bool on);
  // Only the page control shows and hides its sheets: SetVisible throws
  // std::logic_error.
  bool Visible() const { return !isHidden(); }
  [[noreturn]] void SetVisible(bool);

  virtual void CopySheetTo(TQelTabData& target) const;

 signals:
  // handled set: the sheet's Color fill is skipped.
  void PaintBackground(qel::Canvas& canvas, const qel::TRect& rect, bool& handled);

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  friend class TQelPageControl;
  // The tabs are built again from the sheets.
  void Relayout();
  // A changed value is stored and the tabs built again.
  template <class T>
  void Store(T& field, const T& value);

  QString caption_;
  TColor color_ = clBtnFace;
  int disabledIndex_ = -1;
  int imageIndex_ = -1;
  TQelPageControl* pageControl_ = nullptr;
  bool tabEnabled_ = true;
  bool tabVisible_ = true;
};

// The tab control whose tabs stand for its sheets: choosing a tab shows
// its sheet and hides the one shown before, handing the keyboard focus
// over when it was on the page that goes. Ctrl+Tab and Ctrl+Shift+Tab
// walk through the pages with a tab. The sheets are its children, listed
// in page order; the list does not own them.
class TQelPageControl : public TQelCustomTabControl {
  Q_OBJECT

 public:
  explicit TQelPageControl(QWidget* parent = nullptr);
  ~TQelPageControl() override;

  // A new sheet with this caption, joined last.
  TQelTabSheet* AddSheet(const QString& caption);
  int PageCount() const { return int(sheets_.size()); }
  int count() const { return PageCount(); }
  // Throws std::out_of_range outside 0..PageCount() - 1.
  TQelTabSheet* Page(int index) const;
  QString tabText(int index) const { return Page(index)->Caption(); }

  TQelTabSheet* ActivePage() const { return activePage_; }
  // Shows sheet (none: no page) through its tab, which may be refused;
  // a sheet of another page control is ignored. While loading only stored.
  void SetActivePage(TQelTabSheet* sheet);
  int ActivePageIndex() const;
  void SetActivePageIndex(int index);
  // When set, the page shown after loading.
  TQelTabSheet* ActivePageDefault() const { return activePageDefault_; }
  void SetActivePageDefault(TQelTabSheet* sheet) { activePageDefault_ = sheet; }
  // Stored only: no page gives anything up while hidden.
  bool SaveResources() const { return saveResources_; }
  void SetSaveResources(bool on) { saveResources_ = on; }
  // Stored only: nothing docks here.
  bool DockSite() const { return dockSite_; }
  void SetDockSite(bool on) { dockSite_ = on; }

  // The sheet whose tab is index: none for -1 or no such tab.
  TQelTabSheet* SheetForTab(int index) const;
  // The next sheet after current (none: from the end), wrapping round,
  // current itself last; none without sheets.
  TQelTabSheet* FindNextPage(TQelTabSheet* current, bool forward, bool visibleTabsOnly) const;
  // The next page with a visible, enabled tab whose change is not refused;
  // none of them leaves the page as it is.
  void SelectNextPage(bool forward);
  // Shows control: one of its sheets becomes the active page, and an
  // enclosing page control shows the sheet this one lies on.
  void ShowControl(QWidget* control);

  void SetUseColoredTabs(bool on) override;
  void HideAllTabs() override;
  void ShowAllTabs() override;
  // The tabs are built again from the sheets, then laid out.
  void RequestLayout() override;

 protected:
  void FireChanging(int index, bool& allow) override;
  void FireChange() override;
  void FirePaintCardBackground(qel::Canvas& canvas, int row, bool& handled, const qel::TRect& rect) override;
  void CloseCurrentTab() override;
  void MoveCurrentTabTo(int tab) override;
  void AlignInsideBorders() override;
  void ColorChanged() override;
  void loaded() override;

 private:
  friend class TQelTabSheet;
  void InsertSheet(TQelTabSheet* sheet);
  void RemoveSheet(TQelTabSheet* sheet);
  void MoveSheet(TQelTabSheet* sheet, int index);
  void ChangeActivePage(TQelTabSheet* sheet);

  std::vector<TQelTabSheet*> sheets_;
  TQelTabSheet* activePage_ = nullptr;
  QPointer<TQelTabSheet> activePageDefault_;
  bool saveResources_ = false;
  bool dockSite_ = false;
  // The page control's own after-loading steps: no Changing, no Change.
  bool loadingPages_ = false;
};
