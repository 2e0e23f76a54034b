// SPDX-License-Identifier: MIT
// Loading of the place list behind the splash window, lookups in it, and the
// progress bar drawing.

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include "cf/version.h"
#include "engine/places/place_catalog.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "widgets/multi_column_list.h"
#include "windows/generation/place_list_loader.h"
#include "windows/generation/splash.h"

using namespace cf::generation;
using cf::platform::MessageBoxRecorder;

namespace {

// Three columns and a scroll bar as a host window holds them.
struct PlaceListHost {
    QWidget window;
    QListWidget* columns[3];
    QScrollBar* scrollBar = new QScrollBar(Qt::Vertical, &window);
    cf::widgets::MultiColumnList list;

    PlaceListHost()
    {
        for (int i = 0; i < 3; ++i) {
            columns[i] = new QListWidget(&window);
            columns[i]->setGeometry(i * 100, 0, 100, 100);
        }
        list.Create({{0, columns[0]}, {1, columns[1]}, {2, columns[2]}}, scrollBar);
    }
};

bool AnySplashShown()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<Splash*>(widget) && widget->isVisible())
            return true;
    return false;
}

}  // namespace

class PlaceListLoaderTest : public QObject {
    Q_OBJECT

private slots:
    void loadsEveryRowInTwentyStepsWithNothingSelected();
    void lookupsFollowThePlaceListRules();
    void missingFileEndsTheProgram();
    void progressBarDrawsTheCaptionInvertedUnderTheBar();
    void splashShowsVersionAndYear();
};

void PlaceListLoaderTest::loadsEveryRowInTwentyStepsWithNothingSelected()
{
    TestWorkDirectory work;
    MessageBoxRecorder recorder;
    PlaceListHost host;
    QList<int> steps;
    bool splashDuringLoad = false;
    PlaceListHooks hooks;
    hooks.progressDrawn = [&](int value) {
        steps.append(value);
        splashDuringLoad = splashDuringLoad || AnySplashShown();
    };

    QCOMPARE(LoadPlaceList(host.list, hooks), PlaceListLoad::Loaded);

    QList<int> expected;
    for (int value = 5; value <= 100; value += 5)
        expected.append(value);
    QCOMPARE(steps, expected);
    QVERIFY(splashDuringLoad);
    QVERIFY(!AnySplashShown());
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(recorder.requests().empty());

    const auto rows = cf::PlaceCatalog::Embedded().Rows();
    QCOMPARE(host.list.ListCount(), static_cast<int>(rows.size()));
    for (QListWidget* column : host.columns)
        QCOMPARE(column->count(), static_cast<int>(rows.size()));
    QCOMPARE(host.list.ListIndex(), -1);
    QCOMPARE(host.list.List(0), QStringLiteral("ABANO\tA001\tPD"));
    QCOMPARE(host.list.List(host.list.ListCount() - 1, 0),
             QString::fromLatin1(rows.back().name.data(), static_cast<int>(rows.back().name.size())));
}

void PlaceListLoaderTest::lookupsFollowThePlaceListRules()
{
    TestWorkDirectory work;
    PlaceListHost host;
    LoadPlaceList(host.list);

    QVERIFY(host.list.SelectByText(0, QStringLiteral("roma")) >= 0);
    QCOMPARE(host.list.Text(0), QStringLiteral("ROMA"));
    QCOMPARE(host.list.Text(1), QStringLiteral("H501"));
    QCOMPARE(host.list.Text(2), QStringLiteral("RM"));
    for (QListWidget* column : host.columns)
        QCOMPARE(column->currentRow(), host.list.ListIndex());

    // Namesakes show their province beside the name.
    host.list.SelectByText(0, QStringLiteral("BRIONE (TN)"));
    QCOMPARE(host.list.Text(1), QStringLiteral("B185"));
    // The first of two rows sharing a code.
    host.list.SelectByText(1, QStringLiteral("A156"));
    QCOMPARE(host.list.Text(0), QStringLiteral("ALBIANO (MS)"));

    // A blank or an unknown name drops the previous selection.
    QCOMPARE(host.list.SelectByText(0, QStringLiteral(" ")), -1);
    QCOMPARE(host.list.ListIndex(), -1);
    QVERIFY(host.list.Text(1).isEmpty());
    QVERIFY(host.list.Text(2).isEmpty());
}

void PlaceListLoaderTest::missingFileEndsTheProgram()
{
    TestWorkDirectory work;
    QVERIFY(QFile::remove(work.placeFile()));
    MessageBoxRecorder recorder;
    PlaceListHost host;
    int ends = 0;
    PlaceListHooks hooks;
    hooks.endProgram = [&] { ++ends; };
    hooks.progressDrawn = [](int) { QFAIL("no progress without a file"); };

    QCOMPARE(LoadPlaceList(host.list, hooks), PlaceListLoad::FileMissing);

    QCOMPARE(ends, 1);
    QCOMPARE(recorder.requests().size(), std::size_t{1});
    QCOMPARE(recorder.requests()[0].text, QStringLiteral("Non esiste l'archivio dati!"));
    QCOMPARE(recorder.requests()[0].title, QStringLiteral("Codice fiscale"));
    QCOMPARE(recorder.requests()[0].icon, cf::MessageIcon::Exclamation);
    QCOMPARE(host.list.ListCount(), 0);
    QVERIFY(!AnySplashShown());
    QVERIFY(!QApplication::overrideCursor());
}

void PlaceListLoaderTest::progressBarDrawsTheCaptionInvertedUnderTheBar()
{
    ProgressBox box;
    box.resize(200, 20);
    const QString caption = QStringLiteral("Caricamento in corso...");
    const QColor yellow(255, 255, 0);
    const QColor barColour(0, 0, 127);  // NOT(dark blue XOR yellow)

    DrawProgress(box, 100, 0, caption);
    const QImage captionOnly = box.canvas().copy();
    QCOMPARE(captionOnly.pixelColor(0, 0), yellow);

    DrawProgress(box, 100, 50, caption);
    QCOMPARE(box.canvas().pixelColor(0, 0), barColour);
    QCOMPARE(box.canvas().pixelColor(99, 19), barColour);
    QCOMPARE(box.canvas().pixelColor(100, 0), yellow);

    // Above the maximum nothing is drawn.
    const QImage before = box.canvas().copy();
    DrawProgress(box, 100, 101, caption);
    QCOMPARE(box.canvas(), before);

    // A full bar is the caption picture inverted against the bar colour,
    // pixel for pixel.
    DrawProgress(box, 100, 100, caption);
    int captionPixels = 0;
    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 200; ++x) {
            const QRgb plain = captionOnly.pixel(x, y) & 0xffffff;
            captionPixels += plain != (yellow.rgb() & 0xffffff);
            QCOMPARE(box.canvas().pixel(x, y) & 0xffffff, ~(plain ^ 0x000080u) & 0xffffff);
        }
    }
    QVERIFY(captionPixels > 50);
}

void PlaceListLoaderTest::splashShowsVersionAndYear()
{
    Splash splash;
    const QString year = QString::number(QDate::currentDate().year());
    QCOMPARE(splash.findChild<QLabel*>(QStringLiteral("Label4"))->text(),
             QStringLiteral("Versione ") + QLatin1String(cf::kVersion));
    QVERIFY(splash.findChild<QLabel*>(QStringLiteral("Label5"))->text().endsWith(year));
    auto* anno = splash.findChild<QLabel*>(QStringLiteral("lblAnno"));
    QCOMPARE(anno->text(), year);
    QCOMPARE(anno->palette().color(QPalette::WindowText), QColor(0, 123, 0));
    QCOMPARE(splash.size(), QSize(363, 241));
}

QTEST_MAIN(PlaceListLoaderTest)
#include "place_list_loader_test.moc"
