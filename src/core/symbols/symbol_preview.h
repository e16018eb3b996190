// The preview of a generated symbol: the box, its title and every pin with its name and
// the stub joining it to the box, scaled so that the symbol fills the image.
#pragma once

#include <string>

#include "editor/canvas.h"
#include "symbols/sch_to_sym.h"

namespace qiro {

// Paints the whole image (width x height pixels), white behind the symbol.
void DrawSymbolPreview(Canvas& canvas, const GeneratedSymbol& symbol, const std::string& title, int width,
                       int height);

}  // namespace qiro
