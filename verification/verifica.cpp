#include "verification/verifica.h"

#include <QDate>
#include <QKeyEvent>
#include <QTimer>

#include <algorithm>
#include <iterator>
#include <optional>

#include "engine/verification.h"
#include "generation/fonts.h"
#include "platform/message_box.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"

namespace cf::verification {
namespace {

using forms::MakeBox;
using forms::Named;

const QString kTitle = QStringLiteral("Codice fiscale");
// Two lines parted by a lone carriage return.
const QString kNotACode =
    QStringLiteral("Il codice inserito non è\rné un Codice Fiscale né una Partita IVA");
const QColor kBackground(0, 255, 0);

constexpr int kPartitaIvaLength = 11;
constexpr int kCodiceFiscaleLength = 16;

// A caption at its place, at least as large as its text so that none of
// it is cut off.
QLabel* MakeCaption(QWidget* parent, const char* name, const QString& text, const QRect& box,
                    const QFont& font)
{
    auto* label = Named(new QLabel(text, parent), name);
    label->setFont(font);
    label->setGeometry(QRect(box.topLeft(), box.size().expandedTo(label->sizeHint())));
    return label;
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsEnter(const QKeyEvent& event)
{
    return event.key() == Qt::Key_Return || event.key() == Qt::Key_Enter;
}

// The character a key types; nothing for the keys that type none (arrows,
// Home, Delete...). Ctrl with a letter types its control character, as
// Ctrl+V types 22.
std::optional<QChar> TypedCharacter(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    const QChar c = text.at(0);
    if ((event.modifiers() & Qt::ControlModifier) && c.unicode() >= 0x40 && c.unicode() < 0x80)
        return QChar(c.unicode() & 0x1f);
    return c;
}

// Backspace, Tab, line feed and Enter pass every filter.
bool AlwaysAccepted(QChar c)
{
    return c == u'\b' || c == u'\t' || c == u'\n' || c == u'\r';
}

// Whether position n + 1 of a codice fiscale holds a letter: positions 1-6,
// 9, 12 and 16 do, the others digits.
bool LetterPosition(int n)
{
    return (n >= 1 && n <= 5) || n == 8 || n == 11 || n == 15;
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
    setFixedSize(twips::ToPixels(6360), twips::ToPixels(4260));
    setFont(generation::SansFont(8.25));
    forms::SetBackground(this, kBackground);

    CreateControls();
}

void Verifica::CreateControls()
{
    const QFont font = generation::SansFont(8.25);
    MakeCaption(this, "Label1", QStringLiteral("Codice Fiscale/Partita IVA"),
                twips::Rect(225, 300, 2265, 240), generation::SansFont(8.25, true));
    text1_ = MakeBox(this, "Text1", twips::Rect(2565, 225, 2610, 315), kCodiceFiscaleLength);
    command2_ =
        Named(new QPushButton(QStringLiteral("&Verifica Codice Fiscale"), this), "Command2");
    command2_->setGeometry(twips::Rect(1770, 3315, 2865, 450));
    // Enter on the focused button presses it.
    command2_->setAutoDefault(true);

    MakeCaption(this, "Label3", QStringLiteral("Cognome"), twips::Rect(240, 810, 675, 195), font);
    text2_ = MakeBox(this, "Text2", twips::Rect(1740, 735, 2820, 315), 40);
    MakeCaption(this, "Label4", QStringLiteral("Nome"), twips::Rect(240, 1140, 420, 195), font);
    text3_ = MakeBox(this, "Text3", twips::Rect(1740, 1140, 2820, 315), 40);
    MakeCaption(this, "Label9", QStringLiteral("Sesso"), twips::Rect(240, 1530, 435, 195), font);
    text5_ = MakeBox(this, "Text5", twips::Rect(1740, 1530, 315, 315), 40);
    MakeCaption(this, "Label5", QStringLiteral("Data di nascita"),
                twips::Rect(240, 1905, 1065, 195), font);
    text4_ = MakeBox(this, "Text4", twips::Rect(1740, 1905, 1170, 315), 10);
    MakeCaption(this, "Label6", QStringLiteral("Luogo"), twips::Rect(240, 2265, 450, 195), font);
    combo1_ = MakeBox(this, "Combo1", twips::Rect(1740, 2265, 2835, 300), 0);
    MakeCaption(this, "Label7", QStringLiteral("Provincia"), twips::Rect(240, 2625, 660, 195), font);

    // The province: white, single border, centred.
    label8_ = Named(new QLabel(this), "Label8");
    label8_->setGeometry(twips::Rect(1740, 2625, 465, 330));
    label8_->setAlignment(Qt::AlignCenter);
    label8_->setFrameStyle(QFrame::Box | QFrame::Plain);
    label8_->setLineWidth(1);
    forms::SetBackground(label8_, Qt::white);

    for (QLineEdit* box : {text1_, text2_, text3_, text5_, text4_, combo1_})
        box->installEventFilter(this);
    connect(text1_, &QLineEdit::textChanged, this, &Verifica::Text1_Change);
    connect(command2_, &QPushButton::clicked, this, &Verifica::Command2_Click);

    QWidget* const tabOrder[] = {text1_, command2_, text3_, text5_, text4_, text2_, combo1_};
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
        return box == text1_ ? Text1_KeyPress(key) : BoxKeyPress(box, key);
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

// A key typed into the code box is judged by the length of the whole text
// and its first character: a leading digit makes a Partita IVA (digits, at
// most 11), a leading letter a codice fiscale (letters and digits at their
// positions, at most 16). True when the key is consumed.
bool Verifica::Text1_KeyPress(const QKeyEvent& event)
{
    const std::optional<QChar> typed = TypedCharacter(event);
    if (!typed)
        return false;
    const QChar c = *typed;
    const QString text = text1_->text();
    const int n = static_cast<int>(text.size());
    bool accepted = false;
    if (n == 0) {
        accepted = IsDigit(c) || IsLetter(c);
    } else {
        const bool partitaIva = IsDigit(text.at(0));
        accepted = (partitaIva || !LetterPosition(n)) ? IsDigit(c) : IsLetter(c);
        // A pasted text longer than the limit is never cut short.
        // Setting the limit writes the text anew and drops the selection,
        // so it is set only when it changes.
        const int limit = std::max(partitaIva ? kPartitaIvaLength : kCodiceFiscaleLength, n);
        if (text1_->maxLength() != limit)
            text1_->setMaxLength(limit);
    }
    if (!accepted && !AlwaysAccepted(c))
        return true;
    if (IsEnter(event)) {
        focusNextPrevChild(true);
        return true;
    }
    return false;
}

// Enter and Esc move the focus like Tab and Shift+Tab; each output box lets
// through only its own characters. True when the key is consumed.
bool Verifica::BoxKeyPress(QLineEdit* box, const QKeyEvent& event)
{
    if (IsEnter(event)) {
        focusNextPrevChild(true);
        return true;
    }
    if (event.key() == Qt::Key_Escape) {
        focusNextPrevChild(false);
        return true;
    }
    const std::optional<QChar> typed = TypedCharacter(event);
    if (box == combo1_ || !typed || AlwaysAccepted(*typed))
        return false;
    const QChar c = *typed;
    bool accepted = false;
    if (box == text2_ || box == text3_)
        accepted = IsLetter(c) || c == u' ';
    else if (box == text5_)
        accepted = c == u'M' || c == u'm' || c == u'F' || c == u'f';
    else if (box == text4_)
        accepted = IsDigit(c) || c == u'-' || c == u'/';
    return !accepted;
}

void Verifica::Text1_Change()
{
    const QString upper = text1_->text().toUpper();
    if (upper != text1_->text())
        text1_->setText(upper);
    text1_->setCursorPosition(static_cast<int>(upper.size()));
}

void Verifica::Command2_Click()
{
    const std::string code = CodeBytes(text1_->text());
    if (ClassifyCode(code) == CodeKind::Neither) {
        // The message box shows line feeds as line breaks.
        platform::ShowMessage(MessageIcon::Critical, kTitle,
                              QString(kNotACode).replace(u'\r', u'\n'));
        return;
    }

    const CheckReport report = CheckAndReport(code, QDate::currentDate().year());
    for (std::size_t i = 0; i < report.messages.size(); ++i) {
        const Message& message = report.messages[i];
        QString text = QString::fromStdString(message.text);
        // A place not in use on the birth date is told with the verdict.
        if (i == 0 && report.decoded && !report.decoded->placeWarning.empty())
            text += QStringLiteral("\n\nAvviso: ") + QString::fromStdString(report.decoded->placeWarning);
        platform::ShowMessage(message.icon, kTitle, text);
    }
    if (!report.decoded)
        return;
    const DecodedCode& decoded = *report.decoded;
    text2_->setText(QString::fromLatin1(decoded.surnameLetters));
    text3_->setText(QString::fromLatin1(decoded.firstNameLetters));
    text4_->setText(QString::fromStdString(decoded.birthDate));
    text5_->setText(QString::fromStdString(decoded.sex));
    combo1_->setText(QString::fromStdString(decoded.placeName));
    // The province of the decoded code itself: a name may belong to
    // several places.
    label8_->setText(QString::fromStdString(decoded.province));
}

}  // namespace cf::verification
