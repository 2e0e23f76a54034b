// SPDX-License-Identifier: MIT
#include "windows/archive/archivio.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <utility>

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

// The window as it was designed, in twips; it may be enlarged, and the
// list and the commands follow its lower right corner.
constexpr int kDesignWidth = 7350;
constexpr int kDesignHeight = 4425;

// The size the user last gave the window in this run.
QSize& LastSize()
{
    static QSize size;
    return size;
}

// The columns left to right, with their widths in twips: surname, first
// name and code where the original's three list boxes stood (from 240,
// 2160 and 3840 twips), the other fields after them, in sight once the
// window is enlarged; the last takes what room is left.
constexpr std::pair<ArchiveModel::Column, int> kColumnLayout[] = {
    {ArchiveModel::kSurname, 1905}, {ArchiveModel::kFirstName, 1680}, {ArchiveModel::kCode, 1950},
    {ArchiveModel::kSex, 600},      {ArchiveModel::kBirthDate, 1380}, {ArchiveModel::kPlace, 1650},
    {ArchiveModel::kProvince, 900}};

// "ROSSI MARIO", for the status bar.
QString NameOf(const Person& person)
{
    return QString::fromStdString(person.surname + ' ' + person.firstName).trimmed();
}

// A table that looks and moves as list boxes side by side: a border
// between the columns down to the bottom, the row the keyboard is on framed
// across all of them, Home and End go to the first and the last row, Left,
// Right and Tab leave the row alone, and the current cell stays in the
// first column.
class RowList : public QTableView {
public:
    using QTableView::QTableView;

protected:
    void paintEvent(QPaintEvent* event) override
    {
        QTableView::paintEvent(event);
        QPainter painter(viewport());
        painter.setPen(palette().color(QPalette::Mid));
        for (int visual = 0; visual + 1 < horizontalHeader()->count(); ++visual) {
            const int column = horizontalHeader()->logicalIndex(visual);
            const int x = columnViewportPosition(column) + columnWidth(column) - 1;
            painter.drawLine(x, 0, x, viewport()->height());
        }
        if (const QModelIndex current = currentIndex(); current.isValid() && hasFocus()) {
            const QRect cell = visualRect(current);
            painter.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DotLine));
            painter.drawRect(QRect(0, cell.top(), viewport()->width() - 1, cell.height() - 1));
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
    setMinimumSize(twips::ToPixels(kDesignWidth), twips::ToPixels(kDesignHeight));
    setFont(widgets::SansFont(8.25));
    widgets::UseFixedColours(this, kBackground);

    createControls();
    resize(sizeHint());
    layOutControls();
    loadArchive();
    // The window opens with the keyboard on the list, as before the search
    // box stood above it; Alt+T or Ctrl+F goes to the search.
    personTable_->setFocus(Qt::OtherFocusReason);
}

void Archivio::createControls()
{
    createSearch();
    createList();

    loadButton_ = new QPushButton(QStringLiteral("&Carica dati selezionati"), this);
    loadButton_->setObjectName(QStringLiteral("Command1"));
    deleteButton_ = new QPushButton(QStringLiteral("&Elimina dati selezionati"), this);
    deleteButton_->setObjectName(QStringLiteral("Command2"));
    printButton_ = new QPushButton(QStringLiteral("&Stampa archivio"), this);
    printButton_->setObjectName(QStringLiteral("Command3"));
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

// One table of every field, each column under its title; a click on a
// title orders the rows by that column (a second one the other way).
void Archivio::createList()
{
    model_ = new ArchiveModel(this);
    personTable_ = new RowList(this);
    personTable_->setObjectName(QStringLiteral("List1"));
    personTable_->setAccessibleName(QStringLiteral("Persone archiviate"));
    personTable_->setModel(model_);
    personTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    personTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    personTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    personTable_->setTabKeyNavigation(false);
    personTable_->setShowGrid(false);
    personTable_->setWordWrap(false);
    personTable_->setCornerButtonEnabled(false);
    personTable_->verticalHeader()->hide();
    personTable_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const int rowHeight = personTable_->fontMetrics().height() + 2;
    personTable_->verticalHeader()->setMinimumSectionSize(rowHeight);
    personTable_->verticalHeader()->setDefaultSectionSize(rowHeight);
    QHeaderView* titles = personTable_->horizontalHeader();
    titles->setObjectName(QStringLiteral("Label2"));
    titles->setAccessibleName(QStringLiteral("Titoli delle colonne"));
    titles->setStretchLastSection(true);
    titles->setHighlightSections(false);
    titles->setSectionsClickable(true);
    titles->setSortIndicatorShown(false);
    for (int visual = 0; visual < kArchiveFieldCount; ++visual) {
        const auto [column, width] = kColumnLayout[visual];
        titles->moveSection(titles->visualIndex(column), visual);
        personTable_->setColumnWidth(column, twips::ToPixels(width));
    }
    titles->setSortIndicator(-1, Qt::AscendingOrder);
    connect(titles, &QHeaderView::sortIndicatorChanged, this, &Archivio::onSortChosen);
    // The selected row stays marked while the search box has the keyboard.
    QPalette colours = personTable_->palette();
    for (const QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    personTable_->setPalette(colours);
    personTable_->installEventFilter(this);
    personTable_->viewport()->installEventFilter(this);
    personTable_->verticalScrollBar()->setObjectName(QStringLiteral("VScroll1"));
    personTable_->verticalScrollBar()->setAccessibleName(QStringLiteral("Scorrimento dell'archivio"));
    connect(personTable_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &Archivio::updateCommands);
}

// The search above the list: a caption, the box and the count of the rows
// shown. Ctrl+F, or Alt+T, puts the keyboard there.
void Archivio::createSearch()
{
    searchBox_ = new QLineEdit(this);
    searchBox_->setObjectName(QStringLiteral("Text1"));
    searchBox_->setClearButtonEnabled(true);
    searchBox_->setPlaceholderText(QStringLiteral("cognome, nome, codice, luogo..."));
    searchBox_->setToolTip(QStringLiteral("Mostra solo le persone che contengono le parole scritte (Esc "
                                          "per vederle tutte)"));
    QLabel* caption =
        widgets::MakeCaption(this, "Label3", QStringLiteral("&Trova:"), twips::Rect(240, 645, 0, 0));
    caption->setBuddy(searchBox_);
    searchBox_->setAccessibleName(QStringLiteral("Trova"));
    searchBox_->installEventFilter(this);
    connect(searchBox_, &QLineEdit::textChanged, this, &Archivio::onSearchEdited);
    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("Label4"));
    countLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    auto* find = new QAction(this);
    find->setShortcut(QKeySequence::Find);
    find->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(find);
    connect(find, &QAction::triggered, searchBox_, [this] {
        searchBox_->setFocus(Qt::ShortcutFocusReason);
        searchBox_->selectAll();
    });
}

// The controls at the design's places, the list and the count stretched
// and the commands moved by what the window has grown.
void Archivio::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    LastSize() = size();
    layOutControls();
}

void Archivio::layOutControls()
{
    const int wider = width() - twips::ToPixels(kDesignWidth);
    const int taller = height() - twips::ToPixels(kDesignHeight);
    searchBox_->setGeometry(twips::Rect(900, 600, 3600, 315));
    countLabel_->setGeometry(twips::Rect(4620, 600, 2490, 315).adjusted(0, 0, wider, 0));
    personTable_->setGeometry(twips::Rect(240, 990, 6870, 2610).adjusted(0, 0, wider, taller));
    loadButton_->setGeometry(twips::Rect(240, 3720, 1860, 375).translated(0, taller));
    deleteButton_->setGeometry(twips::Rect(2265, 3720, 1875, 375).translated(0, taller));
    printButton_->setGeometry(twips::Rect(4305, 3720, 1860, 375).translated(0, taller));
}

QSize Archivio::sizeHint() const
{
    return LastSize().expandedTo(minimumSize());
}

// The title, written once, in yellow over its dark shadow.
void Archivio::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setFont(widgets::SansFont(18, true));
    const QString title = windowTitle();
    painter.setPen(QColor(64, 64, 64));
    painter.drawText(twips::Rect(1440, 120, 3690, 435), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     title);
    painter.setPen(QColor(255, 255, 0));
    painter.drawText(twips::Rect(1485, 90, 3690, 435), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     title);
}

void Archivio::loadArchive()
{
    model_->setArchive(LoadArchive(archivePath_.toStdString()));
    updateCount();
    // A missing archive is an empty one; one that cannot be read is not.
    if (const std::string& problem = model_->archive().stamp().problem; !problem.empty())
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle, QString::fromStdString(problem));
}

int Archivio::selectedRow() const
{
    const QModelIndexList rows = personTable_->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

void Archivio::keepSelection(const std::function<void()>& change)
{
    const int row = selectedRow();
    const std::optional<std::size_t> person =
        row >= 0 ? std::optional(model_->archiveRow(row)) : std::nullopt;
    change();
    if (const int shown = person ? model_->rowOfArchiveRow(*person) : -1; shown >= 0)
        selectRow(shown);
    updateCommands();
}

void Archivio::onSearchEdited(const QString& text)
{
    keepSelection([&] { model_->setSearchText(text.toStdString()); });
}

// The title's click turns the indicator: the first on a column orders by it,
// the next ones turn the order round.
void Archivio::onSortChosen(int column, Qt::SortOrder order)
{
    personTable_->horizontalHeader()->setSortIndicatorShown(true);
    keepSelection([&] { model_->sort(column, order); });
}

void Archivio::updateCount()
{
    const int shown = model_->rowCount();
    const int all = model_->personCount();
    countLabel_->setText(all == 1 ? QStringLiteral("%1 di 1 persona").arg(shown)
                                  : QStringLiteral("%1 di %2 persone").arg(shown).arg(all));
    countLabel_->setAccessibleName(QStringLiteral("Persone mostrate: ") + countLabel_->text());
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

// Load and delete wait for a selected row, printing for a person to print;
// the count follows the rows.
void Archivio::updateCommands()
{
    const bool selected = selectedRow() >= 0;
    loadButton_->setEnabled(selected);
    deleteButton_->setEnabled(selected);
    printButton_->setEnabled(model_->personCount() > 0);
    updateCount();
}

// Watches the list, which receives the keys, and its viewport, which
// receives the mouse events.
bool Archivio::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    // In the search box Esc empties it, and Enter or Down goes on to the
    // rows found.
    if (watched == searchBox_) {
        if (type != QEvent::KeyPress)
            return QWidget::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && !searchBox_->text().isEmpty()) {
            searchBox_->clear();
            return true;
        }
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Down)
            && model_->rowCount() > 0) {
            personTable_->setFocus(Qt::OtherFocusReason);
            if (selectedRow() < 0)
                selectRow(0);
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    // From the keyboard: Enter loads the selected person, Ctrl+C copies
    // its code, the menu key (or Shift+F10) opens the copy menu at the
    // selected row.
    if (type == QEvent::KeyPress) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (keyEvent->matches(QKeySequence::Copy)) {
            copySelectedCode();
            return true;
        }
        const int key = keyEvent->key();
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

// Ctrl+C: the code of the selected row, whatever cell has the keyboard; the
// status bar says so, no box interrupts.
void Archivio::copySelectedCode()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const QString code = QString::fromStdString(model_->person(row).code);
    platform::SetClipboardText(code);
    emit statusNote(QStringLiteral("Codice fiscale %1 copiato negli appunti").arg(code));
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
    // The person comes back in sight.
    if (!model_->shows(*deletedLine_))
        searchBox_->clear();
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

// The whole archive is read now, in its order whatever the search and the
// order on screen, and prints while the window goes on; the last row is then selected, as printing each row
// in turn would leave it. A print command given while a printout runs offers to cancel it.
void Archivio::onPrintClicked()
{
    if (platform::OfferToCancelPrintout())
        return;
    if (platform::ShowMessage(MessageIcon::Question, kPrintTitle,
                              QStringLiteral("Vuoi stampare l'intero archivio?"),
                              platform::MessageButtons::YesNo)
        != platform::MessageAnswer::Yes)
        return;
    const LoadedArchive& archive = model_->archive();
    std::vector<Person> rows;
    rows.reserve(archive.size());
    for (std::size_t row = 0; row < archive.size(); ++row)
        rows.push_back(archive.person(row));
    if (!platform::StartPrintout(ArchiveListing(std::move(rows)), ArchivePrintFailure())
        || model_->rowCount() == 0)
        return;
    selectRow(model_->rowCount() - 1);
}

// Closes the window (or the sub-window holding it) for good.
void Archivio::closeForGood()
{
    QWidget* host = widgets::HostWindow(this);
    host->setAttribute(Qt::WA_DeleteOnClose);
    host->close();
}

}  // namespace cf::archive
