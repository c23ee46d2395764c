// Creates a new database file: vardelo-db [--demo] [file]. The file defaults to "du2010.fdb" in the working
// folder.
#include "data/database_creator.h"
#include "data/database_error.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    bool demo = false;
    QString path = QStringLiteral("du2010.fdb");
    for (const QString& arg : app.arguments().mid(1)) {
        if (arg == QLatin1String("--demo"))
            demo = true;
        else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::printf("Használat: vardelo-db [--demo] [adatbázisfájl]\n");
            return 0;
        } else
            path = arg;
    }
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "Az adatbázis már létezik: %s\n", qPrintable(path));
        return 1;
    }
    try {
        vardelo::createDatabase(QFileInfo(path).absoluteFilePath(), demo);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "Az adatbázis nem hozható létre: %s\n", qPrintable(e.Message()));
        return 1;
    }
    std::printf("Elkészült: %s\n", qPrintable(path));
    return 0;
}
