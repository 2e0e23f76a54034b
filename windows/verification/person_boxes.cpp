// SPDX-License-Identifier: MIT
#include "windows/verification/person_boxes.h"

#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QTimer>

#include <algorithm>
#include <string>

#include "engine/code/code_computation.h"
#include "engine/code/dates.h"
#include "engine/code/person_match.h"
#include "engine/places/birth_place.h"
#include "engine/places/place_labels.h"
#include "engine/places/place_names.h"
#include "widgets/data_box_keys.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"
#include "windows/generation/date_box.h"
#include "windows/generation/generation_images.h"
#include "windows/generation/missing_datum.h"
#include "windows/verification/place_drop_down.h"

namespace cf::verification {
namespace {

using generation::DateMask;
using widgets::kInvalidDate;
using widgets::kUnknownPlace;
using widgets::MakeBox;
using widgets::Named;

const QString kVerdictCaption = QStringLiteral("Confronto con i dati");

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

const PlaceCatalog& Places()
{
    return PlaceCatalog::Embedded();
}

QLineEdit* MakePersonBox(QWidget* parent, const char* name, const QString& accessibleName, const QRect& box,
                         int maxLength)
{
    QLineEdit* edit = MakeBox(parent, name, box, maxLength);
    edit->setAccessibleName(accessibleName);
    return edit;
}

}  // namespace

PersonBoxes::PersonBoxes(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("personBoxes"));
    createControls();
}

// Each box on the row of the decoded field it is compared with; positions
// in twips from the panel's top left corner.
void PersonBoxes::createControls()
{
    const QFont bold = widgets::SansFont(8.25, true);
    widgets::MakeCaption(this, "personCaption", QStringLiteral("Dati della persona (facoltativi)"),
                         twips::Rect(0, 300, 3300, 240), &bold);
    surnameBox_ = MakePersonBox(this, "personSurname", QStringLiteral("Cognome della persona"),
                                twips::Rect(0, 735, 3300, 315), 40);
    firstNameBox_ = MakePersonBox(this, "personFirstName", QStringLiteral("Nome della persona"),
                                  twips::Rect(0, 1140, 3300, 315), 40);
    sexBox_ = MakePersonBox(this, "personSex", QStringLiteral("Sesso della persona"),
                            twips::Rect(0, 1530, 315, 315), 1);
    // No length limit of the box's own: the mask holds the date to ten
    // characters, and a limit would cut a pasted date.
    birthDateBox_ = MakePersonBox(this, "personBirthDate", QStringLiteral("Data di nascita della persona"),
                                  twips::Rect(0, 1905, 1170, 315), 0);
    placeBox_ = MakePersonBox(this, "personPlace", QStringLiteral("Luogo di nascita della persona"),
                              twips::Rect(0, 2265, 3300, 300), 0);
    for (QLineEdit* box : {surnameBox_, firstNameBox_})
        box->setValidator(new widgets::NameBoxValidator(box));
    sexBox_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[MFmf]?")), sexBox_));
    birthDateBox_->setValidator(new generation::DateMaskValidator(birthDateBox_));
    birthDateBox_->setText(DateMask());

    // The arrow over the right end of the place box opens the list.
    placeArrow_ = Named(new QLabel(this), "personPlaceArrow");
    placeArrow_->setGeometry(twips::Rect(3030, 2280, 240, 255));
    placeArrow_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeArrow_->setPixmap(generation::DropDownArrow());
    placeArrow_->setAccessibleName(QStringLiteral("Elenco dei luoghi"));
    placeArrow_->setAccessibleDescription(
        QStringLiteral("Freccia che apre l'elenco dei luoghi (Alt+Giù o F4 nella casella del luogo)"));
    placeList_ = Named(new PlaceDropDown(placeBox_, parentWidget()), "personPlaceList");

    verdictLabel_ = Named(new QLabel(this), "personVerdict");
    verdictLabel_->setGeometry(twips::Rect(0, 2655, 3420, 1140));
    verdictLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    verdictLabel_->setWordWrap(true);
    widgets::ShowValue(verdictLabel_, kVerdictCaption, QString());

    for (QLineEdit* box : boxes()) {
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, &PersonBoxes::clearVerdict);
        if (box != birthDateBox_)
            connect(box, &QLineEdit::textChanged, this, [box] { widgets::KeepUpperCase(*box); });
    }
    placeArrow_->installEventFilter(this);
    connect(placeBox_, &QLineEdit::textEdited, this, [this] {
        pickedPlaceRow_ = -1;
        if (placeList_->isVisible())
            placeList_->followTypedName();
    });
    connect(placeList_, &PlaceDropDown::picked, this, &PersonBoxes::onPlacePicked);
}

std::array<QLineEdit*, 5> PersonBoxes::boxes() const
{
    return {surnameBox_, firstNameBox_, sexBox_, birthDateBox_, placeBox_};
}

bool PersonBoxes::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (box)
            return handleBoxKey(box, static_cast<const QKeyEvent&>(*event));
        break;
    case QEvent::FocusIn:
        // Selected once the event that brought the focus is over, so that
        // the caret placed by a mouse click does not undo the selection;
        // back from the list, the caret stays after what was typed.
        if (box && static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason)
            QTimer::singleShot(0, box, [box] {
                if (box->hasFocus())
                    box->selectAll();
            });
        break;
    case QEvent::MouseButtonRelease:
        if (watched == placeArrow_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton
            && placeList_->isHidden())
            placeList_->openAtTypedName();
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Enter and Esc move the focus like Tab and Shift+Tab; the date box keeps
// its mask, Alt+Down or F4 in the place box opens the list, and the name
// and sex boxes let through only their own characters. True when the key
// is consumed.
bool PersonBoxes::handleBoxKey(QLineEdit* box, const QKeyEvent& event)
{
    if (widgets::MoveFocusOnEnterOrEsc(event, [this](bool next) { focusNextPrevChild(next); }))
        return true;
    if (box == birthDateBox_)
        return generation::HandleDateMaskKey(*box, event);
    if (box == placeBox_) {
        if (!widgets::IsDropDownKey(event))
            return false;
        placeList_->openAtTypedName();
        return true;
    }
    return widgets::TypesRefusedCharacter(event, box == sexBox_ ? widgets::IsSexCharacter
                                                                : widgets::IsNameCharacter);
}

bool PersonBoxes::isEmpty() const
{
    const auto all = boxes();
    return std::all_of(all.begin(), all.end(),
                       [](const QLineEdit* box) { return generation::HoldsNoDatum(*box); });
}

// The place picked is named with its province when it has namesakes; the
// row itself is taken until the box is edited.
void PersonBoxes::onPlacePicked(int row)
{
    const PlaceRow& place = Places().Row(row);
    placeBox_->setText(QString::fromStdString(PlaceBoxText(Places(), place.name, place.province)));
    pickedPlaceRow_ = row;
    placeBox_->setFocus(Qt::PopupFocusReason);
    placeBox_->end(false);
}

void PersonBoxes::clearVerdict()
{
    showVerdict(QString());
}

void PersonBoxes::showVerdict(const QString& verdict)
{
    widgets::ShowValue(verdictLabel_, kVerdictCaption, verdict);
    // The whole verdict, should the label be too small for it.
    verdictLabel_->setToolTip(verdict);
}

std::optional<PersonBoxes::Comparison> PersonBoxes::compare(std::string_view code)
{
    clearVerdict();
    if (isEmpty())
        return std::nullopt;
    Comparison comparison{{}, MessageIcon::Critical};
    QWidget* fault = nullptr;
    if (const auto missing = generation::FirstMissingDatum(boxes())) {
        comparison.lines.append(missing->message);
        fault = missing->box;
    } else {
        const std::string surname = Utf8(surnameBox_->text());
        const std::string firstName = Utf8(firstNameBox_->text());
        const std::string date = Utf8(birthDateBox_->text());
        const std::string sex = Utf8(sexBox_->text());
        const std::string place(SanremoAsTheTableWritesIt(Utf8(placeBox_->text())));
        const PersonMatch match =
            MatchPerson(code, {surname, firstName, date, sex, place}, Today(), pickedPlaceRow_);
        switch (match.refusal) {
        case MatchRefusal::None:
            for (const std::string& line : MatchLines(match, place))
                comparison.lines.append(QString::fromStdString(line));
            comparison.icon = match.corresponds() ? MessageIcon::Information : MessageIcon::Exclamation;
            break;
        case MatchRefusal::CodeNotValid:
            return std::nullopt;
        case MatchRefusal::WrongSex:
            comparison.lines.append(QStringLiteral("Il sesso è errato."));
            fault = sexBox_;
            break;
        case MatchRefusal::InvalidDate:
            comparison.lines.append(kInvalidDate);
            fault = birthDateBox_;
            break;
        case MatchRefusal::UnknownPlace:
            comparison.lines.append(kUnknownPlace);
            fault = placeBox_;
            break;
        case MatchRefusal::PlaceNotInUse:
            comparison.lines.append(QString::fromStdString(BirthPlaceRefusal(Places(), match.place)));
            // A two-digit year that fits a century earlier: the message asks
            // for the four-digit year.
            fault = match.place.earlierCenturyFits ? birthDateBox_ : placeBox_;
            break;
        case MatchRefusal::SurnameWithoutLetters:
            comparison.lines.append(QString::fromUtf8(kSurnameWithoutLettersMessage));
            fault = surnameBox_;
            break;
        case MatchRefusal::FirstNameWithoutLetters:
            comparison.lines.append(QString::fromUtf8(kFirstNameWithoutLettersMessage));
            fault = firstNameBox_;
            break;
        }
    }
    showVerdict(comparison.lines.join(u'\n'));
    if (fault)
        fault->setFocus();
    return comparison;
}

}  // namespace cf::verification
