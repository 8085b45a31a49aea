#include "app/gui/section_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kalvoro {

namespace {

// The dialog's size on screen; its contents are centred in it.
constexpr int DialogWidth = 302;
constexpr int DialogHeight = 196;

}  // namespace

TEntradaSecao::TEntradaSecao(QWidget* parent)
    : QDialog(parent),
      trecho_(new QLineEdit(QStringLiteral("1"), this)),
      pos_(new QLineEdit(QStringLiteral("1"), this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this))
{
    setObjectName(QStringLiteral("EntradaSecao"));
    setWindowTitle(QStringLiteral("Entrada da Seção"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    trecho_->setObjectName(QStringLiteral("TrechoEdit"));
    pos_->setObjectName(QStringLiteral("PosEdit"));
    ok_->setObjectName(QStringLiteral("Button1"));
    for (QLineEdit* e : {trecho_, pos_}) e->setFixedWidth(90);

    auto* prompt = new QLabel(QStringLiteral("Entre com a seção a ser estudada"), this);
    QFont bigger = prompt->font();
    bigger.setBold(true);
    prompt->setFont(bigger);

    auto* fields = new QGridLayout;
    fields->setHorizontalSpacing(8);
    fields->setVerticalSpacing(10);
    fields->addWidget(new QLabel(QStringLiteral("Trecho:"), this), 0, 0, Qt::AlignRight);
    fields->addWidget(trecho_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Posição:"), this), 1, 0, Qt::AlignRight);
    fields->addWidget(pos_, 1, 1);

    ok_->setDefault(true);
    ok_->setFixedWidth(75);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* centred = new QHBoxLayout;
    centred->addStretch();
    centred->addLayout(fields);
    centred->addStretch();

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(16, 16, 16, 16);
    column->addWidget(prompt, 0, Qt::AlignHCenter);
    column->addSpacing(14);
    column->addLayout(centred);
    column->addStretch();
    column->addWidget(ok_, 0, Qt::AlignHCenter);

    setFixedSize(DialogWidth, DialogHeight);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

QString TEntradaSecao::trecho() const
{
    return trecho_->text();
}

QString TEntradaSecao::posicao() const
{
    return pos_->text();
}

}  // namespace kalvoro
