// SPDX-License-Identifier: MIT
#include "widgets/tooltip_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QScreen>
#include <QTest>

using cf::widgets::TooltipWindow;

namespace {

QRect ScreenArea()
{
    return QGuiApplication::primaryScreen()->geometry();
}

TooltipWindow* ShowTip(QPoint corner, const QString& text)
{
    TooltipWindow* tip = TooltipWindow::Instance();
    tip->move(corner);
    tip->SetCaption(text);
    return tip;
}

void ReleaseDeletedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class TooltipWindowTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        if (TooltipWindow* tip = TooltipWindow::Current())
            tip->SetCaption(QString());
        ReleaseDeletedWindows();
    }

    void sizesItselfToTheTextWithItsMargins()
    {
        TooltipWindow* tip = ShowTip({100, 100}, " Crea codice fiscale ");
        const auto* label = tip->findChild<QLabel*>();
        QVERIFY(label != nullptr);
        // 15 twips (1 pixel) left and top, 45 twips (3 pixels) right and bottom.
        QCOMPARE(label->pos(), QPoint(1, 1));
        QCOMPARE(tip->size(), label->size() + QSize(4, 4));
        QCOMPARE(label->size(), label->sizeHint());
        QCOMPARE(tip->pos(), QPoint(100, 100));
        QVERIFY(tip->isVisible());
    }

    void staysOnTheScreen()
    {
        const QRect area = ScreenArea();
        TooltipWindow* tip = ShowTip(area.bottomRight() - QPoint(5, 5), " Uscita dal programma ");
        QCOMPARE(tip->geometry().right(), area.right());
        QCOMPARE(tip->geometry().bottom(), area.bottom());

        ShowTip(area.topLeft() - QPoint(40, 30), " Info ");
        QCOMPARE(tip->pos(), area.topLeft());
    }

    void aSecondTipReusesTheShownWindow()
    {
        TooltipWindow* first = ShowTip({10, 10}, " Verifica ");
        const QSize small = first->size();
        TooltipWindow* second = ShowTip({50, 60}, " Verifica codice fiscale ");
        QCOMPARE(second, first);
        QVERIFY(second->isVisible());
        QCOMPARE(second->pos(), QPoint(50, 60));
        QVERIFY(second->width() > small.width());
    }

    void blankTextReleasesTheWindow()
    {
        QPointer<TooltipWindow> tip = ShowTip({10, 10}, " Archivio codici ");
        tip->SetCaption("   ");
        QVERIFY(!tip->isVisible());
        QCOMPARE(TooltipWindow::Current(), nullptr);
        ReleaseDeletedWindows();
        QVERIFY(tip.isNull());

        TooltipWindow* fresh = ShowTip({10, 10}, " Stampa ");
        QVERIFY(fresh != nullptr);
        QCOMPARE(TooltipWindow::Current(), fresh);
        QCOMPARE(fresh->Caption(), QString(" Stampa "));
    }

    void neverTakesTheFocus()
    {
        QWidget frame;
        auto* box = new QLineEdit(&frame);
        frame.show();
        frame.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame));
        box->setFocus();
        QCOMPARE(QApplication::focusWidget(), box);

        TooltipWindow* tip = ShowTip({20, 20}, " Informazioni sul programma ");
        QCoreApplication::processEvents();
        QVERIFY(tip->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(tip->focusPolicy(), Qt::NoFocus);
        QCOMPARE(QApplication::activeWindow(), &frame);
        QCOMPARE(QApplication::focusWidget(), box);
    }
};

QTEST_MAIN(TooltipWindowTest)
#include "tooltip_window_test.moc"
