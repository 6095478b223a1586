// A label that sizes itself to its text and keeps one edge (left or right)
// where it was put, drawing "&" as an accelerator mark.
#pragma once

#include <QLabel>

namespace dorvak {

class AutoSizeLabel : public QLabel {
    Q_OBJECT

public:
    // Opaque, in the palette's window colour (inherited from its strip);
    // anchored at its left edge until setAnchor says otherwise.
    explicit AutoSizeLabel(QWidget* parent = nullptr);

    // Takes the text and resizes at once: the width is the drawn text's width
    // in the label's font (an empty text measures as one blank), the height
    // the font's line height, and the anchored edge stays put. A single "&"
    // is not drawn and underlines the next character; "&&" draws one "&".
    void setText(const QString& text);

    // Fixes the edge: Qt::AlignLeft keeps the left edge at `x`, Qt::AlignRight
    // the right edge (x is the first column right of the text, as in
    // geometry().x() + width()). Resizes at once.
    void setAnchor(Qt::Alignment edge, int x);

    // The size the current text needs in the current font.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fitToText();

    Qt::Alignment edge_ = Qt::AlignLeft;
    int anchorX_ = 0;
    bool anchored_ = false;
    QString fittedText_;
};

}  // namespace dorvak
