#pragma once
// What the commands ask of the user: messages, the open and save dialogs and
// the section of the influence lines. The windows talk to the user only
// through this, so the window tests can put in file names and sections and
// record the messages instead of showing dialogs.

#include <QString>

class QDialog;
class QFileDialog;
class QMessageBox;
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

// The toolkit's message box and open dialog as the commands show them, set up
// but not yet shown (the screenshots show them without waiting for the user).
// The file dialogs are always the toolkit's own, in Portuguese like the rest
// of the program, never a desktop's dialog in the system's language.
void setUpMessageBox(QMessageBox& box, const QString& text);
void setUpOpenDialog(QFileDialog& dialog, const QString& filter);

// A message as a box can show it: line ends made "\n", at most MessageLines
// lines of at most MessageLineLength characters, and no word longer than
// MessageWord characters (a box cannot wrap inside a word); each cut is
// marked with "…". A box laying out a megabyte-long line freezes the window
// and grows past the screen.
inline constexpr int MessageLineLength = 1000;
inline constexpr int MessageLines = 30;
inline constexpr int MessageWord = 80;
QString fitMessage(const QString& text);

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
