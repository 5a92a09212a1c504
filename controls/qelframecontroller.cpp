#include "controls/qelframecontroller.h"

#include <QMetaObject>
#include <algorithm>
#include <cstring>

TQelFrameController::TQelFrameController(QObject* parent) : QObject(parent), StyledControl(this) {}

TQelFrameController::~TQelFrameController() = default;

void TQelFrameController::AddControl(QWidget* control) {
  if (!control) return;
  if (!list_) list_.emplace();
  if (std::find(list_->begin(), list_->end(), control) != list_->end()) return;
  list_->push_back(control);
  // A control destroyed without unlinking leaves the list all the same.
  connect(control, &QObject::destroyed, this, [this, control] { RemoveControl(control); });
  ApplyFrameSettings(control, kAll);
}

void TQelFrameController::RemoveControl(QWidget* control) {
  if (control) disconnect(control, &QObject::destroyed, this, nullptr);
  if (!list_) return;
  // Destroyed controls leave null pointers behind: drop them too.
  std::erase_if(*list_, [&](const QPointer<QWidget>& p) { return p.isNull() || p == control; });
  if (list_->empty()) list_.reset();
}

void TQelFrameController::BeginUpdate() { ++updating_; }

void TQelFrameController::EndUpdate() {
  if (--updating_ > 0) return;
  updating_ = 0;
  RefreshLinkedFrames(kAll);
}

void TQelFrameController::RefreshLinkedFrames(int code) {
  if (updating_ > 0 || !list_) return;
  const std::vector<QPointer<QWidget>> controls = *list_;  // a control may unlink meanwhile
  for (const QPointer<QWidget>& control : controls)
    if (control) ApplyFrameSettings(control, code);
}

void TQelFrameController::SetByName(QWidget* control, const char* name, const QVariant& value) {
  // setProperty on an unknown name would make a dynamic property.
  if (control->metaObject()->indexOfProperty(name) >= 0) control->setProperty(name, value);
}

void TQelFrameController::ApplyFrameSettings(QWidget* control, int code) {
  if (!control) return;
  if (auto* notified = dynamic_cast<IFrameControllerNotification*>(control)) {
    notified->ApplyControllerFrame();
    return;
  }
  const bool all = code == kAll;
  if (all || code == kParentColor) SetByName(control, "ParentColor", parentColor_);
  if ((all && !parentColor_) || code == kColor) SetByName(control, "Color", QVariant::fromValue(color_));
  if (all || code == kDisabledColor) SetByName(control, "DisabledColor", QVariant::fromValue(disabledColor_));
  if (all || code == kFocusColor) SetByName(control, "FocusColor", QVariant::fromValue(focusColor_));
  if (all || code == kFlatButtonColor) SetByName(control, "FlatButtonColor", QVariant::fromValue(flatButtonColor_));
  if (all || code == kFlatButtons) SetByName(control, "FlatButtons", flatButtons_);
  if (all || code == kFrameColor) SetByName(control, "FrameColor", QVariant::fromValue(frameColor_));
  if (all || code == kFrameHotColor) SetByName(control, "FrameHotColor", QVariant::fromValue(frameHotColor_));
  if (all || code == kFrameHotTrack) SetByName(control, "FrameHotTrack", frameHotTrack_);
  if (all || code == kFrameHotStyle) SetByName(control, "FrameHotStyle", int(frameHotStyle_));
  if (all || code == kFrameSides) SetByName(control, "FrameSides", QVariant::fromValue(frameSides_));
  if (all || code == kFrameStyle) SetByName(control, "FrameStyle", int(frameStyle_));
  if (all || code == kFrameVisible) SetByName(control, "FrameVisible", frameVisible_);
  if (all || code == kFramingPreference) SetByName(control, "FramingPreference", int(framingPreference_));
}

void TQelFrameController::Assign(const TQelFrameController& source) {
  BeginUpdate();
  color_ = source.color_;
  disabledColor_ = source.disabledColor_;
  flatButtonColor_ = source.flatButtonColor_;
  flatButtons_ = source.flatButtons_;
  focusColor_ = source.focusColor_;
  frameColor_ = source.frameColor_;
  frameHotColor_ = source.frameHotColor_;
  frameHotStyle_ = source.frameHotStyle_;
  frameHotTrack_ = source.frameHotTrack_;
  frameSides_ = source.frameSides_;
  frameStyle_ = source.frameStyle_;
  frameVisible_ = source.frameVisible_;
  framingPreference_ = source.framingPreference_;
  parentColor_ = source.parentColor_;
  EndUpdate();
}

void TQelFrameController::SetColor(TColor v) {
  if (color_ == v) return;
  if (focusColor_ == color_) focusColor_ = v;
  color_ = v;
  parentColor_ = false;
  RefreshLinkedFrames(kColor);
}

void TQelFrameController::SetParentColor(bool v) {
  if (parentColor_ == v) return;
  parentColor_ = v;
  RefreshLinkedFrames(kParentColor);
  if (!v) RefreshLinkedFrames(kColor);
}

void TQelFrameController::SetFrameHotTrack(bool v) {
  if (frameHotTrack_ == v) return;
  frameHotTrack_ = v;
  if (v) {
    SetFrameVisible(true);
    if (!isLoading()) frameSides_ = qel::sdAllSides;
  }
  RefreshLinkedFrames(kFrameHotTrack);
}

bool TQelFrameController::applyLegacyProperty(const QString& name, const QVariant& value) {
  if (name == QLatin1String("FrameFlat")) {
    const bool flat = value.toBool();
    SetFrameHotTrack(flat);
    if (flat) {
      SetFrameStyle(qel::fsStatus);
      SetFrameHotStyle(qel::fsLowered);
    }
    return true;
  }
  if (name == QLatin1String("FrameFocusStyle")) {
    if (const std::optional<qel::TFrameStyle> style = qel::FrameStyleNamed(value.toString())) SetFrameHotStyle(*style);
    return true;
  }
  if (name == QLatin1String("FrameFlatStyle")) return true;  // no longer has a meaning
  return StyledControl::applyLegacyProperty(name, value);
}

const NamedColor kQelColorNames[70] = {
    {0x000000, "Black"},
    {0x003399, "Brown"},
    {0x003333, "Olive Green"},
    {0x003300, "Dark Green"},
    {0x663300, "Dark Teal"},
    {0x800000, "Dark Blue"},
    {0x993333, "Indigo"},
    {0x333333, "Gray 80%"},
    {0x000080, "Dark Red"},
    {0x0066FF, "Orange"},
    {0x008080, "Dark Yellow"},
    {0x008000, "Green"},
    {0x808000, "Teal"},
    {0xFF0000, "Blue"},
    {0x996666, "Blue Gray"},
    {0x808080, "Gray 50%"},
    {0x0000FF, "Red"},
    {0x0099FF, "Light Orange"},
    {0x00CC99, "Lime"},
    {0x669933, "Sea Green"},
    {0x999933, "Aqua"},
    {0xFF6633, "Light Blue"},
    {0x800080, "Violet"},
    {0x999999, "Gray 40%"},
    {0xFF00FF, "Pink"},
    {0x00CCFF, "Gold"},
    {0x00FFFF, "Yellow"},
    {0x00FF00, "Bright Green"},
    {0xFFFF00, "Turquoise"},
    {0xFFCC00, "Sky Blue"},
    {0x663399, "Plum"},
    {0xC0C0C0, "Gray 25%"},
    {0xCC99FF, "Rose"},
    {0x99CCFF, "Tan"},
    {0x99FFFF, "Light Yellow"},
    {0xCCFFCC, "Light Green"},
    {0xFFFFCC, "Light Turquoise"},
    {0xFFCC99, "Pale Blue"},
    {0xFF99CC, "Lavender"},
    {0xFFFFFF, "White"},
    {clScrollBar, "Scroll Bar"},
    {clBackground, "Background"},
    {clActiveCaption, "Active Caption"},
    {clInactiveCaption, "Inactive Caption"},
    {clMenu, "Menu"},
    {clWindow, "Window"},
    {clWindowFrame, "Window Frame"},
    {clMenuText, "Menu Text"},
    {clWindowText, "Window Text"},
    {clCaptionText, "Caption Text"},
    {clActiveBorder, "Active Border"},
    {clInactiveBorder, "Inactive Border"},
    {clAppWorkSpace, "App WorkSpace"},
    {clHighlight, "Highlight"},
    {clHighlightText, "Highlight Text"},
    {clBtnFace, "Button Face"},
    {clBtnShadow, "Button Shadow"},
    {clGrayText, "Gray Text"},
    {clBtnText, "Button Text"},
    {clInactiveCaptionText, "Inactive Caption Text"},
    {clBtnHighlight, "Button Highlight"},
    {cl3DDkShadow, "3D Dark Shadow"},
    {cl3DLight, "3D Light"},
    {clInfoText, "Info Text"},
    {clInfoBk, "Info Background"},
    {clHotLight, "Hot Light"},
    {clGradientActiveCaption, "Gradient Active Caption"},
    {clGradientInactiveCaption, "Gradient Inactive Caption"},
    {clMenuHighlight, "Menu Highlight"},
    {clMenuBar, "Menu Bar"},
};
