#include "frame/principale.h"

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
#include "engine/work_files.h"
#include "frame/italian_date.h"
#include "frame/person_printouts.h"
#include "frame/program_icon.h"
#include "generation/window_host.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "widgets/coolbar.h"
#include "widgets/twips.h"
#include "widgets/widget_images.h"

namespace cf::frame {
namespace {

const QString kTitle = QStringLiteral("Codice fiscale");
const QString kIconRoom(10, QLatin1Char(' '));

constexpr int kStatBarHeightTwips = 390;
constexpr int kDesignClientWidthTwips = 6390;
// The largest child window: the archive window's width and the generation
// window's height. The child area is made to hold it whole.
constexpr int kLargestChildWidthTwips = 7350;
constexpr int kLargestChildHeightTwips = 4470;

// Child windows have a title bar with a system menu, a minimise box and a
// close box, but no maximise box.
constexpr Qt::WindowFlags kChildFlags = Qt::SubWindow | Qt::CustomizeWindowHint
                                        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                        | Qt::WindowMinimizeButtonHint
                                        | Qt::WindowCloseButtonHint;

// The frame: the same, as a top-level window.
constexpr Qt::WindowFlags kFrameFlags = Qt::Window | Qt::CustomizeWindowHint
                                        | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                                        | Qt::WindowMinimizeButtonHint
                                        | Qt::WindowCloseButtonHint;

// "Codice fiscale - Versione 1.0": major and minor number of the program.
QString FrameCaption()
{
    const QVersionNumber version = QVersionNumber::fromString(QLatin1String(kVersion));
    return kTitle + QStringLiteral(" - Versione %1.%2")
                        .arg(version.majorVersion())
                        .arg(version.minorVersion());
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
void Unload(QPointer<Window>& window)
{
    if (!window)
        return;
    QWidget* host = generation::HostWindow(window);
    host->setAttribute(Qt::WA_DeleteOnClose);
    if (host->close())
        window = nullptr;
}

PrintedPerson PersonOf(const generation::MainForm& form)
{
    return {form.Text2()->text(),  form.Text3()->text(), form.Text5()->text(),
            form.Text4()->text(),  form.placeName(),     form.Label8()->text(),
            form.Varnel()->text()};
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

    picCoolBar_ = new QWidget(client);
    picCoolBar_->setObjectName(QStringLiteral("picCoolBar"));
    picCoolBar_->setFocusPolicy(Qt::ClickFocus);
    mdiArea_ = new QMdiArea(client);
    mdiArea_->setObjectName(QStringLiteral("MDIClient"));
    mdiArea_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    mdiArea_->setFrameShape(QFrame::NoFrame);
    statBar_ = new QWidget(client);
    statBar_->setObjectName(QStringLiteral("StatBar"));
    statBar_->setFixedHeight(twips::ToPixels(kStatBarHeightTwips));
    layout->addWidget(picCoolBar_);
    layout->addWidget(mdiArea_);
    layout->addWidget(statBar_);
    setCentralWidget(client);

    const QSize childArea = QSize(twips::ToPixels(kLargestChildWidthTwips),
                                  twips::ToPixels(kLargestChildHeightTwips))
                            + SubWindowDecoration(mdiArea_);
    mdiArea_->setFixedSize(std::max(childArea.width(), twips::ToPixels(kDesignClientWidthTwips)),
                           childArea.height());

    timer1_ = new QTimer(this);
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, &Principale::Timer1_Timer);
    timerCoolBar_ = new QTimer(this);
    timerCoolBar_->setInterval(55);

    MDIForm_Load();
    mainForm();
}

void Principale::MDIForm_Load()
{
    setWindowTitle(FrameCaption());
    CreateStatusBar();
    CreateToolbar();
    // A fixed frame: no maximise box (see the flags) and no resizing.
    setFixedSize(sizeHint());
    timer1_->start();
}

void Principale::CreateStatusBar()
{
    statusBar_.SetParent(statBar_);
    statusBar_.Create();
    statusBar_.SetIcon(0, 1);
    statusBar_.SetIcon(1, 2);
}

void Principale::CreateToolbar()
{
    coolBar_ = new clsCoolbar(this);
    coolBar_->Create(this, picCoolBar_, QImage(widget_images::kToolbarStrip), timerCoolBar_);
    coolBar_->AddButton(QStringLiteral("Creazione"), QStringLiteral("Crea codice fiscale"));
    coolBar_->AddButton(QStringLiteral("Verifica"), QStringLiteral("Verifica codice fiscale"));
    coolBar_->AddButton(QStringLiteral("Archivio"), QStringLiteral("Archivio codici"));
    coolBar_->AddButton(QStringLiteral("Stampa"), QStringLiteral("Stampa codice fiscale"));
    coolBar_->AddButton(QStringLiteral("Info"), QStringLiteral("Informazioni sul programma"));
    coolBar_->AddButton(QStringLiteral("Esci"), QStringLiteral("Uscita dal programma"));
    coolBar_->AddBar(kArchivio);
    coolBar_->AddBar(kInfo);
    coolBar_->SetShowText(true);
    coolBar_->SetBitmapSize(25, 25);
    coolBar_->EnableButton(kStampa, false);
    coolBar_->Refresh();
    connect(coolBar_, &clsCoolbar::ButtonClicked, this, &Principale::picCoolBar_ButtonClicked);
}

void Principale::Start()
{
    show();
    mainForm().ShowWindow();
    UpDateStat();
}

generation::MainForm& Principale::mainForm()
{
    if (!mainForm_) {
        generation::PlaceListHooks hooks;
        hooks.endProgram = [this] {
            CleanUpWorkFiles();
            EndProgram(EXIT_FAILURE);
        };
        auto* form = new generation::MainForm(nullptr, hooks);
        mainForm_ = form;
        if (!options_.archivePath.isEmpty())
            form->setArchivePath(options_.archivePath);
        form->setCardPresenter([this](const generation::CardValues& values) { ShowCard(values); });
        QMdiSubWindow* subWindow = AddChild(form);
        // Closing the generation window only hides it, like switching away
        // from it: the person and the place list stay.
        subWindow->setAttribute(Qt::WA_DeleteOnClose, false);
        subWindow->hide();
    }
    return *mainForm_;
}

void Principale::Chiudi()
{
    Unload(verifica_);
    Unload(tesserino_);
    Unload(archivio_);
    Unload(about_);
}

void Principale::UpDateStat()
{
    QString title = kIconRoom + kTitle;
    statusBar_.DrawTextPic(0, title, 0);
    QString date = statusNote_.isEmpty() ? StatusDateText(QDate::currentDate())
                                         : kIconRoom + statusNote_;
    statusBar_.DrawTextPic(1, date, 1);
}

void Principale::ShowStatusNote(const QString& note)
{
    statusNote_ = note;
    statusNoteTicks_ = kStatusNoteSeconds;
    UpDateStat();
}

void Principale::Timer1_Timer()
{
    UpDateStat();
    if (statusNoteTicks_ > 0 && --statusNoteTicks_ == 0)
        statusNote_.clear();
    generation::MainForm& form = mainForm();
    const bool provinceShown = !form.Label8()->text().isEmpty();
    if (provinceShown && !printReady_) {
        coolBar_->EnableButton(kStampa, true);
        form.Command1()->setText(QStringLiteral("&Visualizza Codice Fiscale"));
        printReady_ = true;
    } else if (!provinceShown && printReady_) {
        coolBar_->EnableButton(kStampa, false);
        form.Command1()->setText(QStringLiteral("&Genera Codice Fiscale"));
        printReady_ = false;
    }
}

bool Principale::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        UpDateStat();
    return QMainWindow::event(event);
}

void Principale::closeEvent(QCloseEvent* event)
{
    CleanUpWorkFiles();
    event->accept();
    EndProgram(EXIT_SUCCESS);
}

void Principale::picCoolBar_ButtonClicked(int button)
{
    const auto provider = [this]() -> generation::MainForm& { return mainForm(); };
    switch (button) {
    case kCreazione:
        Chiudi();
        ShowChild(&mainForm());
        break;
    case kVerifica:
        Chiudi();
        HideMainForm();
        verifica_ = new verification::Verifica();
        ShowChild(verifica_);
        break;
    case kArchivio:
        Chiudi();
        HideMainForm();
        archivio_ = new archive::Archivio(provider, options_.archivePath);
        connect(archivio_, &archive::Archivio::savedToPdf, this, &Principale::NoteSavedFile);
        ShowChild(archivio_);
        break;
    case kStampa:
        PrintCommand();
        break;
    case kInfo:
        Chiudi();
        HideMainForm();
        about_ = new About();
        ShowChild(about_);
        break;
    case kEsci:
        CleanUpWorkFiles();
        EndProgram(EXIT_SUCCESS);
        break;
    default:
        break;
    }
}

void Principale::PrintCommand()
{
    const platform::PrintTarget target = platform::LookUpPrinter(options_.printTarget);
    if (target.lacksPrinter()) {
        SaveAsPdfCommand();
        return;
    }
    const platform::MessageAnswer answer = platform::ShowMessage(
        MessageIcon::Question, kTitle,
        QStringLiteral("Stampo il fac-simile del tesserino a colori?\n(se No stampo solo i dati)"),
        platform::MessageButtons::YesNoCancel);
    if (answer == platform::MessageAnswer::Yes)
        PrintCard(target);
    else if (answer == platform::MessageAnswer::No)
        PrintData(target);
}

// Without a default printer the same question offers a PDF file, and the
// status bar then says where it went.
void Principale::SaveAsPdfCommand()
{
    const platform::MessageAnswer answer = platform::ShowMessage(
        MessageIcon::Question, kTitle,
        QStringLiteral("Non c'è una stampante predefinita.\n"
                       "Salvo il fac-simile del tesserino a colori in un file PDF?\n"
                       "(se No salvo solo i dati)"),
        platform::MessageButtons::YesNoCancel);
    if (answer == platform::MessageAnswer::Cancel)
        return;
    const bool card = answer == platform::MessageAnswer::Yes;
    const QString file = platform::AskPdfFileName(card ? QStringLiteral("Tesserino.pdf")
                                                       : QStringLiteral("Codice fiscale.pdf"));
    if (file.isEmpty())
        return;
    const platform::PrintTarget pdf = platform::PrintTarget::PdfFile(file);
    if (card ? PrintCard(pdf) : PrintData(pdf))
        NoteSavedFile(file);
}

bool Principale::PrintCard(const platform::PrintTarget& target)
{
    generation::MainForm& form = mainForm();
    form.Command3()->setEnabled(true);
    HideMainForm();
    const PrintedPerson person = PersonOf(form);
    ShowCard({person.code, person.surname, person.firstName, person.sex, person.birthPlace,
              person.province, person.birthDate});
    return frame::PrintCard(person, tesserino_->Picture1()->pixmap().toImage(), target);
}

bool Principale::PrintData(const platform::PrintTarget& target)
{
    return frame::PrintData(PersonOf(mainForm()), target);
}

void Principale::NoteSavedFile(const QString& file)
{
    ShowStatusNote(QStringLiteral("Salvato in ") + QDir::toNativeSeparators(file));
}

void Principale::ShowCard(const generation::CardValues& values)
{
    if (!tesserino_) {
        tesserino_ = new generation::Tesserino();
        connect(tesserino_, &generation::Tesserino::returnRequested, this,
                [this] { ShowChild(&mainForm()); });
    }
    tesserino_->Fill(values);
    ShowChild(tesserino_);
}

void Principale::HideMainForm()
{
    generation::HostWindow(&mainForm())->hide();
}

void Principale::ShowChild(QWidget* window)
{
    auto* subWindow = qobject_cast<QMdiSubWindow*>(generation::HostWindow(window));
    if (!subWindow)
        subWindow = AddChild(window);
    subWindow->show();
    subWindow->raise();
    mdiArea_->setActiveSubWindow(subWindow);
}

QMdiSubWindow* Principale::AddChild(QWidget* window)
{
    QMdiSubWindow* subWindow = mdiArea_->addSubWindow(window, kChildFlags);
    subWindow->setWindowIcon(windowIcon());
    subWindow->adjustSize();
    subWindow->setFixedSize(subWindow->size());
    const QSize room = mdiArea_->size() - subWindow->size();
    subWindow->move(std::max(0, room.width() / 2), std::max(0, room.height() / 2));
    return subWindow;
}

// varnel.cod, then the help pages written by the about window; each only if
// it is there.
void Principale::CleanUpWorkFiles()
{
    DeletePlaceFile();
    DeleteWorkFile(kCommandLineHelpFile);
    DeleteWorkFile(kCodeHelpFile);
}

void Principale::EndProgram(int status)
{
    ended_ = true;
    if (options_.endProgram)
        options_.endProgram(status);
    else
        QCoreApplication::exit(status);
}

}  // namespace cf::frame
