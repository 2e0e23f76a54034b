// SPDX-License-Identifier: MIT
// The archive window driven through real mouse events, with the message
// boxes answered by a recorder and the pop-up menu by a presenter of the test.

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>
#include <utility>

#include "generation_test_support.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/print_command.h"
#include "platform/printer_choice.h"
#include "windows/archive/archivio.h"
#include "windows/generation/main_form.h"

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

QPoint CellCenter(const QTableView* list, int row, int column)
{
    return list->visualRect(list->model()->index(row, column)).center();
}

void ClickRow(QTableView* list, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(list->viewport(), button, {}, CellCenter(list, row, column));
}

// The surnames of the list's rows, in order.
QStringList Surnames(const Archivio& window)
{
    QStringList surnames;
    for (int row = 0; row < window.model().rowCount(); ++row)
        surnames.append(QString::fromStdString(window.model().person(row).surname));
    return surnames;
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
    void deletingFromTheKeyboardMovesToTheNextRowAndCtrlZUndoes();
    void undoAfterAnotherProgramChangedTheFileLosesNoOne();
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
    Archivio* NewWindow();
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

// The archive window, whose chosen person the generation window shows, as
// the frame has it.
Archivio* ArchivioTest::NewWindow()
{
    auto* window = new Archivio(archivePath_);
    QObject::connect(window, &Archivio::personChosen,
                     [this](const cf::Person& person) { mainForm().showPerson(person); });
    return window;
}

Archivio& ArchivioTest::Open()
{
    window_ = NewWindow();
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
    window_ = NewWindow();
    QVERIFY(window_->loadButton()->isEnabled() && window_->deleteButton()->isEnabled());
    QVERIFY(ShowActive(window_));

    const cf::archive::ArchiveModel& model = window_->model();
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(Surnames(*window_), (QStringList{"BIANCHI", "ROSSI", "VERDI"}));
    QCOMPARE(model.person(2), (cf::Person{.surname = "VERDI",
                                          .firstName = "GIUSEPPE",
                                          .sex = "M",
                                          .birthDate = "10/10/13",
                                          .place = "BUSSETO",
                                          .province = "PR",
                                          .code = "VRDGPP13R10B320Y"}));
    QCOMPARE(model.data(model.index(2, 1)).toString(), QStringLiteral("GIUSEPPE"));
    QCOMPARE(model.headerData(4, Qt::Horizontal).toString(), QStringLiteral("Data di nascita"));
    QCOMPARE(window_->selectedRow(), -1);
    QVERIFY(!window_->loadButton()->isEnabled());
    QVERIFY(!window_->deleteButton()->isEnabled());
    QVERIFY(window_->printButton()->isEnabled());
    // Surname, first name and code show where their captions are.
    QTableView* list = window_->personTable();
    for (int i = 0; i < cf::kArchiveFieldCount; ++i)
        QCOMPARE(list->isColumnHidden(i), i >= 3);
    QVERIFY(!window_->scrollBar()->isVisible());
    QCOMPARE(window_->size(), QSize(490, 295));
    QCOMPARE(list->geometry(), QRect(16, 64, 396, 147));
    QCOMPARE(list->accessibleName(), QStringLiteral("Persone archiviate"));
    // The columns start where the original's list boxes did.
    for (const auto& [column, left] : {std::pair{1, 144}, std::pair{2, 256}})
        QCOMPARE(list->viewport()->mapTo(window_, QPoint(list->columnViewportPosition(column), 0)).x(), left);
    QCOMPARE(window_->findChild<QLabel*>(QStringLiteral("Label2_2"))->text(),
             QStringLiteral("Codice fiscale"));
    QVERIFY(recorder_->requests().empty());
    // The file keeps its order until a deletion rewrites it.
    QCOMPARE(ArchiveContent(), kVerdi + kBianchi + kRossi);
}

void ArchivioTest::missingArchiveOpensEmpty()
{
    Archivio& window = Open();
    QCOMPARE(window.model().rowCount(), 0);
    QVERIFY(!window.loadButton()->isEnabled());
    QVERIFY(!window.deleteButton()->isEnabled());
    QVERIFY(!window.printButton()->isEnabled());
    QVERIFY(recorder_->requests().empty());
}

void ArchivioTest::unusableArchiveOpensEmptyAndSaysWhy()
{
    // A symbolic link in the archive's place that leads nowhere.
    QVERIFY(QFile::link(QDir(work_->path()).filePath(QStringLiteral("mancante")), archivePath_));
    Archivio& window = Open();
    QCOMPARE(window.model().rowCount(), 0);
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
    ClickRow(window.personTable(), 2, 1);
    QCOMPARE(window.selectedRow(), 2);
    for (int i = 0; i < cf::kArchiveFieldCount; ++i)
        QVERIFY(window.personTable()->selectionModel()->isSelected(window.model().index(2, i)));
    QVERIFY(window.loadButton()->isEnabled());
    QVERIFY(window.deleteButton()->isEnabled());
    ClickRow(window.personTable(), 0, 2);
    QCOMPARE(window.selectedRow(), 0);
    QCOMPARE(window.personTable()->selectionModel()->selectedRows().size(), 1);
}

void ArchivioTest::loadBringsThePersonBackIntoTheGenerationWindow()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    mainForm().surnameBox()->setText(QStringLiteral("PREVIOUS"));
    ClickRow(window.personTable(), 1, 1);
    QTest::mouseClick(window.loadButton(), Qt::LeftButton);

    MainForm& form = mainForm();
    QCOMPARE(form.surnameBox()->text(), QStringLiteral("ROSSI"));
    QCOMPARE(form.firstNameBox()->text(), QStringLiteral("MARIO"));
    QCOMPARE(form.codeLabel()->text(), QStringLiteral("RSSMRA80A01F205X"));
    QCOMPARE(form.sexBox()->text(), QStringLiteral("M"));
    QCOMPARE(form.birthDateBox()->text(), QStringLiteral("01/01/80"));
    QCOMPARE(form.placeBox()->text(), QStringLiteral("MILANO"));
    QCOMPARE(form.provinceLabel()->text(), QStringLiteral("MI"));
    QVERIFY(form.archiveButton()->isEnabled());  // the code enables archiving
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
    QTableView* list = window.personTable();
    ClickRow(list, 2, 2);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, CellCenter(list, 2, 2));
    QCOMPARE(mainForm().surnameBox()->text(), QStringLiteral("VERDI"));
    QCOMPARE(mainForm().provinceLabel()->text(), QStringLiteral("PR"));
    DeleteClosedWindows();
    QVERIFY(window_.isNull());
}

void ArchivioTest::deletingRewritesTheFileInDisplayOrder()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    QSignalSpy notes(&window, &Archivio::statusNote);
    ClickRow(window.personTable(), 0, 0);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);

    QCOMPARE(ArchiveContent(), kRossi + kVerdi);
    QCOMPARE(Surnames(window), (QStringList{"ROSSI", "VERDI"}));
    // The row after the deleted one is the current one now.
    QCOMPARE(window.selectedRow(), 0);
    QVERIFY(window.loadButton()->isEnabled());
    QVERIFY(window.deleteButton()->isEnabled());
    QVERIFY(window.printButton()->isEnabled());
    QVERIFY(recorder_->requests().empty());
    QCOMPARE(notes.size(), 1);
    QCOMPARE(notes[0][0].toString(),
             QStringLiteral("Eliminati i dati di BIANCHI LUCIA (Ctrl+Z per ripristinarli)"));
}

// Keys alone: the arrows pick a row, Alt+E deletes it and moves to the
// next one (the one before, at the end), never to a row nobody picked at
// the other end of the list; Ctrl+Z puts the last person deleted back.
void ArchivioTest::deletingFromTheKeyboardMovesToTheNextRowAndCtrlZUndoes()
{
    const QByteArray kNeri = "\"NERI\",\"ANNA\",\"NRENNA90A41H501X\",\"F\",\"01/01/90\",\"ROMA\",\"RM\"\r\n";
    WriteArchive(kVerdi + kNeri + kBianchi + kRossi);
    Archivio& window = Open();
    QSignalSpy notes(&window, &Archivio::statusNote);
    window.personTable()->setFocus();
    QTest::keyClick(window.personTable(), Qt::Key_Home);
    QTest::keyClick(window.personTable(), Qt::Key_Down);
    QCOMPARE(window.selectedRow(), 1);  // NERI
    QVERIFY(!window.undoDeleteAction()->isEnabled());

    struct Step {
        QKeyCombination key;
        QStringList rows;
        int selected;
        QByteArray file;
    };
    const Step steps[] = {
        {Qt::ALT | Qt::Key_E, {"BIANCHI", "ROSSI", "VERDI"}, 1, kBianchi + kRossi + kVerdi},
        {Qt::ALT | Qt::Key_E, {"BIANCHI", "VERDI"}, 1, kBianchi + kVerdi},
        {Qt::ALT | Qt::Key_E, {"BIANCHI"}, 0, kBianchi},
        {Qt::CTRL | Qt::Key_Z, {"BIANCHI", "VERDI"}, 1, kBianchi + kVerdi},
        {Qt::CTRL | Qt::Key_Z, {"BIANCHI", "VERDI"}, 1, kBianchi + kVerdi},  // only the last one
    };
    for (const Step& step : steps) {
        QTest::keyClick(window.focusWidget(), step.key.key(), step.key.keyboardModifiers());
        // A button's mnemonic clicks it a moment later, as a mouse would.
        QTRY_COMPARE(Surnames(window), step.rows);
        QCOMPARE(window.selectedRow(), step.selected);
        QCOMPARE(ArchiveContent(), step.file);
    }
    QCOMPARE(notes.size(), 4);
    QCOMPARE(notes[2][0].toString(),
             QStringLiteral("Eliminati i dati di VERDI GIUSEPPE (Ctrl+Z per ripristinarli)"));
    QCOMPARE(notes[3][0].toString(), QStringLiteral("Ripristinati i dati di VERDI GIUSEPPE"));
    QVERIFY(!window.undoDeleteAction()->isEnabled());
    QVERIFY(recorder_->requests().empty());
}

// A person archived by another instance between a delete and its undoing:
// the undo is refused and the list shows the file as it now is; a second
// Ctrl+Z then puts the deleted person back beside the new one.
void ArchivioTest::undoAfterAnotherProgramChangedTheFileLosesNoOne()
{
    WriteArchive(kVerdi + kBianchi);
    Archivio& window = Open();
    ClickRow(window.personTable(), 0, 0);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    QCOMPARE(ArchiveContent(), kVerdi);
    QFile file(archivePath_);
    QVERIFY(file.open(QIODevice::Append));
    file.write(kRossi);
    file.close();

    window.undoDeleteAction()->trigger();
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Critical);
    QVERIFY2(recorder_->requests()[0].text.endsWith(QStringLiteral(
                 "modificato da un altro programma dopo la sua lettura: non è stato riscritto. L'elenco è "
                 "stato aggiornato: ripetere l'operazione.")),
             qPrintable(recorder_->requests()[0].text));
    QCOMPARE(ArchiveContent(), kVerdi + kRossi);
    QCOMPARE(Surnames(window), (QStringList{"ROSSI", "VERDI"}));

    window.undoDeleteAction()->trigger();
    QCOMPARE(ArchiveContent(), kBianchi + kRossi + kVerdi);
    QCOMPARE(Surnames(window), (QStringList{"BIANCHI", "ROSSI", "VERDI"}));
    QCOMPARE(window.selectedRow(), 0);
    QCOMPARE(recorder_->requests().size(), 1u);
}

void ArchivioTest::deletingTheLastRowDisablesEverything()
{
    WriteArchive(kBianchi);
    Archivio& window = Open();
    ClickRow(window.personTable(), 0, 2);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);

    QCOMPARE(window.model().rowCount(), 0);
    QVERIFY(QFile::exists(archivePath_));
    QCOMPARE(ArchiveContent(), QByteArray());
    QVERIFY(!window.loadButton()->isEnabled());
    QVERIFY(!window.deleteButton()->isEnabled());
    QVERIFY(!window.printButton()->isEnabled());
}

void ArchivioTest::failedRewriteLosesNothing()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    // A directory where the archive was: the rewrite cannot replace it.
    QVERIFY(QFile::remove(archivePath_));
    QVERIFY(QDir().mkdir(archivePath_));
    ClickRow(window.personTable(), 0, 0);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);

    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Critical);
    QCOMPARE(recorder_->requests()[0].title, QStringLiteral("Codice fiscale"));
    QCOMPARE(recorder_->requests()[0].text,
             QStringLiteral("Impossibile scrivere l'archivio %1: è una cartella.").arg(archivePath_));
    QCOMPARE(Surnames(window), (QStringList{"BIANCHI", "ROSSI", "VERDI"}));
    QCOMPARE(window.selectedRow(), 0);
    QVERIFY(!window.undoDeleteAction()->isEnabled());
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

    ClickRow(window.personTable(), 0, 0);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Critical);
    QCOMPARE(recorder_->requests()[0].text,
             QStringLiteral(
                 "L'archivio %1 è stato modificato da un altro programma dopo la sua lettura: non è stato "
                 "riscritto. L'elenco è stato aggiornato: ripetere l'operazione.")
                 .arg(archivePath_));
    QCOMPARE(ArchiveContent(), kVerdi + kBianchi + kRossi);
    // The list shows the file as it now is, with nothing selected.
    QCOMPARE(Surnames(window), (QStringList{"BIANCHI", "ROSSI", "VERDI"}));
    QCOMPARE(window.selectedRow(), -1);
    QVERIFY(!window.deleteButton()->isEnabled());
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

    ClickRow(window.personTable(), 1, 1, Qt::RightButton);
    QCOMPARE(popups, 0);
    QCOMPARE(window.selectedRow(), -1);

    ClickRow(window.personTable(), 0, 0);
    ClickRow(window.personTable(), 2, 2, Qt::RightButton);
    QCOMPARE(popups, 1);
    QCOMPARE(window.selectedRow(), 0);  // a right click selects nothing
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

    // Arrows select a row in every column, as a click does; Tab leaves the
    // list.
    QTableView* surnames = window.personTable();
    surnames->setFocus();
    QTest::keyClick(surnames, Qt::Key_Down);
    QCOMPARE(window.selectedRow(), 0);
    QTest::keyClick(surnames, Qt::Key_End);
    QCOMPARE(window.selectedRow(), 2);
    QTest::keyClick(surnames, Qt::Key_Home);
    QTest::keyClick(surnames, Qt::Key_Down);
    QTest::keyClick(surnames, Qt::Key_Right);
    QCOMPARE(window.selectedRow(), 1);
    QCOMPARE(window.model().person(1).surname, "ROSSI");
    QCOMPARE(surnames->currentIndex().column(), 0);
    QVERIFY(window.loadButton()->isEnabled());
    QVERIFY(window.deleteButton()->isEnabled());

    // The menu key opens the copy menu at the selected row.
    QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(surnames, &menuKey);
    QCOMPARE(popups, 1);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("RSSMRA80A01F205X"));

    // Enter loads the person into the generation window.
    QTest::keyClick(surnames, Qt::Key_Return);
    QCOMPARE(mainForm().surnameBox()->text(), QStringLiteral("ROSSI"));
    QCOMPARE(mainForm().codeLabel()->text(), QStringLiteral("RSSMRA80A01F205X"));
    QVERIFY(mainForm().archiveButton()->isEnabled());
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
    QScrollBar* scrollBar = window.scrollBar();
    QVERIFY(scrollBar->isVisible());
    QCOMPARE(scrollBar->geometry(), QRect(450, 240, 18, 43));
    QVERIFY(scrollBar->x() > window.printButton()->geometry().right());
    QVERIFY(scrollBar->maximum() > 0);

    scrollBar->setValue(5);
    QCOMPARE(window.personTable()->rowAt(0), 5);
    ClickRow(window.personTable(), 7, 1);
    QCOMPARE(window.model().person(window.selectedRow()).code, "C08");
    // The wheel, or keys, scroll the list: the scroll bar follows.
    QTest::keyClick(window.personTable(), Qt::Key_End);
    QCOMPARE(scrollBar->value(), scrollBar->maximum());
}

void ArchivioTest::printingAsksFirst()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    const TestDocumentsFolder documents;
    cf::platform::PrinterChoiceRecorder printers;
    cf::platform::SaveDialogRecorder dialogs;
    const QString pdf = QDir(work_->path()).filePath(QStringLiteral("archivio.pdf"));

    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Question);
    QCOMPARE(recorder_->requests()[0].title, QStringLiteral("Codice Fiscale"));
    QCOMPARE(recorder_->requests()[0].text, QStringLiteral("Vuoi stampare l'intero archivio?"));
    QCOMPARE(recorder_->requests()[0].buttons, cf::platform::MessageButtons::YesNo);
    QVERIFY(printers.requests().empty());

    // Yes, then a cancelled choice of printer: nothing is printed.
    recorder_->QueueAnswer(MessageAnswer::Yes);
    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    QCOMPARE(printers.requests().size(), 1u);
    QVERIFY(!cf::platform::PrintoutRunning());
    QCOMPARE(window.selectedRow(), -1);

    // The rows print from the list as it is; the last row is then selected.
    recorder_->QueueAnswer(MessageAnswer::Yes);
    printers.QueueAnswer(cf::platform::PrintTarget::PdfFile());
    dialogs.QueueAnswer(pdf);
    QTest::mouseClick(window.printButton(), Qt::LeftButton);
    QCOMPARE(window.selectedRow(), 2);
    QVERIFY(window.loadButton()->isEnabled());
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
    QTest::mouseClick(window.printButton(), Qt::LeftButton);
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
