#include "frame/about.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "cf/version.h"
#include "engine/embedded_resources.h"
#include "frame/program_icon.h"
#include "generation/fonts.h"
#include "generation/generation_images.h"
#include "platform/shell_open.h"
#include "widgets/twips.h"

namespace cf::frame {
namespace {

// Client area 5,340 x 4,095 twips, and below it the credits of the place
// data, which their licences ask for: as high as the generation window.
constexpr int kWidthTwips = 5340;
constexpr int kHeightTwips = 4470;
const QColor kBackColour(255, 255, 192);
const QColor kLinkColour(0, 0, 255);
const QColor kTitleShadowColour(128, 128, 128);
const QColor kTitleColour(255, 0, 0);
const QString kTitle = QStringLiteral("Codice fiscale");

constexpr int kEmailLink = 5;
constexpr int kWebLink = 6;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, const QRect& box)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(box);
    return label;
}

// A one-line label grows to its text where the desktop font is wider than
// the one the layout was made for.
QLabel* MakeOneLineLabel(QWidget* parent, const QString& name, const QString& text,
                         const QRect& box, const QFont& font)
{
    QLabel* label = MakeLabel(parent, name, text, box);
    label->setFont(font);
    label->resize(std::max(box.width(), label->sizeHint().width()), box.height());
    return label;
}

QPushButton* MakeButton(QWidget* parent, const QString& name, const QString& text,
                        const QRect& box)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setGeometry(box);
    return button;
}

}  // namespace

About::About(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("Informazioni"));
    setFixedSize(twips::ToPixels(kWidthTwips), twips::ToPixels(kHeightTwips));
    setFont(generation::SansFont(8.25));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackColour);
    setPalette(colours);
    setAutoFillBackground(true);

    image1_ = MakeLabel(this, QStringLiteral("Image1"), QString(), twips::Rect(600, 285, 750, 780));
    image1_->setScaledContents(true);
    // Drawn from the larger picture, so that the stretch only ever shrinks.
    image1_->setPixmap(ProgramIconPicture(64));

    label1_ = MakeLabel(this, QStringLiteral("Label1"), QString(), twips::Rect(1905, 915, 3045, 405));
    label1_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label1_->setFont(generation::SansFont(9.75, true));

    label2_[0] = MakeLabel(this, QStringLiteral("Label2_0"),
                           QStringLiteral("Per Linux e gli altri sistemi con Qt 6"),
                           twips::Rect(600, 1275, 5400, 285));
    label2_[1] = MakeLabel(this, QStringLiteral("Label2_1"),
                           QStringLiteral("Programma di gestione codici fiscali. Creazione, verifica, "
                                          "stampa ed archiviazione codici."),
                           twips::Rect(600, 1590, 4800, 525));
    label2_[1]->setWordWrap(true);
    label2_[1]->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label2_[2] = MakeLabel(this, QStringLiteral("Label2_2"),
                           QStringLiteral("© 2026 Progetto Codice Fiscale – licenza MIT"),
                           twips::Rect(600, 3180, 4440, 285));

    auto* credits = MakeLabel(this, QStringLiteral("lblFonti"),
                              QStringLiteral("Dati dei luoghi: ANPR, Ministero dell'Interno (CC BY 4.0); "
                                             "ISTAT (CC BY 3.0 IT); Agenzia delle Entrate (CC BY-SA 4.0)."),
                              twips::Rect(600, 4035, 4560, 420));
    credits->setWordWrap(true);
    credits->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    label2_[3] = MakeOneLineLabel(this, QStringLiteral("Label2_3"), QStringLiteral("E-mail:"),
                                  twips::Rect(600, 3510, 465, 195), font());
    label2_[4] = MakeOneLineLabel(this, QStringLiteral("Label2_4"), QStringLiteral("Sito Internet:"),
                                  twips::Rect(600, 3795, 900, 195), font());

    QFont linkFont = generation::SansFont(8.25, true);
    linkFont.setUnderline(true);
    label2_[kEmailLink] = MakeOneLineLabel(this, QStringLiteral("Label2_5"),
                                           QString::fromLatin1(kContactEmail),
                                           twips::Rect(1680, 3510, 1740, 195), linkFont);
    label2_[kWebLink] = MakeOneLineLabel(this, QStringLiteral("Label2_6"),
                                         QString::fromLatin1(kContactWebsite),
                                         twips::Rect(1680, 3795, 2280, 195), linkFont);
    for (const int index : {kEmailLink, kWebLink}) {
        QPalette linkColours = label2_[index]->palette();
        linkColours.setColor(QPalette::WindowText, kLinkColour);
        label2_[index]->setPalette(linkColours);
    }
    for (QLabel* label : label2_)
        label->installEventFilter(this);

    command1_ = MakeButton(this, QStringLiteral("Command1"),
                           QStringLiteral("Richiamare Codice Fiscale dalla riga di comando"),
                           twips::Rect(1080, 2085, 3975, 375));
    command2_ = MakeButton(this, QStringLiteral("Command2"),
                           QStringLiteral("Informazioni sulla codificazione delle persone fisiche"),
                           twips::Rect(1080, 2640, 3975, 375));
    connect(command1_, &QPushButton::clicked, this, &About::Command1_Click);
    connect(command2_, &QPushButton::clicked, this, &About::Command2_Click);

    Form_Load();
}

void About::Form_Load()
{
    label1_->setText(QStringLiteral("Versione ") + QLatin1String(kVersion));
    const QCursor link = generation::HandCursor();
    label2_[kEmailLink]->setCursor(link);
    label2_[kWebLink]->setCursor(link);
}

void About::paintEvent(QPaintEvent*)
{
    // The title in red over a grey shadow one and two pixels up and left.
    QPainter painter(this);
    QFont titleFont = font();
    titleFont.setPixelSize(generation::SansFont(24).pixelSize());
    painter.setFont(titleFont);
    const auto drawTitle = [&](int x, int y) {
        painter.drawText(QRect(x, y, width() - x, height() - y),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, kTitle);
    };
    painter.setPen(kTitleShadowColour);
    drawTitle(120, 20);
    drawTitle(121, 21);
    painter.setPen(kTitleColour);
    drawTitle(122, 22);
}

bool About::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a left press and release with the pointer still on the label.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (std::size_t index = 0; index < label2_.size(); ++index) {
            if (watched == label2_[index] && mouse->button() == Qt::LeftButton
                && label2_[index]->rect().contains(mouse->position().toPoint()))
                Label2_Click(static_cast<int>(index));
        }
    }
    return QWidget::eventFilter(watched, event);
}

void About::Command1_Click()
{
    platform::OpenResourcePage(kCommandLineHelpFile, kCommandLineHelpResource);
}

void About::Command2_Click()
{
    platform::OpenResourcePage(kCodeHelpFile, kCodeHelpResource);
}

void About::Label2_Click(int index)
{
    if (index == kEmailLink)
        platform::OpenUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(kContactEmail)));
    else if (index == kWebLink)
        platform::OpenUrl(QUrl(QString::fromLatin1(kContactWebsite)));
}

}  // namespace cf::frame
