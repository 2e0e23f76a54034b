// SPDX-License-Identifier: MIT
// Draws the windows into PNG files (snapshots/ in the build folder) for a
// person to look at.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>

#include "generation_test_support.h"
#include "platform/message_box.h"
#include "windows/archive/archivio.h"
#include "windows/frame/about.h"
#include "windows/generation/main_form.h"
#include "windows/generation/place_list_loader.h"
#include "windows/generation/splash.h"
#include "windows/generation/tesserino.h"
#include "windows/verification/verifica.h"

using namespace cf::generation;

class WindowSnapshots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(QStringLiteral(CF_SNAPSHOT_DIR))); }
    void generationWindows();
    void verificationWindow();
    void archiveWindow();
    void aboutWindow();

private:
    static void Save(QWidget& widget, const char* name)
    {
        const QImage image = widget.grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(QStringLiteral(CF_SNAPSHOT_DIR "/%1.png").arg(QLatin1String(name))));
    }
};

void WindowSnapshots::generationWindows()
{
    TestWorkDirectory work;
    cf::platform::MessageBoxRecorder recorder;
    MainForm form;
    QVERIFY(ShowActive(&form));
    Save(form, "main_form_empty");

    form.surnameBox()->setText(QStringLiteral("Bianchi"));
    form.firstNameBox()->setText(QStringLiteral("Lucia"));
    form.sexBox()->setText(QStringLiteral("F"));
    form.birthDateBox()->setText(QStringLiteral("03/07/85"));
    form.placeBox()->setText(QStringLiteral("Roma"));
    std::optional<cf::Person> values;
    form.setCardPresenter([&values](const cf::Person& shown) { values = shown; });
    form.generateButton()->click();
    QVERIFY(values);
    form.showWindow();
    Save(form, "main_form_filled");

    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Picture1")), Qt::LeftButton);
    Save(form, "main_form_drop_down");

    Tesserino card;
    card.setPerson(*values);
    QVERIFY(ShowActive(&card));
    Save(card, "card");
    const QPointF onLink = card.label(8)->rect().center();
    QMouseEvent move(QEvent::MouseMove, onLink, card.label(8)->mapToGlobal(onLink), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(card.label(8), &move);
    QVERIFY(card.linkHighlighted());
    Save(card, "card_link_highlighted");

    Splash splash;
    splash.show();
    DrawProgress(*splash.progressBox(), 100, 45, QStringLiteral("Caricamento in corso..."));
    Save(splash, "splash");
}

void WindowSnapshots::verificationWindow()
{
    TestWorkDirectory work;
    cf::platform::MessageBoxRecorder recorder;
    cf::verification::Verifica form;
    QVERIFY(ShowActive(&form));
    form.codeBox()->setText(QStringLiteral("BNCLCU85L43H501J"));
    QTest::mouseClick(form.checkButton(), Qt::LeftButton);
    form.codeBox()->setText(QStringLiteral("BNCLCU85L43H501J"));
    Save(form, "verifica_filled");

    // The person's data beside the code: two parts differ.
    cf::verification::PersonBoxes& person = *form.personBoxes();
    person.surnameBox()->setText(QStringLiteral("BIANCHI"));
    person.firstNameBox()->setText(QStringLiteral("LUCIA"));
    person.sexBox()->setText(QStringLiteral("F"));
    person.birthDateBox()->setText(QStringLiteral("03/07/1986"));
    person.placeBox()->setText(QStringLiteral("MILANO"));
    QTest::mouseClick(form.checkButton(), Qt::LeftButton);
    Save(form, "verifica_person");
    person.placeBox()->setFocus();
    QTest::keyClick(person.placeBox(), Qt::Key_F4);
    Save(form, "verifica_person_drop_down");
}

void WindowSnapshots::archiveWindow()
{
    TestWorkDirectory work;
    cf::platform::MessageBoxRecorder recorder;
    const QString path = QDir(work.path()).filePath(QStringLiteral("codarc.dat"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"VERDI\",\"GIUSEPPE\",\"VRDGPP13R10B320Y\",\"M\",\"10/10/13\",\"BUSSETO\",\"PR\"\r\n"
               "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n"
               "\"ROSSI\",\"MARIO\",\"RSSMRA80A01F205X\",\"M\",\"01/01/80\",\"MILANO\",\"MI\"\r\n");
    for (int i = 1; i <= 20; ++i)
        file.write(
            QStringLiteral(
                "\"ESPOSITO%1\",\"ANNA\",\"SPSNNA90A41F839%1\",\"F\",\"01/01/90\",\"NAPOLI\",\"NA\"\r\n")
                .arg(QChar(u'A' + i))
                .toLatin1());
    file.close();

    cf::archive::Archivio window(path);
    QVERIFY(ShowActive(&window));
    QTableView* list = window.personTable();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualRect(list->model()->index(1, 0)).center());
    Save(window, "archivio_filled");
}

void WindowSnapshots::aboutWindow()
{
    TestWorkDirectory work;
    cf::frame::About about;
    QVERIFY(ShowActive(&about));
    Save(about, "about");
}

QTEST_MAIN(WindowSnapshots)
#include "window_snapshots.moc"
