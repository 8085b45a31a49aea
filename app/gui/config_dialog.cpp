#include "app/gui/config_dialog.h"

#include <QCheckBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QVBoxLayout>
#include <limits>

#include "data/short_text.h"
#include "diagrams/diagram_settings.h"

namespace kalvoro {

namespace {

constexpr int DialogWidth = 374;
constexpr int DialogHeight = 276;
constexpr int FontMin = 2;
constexpr int FontMax = 100;

// A font-height spinner whose edit carries the given name.
QSpinBox* fontSpinner(const char* spinnerName, const char* editName, int value, QWidget* parent)
{
    auto* spin = new QSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(spinnerName));
    spin->setRange(FontMin, FontMax);
    spin->setValue(value);
    spin->setFixedWidth(56);
    if (auto* edit = spin->findChild<QLineEdit*>()) edit->setObjectName(QString::fromLatin1(editName));
    return spin;
}

// A sunken panel: the check box, and at its right "Fonte:" with the spinner.
QFrame* optionPanel(QCheckBox* check, QSpinBox* spin, QWidget* parent)
{
    auto* panel = new QFrame(parent);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    auto* row = new QHBoxLayout(panel);
    row->setContentsMargins(10, 8, 10, 8);
    row->setSpacing(6);
    row->addWidget(check);
    row->addStretch();
    row->addWidget(new QLabel(QStringLiteral("Fonte:"), panel));
    row->addWidget(spin);
    return panel;
}

}  // namespace

TForm1::TForm1(QWidget* parent)
    : QDialog(parent),
      edit1_(new QLineEdit(this)),
      checkBox1_(new QCheckBox(QStringLiteral("Número dos trechos"), this)),
      upDown7_(fontSpinner("UpDown7", "Edit9", 15, this)),
      checkBox2_(new QCheckBox(QStringLiteral("Desenha o carregamento"), this)),
      upDown1_(fontSpinner("UpDown1", "Edit2", 20, this)),
      ok_(new QPushButton(QStringLiteral("Ok"), this))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Configuração"));
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);

    edit1_->setObjectName(QStringLiteral("Edit1"));
    // A title read from a file may be longer than a line edit's default limit
    // of 32767 characters; cutting it would rewrite the user's file shorter.
    edit1_->setMaxLength(std::numeric_limits<int>::max());
    edit1_->setText(QStringLiteral("digite aqui um título para a sua estrutura..."));
    edit1_->setCursorPosition(0);
    checkBox1_->setObjectName(QStringLiteral("CheckBox1"));
    checkBox1_->setChecked(true);
    checkBox2_->setObjectName(QStringLiteral("CheckBox2"));
    checkBox2_->setChecked(true);
    ok_->setObjectName(QStringLiteral("Button1"));
    ok_->setDefault(true);
    ok_->setFixedWidth(75);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* titleLabel = new QLabel(QStringLiteral("Título:"), this);
    QFont bold = titleLabel->font();
    bold.setBold(true);
    titleLabel->setFont(bold);
    titleLabel->setBuddy(edit1_);
    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(8);
    titleRow->addWidget(titleLabel);
    titleRow->addWidget(edit1_, 1);

    auto* options = new QVBoxLayout;
    options->setSpacing(10);
    options->addWidget(optionPanel(checkBox1_, upDown7_, this));
    options->addWidget(optionPanel(checkBox2_, upDown1_, this));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(14, 16, 14, 14);
    column->setSpacing(14);
    column->addLayout(titleRow);
    column->addLayout(options);
    column->addStretch();
    column->addLayout(buttons);

    setFixedSize(DialogWidth, DialogHeight);
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
}

std::string TForm1::title() const
{
    if (!longTitle_.empty() && edit1_->text() == cutTitle_) return longTitle_;
    return edit1_->text().toStdString();
}

void TForm1::setTitle(const std::string& title)
{
    const QString whole = QString::fromStdString(title);
    if (whole.size() > LongTitle) {
        longTitle_ = title;
        cutTitle_ = QString::fromStdString(shortText(title));
    } else {
        longTitle_.clear();
        cutTitle_.clear();
    }
    edit1_->setText(longTitle_.empty() ? whole : cutTitle_);
    edit1_->setCursorPosition(0);
}

void TForm1::copyOptionsTo(DiagramSettings& s) const
{
    s.CheckBox1 = checkBox1_->isChecked();
    s.UpDown7 = upDown7_->value();
    s.CheckBox2 = checkBox2_->isChecked();
    s.UpDown1 = upDown1_->value();
}

}  // namespace kalvoro
