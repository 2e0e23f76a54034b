#include "generation/tesserino.h"

#include <QDate>
#include <QMouseEvent>

#include "generation/fonts.h"
#include "generation/generation_images.h"
#include "generation/window_host.h"
#include "widgets/form_controls.h"
#include "widgets/twips.h"

namespace cf::generation {
namespace {

using forms::SetTextColour;

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
    forms::SetBackground(shape, colour);
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

    picture1_ = new QLabel(this);
    picture1_->setObjectName(QStringLiteral("Picture1"));
    picture1_->setGeometry(twips::Rect(420, 135, 6210, 3705));
    picture1_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Pointer moves over the card are the card's own: they do not reach the
    // window's background, so they leave the link highlight as it is.
    picture1_->setAttribute(Qt::WA_NoMousePropagation);

    const QFont dataFont = SansFont(9.75, true);
    struct Place {
        int left;
        int top;
    };
    const Place places[] = {{1095, 1470}, {1110, 1890}, {1110, 2160}, {4350, 2175},
                            {1110, 2445}, {1110, 2715}, {3330, 2715}};
    for (int i = 0; i < 7; ++i) {
        labels_[i] = MakeLabel(picture1_, QStringLiteral("Label%1").arg(i + 1), places[i].left,
                               places[i].top, i == 0 ? SansFont(18, true) : dataFont);
    }
    lblAnno_ = MakeLabel(picture1_, QStringLiteral("lblAnno"), 270, 2970, SansFont(9.75, true));

    shape1_[0] = MakeShape(this, QStringLiteral("Shape1_0"), twips::Rect(2235, 3900, 2160, 360),
                           QColor(64, 64, 64));
    shape1_[1] = MakeShape(this, QStringLiteral("Shape1_1"), twips::Rect(2235, 3885, 2145, 360),
                           Qt::white);
    labels_[7] = MakeLabel(this, QStringLiteral("Label8"), 2340, 3960, font());
    labels_[7]->setText(QStringLiteral("<<Torna al quadro dati"));
    labels_[7]->adjustSize();
    labels_[7]->setMouseTracking(true);
    labels_[7]->installEventFilter(this);

    Form_Load();
}

void Tesserino::Form_Load()
{
    picture1_->setPixmap(CardImage());
    SetTextColour(lblAnno_, kYearColour);
    lblAnno_->setText(QString::number(QDate::currentDate().year()));
    lblAnno_->adjustSize();
}

void Tesserino::Fill(const CardValues& values)
{
    const QString* texts[] = {&values.code,  &values.surname,  &values.firstName, &values.sex,
                              &values.place, &values.province, &values.birthDate};
    for (int i = 0; i < 7; ++i) {
        labels_[i]->setText(*texts[i]);
        labels_[i]->adjustSize();
    }
}

QLabel* Tesserino::label(int number) const
{
    return number >= 1 && number <= 8 ? labels_[number - 1] : nullptr;
}

bool Tesserino::linkHighlighted() const
{
    return !shape1_[0]->isHidden();
}

void Tesserino::SetLinkHighlight(bool on)
{
    QLabel* link = labels_[7];
    QFont font = link->font();
    font.setBold(on);
    link->setFont(font);
    link->adjustSize();
    SetTextColour(link, on ? kLinkColour : palette().color(QPalette::ButtonText));
    shape1_[0]->setVisible(on);
    shape1_[1]->setVisible(on);
}

bool Tesserino::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == labels_[7]) {
        if (event->type() == QEvent::MouseMove) {
            SetLinkHighlight(true);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease
            && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            Label8_Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Tesserino::mouseMoveEvent(QMouseEvent*)
{
    SetLinkHighlight(false);
}

void Tesserino::Label8_Click()
{
    HostWindow(this)->close();
    emit returnRequested();
}

}  // namespace cf::generation
