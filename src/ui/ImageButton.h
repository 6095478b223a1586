// A push button with an image from an ImageList left of its caption, drawn in
// the classic raised look, whose caption turns green while the mouse is over it.
#pragma once

#include <QAbstractButton>
#include <QColor>
#include <QPointer>

namespace dorvak {

class ImageList;

class ImageButton : public QAbstractButton {
    Q_OBJECT

public:
    // The caption's colour while the mouse is over an enabled button.
    static constexpr QRgb HotColour = 0xFF33A781;

    // White face, Arial 9 pt (12 px) bold caption, strong focus; no image
    // until setImageList and setImageIndex are called.
    explicit ImageButton(QWidget* parent = nullptr);

    // The list is not owned; it must outlive the button or be cleared first.
    void setImageList(ImageList* list);
    void setImageIndex(int index);
    int imageIndex() const { return imageIndex_; }

    // True while the mouse is over the enabled button and no other widget
    // holds the mouse grab; the caption is then drawn in HotColour.
    bool isHot() const { return hot_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Enter and Space click; Escape is passed on to the window unhandled; the
    // arrow keys move the focus to the other focusable control of the strip.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void setHot(bool hot);

    QPointer<ImageList> imageList_;
    int imageIndex_ = -1;
    bool hot_ = false;
};

}  // namespace dorvak
