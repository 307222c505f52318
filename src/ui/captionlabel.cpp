#include "ui/captionlabel.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <algorithm>

namespace mindlark {

CaptionLabel::CaptionLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent) {
    setTextFormat(Qt::PlainText);
    parent->installEventFilter(this);
}

const CaptionLabel::Line& CaptionLabel::line() const {
    // Laid out once per text and font: the parent asks on every paint.
    if (text() != lineText_ || font() != lineFont_) {
        lineText_ = text();
        lineFont_ = font();
        QTextLayout layout(lineText_, lineFont_);
        QTextOption option;
        option.setTextDirection(Qt::LeftToRight);
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine laid = layout.createLine();
        layout.endLayout();
        // A fallback face may declare a taller line than the serif; the letters
        // are set on the serif's baseline, as one font holding both scripts sets them.
        const qreal serifAscent = QFontMetricsF(lineFont_).ascent();
        line_ = laid.isValid() ? Line{std::max<qreal>(0, laid.ascent() - serifAscent),
                                      laid.ascent() + laid.descent(), laid.naturalTextWidth()}
                               : Line{};
    }
    return line_;
}

QRectF CaptionLabel::letteringBox() const {
    return QRectF(geometry()).translated(0, -line().raise);
}

QRect CaptionLabel::inkArea() const {
    const QRectF box = letteringBox();
    // Italic and swash letters may lean past their advance; a font height each
    // way is more than any letter reaches.
    const qreal margin = QFontMetricsF(font()).height();
    const qreal overhang = std::max<qreal>(0, line().width - box.width()) + margin;
    const qreal bottom = std::max(box.bottom(), box.top() + line().height) + margin;
    return QRectF(QPointF(box.left() - overhang, box.top() - margin),
                  QPointF(box.right() + overhang, bottom))
        .toAlignedRect();
}

void CaptionLabel::paintEvent(QPaintEvent*) {}

bool CaptionLabel::eventFilter(QObject* watched, QEvent* event) {
    if (watched != parentWidget() || event->type() != QEvent::Paint || isHidden())
        return QLabel::eventFilter(watched, event);
    // A new text (QLabel::setText repaints the box only) needs the whole old and
    // new ink repainted; not from inside this paint, whose region is fixed.
    const QRect ink = inkArea();
    if (text() != letteredText_ || ink != letteredArea_)
        QMetaObject::invokeMethod(this, &CaptionLabel::refreshInk, Qt::QueuedConnection);
    if (!text().isEmpty() && static_cast<QPaintEvent*>(event)->region().intersects(ink)) {
        QPainter painter(parentWidget());
        painter.setLayoutDirection(layoutDirection());
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));  // the label's state's colour group
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
