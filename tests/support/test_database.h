#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

class TData;

namespace vardelo::testing {

// A test's own database: a new "du2010.fdb" in a new temporary folder, which becomes the working folder;
// VARDELO_DRIVE_C points at a "c" folder inside it. The data module Data is created and connected, and the
// shared values are reset. Everything is removed again at the end of the test.
class TestDatabase {
public:
    explicit TestDatabase(bool demo = false);
    ~TestDatabase();

    QString folder() const { return dir_.path(); }
    QString databasePath() const;
    // Runs a statement on Data's transaction and commits it (for fixtures).
    void exec(const QString& sql);

private:
    QTemporaryDir dir_;
    QString previousFolder_;
};

} // namespace vardelo::testing
