#pragma once
// The about box: product, version and credits, closed by its default OK button.

#include <QDialog>

class QPushButton;

namespace kalvoro {

class AboutBox : public QDialog {
    Q_OBJECT
public:
    explicit AboutBox(QWidget* parent);
    QPushButton* okButton() const { return ok_; }

private:
    QPushButton* ok_;
};

}  // namespace kalvoro
