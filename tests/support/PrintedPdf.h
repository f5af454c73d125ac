#pragma once
// What went to the shared printer, read back from the PDF file it prints to:
// whether a job came out, its pages and its words.

#include "print/SharedPrinter.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QString>

class PrintedPdf {
public:
    // Points the shared printer at `path`; nothing is printed there yet.
    explicit PrintedPdf(QString path) : m_path(std::move(path))
    {
        QPrinter &printer = SharedPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(m_path);
        forget();
    }

    bool printed() const { return QFile::exists(m_path); }
    // Pages of the document (pdfinfo; 0 when it cannot be read).
    int pages() const
    {
        const auto m = QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(run(QStringLiteral("pdfinfo"), {m_path}));
        return m.hasMatch() ? m.captured(1).toInt() : 0;
    }
    // Its text (pdftotext).
    QString text() const { return run(QStringLiteral("pdftotext"), {m_path, QStringLiteral("-")}); }
    // Removes the document, so that the next job is told apart.
    void forget() const { QFile::remove(m_path); }

private:
    static QString run(const QString &tool, const QStringList &args)
    {
        QProcess p;
        p.start(tool, args);
        p.waitForFinished(30000);
        return QString::fromUtf8(p.readAllStandardOutput());
    }

    QString m_path;
};
