#pragma once
// A count field: a one-line edit with, for the counts the user sets, an
// up-down spinner attached to its right edge. The field only reports what the
// user does; the table model decides and the window writes the result back.

#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace kalvoro {

class CountField : public QWidget {
    Q_OBJECT
public:
    CountField(bool withSpinner, QWidget* parent);

    QLineEdit* edit() const { return edit_; }
    QToolButton* upButton() const { return up_; }      // null without a spinner
    QToolButton* downButton() const { return down_; }  // null without a spinner

    // The program's own write: no signal, the cursor stays where it was when
    // the text does not change.
    void showText(const QString& text);

signals:
    void edited(const QString& text);
    void stepped(int delta);

private:
    QLineEdit* edit_;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
};

}  // namespace kalvoro
