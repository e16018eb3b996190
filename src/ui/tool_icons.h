// Glyphs of the tool buttons, drawn with QPainter so the program ships no image files.
#pragma once

#include <QIcon>
#include <QString>

namespace qiro {

// The icon of a tool button by its control name (for example "sbline"); a plain frame for
// names without a glyph.
QIcon ToolIcon(const QString& control);

}  // namespace qiro
