// SPDX-License-Identifier: MIT
// The generation window and the command line given the same typed data give
// the same code, or both refuse: persons with accents, apostrophes and
// hyphens, two- and four-digit years, old names, namesakes with their
// province, foreign states, and data both must refuse. The window is driven
// by key events, a clerk's way: the date's slashes, which the box places
// itself, are typed too and refused by it. (A bare name of several places
// is not among them: the window asks which, the command line takes the
// first and says so.)

#include <QApplication>
#include <QTest>

#include <memory>
#include <optional>

#include "command_line/command_line.h"
#include "engine/code/dates.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "windows/generation/main_form.h"

using cf::generation::MainForm;

namespace {

// The lists, '|' between entries. Dates have a two-digit day and month, as
// the date box takes them.
const QStringList kSurnames =
    QStringLiteral("Bianchi|d'Angelo|De Luca|Dell’Orto|Wójcik|Müller|Öztürk|Łukaszewicz|Ng|O'Neil|Şahin|"
                   "García-Márquez|Ferrè|Van der Berg|Straße|Yu|Al-Fayed|Hà|Kœnig|Rossi|Ò|'-'")
        .split(u'|');
const QStringList kFirstNames =
    QStringLiteral("Zoè|Nicolò|Maria Luisa|Jean-Pierre|Lucia|Giosuè|Ugo|Ève|Françoise|Ştefan|Ángel|Noè|Bo|"
                   "Åsa|Ilaria|Al|Jürgen|Ðorđe|anna")
        .split(u'|');
const QStringList kDates =
    QStringLiteral("03/07/85|15/03/1980|29/02/2000|29/02/00|01/01/20|01/01/1920|31/12/1999|15/06/27|"
                   "10/10/2010|05/05/05|28/02/1900|31/02/99|01/04/1950|12/11/1861")
        .split(u'|');
const QStringList kPlaces =
    QStringLiteral(
        "Roma|milano|Forlì|FORLI'|Cantù|Città di Castello|San Teodoro (SS)|san teodoro (me)|"
        "Castro (LE)|Castro (BG)|Livo (TN)|Livo (CO)|Bozen|Cavazuccherina|Corigliano Calabro|"
        "Corigliano-Rossano|Stati Uniti d'America|Germania|Unione Sovietica|Malé|Villnöß|L'Aquila|"
        "Reggio nell'Emilia|Bellagio|San Remo|Atlantide|Mirabello|Sant'Agata de' Goti|Lüsen|Kosovo")
        .split(u'|');
constexpr int kPersons = 240;

struct TypedPerson {
    QString surname, firstName, sex, date, place;
};

// Person i takes each list in a step of its own, so that the 240 persons
// meet every entry of every list in varied company.
TypedPerson NthPerson(int i)
{
    const auto pick = [i](const QStringList& list, int step) { return list[i * step % list.size()]; };
    return {pick(kSurnames, 1), pick(kFirstNames, 7), i % 2 ? QStringLiteral("m") : QStringLiteral("F"),
            pick(kDates, 3), pick(kPlaces, 11)};
}

// Each character a key of its own, beyond Latin-1 too.
void TypeInto(QLineEdit* box, const QString& keys)
{
    box->setFocus();
    box->selectAll();
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

}  // namespace

class WindowAndCommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void sameCodeOrBothRefuse();
};

void WindowAndCommandLineTest::sameCodeOrBothRefuse()
{
    TestWorkDirectory work;
    cf::platform::MessageBoxRecorder boxes;
    // Inside a frame of its own, so that Generate hides only the form.
    QWidget frame;
    auto form = std::make_unique<MainForm>(&frame);
    form->setCardPresenter([](const cf::Person&) {});
    QVERIFY(ShowActive(&frame));

    int computed = 0;
    int refused = 0;
    for (int i = 0; i < kPersons; ++i) {
        const TypedPerson person = NthPerson(i);
        form->show();
        const std::pair<QLineEdit*, QString> typed[] = {{form->surnameBox(), person.surname},
                                                        {form->firstNameBox(), person.firstName},
                                                        {form->sexBox(), person.sex},
                                                        {form->birthDateBox(), person.date},
                                                        {form->placeBox(), person.place}};
        // Half leave each box with Enter, which runs its check; half press
        // Generate from the place box, as Alt+G does.
        for (const auto& [box, keys] : typed) {
            TypeInto(box, keys);
            if (i % 2 == 0)
                QTest::keyClick(box, Qt::Key_Return);
        }
        form->generateButton()->click();
        const QString windowCode = form->codeLabel()->text();

        const QString arguments =
            QStringList{person.surname, person.firstName, person.date, person.sex, person.place}.join(u',');
        const cf::CommandLineOutcome line = cf::RunCommandLine(arguments.toStdString(), cf::Today());
        const QString lineCode = line.computed ? QString::fromStdString(line.code) : QString();
        QVERIFY2(windowCode == lineCode,
                 qPrintable(QStringLiteral("%1: window '%2', command line '%3' %4")
                                .arg(arguments, windowCode, lineCode,
                                     line.box ? QString::fromStdString(line.box->text) : QString())));
        ++(lineCode.isEmpty() ? refused : computed);
    }
    // Both kinds are met, and codes are the rule.
    QVERIFY2(computed > kPersons / 2 && refused > 10,
             qPrintable(QStringLiteral("%1 %2").arg(computed).arg(refused)));
}

QTEST_MAIN(WindowAndCommandLineTest)
#include "window_and_command_line_test.moc"
