// SPDX-License-Identifier: MIT
// The archive window's export and import: the button and its menu, the file
// dialogs answered by a recorder, the outcome in a message box.

#include <QDate>
#include <QFile>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "windows/archive/archive_transfer_commands.h"

using cf::MessageIcon;
using namespace cf::archive;

namespace {

const QByteArray kVerdi =
    "\"VERDI\",\"GIANCARLO\",\"VRDGCR70B10F205A\",\"M\",\"10/02/70\",\"MILANO\",\"MI\"\r\n";
const QByteArray kBianchi =
    "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n";

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

}  // namespace

class ArchiveTransferCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void exportWritesTheChosenFileAndSaysSo();
    void importListsRefusedRowsAndAppendsTheOthers();
    void buttonMenuRunsTheCommandsAndReloadsAfterAnImport();

private:
    QString path(const QString& name) const { return folder_->filePath(name); }
    QString archive() const { return path(QStringLiteral("codarc.dat")); }

    std::unique_ptr<QTemporaryDir> folder_;
};

void ArchiveTransferCommandsTest::init()
{
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    WriteAll(archive(), kVerdi);
}

void ArchiveTransferCommandsTest::exportWritesTheChosenFileAndSaysSo()
{
    cf::platform::SaveDialogRecorder dialogs;
    cf::platform::MessageBoxRecorder boxes;
    // Cancelled: nothing written, nothing said.
    ExportArchiveToChosenFile(archive());
    QCOMPARE(dialogs.requests().size(), std::size_t{1});
    QCOMPARE(dialogs.requests()[0].title, QStringLiteral("Esporta l'archivio"));
    QVERIFY(dialogs.requests()[0].suggestedPath.endsWith(
        QStringLiteral("Archivio codici %1.ods").arg(QDate::currentDate().toString(Qt::ISODate))));
    QVERIFY(boxes.requests().empty());

    struct Row {
        QString file;
        MessageIcon icon;
        QString text;
    };
    const Row rows[] = {
        {path(QStringLiteral("a.csv")), MessageIcon::Information,
         QStringLiteral("Esportate 1 persone in %1.").arg(path(QStringLiteral("a.csv")))},
        {path(QStringLiteral("a.ods")), MessageIcon::Information,
         QStringLiteral("Esportate 1 persone in %1.").arg(path(QStringLiteral("a.ods")))},
        {path(QStringLiteral("manca/a.csv")), MessageIcon::Critical,
         QStringLiteral("Impossibile scrivere %1: ").arg(path(QStringLiteral("manca/a.csv")))},
    };
    for (const Row& row : rows) {
        dialogs.QueueAnswer(row.file);
        ExportArchiveToChosenFile(archive());
        QCOMPARE(boxes.requests().back().icon, row.icon);
        QCOMPARE(boxes.requests().back().title, QStringLiteral("Codice fiscale"));
        QVERIFY2(boxes.requests().back().text.startsWith(row.text), qPrintable(boxes.requests().back().text));
    }
    QCOMPARE(ReadAll(path(QStringLiteral("a.csv"))),
             QByteArray("Cognome,Nome,Codice fiscale,Sesso,Data di nascita,Luogo di nascita,Provincia\r\n"
                        "VERDI,GIANCARLO,VRDGCR70B10F205A,M,10/02/70,MILANO,MI\r\n"));
    QVERIFY(ReadAll(path(QStringLiteral("a.ods"))).startsWith("PK"));
}

void ArchiveTransferCommandsTest::importListsRefusedRowsAndAppendsTheOthers()
{
    cf::platform::SaveDialogRecorder dialogs;
    cf::platform::MessageBoxRecorder boxes;
    QVERIFY(!ImportChosenFile(archive()));
    QCOMPARE(dialogs.requests()[0].title, QStringLiteral("Importa persone nell'archivio"));
    QVERIFY(boxes.requests().empty());

    // Twenty refused rows: the box lists fifteen and counts the others.
    QByteArray csv = "Bianchi,Lucia,,F,3/7/85,Roma\n";
    for (int i = 0; i < 20; ++i)
        csv += "Rossi,Mario,,X,1/1/80,Roma\n";
    WriteAll(path(QStringLiteral("nuovi.csv")), csv);
    dialogs.QueueAnswer(path(QStringLiteral("nuovi.csv")));
    QVERIFY(ImportChosenFile(archive()));
    QCOMPARE(boxes.requests().size(), std::size_t{1});
    QCOMPARE(boxes.requests()[0].icon, MessageIcon::Exclamation);
    const QString text = boxes.requests()[0].text;
    QVERIFY2(text.startsWith(QStringLiteral("Importate 1 persone nell'archivio; 20 righe scartate.\n\n"
                                            "Righe scartate, non scritte nell'archivio:\n"
                                            "Riga 2: Il sesso è errato.\n")),
             qPrintable(text));
    QVERIFY(text.contains(QStringLiteral("Riga 16: ")));
    QVERIFY(!text.contains(QStringLiteral("Riga 17: ")));
    QVERIFY(text.endsWith(QStringLiteral("… e altre 5.")));
    QCOMPARE(ReadAll(archive()), kVerdi + kBianchi);

    // A file of no known format: nothing appended, a critical box.
    dialogs.QueueAnswer(path(QStringLiteral("nuovi.txt")));
    QVERIFY(!ImportChosenFile(archive()));
    QCOMPARE(boxes.requests().back().icon, MessageIcon::Critical);
    QCOMPARE(ReadAll(archive()), kVerdi + kBianchi);
}

void ArchiveTransferCommandsTest::buttonMenuRunsTheCommandsAndReloadsAfterAnImport()
{
    cf::platform::SaveDialogRecorder dialogs;
    cf::platform::MessageBoxRecorder boxes;
    QWidget window;
    int reloads = 0;
    QPushButton* button = AddTransferCommands(&window, archive(), [&reloads] { ++reloads; });
    QCOMPARE(button->objectName(), QStringLiteral("cmdEsportaImporta"));
    QCOMPARE(button->text(), QStringLiteral("Es&porta / importa"));
    QVERIFY(button->menu());
    const QList<QAction*> actions = button->menu()->actions();
    QCOMPARE(actions.size(), 2);

    WriteAll(path(QStringLiteral("nuovi.csv")), "Bianchi,Lucia,,F,3/7/85,Roma\n");
    // Export, an import cancelled, an import that takes a person.
    dialogs.QueueAnswer(path(QStringLiteral("a.csv")));
    actions[0]->trigger();
    actions[1]->trigger();
    QCOMPARE(reloads, 0);
    dialogs.QueueAnswer(path(QStringLiteral("nuovi.csv")));
    actions[1]->trigger();
    QCOMPARE(reloads, 1);
    QCOMPARE(dialogs.requests().size(), std::size_t{3});
    QCOMPARE(boxes.requests().size(), std::size_t{2});
    QVERIFY(QFile::exists(path(QStringLiteral("a.csv"))));
}

QTEST_MAIN(ArchiveTransferCommandsTest)
#include "archive_transfer_commands_test.moc"
