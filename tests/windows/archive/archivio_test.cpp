// SPDX-License-Identifier: MIT
// The archive window driven through real mouse events, with the message
// boxes answered by a recorder and the pop-up menu by a presenter of the test.

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
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

QPoint HeaderCenter(const Archivio& window, int column)
{
    const QHeaderView* header = window.personTable()->horizontalHeader();
    return QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                  header->height() / 2);
}

void ClickRow(QTableView* list, int row, int column, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(list->viewport(), button, {}, CellCenter(list, row, column));
}

// The titles of the list's columns, left to right, as shown.
QStringList ColumnTitles(const QTableView* list)
{
    QStringList titles;
    const QHeaderView* header = list->horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int column = header->logicalIndex(visual);
        if (!list->isColumnHidden(column) && !header->isHidden())
            titles.append(list->model()->headerData(column, Qt::Horizontal).toString());
    }
    return titles;
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
    void theListScrollsByItsOwnScrollBar();
    void printingAsksFirst();
    void aFailedPrintoutOffersTheArchiveAsAPdfFile();
    void ctrlCCopiesTheCodeFromAnyColumn();
    void typingFiltersAtOnceAndEscShowsAllAgain();
    void deleteAndUndoActOnThePersonFoundWhateverTheOrder();
    void aClickOnAColumnTitleOrdersByIt();
    void screenReadersSeeOneTableWithColumnTitles();
    void theWindowGrowsAndKeepsItsSizeUntilTheEnd();

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
    // Every field shows, under its title: surname, first name and code
    // where the original showed them, then sex, date, place and province.
    QTableView* list = window_->personTable();
    QCOMPARE(ColumnTitles(list), (QStringList{"Cognome", "Nome", "Codice fiscale", "Sesso", "Data di nascita",
                                              "Luogo", "Provincia"}));
    for (const auto& [column, left] : {std::pair{1, 144}, std::pair{2, 256}})
        QCOMPARE(list->viewport()->mapTo(window_, QPoint(list->columnViewportPosition(column), 0)).x(), left);
    QCOMPARE(window_->size(), QSize(490, 295));
    QCOMPARE(list->geometry(), QRect(16, 66, 458, 174));
    QVERIFY(list->geometry().bottom() < window_->loadButton()->y());
    QCOMPARE(list->accessibleName(), QStringLiteral("Persone archiviate"));
    QCOMPARE(window_->countLabel()->text(), QStringLiteral("3 di 3 persone"));
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

void ArchivioTest::theListScrollsByItsOwnScrollBar()
{
    QByteArray content;
    for (int i = 1; i <= 40; ++i)
        content += QStringLiteral("\"P%1\",\"N\",\"C%1\",\"M\",\"01/01/80\",\"ROMA\",\"RM\"\r\n")
                       .arg(i, 2, 10, QLatin1Char('0'))
                       .toLatin1();
    WriteArchive(content);
    Archivio& window = Open();
    QScrollBar* scrollBar = window.personTable()->verticalScrollBar();
    QVERIFY(scrollBar->isVisible());
    QCOMPARE(scrollBar->objectName(), QStringLiteral("VScroll1"));
    QVERIFY(window.personTable()->geometry().contains(scrollBar->mapTo(&window, QPoint(0, 0))));

    scrollBar->setValue(5);
    QCOMPARE(window.personTable()->rowAt(0), 5);
    ClickRow(window.personTable(), 7, 1);
    QCOMPARE(window.model().person(window.selectedRow()).code, "C08");
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

// The code of the selected row, whichever cell the keyboard is on; the
// status bar says so, no box interrupts.
void ArchivioTest::ctrlCCopiesTheCodeFromAnyColumn()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    QSignalSpy notes(&window, &Archivio::statusNote);
    QTableView* list = window.personTable();
    QApplication::clipboard()->setText(QStringLiteral("prima"));
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("prima"));  // no row, no copy
    for (const int column : {0, 1, 2, 3}) {
        ClickRow(list, 1, column);
        QCOMPARE(list->currentIndex().row(), 1);
        QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("RSSMRA80A01F205X"));
    }
    QCOMPARE(notes.size(), 4);
    QCOMPARE(notes[0][0].toString(), QStringLiteral("Codice fiscale RSSMRA80A01F205X copiato negli appunti"));
    QVERIFY(recorder_->requests().empty());
}

// Each key typed filters on every field, case and accents aside; the
// selected person stays selected while shown; Esc shows everyone again.
void ArchivioTest::typingFiltersAtOnceAndEscShowsAllAgain()
{
    const QByteArray kNicolo =
        "\"D'\xC0VILA\",\"N\xCC\x43OL\xD2\",\"DVLNCL80A01F205X\",\"M\",\"01/01/80\",\"MILANO\",\"MI\"\r\n";
    WriteArchive(kVerdi + kBianchi + kRossi + kNicolo);
    Archivio& window = Open();
    ClickRow(window.personTable(), 2, 0);
    QCOMPARE(window.model().person(2).surname, "ROSSI");
    QLineEdit* search = window.searchBox();
    QTest::keyClick(&window, Qt::Key_T, Qt::AltModifier);
    QVERIFY(search->hasFocus());

    const struct {
        QString typed;
        QStringList rows;
        QString count;
        int selected;
    } steps[] = {
        {"m", {"BIANCHI", "D'ÀVILA", "ROSSI", "VERDI"}, "4 di 4 persone", 2},
        {"mi", {"D'ÀVILA", "ROSSI"}, "2 di 4 persone", 1},
        {"mil", {"D'ÀVILA", "ROSSI"}, "2 di 4 persone", 1},
        {"mil nìc", {"D'ÀVILA"}, "1 di 4 persone", -1},
        {"mil nìcx", {}, "0 di 4 persone", -1},
    };
    for (const auto& step : steps) {
        for (const QChar typed : step.typed.mid(search->text().size()))
            QTest::sendKeyEvent(QTest::Click, search, Qt::Key_unknown, QString(typed), Qt::NoModifier);
        QCOMPARE(search->text(), step.typed);
        QCOMPARE(Surnames(window), step.rows);
        QCOMPARE(window.countLabel()->text(), step.count);
        QCOMPARE(window.selectedRow(), step.selected);
        QCOMPARE(window.loadButton()->isEnabled(), step.selected >= 0);
    }
    search->setText(QStringLiteral("rssmra"));
    QCOMPARE(Surnames(window), QStringList{"ROSSI"});
    // Enter goes on to the rows found.
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(window.personTable()->hasFocus());
    QCOMPARE(window.selectedRow(), 0);
    search->setFocus();
    QTest::keyClick(search, Qt::Key_Escape);
    QCOMPARE(search->text(), QString());
    QCOMPARE(Surnames(window), (QStringList{"BIANCHI", "D'ÀVILA", "ROSSI", "VERDI"}));
    QCOMPARE(window.model().person(window.selectedRow()).surname, "ROSSI");
    QCOMPARE(window.countLabel()->text(), QStringLiteral("4 di 4 persone"));
    // The selected row stays marked while the keyboard is in the box.
    const QPalette colours = window.personTable()->palette();
    QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
             colours.color(QPalette::Active, QPalette::Highlight));
    QVERIFY(window.isVisible());  // Esc in an empty box closes nothing either
    QTest::keyClick(search, Qt::Key_Escape);
    QVERIFY(window.isVisible());
}

// A delete in a filtered, ordered list takes the person on the row, and
// the file keeps the archive's order; Ctrl+Z brings the person back in
// sight even when the search has changed meanwhile.
void ArchivioTest::deleteAndUndoActOnThePersonFoundWhateverTheOrder()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    QTest::mouseClick(window.personTable()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                      HeaderCenter(window, cf::archive::ArchiveModel::kBirthDate));
    QCOMPARE(Surnames(window), (QStringList{"ROSSI", "BIANCHI", "VERDI"}));
    window.searchBox()->setText(QStringLiteral("rm"));
    QCOMPARE(Surnames(window), (QStringList{"BIANCHI"}));
    window.searchBox()->setText(QStringLiteral("m"));
    QCOMPARE(Surnames(window), (QStringList{"ROSSI", "BIANCHI", "VERDI"}));
    window.searchBox()->setText(QStringLiteral("mi"));
    QCOMPARE(Surnames(window), (QStringList{"ROSSI"}));
    ClickRow(window.personTable(), 0, 1);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    QCOMPARE(ArchiveContent(), kBianchi + kVerdi);
    QCOMPARE(Surnames(window), QStringList{});
    QCOMPARE(window.countLabel()->text(), QStringLiteral("0 di 2 persone"));
    QVERIFY(!window.deleteButton()->isEnabled());

    window.searchBox()->setText(QStringLiteral("verdi"));
    window.undoDeleteAction()->trigger();
    QCOMPARE(window.searchBox()->text(), QString());
    QCOMPARE(Surnames(window), (QStringList{"ROSSI", "BIANCHI", "VERDI"}));
    QCOMPARE(window.model().person(window.selectedRow()).surname, "ROSSI");
    QCOMPARE(ArchiveContent(), kBianchi + kRossi + kVerdi);

    // In date order the second row is BIANCHI, the archive's first person;
    // the next row, VERDI, is selected after.
    ClickRow(window.personTable(), 1, 0);
    QTest::mouseClick(window.deleteButton(), Qt::LeftButton);
    QCOMPARE(ArchiveContent(), kRossi + kVerdi);
    QCOMPARE(Surnames(window), (QStringList{"ROSSI", "VERDI"}));
    QCOMPARE(window.model().person(window.selectedRow()).surname, "VERDI");
    QVERIFY(recorder_->requests().empty());
}

// Clicks on a title order by that column, then the other way round; dates
// as dates, whatever the digits of their year; the file keeps its order.
void ArchivioTest::aClickOnAColumnTitleOrdersByIt()
{
    const QByteArray kNeri = "\"NERI\",\"ANNA\",\"NRENNA90A41H501X\",\"F\",\"1/1/2001\",\"ROMA\",\"RM\"\r\n";
    WriteArchive(kVerdi + kBianchi + kRossi + kNeri);
    Archivio& window = Open();
    ClickRow(window.personTable(), 1, 0);  // NERI
    using Model = cf::archive::ArchiveModel;
    const struct {
        int column;
        QStringList rows;
        Qt::SortOrder order;
    } clicks[] = {
        // 10/10/13 is 2013, 1/1/2001 before it.
        {Model::kBirthDate, {"ROSSI", "BIANCHI", "NERI", "VERDI"}, Qt::AscendingOrder},
        {Model::kBirthDate, {"VERDI", "NERI", "BIANCHI", "ROSSI"}, Qt::DescendingOrder},
        {Model::kFirstName, {"NERI", "VERDI", "BIANCHI", "ROSSI"}, Qt::AscendingOrder},
        {Model::kPlace, {"VERDI", "ROSSI", "BIANCHI", "NERI"}, Qt::AscendingOrder},
        {Model::kCode, {"BIANCHI", "NERI", "ROSSI", "VERDI"}, Qt::AscendingOrder},
        {Model::kCode, {"VERDI", "ROSSI", "NERI", "BIANCHI"}, Qt::DescendingOrder},
    };
    for (const auto& click : clicks) {
        QTest::mouseClick(window.personTable()->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          HeaderCenter(window, click.column));
        QCOMPARE(Surnames(window), click.rows);
        QCOMPARE(window.personTable()->horizontalHeader()->sortIndicatorSection(), click.column);
        QCOMPARE(window.personTable()->horizontalHeader()->sortIndicatorOrder(), click.order);
        QCOMPARE(window.model().person(window.selectedRow()).surname, "NERI");
    }
    QCOMPARE(ArchiveContent(), kVerdi + kBianchi + kRossi + kNeri);
}

// One table, with a title for each column, and the window's title read
// once (by the window's name, the picture of it is painted).
void ArchivioTest::screenReadersSeeOneTableWithColumnTitles()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(window.personTable());
    QVERIFY(table && table->tableInterface());
    QCOMPARE(table->role(), QAccessible::Table);
    QCOMPARE(table->text(QAccessible::Name), QStringLiteral("Persone archiviate"));
    QCOMPARE(table->tableInterface()->rowCount(), 3);
    QCOMPARE(table->tableInterface()->columnCount(), cf::kArchiveFieldCount);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(1, cf::archive::ArchiveModel::kBirthDate);
    QVERIFY(cell && cell->tableCellInterface());
    QCOMPARE(cell->text(QAccessible::Name), QStringLiteral("01/01/80"));
    const QList<QAccessibleInterface*> titles = cell->tableCellInterface()->columnHeaderCells();
    QCOMPARE(titles.size(), 1);
    QCOMPARE(titles[0]->text(QAccessible::Name), QStringLiteral("Data di nascita"));
    QVERIFY(window.personTable()->horizontalHeader()->isVisible());

    int titlesRead = 0;
    for (const QLabel* label : window.findChildren<QLabel*>())
        titlesRead += label->text() == window.windowTitle() ? 1 : 0;
    QCOMPARE(titlesRead, 0);
    QCOMPARE(window.windowTitle(), QStringLiteral("Archivio codici fiscali"));
    QCOMPARE(QAccessible::queryAccessibleInterface(window.searchBox())->text(QAccessible::Name),
             QStringLiteral("Trova"));
    QCOMPARE(QAccessible::queryAccessibleInterface(window.countLabel())->text(QAccessible::Name),
             QStringLiteral("Persone mostrate: 3 di 3 persone"));
}

// Enlarged, the list takes the room and the commands stay at the bottom;
// the next window of the run opens at that size. (Last: the size lasts.)
void ArchivioTest::theWindowGrowsAndKeepsItsSizeUntilTheEnd()
{
    WriteArchive(kVerdi + kBianchi + kRossi);
    Archivio& window = Open();
    QCOMPARE(window.minimumSize(), QSize(490, 295));
    QVERIFY(window.maximumSize().width() > 490 && window.maximumSize().height() > 295);
    const QRect list = window.personTable()->geometry();
    const QRect load = window.loadButton()->geometry();
    window.resize(800, 600);
    QCOMPARE(window.personTable()->geometry(), list.adjusted(0, 0, 310, 305));
    QCOMPARE(window.loadButton()->geometry(), load.translated(0, 305));
    QCOMPARE(window.printButton()->y(), load.y() + 305);
    QVERIFY(window.countLabel()->geometry().right() > 700);
    const QHeaderView* titles = window.personTable()->horizontalHeader();
    QVERIFY(titles->sectionViewportPosition(cf::archive::ArchiveModel::kProvince)
                + titles->sectionSize(cf::archive::ArchiveModel::kProvince)
            <= window.personTable()->viewport()->width());
    delete window_;

    Archivio& again = Open();
    QCOMPARE(again.size(), QSize(800, 600));
    QCOMPARE(again.personTable()->geometry(), list.adjusted(0, 0, 310, 305));
}

QTEST_MAIN(ArchivioTest)
#include "archivio_test.moc"
