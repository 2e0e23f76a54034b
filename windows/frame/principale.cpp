// SPDX-License-Identifier: MIT
#include "windows/frame/principale.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTimer>
#include <QVBoxLayout>
#include <QVersionNumber>

#include <algorithm>
#include <cstdlib>

#include "cf/version.h"
#include "engine/storage/work_files.h"
#include "platform/message_box.h"
#include "platform/print_command.h"
#include "printouts/person_printouts.h"
#include "widgets/form_controls.h"
#include "widgets/help_viewer.h"
#include "widgets/toolbar.h"
#include "widgets/twips.h"
#include "widgets/widget_images.h"
#include "widgets/window_host.h"
#include "windows/archive/archive_transfer_commands.h"
#include "windows/frame/italian_date.h"
#include "windows/frame/program_icon.h"

namespace cf::frame {
namespace {

using widgets::kMessageTitle;
const QString kIconRoom(10, QLatin1Char(' '));

constexpr int kStatBarHeightTwips = 390;
constexpr int kDesignClientWidthTwips = 6390;
// The largest child window: the verification window's width and the
// generation window's height. The child area is made to hold it whole.
constexpr int kLargestChildWidthTwips = 8850;
constexpr int kLargestChildHeightTwips = 4470;

// Child windows have a title bar with a system menu, a minimise box and a
// close box; only a window that may be enlarged (the archive's) has a
// maximise box as well.
constexpr Qt::WindowFlags kChildFlags = Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                        | Qt::WindowCloseButtonHint;

// The frame: the same, as a top-level window, with a maximise box, since it
// may grow to give an enlarged child room.
constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                                        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                                        | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;

bool Resizable(const QWidget* window)
{
    return window->minimumSize() != window->maximumSize();
}

// "Codice fiscale - Versione 1.0": major and minor number of the program.
QString FrameCaption()
{
    const QVersionNumber version = QVersionNumber::fromString(QLatin1String(kVersion));
    return kMessageTitle
           + QStringLiteral(" - Versione %1.%2").arg(version.majorVersion()).arg(version.minorVersion());
}

// Room that a sub-window of the area takes around its content (title bar
// and borders) in the current style.
QSize SubWindowDecoration(QMdiArea* area)
{
    const QSize content(100, 100);
    QMdiSubWindow probe(area->viewport(), kChildFlags);
    auto* widget = new QWidget;
    widget->setFixedSize(content);
    probe.setWidget(widget);
    return probe.minimumSizeHint() - content;
}

// Closes the window (its sub-window, inside the frame) for good.
template <typename Window>
void CloseForGood(QPointer<Window>& window)
{
    if (!window)
        return;
    QWidget* host = widgets::HostWindow(window);
    host->setAttribute(Qt::WA_DeleteOnClose);
    if (host->close())
        window = nullptr;
}

}  // namespace

QString StatusDateText(const QDate& date)
{
    return kIconRoom + ItalianLongDate(date);
}

Principale::Principale(PrincipaleOptions options, QWidget* parent)
    : QMainWindow(parent, kFrameFlags), options_(std::move(options))
{
    setObjectName(QStringLiteral("Principale"));
    setWindowIcon(ProgramIcon());

    auto* client = new QWidget(this);
    auto* layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    toolbarSurface_ = new QWidget(client);
    toolbarSurface_->setObjectName(QStringLiteral("picCoolBar"));
    mdiArea_ = new QMdiArea(client);
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setFrameShape(QFrame::NoFrame);
    statusBarSurface_ = new QWidget(client);
    statusBarSurface_->setObjectName(QStringLiteral("StatBar"));
    statusBarSurface_->setFixedHeight(twips::ToPixels(kStatBarHeightTwips));
    layout->addWidget(toolbarSurface_);
    layout->addWidget(mdiArea_);
    layout->addWidget(statusBarSurface_);
    setCentralWidget(client);

    const QSize childArea =
        QSize(twips::ToPixels(kLargestChildWidthTwips), twips::ToPixels(kLargestChildHeightTwips))
        + SubWindowDecoration(mdiArea_);
    mdiArea_->setMinimumSize(std::max(childArea.width(), twips::ToPixels(kDesignClientWidthTwips)),
                             childArea.height());

    secondTimer_ = new QTimer(this);
    secondTimer_->setInterval(1000);
    connect(secondTimer_, &QTimer::timeout, this, &Principale::updateClock);
    toolbarTimer_ = new QTimer(this);
    toolbarTimer_->setInterval(55);

    setUpFrame();
    // F1 shows the help page of the window in use: each window names its
    // topic when it is made; the frame itself, and the generation window,
    // how the code is formed.
    widgets::InstallHelpKey(this, QLatin1String(widgets::kCodeHelpTopic));
    mainForm();
    // The clock starts once the generation window has loaded its place list
    // (with events running).
    if (!ended_)
        secondTimer_->start();
}

void Principale::setUpFrame()
{
    setWindowTitle(FrameCaption());
    createStatusBar();
    createToolbar();
    // The frame opens at its design size, and may only grow.
    setMinimumSize(sizeHint());
    resize(sizeHint());
}

void Principale::createStatusBar()
{
    statusBar_.SetParent(statusBarSurface_);
    statusBar_.Create();
    statusBar_.SetIcon(0, 1);
    statusBar_.SetIcon(1, 2);
    // How the printouts go, in place of the date.
    connect(&platform::PrintStatus::instance(), &platform::PrintStatus::changed, this,
            [this](const QString& text, bool lasting) {
                showStatusNote(text, lasting ? 0 : kStatusNoteSeconds);
            });
}

void Principale::createToolbar()
{
    toolbar_ = new widgets::Toolbar(this);
    toolbar_->Create(this, toolbarSurface_, QImage(widget_images::kToolbarStrip), toolbarTimer_);
    toolbar_->AddButton(QStringLiteral("Creazione"), QStringLiteral("Crea codice fiscale"));
    toolbar_->AddButton(QStringLiteral("Verifica"), QStringLiteral("Verifica codice fiscale"));
    toolbar_->AddButton(QStringLiteral("Archivio"), QStringLiteral("Archivio codici"));
    toolbar_->AddButton(QStringLiteral("Stampa"), QStringLiteral("Stampa codice fiscale"));
    toolbar_->AddButton(QStringLiteral("Info"), QStringLiteral("Informazioni sul programma"));
    toolbar_->AddButton(QStringLiteral("Esci"), QStringLiteral("Uscita dal programma"));
    toolbar_->AddBar(kArchivio);
    toolbar_->AddBar(kInfo);
    // Alt and the button's place in the row: no window uses a digit as its
    // accelerator, and Alt+digit means nothing else in a text box.
    for (int button = kCreazione; button <= kEsci; ++button)
        toolbar_->SetShortcut(button, QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + button)));
    toolbar_->SetShowText(true);
    toolbar_->SetBitmapSize(25, 25);
    toolbar_->EnableButton(kStampa, false);
    toolbar_->Refresh();
    connect(toolbar_, &widgets::Toolbar::ButtonClicked, this, &Principale::onToolbarButtonClicked);
}

void Principale::start()
{
    show();
    mainForm().showWindow();
    updateStatus();
}

generation::MainForm& Principale::mainForm()
{
    if (!mainForm_) {
        generation::PlaceListHooks hooks;
        hooks.endProgram = [this] {
            cleanUpWorkFiles();
            endProgram(EXIT_FAILURE);
        };
        auto* form = new generation::MainForm(nullptr, hooks);
        mainForm_ = form;
        if (!options_.archivePath.isEmpty())
            form->setArchivePath(options_.archivePath);
        form->setCardPresenter([this](const Person& person) { showCard(person); });
        connect(form, &generation::MainForm::codeChanged, this, &Principale::onCodeChanged);
        QMdiSubWindow* subWindow = addChild(form);
        // Closing the generation window only hides it, like switching away
        // from it: the person and the place list stay.
        subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        subWindow->hide();
    }
    return *mainForm_;
}

void Principale::closeChildWindows()
{
    CloseForGood(verifica_);
    CloseForGood(tesserino_);
    CloseForGood(archivio_);
    CloseForGood(about_);
}

void Principale::updateStatus()
{
    QString title = kIconRoom + kMessageTitle;
    statusBar_.DrawTextPic(0, title);
    QString date = statusNote_.isEmpty() ? StatusDateText(QDate::currentDate()) : kIconRoom + statusNote_;
    statusBar_.DrawTextPic(1, date);
}

void Principale::showStatusNote(const QString& note, int seconds)
{
    statusNote_ = note;
    statusNoteTicks_ = seconds;
    updateStatus();
}

void Principale::updateClock()
{
    updateStatus();
    if (statusNoteTicks_ > 0 && --statusNoteTicks_ == 0)
        statusNote_.clear();
}

// Only a code made for the data on screen is printed.
void Principale::onCodeChanged(const QString& code)
{
    printReady_ = !code.isEmpty();
    toolbar_->EnableButton(kStampa, printReady_);
}

bool Principale::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        updateStatus();
    return QMainWindow::event(event);
}

void Principale::closeEvent(QCloseEvent* event)
{
    cleanUpWorkFiles();
    event->accept();
    endProgram(EXIT_SUCCESS);
}

void Principale::onToolbarButtonClicked(int button)
{
    switch (button) {
    case kCreazione:
        closeChildWindows();
        showChild(&mainForm());
        break;
    case kVerifica:
        closeChildWindows();
        hideMainForm();
        verifica_ = new verification::Verifica();
        widgets::SetHelpTopic(verifica_, QStringLiteral("codicefiscale.htm#controllo"));
        showChild(verifica_);
        break;
    case kArchivio:
        closeChildWindows();
        hideMainForm();
        archivio_ = new archive::Archivio(options_.archivePath);
        widgets::SetHelpTopic(archivio_, QStringLiteral("varnel.htm#archivio"));
        // Persons imported show once the window has read the archive again.
        archive::AddTransferCommands(archivio_, options_.archivePath, [this] {
            QMetaObject::invokeMethod(
                this, [this] { onToolbarButtonClicked(kArchivio); }, Qt::QueuedConnection);
        });
        connect(archivio_, &archive::Archivio::personChosen, this, &Principale::showLoadedPerson);
        connect(archivio_, &archive::Archivio::statusNote, this,
                [this](const QString& note) { showStatusNote(note); });
        showChild(archivio_);
        break;
    case kStampa:
        onPrintCommand();
        break;
    case kInfo:
        closeChildWindows();
        hideMainForm();
        about_ = new About();
        widgets::SetHelpTopic(about_, QLatin1String(widgets::kCommandLineHelpTopic));
        showChild(about_);
        break;
    case kEsci:
        cleanUpWorkFiles();
        endProgram(EXIT_SUCCESS);
        break;
    default:
        break;
    }
}

// A print command given while a printout runs offers to cancel it.
void Principale::onPrintCommand()
{
    if (platform::OfferToCancelPrintout())
        return;
    if (!printReady_)
        return;
    const platform::MessageAnswer answer = platform::ShowMessage(
        MessageIcon::Question, kMessageTitle,
        QStringLiteral("Stampo il fac-simile del tesserino a colori?\n(se No stampo solo i dati)"),
        platform::MessageButtons::YesNoCancel);
    if (answer == platform::MessageAnswer::Yes)
        printCard();
    else if (answer == platform::MessageAnswer::No)
        platform::StartPrintout(DataSheet(mainForm().person()), PersonPrintFailure());
}

void Principale::printCard()
{
    generation::MainForm& form = mainForm();
    form.showCard();
    platform::StartPrintout(CardPrintout(form.person()), PersonPrintFailure());
}

void Principale::showCard(const Person& person)
{
    if (!tesserino_) {
        tesserino_ = new generation::Tesserino();
        widgets::SetHelpTopic(tesserino_, QStringLiteral("codicefiscale.htm#caratteri"));
        connect(tesserino_, &generation::Tesserino::returnRequested, this, [this] {
            showChild(&mainForm());
            mainForm().focusCode();
        });
    }
    tesserino_->setPerson(person);
    showChild(tesserino_);
}

void Principale::showLoadedPerson(const Person& person)
{
    mainForm().showPerson(person);
}

void Principale::hideMainForm()
{
    widgets::HostWindow(&mainForm())->hide();
}

void Principale::showChild(QWidget* window)
{
    auto* subWindow = qobject_cast<QMdiSubWindow*>(widgets::HostWindow(window));
    if (!subWindow)
        subWindow = addChild(window);
    // A sub-window's close box hides the window inside it too, and a
    // minimised one comes back at its size.
    window->show();
    if (subWindow->isMinimized())
        subWindow->showNormal();
    else
        subWindow->show();
    subWindow->raise();
    mdiArea_->setActiveSubWindow(subWindow);
}

QMdiSubWindow* Principale::addChild(QWidget* window)
{
    const bool resizable = Resizable(window);
    QMdiSubWindow* subWindow =
        mdiArea_->addSubWindow(window, resizable ? kChildFlags | Qt::WindowMaximizeButtonHint : kChildFlags);
    subWindow->setWindowIcon(windowIcon());
    subWindow->adjustSize();
    if (resizable) {
        subWindow->setMinimumSize(subWindow->minimumSizeHint());
        subWindow->resize(subWindow->size().boundedTo(mdiArea_->size()).expandedTo(subWindow->minimumSize()));
    } else
        subWindow->setFixedSize(subWindow->size());
    const QSize room = mdiArea_->size() - subWindow->size();
    subWindow->move(std::max(0, room.width() / 2), std::max(0, room.height() / 2));
    return subWindow;
}

// varnel.cod, if it is there (the help pages are shown from memory and
// never written).
void Principale::cleanUpWorkFiles()
{
    DeletePlaceFile();
}

void Principale::endProgram(int status)
{
    ended_ = true;
    secondTimer_->stop();
    if (options_.endProgram)
        options_.endProgram(status);
    else
        QCoreApplication::exit(status);
}

}  // namespace cf::frame
