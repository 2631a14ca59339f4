#pragma once

#include <QString>

// The program's icon for the desktop's menu, in the hicolor theme's layout
// under `dir`: hicolor/NxN/apps/ID.png at the usual sizes and
// hicolor/scalable/apps/ID.svg, all drawn from one set of shapes. Returns
// false with `error` set when a file cannot be written.
bool DrawAppIcons(const QString& dir, const QString& id, QString* error);
