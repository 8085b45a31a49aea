#include "app/gui/train_dialog.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <exception>

#include "app/gui/user_dialogs.h"
#include "data/numbers.h"
#include "data/text_file.h"

namespace kalvoro {

namespace {

const QString Filter = QStringLiteral("Trem-tipo (*.trem)");

QString text(double v)
{
    return QString::fromStdString(formatGeneral(v));
}

}  // namespace

TremDialog::TremDialog(UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      title_(new QLineEdit(this)),
      q_(new QLineEdit(this)),
      axles_(new QTableWidget(0, 2, this))
{
    setObjectName(QStringLiteral("TremTipo"));
    setWindowTitle(QStringLiteral("Trem-tipo"));
    setModal(true);
    title_->setObjectName(QStringLiteral("TituloEdit"));
    q_->setObjectName(QStringLiteral("CargaEdit"));
    axles_->setObjectName(QStringLiteral("EixosGrid"));
    axles_->setHorizontalHeaderLabels({QStringLiteral("P"), QStringLiteral("a")});
    axles_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    axles_->verticalHeader()->setDefaultSectionSize(20);
    axles_->setMinimumHeight(180);

    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel(QStringLiteral("Título:"), this), 0, 0, Qt::AlignRight);
    fields->addWidget(title_, 0, 1);
    fields->addWidget(new QLabel(QStringLiteral("Carga distribuída (q):"), this), 1, 0, Qt::AlignRight);
    fields->addWidget(q_, 1, 1);
    auto* hint = new QLabel(
        QStringLiteral("Eixos: carga P (para baixo) e distância a ao primeiro eixo, nas unidades da viga"),
        this);
    hint->setWordWrap(true);

    const auto button = [this](const char* name, const char* caption, void (TremDialog::*command)()) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, [this, command] {
            try {
                (this->*command)();
            } catch (const std::exception& e) {
                dialogs_.showMessage(QString::fromUtf8(e.what()));
            }
        });
        return b;
    };
    auto* rows = new QHBoxLayout;
    rows->addWidget(button("InserirEixo", "Inserir eixo", &TremDialog::addAxle));
    rows->addWidget(button("RemoverEixo", "Remover eixo", &TremDialog::removeAxle));
    rows->addStretch();
    auto* files = new QHBoxLayout;
    files->addWidget(button("AbrirTrem", "Abrir...", &TremDialog::openFile));
    files->addWidget(button("SalvarTrem", "Salvar...", &TremDialog::saveFile));
    files->addWidget(button("SemTrem", "Sem trem-tipo", &TremDialog::noTrain));
    files->addStretch();
    auto* ok = new QPushButton(QStringLiteral("Ok"), this);
    ok->setObjectName(QStringLiteral("OkTrem"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &TremDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    files->addWidget(ok);
    files->addWidget(cancel);

    auto* column = new QVBoxLayout(this);
    column->addLayout(fields);
    column->addWidget(hint);
    column->addWidget(axles_);
    column->addLayout(rows);
    column->addLayout(files);
    resize(420, 380);
    setTrain(std::nullopt);
}

void TremDialog::setTrain(const std::optional<Train>& t)
{
    train_ = t;
    const Train shown = t ? *t : Train{"trem-tipo", 0, {{100, 0}}};
    title_->setText(QString::fromStdString(shown.title));
    q_->setText(text(shown.q));
    axles_->setRowCount(0);
    for (const Axle& a : shown.axles) {
        const int r = axles_->rowCount();
        axles_->insertRow(r);
        axles_->setItem(r, 0, new QTableWidgetItem(text(a.P)));
        axles_->setItem(r, 1, new QTableWidgetItem(text(a.a)));
    }
}

std::string TremDialog::fieldsText() const
{
    const auto cell = [this](int r, int c) {
        const QTableWidgetItem* item = axles_->item(r, c);
        // A blank cell stays a visible gap, so the reader names its line.
        const QString t = item ? item->text().trimmed() : QString();
        return t.isEmpty() ? std::string("?") : t.toStdString();
    };
    std::string out = title_->text().toStdString() + "\n";
    out += "CARGA DISTRIBUIDA = " + q_->text().trimmed().toStdString() + "\n";
    out += "EIXOS = " + std::to_string(axles_->rowCount()) + "\n";
    for (int r = 0; r < axles_->rowCount(); ++r) out += cell(r, 0) + " " + cell(r, 1) + "\n";
    return out;
}

std::optional<Train> TremDialog::fieldsTrain(std::string& message) const
{
    const TrainRead r = LeTremTexto(utf8ToCp1252(fieldsText()));
    if (r.status != 0) {
        message = r.message;
        return std::nullopt;
    }
    return r.train;
}

void TremDialog::openFile()
{
    const QString name = dialogs_.askOpenFileName(Filter);
    if (name.isEmpty()) return;
    const TrainRead r = LeTrem(name.toStdString());
    if (r.status != 0) {
        dialogs_.showMessage(QString::fromStdString(r.message));
        return;
    }
    const std::optional<Train> keep = train_;
    setTrain(r.train);
    train_ = keep;  // what the dialog closes with is decided by Ok
}

void TremDialog::saveFile()
{
    std::string message;
    const std::optional<Train> t = fieldsTrain(message);
    if (!t) {
        dialogs_.showMessage(QString::fromStdString(message));
        return;
    }
    const QString name = dialogs_.askSaveFileName(QStringLiteral("Salvar trem-tipo"), Filter, QString(),
                                                  QStringLiteral("trem"));
    if (name.isEmpty()) return;
    SalvarTrem(name.toStdString(), *t);
}

void TremDialog::addAxle()
{
    const int r = axles_->rowCount();
    axles_->insertRow(r);
    const QString P =
        r > 0 && axles_->item(r - 1, 0) ? axles_->item(r - 1, 0)->text() : QStringLiteral("100");
    const QString a = r > 0 && axles_->item(r - 1, 1) ? axles_->item(r - 1, 1)->text() : QStringLiteral("0");
    axles_->setItem(r, 0, new QTableWidgetItem(P));
    axles_->setItem(r, 1, new QTableWidgetItem(a));
}

void TremDialog::removeAxle()
{
    const int r = axles_->currentRow() >= 0 ? axles_->currentRow() : axles_->rowCount() - 1;
    if (r >= 0) axles_->removeRow(r);
}

void TremDialog::noTrain()
{
    train_.reset();
    QDialog::accept();
}

void TremDialog::accept()
{
    std::string message;
    std::optional<Train> t = fieldsTrain(message);
    if (!t) {
        dialogs_.showMessage(QString::fromStdString(message));
        return;
    }
    train_ = std::move(t);
    QDialog::accept();
}

}  // namespace kalvoro
