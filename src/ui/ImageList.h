// A list of equally sized images that buttons draw by index (IkoneGumba).
#pragma once

#include <QImage>
#include <QObject>
#include <QSize>
#include <vector>

namespace dorvak {

class ImageList : public QObject {
    Q_OBJECT

public:
    // An empty list for images of `imageSize`.
    explicit ImageList(QSize imageSize = QSize(24, 16), QObject* parent = nullptr);

    // The button images from the resources, in their fixed order: 0 magnifier
    // (search), 1 green check, 2 red cross (exit); 24 x 16, opaque, on white.
    static ImageList* createButtonImages(QObject* parent = nullptr);

    QSize imageSize() const { return imageSize_; }
    int count() const { return static_cast<int>(images_.size()); }

    // Appends `image`, scaled to imageSize() if it differs, and returns its index.
    int add(const QImage& image);

    // The image at `index`, or a null image when the index is out of range.
    QImage image(int index) const;

private:
    QSize imageSize_;
    std::vector<QImage> images_;
};

}  // namespace dorvak
