// The symbol properties dialog.
#include "main_window.h"

namespace qiro {

void Tmdiframe::OpenSymbolProperties(int) {
  WindowNotAvailable("Symbol properties");
}

}  // namespace qiro
