// The logo strip's picture control (iLogo): the picture at natural size at
// the top-left corner, white elsewhere, as tall as the picture.
#pragma once

#include <QWidget>

#include "ui/JpegPicture.h"

namespace dorvak {

class PictureBox : public QWidget {
    Q_OBJECT

public:
    // Starts with the 21 x 12 placeholder logo, so 12 px tall.
    explicit PictureBox(QWidget* parent = nullptr);

    // Replaces the picture. When both its width and height are positive the
    // control's fixed height becomes the picture's height (heightChanged is
    // emitted if it changed); otherwise the height stays as it was.
    void setPicture(const JpegPicture& picture);
    const JpegPicture& picture() const { return picture_; }

    // Loads `fileName` (relative names are looked up in the current
    // directory) and sets it as the picture. The extension must be jpg or jpeg
    // (any case). On failure throws std::runtime_error with the message of
    // JpegPicture::fromFile, and the current picture and height stay.
    void loadFromFile(const QString& fileName);

    // The placeholder logo from the resources.
    static JpegPicture placeholder();

signals:
    void heightChanged(int height);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    JpegPicture picture_;
};

}  // namespace dorvak
