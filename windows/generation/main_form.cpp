// SPDX-License-Identifier: MIT
#include "windows/generation/main_form.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

#include "engine/code/code_computation.h"
#include "engine/code/date_mask.h"
#include "engine/code/dates.h"
#include "engine/places/birth_place.h"
#include "engine/places/place_labels.h"
#include "engine/places/place_names.h"
#include "engine/places/place_search.h"
#include "engine/storage/archive_file.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "widgets/data_box_keys.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/help_viewer.h"
#include "widgets/multi_column_list.h"
#include "widgets/twips.h"
#include "widgets/window_host.h"
#include "windows/generation/archivable_person.h"
#include "windows/generation/date_box.h"
#include "windows/generation/generation_images.h"
#include "windows/generation/missing_datum.h"

namespace cf::generation {
namespace {

using widgets::IsDropDownKey;
using widgets::kMessageTitle;
using widgets::MakeBox;
using widgets::MakeCaption;
using widgets::Named;
using widgets::SansFont;

using widgets::kInvalidDate;
using widgets::kUnknownPlace;
const QString kDateErrorTitle = QStringLiteral("Errore");
const QString kCopyTip = QStringLiteral("Clicca per copiare il codice fiscale negli appunti");
const QString kGenerateCaption = QStringLiteral("&Genera Codice Fiscale");
const QString kShowCaption = QStringLiteral("&Visualizza Codice Fiscale");
const QString kProvinceName = QStringLiteral("Provincia");
const QString kCodeName = QStringLiteral("Codice fiscale");
const QColor kBackground(255, 192, 128);
// The drop-down keeps this far from the window's edges, in pixels.
constexpr int kDropDownMargin = 4;

// A caption: transparent, sized to its text, its top left corner at the
// twips position. It names the control beside it for screen readers.
void MakeCaptionAt(QWidget* parent, const char* name, const QString& text, int left, int top,
                   QWidget* control)
{
    QLabel* caption =
        MakeCaption(parent, name, text, QRect(twips::ToPixels(left), twips::ToPixels(top), 0, 0));
    caption->setBuddy(control);
}

// A label with a white background, a single sunken border and centred text.
QLabel* MakeValueLabel(QWidget* parent, const char* name, const QRect& box)
{
    auto* label = Named(new QLabel(parent), name);
    label->setGeometry(box);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    widgets::SetBackground(label, Qt::white);
    return label;
}

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QString FromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

const PlaceCatalog& Places()
{
    return PlaceCatalog::Embedded();
}

// The places a typed name means on the birth date when it means more than
// one, the place it resolved to first; empty when it means one.
std::vector<int> PlacesNamed(std::string_view typedPlace, const BirthPlace& place)
{
    std::vector<int> rows = OtherPlacesNamed(Places(), typedPlace, place);
    if (!rows.empty())
        rows.insert(rows.begin(), place.row);
    return rows;
}

}  // namespace

MainForm::MainForm(QWidget* parent, const PlaceListHooks& hooks) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Genera Codice Fiscale"));
    setFixedSize(twips::ToPixels(5610), twips::ToPixels(4470));
    setFont(SansFont(8.25));
    widgets::UseFixedColours(this, kBackground);

    createControls();
    loadPlaceList(hooks);
}

MainForm::~MainForm()
{
    delete card_;
}

void MainForm::createControls()
{
    surnameBox_ = MakeBox(this, "Text2", twips::Rect(1830, 240, 2775, 315), 40);
    MakeCaptionAt(this, "Label3", QStringLiteral("Cognome"), 330, 315, surnameBox_);
    firstNameBox_ = MakeBox(this, "Text3", twips::Rect(1830, 645, 2775, 315), 40);
    MakeCaptionAt(this, "Label4", QStringLiteral("Nome"), 330, 645, firstNameBox_);
    // A pasted name keeps the characters a typed one may hold.
    for (QLineEdit* box : {surnameBox_, firstNameBox_})
        box->setValidator(new widgets::NameBoxValidator(box));
    // One character, M or F, however it comes in.
    sexBox_ = MakeBox(this, "Text5", twips::Rect(1830, 1035, 315, 315), 1);
    sexBox_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[MFmf]?")), sexBox_));
    MakeCaptionAt(this, "Label9", QStringLiteral("Sesso"), 330, 1035, sexBox_);
    // No length limit of the box's own: the mask holds the date to ten
    // characters, and a limit would cut a pasted date.
    birthDateBox_ = MakeBox(this, "Text4", twips::Rect(1830, 1410, 915, 315), 0);
    birthDateBox_->setValidator(new DateMaskValidator(birthDateBox_));
    MakeCaptionAt(this, "Label5", QStringLiteral("Data di nascita"), 330, 1410, birthDateBox_);
    placeBox_ = MakeBox(this, "Combo1", twips::Rect(1830, 1785, 2850, 300), 0);
    widgets::SetHelpTopic(placeBox_, QStringLiteral("varnel.htm#tastiera"));
    MakeCaptionAt(this, "Label6", QStringLiteral("Luogo"), 330, 1770, placeBox_);

    dropDownArrow_ = Named(new QLabel(this), "Picture1");
    dropDownArrow_->setGeometry(twips::Rect(4410, 1800, 240, 255));
    dropDownArrow_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    dropDownArrow_->setAccessibleName(QStringLiteral("Elenco dei luoghi"));
    dropDownArrow_->setAccessibleDescription(
        QStringLiteral("Freccia che apre l'elenco dei luoghi (Alt+Giù o F4 nella casella Luogo)"));

    provinceLabel_ = MakeValueLabel(this, "Label8", twips::Rect(1830, 2130, 465, 330));
    MakeCaptionAt(this, "Label7", QStringLiteral("Provincia"), 330, 2130, provinceLabel_);
    widgets::ShowValue(provinceLabel_, kProvinceName, QString());
    codeLabel_ = MakeValueLabel(this, "Varnel", twips::Rect(2325, 2580, 3120, 345));
    MakeCaptionAt(this, "Label1", QStringLiteral("Codice Fiscale/Partita IVA"), 330, 2640, codeLabel_);
    codeLabel_->setFont(SansFont(9.75, true));
    // The code is copied from the keyboard too: the label takes the focus.
    codeLabel_->setFocusPolicy(Qt::StrongFocus);
    widgets::ShowValue(codeLabel_, kCodeName, QString());

    generateButton_ = Named(new QPushButton(kGenerateCaption, this), "Command1");
    generateButton_->setGeometry(twips::Rect(1845, 3150, 2565, 480));
    newCodeButton_ = Named(new QPushButton(QStringLiteral("&Nuovo Codice"), this), "Command2");
    newCodeButton_->setGeometry(twips::Rect(1110, 3855, 1875, 360));
    archiveButton_ = Named(new QPushButton(QStringLiteral("&Archivia dati"), this), "Command3");
    archiveButton_->setGeometry(twips::Rect(3240, 3855, 1875, 360));
    archiveButton_->setEnabled(false);
    // Enter on a focused command presses it.
    for (QPushButton* button : {generateButton_, newCodeButton_, archiveButton_})
        button->setAutoDefault(true);

    // The place list: the name column doubles as the drop-down list of the
    // place box; the code and province columns lie below the window's bottom
    // edge.
    const QRect columnBoxes[] = {twips::Rect(1830, 2100, 2850, 1620), twips::Rect(2760, 4530, 1560, 1230),
                                 twips::Rect(3675, 4530, 1545, 1230)};
    const QString columnNames[] = {QStringLiteral("Elenco dei luoghi"), QStringLiteral("Codici catastali"),
                                   QStringLiteral("Province")};
    for (std::size_t i = 0; i < placeColumns_.size(); ++i) {
        placeColumns_[i] = new QListWidget(this);
        placeColumns_[i]->setObjectName(QStringLiteral("List1_%1").arg(i));
        placeColumns_[i]->setGeometry(columnBoxes[i]);
        placeColumns_[i]->setUniformItemSizes(true);
        placeColumns_[i]->setAccessibleName(columnNames[i]);
        if (i > 0)
            placeColumns_[i]->setFocusPolicy(Qt::NoFocus);
        // F1 on the place list shows its keys.
        widgets::SetHelpTopic(placeColumns_[i], QStringLiteral("varnel.htm#tastiera"));
    }
    QListWidget* dropDownList = placeColumns_[0];
    placeScrollBar_ = Named(new QScrollBar(Qt::Vertical, this), "VScroll1");
    placeScrollBar_->setGeometry(twips::Rect(4980, 4530, 240, 1230));
    placeScrollBar_->setFocusPolicy(Qt::NoFocus);
    placeScrollBar_->setAccessibleName(QStringLiteral("Scorrimento dei luoghi"));
    // Hidden too, so that screen readers meet no lists nobody sees.
    placeColumns_[1]->hide();
    placeColumns_[2]->hide();
    placeScrollBar_->hide();
    dropDownList->hide();
    dropDownList->raise();
    dropDownArrow_->raise();

    for (QLineEdit* box : {surnameBox_, firstNameBox_, sexBox_, birthDateBox_, placeBox_}) {
        box->installEventFilter(this);
        // Any change of the person's data takes back a code made for other data.
        connect(box, &QLineEdit::textChanged, this, &MainForm::onPersonChanged);
    }
    dropDownArrow_->installEventFilter(this);
    codeLabel_->installEventFilter(this);
    dropDownList->installEventFilter(this);
    for (QLineEdit* box : {surnameBox_, firstNameBox_, sexBox_, placeBox_})
        connect(box, &QLineEdit::textChanged, this, [box] { widgets::KeepUpperCase(*box); });
    // The province shown is that of the place in the box: a new place
    // clears it at once, whoever writes it.
    connect(placeBox_, &QLineEdit::textChanged, this, [this] { setProvince(QString()); });
    connect(placeBox_, &QLineEdit::textEdited, this, [this] {
        pickedPlaceRow_ = -1;
        if (placeColumns_[0]->isVisible())
            moveDropDownToTypedName();
    });
    connect(dropDownList, &QListWidget::itemClicked, this, &MainForm::onPlacePicked);
    connect(dropDownList, &QListWidget::itemActivated, this, &MainForm::onPlacePicked);
    connect(generateButton_, &QPushButton::clicked, this, &MainForm::onGenerateClicked);
    connect(newCodeButton_, &QPushButton::clicked, this, &MainForm::onNewCodeClicked);
    connect(archiveButton_, &QPushButton::clicked, this, &MainForm::onArchiveClicked);

    // Surname, first name, sex, date, place, then the commands and the code.
    QWidget* const tabOrder[] = {surnameBox_,     firstNameBox_,  sexBox_,      birthDateBox_,  placeBox_,
                                 generateButton_, newCodeButton_, dropDownList, archiveButton_, codeLabel_};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void MainForm::loadPlaceList(const PlaceListHooks& hooks)
{
    dropDownArrow_->setPixmap(DropDownArrow());
    placeList_ = new widgets::MultiColumnList(this);
    placeList_->Create({{0, placeColumns_[0]}, {1, placeColumns_[1]}, {2, placeColumns_[2]}},
                       placeScrollBar_);
    LoadPlaceList(*placeList_, hooks);
    // The drop-down list scrolls by its own bar; the list keeps the other
    // columns in step with it.
    placeColumns_[0]->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    fitDropDownToItsRows();
    birthDateBox_->setText(DateMask());
}

// The drop-down is made wide enough for its widest row ("SAN LEONARDO IN
// PASSIRIA (fino al 1923)") and its scroll bar, growing to the left of the
// place box within the window.
void MainForm::fitDropDownToItsRows()
{
    QListWidget* list = placeColumns_[0];
    // The sum of the characters' advances: measuring each row's text whole
    // takes tens of milliseconds over 11,928 rows; kerning, left out, only
    // narrows capitals.
    const QFontMetrics metrics(list->font());
    std::array<int, 256> advances{};
    const auto advance = [&](QChar c) {
        if (c.unicode() >= advances.size())
            return metrics.horizontalAdvance(c);
        int& known = advances[c.unicode()];
        if (known == 0)
            known = metrics.horizontalAdvance(c);
        return known;
    };
    int widest = 0;
    for (int row = 0; row < list->count(); ++row) {
        int width = 0;
        for (QChar c : list->item(row)->text())
            width += advance(c);
        widest = std::max(widest, width);
    }
    const int textMargins = 2 * (list->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list) + 1);
    const int scrollBar = list->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, list);
    const int room = width() - 2 * kDropDownMargin;
    const int needed = widest + textMargins + scrollBar + 2 * list->frameWidth() + kDropDownMargin;
    QRect box = list->geometry();
    box.setWidth(std::min(room, std::max(box.width(), needed)));
    box.moveLeft(std::max(kDropDownMargin, std::min(box.left(), width() - kDropDownMargin - box.width())));
    list->setGeometry(box);
}

Person MainForm::person() const
{
    return {.surname = Utf8(surnameBox_->text()),
            .firstName = Utf8(firstNameBox_->text()),
            .sex = Utf8(sexBox_->text()),
            .birthDate = Utf8(birthDateBox_->text()),
            .place = Utf8(placeName()),
            .province = Utf8(provinceLabel_->text()),
            .code = Utf8(codeLabel_->text())};
}

void MainForm::setPerson(const Person& person)
{
    surnameBox_->setText(FromUtf8(person.surname));
    firstNameBox_->setText(FromUtf8(person.firstName));
    sexBox_->setText(FromUtf8(person.sex));
    birthDateBox_->setText(FromUtf8(person.birthDate));
    setPlace(person.place, person.province);
    // Last: every box written above takes back the code shown before.
    setCode(FromUtf8(person.code));
}

void MainForm::showPerson(const Person& person)
{
    setPerson(person);
    showWindow();
}

void MainForm::setCode(const QString& code)
{
    const bool changed = code != codeLabel_->text();
    widgets::ShowValue(codeLabel_, kCodeName, code);
    const bool filled = !code.isEmpty();
    archiveButton_->setEnabled(filled);
    codeLabel_->setToolTip(filled ? kCopyTip : QString());
    if (filled)
        codeLabel_->setCursor(HandCursor());
    else
        codeLabel_->unsetCursor();
    if (changed)
        emit codeChanged(code);
}

QString MainForm::placeName() const
{
    const std::string text = Utf8(placeBox_->text());
    return FromUtf8(PlaceNameOfBoxText(Places(), text));
}

void MainForm::setPlace(const std::string& name, const std::string& province)
{
    placeBox_->setText(FromUtf8(PlaceBoxText(Places(), name, province)));
    setProvince(FromUtf8(province));
    pickedPlaceRow_ = -1;
}

// A province shown means a place is chosen: the main command then shows the
// code, and its accelerator follows at once.
void MainForm::setProvince(const QString& province)
{
    widgets::ShowValue(provinceLabel_, kProvinceName, province);
    generateButton_->setText(province.isEmpty() ? kGenerateCaption : kShowCaption);
}

void MainForm::onPersonChanged()
{
    if (!rewritingPlace_ && !codeLabel_->text().isEmpty())
        setCode(QString());
}

void MainForm::showWindow()
{
    widgets::ShowHostWindow(this);
}

void MainForm::focusCode()
{
    giveFocus(codeLabel_->text().isEmpty() ? static_cast<QWidget*>(generateButton_) : codeLabel_);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        if (box)
            return handleBoxKey(box, key);
        if (watched == codeLabel_)
            return handleCodeKey(*key);
        if (watched == placeColumns_[0])
            return handleDropDownKey(*key);
        break;
    }
    case QEvent::FocusIn:
        if (box)
            box->selectAll();
        if (watched == codeLabel_)
            widgets::MarkFocus(codeLabel_, true);
        break;
    case QEvent::FocusOut: {
        if (watched == codeLabel_)
            widgets::MarkFocus(codeLabel_, false);
        // Leaving the box for another window or a context menu is no move
        // to another control; nor is opening the drop-down list to pick,
        // hiding this window, or a focus move of the window's own.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason || !isVisible()
            || movingFocus_)
            break;
        if (watched == placeColumns_[0] && QApplication::focusWidget() != placeBox_) {
            // Left for another control: the list closes, and the place is
            // checked as on leaving the place box.
            hideDropDown();
            checkPlaceOnLeaving();
        }
        if (box == birthDateBox_)
            checkBirthDateOnLeaving();
        else if (box == placeBox_ && QApplication::focusWidget() != placeColumns_[0])
            checkPlaceOnLeaving();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (watched == placeBox_)
            onPlaceBoxClicked();
        else if (watched == dropDownArrow_)
            onDropDownArrowClicked();
        else if (watched == codeLabel_)
            onCodeClicked();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Enter and Esc move the focus like Tab and Shift+Tab; each box lets through
// only its own characters. True when the key is consumed.
bool MainForm::handleBoxKey(QLineEdit* box, QKeyEvent* event)
{
    if (widgets::MoveFocusOnEnterOrEsc(*event, [this](bool next) { focusNextPrevChild(next); }))
        return true;
    if (box == birthDateBox_)
        return HandleDateMaskKey(*box, *event);
    if (box == placeBox_) {
        if (!IsDropDownKey(*event))
            return false;
        openDropDown();
        placeColumns_[0]->setFocus(Qt::PopupFocusReason);
        return true;
    }

    return widgets::TypesRefusedCharacter(*event, box == sexBox_ ? widgets::IsSexCharacter
                                                                 : widgets::IsNameCharacter);
}

// A focus move of the window's own (back to a box that failed its check, to
// the box a message is about, to the surname box for New code) runs no
// check of the box it leaves: else a place box holding New code's blank
// would answer the date box's message with its own, back and forth.
void MainForm::giveFocus(QWidget* box)
{
    const QScopedValueRollback<bool> moving(movingFocus_, true);
    box->setFocus();
}

void MainForm::checkBirthDateOnLeaving()
{
    const QString zeros = birthDateBox_->text();
    if (zeros == QStringLiteral("00/00/00") || zeros == QStringLiteral("00/00/0000"))
        birthDateBox_->setText(DateMask());
    const QString text = birthDateBox_->text();
    if (text.isEmpty() || text == DateMask())
        return;

    if (!ParseDayFirstDate(Utf8(text), Today())) {
        platform::ShowMessage(MessageIcon::Critical, kDateErrorTitle, kInvalidDate);
        giveFocus(birthDateBox_);
    } else if (text.size() != 8 && text.size() != 10) {
        platform::ShowMessage(MessageIcon::Critical, kDateErrorTitle,
                              QStringLiteral("Inserire la data nel formato GG/MM/AA o GG/MM/AAAA"));
        giveFocus(birthDateBox_);
    }
}

// The table row the place box names: the row picked from the drop-down
// list while the box is unchanged, else the first row of the typed name (in
// its bracketed province, if any); -1 when none.
int MainForm::typedPlaceRow() const
{
    if (pickedPlaceRow_ >= 0)
        return pickedPlaceRow_;
    return FindTypedPlace(Places(), Utf8(placeBox_->text()));
}

// Shows the row's province and selects the row in the place list; -1 shows
// no place.
void MainForm::showPlace(int row)
{
    if (row < 0) {
        setProvince(QString());
        placeList_->SetListIndex(-1);
        return;
    }
    const PlaceRow& place = Places().Row(row);
    setProvince(FromUtf8(place.province));
    if (isTableRow(row))
        placeList_->SetListIndex(row);
    else
        placeList_->SelectByText(1, FromUtf8(place.code));
}

// The list holds the rows of the place file, which are those of the table
// unless the file was changed under us.
bool MainForm::isTableRow(int row) const
{
    return row >= 0 && row < static_cast<int>(Places().Rows().size())
           && placeList_->List(row, 1) == FromUtf8(Places().Row(row).code);
}

void MainForm::hideDropDown()
{
    placeColumns_[0]->hide();
    showEveryPlace();
}

// Back to every row after a question: QListView::reset() drops the hidden
// rows at once (showing them one by one takes a quadratic time), and the
// selection with them, which the place list then takes up again.
void MainForm::showEveryPlace()
{
    if (!askingWhichPlace_)
        return;
    askingWhichPlace_ = false;
    placeColumns_[0]->setAccessibleDescription(QString());
    placeColumns_[0]->reset();
    placeList_->SetListIndex(pickedPlaceRow_ >= 0 ? pickedPlaceRow_ : typedPlaceRow());
}

// Asks which of the places a bare name means on the birth date: the
// drop-down opens on those rows alone, with the focus in it; a pick names
// the place with its province. Asked once for a text: leaving the box again
// does not ask again (Generate refuses until a place is picked).
void MainForm::askWhichPlace(const std::vector<int>& rows)
{
    QListWidget* list = placeColumns_[0];
    if (rows.empty() || !std::all_of(rows.begin(), rows.end(), [this](int row) { return isTableRow(row); }))
        return;
    placeAskedAbout_ = placeBox_->text();
    askingWhichPlace_ = true;
    // No place is chosen until one is picked.
    setProvince(QString());
    list->setAccessibleDescription(QStringLiteral("Più luoghi hanno questo nome alla data di nascita: "
                                                  "sceglierne uno con Invio"));
    std::vector<bool> shown(static_cast<std::size_t>(list->count()), false);
    for (int row : rows)
        shown[static_cast<std::size_t>(row)] = true;
    for (int row = 0; row < list->count(); ++row)
        list->setRowHidden(row, !shown[static_cast<std::size_t>(row)]);
    list->show();
    placeList_->SetListIndex(rows.front());
    list->scrollToItem(list->item(rows.front()), QAbstractItemView::PositionAtTop);
    const QScopedValueRollback<bool> moving(movingFocus_, true);
    list->setFocus(Qt::PopupFocusReason);
}

// The places a bare name typed in the place box means on the typed birth
// date besides the one it resolves to, that one first; empty when the name
// means one place, when a row was picked, or when there is no date yet.
std::vector<int> MainForm::namesakesOnTheBirthDate() const
{
    if (pickedPlaceRow_ >= 0)
        return {};
    const std::optional<BirthDay> birth = BirthDayOfTypedDate(Utf8(birthDateBox_->text()), Today());
    if (!birth)
        return {};
    const std::string typed = Utf8(placeBox_->text());
    return PlacesNamed(typed, ResolveBirthPlace(Places(), typed, *birth));
}

void MainForm::checkPlaceOnLeaving()
{
    // The name rewritten in the table's form is the same place: the code
    // stays.
    const QScopedValueRollback<bool> rewriting(rewritingPlace_, true);
    writeSanremo();
    // An empty or blank box holds no place to check: it never blocks
    // leaving it.
    if (placeBox_->text().trimmed().isEmpty())
        return;
    const int row = typedPlaceRow();
    if (row < 0) {
        platform::ShowMessage(MessageIcon::Exclamation, kMessageTitle, kUnknownPlace);
        giveFocus(placeBox_);
        showPlace(row);
        return;
    }
    if (pickedPlaceRow_ < 0) {
        // The name as the table writes it: FORLÌ becomes FORLI'.
        std::array<char, kMaxPlaceNameLength> buffer;
        const QString folded = FromUtf8(FoldPlaceName(Utf8(placeBox_->text()), buffer));
        if (folded != placeBox_->text())
            placeBox_->setText(folded);
    }
    showPlace(row);
    if (placeBox_->text() != placeAskedAbout_)
        askWhichPlace(namesakesOnTheBirthDate());
}

// SAN REMO is written SANREMO, the municipality's name in the table, as the
// command line reads it; the same place, so the code stays.
void MainForm::writeSanremo()
{
    const QScopedValueRollback<bool> rewriting(rewritingPlace_, true);
    if (placeBox_->text() == QStringLiteral("SAN REMO"))
        placeBox_->setText(QStringLiteral("SANREMO"));
}

void MainForm::onPlaceBoxClicked()
{
    hideDropDown();
    showPlace(typedPlaceRow());
}

void MainForm::onDropDownArrowClicked()
{
    if (placeColumns_[0]->isHidden())
        openDropDown();
}

// Opens the drop-down list at the name typed so far.
void MainForm::openDropDown()
{
    placeColumns_[0]->show();
    moveDropDownToTypedName();
}

// Selects the first name that starts with (else holds) the text of the place
// box, and scrolls it to the top of the list; with no such name nothing is
// selected, so that Enter picks nothing the box does not hold.
void MainForm::moveDropDownToTypedName()
{
    showEveryPlace();
    const std::string typed = Utf8(placeBox_->text());
    const int row = pickedPlaceRow_ >= 0 ? pickedPlaceRow_ : [&typed] {
        const std::vector<int> found = FindPlacesContaining(Places(), typed, 1);
        return found.empty() ? -1 : found.front();
    }();
    QListWidget* dropDownList = placeColumns_[0];
    if (row < 0 || row >= dropDownList->count() || placeBox_->text().trimmed().isEmpty()) {
        placeList_->SetListIndex(-1);
        return;
    }
    placeList_->SetListIndex(row);
    dropDownList->scrollToItem(dropDownList->item(row), QAbstractItemView::PositionAtTop);
}

// Closes the open list and goes back to the place box, checking nothing,
// with the caret after what was typed, so that typing goes on.
void MainForm::closeDropDown()
{
    giveFocus(placeBox_);
    placeBox_->end(false);
    hideDropDown();
}

// In the open list: typing goes on into the place box, which the list
// follows; Enter picks the row the list shows (the list's own activation),
// or closes the list when it shows none; Esc, Alt+Up or F4 close it. True
// when the key is consumed.
bool MainForm::handleDropDownKey(QKeyEvent& event)
{
    if (event.key() == Qt::Key_Escape || IsDropDownKey(event)) {
        closeDropDown();
        return true;
    }
    const bool enter = event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
    if (enter && placeColumns_[0]->currentRow() < 0) {
        closeDropDown();
        return true;
    }
    const std::optional<QChar> typed = widgets::TypedCharacter(event);
    const bool typing =
        event.key() == Qt::Key_Backspace
        || (typed && typed->isPrint() && !(event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)));
    if (!typing)
        return false;
    QCoreApplication::sendEvent(placeBox_, &event);
    return true;
}

// Ctrl+C and Enter on the focused code copy it, as a click does.
bool MainForm::handleCodeKey(const QKeyEvent& event)
{
    if (!event.matches(QKeySequence::Copy) && widgets::FocusMoveOf(event) != widgets::FocusMove::Next)
        return false;
    onCodeClicked();
    return true;
}

// A row picked from the open drop-down list goes into the place box, with
// its province for a namesake; the row itself is taken until the box is
// edited.
void MainForm::onPlacePicked(QListWidgetItem* item)
{
    QListWidget* dropDownList = placeColumns_[0];
    if (dropDownList->isHidden() || !item)
        return;
    const int row = dropDownList->row(item);
    const bool tableRow = isTableRow(row);
    if (tableRow) {
        const PlaceRow& place = Places().Row(row);
        placeBox_->setText(FromUtf8(PlaceBoxText(Places(), place.name, place.province)));
    } else {
        placeBox_->setText(placeList_->List(row, 0));
    }
    pickedPlaceRow_ = tableRow ? row : -1;
    placeBox_->setFocus();
    onPlaceBoxClicked();
}

// With no code nothing is copied: the clipboard keeps what it holds.
void MainForm::onCodeClicked()
{
    if (codeLabel_->text().isEmpty())
        return;
    platform::SetClipboardText(codeLabel_->text());
    platform::ShowMessage(MessageIcon::Information, kMessageTitle,
                          QStringLiteral("Codice fiscale copiato negli appunti!"));
}

// "Manca almeno un dato fondamentale" names the first box, in tab order,
// that holds nothing but blanks (the date box nothing but the mask), and the
// focus goes there. True when a datum is missing.
bool MainForm::refuseMissingData()
{
    const auto missing = FirstMissingDatum({surnameBox_, firstNameBox_, sexBox_, birthDateBox_, placeBox_});
    if (!missing)
        return false;
    platform::ShowMessage(MessageIcon::Critical, kMessageTitle, missing->message);
    giveFocus(missing->box);
    return true;
}

void MainForm::onGenerateClicked()
{
    if (refuseMissingData())
        return;
    // Generate from the place box (Alt+G) reads it as leaving the box does.
    writeSanremo();
    onPlaceBoxClicked();
    const std::optional<BirthDay> birth = BirthDayOfTypedDate(Utf8(birthDateBox_->text()), Today());
    if (!birth) {
        platform::ShowMessage(MessageIcon::Critical, kDateErrorTitle, kInvalidDate);
        giveFocus(birthDateBox_);
        return;
    }
    // The code is the one the place had on the birth date. A place matching
    // no row would leave blanks where its code belongs.
    const std::string typedPlace = Utf8(placeBox_->text());
    const BirthPlace place = ResolveBirthPlace(Places(), typedPlace, *birth, pickedPlaceRow_);
    if (place.verdict != PlaceVerdict::Found) {
        const QString refusal = place.verdict == PlaceVerdict::Unknown
                                    ? kUnknownPlace
                                    : QString::fromStdString(BirthPlaceRefusal(Places(), place));
        platform::ShowMessage(MessageIcon::Exclamation, kMessageTitle, refusal);
        // A two-digit year that fits a century earlier: the message asks
        // for the four-digit year.
        giveFocus(place.earlierCenturyFits ? birthDateBox_ : placeBox_);
        return;
    }
    showPlace(place.row);
    // A bare name of several places on the birth date: no guess.
    if (pickedPlaceRow_ < 0) {
        const std::vector<int> rows = PlacesNamed(typedPlace, place);
        if (!rows.empty()) {
            platform::ShowMessage(MessageIcon::Exclamation, kMessageTitle,
                                  FromUtf8(typedPlace)
                                      + QStringLiteral(" indica più luoghi alla data di nascita (")
                                      + FromUtf8(PlacesWithProvince(Places(), rows))
                                      + QStringLiteral("): scegliere quale dall'elenco"));
            askWhichPlace(rows);
            return;
        }
    }

    // The engine takes the date as dd/mm/yy, whichever way the year was typed.
    const CodeResult result = ComputeCodeWithPlaceCode(Utf8(surnameBox_->text()), Utf8(firstNameBox_->text()),
                                                       FormatShortDate(DateOfDayNumber(birth->day)),
                                                       Utf8(sexBox_->text()), Places().Row(place.row).code);
    switch (result.refusal) {
    case CodeRefusal::None:
        break;
    case CodeRefusal::SurnameWithoutLetters:
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle,
                              QString::fromUtf8(kSurnameWithoutLettersMessage));
        giveFocus(surnameBox_);
        return;
    case CodeRefusal::FirstNameWithoutLetters:
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle,
                              QString::fromUtf8(kFirstNameWithoutLettersMessage));
        giveFocus(firstNameBox_);
        return;
    case CodeRefusal::InvalidDate:
        platform::ShowMessage(MessageIcon::Critical, kDateErrorTitle, kInvalidDate);
        giveFocus(birthDateBox_);
        return;
    }

    setCode(QString::fromStdString(result.code.str()));
    showCard();
}

void MainForm::showCard()
{
    archiveButton_->setEnabled(true);
    widgets::HostWindow(this)->hide();
    if (cardPresenter_)
        cardPresenter_(person());
    else
        showDefaultCard(person());
}

void MainForm::showDefaultCard(const Person& shown)
{
    if (!card_) {
        card_ = new Tesserino();
        connect(card_, &Tesserino::returnRequested, this, [this] {
            showWindow();
            focusCode();
        });
    }
    card_->setPerson(shown);
    widgets::ShowHostWindow(card_);
}

void MainForm::onNewCodeClicked()
{
    surnameBox_->clear();
    firstNameBox_->clear();
    birthDateBox_->clear();
    sexBox_->clear();
    placeBox_->clear();
    pickedPlaceRow_ = -1;
    setProvince(QString());
    setCode(QString());
    archiveButton_->setEnabled(false);
    birthDateBox_->setText(DateMask());
    giveFocus(surnameBox_);
    // Closed once it has lost the focus, so that no check runs.
    hideDropDown();
}

// A person whose code the archive holds already is archived again only
// when the clerk says so.
bool MainForm::confirmSecondCopy(const std::string& archivePath) const
{
    const LoadedArchive archive = LoadArchive(archivePath);
    const std::string code = Utf8(codeLabel_->text());
    const std::size_t row = archive.FindCode(code);
    if (row == archive.size())
        return true;
    const Person archived = archive.person(row);
    const QString name = QString::fromStdString(archived.surname + ' ' + archived.firstName).trimmed();
    return platform::ShowMessage(
               MessageIcon::Question, kMessageTitle,
               QStringLiteral("Il codice %1 è già nell'archivio (%2). Archiviare un'altra copia?")
                   .arg(QString::fromStdString(code), name),
               platform::MessageButtons::YesNo)
           == platform::MessageAnswer::Yes;
}

void MainForm::onArchiveClicked()
{
    if (platform::ShowMessage(MessageIcon::Question, kMessageTitle,
                              QStringLiteral("Vuoi archiviare questi dati?"), platform::MessageButtons::YesNo)
        != platform::MessageAnswer::Yes)
        return;

    const std::string path = archivePath_.isEmpty() ? ArchivePath() : Utf8(archivePath_);
    if (!confirmSecondCopy(path))
        return;
    // The names as typed where the archive's character set holds them.
    const ArchiveResult result = AppendToArchive(path, ArchivablePerson(person()));
    if (result.ok)
        platform::ShowMessage(MessageIcon::Information, kMessageTitle, QStringLiteral("Dati archiviati!"));
    else
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle, QString::fromStdString(result.message));
}

}  // namespace cf::generation
