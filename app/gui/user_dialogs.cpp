#include "app/gui/user_dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>

#include "app/gui/application.h"

namespace kalvoro {

QString fitMessage(const QString& text)
{
    // Some messages break their lines with a lone CR.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QStringList lines = shown.split(QLatin1Char('\n'));
    const bool tooMany = lines.size() > MessageLines;
    if (tooMany) lines.resize(MessageLines);
    static const QRegularExpression longWord(QStringLiteral("\\S{%1,}").arg(MessageWord + 1));
    for (QString& line : lines) {
        if (line.size() > MessageLineLength) line = line.left(MessageLineLength) + QStringLiteral("…");
        for (auto m = longWord.match(line); m.hasMatch();
             m = longWord.match(line, m.capturedStart() + MessageWord + 1))
            line.replace(m.capturedStart(), m.capturedLength(),
                         m.captured().left(MessageWord) + QStringLiteral("…"));
    }
    if (tooMany) lines << QStringLiteral("…");
    return lines.join(QLatin1Char('\n'));
}

void setUpMessageBox(QMessageBox& box, const QString& text)
{
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(QString::fromUtf8(ApplicationTitle));
    box.setText(fitMessage(text));
    box.setStandardButtons(QMessageBox::Ok);
}

void setUpOpenDialog(QFileDialog& dialog, const QString& filter)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
}

void QtUserDialogs::showMessage(const QString& text)
{
    QMessageBox box(parent_);
    setUpMessageBox(box, text);
    box.exec();
}

QString QtUserDialogs::askOpenFileName(const QString& filter)
{
    QFileDialog dialog(parent_);
    setUpOpenDialog(dialog, filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::askSaveFileName(const QString& title, const QString& filter,
                                       const QString& proposedName, const QString& defaultSuffix)
{
    QFileDialog dialog(parent_, title);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!filter.isEmpty()) dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    if (!proposedName.isEmpty()) dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

void QtUserDialogs::askSection(QDialog& sectionDialog)
{
    sectionDialog.exec();
}

void UserDialogs::runDialog(QDialog& dialog)
{
    dialog.exec();
}

}  // namespace kalvoro
