// SPDX-License-Identifier: MIT
// Draws each widget into a PNG file (snapshots/ in the build folder) for a
// person to look at.
#include "widgets/multi_column_list.h"
#include "widgets/status_bar.h"
#include "widgets/toolbar.h"
#include "widgets/tooltip_window.h"
#include "widgets/widget_images.h"

#include <QDir>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

namespace {

void Save(QWidget* widget, const QString& name)
{
    QDir().mkpath(CF_SNAPSHOT_DIR);
    const QString path = QString(CF_SNAPSHOT_DIR) + "/" + name + ".png";
    QVERIFY2(widget->grab().save(path), qPrintable(path));
}

}  // namespace

class WidgetSnapshots : public QObject {
    Q_OBJECT

private slots:
    void toolbar()
    {
        QWidget window;
        window.resize(420, 120);
        auto* surface = new QWidget(&window);
        surface->setGeometry(0, 0, 420, 91);
        auto* timer = new QTimer(&window);
        window.show();
        cf::widgets::Toolbar bar;
        bar.Create(&window, surface, QImage(cf::widget_images::kToolbarStrip), timer);
        for (const char* caption : {"Creazione", "Verifica", "Archivio", "Stampa", "Info", "Esci"})
            bar.AddButton(caption, caption);
        bar.AddBar(3);
        bar.AddBar(5);
        bar.SetShowText(true);
        bar.SetBitmapSize(25, 25);
        bar.EnableButton(4, false);
        bar.Refresh();
        Save(surface, "toolbar");
        bar.MouseMoveEvent(Qt::NoButton, {100, 20});
        Save(surface, "toolbar_hover");
        bar.MouseDownEvent(Qt::LeftButton, {280, 20});
        Save(surface, "toolbar_pressed");
    }

    void statusBar()
    {
        QWidget window;
        window.resize(420, 26);
        window.show();
        cf::widgets::StatusBar bar;
        bar.SetParent(&window);
        bar.Create();
        bar.SetIcon(0, 1);
        bar.SetIcon(1, 2);
        bar.DrawTextPic(0, "          Codice fiscale");
        bar.DrawTextPic(1, "          Lunedì 7 Dicembre 2026");
        Save(&window, "status_bar");
    }

    void tooltip()
    {
        cf::widgets::TooltipWindow* tip = cf::widgets::TooltipWindow::Instance();
        tip->move(10, 10);
        tip->SetCaption(" Verifica codice fiscale ");
        Save(tip, "tooltip");
        tip->SetCaption(QString());
    }

    void multiColumnList()
    {
        QWidget window;
        window.resize(330, 140);
        cf::widgets::MultiColumnList::Columns columns;
        const int widths[] = {190, 70, 60};
        int left = 5;
        for (int i = 0; i < 3; ++i) {
            columns.insert(i, new QListWidget(&window));
            columns[i]->setGeometry(left, 5, widths[i], 130);
            left += widths[i];
        }
        auto* scrollBar = new QScrollBar(Qt::Vertical, &window);
        scrollBar->resize(16, 10);
        window.show();
        cf::widgets::MultiColumnList list;
        list.Create(columns, scrollBar);
        list.AddItems({{"ABANO TERME", "A001", "PD"},
                       {"ABBADIA ALPINA", "A003", "TO"},
                       {"ABBADIA CERRETO", "A004", "LO"},
                       {"ABBADIA LARIANA", "A005", "LC"},
                       {"ABBADIA SAN SALVATORE", "A006", "SI"},
                       {"ABBASANTA", "A007", "OR"},
                       {"ABBATEGGIO", "A008", "PE"},
                       {"ABBIATEGRASSO", "A010", "MI"},
                       {"ABETONE", "A012", "PT"},
                       {"ABRIOLA", "A013", "PZ"}});
        QCoreApplication::processEvents();
        list.SelectByText(0, "abbasanta");
        Save(&window, "multi_column_list");
    }
};

QTEST_MAIN(WidgetSnapshots)
#include "widget_snapshots.moc"
