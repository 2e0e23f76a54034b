// SPDX-License-Identifier: MIT
// The archive window driven through real mouse events, with the message
// boxes answered by a recorder and the pop-up menu by a presenter of the test.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>

#include "archive/archivio.h"
#include "generation/main_form.h"
#include "generation_test_support.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/print_command.h"
#include "platform/printer_choice.h"
#include "widgets/multi_column_list.h"

using cf::MessageIcon;
using cf::archive::Archivio;
using cf::generation::MainForm;
using cf::platform::MessageAnswer;
using cf::platform::MessageBoxRecorder;

namespace {

const QByteArray kVerdi =
    "\"VERDI\",\"GIUSEPPE\",\"VRDGPP13R10B320Y\",\"M\",\"10/10/13\",\"BUSSETO\",\"PR\"\r\n";
const QByteArray kBianchi =
    "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n";
const QByteArray kRossi = "\"ROSSI\",\"MARIO\",\"RSSMRA80A01F205X\",\"M\",\"01/01/80\",\"MILANO\",\"MI\"\r\n";

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ClickRow(QListWidget* column, int row, Qt::MouseButton button = Qt::LeftButton)
{
    const QPoint center = column->visualItemRect(column->item(row)).center();
    QTest::mouseClick(column->viewport(), button, {}, center);
}

}  // namespace

class ArchivioTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void openingShowsTheRowsSortedWithNothingSelected();
    void missingArchiveOpensEmpty();
    void unusableArchiveOpensEmptyAndSaysWhy();
    void clickInAnyColumnSelectsTheRowInAllSeven();
    void loadBringsThePersonBackIntoTheGenerationWindow();
    void doubleClickLoadsToo();
    void deletingRewritesTheFileInDisplayOrder();
    void deletingTheLastRowDisablesEverything();
    void failedRewriteLosesNothing();
    void fileChangedSinceLoadingIsNotOverwritten();
    void popUpMenuOnlyWithASelection();
    void keyboardReachesEveryCommand();
    void scrollBarBesideThePrintCommandMovesAllColumns();
    void printingAsksFirst();
    void aFailedPrintoutOffersTheArchiveAsAPdfFile();

private:
    void WriteArchive(const QByteArray& content);
    Archivio& Open();
    MainForm& mainForm();
    QByteArray ArchiveContent() const;

    std::unique_ptr<TestWorkDirectory> work_;
    std::optional<MessageBoxRecorder> recorder_;
    std::unique_ptr<MainForm> mainForm_;
    QPointer<Archivio> window_;
    QString archivePath_;
};

void ArchivioTest::init()
{
    work_ = std::make_unique<TestWorkDirectory>();
    recorder_.emplace();
    archivePath_ = QDir(work_->path()).filePath(QStringLiteral("codarc.dat"));
}

void ArchivioTest::cleanup()
{
    delete window_;
    DeleteClosedWindows();
    mainForm_.reset();
    recorder_.reset();
    work_.reset();
}

void ArchivioTest::WriteArchive(const QByteArray& content)
{
    QFile file(archivePath_);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

QByteArray ArchivioTest::ArchiveContent() const
{
    QFile file(archivePath_);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing");
}

Archivio& ArchivioTest::Open()
{
    window_ = new Archivio([this]() -> MainForm& { return mainForm(); }, archivePath_);
    ShowActive(window_);
    return *window_;
}

MainForm& ArchivioTest::mainForm()
{
    if (!mainForm_)
        mainForm_ = std::make_unique<MainForm>();
    return *mainForm_;
}

void ArchivioTest::openingShowsTheRowsSortedWithNothingSelected()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    window_ = new Archivio([this]() -> MainForm& { return mainForm(); }, archivePath_);
    QVERIFY(window_->Command1()->isEnabled() && window_->Command2()->isEnabled());
    QVERIFY(ShowActive(window_));

    cf::widgets::MultiColumnList& list = window_->list();
    QCOMPARE(list.ListCount(), 3);
    QCOMPARE(list.List(0, 0), QStringLiteral("BIANCHI"));
    QCOMPARE(list.List(1, 0), QStringLiteral("ROSSI"));
    QCOMPARE(list.List(2), QStringLiteral("VERDI\tGIUSEPPE\tVRDGPP13R10B320Y\tM\t10/10/13\tBUSSETO\tPR"));
    QCOMPARE(list.ListIndex(), -1);
    QVERIFY(!window_->Command1()->isEnabled());
    QVERIFY(!window_->Command2()->isEnabled());
    QVERIFY(window_->Command3()->isEnabled());
    for (int i = 0; i < Archivio::kColumnCount; ++i)
        QCOMPARE(window_->List1(i)->isVisible(), i < 3);
    QVERIFY(!window_->VScroll1()->isVisible());
    QCOMPARE(window_->size(), QSize(490, 295));
    QCOMPARE(window_->List1(1)->geometry(), QRect(144, 64, 125, 147));
    QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("Label2_2"))->text(),
             QStringLiteral("Codice fiscale"));
    QVERIFY(recorder_->requests().empty());
    // The file keeps its order until a deletion rewrites it.
    QCOMPARE(ArchiveContent(), kVerdi + kBianchi + kRossi);
}

void ArchivioTest::missingArchiveOpensEmpty()
{
    Archivio& window = Open();
    QCOMPARE(window.list().ListCount(), 0);
    QVERIFY(!window.Command1()->isEnabled());
    QVERIFY(!window.Command2()->isEnabled());
    QVERIFY(!window.Command3()->isEnabled());
    QVERIFY(recorder_->requests().empty());
}

void ArchivioTest::unusableArchiveOpensEmptyAndSaysWhy()
{
    // A symbolic link in the archive's place that leads nowhere.
    QVERIFY(QFile::link(QDir(work_->path()).filePath(QStringLiteral("mancante")), archivePath_));
    Archivio& window = Open();
    QCOMPARE(window.list().ListCount(), 0);
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Critical);
    QVERIFY2(recorder_->requests()[0].text.startsWith(QStringLiteral("L'archivio ") + archivePath_
                                                      + QStringLiteral(" è un collegamento simbolico")),
             qPrintable(recorder_->requests()[0].text));
}

void ArchivioTest::clickInAnyColumnSelectsTheRowInAllSeven()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    ClickRow(window.List1(1), 2);
    for (int i = 0; i < Archivio::kColumnCount; ++i) {
        QCOMPARE(window.List1(i)->currentRow(), 2);
        QVERIFY(window.List1(i)->currentItem()->isSelected());
    }
    QVERIFY(window.Command1()->isEnabled());
    QVERIFY(window.Command2()->isEnabled());
    ClickRow(window.List1(2), 0);
    QCOMPARE(window.List1(6)->currentRow(), 0);
}

void ArchivioTest::loadBringsThePersonBackIntoTheGenerationWindow()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    mainForm().Text2()->setText(QStringLiteral("PREVIOUS"));
    ClickRow(window.List1(1), 1);
    QTest::mouseClick(window.Command1(), Qt::LeftButton);

    MainForm& form = mainForm();
    QCOMPARE(form.Text2()->text(), QStringLiteral("ROSSI"));
    QCOMPARE(form.Text3()->text(), QStringLiteral("MARIO"));
    QCOMPARE(form.Varnel()->text(), QStringLiteral("RSSMRA80A01F205X"));
    QCOMPARE(form.Text5()->text(), QStringLiteral("M"));
    QCOMPARE(form.Text4()->text(), QStringLiteral("01/01/80"));
    QCOMPARE(form.Combo1()->text(), QStringLiteral("MILANO"));
    QCOMPARE(form.Label8()->text(), QStringLiteral("MI"));
    QVERIFY(form.Command3()->isEnabled());  // the code enables archiving
    QVERIFY(form.isVisible());
    DeleteClosedWindows();
    QVERIFY(window_.isNull());
    QVERIFY(recorder_->requests().empty());
}

void ArchivioTest::doubleClickLoadsToo()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    // The first click of a double click selects the row.
    QListWidget* column = window.List1(2);
    ClickRow(column, 2);
    QTest::mouseDClick(column->viewport(), Qt::LeftButton, {},
                       column->visualItemRect(column->item(2)).center());
    QCOMPARE(mainForm().Text2()->text(), QStringLiteral("VERDI"));
    QCOMPARE(mainForm().Label8()->text(), QStringLiteral("PR"));
    DeleteClosedWindows();
    QVERIFY(window_.isNull());
}

void ArchivioTest::deletingRewritesTheFileInDisplayOrder()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    ClickRow(window.List1(0), 0);
    QTest::mouseClick(window.Command2(), Qt::LeftButton);

    QCOMPARE(ArchiveContent(), kRossi + kVerdi);
    QCOMPARE(window.list().ListCount(), 2);
    for (int i = 0; i < Archivio::kColumnCount; ++i) {
        QCOMPARE(window.List1(i)->count(), 2);
        QCOMPARE(window.List1(i)->currentRow(), 1);
    }
    QCOMPARE(window.list().Text(0), QStringLiteral("VERDI"));
    QVERIFY(window.Command1()->isEnabled());
    QVERIFY(window.Command2()->isEnabled());
    QVERIFY(window.Command3()->isEnabled());
    QVERIFY(recorder_->requests().empty());
}

void ArchivioTest::deletingTheLastRowDisablesEverything()
{
    WriteArchive(kBianchi);
    Archivio& window = Open();
    ClickRow(window.List1(2), 0);
    QTest::mouseClick(window.Command2(), Qt::LeftButton);

    QCOMPARE(window.list().ListCount(), 0);
    QVERIFY(QFile::exists(archivePath_));
    QCOMPARE(ArchiveContent(), QByteArray());
    QVERIFY(!window.Command1()->isEnabled());
    QVERIFY(!window.Command2()->isEnabled());
    QVERIFY(!window.Command3()->isEnabled());
}

void ArchivioTest::failedRewriteLosesNothing()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    // A directory where the archive was: the rewrite cannot replace it.
    QVERIFY(QFile::remove(archivePath_));
    QVERIFY(QDir().mkdir(archivePath_));
    ClickRow(window.List1(0), 0);
    QTest::mouseClick(window.Command2(), Qt::LeftButton);

    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Critical);
    QCOMPARE(recorder_->requests()[0].title, QStringLiteral("Codice fiscale"));
    QVERIFY(!recorder_->requests()[0].text.isEmpty());
    QCOMPARE(window.list().ListCount(), 3);
    QCOMPARE(window.list().ListIndex(), 0);
    QCOMPARE(window.list().List(0, 0), QStringLiteral("BIANCHI"));
    QVERIFY(QFileInfo(archivePath_).isDir());
}

void ArchivioTest::fileChangedSinceLoadingIsNotOverwritten()
{
    WriteArchive(kVerdi + kBianchi);
    Archivio& window = Open();
    // Another instance of the program archives a person meanwhile.
    QFile file(archivePath_);
    QVERIFY(file.open(QIODevice::Append));
    file.write(kRossi);
    file.close();

    ClickRow(window.List1(0), 0);
    QTest::mouseClick(window.Command2(), Qt::LeftButton);
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Critical);
    QCOMPARE(ArchiveContent(), kVerdi + kBianchi + kRossi);
    QCOMPARE(window.list().ListCount(), 2);
}

void ArchivioTest::popUpMenuOnlyWithASelection()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    int popups = 0;
    window.setPopupPresenter([&popups](QMenu& menu, const QPoint&) {
        ++popups;
        QCOMPARE(menu.actions().size(), 1);
        QCOMPARE(menu.actions()[0]->text(), QStringLiteral("Copia CF negli appunti"));
        menu.actions()[0]->trigger();
    });

    ClickRow(window.List1(1), 1, Qt::RightButton);
    QCOMPARE(popups, 0);
    QCOMPARE(window.list().ListIndex(), -1);

    ClickRow(window.List1(0), 0);
    ClickRow(window.List1(2), 2, Qt::RightButton);
    QCOMPARE(popups, 1);
    QCOMPARE(window.list().ListIndex(), 0);  // a right click selects nothing
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Information);
    QCOMPARE(recorder_->requests()[0].title, QStringLiteral("Codice fiscale"));
    QCOMPARE(recorder_->requests()[0].text, QStringLiteral("Codice fiscale copiato negli appunti!"));
}

void ArchivioTest::keyboardReachesEveryCommand()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    QCOMPARE(window.windowTitle(), QStringLiteral("Archivio codici fiscali"));
    int popups = 0;
    window.setPopupPresenter([&popups](QMenu& menu, const QPoint& position) {
        ++popups;
        QVERIFY(!position.isNull());
        menu.actions()[0]->trigger();
    });

    // Arrows select a row in every column, as a click does.
    QListWidget* surnames = window.List1(0);
    surnames->setFocus();
    QTest::keyClick(surnames, Qt::Key_Down);
    const int row = window.list().ListIndex();
    QVERIFY(row >= 0);
    QTest::keyClick(surnames, Qt::Key_Home);
    QTest::keyClick(surnames, Qt::Key_Down);
    QCOMPARE(window.list().ListIndex(), 1);
    QCOMPARE(window.list().Text(0), QStringLiteral("ROSSI"));
    QCOMPARE(window.list().Text(2), QStringLiteral("RSSMRA80A01F205X"));
    QVERIFY(window.Command1()->isEnabled());
    QVERIFY(window.Command2()->isEnabled());

    // The menu key opens the copy menu at the selected row.
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(surnames, &menuKey);
    QCOMPARE(popups, 1);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("RSSMRA80A01F205X"));

    // Enter loads the person into the generation window.
    QTest::keyClick(surnames, Qt::Key_Return);
    QCOMPARE(mainForm().Text2()->text(), QStringLiteral("ROSSI"));
    QCOMPARE(mainForm().Varnel()->text(), QStringLiteral("RSSMRA80A01F205X"));
    QVERIFY(mainForm().Command3()->isEnabled());
    DeleteClosedWindows();
    QVERIFY(window_.isNull());
}

void ArchivioTest::scrollBarBesideThePrintCommandMovesAllColumns()
{
    QByteArray content;
    for (int i = 1; i <= 40; ++i)
        content += QStringLiteral("\"P%1\",\"N\",\"C%1\",\"M\",\"01/01/80\",\"ROMA\",\"RM\"\r\n")
                       .arg(i, 2, 10, QLatin1Char('0'))
                       .toLatin1();
    WriteArchive(content);
    Archivio& window = Open();
    QScrollBar* scrollBar = window.VScroll1();
    QVERIFY(scrollBar->isVisible());
    QCOMPARE(scrollBar->geometry(), QRect(450, 240, 18, 43));
    QVERIFY(scrollBar->x() > window.Command3()->geometry().right());
    QVERIFY(scrollBar->maximum() > 0);

    scrollBar->setValue(5);
    for (int i = 0; i < Archivio::kColumnCount; ++i)
        QCOMPARE(window.List1(i)->verticalScrollBar()->value(), 5);
    ClickRow(window.List1(1), 7);
    QCOMPARE(window.list().Text(2), QStringLiteral("C08"));
}

void ArchivioTest::printingAsksFirst()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    const TestDocumentsFolder documents;
    cf::platform::PrinterChoiceRecorder printers;
    cf::platform::SaveDialogRecorder dialogs;
    const QString pdf = QDir(work_->path()).filePath(QStringLiteral("archivio.pdf"));

    QTest::mouseClick(window.Command3(), Qt::LeftButton);
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Question);
    QCOMPARE(recorder_->requests()[0].title, QStringLiteral("Codice Fiscale"));
    QCOMPARE(recorder_->requests()[0].text, QStringLiteral("Vuoi stampare l'intero archivio?"));
    QCOMPARE(recorder_->requests()[0].buttons, cf::platform::MessageButtons::YesNo);
    QVERIFY(printers.requests().empty());

    // Yes, then a cancelled choice of printer: nothing is printed.
    recorder_->QueueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(window.Command3(), Qt::LeftButton);
    QCOMPARE(printers.requests().size(), 1u);
    QVERIFY(!cf::platform::PrintoutRunning());
    QCOMPARE(window.list().ListIndex(), -1);

    // The rows print from the list as it is; the last row is then selected.
    recorder_->QueueAnswer(MessageAnswer::Yes);
    printers.QueueAnswer(cf::platform::PrintTarget::PdfFile());
    dialogs.QueueAnswer(pdf);
    QTest::mouseClick(window.Command3(), Qt::LeftButton);
    QCOMPARE(window.list().ListIndex(), 2);
    QCOMPARE(window.List1(5)->currentRow(), 2);
    QVERIFY(window.Command1()->isEnabled());
    QTRY_VERIFY(!cf::platform::PrintoutRunning());
    QCOMPARE(recorder_->requests().size(), 3u);
    QVERIFY(QFileInfo(pdf).size() > 0);
    QCOMPARE(QFileInfo(dialogs.requests()[0].suggestedPath).fileName(),
             QStringLiteral("Archivio codici %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate)));
}

// The test runs without a print server: the default printer fails, and the
// message offers the same listing as a PDF file.
void ArchivioTest::aFailedPrintoutOffersTheArchiveAsAPdfFile()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    const TestDocumentsFolder documents;
    cf::platform::PrinterChoiceRecorder printers;
    cf::platform::SaveDialogRecorder dialogs;
    const QString pdf = QDir(documents.path()).filePath(QStringLiteral("elenco.pdf"));

    recorder_->QueueAnswer(MessageAnswer::Yes);
    printers.QueueAnswer(cf::platform::PrintTarget::DefaultPrinter());
    recorder_->QueueAnswer(MessageAnswer::Yes);
    dialogs.QueueAnswer(pdf);
    QTest::mouseClick(window.Command3(), Qt::LeftButton);
    QTRY_VERIFY(QFile::exists(pdf) && !cf::platform::PrintoutRunning());
    QCOMPARE(recorder_->requests().size(), 2u);
    const cf::platform::MessageRequest& failure = recorder_->requests()[1];
    QCOMPARE(failure.title, QStringLiteral("Zade: errore"));
    QCOMPARE(failure.icon, MessageIcon::Critical);
    QCOMPARE(failure.buttons, cf::platform::MessageButtons::YesNo);
    QVERIFY2(failure.text.startsWith(
                 QStringLiteral("Errore nell'esecuzione della stampa.\n 482: Nessuna stampante")),
             qPrintable(failure.text));
    QVERIFY(failure.text.endsWith(QStringLiteral("\n\nVuoi salvare la stessa stampa in un file PDF?")));
    QCOMPARE(QFile::permissions(pdf),
             QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
}

QTEST_MAIN(ArchivioTest)
#include "archivio_test.moc"
