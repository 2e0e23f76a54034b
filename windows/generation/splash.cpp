// SPDX-License-Identifier: MIT
#include "windows/generation/splash.h"

#include <QCoreApplication>
#include <QDate>
#include <QPainter>

#include "cf/version.h"
#include "widgets/fonts.h"
#include "widgets/form_controls.h"
#include "widgets/layout_scale.h"
#include "windows/generation/generation_images.h"

namespace cf::generation {
namespace {

using widgets::SansFont;

constexpr int kWidth = 363;
constexpr int kHeight = 241;
const QColor kYearColour(0, 123, 0);
const QColor kTitleColour(0, 90, 45);

// A label at its place in pixels of the design, at the layout scale.
QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& box,
                  Qt::Alignment align, const QFont& font)
{
    QLabel* label = widgets::MakeCaption(parent, name, text, widgets::Scaled(box), &font);
    label->setAlignment(align);
    return label;
}

}  // namespace

ProgressBox::ProgressBox(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(SansFont(8.25));
}

QImage& ProgressBox::canvas()
{
    if (canvas_.size() != size()) {
        canvas_ = QImage(size(), QImage::Format_RGB32);
        canvas_.fill(backColor);
    }
    return canvas_;
}

void ProgressBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, canvas());
}

void DrawProgress(ProgressBox& box, int maximum, int value, const QString& caption)
{
    if (value > maximum || maximum <= 0)
        return;
    value = std::max(value, 0);

    QImage& canvas = box.canvas();
    canvas.fill(box.backColor);

    // Solid text pixels invert cleanly; smoothed edges would turn into
    // muddy colours under the bar.
    QFont font = box.font();
    font.setStyleStrategy(QFont::NoAntialias);
    QPainter painter(&canvas);
    painter.setFont(font);
    const QFontMetrics metrics(font);
    const int x = (canvas.width() - metrics.horizontalAdvance(caption)) / 2;
    const int y = (canvas.height() - metrics.height()) / 2;
    painter.setPen(box.foreColor);
    painter.drawText(x, y + metrics.ascent(), caption);

    const int barWidth = static_cast<int>(static_cast<long long>(value) * canvas.width() / maximum);
    painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
    painter.fillRect(0, 0, barWidth, canvas.height(), box.foreColor);
    painter.end();

    box.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

Splash::Splash(QWidget* parent) : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(widgets::Scaled(kWidth), widgets::Scaled(kHeight));
    setFont(SansFont(8.25));
    // The texts stand on the card picture: dark whatever the desktop's theme.
    widgets::SetTextColour(this, Qt::black);

    const QFont title = SansFont(18, true);
    titleLabels_[0] = MakeLabel(this, "Label3_0", QStringLiteral("Codice Fiscale"), QRect(82, 94, 260, 28),
                                Qt::AlignLeft | Qt::AlignVCenter, title);
    titleLabels_[1] = MakeLabel(this, "Label3_1", QStringLiteral("Codice Fiscale"), QRect(80, 92, 260, 28),
                                Qt::AlignLeft | Qt::AlignVCenter, title);
    loadingLabel_ =
        MakeLabel(this, "Label1", QStringLiteral("Carico dati degli oltre 8.000 comuni italiani."),
                  QRect(10, 130, 343, 16), Qt::AlignCenter, font());
    progressBox_ = new ProgressBox(this);
    progressBox_->setObjectName(QStringLiteral("picScor"));
    progressBox_->setGeometry(widgets::Scaled(QRect(40, 150, 278, 20)));
    percentLabels_[0] = MakeLabel(this, "Label2_0", QStringLiteral("0%"), QRect(40, 171, 60, 14),
                                  Qt::AlignLeft | Qt::AlignTop, font());
    percentLabels_[1] = MakeLabel(this, "Label2_1", QStringLiteral("100%"), QRect(258, 171, 60, 14),
                                  Qt::AlignRight | Qt::AlignTop, font());
    versionLabel_ = MakeLabel(this, "Label4", QString(), QRect(10, 188, 343, 14), Qt::AlignCenter, font());
    licenceLabel_ = MakeLabel(this, "Label5", QString(), QRect(110, 212, 236, 14),
                              Qt::AlignRight | Qt::AlignVCenter, SansFont(7.5));
    yearLabel_ = MakeLabel(this, "lblAnno", QStringLiteral("2005"), QRect(18, 210, 60, 18),
                           Qt::AlignLeft | Qt::AlignVCenter, SansFont(9.75, true));
    colourAndFill();
}

void Splash::colourAndFill()
{
    background_ = CardImage();

    QPalette shadow = titleLabels_[0]->palette();
    shadow.setColor(QPalette::WindowText, QColor(160, 160, 160));
    titleLabels_[0]->setPalette(shadow);
    QPalette titlePalette = titleLabels_[1]->palette();
    titlePalette.setColor(QPalette::WindowText, kTitleColour);
    titleLabels_[1]->setPalette(titlePalette);

    progressBox_->backColor = QColor(255, 255, 0);
    progressBox_->foreColor = QColor(0, 0, 128);
    progressBox_->canvas().fill(progressBox_->backColor);

    const QString year = QString::number(QDate::currentDate().year());
    versionLabel_->setText(QStringLiteral("Versione ") + QLatin1String(kVersion));
    licenceLabel_->setText(QStringLiteral("Software libero per il codice fiscale, ") + year);

    QPalette yearPalette = yearLabel_->palette();
    yearPalette.setColor(QPalette::WindowText, kYearColour);
    yearLabel_->setPalette(yearPalette);
    yearLabel_->setText(year);
}

void Splash::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.drawPixmap(0, 0, background_);
    // The card's field captions would run into the splash texts: a white
    // panel covers the field area below the code box.
    painter.fillRect(QRect(4, 125, 348, 82), Qt::white);
}

}  // namespace cf::generation
