#pragma once

#include <QRect>

namespace mindlark {

// Logical pixels for a length in twips: 15 twips are one pixel at 96 dots per inch.
constexpr int twipsToPixels(int twips) {
    return (twips + 7) / 15;
}

// A control's place given in twips (left, top, width, height) as a pixel rectangle.
constexpr QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

}  // namespace mindlark
