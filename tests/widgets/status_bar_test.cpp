// SPDX-License-Identifier: MIT
#include "widgets/status_bar.h"
#include "widgets/status_panes.h"
#include "widgets/widget_images.h"

#include <QAccessible>
#include <QTest>

using cf::widgets::StatusBar;
using cf::widgets::StatusPanes;

namespace {

struct Frame {
    Frame()
    {
        window.resize(400, 200);
        container = new QWidget(&window);
        container->setGeometry(0, 174, 400, 26);
        window.show();
        bar.SetParent(container);
        bar.Create();
    }

    StatusPanes* panes() const { return container->findChild<StatusPanes*>(); }
    QImage picture() const { return panes()->grab().toImage(); }

    QWidget window;
    QWidget* container = nullptr;
    StatusBar bar;
};

// True when the icon's area of the pane shows nothing but the pane's face.
bool IconAreaIsEmpty(const QImage& picture, int paneLeft)
{
    const QRgb face = picture.pixel(paneLeft + 3, 3);
    for (int y = 4; y < 20; ++y)
        for (int x = paneLeft + 3; x < paneLeft + 19; ++x)
            if (picture.pixel(x, y) != face)
                return false;
    return true;
}

}  // namespace

class StatusBarTest : public QObject {
    Q_OBJECT

private slots:
    void hasTwoPanesAcrossTheContainer()
    {
        Frame frame;
        const StatusPanes* panes = frame.panes();
        QVERIFY(panes != nullptr);
        QCOMPARE(panes->geometry(), QRect(0, 0, 400, 25));
        frame.container->resize(600, 26);
        QCOMPARE(panes->width(), 600);

        QCOMPARE(frame.bar.DrawTextPic(2, "          x"), QString("          x"));
    }

    void longTextIsShortenedInItsMiddle()
    {
        Frame frame;
        const QString original = "          Codice fiscale - un testo molto lungo che non entra nel riquadro";
        const QString text = frame.bar.DrawTextPic(0, original);
        QVERIFY(text != original);
        const qsizetype ellipsis = text.indexOf(QChar(0x2026));
        QVERIFY(ellipsis > 10);
        QVERIFY(ellipsis < text.size() - 1);
        QVERIFY(original.startsWith(text.left(ellipsis)));
        QVERIFY(original.endsWith(text.mid(ellipsis + 1)));

        const QString date = "          Lunedì 7 Dicembre 2026";
        QCOMPARE(frame.bar.DrawTextPic(1, date), date);
    }

    void iconsGoOnlyToTheFirstThreePanes()
    {
        Frame frame;
        const QString title = "          Codice fiscale";
        const QString date = "          Oggi";
        frame.bar.SetIcon(3, 1);
        frame.bar.SetIcon(0, 7);
        frame.bar.DrawTextPic(0, title);
        frame.bar.DrawTextPic(1, date);
        QVERIFY(IconAreaIsEmpty(frame.picture(), 0));
        QVERIFY(IconAreaIsEmpty(frame.picture(), 200));

        frame.bar.SetIcon(0, 1);
        frame.bar.SetIcon(1, 2);
        frame.bar.DrawTextPic(0, title);
        frame.bar.DrawTextPic(1, date);
        QVERIFY(!IconAreaIsEmpty(frame.picture(), 0));
        QVERIFY(!IconAreaIsEmpty(frame.picture(), 200));
    }

    void screenReadersReadThePanes()
    {
        Frame frame;
        frame.bar.DrawTextPic(0, "          Codice fiscale");
        frame.bar.DrawTextPic(1, "          Martedì 8 Dicembre 2026");
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(frame.panes());
        QVERIFY(bar);
        QCOMPARE(bar->role(), QAccessible::StatusBar);
        QCOMPARE(bar->childCount(), 2);
        QCOMPARE(bar->child(0)->role(), QAccessible::StaticText);
        QCOMPARE(bar->child(0)->text(QAccessible::Name), QString("Codice fiscale"));
        QCOMPARE(bar->child(1)->text(QAccessible::Name), QString("Martedì 8 Dicembre 2026"));
        QCOMPARE(bar->child(1)->parent(), bar);
        QCOMPARE(bar->indexOfChild(bar->child(1)), 1);

        frame.bar.DrawTextPic(1, "          Salvato in /tmp/Tesserino.pdf");
        QCOMPARE(bar->child(1)->text(QAccessible::Name), QString("Salvato in /tmp/Tesserino.pdf"));
        const QRect date = bar->child(1)->rect();
        QCOMPARE(date.left(), frame.panes()->mapToGlobal(QPoint(200, 0)).x());
        QCOMPARE(bar->childAt(date.center().x(), date.center().y()), bar->child(1));
    }

    void picturesComeFromTheProgramsResources()
    {
        QCOMPARE(QImage(cf::widget_images::kToolbarStrip).size(), QSize(250, 75));
        QCOMPARE(QImage(cf::widget_images::kTitlePaneIcon).size(), QSize(16, 16));
        QCOMPARE(QImage(cf::widget_images::kDatePaneIcon).size(), QSize(16, 16));
    }
};

QTEST_MAIN(StatusBarTest)
#include "status_bar_test.moc"
