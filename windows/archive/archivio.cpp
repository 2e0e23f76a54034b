// SPDX-License-Identifier: MIT
#include "windows/archive/archivio.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "engine/storage/archive_file.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "platform/print_command.h"
#include "printouts/archive_printout.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"
#include "widgets/window_host.h"

namespace cf::archive {
namespace {

using widgets::kMessageTitle;
// The print question has a title of its own.
const QString kPrintTitle = QStringLiteral("Codice Fiscale");
const QColor kBackground(0, 192, 192);

QLabel* MakeTitle(QWidget* parent, const char* name, const QColor& color, const QRect& box)
{
    const QFont font = widgets::SansFont(18, true);
    QLabel* title = widgets::MakeCaption(parent, name, QStringLiteral("Archivio codici fiscali"), box, &font);
    widgets::SetTextColour(title, color);
    return title;
}

// "ROSSI MARIO", for the status bar.
QString NameOf(const Person& person)
{
    return QString::fromStdString(person.surname + ' ' + person.firstName).trimmed();
}

// A table that looks and moves as the list boxes side by side it stands
// for: a border between the shown columns down to the bottom, and Home and
// End go to the first and the last row, Left, Right and Tab leave the row
// alone, and the current cell stays in the first column.
class RowList : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QTableView::paintEvent(event);
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::Mid));
        for (const int column : {ArchiveModel::kSurname, ArchiveModel::kFirstName}) {
            const int x = columnViewportPosition(column) + columnWidth(column) - 1;
            painter.drawLine(x, 0, x, viewport()->height());
        }
    }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override
    {
        switch (action) {
        case MoveHome:
            return model()->index(0, 0);
        case MoveEnd:
            return model()->index(model()->rowCount() - 1, 0);
        case MoveLeft:
        case MoveRight:
        case MoveNext:
        case MovePrevious:
            return currentIndex();
        default:
            const QModelIndex moved = QTableView::moveCursor(action, modifiers);
            return moved.isValid() ? moved.siblingAtColumn(0) : moved;
        }
    }
};

}  // namespace

Archivio::Archivio(const QString& archivePath, QWidget* parent)
    : QWidget(parent),
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
    createList();

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

    undoAction_ = new QAction(QStringLiteral("Annulla l'eliminazione"), this);
    undoAction_->setObjectName(QStringLiteral("mnAnnulla"));
    undoAction_->setShortcut(QKeySequence::Undo);
    undoAction_->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    undoAction_->setEnabled(false);
    addAction(undoAction_);
    connect(undoAction_, &QAction::triggered, this, &Archivio::onUndoChosen);
}

// One table where the three list boxes of the surname, the first name and
// the code stood side by side; the other four fields are hidden columns.
// Its own scroll bar gives way to the window's, which stands at the lower
// right beside the print command, where the list of the original put it.
void Archivio::createList()
{
    model_ = new ArchiveModel(this);
    personTable_ = new RowList(this);
    personTable_->setObjectName(QStringLiteral("List1"));
    personTable_->setAccessibleName(QStringLiteral("Persone archiviate"));
    personTable_->setGeometry(twips::Rect(240, 960, 5940, 2205));
    personTable_->setModel(model_);
    personTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    personTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    personTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    personTable_->setTabKeyNavigation(false);
    personTable_->setShowGrid(false);
    personTable_->setWordWrap(false);
    personTable_->setCornerButtonEnabled(false);
    personTable_->horizontalHeader()->hide();
    personTable_->verticalHeader()->hide();
    personTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = personTable_->fontMetrics().height() + 2;
    personTable_->verticalHeader()->setMinimumSectionSize(rowHeight);
    personTable_->verticalHeader()->setDefaultSectionSize(rowHeight);
    personTable_->horizontalHeader()->setStretchLastSection(true);
    // The columns start where the list boxes did: 240, 2160 and 3840 twips.
    personTable_->setColumnWidth(ArchiveModel::kSurname,
                                 twips::ToPixels(2160) - personTable_->x() - personTable_->frameWidth());
    personTable_->setColumnWidth(ArchiveModel::kFirstName, twips::ToPixels(3840 - 2160));
    for (int column = ArchiveModel::kSex; column < kArchiveFieldCount; ++column)
        personTable_->setColumnHidden(column, true);
    personTable_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    personTable_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    personTable_->installEventFilter(this);
    personTable_->viewport()->installEventFilter(this);
    connect(personTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Archivio::updateCommands);

    scrollBar_ = new QScrollBar(Qt::Vertical, this);
    scrollBar_->setObjectName(QStringLiteral("VScroll1"));
    scrollBar_->setGeometry(twips::Rect(6745, 3600, 270, 645));
    scrollBar_->setAccessibleName(QStringLiteral("Scorrimento dell'archivio"));
    scrollBar_->hide();
    QScrollBar* own = personTable_->verticalScrollBar();
    connect(own, &QScrollBar::rangeChanged, this, [this, own](int minimum, int maximum) {
        scrollBar_->setRange(minimum, maximum);
        scrollBar_->setPageStep(own->pageStep());
        scrollBar_->setVisible(maximum > minimum);
    });
    connect(own, &QScrollBar::valueChanged, scrollBar_, &QScrollBar::setValue);
    connect(scrollBar_, &QScrollBar::valueChanged, own, &QScrollBar::setValue);
}

void Archivio::loadArchive()
{
    model_->setArchive(LoadArchive(archivePath_.toStdString()));
    // A missing archive is an empty one; one that cannot be read is not.
    if (const std::string& problem = model_->archive().stamp().problem; !problem.empty())
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle, QString::fromStdString(problem));
}

int Archivio::selectedRow() const
{
    const QModelIndexList rows = personTable_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void Archivio::selectRow(int row)
{
    const QModelIndex index = model_->index(row, ArchiveModel::kSurname);
    personTable_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect
                                                               | QItemSelectionModel::Rows);
    personTable_->scrollTo(index);
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

// The commands are all enabled until the window is first activated.
void Archivio::onActivated()
{
    updateCommands();
}

// Load and delete wait for a selected row, printing for a row to print.
void Archivio::updateCommands()
{
    const bool selected = selectedRow() >= 0;
    loadButton_->setEnabled(selected);
    deleteButton_->setEnabled(selected);
    printButton_->setEnabled(model_->rowCount() > 0);
}

// Watches the list, which receives the keys, and its viewport, which
// receives the mouse events.
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
        if (const int row = selectedRow(); row >= 0) {
            const QRect cell = personTable_->visualRect(model_->index(row, ArchiveModel::kSurname));
            onRightMouseDown(personTable_->viewport()->mapToGlobal(cell.center()));
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

void Archivio::onRightMouseDown(const QPoint& globalPosition)
{
    if (selectedRow() >= 0)
        popupPresenter_(*popupMenu_, globalPosition);
}

void Archivio::onCopyChosen()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    platform::SetClipboardText(QString::fromStdString(model_->person(row).code));
    platform::ShowMessage(MessageIcon::Information, kMessageTitle,
                          QStringLiteral("Codice fiscale copiato negli appunti!"));
}

// The selected person goes back into the generation window, which shows
// instead of this one.
void Archivio::onLoadClicked()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const Person person = model_->person(row);
    closeForGood();
    emit personChosen(person);
}

// No question is asked: the person can be put back with Ctrl+Z. The row
// after the deleted one (the one before, at the end) is selected next, so
// that the next delete never takes a person at the other end of the list.
void Archivio::onDeleteClicked()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString name = NameOf(model_->person(row));
    std::string line = model_->takeRow(row);
    if (!rewriteArchive([&] { selectRow(model_->putBack(line)); }))
        return;
    deletedLine_ = std::move(line);
    deletedName_ = name;
    undoAction_->setEnabled(true);
    if (const int count = model_->rowCount(); count > 0)
        selectRow(std::min(row, count - 1));
    updateCommands();
    emit statusNote(QStringLiteral("Eliminati i dati di %1 (Ctrl+Z per ripristinarli)").arg(name));
}

void Archivio::onUndoChosen()
{
    if (!deletedLine_)
        return;
    const int row = model_->putBack(*deletedLine_);
    if (!rewriteArchive([&] { model_->takeRow(row); }))
        return;
    deletedLine_.reset();
    undoAction_->setEnabled(false);
    selectRow(row);
    updateCommands();
    emit statusNote(QStringLiteral("Ripristinati i dati di %1").arg(deletedName_));
}

bool Archivio::rewriteArchive(const std::function<void()>& revert)
{
    const ArchiveResult result = RewriteArchive(archivePath_.toStdString(), model_->archive());
    if (result.ok)
        return true;
    QString message = QString::fromStdString(result.message);
    if (result.changed) {
        // The list shows the file as it now is; nothing the user has not
        // seen is ever written.
        loadArchive();
        updateCommands();
        message += QStringLiteral(" L'elenco è stato aggiornato: ripetere l'operazione.");
    } else {
        revert();
    }
    platform::ShowMessage(MessageIcon::Critical, kMessageTitle, message);
    return false;
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
    const int count = model_->rowCount();
    std::vector<Person> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row)
        rows.push_back(model_->person(row));
    if (!platform::StartPrintout(ArchiveListing(std::move(rows)), ArchivePrintFailure()) || count == 0)
        return;
    selectRow(count - 1);
}

// Closes the window (or the sub-window holding it) for good.
void Archivio::closeForGood()
{
    QWidget* host = widgets::HostWindow(this);
    host->setAttribute(Qt::WA_DeleteOnClose);
    host->close();
}

}  // namespace cf::archive
