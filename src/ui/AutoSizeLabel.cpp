#include "ui/AutoSizeLabel.h"

#include <QEvent>
#include <QPainter>

namespace dorvak {

namespace {

// The text as drawn: "&&" becomes "&", a single "&" disappears.
QString drawnText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&')) {
            if (i + 1 < text.size() && text[i + 1] == QLatin1Char('&')) {
                out += QLatin1Char('&');
                ++i;
            }
            continue;
        }
        out += text[i];
    }
    return out;
}

}  // namespace

AutoSizeLabel::AutoSizeLabel(QWidget* parent) : QLabel(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    setTextFormat(Qt::PlainText);
}

void AutoSizeLabel::setText(const QString& text) {
    QLabel::setText(text);
    fitToText();
}

void AutoSizeLabel::setAnchor(Qt::Alignment edge, int x) {
    edge_ = (edge & Qt::AlignRight) ? Qt::AlignRight : Qt::AlignLeft;
    anchorX_ = x;
    anchored_ = true;
    fitToText();
}

QSize AutoSizeLabel::sizeHint() const {
    const QFontMetrics fm = fontMetrics();
    // An empty label still takes the width of a blank, so it never vanishes.
    const QString shown = text().isEmpty() ? QStringLiteral(" ") : drawnText(text());
    int width = 0;
    const QStringList lines = shown.split(QLatin1Char('\n'));
    for (const QString& line : lines) width = qMax(width, fm.horizontalAdvance(line));
    return {width, fm.height() * static_cast<int>(lines.size())};
}

QSize AutoSizeLabel::minimumSizeHint() const { return sizeHint(); }

void AutoSizeLabel::paintEvent(QPaintEvent*) {
    // Text set through the base class (the property system) bypasses our
    // setText; catch up before drawing.
    if (fittedText_ != text()) fitToText();
    QPainter p(this);
    p.setFont(font());
    p.setPen(palette().color(foregroundRole()));
    p.drawText(rect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, text());
}

void AutoSizeLabel::changeEvent(QEvent* event) {
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange) fitToText();
}

void AutoSizeLabel::fitToText() {
    fittedText_ = text();
    const QSize size = sizeHint();
    if (!anchored_) {
        edge_ = Qt::AlignLeft;
        anchorX_ = x();
        anchored_ = true;
    }
    const int left = edge_ == Qt::AlignRight ? anchorX_ - size.width() : anchorX_;
    setGeometry(left, y(), size.width(), size.height());
    update();
}

}  // namespace dorvak
