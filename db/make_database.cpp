// Creates a new database file: vardelo-db [--demo] [file]. The file defaults to "du2010.fdb" in the working
// folder. The file is made under a temporary name beside it and renamed when complete, so an interrupted run
// leaves nothing under the name.
#include "data/database_creator.h"
#include "data/database_error.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// The temporary file being made, removed if the run is interrupted.
char temporaryPath[4096] = {};

void removeTemporaryAndExit(int signal) {
    if (temporaryPath[0] != '\0')
        ::unlink(temporaryPath);
    ::_exit(128 + signal);
}

void rememberTemporary(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    if (encoded.size() < qsizetype(sizeof temporaryPath))
        std::memcpy(temporaryPath, encoded.constData(), size_t(encoded.size()) + 1);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const vardelo::CreatorArguments args = vardelo::parseCreatorArguments(app.arguments().mid(1));
    if (!args.error.isEmpty()) {
        std::fprintf(stderr, "%s\nHasználat: vardelo-db [--demo] [adatbázisfájl]\n", qPrintable(args.error));
        return 2;
    }
    if (args.help) {
        std::printf("Használat: vardelo-db [--demo] [adatbázisfájl]\n");
        return 0;
    }
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        std::signal(s, removeTemporaryAndExit);
    try {
        vardelo::createDatabaseFile(args.path, args.demo, rememberTemporary);
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "Az adatbázis nem hozható létre: %s\n", qPrintable(e.Message()));
        return 1;
    }
    std::printf("Elkészült: %s\n", qPrintable(args.path));
    return 0;
}
