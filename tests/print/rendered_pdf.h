#pragma once
// A printed document rendered to a real PDF and read back with pdftotext (poppler-utils).
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "print/print_documents.h"

namespace quelna::printtest {

struct Rendered {
    int pages = 0;
    QByteArray pdf;
    QStringList pageTexts; // pdftotext -layout, one text per page
    QString all() const { return pageTexts.join(QLatin1Char('\n')); }
};

// Renders into memory, writes the file (kept in $QUELNA_PRINT_DIR when set, for pdftoppm) and
// reads its text back.
inline Rendered render(PrintDocument doc, const Tournament& t, const QString& title,
                       const QString& keepAs) {
    Rendered out;
    out.pages = renderPdf(doc, t, title, out.pdf);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("doc.pdf"));
    const QString keep = qEnvironmentVariable("QUELNA_PRINT_DIR");
    if (!keep.isEmpty())
        path = keep + QLatin1Char('/') + keepAs + QStringLiteral(".pdf");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(out.pdf);
    f.close();
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), QStringLiteral("-enc"),
                                             QStringLiteral("UTF-8"), path, QStringLiteral("-")});
    EXPECT_TRUE(text.waitForFinished(60000)) << "pdftotext (poppler-utils) is needed";
    out.pageTexts = QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!out.pageTexts.isEmpty() && out.pageTexts.constLast().trimmed().isEmpty())
        out.pageTexts.removeLast();
    return out;
}

} // namespace quelna::printtest
