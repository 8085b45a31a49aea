#include "app/gui/user_dialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "app/gui/application.h"

namespace kalvoro {

void QtUserDialogs::showMessage(const QString& text)
{
    // Some messages break their lines with a lone CR.
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(ApplicationTitle), shown, QMessageBox::Ok,
                    parent_);
    box.exec();
}

QString QtUserDialogs::askOpenFileName(const QString& filter)
{
    QFileDialog dialog(parent_);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

QString QtUserDialogs::askSaveFileName(const QString& title, const QString& filter,
                                       const QString& proposedName, const QString& defaultSuffix)
{
    QFileDialog dialog(parent_, title);
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
