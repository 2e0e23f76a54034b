// SPDX-License-Identifier: MIT
#include "widgets/multi_column_list.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTest>

using cf::widgets::MultiColumnList;

namespace {

// A host window with list boxes side by side and one scroll bar.
struct Host {
    explicit Host(int columnCount)
    {
        window.resize(500, 300);
        for (int i = 0; i < columnCount; ++i) {
            auto* list = new QListWidget(&window);
            list->setGeometry(10 + i * 60, 10, 60, 120);
            columns.insert(i, list);
        }
        scrollBar = new QScrollBar(Qt::Vertical, &window);
        scrollBar->setGeometry(0, 0, 16, 50);
        window.show();
    }

    QListWidget* column(int i) const { return columns.value(i); }

    void fill(int rows)
    {
        for (int row = 0; row < rows; ++row)
            list.AddItem({QString("N%1").arg(row), QString("C%1").arg(row), QString("P%1").arg(row)});
    }

    int visibleRows() const { return column(0)->contentsRect().height() / column(0)->sizeHintForRow(0); }

    QWidget window;
    MultiColumnList::Columns columns;
    QScrollBar* scrollBar = nullptr;
    MultiColumnList list;
};

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
        for (int row = 0; row < 20; ++row) {
            QStringList cells;
            for (int i = 0; i < 7; ++i)
                cells << QString("%1/%2").arg(row).arg(i);
            QVERIFY(host.list.AddItem(cells));
        }
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

    void listReadsCellsAndRows()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.list.AddItem({"A", "B", "C"});
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
        QVERIFY(!host.list.AddItem({"A", "B", "C", "D"}));
        QVERIFY(host.list.AddItem({"A"}));
        QVERIFY(host.list.AddItems({{"X", "Y", "Z"}, {"U", "V"}}));
        QVERIFY(!host.list.AddItems({{"1", "2", "3"}, {"1", "2", "3", "4"}}));
        for (int i = 0; i < 3; ++i)
            QCOMPARE(host.column(i)->count(), 3);
        QCOMPARE(host.list.List(0), QString("A\t\t"));
        QCOMPARE(host.list.List(2), QString("U\tV\t"));
    }

    void removeItemRemovesTheRowEverywhere()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(5);
        QVERIFY(host.list.RemoveItem(1));
        QVERIFY(!host.list.RemoveItem(4));
        QVERIFY(!host.list.RemoveItem(-1));
        QCOMPARE(host.list.ListCount(), 4);
        QCOMPARE(host.list.List(1), QString("N2\tC2\tP2"));
    }

    void clearEmptiesTheList()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(100);
        host.list.SetListIndex(50);
        host.list.Clear();
        QCOMPARE(host.list.ListCount(), 0);
        QCOMPARE(host.list.ListIndex(), -1);
        QVERIFY(host.scrollBar->isHidden());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(host.column(i)->count(), 0);
    }

    void refillAfterClearStartsAtTheTop()
    {
        Host host(3);
        host.list.Create(host.columns, host.scrollBar);
        host.fill(100);
        host.scrollBar->setValue(80);
        host.list.Clear();
        host.fill(100);
        QCOMPARE(host.list.TopIndex(), 0);
        QCOMPARE(host.scrollBar->value(), 0);
    }

    void numberingStopsAtTheFirstGap()
    {
        Host host(4);
        host.columns.remove(2);
        host.list.Create(host.columns, host.scrollBar);
        QVERIFY(!host.list.AddItem({"A", "B", "C"}));
        QVERIFY(host.list.AddItem({"A", "B"}));
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

        // The lookup follows changes of the list.
        QVERIFY(host.list.RemoveItem(0));
        QCOMPARE(host.list.SelectByText(0, "ROMA"), 1);
        host.list.AddItem({"TORINO", "L219", "TO"});
        QCOMPARE(host.list.SelectByText(0, "Torino"), 2);
        host.list.Clear();
        QCOMPARE(host.list.SelectByText(0, "TORINO"), -1);
    }
};

QTEST_MAIN(MultiColumnListTest)
#include "multi_column_list_test.moc"
