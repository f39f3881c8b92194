// Lettering: text shapes from the system's fonts, dressed in outline, shading and shadow.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace art {

// A face by its fontconfig family name, as installed by the Debian font packages.
struct Font {
    std::string family;
    bool bold = false;
    bool italic = false;
};

// Coverage of one line of text whose em is `pixelSize` pixels, cut to the inked area. Throws
// std::runtime_error when the face is not installed: another face would change every picture.
Mask TextMask(const Font& font, int pixelSize, const std::string& utf8);

// Width in pixels of the inked area of the text (for fitting a line into a box).
int TextWidth(const Font& font, int pixelSize, const std::string& utf8);

struct LetterStyle {
    std::vector<Stop> fill; // top to bottom of the letters
    int bands = 8;
    Colour outline = 0;
    int outlineWidth = 0;
    Colour outerOutline = 0; // a second ring around the first; width 0 for none
    int outerWidth = 0;
    Colour shadow = 0; // cast by everything above, offset down and right; 0, 0 for none
    int shadowDx = 0;
    int shadowDy = 0;
    Colour highlight = 0; // letter edges facing the top-left light; bevel 0 for none
    Colour shade = 0;     // edges facing away from it
    int bevel = 0;
};

// The letters of a hard-edged glyph mask dressed in the style; transparent elsewhere. The
// mask must leave room around the letters for the outline and the shadow.
Canvas DressLetters(const Mask& glyphs, const LetterStyle& style);

// Text in the style, hard-edged, on a transparent canvas cut to its ink. When width or height
// is given, the letters are stretched to that size first (the logotype's tall letters).
Canvas Lettering(const Font& font, int pixelSize, const std::string& utf8, const LetterStyle& style,
                 int stretchWidth = 0, int stretchHeight = 0);

// The largest lettering in the style that fits maxWidth x maxHeight. Throws when none does.
Canvas FittedLettering(const Font& font, const std::string& utf8, const LetterStyle& style,
                       int maxWidth, int maxHeight);

// Plain text with soft edges in one colour and a hard one-pixel ring: small print that stays
// readable on any background.
Canvas SmallPrint(const Font& font, int pixelSize, const std::string& utf8, Colour ink, Colour ring,
                  int ringWidth = 1);

// Draws `art` centred on the point (cx, cy) of the canvas.
void DrawCentred(Canvas& canvas, const Canvas& art, int cx, int cy);

} // namespace art
