#pragma once
// The section-entry dialog: the span number and the abscissa (from the span's
// left node) of the section whose influence lines are computed. The fields
// hold plain text, converted only when the computation reads them, and keep
// what was typed from one use to the next (the dialog lives for the run).
// There is no cancel: however the dialog is closed, the computation goes on.

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

namespace kalvoro {

class TEntradaSecao : public QDialog {
    Q_OBJECT
public:
    explicit TEntradaSecao(QWidget* parent = nullptr);

    QString trecho() const;
    QString posicao() const;
    QLineEdit* TrechoEdit() const { return trecho_; }
    QLineEdit* PosEdit() const { return pos_; }
    QPushButton* Button1() const { return ok_; }

private:
    QLineEdit* trecho_;
    QLineEdit* pos_;
    QPushButton* ok_;
};

}  // namespace kalvoro
