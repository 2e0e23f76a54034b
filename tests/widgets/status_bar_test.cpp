#include "widgets/status_bar.h"
#include "widgets/widget_images.h"

#include <QTest>

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

    QImage picture() const { return bar.GetStatBarHwnd()->grab().toImage(); }

    QWidget window;
    QWidget* container = nullptr;
    CStatusBar32x bar;
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
        QWidget* window = frame.bar.GetStatBarHwnd();
        QVERIFY(window != nullptr);
        QCOMPARE(frame.bar.Parent(), frame.container);
        QCOMPARE(window->geometry(), QRect(0, 0, 400, 25));
        frame.container->resize(600, 26);
        QCOMPARE(window->width(), 600);

        QString third = "          x";
        frame.bar.DrawTextPic(2, third, 0);
        QCOMPARE(third, QString("          x"));
    }

    void longTextIsShortenedInItsMiddle()
    {
        Frame frame;
        const QString original = "          Codice fiscale - un testo molto lungo che non entra nel riquadro";
        QString text = original;
        frame.bar.DrawTextPic(0, text, 0);
        QVERIFY(text != original);
        const int ellipsis = text.indexOf(QChar(0x2026));
        QVERIFY(ellipsis > 10);
        QVERIFY(ellipsis < text.size() - 1);
        QVERIFY(original.startsWith(text.left(ellipsis)));
        QVERIFY(original.endsWith(text.mid(ellipsis + 1)));

        QString date = "          Lunedì 7 Dicembre 2026";
        frame.bar.DrawTextPic(1, date, 1);
        QCOMPARE(date, QString("          Lunedì 7 Dicembre 2026"));
    }

    void iconsGoOnlyToTheFirstThreePanes()
    {
        Frame frame;
        QString title = "          Codice fiscale";
        QString date = "          Oggi";
        frame.bar.SetIcon(3, 1);
        frame.bar.SetIcon(0, 7);
        frame.bar.DrawTextPic(0, title, 0);
        frame.bar.DrawTextPic(1, date, 1);
        QVERIFY(IconAreaIsEmpty(frame.picture(), 0));
        QVERIFY(IconAreaIsEmpty(frame.picture(), 200));

        frame.bar.SetIcon(0, 1);
        frame.bar.SetIcon(1, 2);
        frame.bar.DrawTextPic(0, title, 0);
        frame.bar.DrawTextPic(1, date, 1);
        QVERIFY(!IconAreaIsEmpty(frame.picture(), 0));
        QVERIFY(!IconAreaIsEmpty(frame.picture(), 200));
    }

    void picturesComeFromTheProgramsResources()
    {
        QCOMPARE(QImage(widget_images::kToolbarStrip).size(), QSize(250, 75));
        QCOMPARE(QImage(widget_images::kTitlePaneIcon).size(), QSize(16, 16));
        QCOMPARE(QImage(widget_images::kDatePaneIcon).size(), QSize(16, 16));
    }

    void resizeAndDestroy()
    {
        Frame frame;
        frame.container->resize(400, 100);
        frame.bar.Resize();
        QCOMPARE(frame.bar.GetStatBarHwnd()->geometry(), QRect(1, 28, 390, 25));
        frame.bar.DestroyStatBar();
        QCOMPARE(frame.bar.GetStatBarHwnd(), nullptr);
        QString text = "testo";
        frame.bar.DrawTextPic(0, text, 0);
        frame.bar.UpdateStatBar(0);
        frame.bar.DestroyStatBar();
        QCOMPARE(text, QString("testo"));
    }
};

QTEST_MAIN(StatusBarTest)
#include "status_bar_test.moc"
