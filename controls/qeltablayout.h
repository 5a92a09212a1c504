#pragma once
// Where a tab control's tabs, rows, cards, scroll arrows and close button
// lie, and which tab a point hits. No widget: the tab control feeds its
// size, properties and tab list in and paints from what comes out.
//
// Strip coordinates: every tab is laid out as if the strip lay along the
// top edge, x along the strip in tab order, y across it from the control's
// outer edge (0) towards the card. LogicalToClient maps them to the client
// for the real edge, sequence and scroll position.
//
// Rectangles are (Left, Top, Right, Bottom) as qel::TRect. Those built
// from the client size (TabStripRect, CardRect, CardClientRect) reach
// W - 1 and H - 1, so their right and bottom are the last pixel; tab
// rectangles, hit tests and regions leave out the right and bottom edges.
#include <QFont>
#include <QRegion>
#include <QStringList>
#include <vector>

#include "controls/qelcanvas.h"
#include "controls/qeltabdata.h"

namespace qel {

// The tab control's properties that move anything, with their defaults.
struct TabLayoutSettings {
  TQelTabOrientation TabOrientation = toTop;
  TQelTabSequence TabSequence = tsStandard;
  TQelTabStyle TabStyle = tsSingleSlant;
  bool MultiLine = false;
  bool AlignTabs = false;  // rows stretched to the strip's length
  int Margin = 0;          // at both ends of the strip
  int RowIndent = 5;       // each further row starts this much further in
  int RowOverlap = 5;      // rows overlap across the strip by this much
  int TabWidth = 0;        // 0: from the content
  int TabHeight = 0;       // 0: from the content
  int CutCornerSize = 6;
  bool ShowShadow = true;
  bool ShowFullFrame = true;
  bool ShowCardFrame = true;
  bool ShowCloseButton = false;
  bool BoldCurrentTab = false;  // then every tab is measured bold
  TOrientation TextOrientation = orHorizontal;
  TQelImagePosition ImagePosition = ipLeft;
  int ImageMargin = 2;  // between image and caption, for tabs with an image
  int ImageWidth = 0;   // of the image list; 0 x 0 without one
  int ImageHeight = 0;
  bool CardVisible = true;  // false: the strip fills the control
  QFont Font;
};

class TabLayout {
 public:
  // The list is the tab control's; layout writes each visible tab's
  // TabRect and Row into it.
  explicit TabLayout(TQelTabDataList& tabs) : tabs_(tabs) {}

  // --- Inputs ---
  TabLayoutSettings& Settings() { return settings_; }
  const TabLayoutSettings& Settings() const { return settings_; }
  void SetClientSize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  int ClientWidth() const { return width_; }
  int ClientHeight() const { return height_; }
  // The current tab (-1: none).
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int index) { tabIndex_ = index; }
  // Where scrolling starts; layout keeps it where it still shows a whole
  // tab. The tab control moves it when it scrolls.
  int FirstShownTab() const { return firstShownTab_; }
  void SetFirstShownTab(int index) { firstShownTab_ = index; }
  // Depth of one row. The value given here (a stored form's) holds until
  // the first layout, which recomputes it.
  int FixedDimension() const { return fixedDimension_; }
  void SetFixedDimension(int value) { fixedDimension_ = value; }
  // nullptr: the library's engine (qel::Text()).
  void SetTextEngine(TextEngine* engine) { engine_ = engine; }

  // --- Layout ---
  // Measures, counts rows, places every visible tab, aligns rows; clears
  // the region cache.
  void LayoutTabs();
  // LayoutTabs, then ScrollNeeded and FirstShownTab. Choosing the current
  // tab after it is the tab control's (it asks its OnChanging).
  void UpdateLayout();
  // Multi-line: the current tab's row moves next to the card, the others
  // outwards keeping their cyclic order. Only rows move.
  void BringRowToFront();

  // --- Outputs ---
  int RowCount() const { return rowCount_; }
  // Single-line tabs do not fit: the scroller shows.
  bool ScrollNeeded() const { return scrollNeeded_; }
  const TQelTabDataList& Tabs() const { return tabs_; }
  int FirstVisibleTab() const;
  int LastVisibleTab() const;  // -1 when none is visible

  // --- Measuring ---
  // Bold, and turned for vertical text (tenths of a degree).
  FontValue TabFont(bool bold) const;
  // Caption lines split at CR LF, as measured and drawn (no lines for an
  // empty caption).
  static QStringList SplitCaptionLines(const QString& caption);
  // The line as shown: its first '&' removed ("&&" shows one '&'), unless
  // that '&' ends the line.
  static QString WithoutAccelerator(const QString& line);
  // Width and height of a caption in client directions.
  TPoint MeasureText(const QString& caption, bool bold) const;
  // Content of a tab (image and caption, raised to the minimum where the
  // size is automatic); 0 x 0 for an invisible tab.
  TPoint TabContentSize(int index) const;
  // The tab's size (width, height in client directions) for a content
  // size, by style and strip side.
  TPoint TabSizeForContent(TPoint content) const;
  // One tab's size after layout has found the largest content.
  TPoint TabSize(int index) const;
  // How far neighbouring tabs of a depth overlap, less 1 (-1: they stand
  // 1 pixel apart).
  static int SlantOffset(TQelTabStyle style, int depth);
  int SlantOffset(int depth) const { return SlantOffset(settings_.TabStyle, depth); }

  // --- Strip and cards ---
  int TabStripDepth() const;
  TRect TabStripRect() const;
  int TabStripLength() const;
  // Length along the strip that a tab may take.
  int AvailableLength() const;
  // The card of a row; (0, 0, 0, 0) when empty.
  TRect CardRect(int row) const;
  // Where child controls go; (-2, -2, -1, -1) while the card is hidden.
  TRect CardClientRect() const;

  // --- Scrolling ---
  // Strip x of the first shown tab's near edge.
  int ScrollOffset() const;
  // Visible and, while scrolling, wholly inside the window between the
  // strip's start and the scroller.
  bool IsTabShown(int index) const;
  int ScrollerButtonSize() const;
  // 0 without ShowCloseButton or without tabs.
  int CloseButtonSize() const;
  // Horizontal for top and bottom strips.
  TOrientation ScrollerOrientation() const;
  // Where the scroller and the close button go while shown.
  TRect ScrollerRect() const;
  TRect CloseButtonRect() const;
  // What the scroller's halves may do: back while the first shown tab is
  // not tab 0, forward while the last visible tab is not shown whole.
  bool CanScrollBackward() const;
  bool CanScrollForward() const;

  // --- Tabs on the client ---
  TPoint LogicalToClient(TPoint strip) const;
  // TabRect moved in by its row's indent (the current round tab a little
  // larger).
  TRect TabLogicalRect(int index) const;
  // The logical rectangle on the client, normalised; empty for an index
  // outside the list.
  TRect TabClientRect(int index) const;
  // The outline from the card side round to the card side, in strip or
  // client coordinates.
  std::vector<TPoint> TabOutlinePoints(int index) const;
  std::vector<TPoint> TabClientOutline(int index) const;
  // The tab's shape (through the region cache); empty when it has none.
  QRegion TabRegion(int index) const;
  // The tab under a client point (the current one first, as it is drawn
  // on top); -1 for none.
  int TabIndexAtPoint(TPoint p) const;

  TQelTabRegionCache& RegionCache() const { return regionCache_; }
  int RegionCacheCapacity() const { return regionCache_.Capacity(); }
  // -1 or a positive value; anything else is ignored.
  void SetRegionCacheCapacity(int capacity);

 private:
  TextEngine& Engine() const { return engine_ ? *engine_ : Text(); }
  bool Horizontal() const { return settings_.TabOrientation == toTop || settings_.TabOrientation == toBottom; }
  bool VerticalText() const { return settings_.TextOrientation == orVertical; }
  bool ValidIndex(int index) const { return index >= 0 && index < tabs_.Count(); }
  // Minimum content size (width, height) where the size is automatic.
  TPoint MinimumContent() const;
  int LengthAlong(TPoint size) const { return Horizontal() ? size.X : size.Y; }
  int ClampedLength(int index, int available) const;
  int AvailableLength(int rows) const;
  void FindFixedDimension();
  int CountRows();
  void PlaceTabs();
  void AlignRows();

  TQelTabDataList& tabs_;
  TabLayoutSettings settings_;
  TextEngine* engine_ = nullptr;
  int width_ = 0, height_ = 0;
  int tabIndex_ = -1;
  int firstShownTab_ = 0;
  int fixedDimension_ = 0;
  int rowCount_ = 1;
  bool scrollNeeded_ = false;
  TPoint largestContent_;
  mutable TQelTabRegionCache regionCache_;
};

}  // namespace qel
