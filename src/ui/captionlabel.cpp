#include "ui/captionlabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace mindlark {

namespace {

// The one line `text` makes in `font`, laid out as the painter lays out a label.
struct Line {
    qreal ascent = 0;
    qreal descent = 0;
    qreal width = 0;
};

Line lineOf(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    QTextOption option;
    option.setTextDirection(Qt::LeftToRight);
    option.setWrapMode(QTextOption::NoWrap);
    layout.setTextOption(option);
    layout.beginLayout();
    QTextLine line = layout.createLine();
    layout.endLayout();
    if (!line.isValid())
        return {};
    return {line.ascent(), line.descent(), line.naturalTextWidth()};
}

}  // namespace

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    parent->installEventFilter(this);
}

QRectF CaptionLabel::letteringBox() const {
    const Line line = lineOf(text(), font());
    // A fallback face may declare a taller line than the serif; the letters are
    // set on the serif's baseline, as one font holding both scripts sets them.
    const qreal raise = std::max<qreal>(0, line.ascent - QFontMetricsF(font()).ascent());
    return QRectF(geometry()).translated(0, -raise);
}

QRect CaptionLabel::inkArea() const {
    const Line line = lineOf(text(), font());
    const QRectF box = letteringBox();
    const QFontMetricsF metrics(font());
    // Italic and swash letters may lean past their advance; a font height each
    // way is more than any letter reaches.
    const qreal margin = metrics.height();
    const qreal left = std::min(box.left(), box.center().x() - line.width / 2) - margin;
    const qreal right = std::max(box.right(), box.center().x() + line.width / 2) + margin;
    const qreal bottom = std::max(box.bottom(), box.top() + line.ascent + line.descent) + margin;
    return QRectF(QPointF(left, box.top() - margin), QPointF(right, bottom)).toAlignedRect();
}

void CaptionLabel::paintEvent(QPaintEvent*) {}

bool CaptionLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parentWidget() || event->type() != QEvent::Paint || isHidden())
        return QLabel::eventFilter(watched, event);
    // A new text (QLabel::setText repaints the box only) needs the whole old and
    // new ink repainted; not from inside this paint, whose region is fixed.
    if (text() != letteredText_ || inkArea() != letteredArea_)
        QMetaObject::invokeMethod(this, &CaptionLabel::refreshInk, Qt::QueuedConnection);
    if (!text().isEmpty()) {
        QPainter painter(parentWidget());
        painter.setLayoutDirection(layoutDirection());
        painter.setFont(font());
        painter.setPen(
            palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
        painter.drawText(letteringBox(), static_cast<int>(alignment()) | Qt::TextDontClip, text());
    }
    return QLabel::eventFilter(watched, event);
}

bool CaptionLabel::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::Show:
        case QEvent::Hide:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::FontChange:
        case QEvent::PaletteChange:
        case QEvent::EnabledChange:
            refreshInk();
            break;
        default:
            break;
    }
    return QLabel::event(event);
}

void CaptionLabel::refreshInk() {
    if (parentWidget() == nullptr)
        return;
    parentWidget()->update(letteredArea_ | inkArea());
    letteredArea_ = isHidden() ? QRect() : inkArea();
    letteredText_ = text();
}

}  // namespace mindlark
