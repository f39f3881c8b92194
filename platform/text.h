// Lettering: font lookup by face name and rendering of UTF-8 text.
#pragma once

#include "platform/controls.h"

#include <memory>
#include <string>

namespace platform {

// The font file that stands in for a face name. Faces of the old desktop map to what Debian
// ships: "ＭＳ Ｐ明朝" to IPA P Mincho, "Times New Roman" to Liberation Serif. Empty when
// fontconfig finds nothing at all.
std::string FindFontFile(const std::string& face, bool bold, bool italic);

// Text rendered in one colour on a transparent background, at the screen's dots per inch.
// Cached; the pointer stays valid for the life of the process.
std::shared_ptr<const Picture> RenderText(const FontSpec& font, const std::string& utf8,
                                          Pixel colour);

// Size of rendered text in pixels.
struct TextSize {
    int width = 0;
    int height = 0;
};
TextSize MeasureText(const FontSpec& font, const std::string& utf8);

} // namespace platform

namespace platform {
// Draws text onto a surface at (x, y), blended by its coverage; clipped to the surface.
void DrawText(Surface& surface, int x, int y, const FontSpec& font, const std::string& utf8,
              Pixel colour);
} // namespace platform
