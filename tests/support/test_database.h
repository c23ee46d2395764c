#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class TData;

namespace vardelo::testing {

// A test's own database: "du2010.fdb" in a new temporary folder, which becomes the working folder;
// VARDELO_DRIVE_C points at a "c" folder inside it. The file is a copy of a template that is created once for
// each test process (one empty, one with the demo data), so a test costs a file copy, not a new database. The
// run state is reset (resetRunState), then the data module Data is created with its report objects and
// connected. Everything is removed again at the end of the test.
class TestDatabase {
public:
    explicit TestDatabase(bool demo = false);
    ~TestDatabase();

    QString folder() const { return dir_.path(); }
    QString databasePath() const;
    // Runs a statement on Data's transaction and commits it (for fixtures).
    void exec(const QString& sql);
    // Ends Data's attachment from another one, as a server restart or an administrator would: every later
    // call of Data's connection fails.
    void cutConnection();
    // Runs a statement as another desk would: on a connection of its own, committed at once.
    void execAsAnotherDesk(const QString& sql);

private:
    QTemporaryDir dir_;
    QString previousFolder_;
};

// The template database of this process, created when first asked for; a fresh copy of it is a new database.
QString templateDatabase(bool demo);

} // namespace vardelo::testing
