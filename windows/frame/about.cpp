// SPDX-License-Identifier: MIT
#include "windows/frame/about.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "cf/version.h"
#include "platform/shell_open.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/help_viewer.h"
#include "widgets/layout_scale.h"
#include "widgets/twips.h"
#include "windows/frame/program_icon.h"
#include "windows/generation/generation_images.h"

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

constexpr std::size_t kEmailLink = 5;
constexpr std::size_t kWebLink = 6;

// A label of several lines, wrapped within its box.
QLabel* MakeTextBlock(QWidget* parent, const char* name, const QString& text, const QRect& box)
{
    auto* label = widgets::Named(new QLabel(text, parent), name);
    label->setGeometry(box);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& text, const QRect& box)
{
    auto* button = widgets::Named(new QPushButton(text, parent), name);
    button->setGeometry(box);
    return button;
}

}  // namespace

About::About(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("Informazioni"));
    setFixedSize(twips::ToPixels(kWidthTwips), twips::ToPixels(kHeightTwips));
    setFont(widgets::SansFont(8.25));
    widgets::UseFixedColours(this, kBackColour);

    programIcon_ = widgets::Named(new QLabel(this), "Image1");
    programIcon_->setGeometry(twips::Rect(600, 285, 750, 780));
    programIcon_->setScaledContents(true);
    programIcon_->setAccessibleName(QStringLiteral("Icona di Codice fiscale"));
    programIcon_->setAccessibleDescription(QStringLiteral("Il simbolo del programma"));
    // Drawn from the larger picture, so that the stretch only ever shrinks.
    programIcon_->setPixmap(ProgramIconPicture(64));

    const QFont versionFont = widgets::SansFont(9.75, true);
    versionLabel_ =
        widgets::MakeCaption(this, "Label1", QString(), twips::Rect(1905, 915, 3045, 405), &versionFont);
    versionLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    infoLabels_[0] =
        widgets::MakeCaption(this, "Label2_0", QStringLiteral("Per Linux e gli altri sistemi con Qt 6"),
                             twips::Rect(600, 1275, 5400, 285));
    infoLabels_[1] =
        MakeTextBlock(this, "Label2_1",
                      QStringLiteral("Programma di gestione codici fiscali. Creazione, verifica, "
                                     "stampa ed archiviazione codici."),
                      twips::Rect(600, 1590, 4800, 525));
    infoLabels_[2] =
        widgets::MakeCaption(this, "Label2_2", QStringLiteral("© 2026 Progetto Codice Fiscale – licenza MIT"),
                             twips::Rect(600, 3180, 4440, 285));
    MakeTextBlock(this, "lblFonti",
                  QStringLiteral("Dati dei luoghi: ANPR, Ministero dell'Interno (CC BY 4.0); "
                                 "ISTAT (CC BY 3.0 IT); Agenzia delle Entrate (CC BY-SA 4.0)."),
                  twips::Rect(600, 4035, 4560, 420));

    infoLabels_[3] =
        widgets::MakeCaption(this, "Label2_3", QStringLiteral("E-mail:"), twips::Rect(600, 3510, 465, 195));
    infoLabels_[4] = widgets::MakeCaption(this, "Label2_4", QStringLiteral("Sito Internet:"),
                                          twips::Rect(600, 3795, 900, 195));

    QFont linkFont = widgets::SansFont(8.25, true);
    linkFont.setUnderline(true);
    infoLabels_[kEmailLink] = widgets::MakeCaption(this, "Label2_5", QString::fromLatin1(kContactEmail),
                                                   twips::Rect(1680, 3510, 1740, 195), &linkFont);
    infoLabels_[kWebLink] = widgets::MakeCaption(this, "Label2_6", QString::fromLatin1(kContactWebsite),
                                                 twips::Rect(1680, 3795, 2280, 195), &linkFont);
    for (const std::size_t index : {kEmailLink, kWebLink}) {
        QPalette linkColours = infoLabels_[index]->palette();
        linkColours.setColor(QPalette::WindowText, kLinkColour);
        infoLabels_[index]->setPalette(linkColours);
    }
    for (QLabel* label : infoLabels_)
        label->installEventFilter(this);
    // The links are reached with Tab and opened with Enter or Space too.
    infoLabels_[kEmailLink]->setAccessibleName(QStringLiteral("E-mail: ")
                                               + QString::fromLatin1(kContactEmail));
    infoLabels_[kWebLink]->setAccessibleName(QStringLiteral("Sito Internet: ")
                                             + QString::fromLatin1(kContactWebsite));
    for (const std::size_t index : {kEmailLink, kWebLink})
        infoLabels_[index]->setFocusPolicy(Qt::StrongFocus);

    commandLineHelpButton_ =
        MakeButton(this, "Command1", QStringLiteral("Richiamare Codice Fiscale dalla riga di comando"),
                   twips::Rect(1080, 2085, 3975, 375));
    codeHelpButton_ =
        MakeButton(this, "Command2", QStringLiteral("Informazioni sulla codificazione delle persone fisiche"),
                   twips::Rect(1080, 2640, 3975, 375));
    connect(commandLineHelpButton_, &QPushButton::clicked, this, &About::onCommandLineHelpClicked);
    connect(codeHelpButton_, &QPushButton::clicked, this, &About::onCodeHelpClicked);
    // The help buttons first, then the links.
    setTabOrder(commandLineHelpButton_, codeHelpButton_);
    setTabOrder(codeHelpButton_, infoLabels_[kEmailLink]);
    setTabOrder(infoLabels_[kEmailLink], infoLabels_[kWebLink]);

    showVersionAndLinks();
}

void About::showVersionAndLinks()
{
    versionLabel_->setText(QStringLiteral("Versione ") + QLatin1String(kVersion));
    const QCursor link = generation::HandCursor();
    infoLabels_[kEmailLink]->setCursor(link);
    infoLabels_[kWebLink]->setCursor(link);
}

void About::paintEvent(QPaintEvent*)
{
    // The title in red over a grey shadow one and two pixels up and left.
    QPainter painter(this);
    QFont titleFont = font();
    titleFont.setPixelSize(widgets::SansFont(24).pixelSize());
    painter.setFont(titleFont);
    const QPoint origin(widgets::Scaled(120), widgets::Scaled(20));
    const auto drawTitle = [&](int offset) {
        painter.drawText(QRect(origin + QPoint(offset, offset), rect().bottomRight()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, kTitle);
    };
    painter.setPen(kTitleShadowColour);
    drawTitle(0);
    drawTitle(1);
    painter.setPen(kTitleColour);
    drawTitle(2);
}

bool About::eventFilter(QObject* watched, QEvent* event)
{
    for (const std::size_t index : {kEmailLink, kWebLink}) {
        if (watched != infoLabels_[index])
            continue;
        if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)
            widgets::MarkFocus(infoLabels_[index], event->type() == QEvent::FocusIn);
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
                onInfoLabelClicked(index);
                return true;
            }
        }
    }
    // A click is a left press and release with the pointer still on the label.
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        for (std::size_t index = 0; index < infoLabels_.size(); ++index) {
            if (watched == infoLabels_[index] && mouse->button() == Qt::LeftButton
                && infoLabels_[index]->rect().contains(mouse->position().toPoint()))
                onInfoLabelClicked(index);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void About::onCommandLineHelpClicked()
{
    widgets::ShowHelp(QLatin1String(widgets::kCommandLineHelpTopic));
}

void About::onCodeHelpClicked()
{
    widgets::ShowHelp(QLatin1String(widgets::kCodeHelpTopic));
}

void About::onInfoLabelClicked(std::size_t index)
{
    if (index == kEmailLink)
        platform::OpenUrl(QUrl(QStringLiteral("mailto:") + QString::fromLatin1(kContactEmail)));
    else if (index == kWebLink)
        platform::OpenUrl(QUrl(QString::fromLatin1(kContactWebsite)));
}

}  // namespace cf::frame
