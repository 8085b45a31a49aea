#include "app/gui/count_field.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace kalvoro {

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setAutoRepeat(true);
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(16, 11);
    return b;
}

}  // namespace

CountField::CountField(bool withSpinner, QWidget* parent) : QWidget(parent), edit_(new QLineEdit(this))
{
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    edit_->setFixedSize(40, 22);
    row->addWidget(edit_);
    if (withSpinner) {
        auto* column = new QVBoxLayout;
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        up_ = arrowButton(Qt::UpArrow, this);
        down_ = arrowButton(Qt::DownArrow, this);
        column->addWidget(up_);
        column->addWidget(down_);
        row->addLayout(column);
        connect(up_, &QToolButton::clicked, this, [this] { emit stepped(+1); });
        connect(down_, &QToolButton::clicked, this, [this] { emit stepped(-1); });
    }
    row->addStretch();
    connect(edit_, &QLineEdit::textEdited, this, &CountField::edited);
}

void CountField::showText(const QString& text)
{
    if (edit_->text() != text) edit_->setText(text);
}

}  // namespace kalvoro
