#include "ui/qt/Pictures.h"

#include "ui/qt/JpegError.h"
#include "ui/qt/JpegImage.h"
#include "ui/tables/Catalogue.h"

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

QPixmap LoadPicture(ui::PictureId id) {
    if (id == ui::PictureId::None) {
        return {};
    }
    const std::string_view file = ui::PictureFile(id);
    return LoadPicture(QStringLiteral(":/") +
                       QString::fromLatin1(file.data(), static_cast<qsizetype>(file.size())));
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
    if (QFontDatabase::applicationFontFamilies(0).isEmpty()) {
        for (std::string_view file : ui::BundledFontFiles()) {
            QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/") +
                                              QString::fromLatin1(file.data(), file.size()));
        }
    }
}

QFont FontOf(ui::FontId id) {
    const ui::FontSpec& spec = ui::Font(id);
    QFont font(QString::fromLatin1(spec.bundledFamily.data(),
                                   static_cast<qsizetype>(spec.bundledFamily.size())));
    font.setPixelSize(spec.pixelHeight);
    font.setBold(spec.bold);
    font.setItalic(spec.italic);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

} // namespace qvs
