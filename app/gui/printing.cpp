#include "app/gui/printing.h"

#include <sys/stat.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPageSize>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTemporaryFile>

#include <filesystem>
#include <system_error>

#include "app/gui/qt_canvas.h"
#include "app/gui/report_view.h"
#include "app/gui/user_dialogs.h"
#include "data/file_names.h"
#include "diagrams/wmf.h"
#include "engine/errors.h"

namespace kalvoro {

namespace {

bool& pdfForced()
{
    static bool forced = false;
    return forced;
}

// Page set-up shared by paper and PDF: A4, no margins, so that printer pixel
// (0, 0) is the page's top-left corner.
void setUpPage(QPrinter& printer)
{
    printer.setResolution(PrintResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("Kalvoro"));
}

void paintOn(QPrinter& printer, const PrintPage& page)
{
    QPainter painter;
    if (!painter.begin(&printer)) throw IoError("the printer did not start the page");
    paintPrintPage(painter, page);
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw IoError("the printer did not finish the page");
}

// A temporary file is private (0600); the PDF that takes its place is a file
// like any other output: the mode of the file it replaces, or 0666 less the
// umask (0644 under the usual 022).
void givePlainFileMode(const QString& partial, const QString& target)
{
    struct stat existing;
    mode_t mode;
    if (::stat(QFile::encodeName(target).constData(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::chmod(QFile::encodeName(partial).constData(), mode) != 0)
        throw IoError("cannot set the mode of " + partial.toStdString());
}

QString writePdf(const PrintPage& page, const QString& pdfFile)
{
    const QFileInfo target(pdfFile);
    // Printed beside the final name and renamed over it, so that a failure
    // never leaves half a PDF under that name.
    QTemporaryFile partial(target.absoluteDir().filePath(QStringLiteral(".kalvoro-XXXXXX.pdf")));
    if (!partial.open()) throw IoError("cannot create " + pdfFile.toStdString());
    partial.close();

    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(partial.fileName());
    setUpPage(printer);
    paintOn(printer, page);
    givePlainFileMode(partial.fileName(), target.absoluteFilePath());

    std::error_code ec;
    std::filesystem::rename(partial.fileName().toStdString(), target.absoluteFilePath().toStdString(), ec);
    if (ec) throw IoError("cannot write " + pdfFile.toStdString() + ": " + ec.message());
    return target.absoluteFilePath();
}

}  // namespace

long long reportLineTop(long long n, long long i, int h)
{
    return 1200 + 3 * (n - 1) - 3LL * h * i;
}

int negativeFontHeight(const QFont& font)
{
    const int px = font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
    return -px;
}

void paintPrintPage(QPainter& painter, const PrintPage& page)
{
    for (const PrintedPicture& picture : page.pictures) {
        if (picture.page.width <= 0 || picture.page.height <= 0) continue;
        painter.save();
        painter.translate(picture.rect.topLeft());
        painter.scale(static_cast<double>(picture.rect.width()) / picture.page.width,
                      static_cast<double>(picture.rect.height()) / picture.page.height);
        painter.setClipRect(QRect(0, 0, picture.page.width, picture.page.height));
        QtCanvas canvas(painter);
        replay(picture.page, canvas);
        painter.restore();
    }

    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSize(PrinterFontPoints);
    painter.setFont(courier);
    painter.setPen(Qt::black);
    // Positions name the top of a line; the text's base line lies an ascent lower.
    const QFontMetrics metrics(courier, painter.device());
    const long long n = page.lines.size();
    const long long bottom = painter.device() ? painter.device()->height() : 0;
    for (long long i = 0; i < n; ++i) {
        const long long top = reportLineTop(n, i, page.h);
        if (top > bottom) break;
        painter.drawText(QPointF(100, static_cast<double>(top + metrics.ascent())),
                         page.lines.at(static_cast<qsizetype>(i)));
    }
}

QString printPage(const PrintPage& page, const QString& pdfFile)
{
    const QPrinterInfo printerInfo = QPrinterInfo::defaultPrinter();
    if (pdfForced() || printerInfo.isNull()) return writePdf(page, pdfFile);
    QPrinter printer(printerInfo, QPrinter::HighResolution);
    setUpPage(printer);
    paintOn(printer, page);
    return {};
}

void setPdfPrintingForced(bool forced)
{
    pdfForced() = forced;
}

void printDiagramsAndReport(const std::string& dataFile, std::initializer_list<PrintedMetafile> metafiles,
                            const QPlainTextEdit& report, const char* pdfSuffix, UserDialogs& dialogs,
                            const std::function<void(const QString&)>& notice)
{
    if (dataFile.empty()) return;
    QString pdf;
    try {
        PrintPage page;
        for (const PrintedMetafile& m : metafiles)
            page.pictures.push_back({readWmfFile(derivedName(dataFile, m.suffix)), m.rect});
        page.lines = reportLines(report);
        page.h = negativeFontHeight(report.font());
        pdf = printPage(page, QString::fromStdString(derivedName(dataFile, pdfSuffix)));
    } catch (const std::exception&) {
        dialogs.showMessage(QString::fromUtf8(DrawingsNotCreated));
        return;
    }
    if (!pdf.isEmpty() && notice) notice(QStringLiteral("Impresso em PDF: ") + pdf);
}

}  // namespace kalvoro
