// SPDX-License-Identifier: MIT
#include "widgets/multi_column_list.h"

#include <QAccessible>
#include <QApplication>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>

#include <cstdlib>

using cf::widgets::MultiColumnList;

namespace {

// What the window shows of `widget` now: its part of the window's backing
// store, where a part left unpainted keeps what it showed before.
QImage Shown(QWidget* widget)
{
    QWidget* window = widget->window();
    const QPixmap shot = window->screen()->grabWindow(window->winId());
    return shot.copy(QRect(widget->mapTo(window, QPoint(0, 0)), widget->size()))
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// What `widget` draws when painted afresh.
QImage Drawn(QWidget* widget)
{
    return widget->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// A host window with list boxes side by side and one scroll bar.
struct Host {
    explicit Host(int columnCount)
    {
        window.resize(500, 300);
        for (int i = 0; i < columnCount; ++i) {
            auto* column = new QListWidget(&window);
            column->setGeometry(10 + i * 60, 10, 60, 120);
            columns.insert(i, column);
        }
        scrollBar = new QScrollBar(Qt::Vertical, &window);
        scrollBar->setGeometry(0, 0, 16, 50);
        window.show();
    }

    QListWidget* column(int i) const { return columns.value(i); }

    void fill(int rows)
    {
        QList<QStringList> cells;
        for (int row = 0; row < rows; ++row)
            cells.append({QString("N%1").arg(row), QString("C%1").arg(row), QString("P%1").arg(row)});
        list.AddItems(cells);
    }

    // The column's picture as the window shows it and as drawn afresh, both
    // without the part under the scroll bar.
    QImage shown(int i) const { return Uncovered(i, Shown(column(i))); }
    QImage drawn(int i) const { return Uncovered(i, Drawn(column(i))); }
    QImage Uncovered(int i, const QImage& picture) const
    {
        const int covered = column(i)->geometry().right() + 1 - scrollBar->x();
        if (scrollBar->isHidden() || covered <= 0 || !column(i)->geometry().intersects(scrollBar->geometry()))
            return picture;
        return picture.copy(0, 0, picture.width() - covered, picture.height());
    }

    int visibleRows() const { return column(0)->contentsRect().height() / column(0)->sizeHintForRow(0); }

    QWidget window;
    MultiColumnList::Columns columns;
    QScrollBar* scrollBar = nullptr;
    MultiColumnList list;
};

QRect ThumbRect(QScrollBar* bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.minimum = bar->minimum();
    option.maximum = bar->maximum();
    option.sliderPosition = bar->sliderPosition();
    option.sliderValue = bar->value();
    option.singleStep = bar->singleStep();
    option.pageStep = bar->pageStep();
    option.upsideDown = bar->invertedAppearance();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarSlider, bar);
}

QRect TrackRect(QScrollBar* bar)
{
    QStyleOptionSlider option;
    option.initFrom(bar);
    option.orientation = bar->orientation();
    option.maximum = bar->maximum();
    option.pageStep = bar->pageStep();
    return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, QStyle::SC_ScrollBarGroove, bar);
}

// Drags the thumb of a vertical scroll bar by `dy` pixels with the mouse.
void DragThumb(QScrollBar* bar, int dy)
{
    const QPoint from = ThumbRect(bar).center();
    const QPoint to = from + QPoint(0, dy);
    QTest::mousePress(bar, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, bar->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
    QTest::mouseRelease(bar, Qt::LeftButton, {}, to);
}

void ClickRow(QListWidget* column, int row)
{
    const QRect rect = column->visualItemRect(column->item(row));
    QTest::mouseClick(column->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class MultiColumnListTest : public QObject {
    Q_OBJECT

private slots:
    void clicksInAnyColumnAlignAllColumns()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(200);
        // The host's own click handler calls Update again, as windows do.
        for (int i = 0; i < 3; ++i)
            connect(host.column(i), &QListWidget::currentRowChanged, &host.window,
                    [&host, i] { host.list.Update(i); });

        QCoreApplication::processEvents();  // the columns lay out their rows
        host.column(1)->verticalScrollBar()->setValue(40);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(host.column(i)->verticalScrollBar()->value(), 40);
        QCOMPARE(host.scrollBar->value(), 40);

        for (int clicked : {2, 0, 1}) {
            const int row = 42 + clicked;
            ClickRow(host.column(clicked), row);
            QCOMPARE(host.list.ListIndex(), row);
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(host.column(i)->currentRow(), row);
                QVERIFY(host.column(i)->currentItem()->isSelected());
                QCOMPARE(host.column(i)->verticalScrollBar()->value(), host.list.TopIndex());
            }
            QCOMPARE(host.scrollBar->value(), host.list.TopIndex());
        }
        QCOMPARE(host.list.Text(), QString("N43\tC43\tP43"));
        QCOMPARE(host.list.Text(2), QString("P43"));
    }

    void clickInColumnTwoSelectsAllSevenColumns()
    {
        Host host(7);
        for (int i = 3; i < 7; ++i)
            host.column(i)->hide();
        host.list.Create(host.columns, host.scrollBar);
        QList<QStringList> rows;
        for (int row = 0; row < 20; ++row) {
            QStringList cells;
            for (int i = 0; i < 7; ++i)
                cells << QString("%1/%2").arg(row).arg(i);
            rows.append(cells);
        }
        QVERIFY(host.list.AddItems(rows));
        ClickRow(host.column(2), 5);
        for (int i = 0; i < 7; ++i)
            QCOMPARE(host.column(i)->currentRow(), 5);
        QCOMPARE(host.list.Text(6), QString("5/6"));
    }

    void scrollBarFollowsTheRowCount()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        QVERIFY(host.scrollBar->isHidden());
        host.fill(1);
        const int visible = host.visibleRows();
        QVERIFY(visible > 1);
        host.fill(visible - 1);
        QCOMPARE(host.list.ListCount(), visible);
        QVERIFY(host.scrollBar->isHidden());

        host.fill(1);
        QVERIFY(!host.scrollBar->isHidden());
        QCOMPARE(host.scrollBar->minimum(), 0);
        QCOMPARE(host.scrollBar->maximum(), 1);
        QCOMPARE(host.scrollBar->singleStep(), 1);
        QCOMPARE(host.scrollBar->pageStep(), visible);
    }

    void scrollBarSitsInsideTheLastColumn()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        const QRect last = host.column(2)->geometry();
        // 50 twips inside the right edge: 3 pixels.
        QCOMPARE(host.scrollBar->geometry(), QRect(last.right() + 1 - 16 - 3, last.top(), 16, last.height()));
    }

    void draggingTheScrollBarScrollsAllColumns()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(100);
        host.scrollBar->setValue(30);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(host.column(i)->verticalScrollBar()->value(), 30);
        QCOMPARE(host.list.TopIndex(), 30);
    }

    void keyboardPagingRedrawsEveryVisibleColumn()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(200);
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        QCoreApplication::processEvents();
        host.column(0)->setFocus();
        host.list.SetListIndex(0);
        QCoreApplication::processEvents();

        for (const Qt::Key key :
             {Qt::Key_PageDown, Qt::Key_PageDown, Qt::Key_End, Qt::Key_PageUp, Qt::Key_Home, Qt::Key_End}) {
            QTest::keyClick(host.column(0), key);
            QCoreApplication::processEvents();
            for (int i = 0; i < 3; ++i) {
                QCOMPARE(host.column(i)->verticalScrollBar()->value(), host.list.TopIndex());
                QCOMPARE(host.shown(i), host.drawn(i));
            }
        }
        QCOMPARE(host.list.ListIndex(), 199);
        // Moves of the list from outside redraw too.
        host.list.SetListIndex(20);
        host.scrollBar->setValue(120);
        QCoreApplication::processEvents();
        for (int i = 0; i < 3; ++i)
            QCOMPARE(host.shown(i), host.drawn(i));
    }

    void shortScrollBarHasAThumbThatDrags()
    {
        // The archive window's shared scroll bar: 18 x 43 pixels.
        Host host(3);
        host.scrollBar->resize(18, 43);
        host.column(2)->setGeometry(130, 10, 60, 43);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(200);
        QCOMPARE(host.scrollBar->size(), QSize(18, 43));
        const int maximum = host.scrollBar->maximum();
        QVERIFY(maximum > 100);

        const QRect track = TrackRect(host.scrollBar);
        const QRect thumb = ThumbRect(host.scrollBar);
        QVERIFY2(thumb.height() * 2 < track.height(),
                 qPrintable(QString("thumb %1 in track %2").arg(thumb.height()).arg(track.height())));
        const int travel = track.height() - thumb.height();

        // Half the travel down: about half the rows.
        DragThumb(host.scrollBar, travel / 2);
        const int half = host.scrollBar->value();
        QVERIFY2(std::abs(half - maximum / 2) <= maximum / travel + 1, qPrintable(QString::number(half)));
        QCOMPARE(host.list.TopIndex(), half);
        QCOMPARE(host.column(1)->verticalScrollBar()->value(), half);

        DragThumb(host.scrollBar, travel);
        QCOMPARE(host.scrollBar->value(), maximum);
        DragThumb(host.scrollBar, -travel / 4);
        QVERIFY(host.scrollBar->value() < maximum);
        QVERIFY(host.scrollBar->value() > half);
    }

    void screenReadersSeeOnlyTheColumnsThatShow()
    {
        // Column 1 has no width, column 2 lies below the window, column 3
        // is hidden by the host.
        Host host(4);
        host.column(1)->setGeometry(70, 10, 0, 120);
        host.column(2)->setGeometry(130, 400, 60, 120);
        host.column(3)->hide();
        host.list.Create(host.columns, host.scrollBar);
        host.fill(5);
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(host.column(0));
        QCOMPARE(shown->role(), QAccessible::List);
        QVERIFY(!shown->state().invisible);
        QCOMPARE(shown->childCount(), 5);
        QCOMPARE(shown->child(0)->role(), QAccessible::ListItem);
        QCOMPARE(shown->child(2)->text(QAccessible::Name), QString("N2"));
        for (int i = 1; i < 4; ++i)
            QVERIFY(QAccessible::queryAccessibleInterface(host.column(i))->state().invisible);

        // The list still reads and selects its hidden cells.
        host.list.SetListIndex(3);
        QCOMPARE(host.list.Text(), QString("N3\tC3\tP3\t"));
        QCOMPARE(host.column(2)->currentRow(), 3);
    }

    void listReadsCellsAndRows()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.list.AddItems({{"A", "B", "C"}});
        QCOMPARE(host.list.List(0), QString("A\tB\tC"));
        QCOMPARE(host.list.List(0, 1), QString("B"));
        QCOMPARE(host.list.List(1, 0), QString());
        QCOMPARE(host.list.List(0, 3), QString());
        QCOMPARE(host.list.Text(), QString());  // nothing selected
    }

    void addingKeepsColumnsInStep()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        QVERIFY(!host.list.AddItems({{"A", "B", "C", "D"}}));
        QVERIFY(host.list.AddItems({{"A"}}));
        QVERIFY(host.list.AddItems({{"X", "Y", "Z"}, {"U", "V"}}));
        QVERIFY(!host.list.AddItems({{"1", "2", "3"}, {"1", "2", "3", "4"}}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(host.column(i)->count(), 3);
        QCOMPARE(host.list.List(0), QString("A\t\t"));
        QCOMPARE(host.list.List(2), QString("U\tV\t"));
    }

    void numberingStopsAtTheFirstGap()
    {
        Host host(4);
        host.columns.remove(2);
        host.list.Create(host.columns, host.scrollBar);
        QVERIFY(!host.list.AddItems({{"A", "B", "C"}}));
        QVERIFY(host.list.AddItems({{"A", "B"}}));
        QCOMPARE(host.list.List(0), QString("A\tB"));
        QCOMPARE(host.column(3)->count(), 0);
        // The scroll bar lies over column 1, the last one.
        QCOMPARE(host.scrollBar->x(), host.column(1)->geometry().right() + 1 - 16 - 3);
    }

    void setListIndexSelectsEveryColumn()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(100);
        host.list.SetListIndex(70);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(host.column(i)->currentRow(), 70);
            QCOMPARE(host.column(i)->verticalScrollBar()->value(), host.list.TopIndex());
        }
        QVERIFY(host.list.TopIndex() > 0);
        host.list.SetListIndex(100);
        QCOMPARE(host.list.ListIndex(), -1);
        QCOMPARE(host.column(2)->currentItem(), nullptr);
    }

    void selectByTextFindsTheFirstMatchIgnoringCase()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.list.AddItems({{"ROMA", "H501", "RM"}, {"MILANO", "F205", "MI"}, {"Roma", "X", "Y"}});
        QCOMPARE(host.list.SelectByText(0, "roma"), 0);
        QCOMPARE(host.list.SelectByText(1, "f205"), 1);
        QCOMPARE(host.list.Text(0), QString("MILANO"));
        QCOMPARE(host.list.Text(2), QString("MI"));
        QCOMPARE(host.list.SelectByText(0, "TORINO"), -1);
        QCOMPARE(host.list.ListIndex(), -1);
        QCOMPARE(host.list.SelectByText(5, "ROMA"), -1);

        // The lookup follows rows added later.
        QVERIFY(host.list.AddItems({{"TORINO", "L219", "TO"}}));
        QCOMPARE(host.list.SelectByText(0, "Torino"), 3);
    }
};

QTEST_MAIN(MultiColumnListTest)
#include "multi_column_list_test.moc"
