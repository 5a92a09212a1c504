#include "controls/qellists.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMetaMethod>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStyledItemDelegate>
#include <cstdlib>

#include "controls/qelborders.h"
#include "controls/qelcolormath.h"
#include "controls/qeldraw.h"

using qel::TRect;

namespace {

constexpr int kSearchPause = 1500;  // ms without typing before a new search

const QChar kBackspace(8), kTab(9), kEnter(13), kEscape(27), kCtrlC(3), kCtrlV(22), kCtrlX(24);

bool Is(const QString& key, QChar c) { return key.size() == 1 && key.at(0) == c; }

// A character the searches take: 32 and above, DEL excluded.
bool Printable(const QString& key) { return !key.isEmpty() && key.at(0).unicode() >= 32 && key.at(0).unicode() != 127; }

// Alt without Ctrl: the keys that would be system keys (AltGr types text).
bool SystemKey(const QKeyEvent* e) {
  const auto m = e->modifiers();
  return (m & Qt::AltModifier) && !(m & Qt::ControlModifier);
}

// What a key press types, as the character codes the steps read: Backspace,
// Enter, Esc and Ctrl+C, V, X as their control characters, printable text
// as itself; empty for a key that types nothing the steps look at.
QString TypedOf(const QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Backspace: return kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter: return kEnter;
    case Qt::Key_Escape: return kEscape;
    default: break;
  }
  const auto m = e->modifiers();
  if ((m & Qt::ControlModifier) && !(m & Qt::AltModifier)) {
    switch (e->key()) {
      case Qt::Key_C: return kCtrlC;
      case Qt::Key_V: return kCtrlV;
      case Qt::Key_X: return kCtrlX;
      default: return {};
    }
  }
  const QString t = e->text();
  return Printable(t) ? t : QString();
}

// Whole characters: a surrogate pair is one.
int CharLengthAt(const QString& s, int i) {
  return i + 1 < s.size() && s.at(i).isHighSurrogate() && s.at(i + 1).isLowSurrogate() ? 2 : 1;
}

void RemoveLastChar(QString& s) {
  if (s.isEmpty()) return;
  const int n = s.size() >= 2 && s.at(s.size() - 1).isLowSurrogate() && s.at(s.size() - 2).isHighSurrogate() ? 2 : 1;
  s.chop(n);
}

// Removes count characters at pos (0-based); nothing past the end.
void RemoveAt(QString& s, int pos, int count) {
  if (pos < 0 || pos >= s.size() || count <= 0) return;
  s.remove(pos, count);
}

// Inserts at pos (0-based); a position past the end appends.
void InsertAt(QString& s, int pos, const QString& text) { s.insert(qBound(0, pos, int(s.size())), text); }

qel::FontValue FontOf(const QWidget* w, TColor color = clWindowText) { return {w->font(), color, 0}; }

// A canvas over rect of a view's viewport, drawn in viewport coordinates.
qel::Canvas ItemCanvas(const QRect& rect, int ratio) {
  qel::Canvas canvas(rect.width(), rect.height(), false, ratio);
  canvas.SetOrigin(-rect.left(), -rect.top());
  return canvas;
}

unsigned ItemStateOf(const QStyleOptionViewItem& option) {
  unsigned state = 0;
  if (option.state & QStyle::State_Selected) state |= qel::odSelected;
  if (option.state & QStyle::State_HasFocus) state |= qel::odFocused;
  if (!(option.state & QStyle::State_Enabled)) state |= qel::odDisabled;
  return state;
}

// Items a control paints on a canvas itself, each height asked of it.
class CanvasItemDelegate : public QStyledItemDelegate {
 public:
  using Paint = std::function<void(qel::Canvas&, int row, const TRect&, unsigned state)>;
  using Height = std::function<int(int row)>;
  CanvasItemDelegate(QObject* owner, Paint paint, Height height)
      : QStyledItemDelegate(owner), paint_(std::move(paint)), height_(std::move(height)) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    qel::Canvas canvas = ItemCanvas(option.rect, int(painter->device()->devicePixelRatio() + 0.99));
    paint_(canvas, index.row(), qel::ToTRect(option.rect), ItemStateOf(option));
    painter->drawImage(QRectF(option.rect), canvas.Image());
  }
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {option.rect.width(), height_(index.row())};
  }

 private:
  Paint paint_;
  Height height_;
};

}  // namespace

namespace qel {

int FindPrefix(int count, const std::function<QString(int)>& text, const QString& prefix) {
  for (int i = 0; i < count; ++i)
    if (text(i).startsWith(prefix, Qt::CaseInsensitive)) return i;
  return -1;
}

bool ShowsItemHint(int clientWidth, int textWidth, bool applicationActive) {
  return applicationActive && clientWidth < textWidth + 2;
}

}  // namespace qel

// ===================================================================
// Combo box
// ===================================================================

// The edit part: mouse presses, cut and paste (its context menu's too) take
// the combo box's roads.
class TQelCustomComboBox::Edit : public QLineEdit {
 public:
  explicit Edit(TQelCustomComboBox* owner) : QLineEdit(owner), owner_(owner) {}

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) owner_->EditMousePressed();
    QLineEdit::mousePressEvent(e);
  }
  void contextMenuEvent(QContextMenuEvent* e) override {
    QMenu* menu = createStandardContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    // Qt names the actions only in later versions; their captions are
    // QLineEdit's own, followed by the shortcut.
    const QString cut = QLineEdit::tr("Cu&t"), paste = QLineEdit::tr("&Paste");
    for (QAction* a : menu->actions()) {
      void (TQelCustomComboBox::*road)() = nullptr;
      if (a->objectName() == QLatin1String("edit-cut") || a->text().startsWith(cut))
        road = &TQelCustomComboBox::Cut;
      else if (a->objectName() == QLatin1String("edit-paste") || a->text().startsWith(paste))
        road = &TQelCustomComboBox::Paste;
      if (!road) continue;
      disconnect(a, &QAction::triggered, nullptr, nullptr);
      a->setObjectName(road == &TQelCustomComboBox::Cut ? QStringLiteral("edit-cut") : QStringLiteral("edit-paste"));
      connect(a, &QAction::triggered, owner_, road);
    }
    menu->popup(e->globalPos());
  }

 private:
  TQelCustomComboBox* owner_;
};

TQelCustomComboBox::TQelCustomComboBox(QWidget* parent)
    : QComboBox(parent), TextFrame(this, FocusTracking::InControlFlag) {
  searchTimer_.setInterval(kSearchPause);
  connect(&searchTimer_, &QTimer::timeout, this, &TQelCustomComboBox::SearchTimerTick);
  // First in line, so Click precedes every handler of Qt's own activations.
  connect(this, &QComboBox::activated, this, &TQelCustomComboBox::Activated);
  connect(this, &QComboBox::currentIndexChanged, this, &TQelCustomComboBox::ProgramWrote);
  connect(this, &QComboBox::editTextChanged, this, &TQelCustomComboBox::ProgramWrote);
  qtDelegate_ = itemDelegate();
  ownerDelegate_ = new CanvasItemDelegate(
      this, [this](qel::Canvas& c, int row, const TRect& r, unsigned state) { PaintOwnerItem(c, row, r, state); },
      [this](int row) {
        int height = itemHeight_;
        if (style_ == csOwnerDrawVariable) emit MeasureItem(row, &height);
        return height;
      });
  ConnectModel();
  MakeEditPart();
}

TQelCustomComboBox::~TQelCustomComboBox() {
  // Items removed while Qt tears down are no deletions to report, nor
  // writes of the program.
  disconnect(modelRemoval_);
  disconnect(modelReset_);
  disconnect(this, &QComboBox::currentIndexChanged, this, nullptr);
  disconnect(this, &QComboBox::editTextChanged, this, nullptr);
}

void TQelCustomComboBox::MakeEditPart() {
  if (!HasEditPart()) {
    setEditable(false);
    return;
  }
  if (!dynamic_cast<Edit*>(lineEdit())) {
    setLineEdit(new Edit(this));
    // Return and leaving the edit would select (and activate) an equal item.
    disconnect(lineEdit(), SIGNAL(returnPressed()), this, SLOT(_q_returnPressed()));
    disconnect(lineEdit(), SIGNAL(editingFinished()), this, SLOT(_q_editingFinished()));
  }
  setCompleter(nullptr);
  setInsertPolicy(QComboBox::NoInsert);
  lineEdit()->setReadOnly(readOnly_);
  lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

void TQelCustomComboBox::SetStyle(TComboBoxStyle v) {
  if (v == style_) return;
  const int index = currentIndex();
  style_ = v;
  MakeEditPart();
  // The view's own setter, which (unlike some Qt versions of the combo
  // box's) never deletes the delegate it replaces.
  if (QAbstractItemDelegate* wanted = OwnerDrawn() ? ownerDelegate_ : qtDelegate_.data())
    view()->setItemDelegate(wanted);
  setCurrentIndex(index);
  update();
}

void TQelCustomComboBox::SetDropDownWidth(int v) {
  if (v == dropDownWidth_) return;
  dropDownWidth_ = v;
  view()->setMinimumWidth(qMax(0, v));
}

void TQelCustomComboBox::SetReadOnly(bool v) {
  if (v == readOnly_) return;
  readOnly_ = v;
  if (lineEdit()) lineEdit()->setReadOnly(v);
  update();
}

void TQelCustomComboBox::SetMaxLength(int v) {
  maxLength_ = qMax(0, v);
  if (lineEdit()) lineEdit()->setMaxLength(maxLength_ > 0 ? maxLength_ : 32767);
}

int TQelCustomComboBox::ItemHeight() const {
  if (OwnerDrawn()) return itemHeight_;
  return view()->sizeHintForRow(0) > 0 ? view()->sizeHintForRow(0) : fontMetrics().height();
}

void TQelCustomComboBox::SetItemHeight(int v) {
  if (!OwnerDrawn() || v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  view()->doItemsLayout();
  update();
}

bool TQelCustomComboBox::DroppedDown() const { return view()->isVisible(); }

void TQelCustomComboBox::SetText(const QString& v) {
  if (!HasEditPart()) {
    // Without an edit part the text can only be an item's.
    const int i = IndexOfItem(v);
    if (i >= 0) setCurrentIndex(i);
    return;
  }
  SetEditTextRaw(v);
  const bool completes = autoComplete_ && style_ == csDropDown && !DroppedDown();
  // During the Enter that set the flag, the text typed before it completes.
  if (completes && enterFlag_)
    enterFlag_ = false;
  else
    searchText_ = Text();
  if (!completes || searchText_.isEmpty()) return;
  // An equal item before the first that merely begins with the text.
  int i = findText(searchText_, Qt::MatchFixedString | Qt::MatchCaseSensitive);
  if (i < 0) i = IndexOfItem(searchText_);
  if (i < 0) i = FindItemPrefix(searchText_);
  if (i < 0) return;
  SelectItem(i);
  const int start = int(searchText_.size());
  lineEdit()->setSelection(start, int(itemText(i).size()) - start);
}

void TQelCustomComboBox::WriteTextQuietly(const QString& text) {
  if (text == Text()) return;
  if (HasEditPart()) {
    SetEditTextRaw(text);
    searchText_ = Text();
  } else {
    SetText(text);
  }
}

int TQelCustomComboBox::IndexOfItem(const QString& text) const { return findText(text, Qt::MatchFixedString); }

int TQelCustomComboBox::FindItemPrefix(const QString& text) const {
  return qel::FindPrefix(
      count(), [this](int i) { return itemText(i); }, text);
}

void TQelCustomComboBox::SetEditTextRaw(const QString& text) {
  const OwnChange own(ownChange_);
  if (lineEdit() && lineEdit()->text() != text) lineEdit()->setText(text);
}

void TQelCustomComboBox::SelectItem(int index) {
  const OwnChange own(ownChange_);
  setCurrentIndex(index);
  if (lineEdit()) SetEditTextRaw(itemText(currentIndex()));
}

int TQelCustomComboBox::SelStart() const {
  const QLineEdit* e = lineEdit();
  if (!e) return 0;
  return e->hasSelectedText() ? e->selectionStart() : e->cursorPosition();
}

int TQelCustomComboBox::SelLength() const { return lineEdit() ? int(lineEdit()->selectedText().size()) : 0; }

void TQelCustomComboBox::InvalidKeyBeep() {
  if (beepOnInvalidKey_) qel::Beep();
}

void TQelCustomComboBox::FireChange() {
  const int index = currentIndex();
  firing_ = true;
  emit activated(index);
  firing_ = false;
  emit textActivated(itemText(index));
}

void TQelCustomComboBox::FireClickChange() {
  emit Click();
  FireChange();
}

void TQelCustomComboBox::ProgramWrote() {
  if (ownChange_ == 0) SearchFromText();
}

void TQelCustomComboBox::SearchFromText() {
  // The list styles' search is what was typed, until the pause ends it.
  if (HasEditPart()) searchText_ = Text();
}

void TQelCustomComboBox::QtKeyPress(QKeyEvent* e) {
  const OwnChange own(ownChange_);
  QComboBox::keyPressEvent(e);
}

void TQelCustomComboBox::QtInputMethod(QInputMethodEvent* e) {
  const OwnChange own(ownChange_);
  QComboBox::inputMethodEvent(e);
}

void TQelCustomComboBox::Activated() {
  if (popup_ != Popup::Closed) {
    popup_ = Popup::Closed;
    // A choice in the list, though it may leave index and text as they were.
    SearchFromText();
    emit SelEndOk();
  }
  if (!firing_) emit Click();
}

void TQelCustomComboBox::NotifyKeyPress(const QString& key) {
  QString copy = key;
  KeyPressStage(copy);
}

void TQelCustomComboBox::KeyPressStage(QString& key) {
  if (Is(key, kEnter) && TabOnEnter() && !DroppedDown()) {
    key.clear();
    qel::PostTabKey(this);
    return;
  }
  if (style_ == csDropDown && Printable(key) && maxLength_ > 0 && Text().size() >= maxLength_ && SelLength() == 0) {
    qel::Beep();
    key.clear();
  }
  if (OnKeyPress) OnKeyPress(key);
  if (key.isEmpty() || Is(key, kBackspace) || Is(key, kEscape)) return;
  if (Is(key, kTab)) {
    if (autoDropDown_ && DroppedDown()) hidePopup();
    return;
  }
  if (autoDropDown_ && !DroppedDown()) showPopup();
}

void TQelCustomComboBox::SelectSearchMatch(const QString& text, const QString& key) {
  const int i = FindItemPrefix(text);
  if (i < 0) {
    InvalidKeyBeep();
    return;
  }
  SelectItem(i);
  searchText_ = text;
  FireClickChange();
  NotifyKeyPress(key);
}

bool TQelCustomComboBox::IncrementalSearch(const QString& text, const QString& key) {
  const int i = FindItemPrefix(text);
  if (i < 0) return false;
  const QString item = itemText(i);
  if (keepSearchCase_)
    SetEditTextRaw(text + item.mid(text.size()));
  else
    SelectItem(i);
  FireClickChange();
  NotifyKeyPress(key);
  if (lineEdit()) {
    const int start = qMin(int(text.size()), int(lineEdit()->text().size()));
    lineEdit()->setSelection(start, int(item.size()) - start);
  }
  emit Match();
  return true;
}

void TQelCustomComboBox::FireDeleteItem(const QVariant& item) { emit DeleteItem(item); }

void TQelCustomComboBox::SearchTimerTick() {
  if (keyBusy_ != 0) return;
  searchTimer_.stop();
  searchText_.clear();
}

// --- Keys. ---

void TQelCustomComboBox::keyPressEvent(QKeyEvent* e) {
  if (HasEditPart()) {
    EditKeyPress(e);
    // The flag is for the text changes of its own key only.
    enterFlag_ = false;
  } else {
    ListKeyPress(e);
  }
}

void TQelCustomComboBox::EditKeyPress(QKeyEvent* e) {
  if (!autoComplete_) {
    QtKeyPress(e);
    return;
  }
  if (SystemKey(e)) {
    if (readOnly_ && e->key() != Qt::Key_F4) return e->accept();
    QtKeyPress(e);
    return;
  }
  const bool shift = e->modifiers() & Qt::ShiftModifier;
  switch (e->key()) {
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down:
      searchText_.clear();
      if (readOnly_) return e->accept();
      break;
    case Qt::Key_End:
    case Qt::Key_Home:
    case Qt::Key_Left:
    case Qt::Key_Right: searchText_ = Text(); break;
    case Qt::Key_Insert:
      if (shift) pastePending_ = true;
      if (!allowEdit_) {
        pastePending_ = false;
        return e->accept();
      }
      break;
    case Qt::Key_Delete: {
      searchText_ = Text();
      const int start = SelStart();
      const int length = SelLength();
      RemoveAt(searchText_, start, length > 0 ? length : CharLengthAt(searchText_, start));
      if (!allowEdit_ && length < Text().size()) return e->accept();
      break;
    }
    case Qt::Key_F4:
      if (readOnly_) return e->accept();
      break;
    default: break;
  }
  const QString typed = TypedOf(e);
  if (!typed.isEmpty() && EditCharacter(e, typed)) return;
  if (typed.isEmpty()) {
    QtKeyPress(e);
  } else {
    QString key = typed;
    KeyPressStage(key);
    if (key.isEmpty()) return e->accept();
    PassKeyOn(e, key);
  }
  AfterEditKey(typed);
}

bool TQelCustomComboBox::EditCharacter(QKeyEvent* e, const QString& typed) {
  if (readOnly_ && !Is(typed, kCtrlC)) {
    // Eaten; Enter and Esc still reach the dialog.
    if (Is(typed, kEnter) || Is(typed, kEscape))
      e->ignore();
    else
      e->accept();
    return true;
  }
  if (Is(typed, kBackspace)) {
    QString w = searchText_;
    if (w.isEmpty()) {
      InvalidKeyBeep();
    } else {
      const int start = SelStart(), length = SelLength();
      if (start >= w.size()) {
        RemoveLastChar(w);
      } else if (length > 0 && allowEdit_) {
        RemoveAt(w, start, length);
        lineEdit()->setSelection(start, 0);
        lineEdit()->setCursorPosition(start);
      } else if (allowEdit_ && start > 0) {
        const int n = start >= 2 && w.at(start - 1).isLowSurrogate() && w.at(start - 2).isHighSurrogate() ? 2 : 1;
        RemoveAt(w, start - n, n);
      }
      FireChange();
      if (w.isEmpty()) {
        SelectItem(-1);
        if (keepSearchCase_) SetEditTextRaw(QString());
        searchText_.clear();
        FireClickChange();
        NotifyKeyPress(typed);
      }
    }
    searchText_ = w;
    if (IncrementalSearch(searchText_, typed)) {
      e->accept();
      return true;
    }
    return false;
  }
  if (Is(typed, kEnter)) {
    if (DroppedDown()) emit SelEndOk();
    enterFlag_ = true;
    return false;
  }
  if (Is(typed, kCtrlV) || Is(typed, kCtrlX)) {
    if (allowEdit_) return false;
    e->accept();
    return true;
  }
  if (Is(typed, kEscape)) {
    if (DroppedDown()) return false;
    SelectItem(-1);
    searchText_.clear();
    FireClickChange();
    NotifyKeyPress(typed);
    e->accept();
    return true;
  }
  if (!Printable(typed)) return false;
  QString key = typed;
  KeyPressStage(key);
  if (!Printable(key)) {
    // The key-press stage ate it or made it a control character.
    if (key.isEmpty()) {
      e->accept();
      return true;
    }
    PassKeyOn(e, key);
    return true;
  }
  const int start = SelStart();
  RemoveAt(searchText_, start, SelLength());
  const QString s = searchText_;
  InsertAt(searchText_, start, key);
  if (IncrementalSearch(searchText_, key)) {
    e->accept();
    return true;
  }
  if (allowEdit_) {
    SetEditTextRaw(s);
    lineEdit()->setCursorPosition(qMin(start, int(s.size())));
    PassKeyOn(e, key);
    return true;
  }
  InvalidKeyBeep();
  searchText_ = s;
  e->accept();
  return true;
}

void TQelCustomComboBox::PassKeyOn(QKeyEvent* e, const QString& typed) {
  if (typed == e->text() || TypedOf(e) == typed) {
    QtKeyPress(e);
    return;
  }
  QKeyEvent changed(e->type(), 0, e->modifiers() & ~(Qt::ControlModifier | Qt::AltModifier), typed);
  QtKeyPress(&changed);
  e->setAccepted(changed.isAccepted());
}

void TQelCustomComboBox::AfterEditKey(const QString& typed) {
  const bool pasteOrCut = pastePending_ || Is(typed, kCtrlV) || Is(typed, kCtrlX);
  pastePending_ = false;
  if (!pasteOrCut || !allowEdit_) return;
  searchText_ = Text();
  IncrementalSearch(searchText_, typed);
}

void TQelCustomComboBox::ListKeyPress(QKeyEvent* e) {
  const int k = e->key();
  if (k == Qt::Key_Escape || (k >= Qt::Key_Home && k <= Qt::Key_PageDown)) searchText_.clear();
  const QString typed = SystemKey(e) ? QString() : TypedOf(e);
  if (Is(typed, kBackspace)) {
    QString w = searchText_;
    if (w.isEmpty()) {
      InvalidKeyBeep();
      SelectSearchMatch(w, typed);
    } else {
      RemoveLastChar(w);
      if (!w.isEmpty()) {
        SelectSearchMatch(w, typed);
      } else {
        SelectItem(0);
        FireClickChange();
        searchText_.clear();
        NotifyKeyPress(typed);
      }
    }
    return e->accept();
  }
  if (Is(typed, kEscape)) {
    SelectItem(0);
    FireClickChange();
    return e->accept();
  }
  if (Printable(typed)) {
    keyBusy_ = 1;
    SelectSearchMatch(searchText_ + typed, typed);
    searchTimer_.stop();
    searchTimer_.start();
    keyBusy_ = 0;
    return e->accept();
  }
  if (!typed.isEmpty()) {
    // Enter and the control characters: the key-press stage, then the window.
    QString key = typed;
    KeyPressStage(key);
    if (key.isEmpty()) return e->accept();
    return e->ignore();
  }
  // Qt's own keyboard search never sees a key.
  if (!e->text().isEmpty()) return e->ignore();
  QtKeyPress(e);
}

void TQelCustomComboBox::inputMethodEvent(QInputMethodEvent* e) {
  const QString commit = e->commitString();
  if (!HasEditPart() || !autoComplete_ || commit.isEmpty() || !Printable(commit)) {
    if (!HasEditPart() && Printable(commit)) {
      QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, commit);
      ListKeyPress(&typed);
      return;
    }
    QtInputMethod(e);
    return;
  }
  // A composed text counts as one typed character.
  QKeyEvent typed(QEvent::KeyPress, 0, Qt::NoModifier, commit);
  if (EditCharacter(&typed, commit)) {
    QInputMethodEvent cleared(QString(), {});
    QtInputMethod(&cleared);
    return;
  }
  QtInputMethod(e);
}

void TQelCustomComboBox::EditMousePressed() {
  if (style_ == csDropDown && autoComplete_) searchText_ = Text();
}

void TQelCustomComboBox::Cut() {
  if (!allowEdit_ || !lineEdit()) return;
  // Searching before the cut would first select the completed tail and so
  // cut nothing; the keyboard's order (cut, then search) is kept.
  lineEdit()->cut();
  searchText_ = Text();
  IncrementalSearch(searchText_, QString());
}

void TQelCustomComboBox::Paste() {
  if (!allowEdit_ || !lineEdit()) return;
  lineEdit()->paste();
  searchText_ = Text();
  IncrementalSearch(searchText_, QString());
}

// --- Mouse, wheel, popup. ---

void TQelCustomComboBox::mousePressEvent(QMouseEvent* e) {
  if (readOnly_ && e->button() == Qt::LeftButton) return e->accept();
  QComboBox::mousePressEvent(e);
}

void TQelCustomComboBox::mouseDoubleClickEvent(QMouseEvent* e) {
  if (readOnly_ && e->button() == Qt::LeftButton) return e->accept();
  QComboBox::mouseDoubleClickEvent(e);
}

void TQelCustomComboBox::wheelEvent(QWheelEvent* e) {
  e->accept();
  for (int n = qel::TakeWheelNotches(wheelDelta_, e->angleDelta().y()); n != 0; n += n > 0 ? -1 : 1) WheelStep(n > 0);
}

void TQelCustomComboBox::WheelStep(bool up) {
  if (DroppedDown()) {
    QScrollBar* bar = view()->verticalScrollBar();
    const int lines = QApplication::wheelScrollLines();
    bar->setValue(up ? qMax(0, bar->value() - lines) : bar->value() + lines);
    return;
  }
  const int i = currentIndex();
  // Past the last item there is nothing to select.
  if (!up && i + 1 >= count()) return;
  SelectItem(up ? qMax(0, i - 1) : i + 1);
  // The user's choice, not the program's: the search goes on from the item shown.
  SearchFromText();
  // Up from the first item or none takes the first without events.
  if (!up || i >= 1) FireClickChange();
}

void TQelCustomComboBox::showPopup() {
  emit DropDown();
  // With the list open its keys go to the view.
  view()->installEventFilter(this);
  QComboBox::showPopup();
  popup_ = DroppedDown() ? Popup::Open : Popup::Closed;
  update();
}

void TQelCustomComboBox::hidePopup() {
  const bool wasOpen = popup_ == Popup::Open;
  QComboBox::hidePopup();
  if (wasOpen) {
    // A chosen item is activated after the popup hides.
    popup_ = Popup::Closing;
    QMetaObject::invokeMethod(this, &TQelCustomComboBox::PopupFinished, Qt::QueuedConnection);
  }
  emit CloseUp();
  update();
}

bool TQelCustomComboBox::eventFilter(QObject* watched, QEvent* e) {
  if (watched == view() && e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    const bool tab = k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab;
    if (tab && !(k->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
      // The combo box's key-press stage; the focus stays with the combo box.
      QString key = kTab;
      KeyPressStage(key);
      return true;
    }
  }
  return QComboBox::eventFilter(watched, e);
}

void TQelCustomComboBox::PopupFinished() {
  if (popup_ != Popup::Closing) return;
  popup_ = Popup::Closed;
  emit SelEndCancel();
}

// --- Items. ---

void TQelCustomComboBox::setModel(QAbstractItemModel* model) {
  QComboBox::setModel(model);
  ConnectModel();
}

void TQelCustomComboBox::ConnectModel() {
  disconnect(modelRemoval_);
  disconnect(modelReset_);
  QAbstractItemModel* m = model();
  modelRemoval_ = connect(m, &QAbstractItemModel::rowsAboutToBeRemoved, this, &TQelCustomComboBox::RowsAboutToGo);
  modelReset_ = connect(m, &QAbstractItemModel::modelAboutToBeReset, this,
                        [this] { RowsAboutToGo(rootModelIndex(), 0, count() - 1); });
}

void TQelCustomComboBox::RowsAboutToGo(const QModelIndex& parent, int first, int last) {
  if (parent != rootModelIndex()) return;
  for (int row = first; row <= last; ++row) {
    const QVariant data = itemData(row, Qt::UserRole);
    if (data.isValid()) FireDeleteItem(data);
  }
}

// --- Frame scheme and painting. ---

void TQelCustomComboBox::RepaintForHotState() {
  if ((FlatButtons() || FrameHotTrack()) && !DroppedDown()) RepaintButtonStrip(FrameHotTrack());
}

bool TQelCustomComboBox::event(QEvent* e) {
  const QEvent::Type type = e->type();
  const bool focusEvent = type == QEvent::FocusIn || type == QEvent::FocusOut;
  const Qt::FocusReason reason = focusEvent ? static_cast<QFocusEvent*>(e)->reason() : Qt::OtherFocusReason;
  // The popup takes Qt's focus while the combo box keeps the platform's.
  if (focusEvent && reason == Qt::PopupFocusReason) return QComboBox::event(e);
  // Another application taking the focus is no exit from the control.
  const bool exit = type == QEvent::FocusOut && reason != Qt::ActiveWindowFocusReason;
  if (type == QEvent::FocusIn) focusFlag_ = true;
  if (exit) focusFlag_ = false;
  const bool result = QComboBox::event(e);
  FrameEvent(e);
  if (type == QEvent::FocusOut) {
    searchText_.clear();
    if (exit && style_ == csDropDown && !Text().isEmpty() && IndexOfItem(Text()) == -1) emit NotInList();
  }
  return result;
}

TRect TQelCustomComboBox::TextArea() const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  return qel::ToTRect(style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this));
}

void TQelCustomComboBox::FillButtonArea(qel::Canvas& canvas) const {
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QRect arrow = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, this);
  const TRect button = DropButtonRect();
  const int w = width(), h = height();
  // Everything inside Qt's 1-pixel frame but its rounded corners.
  if (isRightToLeft()) {
    const int right = qMax(button.Right, arrow.right() + 2);
    canvas.FillRect({2, 1, right, h - 1}, Color());
    canvas.FillRect({1, 2, 2, h - 2}, Color());
  } else {
    const int left = qMin(button.Left, arrow.left() - 1);
    canvas.FillRect({left, 1, w - 2, h - 1}, Color());
    canvas.FillRect({w - 2, 2, w - 1, h - 2}, Color());
  }
}

void TQelCustomComboBox::PaintTextArea(qel::Canvas& canvas) {
  const TRect r = TextArea();
  const bool selected = hasFocus() && !DroppedDown();
  unsigned state = qel::odComboBoxEdit;
  if (selected) state |= qel::odSelected | qel::odFocused;
  if (!isEnabled()) state |= qel::odDisabled;
  if (OwnerDrawn()) {
    PaintOwnerItem(canvas, currentIndex(), r, state);
    return;
  }
  canvas.FillRect(r, selected ? clHighlight : Color());
  const TColor textColor = !isEnabled() ? clGrayText : selected ? clHighlightText : clWindowText;
  canvas.Font = FontOf(this, textColor);
  canvas.Brush.Clear = true;
  canvas.TextRect({r.Left + 2, r.Top, r.Right - 1, r.Bottom}, currentText(),
                  qel::tfSingleLine | qel::tfVCenter | qel::tfNoPrefix);
  canvas.Brush.Clear = false;
  if (selected) qel::PaintFocusFrame(canvas, r);
}

void TQelCustomComboBox::PaintOwnerItem(qel::Canvas& canvas, int index, const TRect& rect, unsigned state) {
  canvas.Font = FontOf(this);
  canvas.Brush = qel::CanvasBrush{};
  canvas.Brush.Color = Color();
  const bool selected = state & qel::odSelected;
  if (index >= 0 && selected) {
    canvas.Brush.Color = clHighlight;
    canvas.Font.Color = clHighlightText;
  }
  if (index >= 0) {
    DrawOneItem(canvas, index, rect, state);
    if (selected) qel::PaintFocusFrame(canvas, rect);
  } else if (selected) {
    qel::PaintFocusFrame(canvas, rect);
  } else {
    canvas.FillRect(rect);
  }
}

void TQelCustomComboBox::DrawOneItem(qel::Canvas& canvas, int index, const TRect& rect, unsigned state) {
  if (isSignalConnected(QMetaMethod::fromSignal(&TQelCustomComboBox::DrawItem))) {
    emit DrawItem(&canvas, index, rect, state);
    return;
  }
  canvas.FillRect(rect);
  canvas.Brush.Clear = true;
  canvas.TextAlignment = qel::taLeft;
  canvas.TextOut(rect.Left + 2, rect.Top, itemText(index));
  canvas.Brush.Clear = false;
}

void TQelCustomComboBox::paintEvent(QPaintEvent* e) {
  QComboBox::paintEvent(e);
  qel::Canvas canvas = FrameCanvas();
  // Qt paints a combo box without an edit part as a button face.
  if (!HasEditPart()) PaintTextArea(canvas);
  if (FrameShown()) EraseFrameRing(canvas);
  const TRect button = DropButtonRect();
  if (readOnly_ || FlatButtons()) {
    // Qt's arrow area is wider than the button and has a separator line.
    FillButtonArea(canvas);
    if (!readOnly_) PaintFlatDropButton(canvas, button, InControl() || OverControl(), DroppedDown(), Color());
  }
  if (FrameShown()) PaintFrameLines(canvas);
  DrawOver(canvas);
}

// ===================================================================
// List box
// ===================================================================

// The hint that shows an item's whole text.
class TQelCustomListBox::HintWindow : public QWidget {
 public:
  HintWindow() : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  void Show(const QString& text, const qel::FontValue& font, const QPoint& itemTopLeft, int itemHeight) {
    text_ = text;
    font_ = font;
    // The hint's own size for the text, the screen width as the limit.
    const QScreen* screen = QGuiApplication::screenAt(itemTopLeft);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const int limit = screen ? screen->geometry().width() : 4096;
    const TRect r = qel::Text().Measure(font, text, limit, qel::tfSingleLine | qel::tfNoPrefix);
    const QSize size(r.Width() + 6, r.Height() + 2);
    const QPoint at(itemTopLeft.x() - 1, itemTopLeft.y() + (itemHeight - size.height()) / 2 - 2);
    resize(size);
    if (!isVisible() || pos() != at) {
      move(at);
      show();
    }
    update();
  }
  const QString& ShownText() const { return text_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    qel::Canvas canvas = qel::CanvasFor(this);
    const TRect all{0, 0, width(), height()};
    canvas.FillRect(all, clInfoBk);
    qel::PaintEdgeLines(canvas, all, clWindowFrame, qel::sdAllSides, clWindowFrame);
    canvas.Font = font_;
    canvas.Font.Color = clInfoText;
    canvas.Brush.Clear = true;
    canvas.TextRect({2, 1, width() - 2, height() - 1}, text_, qel::tfSingleLine | qel::tfNoPrefix | qel::tfVCenter);
    QPainter p(this);
    qel::ShowCanvas(p, canvas);
  }

 private:
  QString text_;
  qel::FontValue font_;
};

TQelCustomListBox::TQelCustomListBox(QWidget* parent)
    : QListWidget(parent), TextFrame(this, FocusTracking::PlatformFocus) {
  searchTimer_.setInterval(kSearchPause);
  connect(&searchTimer_, &QTimer::timeout, this, &TQelCustomListBox::SearchTimerTick);
  qtDelegate_ = itemDelegate();
  ownerDelegate_ = new CanvasItemDelegate(
      this, [this](qel::Canvas& c, int row, const TRect& r, unsigned state) { PaintItem(c, row, r, state); },
      [this](int row) {
        int height = itemHeight_;
        if (style_ == lbOwnerDrawVariable) emit MeasureItem(row, &height);
        return height;
      });
  // A list clips what does not fit; the hint shows it whole.
  setTextElideMode(Qt::ElideNone);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setMouseTracking(true);
  groupFont_ = FontOf(this, clHighlight);
  groupFont_.Font.setBold(true);
  QAbstractItemModel* m = model();
  connect(m, &QAbstractItemModel::rowsInserted, this, &TQelCustomListBox::ItemsChanged);
  connect(m, &QAbstractItemModel::rowsRemoved, this, &TQelCustomListBox::ItemsChanged);
  connect(m, &QAbstractItemModel::modelReset, this, &TQelCustomListBox::ItemsChanged);
  connect(m, &QAbstractItemModel::dataChanged, this, &TQelCustomListBox::ItemsChanged);
}

TQelCustomListBox::~TQelCustomListBox() {
  // Qt empties the model after this class is gone.
  disconnect(model(), nullptr, this, nullptr);
  delete hint_;
}

void TQelCustomListBox::SetStyle(TListBoxStyle v) {
  if (v == style_) return;
  style_ = v;
  ApplyStyle();
}

void TQelCustomListBox::ApplyStyle() {
  if (QAbstractItemDelegate* wanted = OwnerDrawn() || Virtual() ? ownerDelegate_ : qtDelegate_.data())
    setItemDelegate(wanted);
  // Fixed heights let the view lay out without asking each item.
  setUniformItemSizes(style_ == lbOwnerDrawFixed || style_ == lbVirtualOwnerDraw);
  doItemsLayout();
  viewport()->update();
}

void TQelCustomListBox::SetCount(int v) {
  if (!Virtual()) return;
  v = qMax(0, v);
  while (count() > v) delete takeItem(count() - 1);
  while (count() < v) addItem(QString());
}

void TQelCustomListBox::SetItemHeight(int v) {
  if (v <= 0 || v == itemHeight_) return;
  itemHeight_ = v;
  if (OwnerDrawn()) doItemsLayout();
}

void TQelCustomListBox::SetMultiSelect(bool v) {
  if (v == multiSelect_) return;
  multiSelect_ = v;
  ApplySelectionMode();
}

void TQelCustomListBox::SetExtendedSelect(bool v) {
  if (v == extendedSelect_) return;
  extendedSelect_ = v;
  ApplySelectionMode();
}

void TQelCustomListBox::ApplySelectionMode() {
  setSelectionMode(!multiSelect_     ? QAbstractItemView::SingleSelection
                   : extendedSelect_ ? QAbstractItemView::ExtendedSelection
                                     : QAbstractItemView::MultiSelection);
}

void TQelCustomListBox::SetShowItemHints(bool v) {
  showItemHints_ = v;
  if (!v) HideHint();
}

void TQelCustomListBox::SetHorzExtent(std::uint16_t v) {
  if (v == horzExtent_) return;
  horzExtent_ = v;
  updateGeometries();
}

void TQelCustomListBox::SetHorzScrollBar(bool v) {
  if (v == horzScrollBar_) return;
  horzScrollBar_ = v;
  setHorizontalScrollBarPolicy(v ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  UpdateHorzExtent();
  updateGeometries();
}

void TQelCustomListBox::SetShowGroups(bool v) {
  if (v == showGroups_) return;
  showGroups_ = v;
  if (v) {
    SetStyle(lbOwnerDrawFixed);
    FitItemHeight();
  }
  viewport()->update();
}

void TQelCustomListBox::SetGroupFont(const qel::FontValue& v) {
  groupFont_ = v;
  GroupFontChanged();
}

void TQelCustomListBox::GroupFontChanged() {
  ListChanged();
  viewport()->update();
}

QString TQelCustomListBox::ItemText(int index) const {
  if (index < 0 || index >= count()) return {};
  if (!Virtual()) return item(index)->text();
  QString text;
  emit const_cast<TQelCustomListBox*>(this)->Data(index, &text);
  return text;
}

int TQelCustomListBox::FindItemPrefix(const QString& text) const {
  return qel::FindPrefix(
      count(), [this](int i) { return ItemText(i); }, text);
}

bool TQelCustomListBox::IsGroupHeader(int index) const {
  return index >= 0 && index < count() && ItemText(index).startsWith(groupPrefix_, Qt::CaseSensitive);
}

int TQelCustomListBox::GroupHeaderAbove(int index) const {
  for (int j = qMin(index, count() - 1); j >= 0; --j)
    if (IsGroupHeader(j)) return j;
  return -1;
}

void TQelCustomListBox::FitItemHeight() { SetItemHeight(qel::FontLineHeight(FontOf(this))); }

void TQelCustomListBox::SelectAllItems() {
  if (multiSelect_) selectAll();
}

void TQelCustomListBox::ItemsChanged() {
  if (horzScrollBar_) UpdateHorzExtent();
}

void TQelCustomListBox::UpdateHorzExtent() {
  if (!horzScrollBar_) return;
  const qel::FontValue font = FontOf(this);
  int widest = 0;
  for (int i = 0; i < count(); ++i) widest = qMax(widest, qel::Text().Extent(font, ItemText(i) + QLatin1Char('x')).X);
  SetHorzExtent(std::uint16_t(widest));
}

void TQelCustomListBox::loaded() {
  UpdateHorzExtent();
  TextFrame::loaded();
}

void TQelCustomListBox::updateGeometries() {
  QListWidget::updateGeometries();
  if (!horzScrollBar_) return;
  QScrollBar* bar = horizontalScrollBar();
  const int page = viewport()->width();
  bar->setRange(0, qMax(0, int(horzExtent_) - page));
  bar->setPageStep(page);
}

void TQelCustomListBox::SearchTimerTick() {
  if (keyBusy_ != 0) return;
  searchTimer_.stop();
  searchText_.clear();
}

// --- Keys. ---

void TQelCustomListBox::KeyPressNotify(QString& key) {
  if (OnKeyPress) OnKeyPress(key);
}

void TQelCustomListBox::SelectStep(const QString& text, const QString& key) {
  const int remembered = currentRow();
  const int i = FindItemPrefix(text);
  if (i < 0) {
    if (beepOnInvalidKey_) qel::Beep();
    return;
  }
  if (multiSelect_) {
    if (QListWidgetItem* old = item(remembered)) old->setSelected(false);
    item(i)->setSelected(true);
    selectionModel()->setCurrentIndex(model()->index(i, 0), QItemSelectionModel::NoUpdate);
  } else {
    setCurrentRow(i);
  }
  searchText_ = text;
  QString copy = key;
  KeyPressNotify(copy);
  emit Match();
}

void TQelCustomListBox::keyPressEvent(QKeyEvent* e) {
  const int k = e->key();
  if (k == Qt::Key_Escape || (k >= Qt::Key_Home && k <= Qt::Key_PageDown)) searchText_.clear();
  const QString typed = incrementalSearch_ && !SystemKey(e) ? TypedOf(e) : QString();
  if (typed.isEmpty()) {
    // Qt's own keyboard search never sees a character while ours runs.
    if (incrementalSearch_ && !e->text().isEmpty() && Printable(e->text())) return e->ignore();
    QListWidget::keyPressEvent(e);
    return;
  }
  if (Is(typed, kBackspace)) {
    QString w = searchText_;
    if (w.isEmpty()) {
      if (beepOnInvalidKey_) qel::Beep();
      SelectStep(w, typed);
    } else {
      RemoveLastChar(w);
      if (!w.isEmpty()) {
        SelectStep(w, typed);
      } else {
        setCurrentRow(0);
        searchText_.clear();
        QString copy = typed;
        KeyPressNotify(copy);
      }
    }
    return e->accept();
  }
  if (Is(typed, kEnter)) {
    if (TabOnEnter()) {
      qel::PostTabKey(this);
      return e->accept();
    }
    QString key = typed;
    KeyPressNotify(key);
    return e->ignore();
  }
  if (Is(typed, kEscape)) {
    setCurrentRow(-1);
    return e->accept();
  }
  if (!Printable(typed)) {
    QListWidget::keyPressEvent(e);
    return;
  }
  if (typed == QLatin1String(" ") && multiSelect_ && !extendedSelect_) {
    // The space toggles the item's selection instead.
    QListWidget::keyPressEvent(e);
    return;
  }
  keyBusy_ = 1;
  SelectStep(searchText_ + typed, typed);
  searchTimer_.stop();
  searchTimer_.start();
  keyBusy_ = 0;
  e->accept();
}

// --- Mouse and hint. ---

void TQelCustomListBox::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) searchText_.clear();
  QListWidget::mousePressEvent(e);
}

void TQelCustomListBox::mouseMoveEvent(QMouseEvent* e) {
  QListWidget::mouseMoveEvent(e);
  UpdateHint(e->position().toPoint());
}

void TQelCustomListBox::UpdateHint(const QPoint& at) {
  if (!showItemHints_) return;
  const QModelIndex index = indexAt(at);
  if (!index.isValid()) return HideHint();
  const int i = index.row();
  const QString text = ItemText(i);
  const qel::FontValue font = FontOf(this);
  const bool active = QGuiApplication::applicationState() == Qt::ApplicationActive;
  if (!qel::ShowsItemHint(viewport()->width(), qel::Text().Extent(font, text).X, active)) return HideHint();
  if (!hint_) hint_ = new HintWindow;
  QString shown = text;
  shown.replace(QLatin1Char('\t'), QString(8, QLatin1Char(' ')));
  const QRect r = visualRect(index);
  hint_->Show(shown, font, viewport()->mapToGlobal(r.topLeft()), r.height());
}

void TQelCustomListBox::HideHint() {
  if (hint_) hint_->hide();
}

bool TQelCustomListBox::ItemHintShown() const { return hint_ && hint_->isVisible(); }

QString TQelCustomListBox::ItemHintText() const { return hint_ ? hint_->ShownText() : QString(); }

QPoint TQelCustomListBox::ItemHintPos() const { return hint_ ? hint_->pos() : QPoint(); }

void TQelCustomListBox::wheelEvent(QWheelEvent* e) {
  e->accept();
  const int notches = qel::TakeWheelNotches(wheelDelta_, e->angleDelta().y());
  if (notches == 0) return;
  QScrollBar* bar = verticalScrollBar();
  const int lines = QApplication::wheelScrollLines() * std::abs(notches);
  const int step = qMax(1, bar->singleStep());
  bar->setValue(notches > 0 ? qMax(0, bar->value() - lines * step) : bar->value() + lines * step);
}

void TQelCustomListBox::resizeEvent(QResizeEvent* e) {
  QListWidget::resizeEvent(e);
  // The gradients follow the width.
  if (useGradients_) viewport()->update();
}

void TQelCustomListBox::changeEvent(QEvent* e) {
  QListWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange) {
    UpdateHorzExtent();
    if (showGroups_) FitItemHeight();
  }
}

bool TQelCustomListBox::event(QEvent* e) {
  const bool result = QListWidget::event(e);
  FrameEvent(e);
  if (e->type() == QEvent::Paint) PaintFrameOver();
  if (e->type() == QEvent::Leave) HideHint();
  return result;
}

bool TQelCustomListBox::viewportEvent(QEvent* e) {
  if (e->type() == QEvent::Enter) UpdateHint(viewport()->mapFromGlobal(QCursor::pos()));
  return QListWidget::viewportEvent(e);
}

// --- Painting. ---

void TQelCustomListBox::PaintItem(qel::Canvas& canvas, int index, TRect rect, unsigned state) {
  const bool header = showGroups_ && index >= 0 && IsGroupHeader(index);
  if (!header) {
    if (layoutDirection() == Qt::RightToLeft)
      rect.Right -= ItemIndent();
    else
      rect.Left += ItemIndent();
  }
  canvas.Font = FontOf(this);
  canvas.Brush = qel::CanvasBrush{};
  canvas.Brush.Color = Color();
  if (index >= 0 && (state & qel::odSelected)) {
    canvas.Brush.Color = clHighlight;
    canvas.Font.Color = clHighlightText;
  }
  if (index < 0)
    canvas.FillRect(rect);
  else if (header)
    DrawListItem(canvas, index, rect, state);
  else
    DispatchDrawItem(canvas, index, rect, state);
  if (state & qel::odFocused) qel::PaintFocusFrame(canvas, rect);
}

void TQelCustomListBox::DispatchDrawItem(qel::Canvas& canvas, int index, const TRect& rect, unsigned state) {
  if (isSignalConnected(QMetaMethod::fromSignal(&TQelCustomListBox::DrawItem)))
    emit DrawItem(&canvas, index, rect, state);
  else
    DrawPlainItem(canvas, index, rect, state);
}

void TQelCustomListBox::DrawPlainItem(qel::Canvas& canvas, int index, const TRect& rect, unsigned) {
  canvas.FillRect(rect);
  if (index >= count()) return;
  TRect r = rect;
  unsigned flags = qel::tfSingleLine | qel::tfVCenter | qel::tfNoPrefix;
  if (layoutDirection() == Qt::RightToLeft) {
    r.Right -= 2;
    flags |= qel::tfRight | qel::tfRtlReading;
  } else {
    r.Left += 2;
  }
  canvas.Brush.Clear = true;
  canvas.TextRect(r, ItemText(index), flags);
  canvas.Brush.Clear = false;
}

void TQelCustomListBox::DrawListItem(qel::Canvas& canvas, int index, const TRect& rect, unsigned state) {
  canvas.Font = groupFont_;
  const bool rtl = layoutDirection() == Qt::RightToLeft;
  if (state & qel::odSelected) {
    canvas.Font.Color = clHighlightText;
    canvas.FillRect(rect);
  } else if (useGradients_ && ScreenHasFullColor()) {
    qel::PaintGradientRect(canvas, rect, qel::gdVerticalEnd, 1, rtl ? Color() : groupColor_,
                           rtl ? groupColor_ : Color());
  } else {
    canvas.FillRect(rect, groupColor_);
  }
  const int offset = (itemHeight_ - qel::Text().Extent(canvas.Font, QStringLiteral("Pp")).Y) / 2;
  const QString text = ItemText(index).mid(groupPrefix_.size());
  canvas.Brush.Clear = true;
  if (rtl) {
    canvas.TextAlignment = qel::taRight;
    canvas.TextOutClipped(rect, rect.Right - 2, rect.Top + offset, text);
  } else {
    canvas.TextAlignment = qel::taLeft;
    canvas.TextOutClipped(rect, rect.Left + 2, rect.Top + offset, text);
  }
  canvas.TextAlignment = qel::taLeft;
  canvas.Brush.Clear = false;
}
