// bilder <output-folder>
//
// Writes all of the program's pictures as PNG files (each at 1x and as
// name@2x.png at double size), the larger program icons for the desktop
// menus, and programm.ico for Windows.

#include "zeichnen.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <exception>

namespace {

bool savePng(const QImage &image, const QDir &dir, const QString &fileName)
{
    const QString path = dir.filePath(fileName);
    if (!image.save(path, "PNG")) {
        std::fprintf(stderr, "bilder: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s  %dx%d\n", qPrintable(fileName), image.width(), image.height());
    return true;
}

bool saveIco(const QByteArray &data, const QDir &dir, const QString &fileName)
{
    QFile file(dir.filePath(fileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) {
        std::fprintf(stderr, "bilder: cannot write %s\n", qPrintable(file.fileName()));
        return false;
    }
    std::printf("%s  16x16 + 32x32\n", qPrintable(fileName));
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: bilder <output-folder>\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "bilder: cannot create %s\n", argv[1]);
        return 1;
    }

    try {
        bool ok = true;
        for (const bilder::Picture &pic : bilder::pictures()) {
            ok &= savePng(bilder::render(pic, 1), dir, pic.name + ".png");
            ok &= savePng(bilder::render(pic, 2), dir, pic.name + "@2x.png");
        }
        for (const int size : {48, 64, 128, 256})
            ok &= savePng(bilder::programIcon(size), dir, QString("programm%1.png").arg(size));

        const QList<QImage> icoImages = {bilder::render(bilder::picture("programm16"), 1),
                                         bilder::render(bilder::picture("programm32"), 1)};
        ok &= saveIco(bilder::icoFile(icoImages), dir, "programm.ico");
        return ok ? 0 : 1;
    } catch (const std::exception &e) {
        std::fprintf(stderr, "bilder: %s\n", e.what());
        return 1;
    }
}
