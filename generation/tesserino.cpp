// SPDX-License-Identifier: MIT
#include "generation/tesserino.h"

#include <QDate>
#include <QMouseEvent>

#include "generation/generation_images.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"
#include "widgets/window_host.h"

namespace cf::generation {
namespace {

using widgets::SansFont;
using widgets::SetTextColour;

const QColor kYearColour(0, 123, 0);
const QColor kLinkColour(0, 0, 255);

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
    setWindowTitle(QString());
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

    const QFont dataFont = SansFont(9.75, true);
    codeLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label1"), 1095, 1470, SansFont(18, true));
    surnameLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label2"), 1110, 1890, dataFont);
    firstNameLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label3"), 1110, 2160, dataFont);
    sexLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label4"), 4350, 2175, dataFont);
    placeLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label5"), 1110, 2445, dataFont);
    provinceLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label6"), 1110, 2715, dataFont);
    birthDateLabel_ = MakeLabel(cardPicture_, QStringLiteral("Label7"), 3330, 2715, dataFont);
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

    showCardPicture();
}

void Tesserino::showCardPicture()
{
    cardPicture_->setPixmap(CardImage());
    SetTextColour(yearLabel_, kYearColour);
    yearLabel_->setText(QString::number(QDate::currentDate().year()));
    yearLabel_->adjustSize();
}

void Tesserino::Fill(const Person& person)
{
    const std::pair<QLabel*, const std::string*> fields[] = {
        {codeLabel_, &person.code},           {surnameLabel_, &person.surname},
        {firstNameLabel_, &person.firstName}, {sexLabel_, &person.sex},
        {placeLabel_, &person.place},         {provinceLabel_, &person.province},
        {birthDateLabel_, &person.birthDate}};
    for (const auto& [label, text] : fields) {
        label->setText(QString::fromStdString(*text));
        label->adjustSize();
    }
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
