// SPDX-License-Identifier: MIT
// Bad input pasted (not typed) into every text box of the windows: very long
// texts, control characters and letters of other alphabets. Nothing may
// crash, every refusal shows its message, and whatever is archived loads
// back as it was written.

#include <QApplication>
#include <QClipboard>
#include <QTemporaryDir>
#include <QTest>

#include "engine/storage/archive_file.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "windows/generation/main_form.h"
#include "windows/verification/verifica.h"

using cf::generation::MainForm;
using cf::platform::MessageAnswer;
using cf::platform::MessageBoxRecorder;

namespace {

// The texts pasted into each box, one at a time.
QStringList BadTexts()
{
    return {
        QString(10000, u'A'),
        QString(10000, u'9'),
        QStringLiteral("ROSSI\tMARIO\r\nVERDI\x01\x1b\x7f"),
        QStringLiteral("Иванов Пётр"),
        QStringLiteral("山田太郎"),
        QStringLiteral("O'NEIL, \"JR\""),
        QStringLiteral("  /  /  \r\n"),
        QStringLiteral("ÀÉÎÕÜ àéîõü ß"),
        QString(),
    };
}

void Paste(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    QApplication::clipboard()->setText(text);
    box->paste();
}

}  // namespace

class WindowInputTest : public QObject {
    Q_OBJECT

private slots:
    void generationWindowSurvivesPastedTextsAndArchivesOnlyLoadableRecords();
    void verificationWindowSurvivesPastedTexts();
};

void WindowInputTest::generationWindowSurvivesPastedTextsAndArchivesOnlyLoadableRecords()
{
    TestWorkDirectory work;
    QTemporaryDir archiveDirectory;
    const QString archive = archiveDirectory.filePath(QStringLiteral("codarc.dat"));
    MainForm form;
    form.setArchivePath(archive);
    form.setCardPresenter([](const cf::Person&) {});
    QVERIFY(ShowActive(&form));

    int archived = 0;
    int archiveRefusals = 0;
    QLineEdit* const boxes[] = {form.surnameBox(), form.firstNameBox(), form.sexBox(), form.birthDateBox(),
                                form.placeBox()};
    for (QLineEdit* box : boxes) {
        for (const QString& text : BadTexts()) {
            // A person the window accepts, then one box spoiled.
            form.surnameBox()->setText(QStringLiteral("BIANCHI"));
            form.firstNameBox()->setText(QStringLiteral("LUCIA"));
            form.sexBox()->setText(QStringLiteral("F"));
            form.birthDateBox()->setText(QStringLiteral("03/07/85"));
            form.placeBox()->setText(QStringLiteral("ROMA"));
            Paste(box, text);

            {
                // One recorder at a time.
                MessageBoxRecorder recorder;
                recorder.QueueAnswer(MessageAnswer::Ok);
                form.setCode(QString());
                form.generateButton()->click();
                if (form.codeLabel()->text().isEmpty()) {
                    // A refusal always says why.
                    QVERIFY2(!recorder.requests().empty(),
                             qPrintable(box->objectName() + ": " + text.left(20)));
                    continue;
                }
            }
            QCOMPARE(form.codeLabel()->text().size(), 16);

            // Yes to archiving, and Yes to another copy of a code already
            // archived.
            MessageBoxRecorder archiving;
            archiving.QueueAnswer(MessageAnswer::Yes);
            archiving.QueueAnswer(MessageAnswer::Yes);
            form.archiveButton()->click();
            QVERIFY(archiving.requests().size() >= 2);
            if (archiving.requests().back().text == QStringLiteral("Dati archiviati!"))
                ++archived;
            else
                ++archiveRefusals;
        }
    }

    QVERIFY(archived > 0);
    // The name boxes keep no quote or comma, and a name beyond Windows-1252
    // is archived in its base letters: nothing generated is refused.
    QCOMPARE(archiveRefusals, 0);

    // Every archived record loads back whole, seven fields, as shown.
    const cf::LoadedArchive rows = cf::LoadArchive(archive.toStdString());
    QCOMPARE(static_cast<int>(rows.size()), archived);
    for (std::size_t row = 0; row < rows.size(); ++row) {
        QCOMPARE(QString::fromStdString(rows.person(row).code).size(), 16);
        QVERIFY(rows.person(row).province == "RM");
    }
}

void WindowInputTest::verificationWindowSurvivesPastedTexts()
{
    TestWorkDirectory work;
    cf::verification::Verifica window;
    QVERIFY(ShowActive(&window));
    const auto boxes = window.findChildren<QLineEdit*>();
    QVERIFY(boxes.size() >= 6);
    for (QLineEdit* box : boxes) {
        for (const QString& text : BadTexts()) {
            Paste(box, text);
            MessageBoxRecorder recorder;
            window.checkButton()->click();
            QVERIFY2(!recorder.requests().empty(), qPrintable(box->objectName()));
        }
    }
}

QTEST_MAIN(WindowInputTest)
#include "window_input_test.moc"
