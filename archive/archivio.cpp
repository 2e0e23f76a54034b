#include "archive/archivio.h"

#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include <vector>

#include "archive/archive_printout.h"
#include "engine/archive_file.h"
#include "generation/fonts.h"
#include "generation/main_form.h"
#include "generation/window_host.h"
#include "platform/clipboard.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "widgets/multi_listbox.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"

namespace cf::archive {
namespace {

const QString kTitle = QStringLiteral("Codice fiscale");
// The print question has a title of its own.
const QString kPrintTitle = QStringLiteral("Codice Fiscale");
const QColor kBackground(0, 192, 192);

// Column of each field of an archive record.
enum Column { kSurname, kFirstName, kCode, kSex, kBirthDate, kPlace, kProvince };

// A caption at its place, at least as large as its text so that none of
// it is cut off.
QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& box,
                  const QFont& font)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setFont(font);
    label->setGeometry(QRect(box.topLeft(), box.size().expandedTo(label->sizeHint())));
    return label;
}

QLabel* MakeTitle(QWidget* parent, const QString& name, const QColor& color, const QRect& box)
{
    QLabel* title = MakeLabel(parent, name, QStringLiteral("Archivio codici fiscali"), box,
                              generation::SansFont(18, true));
    forms::SetTextColour(title, color);
    return title;
}

QList<QStringList> DisplayRows(const std::vector<ArchiveRecord>& records)
{
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(records.size()));
    for (const ArchiveRecord& record : records) {
        QStringList cells;
        cells.reserve(kArchiveFieldCount);
        for (const std::string& field : record)
            cells.append(QString::fromStdString(field));
        rows.append(std::move(cells));
    }
    return rows;
}

}  // namespace

Archivio::Archivio(MainFormProvider mainForm, const QString& archivePath, QWidget* parent)
    : QWidget(parent),
      mainForm_(std::move(mainForm)),
      archivePath_(archivePath.isEmpty() ? QString::fromStdString(ArchivePath()) : archivePath),
      popupPresenter_([](QMenu& menu, const QPoint& position) { menu.exec(position); })
{
    setObjectName(QStringLiteral("Archivio"));
    setFixedSize(twips::ToPixels(7350), twips::ToPixels(4425));
    setFont(generation::SansFont(8.25));
    forms::SetBackground(this, kBackground);

    CreateControls();
    Form_Load();
}

void Archivio::CreateControls()
{
    // The shadow first, so that the yellow title lies over it.
    MakeTitle(this, QStringLiteral("Label1_0"), QColor(64, 64, 64),
              twips::Rect(1440, 120, 3690, 435));
    MakeTitle(this, QStringLiteral("Label1_1"), QColor(255, 255, 0),
              twips::Rect(1485, 90, 3690, 435));
    const QFont font = generation::SansFont(8.25);
    MakeLabel(this, QStringLiteral("Label2_0"), QStringLiteral("Cognome"),
              twips::Rect(285, 690, 705, 195), font);
    MakeLabel(this, QStringLiteral("Label2_1"), QStringLiteral("Nome"),
              twips::Rect(2190, 705, 450, 195), font);
    MakeLabel(this, QStringLiteral("Label2_2"), QStringLiteral("Codice fiscale"),
              twips::Rect(3960, 705, 990, 195), font);

    // Columns 3 to 6 are hidden: they carry the rest of each record.
    const QRect columnBoxes[kColumnCount] = {
        twips::Rect(240, 960, 2160, 2205),  twips::Rect(2160, 960, 1875, 2205),
        twips::Rect(3840, 960, 2340, 2205), twips::Rect(4290, 3600, 990, 645),
        twips::Rect(5040, 3600, 945, 645),  twips::Rect(5640, 3600, 945, 645),
        twips::Rect(6120, 3600, 945, 645)};
    for (int i = 0; i < kColumnCount; ++i) {
        QListWidget* column = new QListWidget(this);
        column->setObjectName(QStringLiteral("List1_%1").arg(i));
        column->setGeometry(columnBoxes[i]);
        column->setVisible(i <= kCode);
        column->viewport()->installEventFilter(this);
        connect(column, &QListWidget::itemSelectionChanged, this, &Archivio::List1_Click);
        list1_[i] = column;
    }
    vScroll1_ = new QScrollBar(Qt::Vertical, this);
    vScroll1_->setObjectName(QStringLiteral("VScroll1"));
    vScroll1_->setGeometry(twips::Rect(5835, 960, 270, 2205));

    command1_ = new QPushButton(QStringLiteral("&Carica dati selezionati"), this);
    command1_->setObjectName(QStringLiteral("Command1"));
    command1_->setGeometry(twips::Rect(240, 3720, 1860, 375));
    command2_ = new QPushButton(QStringLiteral("&Elimina dati selezionati"), this);
    command2_->setObjectName(QStringLiteral("Command2"));
    command2_->setGeometry(twips::Rect(2265, 3720, 1875, 375));
    command3_ = new QPushButton(QStringLiteral("&Stampa archivio"), this);
    command3_->setObjectName(QStringLiteral("Command3"));
    command3_->setGeometry(twips::Rect(4305, 3720, 1860, 375));
    for (QPushButton* command : {command1_, command2_, command3_})
        command->setAutoDefault(true);
    connect(command1_, &QPushButton::clicked, this, &Archivio::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &Archivio::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &Archivio::Command3_Click);

    copia_ = new QMenu(QStringLiteral("Copia"), this);
    copia_->setObjectName(QStringLiteral("Copia"));
    mnCopia_ = copia_->addAction(QStringLiteral("Copia CF negli appunti"));
    mnCopia_->setObjectName(QStringLiteral("mnCopia"));
    connect(mnCopia_, &QAction::triggered, this, &Archivio::mnCopia_Click);
}

// The archive comes sorted from the file, so the rows go into the list as
// they are, all at once.
void Archivio::Form_Load()
{
    CMultiListbox::Columns columns;
    for (int i = 0; i < kColumnCount; ++i)
        columns.insert(i, list1_[i]);
    list_ = new CMultiListbox(this);
    list_->Create(columns, vScroll1_);
    list_->AddItems(DisplayRows(LoadArchive(archivePath_.toStdString(), &archiveStamp_)));
    // A missing archive is an empty one; one that cannot be read is not.
    if (!archiveStamp_.problem.empty())
        platform::ShowMessage(MessageIcon::Critical, kTitle, QString::fromStdString(archiveStamp_.problem));
}

bool Archivio::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    return QWidget::event(event);
}

void Archivio::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Inside the frame, activation is the sub-window's.
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(generation::HostWindow(this));
        subWindow && !hostWatched_) {
        connect(subWindow, &QMdiSubWindow::aboutToActivate, this, &Archivio::Form_Activate);
        hostWatched_ = true;
    }
    Form_Activate();
}

// Load and delete wait for a selected row, printing for a row to print.
void Archivio::Form_Activate()
{
    if (list_->ListIndex() < 0) {
        command1_->setEnabled(false);
        command2_->setEnabled(false);
    }
    if (list_->ListCount() == 0)
        command3_->setEnabled(false);
}

// Watches the viewports of the columns, which receive their mouse events.
bool Archivio::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
        // A right click leaves the selection alone: the menu acts on the row
        // selected by an earlier left click.
        List1_RightMouseDown(mouse->globalPosition().toPoint());
        return true;
    }
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        Command1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Archivio::List1_Click()
{
    const bool hasRows = list_->ListCount() > 0;
    command1_->setEnabled(hasRows);
    command2_->setEnabled(hasRows);
}

void Archivio::List1_RightMouseDown(const QPoint& globalPosition)
{
    if (list_->ListIndex() >= 0)
        popupPresenter_(*copia_, globalPosition);
}

void Archivio::mnCopia_Click()
{
    const int row = list_->ListIndex();
    if (row < 0)
        return;
    platform::SetClipboardText(list_->List(row, kCode));
    platform::ShowMessage(MessageIcon::Information, kTitle,
                          QStringLiteral("Codice fiscale copiato negli appunti!"));
}

// The selected person goes back into the generation window, which shows
// instead of this one.
void Archivio::Command1_Click()
{
    const int row = list_->ListIndex();
    if (row < 0)
        return;
    generation::MainForm& mainForm = mainForm_();
    mainForm.Text2()->setText(list_->List(row, kSurname));
    mainForm.Text3()->setText(list_->List(row, kFirstName));
    mainForm.setCode(list_->List(row, kCode));
    mainForm.Text5()->setText(list_->List(row, kSex));
    mainForm.Text4()->setText(list_->List(row, kBirthDate));
    mainForm.setPlace(list_->List(row, kPlace), list_->List(row, kProvince));
    Unload();
    mainForm.ShowWindow();
}

// The file is written first, from the rows that stay, in display order; the
// row leaves the list only once the file holds the rest, so a failed or
// refused write loses nothing.
void Archivio::Command2_Click()
{
    const int selected = list_->ListIndex();
    if (selected < 0)
        return;
    std::vector<ArchiveRecord> remaining;
    remaining.reserve(static_cast<std::size_t>(list_->ListCount()));
    for (int row = 0; row < list_->ListCount(); ++row) {
        if (row == selected)
            continue;
        ArchiveRecord& record = remaining.emplace_back();
        for (int column = 0; column < kColumnCount; ++column)
            record[column] = list_->List(row, column).toStdString();
    }
    // A file changed by someone else since it was loaded is not overwritten.
    const ArchiveResult result =
        RewriteArchive(archivePath_.toStdString(), remaining, &archiveStamp_);
    if (!result.ok) {
        platform::ShowMessage(MessageIcon::Critical, kTitle,
                              QString::fromStdString(result.message));
        return;
    }

    list_->RemoveItem(selected);
    const int count = list_->ListCount();
    if (count > 0) {
        list_->SetListIndex(count - 1);
        list1_[0]->scrollToItem(list1_[0]->item(count - 1));
        list_->Update(0);
    }
    command1_->setEnabled(count > 0);
    command2_->setEnabled(count > 0);
    if (count == 0)
        command3_->setEnabled(false);
}

void Archivio::Command3_Click()
{
    // Each row is selected as it is printed, as a click on it would.
    const ArchiveRows rows{list_->ListCount(), [this](int row) {
                               list_->SetListIndex(row);
                               List1_Click();
                               ArchiveRow cells;
                               for (int column = 0; column < kColumnCount; ++column)
                                   cells[column] = list_->List(row, column);
                               return cells;
                           }};
    const platform::PrintTarget target = platform::LookUpPrinter(printTarget_);
    if (target.lacksPrinter()) {
        SaveAsPdf(rows);
        return;
    }
    if (platform::ShowMessage(MessageIcon::Question, kPrintTitle,
                              QStringLiteral("Vuoi stampare l'intero archivio?"),
                              platform::MessageButtons::YesNo)
        != platform::MessageAnswer::Yes)
        return;
    PrintArchive(rows, target);
}

// Without a default printer the question offers a PDF file instead.
void Archivio::SaveAsPdf(const ArchiveRows& rows)
{
    if (platform::ShowMessage(MessageIcon::Question, kPrintTitle,
                              QStringLiteral("Non c'è una stampante predefinita.\n"
                                             "Vuoi salvare l'intero archivio in un file PDF?"),
                              platform::MessageButtons::YesNo)
        != platform::MessageAnswer::Yes)
        return;
    const QString file = platform::AskPdfFileName(QStringLiteral("Archivio codici.pdf"));
    if (!file.isEmpty() && PrintArchive(rows, platform::PrintTarget::PdfFile(file)))
        emit savedToPdf(file);
}

// Closes the window (or the sub-window holding it) for good.
void Archivio::Unload()
{
    QWidget* host = generation::HostWindow(this);
    host->setAttribute(Qt::WA_DeleteOnClose);
    host->close();
}

}  // namespace cf::archive
