// SPDX-License-Identifier: MIT
// The generation window driven through real key and mouse events, with the
// message boxes answered by a recorder.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>
#include <QTest>

#include <memory>
#include <optional>
#include <tuple>

#include "engine/code/code_computation.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "widgets/multi_column_list.h"
#include "windows/generation/main_form.h"
#include "windows/generation/tesserino.h"

using namespace cf::generation;
using cf::MessageIcon;
using cf::Person;
using cf::platform::MessageAnswer;
using cf::platform::MessageBoxRecorder;

namespace {

const QString kMask = QStringLiteral("  /  /  ");

Tesserino* ShownCard()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* card = qobject_cast<Tesserino*>(widget); card && card->isVisible())
            return card;
    return nullptr;
}

void DeleteClosedWindows()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

class MainFormTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutFollowsTheDesign();
    void boxesFilterTypedCharactersAndUpperCase();
    void enterAndEscMoveTheFocus();
    void dateBoxKeepsItsMaskUnderTyping();
    void dateBoxTakesFourDigitYearsAndPastes();
    void dateCheckOnLeavingTheBox();
    void placeCheckOnLeavingTheBox();
    void dropDownPickFillsThePlace();
    void dropDownFromTheKeyboard();
    void openDropDownFollowsTheTyping();
    void dropDownIsWideEnoughForEveryRow();
    void namesakesArePickedAndKept();
    void placeOnTheBirthDate();
    void generateShowsTheCardAndComesBack();
    void backFromTheCardTheKeyboardIsOnTheCode();
    void generateWithAPresenterOfTheHost();
    void generateRefusesIncompleteData();
    void newCodeClearsThePerson();
    void changedDataTakeBackTheCode();
    void sexBoxHoldsOneLetter();
    void generateCaptionFollowsTheProvinceAtOnce();
    void switchingAwayChecksNoBox();
    void codeLabelCopiesToTheClipboard();
    void codeIsCopiedFromTheKeyboard();
    void archiveAppendsOneLineEachTime();
    void failedArchiveKeepsTheData();

private:
    void TypeInto(QLineEdit* box, const QString& keys);
    void FillPerson();
    const cf::platform::MessageRequest& LastMessage() const { return recorder_->requests().back(); }
    std::size_t MessageCount() const { return recorder_->requests().size(); }

    std::unique_ptr<TestWorkDirectory> work_;
    std::optional<MessageBoxRecorder> recorder_;
    std::unique_ptr<MainForm> form_;
};

void MainFormTest::init()
{
    work_ = std::make_unique<TestWorkDirectory>();
    recorder_.emplace();
    form_ = std::make_unique<MainForm>();
    QVERIFY(ShowActive(form_.get()));
}

void MainFormTest::cleanup()
{
    form_.reset();
    DeleteClosedWindows();
    recorder_.reset();
    work_.reset();
}

void MainFormTest::TypeInto(QLineEdit* box, const QString& keys)
{
    box->setFocus();
    box->selectAll();
    TypeKeys(box, keys);
}

void MainFormTest::FillPerson()
{
    form_->surnameBox()->setText(QStringLiteral("Bianchi"));
    form_->firstNameBox()->setText(QStringLiteral("Lucia"));
    form_->sexBox()->setText(QStringLiteral("F"));
    form_->birthDateBox()->setText(QStringLiteral("03/07/85"));
    form_->placeBox()->setText(QStringLiteral("roma"));
}

void MainFormTest::layoutFollowsTheDesign()
{
    QCOMPARE(form_->size(), QSize(374, 298));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Genera Codice Fiscale"));
    QCOMPARE(form_->surnameBox()->geometry(), QRect(122, 16, 185, 21));
    QCOMPARE(form_->placeBox()->geometry(), QRect(122, 119, 190, 20));
    QCOMPARE(form_->codeLabel()->geometry(), QRect(155, 172, 208, 23));
    QCOMPARE(form_->birthDateBox()->text(), kMask);
    auto* picture = form_->findChild<QLabel*>(QStringLiteral("Picture1"));
    QCOMPARE(picture->pixmap().size(), QSize(16, 17));
    for (const char* name : {"List1_0", "List1_1", "List1_2"})
        QVERIFY(form_->findChild<QListWidget*>(QString::fromLatin1(name)));
    // The code and province columns are never shown, not even to screen
    // readers.
    for (const char* name : {"List1_0", "List1_1", "List1_2"})
        QVERIFY(form_->findChild<QListWidget*>(QString::fromLatin1(name))->isHidden());
    QVERIFY(!form_->archiveButton()->isEnabled());
    QVERIFY(MessageCount() == 0);
}

void MainFormTest::boxesFilterTypedCharactersAndUpperCase()
{
    // The name boxes take what the command line reads: letters of any Latin
    // script, apostrophes, blanks and hyphens.
    const std::pair<QString, QString> names[] = {{QStringLiteral("d'ma-ria 2"), QStringLiteral("D'MA-RIA ")},
                                                 {QStringLiteral("Wójcik"), QStringLiteral("WÓJCIK")},
                                                 {QStringLiteral("d’Ștefan"), QStringLiteral("D’ȘTEFAN")},
                                                 {QStringLiteral("Łukasz αβ"), QStringLiteral("ŁUKASZ ")}};
    for (const auto& [typed, shown] : names) {
        TypeInto(form_->surnameBox(), typed);
        QCOMPARE(form_->surnameBox()->text(), shown);
    }
    TypeInto(form_->sexBox(), QStringLiteral("xq7m"));
    QCOMPARE(form_->sexBox()->text(), QStringLiteral("M"));
    TypeInto(form_->placeBox(), QStringLiteral("l'aquila"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("L'AQUILA"));

    // Pasted, a name keeps the same characters, its accents composed; the
    // clipboard keys work in every box.
    QApplication::clipboard()->setText(QStringLiteral("Nicolo\u0300 3\n"));
    QTest::keyClick(form_->firstNameBox(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(form_->firstNameBox(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form_->firstNameBox()->text(), QStringLiteral("NICOLÒ "));
    for (QLineEdit* box : {form_->surnameBox(), form_->firstNameBox(), form_->sexBox(), form_->placeBox()}) {
        box->setFocus();
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), box->text());
        QTest::keyClick(box, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(box->text().isEmpty());
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(box->text(), QApplication::clipboard()->text());
    }
    TypeInto(form_->surnameBox(), QStringLiteral("Rossi"));

    // Backspace passes every filter; a change anywhere puts the caret at the end.
    QTest::keyClick(form_->surnameBox(), Qt::Key_Backspace);
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("ROSS"));
    form_->surnameBox()->setCursorPosition(0);
    QTest::keyClicks(form_->surnameBox(), QStringLiteral("g"));
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("GROSS"));
    QCOMPARE(form_->surnameBox()->cursorPosition(), 5);

    // Written by another window: upper-cased too.
    form_->firstNameBox()->setText(QStringLiteral("anna"));
    QCOMPARE(form_->firstNameBox()->text(), QStringLiteral("ANNA"));

    // Gaining the focus selects the whole text.
    form_->firstNameBox()->setFocus();
    QCOMPARE(form_->firstNameBox()->selectedText(), QStringLiteral("ANNA"));
}

void MainFormTest::enterAndEscMoveTheFocus()
{
    form_->surnameBox()->setFocus();
    QWidget* const order[] = {form_->firstNameBox(), form_->sexBox(), form_->birthDateBox(),
                              form_->placeBox(), form_->generateButton()};
    for (QWidget* next : order) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    form_->birthDateBox()->setFocus();
    QTest::keyClick(form_->birthDateBox(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), form_->sexBox());
    QTest::keyClick(form_->sexBox(), Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), form_->firstNameBox());
    // The keys themselves are discarded.
    QVERIFY(form_->firstNameBox()->text().isEmpty());
    QCOMPARE(form_->birthDateBox()->text(), kMask);
    QCOMPARE(MessageCount(), std::size_t{0});

    // Enter on the focused Generate presses it.
    form_->placeBox()->setFocus();
    QTest::keyClick(form_->placeBox(), Qt::Key_Return);
    QTest::keyClick(form_->generateButton(), Qt::Key_Return);
    QCOMPARE(MessageCount(), std::size_t{1});
    QCOMPARE(LastMessage().text, QStringLiteral("Manca almeno un dato fondamentale: Cognome"));
    QCOMPARE(QApplication::focusWidget(), form_->surnameBox());
}

void MainFormTest::dateBoxKeepsItsMaskUnderTyping()
{
    QLineEdit* date = form_->birthDateBox();
    TypeInto(date, QStringLiteral("030785"));
    QCOMPARE(date->text(), QStringLiteral("03/07/85"));
    QCOMPARE(date->cursorPosition(), 8);

    QTest::keyClick(date, Qt::Key_Backspace);
    QTest::keyClick(date, Qt::Key_Backspace);
    QCOMPARE(date->text(), QStringLiteral("03/07/00"));
    QCOMPARE(date->cursorPosition(), 6);
    QTest::keyClick(date, Qt::Key_Backspace);
    QCOMPARE(date->text(), QStringLiteral("03/00/00"));
    QCOMPARE(date->cursorPosition(), 4);

    // Letters and Up/Down change nothing.
    QTest::keyClicks(date, QStringLiteral("a"));
    QTest::keyClick(date, Qt::Key_Up);
    QCOMPARE(date->text(), QStringLiteral("03/00/00"));
    QCOMPARE(date->cursorPosition(), 4);

    // Left over a slash, Delete puts a 0 after the caret.
    QTest::keyClick(date, Qt::Key_Left);
    QCOMPARE(date->cursorPosition(), 3);
    QTest::keyClick(date, Qt::Key_Left);
    QCOMPARE(date->cursorPosition(), 1);
    QTest::keyClick(date, Qt::Key_Right);
    QCOMPARE(date->cursorPosition(), 3);
    date->setCursorPosition(1);
    QTest::keyClick(date, Qt::Key_Delete);
    QCOMPARE(date->text(), QStringLiteral("00/00/00"));
    QCOMPARE(date->cursorPosition(), 1);

    date->selectAll();
    QTest::keyClick(date, Qt::Key_Delete);
    QCOMPARE(date->text(), kMask);

    // Into the empty part of a partly filled box: to the first blank.
    QTest::keyClicks(date, QStringLiteral("03"));
    QCOMPARE(date->text(), QStringLiteral("03/  /  "));
    date->setCursorPosition(0);
    QTest::keyClick(date, Qt::Key_Right);
    QTest::keyClick(date, Qt::Key_Right);
    QCOMPARE(date->cursorPosition(), 3);
    QTest::keyClick(date, Qt::Key_Right);
    QCOMPARE(date->cursorPosition(), 3);
}

// A four-digit year is typed as written, never over the last digit; pastes
// of any kind type their digits, and the clipboard keys work.
void MainFormTest::dateBoxTakesFourDigitYearsAndPastes()
{
    QLineEdit* date = form_->birthDateBox();
    TypeInto(date, QStringLiteral("150319805"));
    QCOMPARE(date->text(), QStringLiteral("15/03/1980"));
    QTest::keyClick(date, Qt::Key_Backspace);
    QCOMPARE(date->text(), QStringLiteral("15/03/198"));

    // Ctrl+A and Ctrl+V, Shift+Insert, the context menu's paste at the caret.
    const std::pair<QString, QString> pastes[] = {
        {QStringLiteral("3/7/85"), QStringLiteral("03/07/85")},
        {QStringLiteral("hello"), QStringLiteral("03/07/85")},
        {QStringLiteral(" 15.03.1980\n"), QStringLiteral("15/03/1980")},
        {QStringLiteral("2"), QStringLiteral("15/02/1980")},
    };
    for (const auto& [pasted, result] : pastes) {
        QApplication::clipboard()->setText(pasted);
        if (pasted.size() == 1) {
            date->setCursorPosition(4);
            date->paste();
        } else {
            QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(date, pasted.startsWith(u' ') ? Qt::Key_Insert : Qt::Key_V,
                            pasted.startsWith(u' ') ? Qt::ShiftModifier : Qt::ControlModifier);
        }
        QCOMPARE(date->text(), result);
    }
    // Copy, and cut, which puts the mask back.
    QTest::keyClick(date, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(date, Qt::Key_X, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("15/02/1980"));
    QCOMPARE(date->text(), kMask);
}

void MainFormTest::dateCheckOnLeavingTheBox()
{
    QLineEdit* date = form_->birthDateBox();
    TypeInto(date, QStringLiteral("310299"));
    QTest::keyClick(date, Qt::Key_Tab);
    QCOMPARE(MessageCount(), std::size_t{1});
    QCOMPARE(LastMessage().text, QStringLiteral("Data inserita non valida!"));
    QCOMPARE(LastMessage().title, QStringLiteral("Errore"));
    QCOMPARE(LastMessage().icon, MessageIcon::Critical);
    QCOMPARE(QApplication::focusWidget(), date);
    QCOMPARE(date->text(), QStringLiteral("31/02/99"));

    // A date that is not 8 or 10 characters long, as another window may
    // write it; a year of three digits.
    const QString format = QStringLiteral("Inserire la data nel formato GG/MM/AA o GG/MM/AAAA");
    date->setText(QStringLiteral("3/7/85"));
    QTest::keyClick(date, Qt::Key_Tab);
    QCOMPARE(MessageCount(), std::size_t{2});
    QCOMPARE(LastMessage().text, format);
    QCOMPARE(QApplication::focusWidget(), date);
    TypeInto(date, QStringLiteral("2902198"));
    QTest::keyClick(date, Qt::Key_Tab);
    QCOMPARE(MessageCount(), std::size_t{3});
    QCOMPARE(LastMessage().text, QStringLiteral("Data inserita non valida!"));

    // 00/00/00 and 00/00/0000 empty the box without a message; good dates
    // of either form pass.
    for (const QString& zeros : {QStringLiteral("000000"), QStringLiteral("00000000")}) {
        TypeInto(date, zeros);
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(date->text(), kMask);
    }
    for (const QString& good : {QStringLiteral("290200"), QStringLiteral("29022000")}) {
        TypeInto(date, good);
        QTest::keyClick(date, Qt::Key_Tab);
        QCOMPARE(MessageCount(), std::size_t{3});
        QCOMPARE(QApplication::focusWidget(), form_->placeBox());
    }

    // Given back to the date box, the focus leaves the place box holding
    // New code's blank unchecked: one message, not an endless exchange.
    form_->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    TypeInto(date, QStringLiteral("3102"));
    QTest::keyClick(date, Qt::Key_Tab);
    QCOMPARE(MessageCount(), std::size_t{4});
    QCOMPARE(LastMessage().text, QStringLiteral("Data inserita non valida!"));
    QCOMPARE(QApplication::focusWidget(), date);
}

void MainFormTest::placeCheckOnLeavingTheBox()
{
    QLineEdit* place = form_->placeBox();
    TypeInto(place, QStringLiteral("san remo"));
    QCOMPARE(place->text(), QStringLiteral("SAN REMO"));
    QTest::keyClick(place, Qt::Key_Tab);
    QCOMPARE(place->text(), QStringLiteral("SANREMO"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("IM"));
    QCOMPARE(MessageCount(), std::size_t{0});

    // With a trailing blank the name is not rewritten and matches nothing.
    TypeInto(place, QStringLiteral("san remo "));
    QTest::keyClick(place, Qt::Key_Tab);
    QCOMPARE(MessageCount(), std::size_t{1});
    QCOMPARE(LastMessage().text, QStringLiteral("Comune non censito o inesistente"));
    QCOMPARE(LastMessage().title, QStringLiteral("Codice fiscale"));
    QCOMPARE(LastMessage().icon, MessageIcon::Exclamation);
    QCOMPARE(QApplication::focusWidget(), place);
    QCOMPARE(place->text(), QStringLiteral("SAN REMO "));
    QVERIFY(form_->provinceLabel()->text().isEmpty());

    TypeInto(place, QStringLiteral("roma"));
    QTest::keyClick(place, Qt::Key_Tab);
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("RM"));
    QCOMPARE(MessageCount(), std::size_t{1});

    // The province of the place before goes with the first key of a new one.
    TypeInto(place, QStringLiteral("f"));
    QVERIFY(form_->provinceLabel()->text().isEmpty());
    QCOMPARE(form_->generateButton()->text(), QStringLiteral("&Genera Codice Fiscale"));
    TypeInto(place, QStringLiteral("roma"));
    QTest::keyClick(place, Qt::Key_Tab);

    // From the keyboard alone: after New code (Alt+N) the place box is
    // empty, and an empty or blank box is left any way without a word.
    QTest::keyClick(place, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), form_->surnameBox());
    QCOMPARE(place->text(), QString());
    const std::pair<QString, Qt::Key> leavings[] = {{QString(), Qt::Key_Tab},
                                                    {QString(), Qt::Key_Backtab},
                                                    {QStringLiteral("   "), Qt::Key_Return},
                                                    {QStringLiteral(" "), Qt::Key_Escape}};
    for (const auto& [typed, key] : leavings) {
        TypeInto(place, typed);
        QTest::keyClick(place, key);
        QVERIFY(QApplication::focusWidget() != place);
    }
    form_->sexBox()->setFocus();
    QTest::mouseClick(place, Qt::LeftButton);
    QTest::mouseClick(form_->surnameBox(), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), form_->surnameBox());
    QCOMPARE(MessageCount(), std::size_t{1});
}

void MainFormTest::dropDownPickFillsThePlace()
{
    auto* list = form_->findChild<QListWidget*>(QStringLiteral("List1_0"));
    auto* arrow = form_->findChild<QLabel*>(QStringLiteral("Picture1"));
    QTest::mouseClick(arrow, Qt::LeftButton);
    QVERIFY(list->isVisible());

    QListWidgetItem* milano = list->findItems(QStringLiteral("MILANO"), Qt::MatchExactly).value(0);
    QVERIFY(milano);
    list->scrollToItem(milano);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(milano).center());

    QCOMPARE(form_->placeBox()->text(), QStringLiteral("MILANO"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("MI"));
    QCOMPARE(form_->placeList().Text(1), QStringLiteral("F205"));
    QVERIFY(list->isHidden());
    QCOMPARE(QApplication::focusWidget(), form_->placeBox());
    QCOMPARE(MessageCount(), std::size_t{0});

    // A click into the place box closes an open list.
    QTest::mouseClick(arrow, Qt::LeftButton);
    QTest::mouseClick(form_->placeBox(), Qt::LeftButton);
    QVERIFY(list->isHidden());
}

void MainFormTest::dropDownFromTheKeyboard()
{
    auto* list = form_->findChild<QListWidget*>(QStringLiteral("List1_0"));
    QLineEdit* place = form_->placeBox();
    const auto firstVisibleRow = [list] { return list->row(list->itemAt(2, 2)); };

    // Alt+Down opens the list at the name typed so far, with its scroll bar,
    // and gives it the focus.
    TypeInto(place, QStringLiteral("mila"));
    QTest::keyClick(place, Qt::Key_Down, Qt::AltModifier);
    QVERIFY(list->isVisible());
    QVERIFY(list->verticalScrollBar()->isVisible());
    QVERIFY(list->verticalScrollBar()->maximum() > 10000);
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(list->currentItem()->text(), QStringLiteral("MILANO"));
    QCOMPARE(firstVisibleRow(), list->currentRow());

    // Arrows move in it; Enter picks, closes it and goes back to the box.
    QTest::keyClick(list, Qt::Key_Down);
    const QString next = list->currentItem()->text();
    QVERIFY(next != QStringLiteral("MILANO"));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isHidden());
    QCOMPARE(place->text(), next);
    QCOMPARE(QApplication::focusWidget(), place);
    QCOMPARE(MessageCount(), std::size_t{0});

    // F4 opens it too; Esc closes it and leaves the box as it was.
    QTest::keyClick(place, Qt::Key_F4);
    QVERIFY(list->isVisible());
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(list->isHidden());
    QCOMPARE(QApplication::focusWidget(), place);
    QCOMPARE(place->text(), next);

    // Typing in the place box moves the open list to the first matching name.
    QTest::mouseClick(form_->findChild<QLabel*>(QStringLiteral("Picture1")), Qt::LeftButton);
    QVERIFY(list->isVisible());
    TypeInto(place, QStringLiteral("tor"));
    QVERIFY(list->currentItem()->text().startsWith(QStringLiteral("TOR")));
    QCOMPARE(firstVisibleRow(), list->currentRow());
    QTest::keyClicks(place, QStringLiteral("ino"));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("TORINO"));
    QCOMPARE(firstVisibleRow(), list->currentRow());

    // The list's own scroll bar scrolls the other columns with it.
    list->verticalScrollBar()->setValue(5000);
    auto* codes = form_->findChild<QListWidget*>(QStringLiteral("List1_1"));
    QCOMPARE(codes->verticalScrollBar()->value(), 5000);

    // Tab leaves the open list for the next control: it closes, and no
    // keyboard trap holds the focus there.
    QTest::keyClick(place, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(list, Qt::Key_Tab);
    QVERIFY(list->isHidden());
    QVERIFY(QApplication::focusWidget() != list);
}

// From the keyboard alone, with the list open: typing goes on into the place
// box and the list follows it; Esc closes the list without a word and
// without losing a key; New code closes it.
void MainFormTest::openDropDownFollowsTheTyping()
{
    auto* list = form_->findChild<QListWidget*>(QStringLiteral("List1_0"));
    QLineEdit* place = form_->placeBox();
    const auto typeIntoList = [list](const QString& keys) {
        for (QChar c : keys)
            QTest::sendKeyEvent(QTest::Click, list, Qt::Key_unknown, QString(c), Qt::NoModifier);
    };

    TypeInto(place, QStringLiteral("ro"));
    QTest::keyClick(place, Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), list);
    typeIntoList(QStringLiteral("ma"));
    QCOMPARE(place->text(), QStringLiteral("ROMA"));
    QCOMPARE(list->currentItem()->text(), QStringLiteral("ROMA"));
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isHidden());
    QCOMPARE(place->text(), QStringLiteral("ROMA"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("RM"));

    // Backspace too; Esc leaves the box as typed, with no message.
    TypeInto(place, QStringLiteral("ro"));
    QTest::keyClick(place, Qt::Key_F4);
    typeIntoList(QStringLiteral("v"));
    QVERIFY(list->currentItem()->text().startsWith(QStringLiteral("ROV")));
    QTest::keyClick(list, Qt::Key_Backspace);
    QCOMPARE(place->text(), QStringLiteral("RO"));
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(list->isHidden());
    QCOMPARE(QApplication::focusWidget(), place);
    QCOMPARE(place->text(), QStringLiteral("RO"));
    QCOMPARE(MessageCount(), std::size_t{0});

    // A name no place bears selects nothing, and Enter then only closes.
    QTest::keyClick(place, Qt::Key_Down, Qt::AltModifier);
    typeIntoList(QStringLiteral("xq"));
    QCOMPARE(list->currentRow(), -1);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isHidden());
    QCOMPARE(place->text(), QStringLiteral("ROXQ"));
    QCOMPARE(MessageCount(), std::size_t{0});

    // New code, from the open list.
    QTest::keyClick(place, Qt::Key_Down, Qt::AltModifier);
    QTest::keyClick(list, Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(QApplication::focusWidget(), form_->surnameBox());
    QVERIFY(list->isHidden());
    QCOMPARE(place->text(), QString());
    QCOMPARE(MessageCount(), std::size_t{0});
}

void MainFormTest::namesakesArePickedAndKept()
{
    auto* list = form_->findChild<QListWidget*>(QStringLiteral("List1_0"));
    auto* arrow = form_->findChild<QLabel*>(QStringLiteral("Picture1"));
    // The drop-down tells namesakes apart by their province.
    QCOMPARE(list->findItems(QStringLiteral("SAN TEODORO"), Qt::MatchExactly).size(), 0);
    QCOMPARE(list->findItems(QStringLiteral("SAN TEODORO (ME)"), Qt::MatchExactly).size(), 1);

    FillPerson();
    form_->birthDateBox()->setText(QStringLiteral("01/06/90"));
    QTest::mouseClick(arrow, Qt::LeftButton);
    QListWidgetItem* sardinia =
        list->findItems(QStringLiteral("SAN TEODORO (SS)"), Qt::MatchExactly).value(0);
    QVERIFY(sardinia);
    list->scrollToItem(sardinia);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(sardinia).center());
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("SAN TEODORO (SS)"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("SS"));
    QCOMPARE(form_->placeList().Text(1), QStringLiteral("I329"));

    std::optional<cf::Person> shown;
    form_->setCardPresenter([&shown](const cf::Person& values) { shown = values; });
    form_->generateButton()->click();
    QCOMPARE(MessageCount(), std::size_t{0});
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU90H41I329E"));
    QVERIFY(shown);
    QCOMPARE(shown->place, "SAN TEODORO");
    QCOMPARE(shown->province, "SS");

    // What the archive gives back names the same place again.
    Person loaded = form_->person();
    loaded.place = "SAN TEODORO";
    loaded.province = "SS";
    form_->setPerson(loaded);
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("SAN TEODORO (SS)"));
    QCOMPARE(form_->person().place, "SAN TEODORO");
    form_->generateButton()->click();
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU90H41I329E"));

    // Typed without a province, the name means two places on the birth
    // date: leaving the box asks which, the drop-down open on those two.
    QVERIFY(ShowActive(form_.get()));
    const auto shownRows = [list] {
        QStringList rows;
        for (int row = 0; row < list->count(); ++row)
            if (!list->isRowHidden(row))
                rows.append(list->item(row)->text());
        return rows;
    };
    TypeInto(form_->placeBox(), QStringLiteral("san teodoro"));
    QTest::keyClick(form_->placeBox(), Qt::Key_Tab);
    QVERIFY(list->isVisible());
    QCOMPARE(QApplication::focusWidget(), list);
    QCOMPARE(shownRows(), (QStringList{"SAN TEODORO (ME)", "SAN TEODORO (SS)"}));
    QVERIFY(form_->provinceLabel()->text().isEmpty());
    QCOMPARE(MessageCount(), std::size_t{0});
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("SAN TEODORO (SS)"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("SS"));
    QCOMPARE(shownRows().size(), list->count());

    // Esc leaves the question; it is not asked again on leaving, but
    // Generate refuses to guess and asks it.
    TypeInto(form_->placeBox(), QStringLiteral("san teodoro"));
    QTest::keyClick(form_->placeBox(), Qt::Key_Tab);
    QTest::keyClick(list, Qt::Key_Escape);
    QCOMPARE(QApplication::focusWidget(), form_->placeBox());
    QTest::keyClick(form_->placeBox(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), form_->generateButton());
    QTest::keyClick(form_->generateButton(), Qt::Key_Return);
    QVERIFY(form_->codeLabel()->text().isEmpty());
    QCOMPARE(MessageCount(), std::size_t{1});
    QCOMPARE(LastMessage().text, QStringLiteral("SAN TEODORO indica più luoghi alla data di nascita "
                                                "(SAN TEODORO (ME), SAN TEODORO (SS)): scegliere quale "
                                                "dall'elenco"));
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("SAN TEODORO (ME)"));
    form_->generateButton()->click();
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU90H41I328C"));
}

// The drop-down shows every row whole, the longest with its period.
void MainFormTest::dropDownIsWideEnoughForEveryRow()
{
    auto* list = form_->findChild<QListWidget*>(QStringLiteral("List1_0"));
    QTest::keyClick(form_->placeBox(), Qt::Key_F4);
    QVERIFY(list->isVisible());
    QVERIFY(
        !list->findItems(QStringLiteral("SAN LEONARDO IN PASSIRIA (fino al "), Qt::MatchStartsWith).empty());
    QVERIFY2(
        list->sizeHintForColumn(0) <= list->viewport()->width(),
        qPrintable(QStringLiteral("%1 > %2").arg(list->sizeHintForColumn(0)).arg(list->viewport()->width())));
    QVERIFY(form_->rect().contains(list->geometry()));
}

void MainFormTest::placeOnTheBirthDate()
{
    FillPerson();
    form_->placeBox()->setFocus();
    form_->placeBox()->setText(QStringLiteral("Forlì"));
    QTest::keyClick(form_->placeBox(), Qt::Key_Tab);
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("FORLI'"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("FC"));
    QCOMPARE(MessageCount(), std::size_t{0});

    // A municipality made by a merger did not exist before it.
    form_->placeBox()->setText(QStringLiteral("CORIGLIANO-ROSSANO"));
    form_->birthDateBox()->setText(QStringLiteral("01/01/50"));
    form_->generateButton()->click();
    QCOMPARE(MessageCount(), std::size_t{1});
    QVERIFY(LastMessage().text.startsWith(QStringLiteral("CORIGLIANO-ROSSANO esiste dal 31/03/2018")));
    QCOMPARE(QApplication::focusWidget(), form_->placeBox());
    QVERIFY(form_->codeLabel()->text().isEmpty());

    // A two-digit year is today's rule, never moved a century: a place that
    // existed only a century earlier is refused, asking for the four-digit
    // year, which then gives the code.
    form_->placeBox()->setText(QStringLiteral("CORIGLIANO CALABRO"));
    form_->birthDateBox()->setText(QStringLiteral("01/01/20"));
    form_->generateButton()->click();
    QCOMPARE(MessageCount(), std::size_t{2});
    QVERIFY2(LastMessage().text.contains(QStringLiteral("quattro cifre")), qPrintable(LastMessage().text));
    QCOMPARE(QApplication::focusWidget(), form_->birthDateBox());
    QVERIFY(form_->codeLabel()->text().isEmpty());
    form_->birthDateBox()->setText(QStringLiteral("01/01/1920"));
    form_->generateButton()->click();
    QCOMPARE(form_->codeLabel()->text().mid(6, 2), QStringLiteral("20"));
    QVERIFY(ShowActive(form_.get()));

    // One place under two codes: the date picks the code.
    form_->placeBox()->setText(QStringLiteral("BELLAGIO"));
    form_->generateButton()->click();
    QCOMPARE(form_->codeLabel()->text().mid(11, 4), QStringLiteral("A744"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("CO"));
}

void MainFormTest::generateShowsTheCardAndComesBack()
{
    FillPerson();
    QTest::mouseClick(form_->findChild<QLabel*>(QStringLiteral("Picture1")), Qt::LeftButton);
    form_->generateButton()->click();

    QCOMPARE(MessageCount(), std::size_t{0});
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("RM"));
    QVERIFY(form_->archiveButton()->isEnabled());
    QVERIFY(form_->isHidden());
    QVERIFY(form_->findChild<QListWidget*>(QStringLiteral("List1_0"))->isHidden());

    Tesserino* card = ShownCard();
    QVERIFY(card);
    const QStringList expected = {"BNCLCU85L43H501J", "BIANCHI", "LUCIA", "F", "ROMA", "RM", "03/07/85"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(card->label(i + 1)->text(), expected[i]);

    QTest::mouseClick(card->label(8), Qt::LeftButton);
    DeleteClosedWindows();
    QVERIFY(!ShownCard());
    QVERIFY(form_->isVisible());
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("BIANCHI"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("ROMA"));
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QVERIFY(form_->archiveButton()->isEnabled());

    // The next generation makes a fresh card.
    form_->firstNameBox()->setText(QStringLiteral("Luca"));
    form_->sexBox()->setText(QStringLiteral("M"));
    form_->generateButton()->click();
    card = ShownCard();
    QVERIFY(card);
    QCOMPARE(card->label(3)->text(), QStringLiteral("LUCA"));
    QVERIFY(!card->linkHighlighted());
}

// From the keyboard alone: back from the card by Esc, Alt+T or Enter on the
// link, the keyboard is on the code, where Enter copies it; it never lands
// on New code, where Enter would wipe the person.
void MainFormTest::backFromTheCardTheKeyboardIsOnTheCode()
{
    form_->surnameBox()->setFocus();
    const std::pair<QLineEdit*, QString> typed[] = {{form_->surnameBox(), QStringLiteral("Bianchi")},
                                                    {form_->firstNameBox(), QStringLiteral("Lucia")},
                                                    {form_->sexBox(), QStringLiteral("f")},
                                                    {form_->birthDateBox(), QStringLiteral("030785")},
                                                    {form_->placeBox(), QStringLiteral("roma")}};
    for (const auto& [box, keys] : typed) {
        QCOMPARE(QApplication::focusWidget(), box);
        TypeInto(box, keys);
        QTest::keyClick(box, Qt::Key_Return);
    }
    QCOMPARE(QApplication::focusWidget(), form_->generateButton());
    const std::pair<Qt::Key, Qt::KeyboardModifiers> ways[] = {
        {Qt::Key_Escape, Qt::NoModifier}, {Qt::Key_T, Qt::AltModifier}, {Qt::Key_Return, Qt::NoModifier}};
    for (const auto& [key, modifiers] : ways) {
        // The accelerator presses the button once its press has shown.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::AltModifier);
        QTRY_VERIFY(ShownCard());
        Tesserino* card = ShownCard();
        QVERIFY(QTest::qWaitForWindowActive(card));
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
        DeleteClosedWindows();
        QVERIFY(QTest::qWaitForWindowActive(form_.get()));
        QCOMPARE(QApplication::focusWidget(), form_->codeLabel());
        const std::size_t before = MessageCount();
        QTest::keyClick(form_->codeLabel(), Qt::Key_Return);
        QCOMPARE(MessageCount(), before + 1);
        QCOMPARE(LastMessage().text, QStringLiteral("Codice fiscale copiato negli appunti!"));
        QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));
        QCOMPARE(form_->surnameBox()->text(), QStringLiteral("BIANCHI"));
    }
}

void MainFormTest::generateWithAPresenterOfTheHost()
{
    std::optional<cf::Person> shown;
    form_->setCardPresenter([&shown](const cf::Person& values) { shown = values; });
    FillPerson();
    form_->generateButton()->click();
    QVERIFY(shown);
    QCOMPARE(shown->code, "BNCLCU85L43H501J");
    QCOMPARE(shown->province, "RM");
    QCOMPARE(shown->birthDate, "03/07/85");
    QVERIFY(!ShownCard());
}

void MainFormTest::generateRefusesIncompleteData()
{
    auto expectRefusal = [this](const QString& text, QWidget* focus) {
        const std::size_t before = MessageCount();
        form_->generateButton()->click();
        QCOMPARE(MessageCount(), before + 1);
        QCOMPARE(LastMessage().text, text);
        QCOMPARE(QApplication::focusWidget(), focus);
        QVERIFY(form_->codeLabel()->text().isEmpty());
        QVERIFY(form_->isVisible());
        QVERIFY(!ShownCard());
    };
    const QString missing = QStringLiteral("Manca almeno un dato fondamentale: ");
    const QString unknown = QStringLiteral("Comune non censito o inesistente");

    // The message names the first box, in tab order, that holds nothing, and
    // the focus goes there.
    FillPerson();
    form_->sexBox()->clear();
    form_->placeBox()->clear();
    expectRefusal(missing + QStringLiteral("Sesso"), form_->sexBox());
    QCOMPARE(LastMessage().icon, MessageIcon::Critical);
    const std::tuple<QLineEdit*, QString, QString> blanks[] = {
        {form_->surnameBox(), QStringLiteral("   "), QStringLiteral("Cognome")},
        {form_->firstNameBox(), QStringLiteral(" "), QStringLiteral("Nome")},
        {form_->birthDateBox(), kMask, QStringLiteral("Data di nascita")},
        {form_->placeBox(), QStringLiteral(" "), QStringLiteral("Luogo")},
        {form_->placeBox(), QString(), QStringLiteral("Luogo")},
    };
    for (const auto& [box, text, caption] : blanks) {
        FillPerson();
        box->setText(text);
        expectRefusal(missing + caption, box);
    }

    FillPerson();
    form_->placeBox()->setText(QStringLiteral("ATLANTIDE"));
    expectRefusal(unknown, form_->placeBox());
    QVERIFY(form_->provinceLabel()->text().isEmpty());

    // A name with no letter the code can use.
    FillPerson();
    form_->surnameBox()->setText(QStringLiteral("' -"));
    expectRefusal(QString::fromUtf8(cf::kSurnameWithoutLettersMessage), form_->surnameBox());
    FillPerson();
    form_->firstNameBox()->setText(QStringLiteral("''"));
    expectRefusal(QString::fromUtf8(cf::kFirstNameWithoutLettersMessage), form_->firstNameBox());
}

void MainFormTest::newCodeClearsThePerson()
{
    FillPerson();
    form_->setCode(QStringLiteral("BNCLCU85L43H501J"));
    form_->provinceLabel()->setText(QStringLiteral("RM"));
    form_->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    for (QLineEdit* box : {form_->surnameBox(), form_->firstNameBox(), form_->sexBox()})
        QVERIFY(box->text().isEmpty());
    QCOMPARE(form_->birthDateBox()->text(), kMask);
    QCOMPARE(form_->placeBox()->text(), QString());
    QVERIFY(form_->provinceLabel()->text().isEmpty());
    QVERIFY(form_->codeLabel()->text().isEmpty());
    QVERIFY(!form_->archiveButton()->isEnabled());
    QCOMPARE(QApplication::focusWidget(), form_->surnameBox());

    // From its shortcut in the place box.
    FillPerson();
    form_->placeBox()->setFocus();
    QTest::keyClick(form_->placeBox(), Qt::Key_N, Qt::AltModifier);
    QTRY_COMPARE(form_->placeBox()->text(), QString());
    QCOMPARE(QApplication::focusWidget(), form_->surnameBox());
    QCOMPARE(MessageCount(), std::size_t{0});
}

void MainFormTest::changedDataTakeBackTheCode()
{
    form_->setCardPresenter([](const cf::Person&) {});
    const auto generate = [this] {
        FillPerson();
        form_->generateButton()->click();
        QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));
        QVERIFY(form_->archiveButton()->isEnabled());
        QVERIFY(ShowActive(form_.get()));
    };
    // A key typed into any box of the person takes back the code.
    const std::pair<QLineEdit*, Qt::Key> edits[] = {{form_->surnameBox(), Qt::Key_X},
                                                    {form_->firstNameBox(), Qt::Key_Backspace},
                                                    {form_->sexBox(), Qt::Key_Backspace},
                                                    {form_->birthDateBox(), Qt::Key_Backspace},
                                                    {form_->placeBox(), Qt::Key_Backspace}};
    for (const auto& [box, key] : edits) {
        generate();
        box->setFocus();
        box->end(false);
        QTest::keyClick(box, key);
        QVERIFY2(form_->codeLabel()->text().isEmpty(), qPrintable(box->objectName()));
        QVERIFY2(!form_->archiveButton()->isEnabled(), qPrintable(box->objectName()));
    }

    // Pasted or written by the program: the same.
    generate();
    QApplication::clipboard()->setText(QStringLiteral("ROSSI"));
    form_->surnameBox()->selectAll();
    form_->surnameBox()->paste();
    QVERIFY(form_->codeLabel()->text().isEmpty());
    generate();
    form_->placeBox()->setText(QStringLiteral("MILANO"));
    QVERIFY(!form_->archiveButton()->isEnabled());

    // The place written in the table's form on leaving the box is the same
    // place: the code stays.
    generate();
    form_->placeBox()->setText(QStringLiteral("Forlì"));
    form_->generateButton()->click();
    QVERIFY(ShowActive(form_.get()));
    const QString code = form_->codeLabel()->text();
    QCOMPARE(code.mid(11, 4), QStringLiteral("D704"));
    form_->placeBox()->setFocus();
    QTest::keyClick(form_->placeBox(), Qt::Key_Tab);
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("FORLI'"));
    QCOMPARE(form_->codeLabel()->text(), code);
    QVERIFY(form_->archiveButton()->isEnabled());

    // A person loaded from the archive shows with its own code, ready to
    // archive again.
    form_->setPerson({.surname = "VERDI",
                      .firstName = "GIACOMO",
                      .sex = "M",
                      .birthDate = "10/02/70",
                      .place = "MILANO",
                      .province = "MI",
                      .code = "VRDGCR70B10F205A"});
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("VRDGCR70B10F205A"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("MI"));
    QVERIFY(form_->archiveButton()->isEnabled());
    form_->firstNameBox()->setText(QStringLiteral("GIUSEPPE"));
    QVERIFY(!form_->archiveButton()->isEnabled());
}

void MainFormTest::sexBoxHoldsOneLetter()
{
    QLineEdit* sex = form_->sexBox();
    TypeInto(sex, QStringLiteral("fm"));
    QCOMPARE(sex->text(), QStringLiteral("F"));
    TypeInto(sex, QStringLiteral("m"));
    QCOMPARE(sex->text(), QStringLiteral("M"));
    // Pastes hold to the same rule: one character, the first of the text.
    const std::pair<const char*, const char*> pastes[] = {{"FF", "F"}, {"X", "F"}, {"mf", "M"}, {"7", "M"}};
    for (const auto& [pasted, kept] : pastes) {
        QApplication::clipboard()->setText(QString::fromLatin1(pasted));
        sex->selectAll();
        sex->paste();
        QCOMPARE(sex->text(), QString::fromLatin1(kept));
    }
}

void MainFormTest::generateCaptionFollowsTheProvinceAtOnce()
{
    const QString generate = QStringLiteral("&Genera Codice Fiscale");
    const QString show = QStringLiteral("&Visualizza Codice Fiscale");
    QCOMPARE(form_->generateButton()->text(), generate);
    FillPerson();
    form_->placeBox()->setFocus();
    QTest::keyClick(form_->placeBox(), Qt::Key_Tab);
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("RM"));
    QCOMPARE(form_->generateButton()->text(), show);

    // Its accelerator works straight away.
    std::optional<cf::Person> shown;
    form_->setCardPresenter([&shown](const cf::Person& values) { shown = values; });
    QTest::keyClick(form_->surnameBox(), Qt::Key_V, Qt::AltModifier);
    QTRY_VERIFY(shown);
    QVERIFY(ShowActive(form_.get()));

    form_->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    QCOMPARE(form_->generateButton()->text(), generate);
    form_->setPerson({.surname = "VERDI",
                      .firstName = "GIACOMO",
                      .sex = "M",
                      .birthDate = "10/02/70",
                      .place = "MILANO",
                      .province = "MI",
                      .code = {}});
    QCOMPARE(form_->generateButton()->text(), show);
}

void MainFormTest::switchingAwayChecksNoBox()
{
    // Inside a host window, as in the frame, which hides it on switching.
    form_.reset();
    QWidget frame;
    auto* host = new QWidget(&frame);
    new QLineEdit(&frame);
    form_ = std::make_unique<MainForm>(host);
    QVERIFY(ShowActive(&frame));

    TypeInto(form_->placeBox(), QStringLiteral("atlantide"));
    host->hide();
    host->show();
    TypeInto(form_->birthDateBox(), QStringLiteral("3102"));
    host->hide();
    QCOMPARE(MessageCount(), std::size_t{0});
    form_.reset();
}

void MainFormTest::codeLabelCopiesToTheClipboard()
{
    QLabel* code = form_->codeLabel();
    form_->setCode(QStringLiteral("BNCLCU85L43H501J"));
    QVERIFY(form_->archiveButton()->isEnabled());
    QCOMPARE(code->toolTip(), QStringLiteral("Clicca per copiare il codice fiscale negli appunti"));
    QCOMPARE(code->cursor().shape(), Qt::BitmapCursor);

    QTest::mouseClick(code, Qt::LeftButton);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(LastMessage().text, QStringLiteral("Codice fiscale copiato negli appunti!"));
    QCOMPARE(LastMessage().icon, MessageIcon::Information);

    // Without a code, a click or Enter copies nothing and says nothing.
    form_->setCode(QString());
    QVERIFY(!form_->archiveButton()->isEnabled());
    QVERIFY(code->toolTip().isEmpty());
    QVERIFY(!code->testAttribute(Qt::WA_SetCursor));
    QTest::mouseClick(code, Qt::LeftButton);
    code->setFocus();
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(MessageCount(), std::size_t{1});
}

void MainFormTest::codeIsCopiedFromTheKeyboard()
{
    QLabel* code = form_->codeLabel();
    form_->setCode(QStringLiteral("BNCLCU85L43H501J"));
    // The code comes after the commands in tab order.
    form_->archiveButton()->setFocus();
    QTest::keyClick(form_->archiveButton(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), code);

    QApplication::clipboard()->clear();
    QTest::keyClick(code, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(LastMessage().text, QStringLiteral("Codice fiscale copiato negli appunti!"));

    QApplication::clipboard()->clear();
    QTest::keyClick(code, Qt::Key_Return);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(MessageCount(), std::size_t{2});

    // Tab goes on from it: no trap.
    QTest::keyClick(code, Qt::Key_Tab);
    QVERIFY(QApplication::focusWidget() != code);
}

void MainFormTest::archiveAppendsOneLineEachTime()
{
    const QString archive = work_->path() + QStringLiteral("/codarc.dat");
    form_->setArchivePath(archive);
    FillPerson();
    form_->setCardPresenter([](const cf::Person&) {});
    form_->generateButton()->click();

    recorder_->QueueAnswer(MessageAnswer::No);
    form_->archiveButton()->click();
    QCOMPARE(LastMessage().text, QStringLiteral("Vuoi archiviare questi dati?"));
    QCOMPARE(LastMessage().buttons, cf::platform::MessageButtons::YesNo);
    QVERIFY(!QFile::exists(archive));

    recorder_->QueueAnswer(MessageAnswer::Yes);
    form_->archiveButton()->click();
    QCOMPARE(LastMessage().text, QStringLiteral("Dati archiviati!"));
    QCOMPARE(LastMessage().icon, MessageIcon::Information);
    // The same code again: a second copy only when the clerk says so.
    for (const MessageAnswer answer : {MessageAnswer::No, MessageAnswer::Yes}) {
        const std::size_t before = recorder_->requests().size();
        recorder_->QueueAnswer(MessageAnswer::Yes);
        recorder_->QueueAnswer(answer);
        form_->archiveButton()->click();
        QCOMPARE(recorder_->requests().size(), before + (answer == MessageAnswer::Yes ? 3 : 2));
        const cf::platform::MessageRequest& asked = recorder_->requests()[before + 1];
        QCOMPARE(asked.text, QStringLiteral("Il codice BNCLCU85L43H501J è già nell'archivio (BIANCHI LUCIA). "
                                            "Archiviare un'altra copia?"));
        QCOMPARE(asked.icon, MessageIcon::Question);
        QCOMPARE(asked.buttons, cf::platform::MessageButtons::YesNo);
    }
    QCOMPARE(LastMessage().text, QStringLiteral("Dati archiviati!"));
    // Names as typed where Windows-1252 holds them, their base letters
    // otherwise; a four-digit year as typed.
    TypeInto(form_->surnameBox(), QStringLiteral("d’Wójcik"));
    TypeInto(form_->firstNameBox(), QStringLiteral("Ștefan"));
    TypeInto(form_->birthDateBox(), QStringLiteral("03071985"));
    form_->generateButton()->click();
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("DWJSFN85L43H501X"));
    recorder_->QueueAnswer(MessageAnswer::Yes);
    form_->archiveButton()->click();
    QCOMPARE(LastMessage().text, QStringLiteral("Dati archiviati!"));

    QFile file(archive);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray line =
        "\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n";
    QCOMPARE(
        file.readAll(),
        line + line
            + "\"D\x92W\xD3JCIK\",\"STEFAN\",\"DWJSFN85L43H501X\",\"F\",\"03/07/1985\",\"ROMA\",\"RM\"\r\n");
}

void MainFormTest::failedArchiveKeepsTheData()
{
    // A path below a plain file cannot be created, whoever runs the test.
    QFile blocker(work_->path() + QStringLiteral("/blocker"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    form_->setArchivePath(blocker.fileName() + QStringLiteral("/codarc.dat"));
    FillPerson();
    form_->setCardPresenter([](const cf::Person&) {});
    form_->generateButton()->click();

    recorder_->QueueAnswer(MessageAnswer::Yes);
    form_->archiveButton()->click();
    QCOMPARE(LastMessage().icon, MessageIcon::Critical);
    QCOMPARE(LastMessage().title, QStringLiteral("Codice fiscale"));
    QVERIFY(!LastMessage().text.isEmpty());
    QVERIFY(LastMessage().text != QStringLiteral("Dati archiviati!"));

    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("BIANCHI"));
    QCOMPARE(form_->firstNameBox()->text(), QStringLiteral("LUCIA"));
    QCOMPARE(form_->sexBox()->text(), QStringLiteral("F"));
    QCOMPARE(form_->birthDateBox()->text(), QStringLiteral("03/07/85"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("ROMA"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("RM"));
    QCOMPARE(form_->codeLabel()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QVERIFY(form_->archiveButton()->isEnabled());
}

QTEST_MAIN(MainFormTest)
#include "main_form_test.moc"
