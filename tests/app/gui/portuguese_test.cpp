// The program speaks Portuguese all through: the toolkit's own dialogs, the
// captions, what Abrir lists and the names derived from the file written.

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QHelpEvent>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolTip>

#include "app/gui/config_dialog.h"
#include "app/gui/grid_view.h"
#include "data/text_file.h"
#include "window_fixture.h"

namespace kalvoro {

class PortugueseDesktopTest : public QObject, private WindowFixture {
    Q_OBJECT
private slots:
    void init() { openWindow(false); }
    void cleanup() { closeWindow(); }
    void standardDialogsArePortuguese();
    void openListsWhatSaveWritesAndHiddenNamesKeepTheirStem();
    void charactersLostInTheFileAreNamed();
    void cutOffCellsShowTheirWholeText();

private:
    using WindowFixture::action;
};

void PortugueseDesktopTest::standardDialogsArePortuguese()
{
    QVERIFY(static_cast<Application*>(qApp)->portugueseDialogs());
    QFileDialog open;
    setUpOpenDialog(open, QString::fromUtf8(OpenFilter));
    const auto* buttons = open.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
    QCOMPARE(buttons->button(QDialogButtonBox::Open)->text(), QStringLiteral("&Abrir"));
    QCOMPARE(open.findChild<QLabel*>(QStringLiteral("lookInLabel"))->text(), QStringLiteral("Procurar em:"));
    QCOMPARE(open.findChild<QLabel*>(QStringLiteral("fileNameLabel"))->text(),
             QStringLiteral("&Nome do arquivo:"));

    // Each window has its own caption: nothing is appended to it.
    QCOMPARE(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

void PortugueseDesktopTest::openListsWhatSaveWritesAndHiddenNamesKeepTheirStem()
{
    action("Abrir2")->trigger();
    QCOMPARE(dialogs->openFilters, QStringList{QString::fromUtf8(OpenFilter)});
    QFileDialog open;
    setUpOpenDialog(open, dialogs->openFilters.first());
    const QStringList filters = open.nameFilters();
    QCOMPARE(filters.size(), 3);
    QCOMPARE(filters.at(2), QStringLiteral("Todos os arquivos (*)"));
    const QString patterns =
        QRegularExpression(QStringLiteral("\\((.*)\\)")).match(filters.at(0)).captured(1);
    const QStringList listed = patterns.split(QLatin1Char(' '));
    // Salvar's default extension is "dat": what it writes, Abrir lists.
    QVERIFY(QDir::match(listed, QStringLiteral("teste.dat")));
    QVERIFY(QDir::match(listed, QStringLiteral("viga.vig")));
    QVERIFY(!QDir::match(listed, QStringLiteral("viga.sai")));

    dialogs->saveNames << dir->filePath(QStringLiteral(".viga.vig"));
    action("Salvar1")->trigger();
    action("Calcula1")->trigger();
    QCOMPARE(dialogs->messages, QStringList());
    QDir folder(dir->path());
    folder.setFilter(QDir::Files | QDir::Hidden);
    QCOMPARE(folder.entryList(QDir::Files | QDir::Hidden, QDir::Name),
             (QStringList{".viga.sai", ".viga.vig", ".vigaC.wmf", ".vigaD.wmf", ".vigaM.wmf"}));
}

void PortugueseDesktopTest::charactersLostInTheFileAreNamed()
{
    w->configDialog()->setTitle("Viga → ☃ → ÇÃ");
    const QString file = dir->filePath(QStringLiteral("t.vig"));
    dialogs->saveNames << file;
    action("Salvar1")->trigger();
    QCOMPARE(errors, QStringList());
    QVERIFY(readFileBytes(file.toStdString()).starts_with("Viga ? ? ? \xC7\xC3\r\n"));
    QCOMPARE(w->hintPanel()->toolTip(), QStringLiteral("Gravados como \"?\" (fora do Windows-1252): → ☃"));

    // What the file can hold is not reported.
    w->configDialog()->setTitle("Viga ÇÃ €");
    w->showNotice(QString());
    action("Calcula1")->trigger();
    QCOMPARE(w->hintPanel()->toolTip(), QString());
}

void PortugueseDesktopTest::cutOffCellsShowTheirWholeText()
{
    GridView* sections = w->grid(TableId::Sections);
    w->pages()->setCurrentWidget(w->page(Page::Materiais));
    const auto toolTipOver = [&](const QString& text) {
        sections->item(0, 1)->setText(text);
        const QPoint at = sections->visualItemRect(sections->item(0, 1)).center();
        QHelpEvent e(QEvent::ToolTip, at, sections->viewport()->mapToGlobal(at));
        QToolTip::hideText();
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QStringLiteral("still shown");
        QApplication::sendEvent(sections->viewport(), &e);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(toolTipOver(QStringLiteral("123456789012")), QStringLiteral("123456789012"));
    QCOMPARE(toolTipOver(QStringLiteral("0.000123456789012")), QStringLiteral("0.000123456789012"));
    QCOMPARE(toolTipOver(QStringLiteral("1.5")), QString());
    QToolTip::hideText();
}

}  // namespace kalvoro

int runPortugueseDesktopTests(int argc, char** argv)
{
    kalvoro::PortugueseDesktopTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "portuguese_test.moc"
