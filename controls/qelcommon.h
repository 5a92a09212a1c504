#pragma once
// Shared ground of the styled controls. For now each control is the nearest
// Qt widget; the drawing of its own comes later without changing callers.
#include <QString>
#include <QWidget>

namespace qel {
// Object names are what the windows' handlers and tests look controls up by.
inline void Name(QWidget* w, const char* name) { w->setObjectName(QString::fromLatin1(name)); }
}  // namespace qel
