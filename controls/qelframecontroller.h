#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <optional>
#include <vector>

#include "controls/qelborders.h"
#include "controls/qelcolor.h"
#include "controls/qelcolormath.h"
#include "controls/qelcommon.h"

using qel::FrameTypes::TFramingPreference;
using enum qel::FrameTypes::TFramingPreference;

// A control that restyles itself from its controller instead of having its
// properties set one by one.
class IFrameControllerNotification {
 public:
  virtual ~IFrameControllerNotification() = default;
  virtual void ApplyControllerFrame() = 0;
};

// Where settings would be kept. Nothing here opens a file or registry key.
class TQelRegIniFile : public QObject {
 public:
  enum TQelPathType { ptIniFile, ptRegistry };
  enum TQelRegKey {
    hkeyClassesRoot,
    hkeyCurrentUser,
    hkeyLocalMachine,
    hkeyUsers,
    hkeyPerformanceData,
    hkeyCurrentConfig,
    hkeyDynData,
  };
  static constexpr unsigned keyAllAccess = 1u << 9;

  using QObject::QObject;
  const QString& Path() const { return path_; }
  TQelPathType PathType() const { return pathType_; }
  TQelRegKey RegKey() const { return regKey_; }
  unsigned RegAccess() const { return regAccess_; }
  void SetPath(const QString& v) { Write(path_, v); }
  void SetPathType(TQelPathType v) { Write(pathType_, v); }
  void SetRegKey(TQelRegKey v) { Write(regKey_, v); }
  void SetRegAccess(unsigned v) { Write(regAccess_, v); }
  bool Changed() const { return changed_; }
  void SetChanged(bool v) { changed_ = v; }

 private:
  template <class T>
  void Write(T& field, const T& value) {
    if (field == value) return;
    field = value;
    changed_ = true;
  }
  QString path_;
  TQelPathType pathType_ = ptIniFile;
  TQelRegKey regKey_ = hkeyCurrentUser;
  unsigned regAccess_ = keyAllAccess;
  bool changed_ = true;
};

// One set of frame and colour settings pushed into every linked control.
class TQelFrameController : public QObject, public qel::StyledControl {
  Q_OBJECT

 public:
  // What changed, for ApplyFrameSettings; 0 is everything.
  enum Code {
    kAll = 0,
    kColor = 1,
    kFocusColor = 2,
    kDisabledColor = 3,
    kParentColor = 4,
    kFlatButtonColor = 5,
    kFlatButtons = 6,
    kFrameColor = 7,
    kFrameHotColor = 8,
    kFrameHotTrack = 9,
    kFrameHotStyle = 10,
    kFrameSides = 11,
    kFrameStyle = 12,
    kFrameVisible = 13,
    kFramingPreference = 14,
  };

  explicit TQelFrameController(QObject* parent = nullptr);
  ~TQelFrameController() override;

  void AddControl(QWidget* control);
  void RemoveControl(QWidget* control);
  bool HasList() const { return list_.has_value(); }
  int LinkedCount() const { return list_ ? int(list_->size()) : 0; }
  void BeginUpdate();
  void EndUpdate();
  void RefreshLinkedFrames(int code);
  void ApplyFrameSettings(QWidget* control, int code);
  void Assign(const TQelFrameController& source);

  bool applyLegacyProperty(const QString& name, const QVariant& value) override;

  TColor Color() const { return color_; }
  TColor DisabledColor() const { return disabledColor_; }
  TColor FlatButtonColor() const { return flatButtonColor_; }
  bool FlatButtons() const { return flatButtons_; }
  TColor FocusColor() const { return focusColor_; }
  TColor FrameColor() const { return frameColor_; }
  TColor FrameHotColor() const { return frameHotColor_; }
  qel::TFrameStyle FrameHotStyle() const { return frameHotStyle_; }
  bool FrameHotTrack() const { return frameHotTrack_; }
  qel::TSides FrameSides() const { return frameSides_; }
  qel::TFrameStyle FrameStyle() const { return frameStyle_; }
  bool FrameVisible() const { return frameVisible_; }
  TFramingPreference FramingPreference() const { return framingPreference_; }
  bool ParentColor() const { return parentColor_; }
  TQelRegIniFile* RegIniFile() const { return regIniFile_; }

  void SetColor(TColor v);
  void SetParentColor(bool v);
  void SetFlatButtonColor(TColor v) { Write(flatButtonColor_, v, kFlatButtonColor); }
  void SetFlatButtons(bool v) { Write(flatButtons_, v, kFlatButtons); }
  void SetDisabledColor(TColor v) { Write(disabledColor_, v, kDisabledColor); }
  void SetFocusColor(TColor v) { Write(focusColor_, v, kFocusColor); }
  void SetFrameColor(TColor v) { Write(frameColor_, v, kFrameColor); }
  void SetFrameHotColor(TColor v) { Write(frameHotColor_, v, kFrameHotColor); }
  void SetFrameHotTrack(bool v);
  void SetFrameHotStyle(qel::TFrameStyle v) { Write(frameHotStyle_, v, kFrameHotStyle); }
  void SetFrameSides(qel::TSides v) { Write(frameSides_, v, kFrameSides); }
  void SetFrameStyle(qel::TFrameStyle v) { Write(frameStyle_, v, kFrameStyle); }
  void SetFrameVisible(bool v) { Write(frameVisible_, v, kFrameVisible); }
  void SetFramingPreference(TFramingPreference v) { Write(framingPreference_, v, kFramingPreference); }
  void SetRegIniFile(TQelRegIniFile* v) { regIniFile_ = v; }

 protected:
  void loaded() override { RefreshLinkedFrames(kAll); }

 private:
  template <class T>
  void Write(T& field, const T& value, int code) {
    if (field == value) return;
    field = value;
    RefreshLinkedFrames(code);
  }
  void SetByName(QWidget* control, const char* name, const QVariant& value);

  TColor color_ = clWindow;
  TColor disabledColor_ = clBtnFace;
  TColor flatButtonColor_ = clBtnFace;
  bool flatButtons_ = true;
  TColor focusColor_ = clWindow;
  TColor frameColor_ = clBtnShadow;
  TColor frameHotColor_ = clBtnShadow;
  qel::TFrameStyle frameHotStyle_ = qel::fsFlatBold;
  bool frameHotTrack_ = false;
  qel::TSides frameSides_ = qel::sdAllSides;
  qel::TFrameStyle frameStyle_ = qel::fsFlat;
  bool frameVisible_ = false;
  TFramingPreference framingPreference_ = fpXPThemes;
  bool parentColor_ = false;
  QPointer<TQelRegIniFile> regIniFile_;
  std::optional<std::vector<QPointer<QWidget>>> list_;
  int updating_ = 0;
};

namespace qel {

// The border fields of a label or a panel that a controller sets.
struct ControlledBorder {
  TFrameStyleEx& outer;
  TSides& sides;
  TColor& flatColor;
  int& flatColorAdjustment;
  TColor& highlight;
  TColor& shadow;
};

// The label's and the panel's ApplyControllerFrame: nothing unless the
// controller's frame is visible; then its FrameStyle, FrameSides and
// FrameColor make the outer border, its Color and ParentColor go to the
// control, and the bevel colours follow the colour that results. True when
// it took them (the control repaints).
template <class Control>
bool TakeControllerBorder(Control& control, const TQelFrameController* controller, const ControlledBorder& border) {
  if (!controller || !controller->FrameVisible()) return false;
  border.outer = controller->FrameStyle();
  border.sides = controller->FrameSides();
  border.flatColor = controller->FrameColor();
  border.flatColorAdjustment = 0;
  control.SetColor(controller->Color());
  control.SetParentColor(controller->ParentColor());
  border.highlight = TintColor(control.Color(), 100);
  border.shadow = ShadeColor(control.Color(), 50);
  return true;
}

// The label's and the panel's legacy properties: "FrameSides" of old forms
// is taken and dropped.
inline bool TakeBorderLegacyProperty(StyledControl& control, const QString& name, const QVariant& value) {
  return name == QLatin1String("FrameSides") || control.StyledControl::applyLegacyProperty(name, value);
}

}  // namespace qel

// Colours with their display names: 40 of ours, then the system colours
// 0-24 and 26-30. No control reads the table.
struct NamedColor {
  TColor color;
  const char* name;
};
extern const NamedColor kQelColorNames[70];
