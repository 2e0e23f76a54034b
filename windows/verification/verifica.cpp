// SPDX-License-Identifier: MIT
#include "windows/verification/verifica.h"

#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <iterator>

#include "engine/code/verification.h"
#include "platform/message_box.h"
#include "widgets/data_box_keys.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"
#include "windows/verification/code_box_rule.h"

namespace cf::verification {
namespace {

using widgets::kMessageTitle;
using widgets::MakeBox;
using widgets::Named;

// Two lines parted by a lone carriage return.
const QString kNotACode = QStringLiteral("Il codice inserito non è\rné un Codice Fiscale né una Partita IVA");
const QColor kBackground(0, 255, 0);
const QString kProvinceCaption = QStringLiteral("Provincia");
const QString kVerdictCaption = QStringLiteral("Esito");

// A caption at its place that names the control beside it for screen
// readers.
void MakeCaption(QWidget* parent, const char* name, const QString& text, const QRect& box, QWidget* control,
                 const QFont* font = nullptr)
{
    widgets::MakeCaption(parent, name, text, box, font)->setBuddy(control);
}

// The text of a code for the checks: one byte per character, so that the
// lengths agree; a character outside Latin-1 becomes '?', which the checks
// count like any character outside their tables.
std::string CodeBytes(const QString& text)
{
    return text.toLatin1().toStdString();
}

}  // namespace

Verifica::Verifica(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Verifica"));
    setWindowTitle(QStringLiteral("Verifica codice"));
    // 210 twips taller than the original, for the verdict below the button,
    // and wider, for the person's data beside the decoded fields.
    setFixedSize(twips::ToPixels(8850), twips::ToPixels(4470));
    setFont(widgets::SansFont(8.25));
    widgets::UseFixedColours(this, kBackground);

    createControls();
}

void Verifica::createControls()
{
    // The code box has no length limit of its own, which would cut a pasted
    // text before its blanks are dropped: its rule sets the lengths.
    codeBox_ = MakeBox(this, "Text1", twips::Rect(2565, 225, 2610, 315), 0);
    codeBox_->setValidator(new CodeBoxValidator(codeBox_));
    const QFont bold = widgets::SansFont(8.25, true);
    MakeCaption(this, "Label1", QStringLiteral("Codice Fiscale/Partita IVA"),
                twips::Rect(225, 300, 2265, 240), codeBox_, &bold);
    checkButton_ = Named(new QPushButton(QStringLiteral("&Verifica Codice Fiscale"), this), "Command2");
    checkButton_->setGeometry(twips::Rect(1770, 3315, 2865, 450));
    // Enter on the focused button presses it.
    checkButton_->setAutoDefault(true);

    surnameBox_ = MakeBox(this, "Text2", twips::Rect(1740, 735, 2820, 315), 40);
    MakeCaption(this, "Label3", QStringLiteral("Cognome"), twips::Rect(240, 810, 675, 195), surnameBox_);
    firstNameBox_ = MakeBox(this, "Text3", twips::Rect(1740, 1140, 2820, 315), 40);
    MakeCaption(this, "Label4", QStringLiteral("Nome"), twips::Rect(240, 1140, 420, 195), firstNameBox_);
    sexBox_ = MakeBox(this, "Text5", twips::Rect(1740, 1530, 315, 315), 40);
    MakeCaption(this, "Label9", QStringLiteral("Sesso"), twips::Rect(240, 1530, 435, 195), sexBox_);
    birthDateBox_ = MakeBox(this, "Text4", twips::Rect(1740, 1905, 1170, 315), 10);
    MakeCaption(this, "Label5", QStringLiteral("Data di nascita"), twips::Rect(240, 1905, 1065, 195),
                birthDateBox_);
    placeBox_ = MakeBox(this, "Combo1", twips::Rect(1740, 2265, 2835, 300), 0);
    MakeCaption(this, "Label6", QStringLiteral("Luogo"), twips::Rect(240, 2265, 450, 195), placeBox_);

    // The province: white, single border, centred.
    provinceLabel_ = Named(new QLabel(this), "Label8");
    provinceLabel_->setGeometry(twips::Rect(1740, 2625, 465, 330));
    provinceLabel_->setAlignment(Qt::AlignCenter);
    provinceLabel_->setFrameStyle(QFrame::Box | QFrame::Plain);
    provinceLabel_->setLineWidth(1);
    widgets::SetBackground(provinceLabel_, Qt::white);
    MakeCaption(this, "Label7", kProvinceCaption, twips::Rect(240, 2625, 660, 195), provinceLabel_);
    widgets::ShowValue(provinceLabel_, kProvinceCaption, QString());

    // The verdict stays in the window after its message box has gone.
    verdictLabel_ = Named(new QLabel(this), "Label10");
    verdictLabel_->setGeometry(twips::Rect(240, 3840, 8370, 555));
    verdictLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    verdictLabel_->setWordWrap(true);
    verdictLabel_->setFont(bold);
    widgets::ShowValue(verdictLabel_, kVerdictCaption, QString());

    // The decoded fields show what the code holds: nobody types there.
    for (QLineEdit* box : {surnameBox_, firstNameBox_, sexBox_, birthDateBox_, placeBox_})
        box->setReadOnly(true);
    for (QLineEdit* box : {codeBox_, surnameBox_, firstNameBox_, sexBox_, birthDateBox_, placeBox_})
        box->installEventFilter(this);
    connect(codeBox_, &QLineEdit::textChanged, this, [this] {
        widgets::KeepUpperCase(*codeBox_);
        clearResult();
    });
    connect(checkButton_, &QPushButton::clicked, this, &Verifica::onCheckClicked);

    // Beside the decoded fields, each box on its field's row.
    personBoxes_ = new PersonBoxes(this);
    personBoxes_->setGeometry(twips::Rect(5280, 0, 3450, 3810));
    const auto personBoxes = personBoxes_->boxes();

    // The code, the person's data, the button, the decoded fields.
    QWidget* const tabOrder[] = {codeBox_,       personBoxes[0], personBoxes[1], personBoxes[2],
                                 personBoxes[3], personBoxes[4], checkButton_,   firstNameBox_,
                                 sexBox_,        birthDateBox_,  surnameBox_,    placeBox_};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

bool Verifica::eventFilter(QObject* watched, QEvent* event)
{
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto& key = static_cast<const QKeyEvent&>(*event);
        if (box == codeBox_)
            return handleCodeKey(key);
        // Enter and Esc move the focus like Tab and Shift+Tab in the output
        // boxes.
        return widgets::MoveFocusOnEnterOrEsc(key, [this](bool next) { focusNextPrevChild(next); });
    }
    case QEvent::FocusIn:
        // Selected once the event that brought the focus is over, so that
        // the caret placed by a mouse click does not undo the selection.
        QTimer::singleShot(0, box, [box] {
            if (box->hasFocus())
                box->selectAll();
        });
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

// Enter moves on to the check button, past the person's data, which Tab
// goes through; what the other keys type, paste or cut goes through the
// box's rule. True when the key is consumed.
bool Verifica::handleCodeKey(const QKeyEvent& event)
{
    if (widgets::FocusMoveOf(event) != widgets::FocusMove::Next)
        return false;
    checkButton_->setFocus(Qt::TabFocusReason);
    return true;
}

void Verifica::clearResult()
{
    for (QLineEdit* box : {surnameBox_, firstNameBox_, sexBox_, birthDateBox_, placeBox_})
        box->clear();
    widgets::ShowValue(provinceLabel_, kProvinceCaption, QString());
    showVerdict(QString());
    personBoxes_->clearVerdict();
}

void Verifica::showVerdict(const QString& verdict)
{
    widgets::ShowValue(verdictLabel_, kVerdictCaption, verdict);
}

void Verifica::onCheckClicked()
{
    clearResult();
    const std::string code = CodeBytes(codeBox_->text());
    if (ClassifyCode(code) == CodeKind::Neither) {
        // The message box shows line feeds as line breaks.
        const QString notACode = QString(kNotACode).replace(u'\r', u'\n');
        showVerdict(notACode);
        platform::ShowMessage(MessageIcon::Critical, kMessageTitle, notACode);
        return;
    }

    // One message box, however many findings: the verdict first, then what
    // decoding found (an unknown cadastral code, a place not in use on the
    // birth date), with the icon of the gravest.
    const CheckReport report = CheckAndReport(code, Today());
    QStringList findings;
    MessageIcon icon = MessageIcon::Information;
    for (const Message& message : report.messages) {
        findings.append(QString::fromStdString(message.text));
        icon = std::min(icon, message.icon);  // Critical is the gravest
        if (findings.size() == 1 && report.decoded && !report.decoded->placeWarning.empty())
            findings.append(QStringLiteral("Avviso: ")
                            + QString::fromStdString(report.decoded->placeWarning));
    }
    if (report.decoded) {
        const DecodedCode& decoded = *report.decoded;
        surnameBox_->setText(QString::fromLatin1(decoded.surnameLetters));
        firstNameBox_->setText(QString::fromLatin1(decoded.firstNameLetters));
        birthDateBox_->setText(QString::fromStdString(decoded.birthDate));
        sexBox_->setText(QString::fromStdString(decoded.sex));
        placeBox_->setText(QString::fromStdString(decoded.placeName));
        // The province of the decoded code itself: a name may belong to
        // several places.
        widgets::ShowValue(provinceLabel_, kProvinceCaption, QString::fromStdString(decoded.province));
    }
    showVerdict(findings.join(u'\n'));
    // Whether the code is the person's, when the person's data are typed.
    if (report.correct && report.decoded) {
        if (const auto comparison = personBoxes_->compare(code)) {
            findings.append(comparison->lines.join(u'\n'));
            icon = std::min(icon, comparison->icon);
        }
    }
    platform::ShowMessage(icon, kMessageTitle, findings.join(QStringLiteral("\n\n")));
}

}  // namespace cf::verification
