#include "ui/JpegPicture.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

// clang-format off
// jpeglib.h needs FILE and size_t declared before it.
#include <jpeglib.h>
// clang-format on

namespace dorvak {

struct JpegPicture::Data {
    QByteArray bytes;
    QSize size;
    bool decoded = false;
    QImage image;
};

namespace {

// A logo beyond this many pixels is refused at drawing time rather than
// allowed to exhaust memory; it is far larger than any screen.
constexpr qint64 MaxPixels = qint64(64) * 1024 * 1024;

// libjpeg reports fatal errors by calling error_exit, which must not return.
// We jump back to the call site; C++ exceptions must not cross libjpeg's C
// frames.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

void errorExit(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

// Warnings (corrupt but recoverable data) are not for the user; libjpeg
// would otherwise print them on stderr.
void outputMessage(j_common_ptr) {}

void installErrorManager(jpeg_decompress_struct& cinfo, ErrorManager& err) {
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = errorExit;
    err.pub.output_message = outputMessage;
}

// Returns 0 on success, else libjpeg's message number.
int readHeader(const QByteArray& bytes, QSize* size) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    installErrorManager(cinfo, err);
    jpeg_create_decompress(&cinfo);
    if (setjmp(err.jump)) {
        const int code = err.pub.msg_code;
        jpeg_destroy_decompress(&cinfo);
        return code;
    }
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    *size = QSize(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

// Decodes into `image`, which is pre-filled white and has the header's size,
// so a failure part-way keeps the rows already decoded and white below them.
void decodePixels(const QByteArray& bytes, QImage* image, std::vector<JSAMPLE>* row) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    installErrorManager(cinfo, err);
    jpeg_create_decompress(&cinfo);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
                 static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    // Format_RGB32 is 0xffRRGGBB in native order: B, G, R, X in memory.
    const J_COLOR_SPACE native = JCS_EXT_BGRX;
#else
    const J_COLOR_SPACE native = JCS_EXT_XRGB;
#endif
    cinfo.out_color_space = cmyk ? JCS_CMYK : native;
    jpeg_start_decompress(&cinfo);
    if (static_cast<int>(cinfo.output_width) != image->width() ||
        static_cast<int>(cinfo.output_height) != image->height()) {
        jpeg_destroy_decompress(&cinfo);
        return;
    }
    row->resize(static_cast<size_t>(cinfo.output_width) * 4);
    // Adobe writes CMYK inverted; others store it plain.
    const bool inverted = cinfo.saw_Adobe_marker;
    while (cinfo.output_scanline < cinfo.output_height) {
        const int y = static_cast<int>(cinfo.output_scanline);
        if (!cmyk) {
            JSAMPROW target = image->scanLine(y);
            jpeg_read_scanlines(&cinfo, &target, 1);
            continue;
        }
        JSAMPROW target = row->data();
        jpeg_read_scanlines(&cinfo, &target, 1);
        auto* out = reinterpret_cast<QRgb*>(image->scanLine(y));
        for (int x = 0; x < image->width(); ++x) {
            const JSAMPLE* p = row->data() + 4 * x;
            int c = p[0], m = p[1], ye = p[2], k = p[3];
            if (!inverted) c = 255 - c, m = 255 - m, ye = 255 - ye, k = 255 - k;
            out[x] = qRgb(c * k / 255, m * k / 255, ye * k / 255);
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

QString reasonText(int error) {
    QString reason = QString::fromLocal8Bit(std::strerror(error));
    while (!reason.isEmpty() && (reason.back() == QLatin1Char(' ') ||
                                 reason.back() == QLatin1Char('.') || reason.back().isSpace()))
        reason.chop(1);
    return reason;
}

[[noreturn]] void throwCannotOpen(const QString& path, int error) {
    const QString message =
        QStringLiteral("Cannot open file \"%1\". %2").arg(path, reasonText(error));
    throw std::runtime_error(message.toStdString());
}

}  // namespace

JpegPicture JpegPicture::fromFile(const QString& fileName) {
    // Linux has no share modes: a file another program is writing opens and
    // reads like any other, so only absence, permissions and the like refuse.
    // The whole file is read at once so a later rewrite cannot tear the picture.
    const QString path = QFileInfo(fileName).absoluteFilePath();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) throwCannotOpen(path, errno);

    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            // A directory opens but cannot be read: to the user it is still a
            // file that cannot be opened.
            const int error = errno;
            ::close(fd);
            throwCannotOpen(path, error);
        }
        bytes.append(buffer, static_cast<qsizetype>(n));
    }
    ::close(fd);
    return fromData(bytes);
}

JpegPicture JpegPicture::fromData(const QByteArray& bytes) {
    JpegPicture picture;
    if (bytes.isEmpty()) return picture;
    QSize size;
    if (const int code = readHeader(bytes, &size))
        throw std::runtime_error("JPEG error #" + std::to_string(code));
    picture.d_ = std::make_shared<Data>();
    picture.d_->bytes = bytes;
    picture.d_->size = size;
    return picture;
}

QSize JpegPicture::size() const { return d_ ? d_->size : QSize(0, 0); }

const QImage& JpegPicture::image() const {
    static const QImage none;
    if (!d_) return none;
    if (!d_->decoded) {
        d_->decoded = true;
        const QSize s = d_->size;
        if (qint64(s.width()) * s.height() <= MaxPixels) {
            QImage image(s, QImage::Format_RGB32);
            if (!image.isNull()) {
                image.fill(Qt::white);
                std::vector<JSAMPLE> row;
                decodePixels(d_->bytes, &image, &row);
                d_->image = std::move(image);
            }
        }
        // The compressed bytes are of no further use once decoded.
        d_->bytes = QByteArray();
    }
    return d_->image;
}

}  // namespace dorvak
