// SPDX-License-Identifier: MIT
// The frame window: the print command following the generation window's
// code, the toolbar commands and the
// windows they show, the print question, the clean-up of the work files on
// "Esci" and on closing, and the status bar's date text.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <optional>

#include "cf/version.h"
#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/storage/work_files.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/print_command.h"
#include "platform/printer_choice.h"
#include "platform/shell_open.h"
#include "sample_person.h"
#include "tests/windows/generation/generation_test_support.h"
#include "widgets/help_viewer.h"
#include "widgets/toolbar.h"
#include "widgets/window_host.h"
#include "windows/frame/italian_date.h"
#include "windows/frame/principale.h"

using namespace cf::frame;
using cf::generation::MainForm;
using cf::platform::MessageAnswer;
using cf::widgets::HelpViewer;

namespace {

const QString kPrintQuestion =
    QStringLiteral("Stampo il fac-simile del tesserino a colori?\n(se No stampo solo i dati)");

// The windows inside the frame that can be seen.
QList<QWidget*> VisibleChildren(const Principale& frame)
{
    QList<QWidget*> visible;
    for (QMdiSubWindow* subWindow : frame.mdiArea()->subWindowList())
        if (subWindow->isVisible())
            visible.append(subWindow->widget());
    return visible;
}

// The person, as loaded back from the archive, without a code.
void FillPerson(MainForm& form)
{
    cf::Person person = cf::test::Lucia();
    person.code.clear();
    form.setPerson(person);
}

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class PrincipaleTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void captionAndGrowingFrame();
    void printButtonFollowsTheCurrentCode();
    void printButtonFollowsTheCodeWhileTheWindowIsHidden();
    void eachCommandShowsOnlyItsWindow();
    void keyboardReachesEveryCommandFromAChildWindow();
    void generatedCardLinksBackToTheData();
    void closedOrMinimisedWindowsComeBackWhole();
    void cancelInThePrintQuestionPrintsNothing();
    void printAnswersChooseCardOrDataSheet();
    void aFailedPrintoutOffersTheSamePrintoutAsAPdfFile();
    void esciRemovesOnlyThePlaceFileWithoutHelpPages();
    void helpPagesLeaveNoWorkFiles();
    void f1ShowsThePageOfTheWindowInUse();
    void importedPersonsShowInTheArchiveWindowAtOnce();
    void missingPlaceFileEndsTheProgram();
    void slowStartMakesOneGenerationWindow();
    void boxesInARowKeepTheirOwnerAndTheFocus();
    void statusDateIsItalianLongDateInProperCase();

private:
    Principale& StartFrame();
    void ClickButton(int button);
    QString WorkFile(const QString& name) const { return work_->path() + u'/' + name; }
    QString PrintedFile() const { return output_.filePath(QStringLiteral("printout.pdf")); }

    std::unique_ptr<TestWorkDirectory> work_;
    std::unique_ptr<cf::platform::MessageBoxRecorder> boxes_;
    std::unique_ptr<Principale> frame_;
    QTemporaryDir output_;
    QList<int> endings_;
};

void PrincipaleTest::init()
{
    work_ = std::make_unique<TestWorkDirectory>();
    boxes_ = std::make_unique<cf::platform::MessageBoxRecorder>();
    endings_.clear();
    QFile::remove(PrintedFile());
}

void PrincipaleTest::cleanup()
{
    frame_.reset();
    DeleteClosedWindows();
    boxes_.reset();
    work_.reset();
}

Principale& PrincipaleTest::StartFrame()
{
    PrincipaleOptions options;
    options.endProgram = [this](int status) { endings_.append(status); };
    options.archivePath = output_.filePath(QStringLiteral("codarc.dat"));
    frame_ = std::make_unique<Principale>(options);
    frame_->start();
    if (!QTest::qWaitForWindowExposed(frame_.get()))
        qWarning("frame not exposed");
    return *frame_;
}

// A mouse click in the middle of toolbar button `button`.
void PrincipaleTest::ClickButton(int button)
{
    const cf::widgets::Toolbar& bar = frame_->toolbar();
    const QPoint middle(bar.ButtonLeft(button) + bar.ButtonSize().width() / 2, bar.BarHeight() / 2);
    QTest::mouseClick(frame_->toolbarSurface(), Qt::LeftButton, {}, middle);
}

void PrincipaleTest::captionAndGrowingFrame()
{
    Principale& frame = StartFrame();
    const QStringList version = QString::fromLatin1(cf::kVersion).split(u'.');
    QCOMPARE(frame.windowTitle(),
             QStringLiteral("Codice fiscale - Versione %1.%2").arg(version[0], version[1]));
    // It opens at its design size, and may only grow.
    QVERIFY(frame.windowFlags() & Qt::WindowMaximizeButtonHint);
    QCOMPARE(frame.size(), frame.minimumSize());
    QVERIFY(frame.maximumSize().width() > frame.width());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&frame.mainForm()});
    QCOMPARE(frame.toolbarSurface()->height(), frame.toolbar().BarHeight() + 1);
}

// Stampa needs a code made for the data on screen; the main button's caption
// follows the province label.
void PrincipaleTest::printButtonFollowsTheCurrentCode()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();

    // Disabled at start: a click asks nothing.
    ClickButton(kStampa);
    QVERIFY(boxes_->requests().empty());

    // A province without a code prints nothing.
    FillPerson(form);
    QCOMPARE(form.generateButton()->text(), QStringLiteral("&Visualizza Codice Fiscale"));
    ClickButton(kStampa);
    QVERIFY(boxes_->requests().empty());

    form.setCode(QStringLiteral("BNCLCU85L43H501J"));
    ClickButton(kStampa);
    QCOMPARE(boxes_->requests().size(), std::size_t{1});

    // Data changed: the code has gone, and Stampa with it.
    form.firstNameBox()->setText(QStringLiteral("LUCA"));
    ClickButton(kStampa);
    QCOMPARE(boxes_->requests().size(), std::size_t{1});
    QVERIFY(!frame.toolbar().IsEnabled(kStampa));

    form.placeBox()->clear();
    QCOMPARE(form.generateButton()->text(), QStringLiteral("&Genera Codice Fiscale"));
}

// The generation window tells its code while it is hidden too.
void PrincipaleTest::printButtonFollowsTheCodeWhileTheWindowIsHidden()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    ClickButton(kVerifica);
    FillPerson(form);
    form.setCode(QStringLiteral("BNCLCU85L43H501J"));
    QVERIFY(frame.toolbar().IsEnabled(kStampa));
    form.firstNameBox()->setText(QStringLiteral("LUCA"));
    QVERIFY(!frame.toolbar().IsEnabled(kStampa));
}

void PrincipaleTest::eachCommandShowsOnlyItsWindow()
{
    cf::platform::ShellOpenRecorder shell;
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    FillPerson(form);
    form.setCode(QStringLiteral("BNCLCU85L43H501J"));

    const auto shownBy = [&](int button) -> QWidget* {
        switch (button) {
        case kVerifica:
            return frame.verifica();
        case kArchivio:
            return frame.archivio();
        default:
            return frame.about();
        }
    };
    for (const int button : {kVerifica, kArchivio, kInfo, kVerifica}) {
        ClickButton(button);
        DeleteClosedWindows();
        QWidget* window = shownBy(button);
        QVERIFY2(window, qPrintable(QStringLiteral("button %1").arg(button)));
        QCOMPARE(VisibleChildren(frame), QList<QWidget*>{window});
        QCOMPARE(frame.mdiArea()->subWindowList().size(), 2);  // and the hidden MainForm

        // A whole sub-window inside the child area; fixed, without maximise
        // box, but for the archive's, which may grow.
        QWidget* host = cf::widgets::HostWindow(window);
        QVERIFY(frame.mdiArea()->rect().contains(host->geometry()));
        const bool grows = button == kArchivio;
        QCOMPARE(host->minimumSize() != host->maximumSize(), grows);
        QCOMPARE(bool(host->windowFlags() & Qt::WindowMaximizeButtonHint), grows);
    }

    ClickButton(kCreazione);
    DeleteClosedWindows();
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&form});
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QVERIFY(!frame.verifica() && !frame.archivio() && !frame.about());
    QCOMPARE(form.surnameBox()->text(), QStringLiteral("BIANCHI"));
    QCOMPARE(form.placeBox()->text(), QStringLiteral("ROMA"));
    QCOMPARE(form.codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));
}

void PrincipaleTest::keyboardReachesEveryCommandFromAChildWindow()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    form.surnameBox()->setFocus();
    const QStringList tips = {"Crea codice fiscale (Alt+1)",
                              "Verifica codice fiscale (Alt+2)",
                              "Archivio codici (Alt+3)",
                              "Stampa codice fiscale (Alt+4)",
                              "Informazioni sul programma (Alt+5)",
                              "Uscita dal programma (Alt+6)"};
    for (int button = kCreazione; button <= kEsci; ++button)
        QCOMPARE(frame.toolbar().ToolTip(button), tips[button - 1]);

    QTest::keyClick(form.surnameBox(), Qt::Key_2, Qt::AltModifier);
    DeleteClosedWindows();
    QVERIFY(frame.verifica());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{frame.verifica()});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_1, Qt::AltModifier);
    DeleteClosedWindows();
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&form});

    // F10, then the arrows and Enter: Archivio.
    form.surnameBox()->setFocus();
    QTest::keyClick(form.surnameBox(), Qt::Key_F10);
    QVERIFY(frame.toolbarSurface()->hasFocus());
    QTest::keyClick(frame.toolbarSurface(), Qt::Key_Right);
    QTest::keyClick(frame.toolbarSurface(), Qt::Key_Right);
    QTest::keyClick(frame.toolbarSurface(), Qt::Key_Return);
    DeleteClosedWindows();
    QVERIFY(frame.archivio());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{frame.archivio()});

    // As README says: Tab goes round the controls of the window in use, from
    // the last back to the first; from the toolbar it goes on into the
    // window.
    QTest::keyClick(frame.toolbarSurface(), Qt::Key_1, Qt::AltModifier);
    form.codeLabel()->setFocus();
    QTest::keyClick(form.codeLabel(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form.surnameBox());
    QTest::keyClick(form.surnameBox(), Qt::Key_F10);
    QTest::keyClick(frame.toolbarSurface(), Qt::Key_Tab);
    QVERIFY(form.isAncestorOf(QApplication::focusWidget()));

    QTest::keyClick(frame.toolbarSurface(), Qt::Key_6, Qt::AltModifier);
    QCOMPARE(endings_, QList<int>{0});
}

void PrincipaleTest::generatedCardLinksBackToTheData()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    FillPerson(form);
    form.generateButton()->click();

    QVERIFY(frame.tesserino());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{frame.tesserino()});
    QCOMPARE(frame.tesserino()->label(1)->text(), QStringLiteral("BNCLCU85L43H501J"));
    QVERIFY(frame.mdiArea()->rect().contains(cf::widgets::HostWindow(frame.tesserino())->geometry()));

    QTest::mouseClick(frame.tesserino()->label(8), Qt::LeftButton);
    DeleteClosedWindows();
    QVERIFY(!frame.tesserino());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&form});
    QCOMPARE(form.codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));

    // From the keyboard: Esc on the card puts the keyboard on the code.
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    form.generateButton()->setFocus();
    QTest::keyClick(form.generateButton(), Qt::Key_Return);
    QVERIFY(frame.tesserino());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    DeleteClosedWindows();
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&form});
    QTRY_COMPARE(QApplication::focusWidget(), form.codeLabel());
}

void PrincipaleTest::closedOrMinimisedWindowsComeBackWhole()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    auto* host = qobject_cast<QMdiSubWindow*>(cf::widgets::HostWindow(&form));
    QVERIFY(host);

    // The title bar's close box, then Creazione.
    QVERIFY(host->close());
    ClickButton(kCreazione);
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&form});
    QVERIFY(form.isVisible());

    host->showMinimized();
    ClickButton(kCreazione);
    QVERIFY(!host->isMinimized());
    QVERIFY(form.isVisible());
    QCOMPARE(frame.mdiArea()->activeSubWindow(), host);

    // The card closed by its close box shows again on the next Generate.
    FillPerson(form);
    form.generateButton()->click();
    QVERIFY(frame.tesserino());
    QWidget* cardHost = cf::widgets::HostWindow(frame.tesserino());
    QVERIFY(cardHost->close());
    ClickButton(kCreazione);
    form.generateButton()->click();
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{frame.tesserino()});
    QVERIFY(frame.tesserino()->isVisible());
}

void PrincipaleTest::cancelInThePrintQuestionPrintsNothing()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    FillPerson(form);
    form.setCode(QStringLiteral("BNCLCU85L43H501J"));
    form.archiveButton()->setEnabled(false);
    boxes_->QueueAnswer(MessageAnswer::Cancel);
    ClickButton(kStampa);

    QCOMPARE(boxes_->requests().size(), std::size_t{1});
    const cf::platform::MessageRequest& question = boxes_->requests().front();
    QCOMPARE(question.text, kPrintQuestion);
    QCOMPARE(question.title, QStringLiteral("Codice fiscale"));
    QCOMPARE(question.icon, cf::MessageIcon::Question);
    QCOMPARE(question.buttons, cf::platform::MessageButtons::YesNoCancel);

    QVERIFY(!QFile::exists(PrintedFile()));
    QVERIFY(!frame.tesserino());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{&form});
    QVERIFY(!form.archiveButton()->isEnabled());
}

// Each answer asks where to print (here "Salva come PDF", then the file)
// and prints while the window goes on; the status bar says where it went.
void PrincipaleTest::printAnswersChooseCardOrDataSheet()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    FillPerson(form);
    form.setCode(QStringLiteral("BNCLCU85L43H501J"));
    form.archiveButton()->setEnabled(false);
    const TestDocumentsFolder documents;
    cf::platform::PrinterChoiceRecorder printers;
    cf::platform::SaveDialogRecorder dialogs;

    // Yes: the card window shows the person and the card is printed.
    boxes_->QueueAnswer(MessageAnswer::Yes);
    printers.QueueAnswer(cf::platform::PrintTarget::PdfFile());
    dialogs.QueueAnswer(PrintedFile());
    ClickButton(kStampa);
    QTRY_VERIFY(!cf::platform::PrintoutRunning());
    QVERIFY(QFile::exists(PrintedFile()));
    QCOMPARE(QFileInfo(dialogs.requests()[0].suggestedPath).fileName(),
             QStringLiteral("Tesserino BNCLCU85L43H501J.pdf"));
    QCOMPARE(frame.statusNote(), QStringLiteral("Salvato in ") + PrintedFile());
    QVERIFY(frame.tesserino());
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{frame.tesserino()});
    QCOMPARE(frame.tesserino()->label(2)->text(), QStringLiteral("BIANCHI"));
    QVERIFY(form.archiveButton()->isEnabled());
    QCOMPARE(boxes_->requests().size(), std::size_t{1});

    // No: the data sheet, with nothing else changed; the choice of a PDF
    // file is proposed again, and a name already taken gets a number.
    QFile::remove(PrintedFile());
    QFile taken(QDir(documents.path()).filePath(QStringLiteral("Dati BIANCHI LUCIA.pdf")));
    QVERIFY(taken.open(QIODevice::WriteOnly));
    taken.close();
    boxes_->QueueAnswer(MessageAnswer::No);
    printers.QueueAnswer(cf::platform::PrintTarget::PdfFile());
    dialogs.QueueAnswer(PrintedFile());
    ClickButton(kStampa);
    QTRY_VERIFY(!cf::platform::PrintoutRunning());
    QCOMPARE(printers.requests().back(), cf::platform::PrintTarget::PdfFile());
    QCOMPARE(QFileInfo(dialogs.requests()[1].suggestedPath).fileName(),
             QStringLiteral("Dati BIANCHI LUCIA (2).pdf"));
    QVERIFY(QFile::exists(PrintedFile()));
    QCOMPARE(VisibleChildren(frame), QList<QWidget*>{frame.tesserino()});
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {PrintedFile(), QStringLiteral("-")});
        QVERIFY(text.waitForFinished(30000));
        QVERIFY(QString::fromUtf8(text.readAllStandardOutput())
                    .contains(QStringLiteral("Codice fiscale di: LUCIA BIANCHI")));
    }

    // Cancelling the choice of printer prints nothing.
    QFile::remove(PrintedFile());
    boxes_->QueueAnswer(MessageAnswer::No);
    ClickButton(kStampa);
    QVERIFY(!cf::platform::PrintoutRunning());
    QCOMPARE(dialogs.requests().size(), std::size_t{2});
    QVERIFY(!QFile::exists(PrintedFile()));
}

// The test runs without a print server: the default printer fails, and its
// message offers the same printout as a PDF file.
void PrincipaleTest::aFailedPrintoutOffersTheSamePrintoutAsAPdfFile()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    FillPerson(form);
    form.setCode(QStringLiteral("BNCLCU85L43H501J"));
    const TestDocumentsFolder documents;
    cf::platform::PrinterChoiceRecorder printers;
    cf::platform::SaveDialogRecorder dialogs;

    boxes_->QueueAnswer(MessageAnswer::No);
    printers.QueueAnswer(cf::platform::PrintTarget::DefaultPrinter());
    boxes_->QueueAnswer(MessageAnswer::Yes);
    dialogs.QueueAnswer(PrintedFile());
    ClickButton(kStampa);
    QTRY_VERIFY(QFile::exists(PrintedFile()) && !cf::platform::PrintoutRunning());
    QCOMPARE(boxes_->requests().size(), std::size_t{2});
    const cf::platform::MessageRequest& failure = boxes_->requests()[1];
    QCOMPARE(failure.title, QStringLiteral("Zerez"));
    QCOMPARE(failure.icon, cf::MessageIcon::Exclamation);
    QCOMPARE(failure.buttons, cf::platform::MessageButtons::YesNo);
    QCOMPARE(failure.text,
             QStringLiteral("Errore di stampa\nNessuna stampante predefinita: il servizio di stampa "
                            "non è attivo\n\nVuoi salvare la stessa stampa in un file PDF?"));
    QCOMPARE(dialogs.requests()[0].suggestedPath,
             QDir(documents.path()).filePath(QStringLiteral("Dati BIANCHI LUCIA.pdf")));
    QCOMPARE(frame.statusNote(), QStringLiteral("Salvato in ") + PrintedFile());
    QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
    for (int second = 0; second < Principale::kStatusNoteSeconds; ++second)
        frame.updateClock();
    QVERIFY(frame.statusNote().isEmpty());

    // What a delete in the archive window did is noted the same way.
    ClickButton(kArchivio);
    QVERIFY(frame.archivio());
    emit frame.archivio()->statusNote(QStringLiteral("Eliminati i dati di ROSSI MARIO"));
    QCOMPARE(frame.statusNote(), QStringLiteral("Eliminati i dati di ROSSI MARIO"));
}

void PrincipaleTest::esciRemovesOnlyThePlaceFileWithoutHelpPages()
{
    StartFrame();
    QFile other(WorkFile(QStringLiteral("other.txt")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.close();
    QVERIFY(QFile::exists(work_->placeFile()));

    ClickButton(kEsci);
    QCOMPARE(endings_, QList<int>{0});
    QVERIFY(frame_->ended());
    QCOMPARE(QDir(work_->path()).entryList(QDir::Files), QStringList{QStringLiteral("other.txt")});
    QCOMPARE(boxes_->requests().size(), std::size_t{0});
}

void PrincipaleTest::helpPagesLeaveNoWorkFiles()
{
    for (const bool byClosing : {false, true}) {
        cf::platform::ShellOpenRecorder shell;
        if (!QFile::exists(work_->placeFile()))
            cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
        Principale& frame = StartFrame();
        endings_.clear();
        // The about window's buttons show both pages in the viewer, from
        // memory.
        ClickButton(kInfo);
        QVERIFY(frame.about());
        for (QPushButton* button : frame.about()->findChildren<QPushButton*>())
            button->click();
        QVERIFY(cf::widgets::OpenHelpViewer());
        QVERIFY(shell.urls().empty());
        QCOMPARE(QDir(work_->path()).entryList(QDir::Files),
                 QStringList{QFileInfo(work_->placeFile()).fileName()});
        cf::widgets::OpenHelpViewer()->close();

        if (byClosing)
            frame.close();
        else
            ClickButton(kEsci);
        QCOMPARE(endings_, QList<int>{0});
        QVERIFY(QDir(work_->path()).entryList(QDir::Files).isEmpty());
    }
}

void PrincipaleTest::f1ShowsThePageOfTheWindowInUse()
{
    Principale& frame = StartFrame();
    struct Row {
        int button;
        const char* focused;  // objectName of the control with the focus, or nullptr for the window
        QString topic;
    };
    const Row rows[] = {
        {kCreazione, "Text2", QStringLiteral("codicefiscale.htm")},
        {kCreazione, "Combo1", QStringLiteral("varnel.htm#tastiera")},
        {kCreazione, "List1_0", QStringLiteral("varnel.htm#tastiera")},
        {kVerifica, nullptr, QStringLiteral("codicefiscale.htm#controllo")},
        {kArchivio, nullptr, QStringLiteral("varnel.htm#archivio")},
        {kInfo, "Command1", QStringLiteral("varnel.htm")},
    };
    for (const Row& row : rows) {
        ClickButton(row.button);
        QWidget* window = row.button == kCreazione  ? static_cast<QWidget*>(&frame.mainForm())
                          : row.button == kVerifica ? static_cast<QWidget*>(frame.verifica())
                          : row.button == kArchivio ? static_cast<QWidget*>(frame.archivio())
                                                    : static_cast<QWidget*>(frame.about());
        QVERIFY(window);
        QWidget* target = row.focused ? window->findChild<QWidget*>(row.focused) : window;
        QVERIFY2(target, row.focused);
        QApplication::setActiveWindow(&frame);
        target->setFocus();
        QTest::keyClick(target, Qt::Key_F1);
        HelpViewer* viewer = cf::widgets::OpenHelpViewer();
        QVERIFY2(viewer, qPrintable(row.topic));
        QCOMPARE(viewer->browser()->source().toString(), row.topic);
        QVERIFY(!viewer->browser()->toPlainText().isEmpty());
        viewer->close();
        QTRY_VERIFY(!cf::widgets::OpenHelpViewer());
    }
}

void PrincipaleTest::importedPersonsShowInTheArchiveWindowAtOnce()
{
    QFile persons(output_.filePath(QStringLiteral("nuovi.csv")));
    QVERIFY(persons.open(QIODevice::WriteOnly));
    persons.write("Bianchi,Lucia,,F,3/7/85,Roma\nVerdi,Giancarlo,,M,10/02/1970,Milano\n");
    persons.close();
    cf::platform::SaveDialogRecorder dialogs;
    dialogs.QueueAnswer(persons.fileName());
    StartFrame();
    ClickButton(kArchivio);
    QPointer<cf::archive::Archivio> before = frame_->archivio();
    QVERIFY(before);
    QCOMPARE(before->model().rowCount(), 0);
    auto* button = before->findChild<QPushButton*>(QStringLiteral("cmdEsportaImporta"));
    QVERIFY(button && button->isVisible() && button->menu());
    button->menu()->actions().at(1)->trigger();
    QCOMPARE(boxes_->requests().back().icon, cf::MessageIcon::Information);
    // The window is made anew and reads the archive with the two persons.
    QTRY_VERIFY(!before);
    QVERIFY(frame_->archivio());
    QCOMPARE(frame_->archivio()->model().rowCount(), 2);
}

void PrincipaleTest::missingPlaceFileEndsTheProgram()
{
    QFile::remove(work_->placeFile());
    PrincipaleOptions options;
    options.endProgram = [this](int status) { endings_.append(status); };
    Principale frame(options);
    QVERIFY(frame.ended());
    QCOMPARE(endings_, QList<int>{1});
    QCOMPARE(boxes_->requests().size(), std::size_t{1});
    QCOMPARE(boxes_->requests().front().text, QStringLiteral("Non esiste l'archivio dati!"));
}

// Loading that outlasts the one-second poll (here: the missing-file message
// read for more than a second) makes no second generation window, splash or
// message.
void PrincipaleTest::slowStartMakesOneGenerationWindow()
{
    QFile::remove(work_->placeFile());
    PrincipaleOptions options;
    options.endProgram = [this](int status) {
        endings_.append(status);
        if (endings_.size() == 1)
            QTest::qWait(2200);
    };
    Principale frame(options);
    QTest::qWait(1200);
    QCOMPARE(endings_, QList<int>{1});
    QCOMPARE(boxes_->requests().size(), std::size_t{1});
    QCOMPARE(frame.mdiArea()->subWindowList().size(), 1);
    QCOMPARE(frame.findChildren<MainForm*>().size(), 1);
}

// A box right after another (as "Dati archiviati!" after a question) stands
// over the frame too, and the keyboard then goes back to the box it was in.
void PrincipaleTest::boxesInARowKeepTheirOwnerAndTheFocus()
{
    Principale& frame = StartFrame();
    MainForm& form = frame.mainForm();
    frame.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&frame));
    form.firstNameBox()->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), form.firstNameBox());

    boxes_.reset();  // real boxes, answered with Enter as soon as they show
    QList<QWidget*> owners;
    const auto answerNextBox = [&owners] {
        QTimer::singleShot(0, [&owners] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            owners.append(box->parentWidget());
            QTest::keyClick(box, Qt::Key_Return);
        });
    };
    for (const char* text : {"Archivio i dati?", "Dati archiviati!"}) {
        answerNextBox();
        cf::platform::ShowMessage(cf::MessageIcon::Information, QStringLiteral("Codice fiscale"),
                                  QString::fromUtf8(text));
    }
    QCOMPARE(owners, (QList<QWidget*>{&frame, &frame}));
    QTRY_COMPARE(QApplication::focusWidget(), form.firstNameBox());
}

void PrincipaleTest::statusDateIsItalianLongDateInProperCase()
{
    // Whatever the language of the system.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QCOMPARE(StatusDateText(QDate(2026, 12, 8)), QStringLiteral("          Martedì 8 Dicembre 2026"));
    QLocale::setDefault(previous);

    QCOMPARE(ItalianLongDate(QDate(2026, 12, 7)), QStringLiteral("Lunedì 7 Dicembre 2026"));
    QCOMPARE(ItalianLongDate(QDate(2026, 3, 1)), QStringLiteral("Domenica 1 Marzo 2026"));
    QCOMPARE(ItalianLongDate(QDate(2024, 2, 29)), QStringLiteral("Giovedì 29 Febbraio 2024"));
    QCOMPARE(ItalianLongDate(QDate(2027, 1, 1)), QStringLiteral("Venerdì 1 Gennaio 2027"));
    QVERIFY(ItalianLongDate(QDate()).isEmpty());
}

QTEST_MAIN(PrincipaleTest)
#include "principale_test.moc"
