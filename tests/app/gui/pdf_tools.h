#pragma once
// The printed PDF seen through an independent reader, poppler-utils: its page
// count (pdfinfo), its text (pdftotext) and its page as pixels (pdftoppm).
// A missing tool is a failure that names the package to install.

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <algorithm>

namespace kalvoro::pdf {

// Runs a poppler tool; on failure returns false with the reason in error.
inline bool run(const QString& tool, const QStringList& args, QString& out, QString& error)
{
    if (QStandardPaths::findExecutable(tool).isEmpty()) {
        error = tool + QStringLiteral(" not found: these tests need poppler-utils installed");
        return false;
    }
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
        error = tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(p.readAllStandardError());
        return false;
    }
    out = QString::fromUtf8(p.readAllStandardOutput());
    return true;
}

// "Pages:" of pdfinfo, or -1 with error set.
inline int pageCount(const QString& file, QString& error)
{
    QString out;
    if (!run(QStringLiteral("pdfinfo"), {file}, out, error)) return -1;
    const auto m =
        QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
            .match(out);
    if (!m.hasMatch()) {
        error = QStringLiteral("pdfinfo gave no page count");
        return -1;
    }
    return m.captured(1).toInt();
}

// The text with its layout kept, one string per line, blank lines dropped.
inline QStringList textLines(const QString& file, QString& error)
{
    QString out;
    if (!run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")}, out, error))
        return {};
    QStringList lines;
    for (const QString& l : out.split(QLatin1Char('\n')))
        if (!l.trimmed().isEmpty()) lines << l;
    return lines;
}

// The top edges (in points) of the text lines, from top to bottom: the word
// boxes' tops, those within a point of each other taken as one line.
inline QList<double> lineTops(const QString& file, QString& error)
{
    QString out;
    if (!run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), file, QStringLiteral("-")}, out, error))
        return {};
    QList<double> ys;
    const QRegularExpression word(QStringLiteral("<word xMin=\"[^\"]+\" yMin=\"([^\"]+)\""));
    for (auto it = word.globalMatch(out); it.hasNext();) ys << it.next().captured(1).toDouble();
    std::sort(ys.begin(), ys.end());
    QList<double> tops;
    for (double y : ys)
        if (tops.isEmpty() || y > tops.last() + 1.0) tops << y;
    return tops;
}

// The first page rendered at dpi pixels per inch.
inline QImage render(const QString& file, int dpi, QString& error)
{
    QTemporaryDir dir;
    const QString prefix = QDir(dir.path()).filePath(QStringLiteral("page"));
    QString out;
    if (!run(QStringLiteral("pdftoppm"),
             {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
              QStringLiteral("-singlefile"), file, prefix},
             out, error))
        return {};
    QImage img(prefix + QStringLiteral(".png"));
    if (img.isNull()) error = QStringLiteral("pdftoppm wrote no picture");
    return img.convertToFormat(QImage::Format_RGB32);
}

}  // namespace kalvoro::pdf
