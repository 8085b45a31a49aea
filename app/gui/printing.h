#pragma once
// The printed page of both windows: diagrams read back from their metafiles on
// disk, each stretched into a fixed rectangle, and the lines of a report view
// in "Courier New", all placed in printer pixels from the page's top-left
// corner. The diagrams are painted by replaying their recordings through the
// same QtCanvas that shows them on screen: there is no second drawing routine.
//
// The page is printed at a fixed 300 pixels per inch on A4, on the system's
// default printer without a dialog. Where the system has no printer the same
// page is written as a PDF beside the data file, and the program says where.
//
// Report line i (from 0) of n has its top at y = 1200 + 3(n - 1) - 3 h i,
// where h is the view's font height in the negative, pixel-height form (-12
// for the 12-pixel report of the main window, so 36 pixels a line).

#include <QRect>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "diagrams/recording.h"

class QFont;
class QPainter;
class QPlainTextEdit;

namespace kalvoro {

class UserDialogs;

// Rectangles of the diagrams on the page, in printer pixels: (400, 80) to
// (2100, 680) and (400, 680) to (2100, 1280), right and bottom excluded.
inline constexpr QRect UpperDiagramRect{400, 80, 1700, 600};
inline constexpr QRect LowerDiagramRect{400, 680, 1700, 600};
inline constexpr int PrintResolution = 300;
// The printer's own default font size; only the face is set to "Courier New".
inline constexpr int PrinterFontPoints = 8;
inline constexpr const char* DrawingsNotCreated = "Arquivos de desenhos não criados";

struct PrintedPicture {
    Recording page;
    QRect rect;
};

struct PrintPage {
    std::vector<PrintedPicture> pictures;
    QStringList lines;
    int h = -12;
};

// Top of report line i of n lines, in printer pixels.
long long reportLineTop(long long n, long long i, int h);

// A font's height as the report's h: the negative of its pixel height.
int negativeFontHeight(const QFont& font);

// Paints the page with its origin at the painter's (0, 0). Lines that would
// start below the device's height are left out, as paper would lose them.
void paintPrintPage(QPainter& painter, const PrintPage& page);

// Prints the page on the default printer and returns an empty name; without a
// printer (or with PDF output forced) writes pdfFile atomically and returns its
// absolute name. Throws IoError when the page cannot be printed or written.
QString printPage(const PrintPage& page, const QString& pdfFile);

// For the tests: write the PDF even where the system has a printer.
void setPdfPrintingForced(bool forced);

// A diagram of the page: the metafile named by a suffix of the data file.
struct PrintedMetafile {
    const char* suffix;
    QRect rect;
};

// The print command of both windows: nothing for an unnamed beam; otherwise
// the metafiles from disk and the report view's lines on one page. Any failure
// (above all a missing metafile) shows DrawingsNotCreated; a PDF written in
// place of paper is reported through notice.
void printDiagramsAndReport(const std::string& dataFile, std::initializer_list<PrintedMetafile> metafiles,
                            const QPlainTextEdit& report, const char* pdfSuffix, UserDialogs& dialogs,
                            const std::function<void(const QString&)>& notice);

}  // namespace kalvoro
