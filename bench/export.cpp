// Times the spreadsheet export of 100,000 ticket lines: the window's "Kigyüjtés" and "Exportálás " (collect,
// build the workbook with the progress bar, save FJFEJ.xls), side by side with its floors: fetching the same
// selection through the data module (every row, every column), isql-fb running the same statement, and
// writing the same number of bytes to a plain file. Usage: bench_export [FILE]  (default /work/big.fdb; when
// missing, it is made there by bench_generate with its full set)
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/shared_values.h"
#include "exchange/spreadsheet_export.h"
#include "exchange/spreadsheet_queries.h"
#include "exchange/spreadsheet_window.h"
#include "support/children.h"
#include "support/ui_recorder.h"
#include "widgets/ui_service.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDateEdit>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// Makes the database beside its final name and moves it there when complete, so a half-made file is never
// taken for the real one.
bool generate(const QString& path) {
    const QString partial = path + QStringLiteral(".part%1").arg(QCoreApplication::applicationPid());
    std::printf("%s is missing: generating it (bench_generate, full set)\n", qPrintable(path));
    std::fflush(stdout);
    QProcess generator;
    generator.setProcessChannelMode(QProcess::ForwardedChannels);
    generator.start(QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("bench_generate")),
                    {partial});
    if (!generator.waitForFinished(-1) || generator.exitCode() != 0)
        return false;
    if (QFileInfo::exists(path)) { // made meanwhile by someone else
        QFile::remove(partial);
        return true;
    }
    return QFile::rename(partial, path);
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString path =
        QFileInfo(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/work/big.fdb"))
            .absoluteFilePath();
    if (!QFileInfo::exists(path) && !generate(path)) {
        std::fprintf(stderr, "error: cannot generate %s\n", qPrintable(path));
        return 1;
    }
    const int wanted = 100000;
    const int runs = 3;
    try {
        Data = new TData;
        Data->ZCon1->DatabaseName = path;
        Data->ZCon1->Connect();
        for (int i = 1; i <= 6; ++i)
            Data->Table(i)->Open();
        AktAkod = QStringLiteral("1");

        // The payment-date range from the first ticket of purchaser "1" to the day of its 100,000th line.
        Data->ZQ21->SQL.Clear();
        Data->ZQ21->SQL.Add(QStringLiteral("SELECT MIN(f_fizkelt) AS d FROM fjfej WHERE f_akod = :p1"));
        Data->ZQ21->ParamByName(QStringLiteral("p1")).SetAsString(AktAkod);
        Data->ZQ21->Open();
        const QDate from = Data->ZQ21->FieldByName(QStringLiteral("D")).AsDate();
        Data->ZQ21->Close();
        Data->ZQ21->SQL.Clear();
        Data->ZQ21->SQL.Add(QStringLiteral("SELECT f_fizkelt AS d FROM fjsor JOIN fjfej ON s_bszam = f_bszam "
                                           "WHERE f_akod = :p1 ORDER BY f_fizkelt ROWS %1 TO %1")
                                .arg(wanted));
        Data->ZQ21->ParamByName(QStringLiteral("p1")).SetAsString(AktAkod);
        Data->ZQ21->Open();
        QDate to = Data->ZQ21->FieldByName(QStringLiteral("D")).AsDate();
        if (!to.isValid())
            to = QDate(9999, 12, 31);
        Data->ZQ21->Close();

        // Floor 2: isql-fb on the same statement, its output thrown away. The embedded engine lets one
        // process at a time open the file, so the data module lets go of it meanwhile.
        const QString isqlScript =
            QStringLiteral(
                "SET HEADING OFF;\nSELECT f_fizkelt, f_felvkelt, f_kelt, f_ostermkod, o_nev,  s_Bszam, "
                "s_megnevezes, s_netto, s_megy, s_ear, s_kompmerteke, f_szja, o_Adoazon, o_Adoszam,  "
                "o_TAJ, o_Igszam, o_Regszam, o_Csgazd, o_Helysegnev, o_Utca, o_Bankszla FROM fjsor "
                "JOIN fjfej     ON s_bszam     = f_bszam LEFT JOIN ostermelo ON f_ostermkod = o_kod "
                "WHERE (f_fizkelt >= '%1' AND f_fizkelt <= '%2') AND (f_akod = '1') ORDER BY s_Bszam;\n")
                .arg(from.toString(Qt::ISODate), to.toString(Qt::ISODate));
        Data->ZCon1->Disconnect();
        int isqlRows = 0;
        const double isql = medianMs(runs, [&] {
            QProcess p;
            p.start(QStringLiteral("isql-fb"),
                    {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("WIN1250"),
                     QStringLiteral("-u"), QStringLiteral("SYSDBA"), QStringLiteral("-p"),
                     QStringLiteral("quillfern"), path});
            p.write(isqlScript.toUtf8());
            p.closeWriteChannel();
            p.waitForFinished(-1);
            isqlRows = int(p.readAllStandardOutput().count('\n'));
        });
        Data->ZCon1->Connect();

        // Floor 1: the same selection fetched through the data module, every value of every row read.
        int lines = 0;
        const double fetch = medianMs(runs, [&] {
            vardelo::exchange::openExportLines(from, to, false);
            TDataSet& q = *Data->ZQ20;
            lines = 0;
            double sink = 0;
            for (q.First(); !q.Eof(); q.Next()) {
                for (int i = 0; i < q.FieldCount(); ++i)
                    sink += double(q.Fields(i).Value().isNull());
                ++lines;
            }
            (void)sink;
            q.Close();
        });

        // The export as the clerk runs it: the window, its grid and progress bar, the file saved.
        QTemporaryDir dir;
        vardelo::UiRecorder recorder;
        qint64 fileSize = 0;
        const double exportMs = medianMs(runs, [&] {
            TForm20 form;
            form.SaveFolder = dir.path();
            vardelo::testing::child<QCheckBox>(form, "CheckBox1")->setChecked(false);
            vardelo::testing::child<QDateEdit>(form, "DateTimePicker1")->setDate(from);
            vardelo::testing::child<QDateEdit>(form, "DateTimePicker2")->setDate(to);
            form.show();
            QFile::remove(form.WorkbookPath());
            form.Button1Click();
            form.Button4Click();
            fileSize = QFileInfo(form.WorkbookPath()).size();
        });
        if (recorder.messageTexts().filter(QStringLiteral("nem történt meg")).size() > 0) {
            std::fprintf(stderr, "error: the workbook was not saved\n");
            return 1;
        }

        // The parts: building the stream from an open result, and saving it; the floor of the save is a plain
        // write of as many bytes.
        QByteArray stream;
        vardelo::exchange::openExportLines(from, to, false);
        Data->ZQ20->RecordCount();
        const double build = medianMs(runs, [&] { stream = vardelo::exchange::buildWorkbook(*Data->ZQ20); });
        const QString savePath = QDir(dir.path()).filePath(QStringLiteral("part.xls"));
        const double save = medianMs(runs, [&] { vardelo::exchange::saveWorkbook(savePath, stream); });
        const QString rawPath = QDir(dir.path()).filePath(QStringLiteral("raw.bin"));
        const double rawWrite = medianMs(runs, [&] {
            QFile f(rawPath);
            f.open(QIODevice::WriteOnly);
            f.write(stream);
            f.close();
        });

        std::printf("isql-fb printed %d lines\n", isqlRows);
        std::printf("lines exported: %d (purchaser 1, payment dates %s to %s) from %s\n", lines,
                    qPrintable(from.toString(Qt::ISODate)), qPrintable(to.toString(Qt::ISODate)),
                    qPrintable(QFileInfo(path).fileName()));
        std::printf("workbook FJFEJ.xls: %.1f MB, %d sheet(s)\n", double(fileSize) / 1e6,
                    (lines + vardelo::exchange::LinesPerSheet - 1) / vardelo::exchange::LinesPerSheet);
        // The stream's bytes, to compare between builds of the writer.
        std::printf("workbook stream: %lld bytes, SHA-256 %s\n", qlonglong(stream.size()),
                    QCryptographicHash::hash(stream, QCryptographicHash::Sha256).toHex().constData());
        std::printf("median of %d runs                              ms    ratio\n", runs);
        std::printf("  fetch of the selection (floor)           %8.1f    1.00\n", fetch);
        std::printf("  isql-fb, same statement, whole process    %8.1f    %.2f\n", isql, isql / fetch);
        std::printf("  export in the window (collect+build+save) %8.1f    %.2f   (target <= 1.50)\n",
                    exportMs, exportMs / fetch);
        std::printf("  of it: building the workbook stream        %8.1f\n", build);
        std::printf("  of it: saving through libgsf               %8.1f    %.2f x the raw write of %8.1f\n",
                    save, save / rawWrite, rawWrite);
        Data->ZCon1->Disconnect();
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "error: %s\n", e.what());
        return 1;
    }
    return 0;
}
