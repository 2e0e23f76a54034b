// SPDX-License-Identifier: MIT
#include "windows/generation/tesserino.h"

#include <QDate>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>

#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"
#include "widgets/window_host.h"
#include "windows/generation/generation_images.h"

namespace cf::generation {
namespace {

using widgets::SansFont;
using widgets::SetTextColour;

const QColor kYearColour(0, 123, 0);
const QColor kLinkColour(0, 0, 255);
// The smallest type a long value is shrunk to; below it the value is cut.
constexpr int kSmallestPixelSize = 7;

// A transparent label that sizes itself to its text.
QLabel* MakeLabel(QWidget* parent, const QString& name, int left, int top, const QFont& font)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(font);
    label->move(twips::ToPixels(left), twips::ToPixels(top));
    return label;
}

QWidget* MakeShape(QWidget* parent, const QString& name, const QRect& box, const QColor& colour)
{
    auto* shape = new QWidget(parent);
    shape->setObjectName(name);
    shape->setGeometry(box);
    widgets::SetBackground(shape, colour);
    shape->hide();
    return shape;
}

}  // namespace

Tesserino::Tesserino(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Tesserino"));
    setWindowTitle(QStringLiteral("Tesserino del codice fiscale"));
    setFixedSize(twips::ToPixels(7020), twips::ToPixels(4320));
    setFont(SansFont(8.25));
    setMouseTracking(true);
    // Unloading the card deletes it; the next generation makes a new one.
    setAttribute(Qt::WA_DeleteOnClose);

    cardPicture_ = new QLabel(this);
    cardPicture_->setObjectName(QStringLiteral("Picture1"));
    cardPicture_->setGeometry(twips::Rect(420, 135, 6210, 3705));
    cardPicture_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Pointer moves over the card are the card's own: they do not reach the
    // window's background, so they leave the link highlight as it is.
    cardPicture_->setAttribute(Qt::WA_NoMousePropagation);
    cardPicture_->setAccessibleName(windowTitle());
    cardPicture_->setAccessibleDescription(
        QStringLiteral("Facsimile della tessera del codice fiscale con i dati della persona"));
    // The values are written on the card's light fields, in dark type
    // whatever the desktop's theme.
    SetTextColour(cardPicture_, Qt::black);

    // Each value stays within its field box on the card: the right edge
    // is the box's, in twips of the picture.
    const QFont dataFont = SansFont(9.75, true);
    const auto field = [this, &dataFont](QLabel*& label, const char* name, int left, int top, int right,
                                         const QFont* font = nullptr) {
        label = MakeLabel(cardPicture_, QString::fromLatin1(name), left, top, font ? *font : dataFont);
        fields_.push_back({label, label->font(), label->pos(), twips::ToPixels(right)});
    };
    const QFont codeFont = SansFont(18, true);
    field(codeLabel_, "Label1", 1095, 1470, 5145, &codeFont);
    field(surnameLabel_, "Label2", 1110, 1890, 5145);
    field(firstNameLabel_, "Label3", 1110, 2160, 3435);
    field(sexLabel_, "Label4", 4350, 2175, 4905);
    field(placeLabel_, "Label5", 1110, 2445, 5145);
    field(provinceLabel_, "Label6", 1110, 2715, 1995);
    field(birthDateLabel_, "Label7", 3330, 2715, 4455);
    yearLabel_ = MakeLabel(cardPicture_, QStringLiteral("lblAnno"), 270, 2970, SansFont(9.75, true));

    linkShadow_ =
        MakeShape(this, QStringLiteral("Shape1_0"), twips::Rect(2235, 3900, 2160, 360), QColor(64, 64, 64));
    linkHighlight_ =
        MakeShape(this, QStringLiteral("Shape1_1"), twips::Rect(2235, 3885, 2145, 360), Qt::white);
    linkLabel_ = MakeLabel(this, QStringLiteral("Label8"), 2340, 3960, font());
    linkLabel_->setText(QStringLiteral("<<Torna al quadro dati"));
    linkLabel_->adjustSize();
    linkLabel_->setMouseTracking(true);
    linkLabel_->installEventFilter(this);
    // The link takes the focus, for the window too; Enter or Space on it,
    // and Esc, Enter or Alt+T anywhere in the window, go back.
    linkLabel_->setFocusPolicy(Qt::StrongFocus);
    linkLabel_->setAccessibleName(QStringLiteral("Torna al quadro dati"));
    linkLabel_->setAccessibleDescription(QStringLiteral("Invio, Esc o Alt+T"));
    setFocusProxy(linkLabel_);
    for (const QKeySequence& keys : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Return),
                                     QKeySequence(Qt::Key_Enter), QKeySequence(Qt::ALT | Qt::Key_T)}) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, &Tesserino::onLinkClicked);
    }

    showCardPicture();
}

void Tesserino::showCardPicture()
{
    cardPicture_->setPixmap(CardImage());
    SetTextColour(yearLabel_, kYearColour);
    yearLabel_->setText(QString::number(QDate::currentDate().year()));
    yearLabel_->adjustSize();
}

void Tesserino::setPerson(const Person& person)
{
    const std::string* const values[] = {&person.code,  &person.surname,  &person.firstName, &person.sex,
                                         &person.place, &person.province, &person.birthDate};
    for (std::size_t i = 0; i < fields_.size(); ++i)
        fields_[i].show(QString::fromStdString(*values[i]));
}

// A value too long for its field is written in smaller type, on the same
// baseline; one that does not fit even in the smallest is cut short.
void Tesserino::Field::show(const QString& text) const
{
    const int width = right - topLeft.x();
    QFont font = designFont;
    label->setText(text);
    label->setFont(font);
    while (label->sizeHint().width() > width && font.pixelSize() > kSmallestPixelSize) {
        font.setPixelSize(font.pixelSize() - 1);
        label->setFont(font);
    }
    if (label->sizeHint().width() > width)
        label->setText(QFontMetrics(font).elidedText(text, Qt::ElideRight, width));
    label->adjustSize();
    const int baselineShift = QFontMetrics(designFont).ascent() - QFontMetrics(font).ascent();
    label->move(topLeft + QPoint(0, baselineShift));
}

QLabel* Tesserino::label(int number) const
{
    const std::array<QLabel*, 8> labels = {codeLabel_,  surnameLabel_,  firstNameLabel_, sexLabel_,
                                           placeLabel_, provinceLabel_, birthDateLabel_, linkLabel_};
    return number >= 1 && number <= 8 ? labels[static_cast<std::size_t>(number - 1)] : nullptr;
}

bool Tesserino::linkHighlighted() const
{
    return !linkShadow_->isHidden();
}

void Tesserino::setLinkHighlight(bool on)
{
    QFont bold = linkLabel_->font();
    bold.setBold(on);
    linkLabel_->setFont(bold);
    linkLabel_->adjustSize();
    SetTextColour(linkLabel_, on ? kLinkColour : palette().color(QPalette::ButtonText));
    linkShadow_->setVisible(on);
    linkHighlight_->setVisible(on);
}

bool Tesserino::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == linkLabel_) {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
            onLinkClicked();
            return true;
        }
        // The focused link is underlined.
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
            QFont underlined = linkLabel_->font();
            underlined.setUnderline(event->type() == QEvent::FocusIn);
            linkLabel_->setFont(underlined);
            linkLabel_->adjustSize();
        }
        if (event->type() == QEvent::MouseMove) {
            setLinkHighlight(true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            onLinkClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tesserino::mouseMoveEvent(QMouseEvent*)
{
    setLinkHighlight(false);
}

void Tesserino::onLinkClicked()
{
    widgets::HostWindow(this)->close();
    emit returnRequested();
}

}  // namespace cf::generation
