// Texts painted once and kept as small opaque images, so that a redraw copies pixels instead
// of laying out and rasterising the same pin names and titles again. An entry is exactly what
// the plain path paints: the background box (advance x line height) with the text on it.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "editor/canvas.h"

namespace qiro {

// A canvas font turned into a Qt font with the metrics the canvas places text by.
struct QtFontInfo {
  QFont font;
  QFontMetrics metrics;
};

// The Qt font for a canvas font on an image of the given resolution (dots per metre).
QtFontInfo MakeQtFont(const Font& font, int dotsPerMeterX, int dotsPerMeterY);

class TextImageCache {
 public:
  struct Entry {
    QImage image;         // RGB32, advance x line height; null for a text of no width
    bool spills = false;  // some ink lies outside the box: only painting in place is exact
  };

  // The text in the font's colour on an opaque background box, for an image of this
  // resolution (dots per metre). The reference stays valid until the next call.
  const Entry& Get(const std::string& text, const Font& font, Colour background, int dotsPerMeterX,
                   int dotsPerMeterY);

  void Clear();
  std::size_t Size() const { return entries_.size(); }

  // The cache the Qt canvases share: one user interface thread draws all of them.
  static TextImageCache& Shared();

 private:
  struct Key {
    std::string text;
    int font = 0;  // index into fonts_
    QRgb ink = 0, background = 0;
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    std::size_t operator()(const Key& k) const;
  };
  struct FontSlot {
    std::string name;
    int size = 0, dpmX = 0, dpmY = 0;
    QtFontInfo qt;
  };

  int FontIndex(const Font& font, int dpmX, int dpmY);
  static Entry Render(const std::string& text, const FontSlot& f, QRgb ink, QRgb background);

  std::vector<FontSlot> fonts_;
  std::unordered_map<Key, Entry, KeyHash> entries_;
  std::size_t bytes_ = 0;
};

}  // namespace qiro
