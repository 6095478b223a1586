#include "ui/PictureBox.h"

#include <QFile>
#include <QFileInfo>
#include <QPaintEvent>
#include <QPainter>
#include <stdexcept>

#include "ui/Resources.h"

namespace dorvak {

PictureBox::PictureBox(QWidget* parent) : QWidget(parent) {
    // Every pixel is painted (picture or white), so Qt need not clear first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setPicture(placeholder());
}

JpegPicture PictureBox::placeholder() {
    initResources();
    QFile file(QStringLiteral(":/dorvak/placeholder.jpg"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    try {
        return JpegPicture::fromData(file.readAll());
    } catch (const std::exception&) {
        return {};
    }
}

void PictureBox::setPicture(const JpegPicture& picture) {
    picture_ = picture;
    const QSize size = picture_.size();
    if (size.width() > 0 && size.height() > 0) {
        const bool changed = minimumHeight() != size.height() || maximumHeight() != size.height();
        setFixedHeight(size.height());
        if (changed) emit heightChanged(size.height());
    }
    update();
}

void PictureBox::loadFromFile(const QString& fileName) {
    // The kind of picture follows the extension, as it would for any other
    // picture kind; only JPEG is known here.
    const QString suffix = QFileInfo(fileName).suffix();
    if (suffix.compare(QLatin1String("jpg"), Qt::CaseInsensitive) != 0 &&
        suffix.compare(QLatin1String("jpeg"), Qt::CaseInsensitive) != 0)
        throw std::runtime_error(
            QStringLiteral("Unknown picture file extension (.%1)").arg(suffix).toStdString());
    setPicture(JpegPicture::fromFile(fileName));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), Qt::white);
    const QImage& image = picture_.image();
    if (!image.isNull()) p.drawImage(0, 0, image);
}

}  // namespace dorvak
