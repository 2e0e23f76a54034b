// SPDX-License-Identifier: MIT
// The self-drawn widgets under a dark desktop palette (Fusion): their text
// keeps a contrast of at least 4.5:1 with what it stands on (WCAG ratio of
// relative luminances), whether they follow the palette or paint fixed
// colours.

#include "widgets/multi_column_list.h"
#include "widgets/status_bar.h"
#include "widgets/status_panes.h"
#include "widgets/toolbar.h"
#include "widgets/tooltip_window.h"
#include "widgets/widget_images.h"

#include "contrast_ratio.h"

#include <QApplication>
#include <QListWidget>
#include <QMap>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTest>
#include <QTimer>

#include <algorithm>

using namespace cf::widgets;

namespace {

constexpr double kLeastContrast = 4.5;

QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(53, 53, 53);
    const QColor base(35, 35, 35);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        dark.setColor(group, QPalette::Window, window);
        dark.setColor(group, QPalette::WindowText, Qt::white);
        dark.setColor(group, QPalette::Base, base);
        dark.setColor(group, QPalette::AlternateBase, window);
        dark.setColor(group, QPalette::ToolTipBase, base);
        dark.setColor(group, QPalette::ToolTipText, Qt::white);
        dark.setColor(group, QPalette::Text, Qt::white);
        dark.setColor(group, QPalette::Button, window);
        dark.setColor(group, QPalette::ButtonText, Qt::white);
        dark.setColor(group, QPalette::Light, QColor(90, 90, 90));
        dark.setColor(group, QPalette::Midlight, QColor(70, 70, 70));
        dark.setColor(group, QPalette::Mid, QColor(40, 40, 40));
        dark.setColor(group, QPalette::Dark, QColor(25, 25, 25));
        dark.setColor(group, QPalette::Shadow, Qt::black);
        dark.setColor(group, QPalette::Highlight, QColor(42, 130, 218));
        dark.setColor(group, QPalette::HighlightedText, Qt::black);
    }
    return dark;
}

// The contrast of the text in `area` of the widget's picture: its most
// frequent colour is the background, the colour farthest from it the text.
double TextContrast(QWidget* widget, const QRect& area)
{
    const QImage picture = widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QMap<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            ++counts[picture.pixel(x, y)];
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    double contrast = 1.0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it)
        contrast = std::max(contrast, Contrast(QColor(it.key()), QColor(background)));
    return contrast;
}

#define VERIFY_CONTRAST(contrast)                                                                            \
    QVERIFY2((contrast) >= kLeastContrast, qPrintable(QStringLiteral("contrast %1").arg(contrast)))

}  // namespace

class DarkPaletteTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(DarkPalette());
    }

    void toolbarCaptions()
    {
        QWidget window;
        window.resize(420, 120);
        auto* surface = new QWidget(&window);
        surface->setGeometry(0, 0, 420, 91);
        QTimer timer;
        Toolbar toolbar;
        toolbar.Create(&window, surface, QImage(cf::widget_images::kToolbarStrip), &timer);
        toolbar.AddButton(QStringLiteral("Creazione"), QStringLiteral("Crea codice fiscale"));
        toolbar.AddButton(QStringLiteral("Verifica"), QStringLiteral("Verifica codice fiscale"));
        toolbar.SetShowText(true);
        toolbar.SetBitmapSize(25, 25);
        window.show();
        toolbar.Refresh();
        for (const int button : {1, 2}) {
            const QRect box = toolbar.ButtonRect(button);
            // Below the picture: the caption.
            VERIFY_CONTRAST(
                TextContrast(surface, QRect(box.left() + 2, 35, box.width() - 4, box.bottom() - 35)));
        }
    }

    void statusBarPanes()
    {
        QWidget window;
        window.resize(400, 60);
        auto* container = new QWidget(&window);
        container->setGeometry(0, 30, 400, 26);
        window.show();
        StatusBar bar;
        bar.SetParent(container);
        bar.Create();
        bar.DrawTextPic(0, QStringLiteral("          Codice fiscale"));
        bar.DrawTextPic(1, QStringLiteral("          Martedì 8 Dicembre 2026"));
        auto* panes = container->findChild<StatusPanes*>();
        // The text, right of the icon.
        VERIFY_CONTRAST(TextContrast(panes, QRect(24, 4, 170, 17)));
        VERIFY_CONTRAST(TextContrast(panes, QRect(224, 4, 170, 17)));
    }

    void tooltipOnItsLightYellow()
    {
        TooltipWindow* tip = TooltipWindow::Instance();
        tip->move(10, 10);
        tip->SetCaption(QStringLiteral(" Verifica codice fiscale (Alt+2) "));
        VERIFY_CONTRAST(TextContrast(tip, tip->rect().adjusted(2, 2, -2, -2)));
        tip->SetCaption(QString());
    }

    void multiColumnListRows()
    {
        QWidget window;
        window.resize(200, 150);
        MultiColumnList::Columns columns;
        for (int i = 0; i < 2; ++i) {
            auto* column = new QListWidget(&window);
            column->setGeometry(10 + i * 80, 10, 80, 120);
            columns.insert(i, column);
        }
        auto* scrollBar = new QScrollBar(Qt::Vertical, &window);
        MultiColumnList list;
        list.Create(columns, scrollBar);
        list.AddItems({{QStringLiteral("ROSSI"), QStringLiteral("MARIO")},
                       {QStringLiteral("BIANCHI"), QStringLiteral("LUCIA")}});
        window.show();
        for (int i = 0; i < 2; ++i) {
            QWidget* rows = columns.value(i)->viewport();
            VERIFY_CONTRAST(TextContrast(rows, QRect(0, 0, rows->width() - 20, rows->height())));
        }
    }
};

QTEST_MAIN(DarkPaletteTest)
#include "dark_palette_test.moc"
