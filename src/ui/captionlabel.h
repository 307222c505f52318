#pragma once

#include <QFont>
#include <QLabel>
#include <QRect>

namespace mindlark {

// A transparent caption whose whole ink is drawn, also where it reaches beyond
// the caption's designed box: the dots below Arabic letters and the tails of
// Latin descenders hang below a box only 17 pixels high. The widget keeps its
// designed place (what layout and screen readers see); its text is lettered on
// the parent's surface, beneath the parent's controls, as the window's own
// lettering always was.
class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    // A caption in plain text on `parent`, which must not be null.
    CaptionLabel(const QString& caption, QWidget* parent);

    // Where the ink may fall, in the parent's coordinates: the box, widened to
    // the whole line and deepened to the tallest and deepest letters.
    QRect inkArea() const;

protected:
    // Draws nothing: the parent's surface carries the text.
    void paintEvent(QPaintEvent* event) override;

    // Letters the caption as the parent paints itself, and has the parent
    // repainted wherever the ink was and will be when the text has changed.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Repaints the parent where the ink was and will be when the caption moves,
    // shows, hides or changes its font.
    bool event(QEvent* event) override;

private:
    // The caption's one line as the painter lays it out.
    struct Line {
        qreal raise = 0;  // how far the serif's baseline lies above the line's
        qreal height = 0;
        qreal width = 0;
    };
    const Line& line() const;

    // The box's top moved so that the baseline lies where the Latin serif puts
    // it, however tall the fallback face's declared line is.
    QRectF letteringBox() const;

    // Repaints the parent where the ink was lettered last and where it falls now.
    void refreshInk();

    // The area and text last lettered on the parent, to wipe when the caption changes.
    QRect letteredArea_;
    QString letteredText_;

    // What line() last laid out.
    mutable QString lineText_;
    mutable QFont lineFont_;
    mutable Line line_;
};

}  // namespace mindlark
