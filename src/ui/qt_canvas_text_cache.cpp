// Each entry is painted once the way the plain canvas paints a text: the background box, then
// the text at the ascent below the box's top. The box is painted with a wide margin of a
// colour that contrasts with the ink; any changed pixel in that margin means the glyphs reach
// outside the box, where the result depends on what is already drawn, so such an entry is
// marked and painted in place instead of copied.
#include "qt_canvas_text_cache.h"

#include <QPainter>
#include <algorithm>
#include <functional>

namespace qiro {

namespace {

// Memory kept for painted texts before the cache starts afresh.
constexpr std::size_t kMaxBytes = std::size_t{32} << 20;

QImage DeviceImage(int width, int height, int dpmX, int dpmY) {
  QImage img(width, height, QImage::Format_RGB32);
  img.setDotsPerMeterX(dpmX);
  img.setDotsPerMeterY(dpmY);
  return img;
}

QRgb ToRgb(Colour c) {
  return qRgb(c.r, c.g, c.b);
}

}  // namespace

QtFontInfo MakeQtFont(const Font& font, int dotsPerMeterX, int dotsPerMeterY) {
  QFont f(QString::fromStdString(font.name));
  f.setPointSize(std::max(1, font.size));
  const QImage device = DeviceImage(1, 1, dotsPerMeterX, dotsPerMeterY);
  return QtFontInfo{f, QFontMetrics(f, &device)};
}

std::size_t TextImageCache::KeyHash::operator()(const Key& k) const {
  std::size_t h = std::hash<std::string>{}(k.text);
  h ^= (std::size_t{k.ink} * 0x9E3779B97F4A7C15ull) ^ (std::size_t{k.background} << 7) ^
       static_cast<std::size_t>(k.font);
  return h;
}

TextImageCache& TextImageCache::Shared() {
  static TextImageCache cache;
  return cache;
}

void TextImageCache::Clear() {
  entries_.clear();
  bytes_ = 0;
}

int TextImageCache::FontIndex(const Font& font, int dpmX, int dpmY) {
  for (std::size_t i = 0; i < fonts_.size(); ++i) {
    const FontSlot& f = fonts_[i];
    if (f.size == font.size && f.dpmX == dpmX && f.dpmY == dpmY && f.name == font.name)
      return static_cast<int>(i);
  }
  fonts_.push_back(FontSlot{font.name, font.size, dpmX, dpmY, MakeQtFont(font, dpmX, dpmY)});
  return static_cast<int>(fonts_.size() - 1);
}

const TextImageCache::Entry& TextImageCache::Get(const std::string& text, const Font& font, Colour background,
                                                 int dotsPerMeterX, int dotsPerMeterY) {
  Key key{text, FontIndex(font, dotsPerMeterX, dotsPerMeterY), ToRgb(font.colour), ToRgb(background)};
  if (const auto it = entries_.find(key); it != entries_.end()) return it->second;
  if (bytes_ > kMaxBytes) Clear();
  Entry e = Render(text, fonts_[static_cast<std::size_t>(key.font)], key.ink, key.background);
  bytes_ += static_cast<std::size_t>(e.image.sizeInBytes()) + sizeof(Key) + text.size() + 32;
  return entries_.emplace(std::move(key), std::move(e)).first->second;
}

TextImageCache::Entry TextImageCache::Render(const std::string& text, const FontSlot& f, QRgb ink,
                                             QRgb background) {
  Entry e;
  const QString s = QString::fromStdString(text);
  const int advance = f.qt.metrics.horizontalAdvance(s);
  const int height = f.qt.metrics.height();
  if (advance <= 0 || height <= 0) {
    e.spills = true;  // no box to copy; whatever ink there is goes straight on the image
    return e;
  }
  const int margin = height;
  QImage img = DeviceImage(advance + 2 * margin, height + 2 * margin, f.dpmX, f.dpmY);
  const QRgb contrast = qGray(ink) > 127 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
  img.fill(contrast);
  {
    QPainter p(&img);
    p.fillRect(QRect(margin, margin, advance, height), QColor::fromRgb(background));
    p.setFont(f.qt.font);
    p.setPen(QColor::fromRgb(ink));
    p.drawText(margin, margin + f.qt.metrics.ascent(), s);
  }
  for (int y = 0; y < img.height() && !e.spills; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    const bool inBoxRows = y >= margin && y < margin + height;
    for (int x = 0; x < img.width(); ++x) {
      if (inBoxRows && x == margin) x += advance;
      if (x < img.width() && row[x] != contrast) {
        e.spills = true;
        break;
      }
    }
  }
  e.image = img.copy(margin, margin, advance, height);
  return e;
}

}  // namespace qiro
