// SPDX-License-Identifier: MIT
#include "archive/archivio.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QMouseEvent>

#include <vector>

#include "archive/archive_printout.h"
#include "engine/archive_file.h"
#include "generation/main_form.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/print_command.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/multi_column_list.h"
#include "widgets/twips.h"
#include "widgets/window_host.h"

namespace cf::archive {
namespace {

using widgets::kMessageTitle;
// The print question has a title of its own.
const QString kPrintTitle = QStringLiteral("Codice Fiscale");
const QColor kBackground(0, 192, 192);

// Column of each field of an archive record.
enum Column { kSurname, kFirstName, kCode, kSex, kBirthDate, kPlace, kProvince };

QLabel* MakeTitle(QWidget* parent, const char* name, const QColor& color, const QRect& box)
{
    const QFont font = widgets::SansFont(18, true);
    QLabel* title = widgets::MakeCaption(parent, name, QStringLiteral("Archivio codici fiscali"), box, &font);
    widgets::SetTextColour(title, color);
    return title;
}

QList<QStringList> DisplayRows(const std::vector<Person>& persons)
{
    QList<QStringList> rows;
    rows.reserve(static_cast<qsizetype>(persons.size()));
    for (const Person& person : persons) {
        QStringList cells(Archivio::kColumnCount);
        cells[kSurname] = QString::fromStdString(person.surname);
        cells[kFirstName] = QString::fromStdString(person.firstName);
        cells[kCode] = QString::fromStdString(person.code);
        cells[kSex] = QString::fromStdString(person.sex);
        cells[kBirthDate] = QString::fromStdString(person.birthDate);
        cells[kPlace] = QString::fromStdString(person.place);
        cells[kProvince] = QString::fromStdString(person.province);
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
    setWindowTitle(QStringLiteral("Archivio codici fiscali"));
    setFixedSize(twips::ToPixels(7350), twips::ToPixels(4425));
    setFont(widgets::SansFont(8.25));
    widgets::UseFixedColours(this, kBackground);

    createControls();
    loadArchive();
}

void Archivio::createControls()
{
    // The shadow first, so that the yellow title lies over it.
    MakeTitle(this, "Label1_0", QColor(64, 64, 64), twips::Rect(1440, 120, 3690, 435));
    MakeTitle(this, "Label1_1", QColor(255, 255, 0), twips::Rect(1485, 90, 3690, 435));
    widgets::MakeCaption(this, "Label2_0", QStringLiteral("Cognome"), twips::Rect(285, 690, 705, 195));
    widgets::MakeCaption(this, "Label2_1", QStringLiteral("Nome"), twips::Rect(2190, 705, 450, 195));
    widgets::MakeCaption(this, "Label2_2", QStringLiteral("Codice fiscale"),
                         twips::Rect(3960, 705, 990, 195));

    // Columns 3 to 6 are hidden: they carry the rest of each record.
    const QRect columnBoxes[kColumnCount] = {
        twips::Rect(240, 960, 2160, 2205),  twips::Rect(2160, 960, 1875, 2205),
        twips::Rect(3840, 960, 2340, 2205), twips::Rect(4290, 3600, 990, 645),
        twips::Rect(5040, 3600, 945, 645),  twips::Rect(5640, 3600, 945, 645),
        twips::Rect(6120, 3600, 945, 645)};
    const QString columnNames[kColumnCount] = {QStringLiteral("Cognome"),         QStringLiteral("Nome"),
                                               QStringLiteral("Codice fiscale"),  QStringLiteral("Sesso"),
                                               QStringLiteral("Data di nascita"), QStringLiteral("Luogo"),
                                               QStringLiteral("Provincia")};
    for (int i = 0; i < kColumnCount; ++i) {
        QListWidget* column = new QListWidget(this);
        column->setObjectName(QStringLiteral("List1_%1").arg(i));
        column->setAccessibleName(columnNames[i]);
        column->setGeometry(columnBoxes[i]);
        column->setVisible(i <= kCode);
        column->viewport()->installEventFilter(this);
        column->installEventFilter(this);
        connect(column, &QListWidget::itemSelectionChanged, this, &Archivio::onRowClicked);
        columns_[i] = column;
    }
    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName(QStringLiteral("VScroll1"));
    scrollBar_->setGeometry(twips::Rect(5835, 960, 270, 2205));
    scrollBar_->setAccessibleName(QStringLiteral("Scorrimento dell'archivio"));

    loadButton_ = new QPushButton(QStringLiteral("&Carica dati selezionati"), this);
    loadButton_->setObjectName(QStringLiteral("Command1"));
    loadButton_->setGeometry(twips::Rect(240, 3720, 1860, 375));
    deleteButton_ = new QPushButton(QStringLiteral("&Elimina dati selezionati"), this);
    deleteButton_->setObjectName(QStringLiteral("Command2"));
    deleteButton_->setGeometry(twips::Rect(2265, 3720, 1875, 375));
    printButton_ = new QPushButton(QStringLiteral("&Stampa archivio"), this);
    printButton_->setObjectName(QStringLiteral("Command3"));
    printButton_->setGeometry(twips::Rect(4305, 3720, 1860, 375));
    for (QPushButton* command : {loadButton_, deleteButton_, printButton_})
        command->setAutoDefault(true);
    connect(loadButton_, &QPushButton::clicked, this, &Archivio::onLoadClicked);
    connect(deleteButton_, &QPushButton::clicked, this, &Archivio::onDeleteClicked);
    connect(printButton_, &QPushButton::clicked, this, &Archivio::onPrintClicked);

    popupMenu_ = new QMenu(QStringLiteral("Copia"), this);
    popupMenu_->setObjectName(QStringLiteral("Copia"));
    copyAction_ = popupMenu_->addAction(QStringLiteral("Copia CF negli appunti"));
    copyAction_->setObjectName(QStringLiteral("mnCopia"));
    connect(copyAction_, &QAction::triggered, this, &Archivio::onCopyChosen);
}

// The archive comes sorted from the file, so the rows go into the list as
// they are, all at once.
void Archivio::loadArchive()
{
    widgets::MultiColumnList::Columns columns;
    for (int i = 0; i < kColumnCount; ++i)
        columns.insert(i, columns_[i]);
    personList_ = new widgets::MultiColumnList(this);
    personList_->Create(columns, scrollBar_);
    personList_->AddItems(DisplayRows(LoadArchive(archivePath_.toStdString(), &archiveStamp_)));
    // A missing archive is an empty one; one that cannot be read is not.
    if (!archiveStamp_.problem.empty())
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle,
                              QString::fromStdString(archiveStamp_.problem));
}

bool Archivio::event(QEvent* event)
{
    if (event->type() == QEvent::WindowActivate)
        onActivated();
    return QWidget::event(event);
}

void Archivio::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // Inside the frame, activation is the sub-window's.
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(widgets::HostWindow(this));
        subWindow && !hostWatched_) {
        connect(subWindow, &QMdiSubWindow::aboutToActivate, this, &Archivio::onActivated);
        hostWatched_ = true;
    }
    onActivated();
}

// Load and delete wait for a selected row, printing for a row to print.
void Archivio::onActivated()
{
    if (personList_->ListIndex() < 0) {
        loadButton_->setEnabled(false);
        deleteButton_->setEnabled(false);
    }
    if (personList_->ListCount() == 0)
        printButton_->setEnabled(false);
}

// Watches the columns, which receive the keys, and their viewports, which
// receive the mouse events.
bool Archivio::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // From the keyboard: Enter loads the selected person, the menu key (or
    // Shift+F10) opens the copy menu at the selected row.
    if (type == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            onLoadClicked();
            return true;
        }
    }
    if (type == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        const int row = personList_->ListIndex();
        if (row >= 0) {
            const QRect cell = columns_[0]->visualItemRect(columns_[0]->item(row));
            onRightMouseDown(columns_[0]->viewport()->mapToGlobal(cell.center()));
        }
        return true;
    }
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return QWidget::eventFilter(watched, event);
    const auto* mouse = static_cast<QMouseEvent*>(event);
    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::RightButton) {
        // A right click leaves the selection alone: the menu acts on the row
        // selected by an earlier left click.
        onRightMouseDown(mouse->globalPosition().toPoint());
        return true;
    }
    if (type == QEvent::MouseButtonDblClick && mouse->button() == Qt::LeftButton) {
        onLoadClicked();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Archivio::onRowClicked()
{
    const bool hasRows = personList_->ListCount() > 0;
    loadButton_->setEnabled(hasRows);
    deleteButton_->setEnabled(hasRows);
}

void Archivio::onRightMouseDown(const QPoint& globalPosition)
{
    if (personList_->ListIndex() >= 0)
        popupPresenter_(*popupMenu_, globalPosition);
}

void Archivio::onCopyChosen()
{
    const int row = personList_->ListIndex();
    if (row < 0)
        return;
    platform::SetClipboardText(personList_->List(row, kCode));
    platform::ShowMessage(MessageIcon::Information, kMessageTitle,
                          QStringLiteral("Codice fiscale copiato negli appunti!"));
}

// The selected person goes back into the generation window, which shows
// instead of this one.
void Archivio::onLoadClicked()
{
    const int row = personList_->ListIndex();
    if (row < 0)
        return;
    generation::MainForm& mainForm = mainForm_();
    mainForm.setPerson(personInRow(row));
    Unload();
    mainForm.ShowWindow();
}

// The file is written first, from the rows that stay, in display order; the
// row leaves the list only once the file holds the rest, so a failed or
// refused write loses nothing.
void Archivio::onDeleteClicked()
{
    const int selected = personList_->ListIndex();
    if (selected < 0)
        return;
    std::vector<Person> remaining;
    remaining.reserve(static_cast<std::size_t>(personList_->ListCount()));
    for (int row = 0; row < personList_->ListCount(); ++row) {
        if (row != selected)
            remaining.push_back(personInRow(row));
    }
    // A file changed by someone else since it was loaded is not overwritten.
    const ArchiveResult result = RewriteArchive(archivePath_.toStdString(), remaining, &archiveStamp_);
    if (!result.ok) {
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle, QString::fromStdString(result.message));
        return;
    }

    personList_->RemoveItem(selected);
    const int count = personList_->ListCount();
    if (count > 0) {
        personList_->SetListIndex(count - 1);
        columns_[0]->scrollToItem(columns_[0]->item(count - 1));
        personList_->Update(0);
    }
    loadButton_->setEnabled(count > 0);
    deleteButton_->setEnabled(count > 0);
    if (count == 0)
        printButton_->setEnabled(false);
}

// The rows are read now, in display order, and print while the window goes
// on; the last row is then selected, as printing each row in turn would
// leave it. A print command given while a printout runs offers to cancel it.
void Archivio::onPrintClicked()
{
    if (platform::OfferToCancelPrintout())
        return;
    if (platform::ShowMessage(MessageIcon::Question, kPrintTitle,
                              QStringLiteral("Vuoi stampare l'intero archivio?"),
                              platform::MessageButtons::YesNo)
        != platform::MessageAnswer::Yes)
        return;
    const int count = personList_->ListCount();
    std::vector<Person> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        rows.push_back(personInRow(row));
    if (!platform::StartPrintout(ArchiveListing(std::move(rows)), ArchivePrintFailure()) || count == 0)
        return;
    personList_->SetListIndex(count - 1);
    onRowClicked();
}

// Closes the window (or the sub-window holding it) for good.
Person Archivio::personInRow(int row) const
{
    const auto cell = [this, row](Column column) { return personList_->List(row, column).toStdString(); };
    return {.surname = cell(kSurname),
            .firstName = cell(kFirstName),
            .sex = cell(kSex),
            .birthDate = cell(kBirthDate),
            .place = cell(kPlace),
            .province = cell(kProvince),
            .code = cell(kCode)};
}

void Archivio::Unload()
{
    QWidget* host = widgets::HostWindow(this);
    host->setAttribute(Qt::WA_DeleteOnClose);
    host->close();
}

}  // namespace cf::archive
