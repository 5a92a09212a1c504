#pragma once
// Sheets of the styled controls themselves, each drawn through real widgets.
#include <QWidget>

#include "controls/qelcanvas.h"

namespace gallery {

// Shows a window and waits (up to 2 s) until it is active: the focused
// looks need it.
void Activate(QWidget* window);

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
