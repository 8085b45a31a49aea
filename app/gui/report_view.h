#pragma once
// A report view (the plain-text box on "Saídas" and on "Resultados") read and
// written as a list of lines: the text files are Windows-1252 with CR LF, the
// view holds UTF-8 with LF. A text that ends with a line break has no empty
// last line, so a file loaded and saved again comes back byte for byte, and an
// empty view has no lines at all.

#include <QStringList>
#include <string>

class QPlainTextEdit;

namespace kalvoro {

// Replaces the view's text by the file's; IoError when it cannot be read.
void loadReport(QPlainTextEdit& view, const std::string& file);
QStringList reportLines(const QPlainTextEdit& view);
// Every line followed by CR LF, written atomically; IoError on failure.
void saveReportLines(const QPlainTextEdit& view, const std::string& file);

}  // namespace kalvoro
