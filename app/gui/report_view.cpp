#include "app/gui/report_view.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "data/text_file.h"

namespace kalvoro {

void loadReport(QPlainTextEdit& view, const std::string& file)
{
    QString text = QString::fromStdString(cp1252ToUtf8(readFileBytes(file)));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    view.setPlainText(text);
    view.moveCursor(QTextCursor::Start);
}

QStringList reportLines(const QPlainTextEdit& view)
{
    const QString text = view.toPlainText();
    if (text.isEmpty()) return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) lines.removeLast();
    return lines;
}

void saveReportLines(const QPlainTextEdit& view, const std::string& file)
{
    QString text;
    for (const QString& line : reportLines(view)) text += line + QStringLiteral("\r\n");
    writeTextFile(file, text.toStdString());
}

}  // namespace kalvoro
