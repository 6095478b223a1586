#include "ui/ImageList.h"

#include "ui/Resources.h"

namespace dorvak {

ImageList::ImageList(QSize imageSize, QObject* parent) : QObject(parent), imageSize_(imageSize) {}

ImageList* ImageList::createButtonImages(QObject* parent) {
    initResources();
    auto* list = new ImageList(QSize(24, 16), parent);
    for (const char* name : {"button-search", "button-check", "button-exit"})
        list->add(QImage(QStringLiteral(":/dorvak/%1.png").arg(QLatin1String(name))));
    return list;
}

int ImageList::add(const QImage& image) {
    QImage stored = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!stored.isNull() && stored.size() != imageSize_)
        stored = stored.scaled(imageSize_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    images_.push_back(stored);
    return count() - 1;
}

QImage ImageList::image(int index) const {
    if (index < 0 || index >= count()) return {};
    return images_[static_cast<size_t>(index)];
}

}  // namespace dorvak
