// The main window as a user without the right to write meets it: the packaged
// examples in a folder that is not his, his own file protected against
// writing, a link to his data. Root may write anything, so CTest runs this
// class as nobody; run as root it skips, since it would prove nothing.

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTest>

#include "window_fixture.h"

namespace kalvoro {

class PermissionTest : public QObject, private WindowFixture {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void openingNeverChangesWhatTheUserMayNotWrite_data();
    void openingNeverChangesWhatTheUserMayNotWrite();
};

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

void PermissionTest::init()
{
    if (::geteuid() == 0) QSKIP("runs as root, who may write anything: CTest runs this class as nobody");
    openWindow(false);
}

void PermissionTest::cleanup()
{
    if (!w) return;  // skipped
    // Writable again, so that the folder can be removed.
    QFile::setPermissions(dir->filePath(QStringLiteral("exemplos")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    closeWindow();
}

void PermissionTest::openingNeverChangesWhatTheUserMayNotWrite_data()
{
    QTest::addColumn<QString>("opened");   // in the test's folder
    QTest::addColumn<QString>("message");  // "%1" stands for the folder
    const QString elsewhere = QStringLiteral(" Salve a viga em outro lugar (Arquivo → Salvar).");
    QTest::newRow("packaged examples") << "exemplos/dois-trechos.vig"
                                       << "A pasta %1/exemplos não permite gravação." + elsewhere;
    QTest::newRow("packaged .vigx example") << "exemplos/apoios-especiais.vigx"
                                            << "A pasta %1/exemplos não permite gravação." + elsewhere;
    QTest::newRow("file protected against writing")
        << "protegida.vig"
        << "O arquivo %1/protegida.vig está protegido contra gravação." + elsewhere;
    QTest::newRow("link to the user's file") << "link.vig"
                                             << "";
}

void PermissionTest::openingNeverChangesWhatTheUserMayNotWrite()
{
    QFETCH(QString, opened);
    QFETCH(QString, message);
    const QString example = QStringLiteral(KALVORO_EXAMPLES "/dois-trechos.vig");
    const QString extended = QStringLiteral(KALVORO_EXAMPLES "/apoios-especiais.vigx");
    const QDir here(dir->path());
    QVERIFY(here.mkpath(QStringLiteral("exemplos")) && here.mkpath(QStringLiteral("dados")));
    QVERIFY(QFile::copy(example, dir->filePath(QStringLiteral("exemplos/dois-trechos.vig"))));
    QVERIFY(QFile::copy(extended, dir->filePath(QStringLiteral("exemplos/apoios-especiais.vigx"))));
    QVERIFY(QFile::copy(example, dir->filePath(QStringLiteral("protegida.vig"))));
    QVERIFY(QFile::copy(example, dir->filePath(QStringLiteral("dados/real.vig"))));
    QVERIFY(QFile::link(QStringLiteral("dados/real.vig"), dir->filePath(QStringLiteral("link.vig"))));
    // The packaged examples: files and folder the user may only read.
    for (const char* file : {"protegida.vig", "exemplos/dois-trechos.vig", "exemplos/apoios-especiais.vigx"})
        QVERIFY(QFile::setPermissions(dir->filePath(QString::fromLatin1(file)),
                                      QFile::ReadOwner | QFile::ReadGroup));
    QVERIFY(QFile::setPermissions(dir->filePath(QStringLiteral("exemplos")),
                                  QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup));

    w->openFile(dir->filePath(opened));
    QCOMPARE(dialogs->messages, message.isEmpty() ? QStringList() : QStringList{message.arg(dir->path())});
    QCOMPARE(errors, QStringList());

    // What the user may not write is as it was, and a link is still a link
    // to the file that the calculation rewrote.
    for (const char* file : {"exemplos/dois-trechos.vig", "protegida.vig"})
        QCOMPARE(bytesOf(dir->filePath(QString::fromLatin1(file))), bytesOf(example));
    QCOMPARE(bytesOf(dir->filePath(QStringLiteral("exemplos/apoios-especiais.vigx"))), bytesOf(extended));
    QCOMPARE(QDir(dir->filePath(QStringLiteral("exemplos"))).entryList(QDir::Files),
             (QStringList{"apoios-especiais.vigx", "dois-trechos.vig"}));
    QVERIFY(QFileInfo(dir->filePath(QStringLiteral("link.vig"))).isSymLink());
    QCOMPARE(QDir(dir->filePath(QStringLiteral("dados"))).entryList(QDir::Files), QStringList{"real.vig"});
}

}  // namespace kalvoro

int runPermissionTests(int argc, char** argv)
{
    kalvoro::PermissionTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "permission_test.moc"
