// SPDX-License-Identifier: MIT
// The card window: its labels, the year, and the link back with its
// highlight.

#include <QApplication>
#include <QDate>
#include <QFontMetricsF>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include "generation_test_support.h"
#include "windows/generation/tesserino.h"

using namespace cf::generation;

class TesserinoTest : public QObject {
    Q_OBJECT

private slots:
    void cardShowsTheValuesAtTheirPlaces();
    void valuesStandInsideTheirFieldBoxes();
    void longValuesShrinkToTheirFields();
    void keysGoBackToTheData();
    void linkHighlightFollowsThePointer();
    void linkClosesTheCardAndAsksForTheData();
};

void TesserinoTest::cardShowsTheValuesAtTheirPlaces()
{
    Tesserino card;
    card.setPerson({.surname = "BIANCHI",
                    .firstName = "LUCIA",
                    .sex = "F",
                    .birthDate = "03/07/85",
                    .place = "ROMA",
                    .province = "RM",
                    .code = "BNCLCU85L43H501J"});
    QCOMPARE(card.size(), QSize(468, 288));
    QCOMPARE(card.cardPicture()->pixmap().size(), QSize(363, 241));
    QCOMPARE(card.cardPicture()->geometry(), QRect(28, 9, 414, 247));
    QCOMPARE(card.label(1)->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(card.label(1)->pos(), QPoint(73, 98));
    QCOMPARE(card.label(4)->text(), QStringLiteral("F"));
    QCOMPARE(card.label(4)->pos(), QPoint(290, 145));
    QCOMPARE(card.label(7)->text(), QStringLiteral("03/07/85"));
    QCOMPARE(card.label(7)->pos(), QPoint(222, 181));
    QVERIFY(card.label(1)->font().bold());

    // Every value fits on the card.
    const QRect cardArea(0, 0, 363 - 6, 241 - 6);
    for (int i = 1; i <= 7; ++i)
        QVERIFY2(cardArea.contains(card.label(i)->geometry()), qPrintable(card.label(i)->text()));

    // The year is today's, in dark green, whatever the date of birth.
    QCOMPARE(card.yearLabel()->text(), QString::number(QDate::currentDate().year()));
    QCOMPARE(card.yearLabel()->palette().color(QPalette::WindowText), QColor(0, 123, 0));
}

// The capitals of every label lie on one colour of the card picture: inside
// a field box, clear of its edges and of the other boxes.
void TesserinoTest::valuesStandInsideTheirFieldBoxes()
{
    Tesserino card;
    card.setPerson({.surname = "DELLA GHERARDESCA",
                    .firstName = "MARIA ASSUNTA",
                    .sex = "M",
                    .birthDate = "03/07/85",
                    .place = "SAN GIOVANNI IN PERSICETO",
                    .province = "RM",
                    .code = "DLLMRS85L43H501J"});
    const QImage picture = card.cardPicture()->pixmap().toImage();
    QList<QLabel*> labels{card.yearLabel()};
    for (int i = 1; i <= 7; ++i)
        labels << card.label(i);
    for (QLabel* label : labels) {
        const QFontMetricsF metrics(label->font());
        const double baseline = label->y() + metrics.ascent();
        const QRectF capitals(label->x(), baseline - metrics.capHeight(),
                              metrics.horizontalAdvance(label->text()), metrics.capHeight());
        QVERIFY2(PlainUnder(picture, capitals), qPrintable(label->text()));
    }
}

// The longest values the data boxes take are written smaller, on the
// baseline of their field, and never reach the field's right edge or the
// next caption.
void TesserinoTest::longValuesShrinkToTheirFields()
{
    Tesserino card;
    // Forty characters, as many as the name boxes take.
    const std::string surname = "DELLA GHERARDESCA DI SAN MARTINO ALBERTI";
    card.setPerson({.surname = surname,
                    .firstName = std::string(40, 'W'),
                    .sex = "M",
                    .birthDate = "03/07/1985",
                    .place = "SAN GIOVANNI IN PERSICETO DI SOTTO E DI SOPRA",
                    .province = "WWWW",
                    .code = "WWWWWWWWWWWWWWWW"});
    // The right edges of the field boxes on the card picture.
    const int fieldRight[] = {346, 346, 232, 330, 346, 136, 300};
    const QImage picture = card.cardPicture()->pixmap().toImage();
    for (int i = 1; i <= 7; ++i) {
        QLabel* label = card.label(i);
        QVERIFY2(label->x() + label->width() <= fieldRight[i - 1] - 2, qPrintable(label->text()));
        const QFontMetricsF metrics(label->font());
        const double baseline = label->y() + metrics.ascent();
        const QRectF capitals(label->x(), baseline - metrics.capHeight(),
                              std::min<double>(metrics.horizontalAdvance(label->text()), label->width()),
                              metrics.capHeight());
        QVERIFY2(PlainUnder(picture, capitals), qPrintable(label->text()));
    }
    // Shrunk, not cut, while the type stays readable.
    QCOMPARE(card.label(2)->text(), QString::fromStdString(surname));
    QVERIFY(card.label(2)->font().pixelSize() < 13);
    QCOMPARE(card.label(7)->text(), QStringLiteral("03/07/1985"));

    // A short value afterwards gets the design type back.
    card.setPerson({.surname = "ROSSI",
                    .firstName = "MARIO",
                    .sex = "M",
                    .birthDate = "01/01/80",
                    .place = "MILANO",
                    .province = "MI",
                    .code = "RSSMRA80A01F205X"});
    QCOMPARE(card.label(2)->font().pixelSize(), 13);
    QCOMPARE(card.label(2)->pos(), QPoint(74, 126));
    QCOMPARE(card.label(1)->font().pixelSize(), 24);
}

// Esc, Enter and Alt+T go back; the link takes the focus and Space or
// Enter on it acts as a click.
void TesserinoTest::keysGoBackToTheData()
{
    const QKeyCombination keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter, Qt::ALT | Qt::Key_T,
                                    Qt::Key_Space};
    for (const QKeyCombination key : keys) {
        QPointer<Tesserino> card = new Tesserino;
        card->setAttribute(Qt::WA_DeleteOnClose);
        QVERIFY(ShowActive(card));
        QSignalSpy back(card.data(), &Tesserino::returnRequested);
        card->label(8)->setFocus();
        QCOMPARE(QApplication::focusWidget(), card->label(8));
        QVERIFY(card->label(8)->font().underline());
        QTest::keyClick(card->label(8), key.key(), key.keyboardModifiers());
        QCOMPARE(back.count(), 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!card);
    }
    // The window hands its focus to the link.
    Tesserino card;
    QVERIFY(ShowActive(&card));
    card.setFocus();
    QCOMPARE(QApplication::focusWidget(), card.label(8));
    QCOMPARE(card.windowTitle(), QStringLiteral("Tesserino del codice fiscale"));
}

void TesserinoTest::linkHighlightFollowsThePointer()
{
    Tesserino card;
    QVERIFY(ShowActive(&card));
    QLabel* link = card.label(8);
    QCOMPARE(link->text(), QStringLiteral("<<Torna al quadro dati"));
    QVERIFY(!card.linkHighlighted());

    QTest::mouseMove(link, link->rect().center());
    QVERIFY(card.linkHighlighted());
    QVERIFY(link->font().bold());
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 255));

    // Over the card picture the highlight stays; over the background it goes.
    QTest::mouseMove(&card, card.cardPicture()->geometry().center());
    QVERIFY(card.linkHighlighted());
    QTest::mouseMove(&card, QPoint(5, card.height() - 5));
    QVERIFY(!card.linkHighlighted());
    QVERIFY(!link->font().bold());
}

void TesserinoTest::linkClosesTheCardAndAsksForTheData()
{
    QPointer<Tesserino> card = new Tesserino;
    QVERIFY(ShowActive(card));
    QSignalSpy back(card.data(), &Tesserino::returnRequested);
    QTest::mouseClick(card->label(8), Qt::LeftButton);
    QCOMPARE(back.count(), 1);
    QVERIFY(card->isHidden());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!card);
}

QTEST_MAIN(TesserinoTest)
#include "tesserino_test.moc"
