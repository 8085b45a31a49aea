#include "app/gui/about_box.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/gui/icons.h"

namespace kalvoro {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent), ok_(new QPushButton(QStringLiteral("OK"), this))
{
    setWindowTitle(QStringLiteral("Sobre"));
    setModal(true);
    setObjectName(QStringLiteral("AboutBox"));

    auto* panel = new QFrame(this);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);

    auto* picture = new QLabel(panel);
    picture->setObjectName(QStringLiteral("ProgramIcon"));
    picture->setPixmap(beamPicture(64));
    picture->setFixedSize(68, 68);
    picture->setAlignment(Qt::AlignCenter);

    auto* product = new QLabel(QStringLiteral("Kalvoro (vigas)"), panel);
    product->setObjectName(QStringLiteral("ProductName"));
    QFont big = product->font();
    big.setPixelSize(16);
    big.setBold(true);
    product->setFont(big);

    auto* version = new QLabel(QStringLiteral("Versão Beta teste 020407"), panel);
    version->setObjectName(QStringLiteral("Version"));
    version->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));

    auto* date = new QLabel(QStringLiteral("Abril de 2002"), panel);
    date->setObjectName(QStringLiteral("Copyright"));

    auto* credit1 =
        new QLabel(QStringLiteral("Análise de vigas contínuas pelo método dos deslocamentos"), panel);
    auto* credit2 = new QLabel(QStringLiteral("Um programa para o estudo das estruturas"), panel);
    credit1->setObjectName(QStringLiteral("Comments1"));
    credit2->setObjectName(QStringLiteral("Comments2"));

    auto* grid = new QGridLayout(panel);
    grid->addWidget(picture, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(product, 0, 1);
    grid->addWidget(version, 1, 1);
    grid->addWidget(date, 2, 1);
    grid->addWidget(credit1, 3, 0, 1, 2);
    grid->addWidget(credit2, 4, 0, 1, 2);
    grid->setColumnStretch(1, 1);

    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();

    auto* outer = new QVBoxLayout(this);
    outer->addWidget(panel);
    outer->addLayout(buttons);
    setFixedSize(sizeHint());
}

}  // namespace kalvoro
