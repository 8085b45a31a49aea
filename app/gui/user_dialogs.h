#pragma once
// What the commands ask of the user: messages, the open and save dialogs and
// the section of the influence lines. The windows talk to the user only
// through this, so the window tests can put in file names and sections and
// record the messages instead of showing dialogs.

#include <QString>

class QDialog;
class QWidget;

namespace kalvoro {

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A message box with the application's title and an OK button.
    virtual void showMessage(const QString& text) = 0;
    // The chosen file's full name, or empty when the dialog was cancelled.
    virtual QString askOpenFileName(const QString& filter) = 0;
    // A name typed without extension gets defaultSuffix; empty when cancelled.
    // An existing file is replaced without a question. An empty title or
    // filter leaves the dialog's own.
    virtual QString askSaveFileName(const QString& title, const QString& filter, const QString& proposedName,
                                    const QString& defaultSuffix) = 0;
    // Shows the section-entry dialog modally and returns however it was
    // closed; the caller reads the texts its fields then hold.
    virtual void askSection(QDialog& sectionDialog) = 0;
    // Shows another modal dialog of the program (the load train's) and
    // returns however it was closed.
    virtual void runDialog(QDialog& dialog);
};

// Message boxes and file dialogs of the toolkit, over a parent window.
class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* parent) : parent_(parent) {}
    void showMessage(const QString& text) override;
    QString askOpenFileName(const QString& filter) override;
    QString askSaveFileName(const QString& title, const QString& filter, const QString& proposedName,
                            const QString& defaultSuffix) override;
    void askSection(QDialog& sectionDialog) override;

private:
    QWidget* parent_;
};

}  // namespace kalvoro
