// SPDX-License-Identifier: MIT
// The verification window driven through real key and mouse events, with the
// message boxes answered by a recorder.

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "engine/code/code_computation.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "windows/verification/place_drop_down.h"
#include "windows/verification/verifica.h"

using cf::MessageIcon;
using cf::platform::MessageBoxRecorder;
using cf::verification::PersonBoxes;
using cf::verification::Verifica;

namespace {

const QString kTitle = QStringLiteral("Codice fiscale");

// A codice fiscale with a matching check character.
QString WithCheckCharacter(const std::string& first15)
{
    return QString::fromStdString(first15 + cf::CheckCharacter(first15));
}

}  // namespace

class VerificaTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void layoutFollowsTheDesign();
    void codeBoxTakesLettersAndDigitsAtTheirPositions();
    void leadingDigitMakesAPartitaIva();
    void everyWayInFollowsOneRule();
    void homocodesAreTypedAndDecoded();
    void enterMovesToTheButtonAndPressesIt();
    void correctCodeIsDecodedAndAWrongOneClearsTheFields();
    void foreignAndUnknownPlaces();
    void verdictNamesWhatIsWrongInOneMessage();
    void partitaIvaIsCheckedWithoutDecoding();
    void textsOfNeitherKindGiveTheTwoLineMessage();
    void outputBoxesAreReadOnlyAndMoveTheFocus();
    void boxesSelectTheirTextOnFocus();
    void personDataAreComparedWithTheCode();
    void personBoxesTakeWhatTheGenerationWindowTakes();
    void placeIsPickedFromTheList();

private:
    PersonBoxes& Person() const { return *form_->personBoxes(); }
    void TypeInto(QLineEdit* box, const QString& keys);
    // Types the person's data into their boxes (the date as its digits),
    // emptied first.
    void TypePerson(const QStringList& keys);
    void TypeIntoCode(const QString& keys);
    void Check(const QString& code);
    QStringList Messages() const;

    std::unique_ptr<TestWorkDirectory> work_;
    std::optional<MessageBoxRecorder> recorder_;
    std::unique_ptr<Verifica> form_;
};

void VerificaTest::init()
{
    work_ = std::make_unique<TestWorkDirectory>();
    recorder_.emplace();
    form_ = std::make_unique<Verifica>();
    QVERIFY(ShowActive(form_.get()));
}

void VerificaTest::cleanup()
{
    form_.reset();
    recorder_.reset();
    work_.reset();
}

void VerificaTest::TypeIntoCode(const QString& keys)
{
    if (!form_->codeBox()->hasFocus()) {
        form_->codeBox()->setFocus();
        QCoreApplication::processEvents();
    }
    QTest::keyClicks(form_->codeBox(), keys);
}

void VerificaTest::TypeInto(QLineEdit* box, const QString& keys)
{
    box->setFocus();
    QCoreApplication::processEvents();
    TypeKeys(box, keys);
}

void VerificaTest::TypePerson(const QStringList& keys)
{
    const auto boxes = Person().boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->setText(boxes[i] == Person().birthDateBox() ? QStringLiteral("  /  /  ") : QString());
        boxes[i]->setCursorPosition(0);
        TypeInto(boxes[i], keys.value(static_cast<qsizetype>(i)));
    }
}

void VerificaTest::Check(const QString& code)
{
    form_->codeBox()->setText(code);
    QTest::mouseClick(form_->checkButton(), Qt::LeftButton);
}

QStringList VerificaTest::Messages() const
{
    QStringList texts;
    // A box with another title shows up in the comparison.
    for (const auto& request : recorder_->requests())
        texts.append(request.title == kTitle ? request.text
                                             : request.title + QStringLiteral(": ") + request.text);
    return texts;
}

void VerificaTest::layoutFollowsTheDesign()
{
    QCOMPARE(form_->size(), QSize(590, 298));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Verifica codice"));
    QCOMPARE(form_->palette().color(QPalette::Window), QColor(0, 255, 0));
    QCOMPARE(form_->codeBox()->geometry(), QRect(171, 15, 174, 21));
    QCOMPARE(form_->checkButton()->geometry(), QRect(118, 221, 191, 30));
    QCOMPARE(form_->placeBox()->geometry(), QRect(116, 151, 189, 20));
    QCOMPARE(form_->provinceLabel()->geometry(), QRect(116, 175, 31, 22));
    QCOMPARE(form_->provinceLabel()->alignment(), Qt::AlignCenter);
    QCOMPARE(form_->birthDateBox()->maxLength(), 10);
    QCOMPARE(form_->surnameBox()->maxLength(), 40);
    auto* label1 = form_->findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label1 && label1->font().bold());
    QCOMPARE(label1->text(), QStringLiteral("Codice Fiscale/Partita IVA"));
    QCOMPARE(form_->checkButton()->text(), QStringLiteral("&Verifica Codice Fiscale"));
    QVERIFY(form_->codeBox()->hasFocus());
}

void VerificaTest::codeBoxTakesLettersAndDigitsAtTheirPositions()
{
    QLineEdit* text1 = form_->codeBox();
    TypeIntoCode(QStringLiteral("bnc"));
    QCOMPARE(text1->text(), QStringLiteral("BNC"));
    QCOMPARE(text1->cursorPosition(), 3);
    TypeIntoCode(QStringLiteral("1"));
    QCOMPARE(text1->text(), QStringLiteral("BNC"));  // position 4 holds a letter
    TypeIntoCode(QStringLiteral("lcu85"));
    TypeIntoCode(QStringLiteral("4"));
    QCOMPARE(text1->text(), QStringLiteral("BNCLCU85"));  // position 9 holds a letter
    TypeIntoCode(QStringLiteral("lx"));
    QCOMPARE(text1->text(), QStringLiteral("BNCLCU85L"));  // position 10 a digit
    TypeIntoCode(QStringLiteral("43h501j"));
    QCOMPARE(text1->text(), QStringLiteral("BNCLCU85L43H501J"));
    TypeIntoCode(QStringLiteral("1k"));
    QCOMPARE(text1->text(), QStringLiteral("BNCLCU85L43H501J"));

    // A key typed over a selection replaces it when the text it makes holds
    // to the rule.
    text1->selectAll();
    TypeIntoCode(QStringLiteral("x"));
    QCOMPARE(text1->text(), QStringLiteral("X"));
    text1->selectAll();
    TypeIntoCode(QStringLiteral("7"));
    QCOMPARE(text1->text(), QStringLiteral("7"));

    // Into the middle of a code: judged by the position it lands in.
    text1->setText(QStringLiteral("BNCLCU85L43H501J"));
    text1->setCursorPosition(3);
    QTest::keyClick(text1, Qt::Key_Delete);
    QCOMPARE(text1->text(), QStringLiteral("BNCCU85L43H501J"));  // removing is always allowed
    text1->setCursorPosition(3);
    QTest::keyClick(text1, Qt::Key_1);
    QCOMPARE(text1->text(), QStringLiteral("BNCCU85L43H501J"));
    QTest::keyClick(text1, Qt::Key_L);
    QCOMPARE(text1->text(), QStringLiteral("BNCLCU85L43H501J"));
}

void VerificaTest::leadingDigitMakesAPartitaIva()
{
    QLineEdit* text1 = form_->codeBox();
    TypeIntoCode(QStringLiteral("1a2345678901234"));
    QCOMPARE(text1->text(), QStringLiteral("12345678901"));
    QTest::keyClick(text1, Qt::Key_Backspace);
    QCOMPARE(text1->text(), QStringLiteral("1234567890"));

    // No homocode letters in a Partita IVA.
    TypeIntoCode(QStringLiteral("l"));
    QCOMPARE(text1->text(), QStringLiteral("1234567890"));

    // A letter in place of the whole of it begins a codice fiscale.
    text1->selectAll();
    TypeIntoCode(QStringLiteral("bn"));
    QCOMPARE(text1->text(), QStringLiteral("BN"));
}

// Typing, Ctrl+V, Shift+Insert, the context menu, a middle click and a
// drop all go through the same rule.
void VerificaTest::everyWayInFollowsOneRule()
{
    QLineEdit* text1 = form_->codeBox();
    const auto pasteWith = [this, text1](const QString& clipboard, const std::function<void()>& paste) {
        QApplication::clipboard()->setText(clipboard);
        if (QApplication::clipboard()->supportsSelection())
            QApplication::clipboard()->setText(clipboard, QClipboard::Selection);
        text1->clear();
        TypeIntoCode(QString());
        paste();
        return text1->text();
    };
    const QString padded = QStringLiteral("  bnclcu85l43h501j \n");
    const QString code = QStringLiteral("BNCLCU85L43H501J");
    const std::pair<const char*, std::function<void()>> ways[] = {
        {"Ctrl+V", [text1] { QTest::keyClick(text1, Qt::Key_V, Qt::ControlModifier); }},
        {"Shift+Insert", [text1] { QTest::keyClick(text1, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"context menu",
         [text1] {
             std::unique_ptr<QMenu> menu(text1->createStandardContextMenu());
             const QString shortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
             for (QAction* action : menu->actions())
                 if (action->text().endsWith(QLatin1Char('\t') + shortcut))
                     action->trigger();
         }},
        {"drop", [text1] {
             QMimeData data;
             data.setText(QApplication::clipboard()->text());
             QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
             QApplication::sendEvent(text1, &enter);
             QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, {});
             QApplication::sendEvent(text1, &drop);
         }}};
    for (const auto& [way, paste] : ways) {
        QCOMPARE(pasteWith(padded, paste), code);
        QVERIFY2(text1->text() == code, way);
        // Texts of neither kind are refused whole and leave the box empty.
        for (const char* refused : {"BNC-LCU85L43H501J", "BNCLCU85L43H501JX", "12345ABC", "123456789012",
                                    "BNC LCU", "1234567890L"}) {
            QVERIFY2(
                pasteWith(QString::fromLatin1(refused), paste).isEmpty(),
                qPrintable(QString::fromLatin1(way) + QStringLiteral(": ") + QString::fromLatin1(refused)));
        }
        QCOMPARE(pasteWith(QStringLiteral(" 12345678903\t"), paste), QStringLiteral("12345678903"));
    }
    // A middle click pastes the selection, where the platform has one.
    if (QApplication::clipboard()->supportsSelection()) {
        QCOMPARE(pasteWith(padded, [text1] { QTest::mouseClick(text1, Qt::MiddleButton); }), code);
        QVERIFY(pasteWith(QStringLiteral("BNC-"), [text1] {
                    QTest::mouseClick(text1, Qt::MiddleButton);
                }).isEmpty());
    }

    // The output boxes still let through only their own keys.
    form_->surnameBox()->setFocus();
    QTest::keyClick(form_->surnameBox(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(form_->surnameBox()->text(), QString());
}

// Homocode letters (L M N P Q R S T U V) stand in the digit positions of a
// codice fiscale, typed or pasted; the code is checked and decoded.
void VerificaTest::homocodesAreTypedAndDecoded()
{
    const QString homocode = WithCheckCharacter("BNCLCU85L43H5LM");
    TypeIntoCode(homocode.toLower());
    QCOMPARE(form_->codeBox()->text(), homocode);
    QTest::mouseClick(form_->checkButton(), Qt::LeftButton);
    QCOMPARE(Messages(), QStringList{QStringLiteral("Codice Fiscale formalmente corretto")});
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("BNC"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("ROMA"));

    // Every digit position as a letter; other letters are no digits.
    form_->codeBox()->clear();
    TypeIntoCode(QStringLiteral("BNCLCUUR"));
    QCOMPARE(form_->codeBox()->text(), QStringLiteral("BNCLCUUR"));
    TypeIntoCode(QStringLiteral("LQPHRLMA"));
    QCOMPARE(form_->codeBox()->text(), QStringLiteral("BNCLCUURLQPHRLMA"));
    form_->codeBox()->clear();
    TypeIntoCode(QStringLiteral("BNCLCUAB8"));
    QCOMPARE(form_->codeBox()->text(), QStringLiteral("BNCLCU8"));
}

void VerificaTest::enterMovesToTheButtonAndPressesIt()
{
    TypeIntoCode(QStringLiteral("BNCLCU85L43H501J"));
    QTest::keyClick(form_->codeBox(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), form_->checkButton());
    QCOMPARE(form_->codeBox()->text(), QStringLiteral("BNCLCU85L43H501J"));
    QVERIFY(recorder_->requests().empty());
    QTest::keyClick(form_->checkButton(), Qt::Key_Return);
    QCOMPARE(Messages(), QStringList{QStringLiteral("Codice Fiscale formalmente corretto")});
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("BNC"));
}

// The fields and the verdict show only what belongs to the code in the box.
void VerificaTest::correctCodeIsDecodedAndAWrongOneClearsTheFields()
{
    const auto fields = [this] {
        QStringList shown;
        for (QLineEdit* box : {form_->surnameBox(), form_->firstNameBox(), form_->birthDateBox(),
                               form_->sexBox(), form_->placeBox()})
            shown.append(box->text());
        return shown << form_->provinceLabel()->text();
    };
    const QStringList empty(6);

    Check(QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(recorder_->requests().size(), 1u);
    QCOMPARE(recorder_->requests()[0].icon, MessageIcon::Information);
    QCOMPARE(fields(), (QStringList{"BNC", "LCU", "03/07/1985", "F", "ROMA", "RM"}));
    QCOMPARE(form_->verdictLabel()->text(), QStringLiteral("Codice Fiscale formalmente corretto"));
    // Read as caption and value, as in the generation window.
    QCOMPARE(form_->provinceLabel()->accessibleName(), QStringLiteral("Provincia: RM"));
    QCOMPARE(form_->verdictLabel()->accessibleName(),
             QStringLiteral("Esito: Codice Fiscale formalmente corretto"));

    Check(QStringLiteral("BNCLCU85L43H501K"));
    QCOMPARE(Messages().last(), QStringLiteral("Codice Fiscale formalmente errato"));
    QCOMPARE(recorder_->requests().back().icon, MessageIcon::Exclamation);
    QCOMPARE(fields(), empty);
    QCOMPARE(form_->provinceLabel()->accessibleName(), QStringLiteral("Provincia"));
    QCOMPARE(form_->verdictLabel()->text(), QStringLiteral("Codice Fiscale formalmente errato"));

    Check(QStringLiteral("VRDGCR70B10F205A"));
    QCOMPARE(fields(), (QStringList{"VRD", "GCR", "10/02/1970", "M", "MILANO", "MI"}));
    // A key typed into the code takes the result back.
    QTest::keyClick(form_->codeBox(), Qt::Key_Backspace);
    QCOMPARE(fields(), empty);
    QVERIFY(form_->verdictLabel()->text().isEmpty());
}

void VerificaTest::foreignAndUnknownPlaces()
{
    Check(WithCheckCharacter("BNCLCU85L43Z404"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("STATI UNITI D'AMERICA"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("EE"));

    Check(WithCheckCharacter("RSSMRA80A01A000"));
    QCOMPARE(Messages().mid(1), QStringList{QStringLiteral("Codice Fiscale formalmente corretto\n\n"
                                                           "Codice Catastale non censito")});
    QCOMPARE(recorder_->requests().back().icon, MessageIcon::Critical);
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("RSS"));
    QCOMPARE(form_->birthDateBox()->text(), QStringLiteral("01/01/1980"));
    QCOMPARE(form_->placeBox()->text(), QString());
    QCOMPARE(form_->provinceLabel()->text(), QString());

    // The province is the decoded code's own, whatever places share its
    // name; the name is the one it bore on the birth date.
    Check(WithCheckCharacter("RSSMRA80A01I329"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("SAN TEODORO"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("SS"));
    Check(WithCheckCharacter("RSSMRA80A01M261"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("LE"));
    Check(WithCheckCharacter("RSSMRA29A01C388"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("CAVAZUCCHERINA"));
    QCOMPARE(form_->provinceLabel()->text(), QStringLiteral("VE"));

    // A place that did not exist on the birth date: the verdict stands,
    // with a warning.
    const std::size_t before = recorder_->requests().size();
    Check(WithCheckCharacter("RSSMRA50A01M403"));
    QCOMPARE(recorder_->requests().size(), before + 1);
    QCOMPARE(recorder_->requests().back().icon, MessageIcon::Information);
    QCOMPARE(Messages().last(),
             QStringLiteral("Codice Fiscale formalmente corretto\n\nAvviso: CORIGLIANO-ROSSANO "
                            "(M403) non esisteva alla data di nascita: esiste dal 31/03/2018"));
    QCOMPARE(form_->placeBox()->text(), QStringLiteral("CORIGLIANO-ROSSANO"));
}

// The verdict is the engine's structural check: a code is correct only when
// every position holds, and a wrong one gets one message, kept in the
// window, that names what is wrong, with no decoded fields beside it.
void VerificaTest::verdictNamesWhatIsWrongInOneMessage()
{
    const QString wrong = QStringLiteral("Codice Fiscale formalmente errato");
    const std::pair<QString, QString> codes[] = {
        {WithCheckCharacter("RSSMRA80Z15H501"), QStringLiteral(": il carattere 9 (mese di nascita)")},
        {WithCheckCharacter("RSSMRA80B30H501"), QStringLiteral(": i caratteri 10 e 11")},
        {WithCheckCharacter("RSSMRA80A35H501"), QStringLiteral(": i caratteri 10 e 11")},
        {WithCheckCharacter("RSSMRA80A01H5X1"), QStringLiteral(": i caratteri da 13 a 15")},
        {QStringLiteral("ABCDEFGHIJKLMNOZ"), QStringLiteral(": i caratteri 7 e 8")},
        {QStringLiteral("BNCLCU85L43H501K"), QString()},
    };
    for (const auto& [code, what] : codes) {
        const std::size_t before = recorder_->requests().size();
        Check(QStringLiteral("BNCLCU85L43H501J"));
        Check(code);
        QCOMPARE(recorder_->requests().size(), before + 2);
        const QString said = recorder_->requests().back().text;
        QVERIFY2(said.startsWith(wrong + what), qPrintable(code + QStringLiteral(": ") + said));
        QCOMPARE(recorder_->requests().back().icon, MessageIcon::Exclamation);
        QCOMPARE(form_->verdictLabel()->text(), said);
        QVERIFY(form_->birthDateBox()->text().isEmpty());
        QVERIFY(form_->provinceLabel()->text().isEmpty());
    }
}

void VerificaTest::partitaIvaIsCheckedWithoutDecoding()
{
    Check(QStringLiteral("BNCLCU85L43H501J"));
    Check(QStringLiteral("12345678903"));
    Check(QStringLiteral("12345678900"));
    QCOMPARE(Messages().mid(1), (QStringList{QStringLiteral("Partita IVA formalmente corretta"),
                                             QStringLiteral("Partita IVA formalmente errata")}));
    QCOMPARE(recorder_->requests()[1].icon, MessageIcon::Information);
    QCOMPARE(recorder_->requests()[2].icon, MessageIcon::Exclamation);
    QCOMPARE(form_->surnameBox()->text(), QString());
    QCOMPARE(form_->provinceLabel()->text(), QString());
    QCOMPARE(form_->verdictLabel()->text(), QStringLiteral("Partita IVA formalmente errata"));
}

void VerificaTest::textsOfNeitherKindGiveTheTwoLineMessage()
{
    const QString twoLines =
        QStringLiteral("Il codice inserito non è\nné un Codice Fiscale né una Partita IVA");
    TypeIntoCode(QStringLiteral("BNCLCU85L43H501"));
    QTest::mouseClick(form_->checkButton(), Qt::LeftButton);
    form_->codeBox()->clear();
    TypeIntoCode(QStringLiteral("ABCDEF12G34"));
    QTest::mouseClick(form_->checkButton(), Qt::LeftButton);
    Check(QString());
    QCOMPARE(Messages(), (QStringList{twoLines, twoLines, twoLines}));
    for (const auto& request : recorder_->requests()) {
        QCOMPARE(request.icon, MessageIcon::Critical);
        QCOMPARE(request.buttons, cf::platform::MessageButtons::Ok);
    }
    QCOMPARE(form_->surnameBox()->text(), QString());
    QCOMPARE(form_->verdictLabel()->text(), twoLines);
}

void VerificaTest::outputBoxesAreReadOnlyAndMoveTheFocus()
{
    Check(QStringLiteral("BNCLCU85L43H501J"));
    for (QLineEdit* box : {form_->surnameBox(), form_->firstNameBox(), form_->sexBox(), form_->birthDateBox(),
                           form_->placeBox()}) {
        const QString decoded = box->text();
        box->setFocus();
        QCoreApplication::processEvents();
        QTest::keyClicks(box, QStringLiteral("x1"));
        QTest::keyClick(box, Qt::Key_Backspace);
        QCOMPARE(box->text(), decoded);
        QVERIFY(box->isReadOnly());
    }

    // Enter goes forward and Esc back in tab order: code, button, first
    // name, sex, date, surname, place.
    const auto after = [](QLineEdit* box, Qt::Key key) {
        box->setFocus();
        QTest::keyClick(box, key);
        return QApplication::focusWidget();
    };
    QCOMPARE(after(form_->firstNameBox(), Qt::Key_Return), form_->sexBox());
    QCOMPARE(after(form_->sexBox(), Qt::Key_Return), form_->birthDateBox());
    QCOMPARE(after(form_->birthDateBox(), Qt::Key_Enter), form_->surnameBox());
    QCOMPARE(after(form_->surnameBox(), Qt::Key_Return), form_->placeBox());
    QCOMPARE(after(form_->placeBox(), Qt::Key_Return), form_->codeBox());
    QCOMPARE(after(form_->firstNameBox(), Qt::Key_Escape), form_->checkButton());
    QCOMPARE(after(form_->surnameBox(), Qt::Key_Escape), form_->birthDateBox());
    QCOMPARE(form_->surnameBox()->text(), QStringLiteral("BNC"));
}

void VerificaTest::boxesSelectTheirTextOnFocus()
{
    form_->surnameBox()->setText(QStringLiteral("BNC"));
    QTest::mouseClick(form_->surnameBox(), Qt::LeftButton, {}, QPoint(5, 10));
    QCoreApplication::processEvents();
    QCOMPARE(form_->surnameBox()->selectedText(), QStringLiteral("BNC"));

    TypeIntoCode(QStringLiteral("BNC"));
    form_->birthDateBox()->setFocus(Qt::TabFocusReason);
    form_->codeBox()->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    QCOMPARE(form_->codeBox()->selectedText(), QStringLiteral("BNC"));
}

// With the person's data typed beside it, a correct code is also compared
// with them: the verdict closes the one message box and stays in the window.
// Data that cannot be compared are told as the generation window tells
// them, with the focus in the box at fault.
void VerificaTest::personDataAreComparedWithTheCode()
{
    const QString correct = QStringLiteral("Codice Fiscale formalmente corretto");
    const QString corresponds = QStringLiteral("Il codice corrisponde ai dati");
    PersonBoxes& person = Person();
    const struct {
        QString code;
        const char* person;  // surname, first name, sex, the date's digits, place
        QString verdict;
        MessageIcon icon;
        QLineEdit* focus;
    } cases[] = {
        {"BNCLCU85L43H501J", "bianchi,lucia,f,030785,roma", corresponds, MessageIcon::Information, nullptr},
        {WithCheckCharacter("BNCLCU85L43H5LM"), "BIANCHI,LUCIA,F,03071985,ROMA",
         corresponds + QStringLiteral(": è un omocodice del codice BNCLCU85L43H501J"),
         MessageIcon::Information, nullptr},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,F,030786,MILANO",
         "Data di nascita: il codice indica 03/07/1985, i dati 03/07/1986\n"
         "Luogo: il codice indica ROMA (RM, H501), i dati MILANO (MI, F205)",
         MessageIcon::Exclamation, nullptr},
        // A namesake, an old name, the one spelling put right.
        {"RSSMRA90A01M261Z", "ROSSI,MARIO,M,010190,CASTRO", corresponds, MessageIcon::Information, nullptr},
        {"RSSMRA20C15C388O", "ROSSI,MARIO,M,15031920,CAVAZUCCHERINA", corresponds, MessageIcon::Information,
         nullptr},
        {"DLCNMR00B69I138Z", "DE LUCA,ANNA MARIA,F,290200,SAN REMO", corresponds, MessageIcon::Information,
         nullptr},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,,030785,ROMA", "Manca almeno un dato fondamentale: Sesso",
         MessageIcon::Critical, person.sexBox()},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,F,310285,ROMA", "Data inserita non valida!",
         MessageIcon::Critical, person.birthDateBox()},
        {"BNCLCU85L43H501J", "BIANCHI,LUCIA,F,030785,ATLANTIDE", "Comune non censito o inesistente",
         MessageIcon::Critical, person.placeBox()},
    };
    for (const auto& c : cases) {
        TypePerson(QString::fromUtf8(c.person).split(u','));
        form_->codeBox()->setText(c.code);
        QTest::keyClick(form_->codeBox(), Qt::Key_Return);
        QTest::keyClick(form_->checkButton(), Qt::Key_Return);
        QCOMPARE(Messages().last(), correct + QStringLiteral("\n\n") + c.verdict);
        QCOMPARE(recorder_->requests().back().icon, c.icon);
        QCOMPARE(form_->verdictLabel()->text(), correct);
        QCOMPARE(person.verdictLabel()->accessibleName(),
                 QStringLiteral("Confronto con i dati: ") + c.verdict);
        if (c.focus)
            QCOMPARE(QApplication::focusWidget(), c.focus);
    }

    // The verdict belongs to one code and one person: a change of either
    // takes it back. A code that is not a correct codice fiscale is not
    // compared, and without the person's data the window works as before.
    QTest::keyClick(person.placeBox(), Qt::Key_Backspace);
    QVERIFY(person.verdictLabel()->text().isEmpty());
    QTest::keyClick(form_->checkButton(), Qt::Key_Space);
    QVERIFY(!person.verdictLabel()->text().isEmpty());
    TypeIntoCode(QStringLiteral("X"));
    QVERIFY(person.verdictLabel()->text().isEmpty());
    for (const char* code : {"BNCLCU85L43H501K", "12345678903"}) {
        Check(QString::fromLatin1(code));
        QVERIFY2(!Messages().last().contains(QStringLiteral("dati")), qPrintable(Messages().last()));
        QVERIFY(person.verdictLabel()->text().isEmpty());
    }
    TypePerson({});
    Check(QStringLiteral("BNCLCU85L43H501J"));
    QCOMPARE(Messages().last(), correct);
}

// The same characters as in the generation window, typed or not; Enter and
// Esc move the focus, and the data lie between the code and the button.
void VerificaTest::personBoxesTakeWhatTheGenerationWindowTakes()
{
    PersonBoxes& person = Person();
    TypePerson({"d'angelo1 zoë", "anna-maria2", "xmf", "15a031980", "forlì"});
    const QStringList typed = {"D'ANGELO ZOË", "ANNA-MARIA", "M", "15/03/1980", "FORLÌ"};
    const QStringList names = {"Cognome", "Nome", "Sesso", "Data di nascita", "Luogo di nascita"};
    const auto boxes = person.boxes();
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        QCOMPARE(boxes[i]->text(), typed.at(static_cast<qsizetype>(i)));
        QCOMPARE(boxes[i]->accessibleName(),
                 names.at(static_cast<qsizetype>(i)) + QStringLiteral(" della persona"));
    }

    const auto after = [](QWidget* from, Qt::Key key) {
        from->setFocus();
        QTest::keyClick(from, key);
        return QApplication::focusWidget();
    };
    QCOMPARE(after(form_->codeBox(), Qt::Key_Tab), person.surnameBox());
    QCOMPARE(after(form_->codeBox(), Qt::Key_Return), form_->checkButton());
    for (std::size_t i = 0; i + 1 < boxes.size(); ++i)
        QCOMPARE(after(boxes[i], Qt::Key_Return), boxes[i + 1]);
    QCOMPARE(after(person.placeBox(), Qt::Key_Return), form_->checkButton());
    QCOMPARE(after(person.surnameBox(), Qt::Key_Escape), form_->codeBox());
    QCOMPARE(person.surnameBox()->text(), typed.front());
}

// The place list opens at the name typed (F4, Alt+Down, the arrow), follows
// what is typed in it, and Enter picks a place, a namesake with its
// province, which alone is then compared.
void VerificaTest::placeIsPickedFromTheList()
{
    PersonBoxes& person = Person();
    cf::verification::PlaceDropDown* list = person.placeList();
    const auto current = [list] { return list->currentIndex().data().toString(); };
    TypeInto(person.placeBox(), QStringLiteral("ro"));
    QTest::keyClick(person.placeBox(), Qt::Key_F4);
    QCOMPARE(QApplication::focusWidget(), list);
    QTest::keyClicks(list, QStringLiteral("ma"));
    QCOMPARE(person.placeBox()->text(), QStringLiteral("ROMA"));
    QCOMPARE(current(), QStringLiteral("ROMA"));
    QTest::keyClick(list, Qt::Key_Escape);
    QVERIFY(list->isHidden());
    QCOMPARE(QApplication::focusWidget(), person.placeBox());

    TypePerson({"ROSSI", "MARIO", "M", "010190", "castro"});
    QTest::keyClick(person.placeBox(), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(current(), QStringLiteral("CASTRO (BG)"));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    QVERIFY(list->isHidden());
    QCOMPARE(person.placeBox()->text(), QStringLiteral("CASTRO (LE)"));
    QCOMPARE(QApplication::focusWidget(), person.placeBox());
    Check(QStringLiteral("RSSMRA90A01C337F"));
    QCOMPARE(person.verdictLabel()->text(),
             QStringLiteral("Luogo: il codice indica CASTRO (BG, C337), i dati CASTRO (LE, M261)"));
    // The name alone means either place.
    TypeInto(person.placeBox(), QStringLiteral("CASTRO"));
    Check(QStringLiteral("RSSMRA90A01C337F"));
    QCOMPARE(person.verdictLabel()->text(), QStringLiteral("Il codice corrisponde ai dati"));

    QTest::mouseClick(person.placeArrow(), Qt::LeftButton);
    QVERIFY(list->isVisible());
    QCOMPARE(current(), QStringLiteral("CASTRO (BG)"));
}

QTEST_MAIN(VerificaTest)
#include "verifica_test.moc"
