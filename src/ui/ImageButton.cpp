#include "ui/ImageButton.h"

#include <QEnterEvent>
#include <QKeyEvent>
#include <QPainter>

#include "ui/ImageList.h"

namespace dorvak {

namespace {

// The classic three-dimensional colours, fixed so the buttons look the same
// under any desktop theme.
constexpr QRgb Light = 0xFFFFFFFF;
constexpr QRgb Midlight = 0xFFE3E3E3;
constexpr QRgb Dark = 0xFFA0A0A0;
constexpr QRgb Shadow = 0xFF696969;

constexpr int ImageWidth = 24;
constexpr int ImageHeight = 16;
// The caption starts this far right of the image's left edge: the image's
// width and a spacing of 4 counted from its last column.
constexpr int CaptionOffset = 27;
constexpr int SideInset = 4;
constexpr int FocusInset = 4;

void drawLine(QPainter& p, QRgb colour, int x1, int y1, int x2, int y2) {
    p.setPen(QColor::fromRgb(colour));
    p.drawLine(x1, y1, x2, y2);
}

// A rectangle of alternating pixels, as the classic focus rectangle is drawn.
void drawDottedRect(QPainter& p, const QRect& r) {
    p.setPen(Qt::black);
    for (int x = r.left(); x <= r.right(); x += 2) {
        p.drawPoint(x, r.top());
        p.drawPoint(x, r.bottom());
    }
    for (int y = r.top(); y <= r.bottom(); y += 2) {
        p.drawPoint(r.left(), y);
        p.drawPoint(r.right(), y);
    }
}

// The caption's width as drawn: a single "&" takes no room, "&&" is one "&".
int captionWidth(const QFontMetrics& fm, const QString& text) {
    QString drawn;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && ++i >= text.size()) break;
        drawn += text[i];
    }
    return fm.horizontalAdvance(drawn);
}

}  // namespace

ImageButton::ImageButton(QWidget* parent) : QAbstractButton(parent) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(12);
    font.setBold(true);
    setFont(font);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_Hover);
}

void ImageButton::setImageList(ImageList* list) {
    imageList_ = list;
    update();
}

void ImageButton::setImageIndex(int index) {
    imageIndex_ = index;
    update();
}

QSize ImageButton::sizeHint() const {
    return {2 * SideInset + CaptionOffset + captionWidth(fontMetrics(), text()) + 8,
            qMax(ImageHeight, fontMetrics().height()) + 12};
}

void ImageButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, Qt::white);

    QRect edge = r;
    if (hasFocus()) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
        edge = r.adjusted(1, 1, -1, -1);
    }
    const bool pressed = isDown();
    if (pressed) {
        // Held down, the edge goes flat: one line in the shadow colour.
        p.setPen(QColor::fromRgb(Dark));
        p.drawRect(edge.adjusted(0, 0, -1, -1));
    } else {
        const int l = edge.left(), t = edge.top(), rt = edge.right(), b = edge.bottom();
        drawLine(p, Light, l, t, rt - 1, t);
        drawLine(p, Light, l, t, l, b - 1);
        drawLine(p, Shadow, l, b, rt, b);
        drawLine(p, Shadow, rt, t, rt, b);
        drawLine(p, Midlight, l + 1, t + 1, rt - 2, t + 1);
        drawLine(p, Midlight, l + 1, t + 1, l + 1, b - 2);
        drawLine(p, Dark, l + 1, b - 1, rt - 1, b - 1);
        drawLine(p, Dark, rt - 1, t + 1, rt - 1, b - 1);
    }

    const int shift = pressed ? 1 : 0;
    const QFontMetrics fm = fontMetrics();
    const int caption = captionWidth(fm, text());
    const QImage image = imageList_ ? imageList_->image(imageIndex_) : QImage();
    const int pairWidth = image.isNull() ? caption : CaptionOffset + caption;
    const int left = SideInset + (width() - 2 * SideInset - pairWidth) / 2 + shift;
    if (!image.isNull()) p.drawImage(left, (height() - ImageHeight) / 2 + shift, image);

    const int captionLeft = image.isNull() ? left : left + CaptionOffset;
    QColor colour = palette().color(QPalette::Disabled, QPalette::ButtonText);
    if (isEnabled()) colour = hot_ ? QColor::fromRgb(HotColour) : QColor(Qt::black);
    p.setPen(colour);
    p.setFont(font());
    p.drawText(QRect(captionLeft, shift, caption + 2, height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, text());

    if (hasFocus())
        drawDottedRect(p, r.adjusted(FocusInset, FocusInset, -FocusInset - 1, -FocusInset - 1));
}

void ImageButton::enterEvent(QEnterEvent* event) {
    // While another control holds the mouse (a drag in the grid, say) the
    // button is not the user's target and stays black.
    QWidget* grabber = QWidget::mouseGrabber();
    if (isEnabled() && (grabber == nullptr || grabber == this)) setHot(true);
    QAbstractButton::enterEvent(event);
}

void ImageButton::leaveEvent(QEvent* event) {
    setHot(false);
    QAbstractButton::leaveEvent(event);
}

void ImageButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange && !isEnabled()) setHot(false);
    QAbstractButton::changeEvent(event);
}

void ImageButton::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!event->isAutoRepeat()) click();
            event->accept();
            return;
        case Qt::Key_Escape:
            // Never a cancel button: Escape belongs to the window.
            event->ignore();
            return;
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down: {
            const bool forward = event->key() == Qt::Key_Right || event->key() == Qt::Key_Down;
            QWidget* strip = parentWidget();
            for (QWidget* w = forward ? nextInFocusChain() : previousInFocusChain(); w && w != this;
                 w = forward ? w->nextInFocusChain() : w->previousInFocusChain()) {
                if (strip && strip->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) &&
                    w->isEnabled() && w->isVisibleTo(strip)) {
                    w->setFocus(Qt::TabFocusReason);
                    break;
                }
            }
            event->accept();
            return;
        }
        default:
            QAbstractButton::keyPressEvent(event);
    }
}

void ImageButton::setHot(bool hot) {
    if (hot_ == hot) return;
    hot_ = hot;
    update();
}

}  // namespace dorvak
