// libgsf's headers come first: glib names members "signals", which Qt's keyword macros would replace.
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-output.h>
#include <gsf/gsf-utils.h>

#include "exchange/ole_file.h"

#include <QFile>
#include <mutex>

namespace vardelo::xls {

namespace {

// Releases a GObject reference when it goes out of scope.
template <class T> struct GRef {
    T* object = nullptr;
    explicit GRef(T* o) : object(o) {}
    ~GRef() {
        if (object)
            g_object_unref(object);
    }
    GRef(const GRef&) = delete;
    GRef& operator=(const GRef&) = delete;
};

QString outputError(GsfOutput* output, const char* fallback) {
    const GError* error = gsf_output_error(output);
    return QString::fromUtf8(error && error->message ? error->message : fallback);
}

} // namespace

void writeCompoundFile(const QString& path, const QString& streamName, const QByteArray& data) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { gsf_init(); });

    GError* error = nullptr;
    GRef<GsfOutput> sink(gsf_output_stdio_new(QFile::encodeName(path).constData(), &error));
    if (!sink.object) {
        const QString reason = QString::fromUtf8(error && error->message ? error->message : "cannot create");
        if (error)
            g_error_free(error);
        throw OleWriteError(QStringLiteral("%1: %2").arg(path, reason).toStdString());
    }
    GRef<GsfOutfile> document(gsf_outfile_msole_new(sink.object));
    GRef<GsfOutput> stream(gsf_outfile_new_child(document.object, streamName.toUtf8().constData(), FALSE));
    bool written = stream.object != nullptr;
    QString reason;
    if (written) {
        // In pieces: gsf_output_write takes a size_t, but keep each call modest.
        const char* bytes = data.constData();
        qsizetype left = data.size();
        while (written && left > 0) {
            const qsizetype piece = std::min<qsizetype>(left, 1 << 20);
            written = gsf_output_write(stream.object, size_t(piece), reinterpret_cast<const guint8*>(bytes));
            bytes += piece;
            left -= piece;
        }
        if (!written)
            reason = outputError(stream.object, "write failed");
        if (!gsf_output_close(stream.object) && written) {
            written = false;
            reason = outputError(stream.object, "close failed");
        }
    } else {
        reason = QStringLiteral("cannot create the stream");
    }
    const bool documentClosed = gsf_output_close(GSF_OUTPUT(document.object));
    if (written && !documentClosed) {
        written = false;
        reason = outputError(GSF_OUTPUT(document.object), "close failed");
    }
    const bool sinkClosed = gsf_output_is_closed(sink.object) || gsf_output_close(sink.object);
    if (written && !sinkClosed) {
        written = false;
        reason = outputError(sink.object, "close failed");
    }
    if (!written)
        throw OleWriteError(QStringLiteral("%1: %2").arg(path, reason).toStdString());
}

} // namespace vardelo::xls
