// The program's few settings: which database to open, where a user-folder start works, and how backups are
// kept. They come from the environment and from a small "vardelo.ini" (Windows-style INI, UTF-8), looked for
// in the working folder first and then beside the program; the first file found is the only one read.
//
//   [Adatbazis]
//   Nev=server/3051:/data/du2010.fdb      ; any name Firebird accepts, or a file in the working folder
//   Felhasznalo=KATI                      ; the server's user; default: the program's own
//   Jelszo=...                            ; that user's password
//   [Mappa]
//   Munkamappa=/home/kati/Vardelo          ; the folder a --user-folder start works in
//   [Mentes]
//   Mappa=/mnt/mentes                     ; backups; default: "Mentés" beside the database
//   Megtartott=10                          ; automatic backups kept
//   [Merleg]                              ; the weighing indicator; without the section there is no scale
//   Port=/dev/ttyUSB0                     ; the serial port (COM1 on Windows)
//   Sebesseg=9600                         ; baud rate
//   Adatbit=8                             ; 5 to 8
//   Paritas=N                             ; N, E or O
//   Stopbit=1                             ; 1 or 2
//   Formatum=vesszo                       ; the indicator's output: vesszo, toledo or szam
//
// The environment variable VARDELO_DATABASE overrides [Adatbazis] Nev.
#pragma once

#include <QString>
#include <optional>

namespace vardelo {

inline const QString SettingsFileName = QStringLiteral("vardelo.ini");
inline const QString DefaultDatabaseName = QStringLiteral("du2010.fdb");
inline constexpr int DefaultBackupsKept = 10;

// The output formats of weighing indicators the program reads.
enum class ScaleFormat {
    Comma,  // "vesszo": ST,GS,+0001234.5kg
    Toledo, // "toledo": STX, three status bytes, weight, tare, CR, optional checksum
    Plain,  // "szam": a line holding one number, an optional unit after it
};

// The serial line of the weighing indicator. An empty port means the section names none.
struct ScaleSettings {
    QString port;
    int baudRate = 9600;
    int dataBits = 8;
    char parity = 'N'; // 'N', 'E' or 'O'
    int stopBits = 1;
    ScaleFormat format = ScaleFormat::Comma;
};

struct AppSettings {
    QString databaseName = DefaultDatabaseName;
    QString userFolder;   // empty: the platform's application-data folder
    QString backupFolder; // empty: "Mentés" beside the database
    int backupsKept = DefaultBackupsKept;
    QString settingsFile; // the file that was read; empty when none was found

    QString databaseUser;     // empty: the connection's own user
    QString databasePassword; // empty: the connection's own password

    std::optional<ScaleSettings> scale; // only when the file has a [Merleg] section
};

// Reads the settings: `workingFolder`'s vardelo.ini, else `programFolder`'s, else the defaults; then the
// environment. A value that cannot be read (a negative count, a blank name) keeps its default. A file with a
// password that others can read is logged as a warning, once for each file.
AppSettings loadAppSettings(const QString& workingFolder, const QString& programFolder);

// The same for the running program: the current folder and the executable's folder.
AppSettings loadAppSettings();

} // namespace vardelo
