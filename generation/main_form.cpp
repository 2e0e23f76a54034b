#include "generation/main_form.h"

#include <QApplication>
#include <QDate>
#include <QKeyEvent>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QScrollBar>

#include "engine/archive_file.h"
#include "engine/birth_place.h"
#include "engine/code_computation.h"
#include "engine/date_mask.h"
#include "engine/dates.h"
#include "engine/place_labels.h"
#include "engine/place_names.h"
#include "generation/date_box.h"
#include "generation/fonts.h"
#include "generation/generation_images.h"
#include "generation/window_host.h"
#include "platform/clipboard.h"
#include "platform/message_box.h"
#include "widgets/multi_listbox.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"

namespace cf::generation {
namespace {

using forms::MakeBox;
using forms::Named;

const QString kTitle = QStringLiteral("Codice fiscale");
const QString kMissingData = QStringLiteral("Manca almeno un dato fondamentale");
const QString kUnknownPlace = QStringLiteral("Comune non censito o inesistente");
const QString kCopyTip = QStringLiteral("Clicca per copiare il codice fiscale negli appunti");
const QColor kBackground(255, 192, 128);

QString DateMask()
{
    return QString::fromStdU16String(std::u16string(kDateMask));
}

// A caption label: transparent, sized to its text.
void MakeCaption(QWidget* parent, const char* name, const QString& text, int left, int top)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->move(twips::ToPixels(left), twips::ToPixels(top));
    label->adjustSize();
}

// A label with a white background, a single sunken border and centred text.
QLabel* MakeValueLabel(QWidget* parent, const char* name, const QRect& box)
{
    auto* label = Named(new QLabel(parent), name);
    label->setGeometry(box);
    label->setAlignment(Qt::AlignCenter);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setLineWidth(1);
    forms::SetBackground(label, Qt::white);
    return label;
}

bool IsLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// Whether a typed character may reach a name box or the sex box.
bool NameCharacterAllowed(QChar c)
{
    return IsLetter(c) || c == u' ';
}

bool SexCharacterAllowed(QChar c)
{
    return c == u'M' || c == u'F' || c == u'm' || c == u'f';
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

}  // namespace

MainForm::MainForm(QWidget* parent, const PlaceListHooks& hooks) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Genera Codice Fiscale"));
    setFixedSize(twips::ToPixels(5610), twips::ToPixels(4470));
    setFont(SansFont(8.25));
    forms::SetBackground(this, kBackground);

    CreateControls();
    Form_Load(hooks);
}

MainForm::~MainForm()
{
    delete card_;
}

void MainForm::CreateControls()
{
    MakeCaption(this, "Label3", QStringLiteral("Cognome"), 330, 315);
    text2_ = MakeBox(this, "Text2", twips::Rect(1830, 240, 2775, 315), 40);
    MakeCaption(this, "Label4", QStringLiteral("Nome"), 330, 645);
    text3_ = MakeBox(this, "Text3", twips::Rect(1830, 645, 2775, 315), 40);
    MakeCaption(this, "Label9", QStringLiteral("Sesso"), 330, 1035);
    text5_ = MakeBox(this, "Text5", twips::Rect(1830, 1035, 315, 315), 40);
    MakeCaption(this, "Label5", QStringLiteral("Data di nascita"), 330, 1410);
    text4_ = MakeBox(this, "Text4", twips::Rect(1830, 1410, 915, 315), 10);
    text4_->setValidator(new DateMaskValidator(text4_));
    MakeCaption(this, "Label6", QStringLiteral("Luogo"), 330, 1770);
    combo1_ = MakeBox(this, "Combo1", twips::Rect(1830, 1785, 2850, 300), 0);

    picture1_ = Named(new QLabel(this), "Picture1");
    picture1_->setGeometry(twips::Rect(4410, 1800, 240, 255));
    picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    MakeCaption(this, "Label7", QStringLiteral("Provincia"), 330, 2130);
    label8_ = MakeValueLabel(this, "Label8", twips::Rect(1830, 2130, 465, 330));
    MakeCaption(this, "Label1", QStringLiteral("Codice Fiscale/Partita IVA"), 330, 2640);
    varnel_ = MakeValueLabel(this, "Varnel", twips::Rect(2325, 2580, 3120, 345));
    varnel_->setFont(SansFont(9.75, true));

    command1_ = Named(new QPushButton(QStringLiteral("&Genera Codice Fiscale"), this), "Command1");
    command1_->setGeometry(twips::Rect(1845, 3150, 2565, 480));
    command2_ = Named(new QPushButton(QStringLiteral("&Nuovo Codice"), this), "Command2");
    command2_->setGeometry(twips::Rect(1110, 3855, 1875, 360));
    command3_ = Named(new QPushButton(QStringLiteral("&Archivia dati"), this), "Command3");
    command3_->setGeometry(twips::Rect(3240, 3855, 1875, 360));
    command3_->setEnabled(false);
    // Enter on a focused command presses it.
    for (QPushButton* command : {command1_, command2_, command3_})
        command->setAutoDefault(true);

    // The place list: the name column doubles as the drop-down list of the
    // place box; the code and province columns lie below the window's bottom
    // edge and are never seen.
    const QRect listBoxes[] = {twips::Rect(1830, 2100, 2850, 1620), twips::Rect(2760, 4530, 1560, 1230),
                               twips::Rect(3675, 4530, 1545, 1230)};
    for (int i = 0; i < 3; ++i) {
        list1_[i] = new QListWidget(this);
        list1_[i]->setObjectName(QStringLiteral("List1_%1").arg(i));
        list1_[i]->setGeometry(listBoxes[i]);
        list1_[i]->setUniformItemSizes(true);
        if (i > 0)
            list1_[i]->setFocusPolicy(Qt::NoFocus);
    }
    vScroll1_ = Named(new QScrollBar(Qt::Vertical, this), "VScroll1");
    vScroll1_->setGeometry(twips::Rect(4980, 4530, 240, 1230));
    vScroll1_->setFocusPolicy(Qt::NoFocus);
    list1_[0]->hide();
    list1_[0]->raise();
    picture1_->raise();

    for (QLineEdit* box : {text2_, text3_, text5_, text4_, combo1_})
        box->installEventFilter(this);
    picture1_->installEventFilter(this);
    varnel_->installEventFilter(this);
    for (QLineEdit* box : {text2_, text3_, text5_, combo1_})
        connect(box, &QLineEdit::textChanged, this, [this, box] { UpperCase(box); });
    connect(combo1_, &QLineEdit::textEdited, this, [this] { pickedPlaceRow_ = -1; });
    connect(list1_[0], &QListWidget::itemClicked, this, &MainForm::List1_Pick);
    connect(list1_[0], &QListWidget::itemActivated, this, &MainForm::List1_Pick);
    connect(command1_, &QPushButton::clicked, this, &MainForm::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &MainForm::Command2_Click);
    connect(command3_, &QPushButton::clicked, this, &MainForm::Command3_Click);

    // Surname, first name, sex, date, place, then the commands.
    QWidget* const tabOrder[] = {text2_,    text3_,    text5_,     text4_,   combo1_,
                                 command1_, command2_, list1_[0], command3_};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

void MainForm::Form_Load(const PlaceListHooks& hooks)
{
    picture1_->setPixmap(DropDownArrow());
    places_ = new CMultiListbox(this);
    places_->Create({{0, list1_[0]}, {1, list1_[1]}, {2, list1_[2]}}, vScroll1_);
    LoadPlaceList(*places_, hooks);
    text4_->setText(DateMask());
}

void MainForm::setCode(const QString& code)
{
    varnel_->setText(code);
    const bool filled = !code.isEmpty();
    command3_->setEnabled(filled);
    varnel_->setToolTip(filled ? kCopyTip : QString());
    if (filled)
        varnel_->setCursor(HandCursor());
    else
        varnel_->unsetCursor();
}

QString MainForm::placeName() const
{
    const std::string text = Utf8(combo1_->text());
    return FromUtf8(PlaceNameOfBoxText(Places(), text));
}

void MainForm::setPlace(const QString& name, const QString& province)
{
    combo1_->setText(FromUtf8(PlaceBoxText(Places(), Utf8(name), Utf8(province))));
    label8_->setText(province);
    pickedPlaceRow_ = -1;
}

void MainForm::ShowWindow()
{
    ShowHostWindow(this);
}

bool MainForm::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (box)
            return BoxKeyPress(box, static_cast<QKeyEvent*>(event));
        break;
    case QEvent::FocusIn:
        if (box)
            box->selectAll();
        break;
    case QEvent::FocusOut: {
        // Leaving the box for another window or a context menu is no move
        // to another control; nor is opening the drop-down list to pick,
        // hiding this window, or a focus move of the window's own.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason
            || !isVisible() || movingFocus_)
            break;
        if (box == text4_)
            Text4_LostFocus();
        else if (box == combo1_ && QApplication::focusWidget() != list1_[0])
            Combo1_LostFocus();
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            break;
        if (watched == combo1_)
            Combo1_Click();
        else if (watched == picture1_)
            Picture1_Click();
        else if (watched == varnel_)
            Varnel_Click();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Enter and Esc move the focus like Tab and Shift+Tab; each box lets through
// only its own characters. True when the key is consumed.
bool MainForm::BoxKeyPress(QLineEdit* box, QKeyEvent* event)
{
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(event->modifiers() & Qt::ControlModifier)) {
        focusNextPrevChild(true);
        return true;
    }
    if (key == Qt::Key_Escape) {
        focusNextPrevChild(false);
        return true;
    }
    if (box == text4_)
        return HandleDateMaskKey(*box, *event);
    if (box == combo1_)
        return false;

    const QString text = event->text();
    if (text.isEmpty() || key == Qt::Key_Backspace || key == Qt::Key_Tab || key == Qt::Key_Backtab)
        return false;
    const QChar c = text.at(0);
    if (c == u'\n' || c == QChar(0x7f))
        return false;
    const bool allowed = box == text5_ ? SexCharacterAllowed(c) : NameCharacterAllowed(c);
    return !allowed;
}

// A focus move of the window's own (back to a box that failed its check, to
// the box a message is about, to the surname box for New code) runs no
// check of the box it leaves: else a place box holding New code's blank
// would answer the date box's message with its own, back and forth.
void MainForm::GiveFocus(QWidget* box)
{
    const QScopedValueRollback<bool> moving(movingFocus_, true);
    box->setFocus();
}

void MainForm::UpperCase(QLineEdit* box)
{
    const QString upper = box->text().toUpper();
    if (upper != box->text())
        box->setText(upper);
    box->setCursorPosition(static_cast<int>(upper.size()));
}

void MainForm::Text4_LostFocus()
{
    if (text4_->text() == QStringLiteral("00/00/00"))
        text4_->setText(DateMask());
    const QString text = text4_->text();
    if (text.isEmpty() || text == DateMask())
        return;

    const QString title = QStringLiteral("Errore");
    if (!ParseDayFirstDate(Utf8(text))) {
        platform::ShowMessage(MessageIcon::Critical, title,
                              QStringLiteral("Data inserita non valida!"));
        GiveFocus(text4_);
    } else if (text.size() != 8) {
        platform::ShowMessage(MessageIcon::Critical, title,
                              QStringLiteral("Inserire la data nel formato GG/MM/AA"));
        GiveFocus(text4_);
    }
}

// The table row the place box names: the row picked from the drop-down
// list while the box is unchanged, else the first row of the typed name (in
// its bracketed province, if any); -1 when none.
int MainForm::TypedPlaceRow() const
{
    if (pickedPlaceRow_ >= 0)
        return pickedPlaceRow_;
    return FindTypedPlace(Places(), Utf8(combo1_->text()));
}

// Shows the row's province and selects the row in the place list; -1 shows
// no place.
void MainForm::ShowPlace(int row)
{
    if (row < 0) {
        label8_->clear();
        places_->SetListIndex(-1);
        return;
    }
    const PlaceRow& place = Places().Row(row);
    label8_->setText(FromUtf8(place.province));
    // The list holds the rows of the place file, which are those of the
    // table unless the file was changed under us.
    if (places_->List(row, 1) == FromUtf8(place.code))
        places_->SetListIndex(row);
    else
        places_->SelectByText(1, FromUtf8(place.code));
}

void MainForm::Combo1_LostFocus()
{
    if (combo1_->text() == QStringLiteral("SAN REMO"))
        combo1_->setText(QStringLiteral("SANREMO"));
    if (combo1_->text().isEmpty())
        return;
    const int row = TypedPlaceRow();
    if (row < 0) {
        platform::ShowMessage(MessageIcon::Exclamation, kTitle, kUnknownPlace);
        GiveFocus(combo1_);
    } else if (pickedPlaceRow_ < 0) {
        // The name as the table writes it: FORLÌ becomes FORLI'.
        std::array<char, kMaxPlaceNameLength> buffer;
        const QString folded = FromUtf8(FoldPlaceName(Utf8(combo1_->text()), buffer));
        if (folded != combo1_->text())
            combo1_->setText(folded);
    }
    ShowPlace(row);
}

void MainForm::Combo1_Click()
{
    list1_[0]->hide();
    ShowPlace(TypedPlaceRow());
}

void MainForm::Picture1_Click()
{
    if (list1_[0]->isHidden())
        list1_[0]->show();
}

// A row picked from the open drop-down list goes into the place box, with
// its province for a namesake; the row itself is taken until the box is
// edited.
void MainForm::List1_Pick(QListWidgetItem* item)
{
    if (list1_[0]->isHidden() || !item)
        return;
    const int row = list1_[0]->row(item);
    const bool tableRow = row < static_cast<int>(Places().Rows().size())
                       && places_->List(row, 1) == FromUtf8(Places().Row(row).code);
    if (tableRow) {
        const PlaceRow& place = Places().Row(row);
        combo1_->setText(FromUtf8(PlaceBoxText(Places(), place.name, place.province)));
    } else {
        combo1_->setText(places_->List(row, 0));
    }
    pickedPlaceRow_ = tableRow ? row : -1;
    combo1_->setFocus();
    Combo1_Click();
}

void MainForm::Varnel_Click()
{
    platform::SetClipboardText(varnel_->text());
    platform::ShowMessage(MessageIcon::Information, kTitle,
                          QStringLiteral("Codice fiscale copiato negli appunti!"));
}

void MainForm::Command1_Click()
{
    if (text2_->text().isEmpty() || text3_->text().isEmpty() || text4_->text().isEmpty()
        || text5_->text().isEmpty()) {
        platform::ShowMessage(MessageIcon::Critical, kTitle, kMissingData);
        GiveFocus(text2_);
        return;
    }
    // A date box holding only the mask was skipped: there is no date.
    if (text4_->text() == DateMask()) {
        platform::ShowMessage(MessageIcon::Critical, kTitle, kMissingData);
        GiveFocus(text4_);
        return;
    }
    Combo1_Click();
    const std::optional<BirthDay> birth = BirthDayOfTypedDate(Utf8(text4_->text()), QDate::currentDate().year());
    if (!birth) {
        platform::ShowMessage(MessageIcon::Critical, QStringLiteral("Errore"),
                              QStringLiteral("Data inserita non valida!"));
        GiveFocus(text4_);
        return;
    }
    // The code is the one the place had on the birth date. A place matching
    // no row would leave blanks where its code belongs.
    const BirthPlace place = ResolveBirthPlace(Places(), Utf8(combo1_->text()), *birth, pickedPlaceRow_);
    if (place.verdict != PlaceVerdict::Found) {
        const QString refusal = place.verdict == PlaceVerdict::Unknown
                                  ? kUnknownPlace
                                  : QString::fromStdString(BirthPlaceRefusal(Places(), place));
        platform::ShowMessage(MessageIcon::Exclamation, kTitle, refusal);
        GiveFocus(combo1_);
        return;
    }
    ShowPlace(place.row);

    const CodeResult result =
        ComputeCodeWithPlaceCode(Utf8(text2_->text()), Utf8(text3_->text()), Utf8(text4_->text()),
                                 Utf8(text5_->text()), Places().Row(place.row).code);
    switch (result.refusal) {
    case CodeRefusal::None:
        break;
    case CodeRefusal::SurnameWithoutLetters:
    case CodeRefusal::FirstNameWithoutLetters:
        platform::ShowMessage(MessageIcon::Critical, kTitle, kMissingData);
        GiveFocus(result.refusal == CodeRefusal::SurnameWithoutLetters ? text2_ : text3_);
        return;
    case CodeRefusal::InvalidDate:
        platform::ShowMessage(MessageIcon::Critical, QStringLiteral("Errore"),
                              QStringLiteral("Data inserita non valida!"));
        GiveFocus(text4_);
        return;
    }

    setCode(QString::fromStdString(result.code.str()));
    command3_->setEnabled(true);
    HostWindow(this)->hide();

    const CardValues values{varnel_->text(), text2_->text(), text3_->text(), text5_->text(),
                            placeName(),     label8_->text(), text4_->text()};
    if (cardPresenter_)
        cardPresenter_(values);
    else
        ShowDefaultCard(values);
}

void MainForm::ShowDefaultCard(const CardValues& values)
{
    if (!card_) {
        card_ = new Tesserino();
        connect(card_, &Tesserino::returnRequested, this, &MainForm::ShowWindow);
    }
    card_->Fill(values);
    ShowHostWindow(card_);
}

void MainForm::Command2_Click()
{
    text2_->clear();
    text3_->clear();
    text4_->clear();
    text5_->clear();
    combo1_->setText(QStringLiteral(" "));
    pickedPlaceRow_ = -1;
    label8_->clear();
    setCode(QString());
    command3_->setEnabled(false);
    text4_->setText(DateMask());
    GiveFocus(text2_);
}

void MainForm::Command3_Click()
{
    if (platform::ShowMessage(MessageIcon::Question, kTitle,
                              QStringLiteral("Vuoi archiviare questi dati?"),
                              platform::MessageButtons::YesNo)
        != platform::MessageAnswer::Yes)
        return;

    const ArchiveRecord record{Utf8(text2_->text()),  Utf8(text3_->text()),
                               Utf8(varnel_->text()), Utf8(text5_->text()),
                               Utf8(text4_->text()),  Utf8(placeName()),
                               Utf8(label8_->text())};
    const std::string path = archivePath_.isEmpty() ? ArchivePath() : Utf8(archivePath_);
    const ArchiveResult result = AppendArchiveRecord(path, record);
    if (result.ok)
        platform::ShowMessage(MessageIcon::Information, kTitle, QStringLiteral("Dati archiviati!"));
    else
        platform::ShowMessage(MessageIcon::Critical, kTitle, QString::fromStdString(result.message));
}

}  // namespace cf::generation
