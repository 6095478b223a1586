// A JPEG picture whose size is known as soon as it is loaded and whose pixels
// are decoded once, the first time they are needed.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <memory>

namespace dorvak {

class JpegPicture {
public:
    // No picture: size 0 x 0, a null image.
    JpegPicture() = default;

    // Reads the whole file and decodes its header. Throws std::runtime_error
    // with 'Cannot open file "<absolute path>". <reason>' (the system's reason
    // without trailing blanks and full stops) when the file cannot be read, and
    // "JPEG error #<n>" (the decoder's message number) when the data is not a
    // decodable JPEG. An empty file is no failure: it gives an empty picture.
    static JpegPicture fromFile(const QString& fileName);

    // The same from bytes in memory; empty bytes give an empty picture.
    static JpegPicture fromData(const QByteArray& data);

    bool isEmpty() const { return size().isEmpty(); }
    QSize size() const;

    // The decoded pixels (Format_RGB32), decoded at the first call and kept,
    // shared by every copy of this picture. Never throws: data that fails
    // while decoding keeps what was decoded; a picture too large to hold in
    // memory gives a null image.
    const QImage& image() const;

private:
    struct Data;
    std::shared_ptr<Data> d_;
};

}  // namespace dorvak
