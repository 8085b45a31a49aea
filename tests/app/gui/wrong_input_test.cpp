// Wrong input in the windows: the tables refuse a beam they cannot write
// before anything is written, the influence lines refuse a model whose last
// read failed, and texts from a file never make a message too large to show.

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <map>

#include "app/gui/config_dialog.h"
#include "app/gui/grid_view.h"
#include "app/gui/influence_window.h"
#include "app/gui/main_window.h"
#include "app/gui/user_dialogs.h"
#include "data/text_file.h"
#include "influence/influence.h"
#include "window_fixture.h"

namespace kalvoro {

namespace {

const std::string DefaultFile = KALVORO_TEST_DATA "/viga-padrao.vig";

// The default beam's file with some lines (0 is the title) replaced.
std::string defaultFileWith(const std::map<int, std::string>& lines)
{
    const std::string bytes = readFileBytes(DefaultFile);
    std::string out;
    std::size_t at = 0;
    for (int i = 0; at < bytes.size(); ++i) {
        const std::size_t end = bytes.find("\r\n", at) + 2;
        out += lines.contains(i) ? lines.at(i) + "\r\n" : bytes.substr(at, end - at);
        at = end;
    }
    return out;
}

}  // namespace

class WrongInputTest : public QObject, private WindowFixture {
    Q_OBJECT
private slots:
    void init()
    {
        openWindow(false);
        previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir->path()));
    }
    void cleanup()
    {
        QDir::setCurrent(previous);
        closeWindow();
    }

    void tablesRefuseBeforeAnythingIsWritten();
    void influenceLinesRefuseAModelWhoseReadFailed();
    void textsFromAFileStayShort();

private:
    void setCell(TableId id, int r, int c, const QString& text)
    {
        w->grid(id)->item(r - 1, c)->setText(text);
    }
    QString put(const QString& name, const std::string& bytes)
    {
        const QString path = dir->filePath(name);
        writeFileAtomically(path.toStdString(), bytes);
        return path;
    }
    QString previous;
};

void WrongInputTest::tablesRefuseBeforeAnythingIsWritten()
{
    struct Row {
        TableId id;
        int row, col;
        const char* text;
        const char* message;
    };
    const Row rows[] = {
        {TableId::Supports, 1, 1, "100",
         "Aba \"Apoios\", linha 1, coluna \"Restrições\": \"100\" não é um código de apoio do nó 1 (00, 01, "
         "10 ou "
         "11)."},
        {TableId::Materials, 1, 1, "25 000 000",
         "Aba \"Materiais e seções\", linha 1, coluna \"E(Elast.)\": \"25 000 000\" não é um número."},
        {TableId::Spans, 1, 2, "2",
         "Aba \"Trechos\", linha 1, coluna \"seção\": \"2\" não é uma seção da tabela (de 1 a 1)."},
        {TableId::Spans, 1, 1, "-1e10",
         "Aba \"Trechos\", linha 1, coluna \"comprimento\": \"-1e10\" não é um comprimento maior que zero."},
        {TableId::Loads, 1, 3, "5",
         "Aba \"Cargas\", linha 1, coluna \"d\": \"5\" não está no trecho 1 (de 0 a 1.00)."},
    };
    for (const Row& r : rows) {
        dialogs->messages.clear();
        const QString before = w->grid(r.id)->item(r.row - 1, r.col)->text();
        setCell(r.id, r.row, r.col, QString::fromUtf8(r.text));
        for (const char* command : {"Calcula1", "Salvar1", "desenhaestrutura1"}) action(command)->trigger();
        QCOMPARE(dialogs->messages, QStringList(3, QString::fromUtf8(r.message)));
        QVERIFY(dialogs->saveRequests.isEmpty());
        QCOMPARE(QDir::current().entryList(QDir::Files), QStringList());
        setCell(r.id, r.row, r.col, before);
    }

    // A span far longer than the page is drawn, panned and zoomed in silence.
    dialogs->messages.clear();
    setCell(TableId::Spans, 1, 1, QStringLiteral("1e10"));
    action("Calcula1")->trigger();
    for (const char* name : {"SpeedButton7", "SpeedButton8", "SpeedButton9", "SpeedButton10"})
        for (int i = 0; i < 25; ++i) action(name)->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QCOMPARE(errors, QStringList());
    QVERIFY(QFile::exists(QStringLiteral("Temp.sai")));
}

void WrongInputTest::influenceLinesRefuseAModelWhoseReadFailed()
{
    action("Calcula1")->trigger();
    // A 10 m span whose material the file does not define: the read fails in
    // step 4, after the coordinates of the 10 m span are in the model.
    dialogs->openNames << put(QStringLiteral("ruim.vig"), defaultFileWith({{3, "2 10 0"}, {5, "1 1 2 1 3"}}));
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->messages.size(), 1);

    dialogs->sections << QStringList{"1", "0.5"};
    w->influenceWindow()->SpeedButton1Click();
    QCOMPARE(dialogs->messages.last(), QString::fromUtf8(InfluenceFailureMessage));
    QCOMPARE(dialogs->sectionRequests, 0);
    QVERIFY(w->influenceWindow()->RichEdit1()->toPlainText().isEmpty());

    // A calculation of the tables' beam makes the model sound again.
    action("Calcula1")->trigger();
    dialogs->messages.clear();
    w->influenceWindow()->SpeedButton1Click();
    QCOMPARE(dialogs->messages, QStringList());
    QVERIFY(w->influenceWindow()->RichEdit1()->toPlainText().contains(QStringLiteral("      1     1.00 ")));
}

void WrongInputTest::textsFromAFileStayShort()
{
    // A 2 MB header line without its keyword, and a 2 MB title.
    const std::string header = "INCIDENCIAS " + std::string(2000000, '=');
    dialogs->openNames << put(QStringLiteral("longa.vig"), defaultFileWith({{4, header}}));
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->messages.size(), 2);
    QCOMPARE(dialogs->messages.first(), QStringLiteral("Erro nas incidências das barras INCIDENCIAS ") +
                                            QString(68, QLatin1Char('=')) + QStringLiteral("…"));

    const std::string title(2000000, 't');
    dialogs->openNames << put(QStringLiteral("titulo.vig"), defaultFileWith({{0, title}}));
    action("Abrir2")->trigger();
    QCOMPARE(w->configDialog()->Edit1()->text(), QString(80, QLatin1Char('t')) + QStringLiteral("…"));
    QCOMPARE(w->configDialog()->title(), title);
    QVERIFY(
        readFileBytes(dir->filePath(QStringLiteral("titulo.vig")).toStdString()).starts_with(title + "\r\n"));

    // Whatever text reaches a message box, the box fits on the screen.
    QtUserDialogs real(w);
    QRect box;
    QTimer::singleShot(0, [&box] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            box = m->frameGeometry();
            m->accept();
        }
    });
    real.showMessage(QString(20000, QLatin1Char('x')) + QStringLiteral("\n") +
                     QStringLiteral("y\n").repeated(200));
    QVERIFY(!box.isEmpty());
    QVERIFY2(w->screen()->availableGeometry().contains(box), qPrintable(QString::number(box.height())));
}

}  // namespace kalvoro

int runWrongInputTests(int argc, char** argv)
{
    kalvoro::WrongInputTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "wrong_input_test.moc"
