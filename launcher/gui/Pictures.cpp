#include "launcher/gui/Pictures.h"

#include "launcher/gui/JpegError.h"
#include "launcher/gui/JpegImage.h"

#include <QFile>
#include <QFontDatabase>
#include <QImage>

#include <span>

// Resources compiled into a static library must be registered by name, and
// the macro only works outside a namespace.
static void RegisterLauncherResources() {
    Q_INIT_RESOURCE(launcher);
}

namespace qvs {

QPixmap LoadPicture(const QString& resource) {
    RegisterLauncherResources();
    QFile file(resource);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    try {
        const JpegImage picture = JpegImage::Decode(
            std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                          static_cast<std::size_t>(bytes.size())));
        const QImage image(picture.rgb.data(), picture.width, picture.height, picture.width * 3,
                           QImage::Format_RGB888);
        return QPixmap::fromImage(image.copy()); // the decoded buffer ends here
    } catch (const JpegError&) {
        return {};
    }
}

QIcon LauncherIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/icons/quorvash-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

void LoadLauncherFonts() {
    RegisterLauncherResources();
    static const char* const fonts[] = {
        ":/fonts/LiberationSans-Regular.ttf", ":/fonts/LiberationSans-Bold.ttf",
        ":/fonts/LiberationSerif-Regular.ttf", ":/fonts/LiberationSerif-Bold.ttf"};
    if (QFontDatabase::applicationFontFamilies(0).isEmpty()) {
        for (const char* font : fonts) {
            QFontDatabase::addApplicationFont(QString::fromLatin1(font));
        }
    }
}

namespace {

QFont PixelFont(const char* family, int pixelSize, bool bold, bool italic) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setItalic(italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace

QFont SansSerifFont(int pixelSize, bool bold) {
    return PixelFont("Liberation Sans", pixelSize, bold, false);
}

QFont SerifFont(int pixelSize, bool bold, bool italic) {
    return PixelFont("Liberation Serif", pixelSize, bold, italic);
}

} // namespace qvs
