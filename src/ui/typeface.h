#pragma once

#include <QFont>
#include <QString>

namespace mindlark {

// The family the riddle's captions and lists ask for. Where the machine lacks it,
// the metric-compatible Latin serif stands in, with a chosen Arabic face behind
// it, so the riddle looks the same whatever else is installed.
inline constexpr char kRiddleFamily[] = "Times New Roman";
inline constexpr char kLatinSerif[] = "Liberation Serif";
inline constexpr char kArabicFace[] = "Noto Naskh Arabic UI";

// The riddle's 12-point font in the given style, with the stand-ins above pinned.
QFont riddleFont(bool bold, bool italic);

// `font` narrowed horizontally until `text` fits `width` pixels on one line;
// `font` itself when it fits already. The height and the letters' joins stay.
QFont condensedToFit(QFont font, const QString& text, int width);

}  // namespace mindlark
