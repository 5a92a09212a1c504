#pragma once
// Sheets of the styled controls themselves, each drawn through real widgets.
#include <QWidget>

#include "controls/qelcanvas.h"

namespace gallery {

// Shows a window and waits (up to 2 s) until it is active: the focused
// looks need it.
void Activate(QWidget* window);

// Gives a host the clBtnFace window colour, painted behind its children
// unless fill is false.
void FaceBackground(QWidget& host, bool fill = true);

// The mouse over a control, as Qt would tell it.
void Hover(QWidget* w);

// The host as Qt composes it.
qel::Canvas Grabbed(QWidget& host);

qel::Canvas LabelSheet();
qel::Canvas ButtonSheet();
qel::Canvas BitBtnSheet();
qel::Canvas RadioSheet();
qel::Canvas BmpButtonSheet();
qel::Canvas PanelSheet();
qel::Canvas BackgroundSheet();
qel::Canvas EditSheet();
qel::Canvas ComboListSheet();
qel::Canvas TrackBarSheet();
qel::Canvas TabPartsSheet();
qel::Canvas TabControlSheet();
qel::Canvas PageControlSheet();

}  // namespace gallery
