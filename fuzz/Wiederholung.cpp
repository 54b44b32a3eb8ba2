// Runs a fuzz target over files instead of under the fuzzer: each file named, and each file
// in each folder named, once. The test suite replays the seed corpus and every input that
// once was a finding this way, with whatever compiler and sanitizers the build uses.
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t groesse);

int main(int argc, char* argv[])
{
    QStringList dateien;
    for (int i = 1; i < argc; ++i) {
        const QString pfad = QString::fromLocal8Bit(argv[i]);
        if (QFileInfo(pfad).isDir()) {
            const QDir ordner(pfad);
            for (const QString& name : ordner.entryList(QDir::Files, QDir::Name))
                dateien << ordner.filePath(name);
        } else {
            dateien << pfad;
        }
    }
    for (const QString& pfad : dateien) {
        QFile datei(pfad);
        if (!datei.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "cannot read %s\n", qPrintable(pfad));
            return 1;
        }
        const QByteArray bytes = datei.readAll();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    }
    std::printf("%lld inputs run\n", static_cast<long long>(dateien.size()));
    return dateien.isEmpty() ? 1 : 0;
}
