// SPDX-License-Identifier: MIT
// The windows as a user of a dark desktop theme, a screen reader or a
// system without Liberation Sans meets them: every caption and value stays
// readable (WCAG contrast), every control is named for assistive
// technology, and the captions keep to their boxes in the carried font.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyleFactory>
#include <QTest>

#include <memory>
#include <optional>

#include "contrast_ratio.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "sample_person.h"
#include "windows/archive/archivio.h"
#include "windows/frame/about.h"
#include "windows/generation/main_form.h"
#include "windows/generation/tesserino.h"
#include "windows/verification/verifica.h"

using cf::Person;
using cf::generation::MainForm;

namespace {

const Person kPerson = cf::test::Lucia();

// A dark theme as desktops give it: light text on dark grey.
QPalette DarkPalette()
{
    QPalette dark;
    const QColor window(45, 45, 45);
    const QColor base(30, 30, 30);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::black);
    dark.setColor(QPalette::ToolTipBase, base);
    dark.setColor(QPalette::ToolTipText, QColor(230, 230, 230));
    return dark;
}

// The colour a text of the widget stands on: the picture it is written on,
// else the nearest widget that fills its background.
QColor BackgroundUnder(const QWidget* widget)
{
    for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        const auto* picture = qobject_cast<const QLabel*>(w);
        if (w != widget && picture && !picture->pixmap().isNull()) {
            const QPoint at = widget->mapTo(w, QPoint(1, widget->height() / 2));
            return picture->pixmap().toImage().pixelColor(at);
        }
        if (w->autoFillBackground() || w->isWindow())
            return w->palette().color(w->backgroundRole());
    }
    return {};
}

struct TextColours {
    QColor text;
    QColor background;
};

// The colours the widget writes its text in; nothing for widgets without
// text of their own.
std::optional<TextColours> ColoursOf(const QWidget* widget)
{
    const QPalette& colours = widget->palette();
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        if (label->text().isEmpty())
            return std::nullopt;
        return TextColours{colours.color(label->foregroundRole()), BackgroundUnder(label)};
    }
    if (qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QAbstractItemView*>(widget))
        return TextColours{colours.color(QPalette::Text), colours.color(QPalette::Base)};
    if (qobject_cast<const QAbstractButton*>(widget))
        return TextColours{colours.color(QPalette::ButtonText), colours.color(QPalette::Button)};
    return std::nullopt;
}

QString Describe(const QWidget* widget)
{
    return widget->window()->objectName() + QLatin1Char('/') + widget->objectName();
}

QList<QWidget*> ShownControls(QWidget* window)
{
    QList<QWidget*> shown;
    for (QWidget* child : window->findChildren<QWidget*>())
        if (child->isVisibleTo(window) && child->isEnabled())
            shown.append(child);
    return shown;
}

}  // namespace

class WindowReadabilityTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void darkThemeLeavesEveryTextReadable();
    void everyControlIsNamedForScreenReaders();
    void captionsKeepToTheirBoxesInTheCarriedFont();

private:
    QList<QWidget*> Windows() const;

    std::unique_ptr<TestWorkDirectory> work_;
    std::optional<cf::platform::MessageBoxRecorder> recorder_;
    std::unique_ptr<MainForm> mainForm_;
    std::unique_ptr<cf::generation::Tesserino> card_;
    std::unique_ptr<cf::verification::Verifica> verifica_;
    std::unique_ptr<cf::archive::Archivio> archivio_;
    std::unique_ptr<cf::frame::About> about_;
};

void WindowReadabilityTest::initTestCase()
{
    // Another style with a dark palette, as "-style fusion" on a dark
    // desktop gives.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setPalette(DarkPalette());
}

void WindowReadabilityTest::init()
{
    work_ = std::make_unique<TestWorkDirectory>();
    recorder_.emplace();
    mainForm_ = std::make_unique<MainForm>();
    mainForm_->setPerson(kPerson);
    card_ = std::make_unique<cf::generation::Tesserino>();
    card_->setPerson(kPerson);
    verifica_ = std::make_unique<cf::verification::Verifica>();
    verifica_->codeBox()->setText(QString::fromStdString(kPerson.code));
    verifica_->checkButton()->click();
    const QString archive = work_->path() + QStringLiteral("/codarc.dat");
    QFile file(archive);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("\"BIANCHI\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\",\"ROMA\",\"RM\"\r\n");
    file.close();
    archivio_ = std::make_unique<cf::archive::Archivio>(archive);
    about_ = std::make_unique<cf::frame::About>();
    for (QWidget* window : Windows()) {
        window->show();
        // Drawn once, so that every widget is polished by the style.
        window->grab();
    }
}

void WindowReadabilityTest::cleanup()
{
    about_.reset();
    archivio_.reset();
    verifica_.reset();
    card_.reset();
    mainForm_.reset();
    recorder_.reset();
    work_.reset();
}

QList<QWidget*> WindowReadabilityTest::Windows() const
{
    return {mainForm_.get(), card_.get(), verifica_.get(), archivio_.get(), about_.get()};
}

void WindowReadabilityTest::darkThemeLeavesEveryTextReadable()
{
    int checked = 0;
    for (QWidget* window : Windows()) {
        for (QWidget* control : ShownControls(window)) {
            std::optional<TextColours> colours = ColoursOf(control);
            if (!colours)
                continue;
            const double contrast = Contrast(colours->text, colours->background);
            QVERIFY2(contrast >= 4.5,
                     qPrintable(QStringLiteral("%1: %2 on %3, %4:1")
                                    .arg(Describe(control), colours->text.name(), colours->background.name())
                                    .arg(contrast, 0, 'f', 2)));
            ++checked;
        }
    }
    QVERIFY(checked > 55);

    // The focused code is shown in the selection colours, readable too.
    mainForm_->codeLabel()->setFocus();
    QVERIFY(mainForm_->codeLabel()->hasFocus() || !mainForm_->isActiveWindow());
    const std::optional<TextColours> focused = ColoursOf(mainForm_->codeLabel());
    QVERIFY(Contrast(focused->text, focused->background) >= 4.5);
}

void WindowReadabilityTest::everyControlIsNamedForScreenReaders()
{
    QVERIFY(!card_->windowTitle().isEmpty());
    QVERIFY(!archivio_->windowTitle().isEmpty());
    for (QWidget* window : Windows()) {
        for (QWidget* control : window->findChildren<QWidget*>()) {
            // The window's own controls: Qt's inner parts (a list's scroll
            // bars) are named by the list.
            if (control->objectName().isEmpty())
                continue;
            const auto* label = qobject_cast<QLabel*>(control);
            const bool picture = label && !label->pixmap().isNull();
            const bool named = qobject_cast<QLineEdit*>(control) || qobject_cast<QAbstractButton*>(control)
                               || qobject_cast<QAbstractItemView*>(control)
                               || qobject_cast<QScrollBar*>(control) || picture
                               || (label && control->focusPolicy() != Qt::NoFocus);
            if (!named)
                continue;
            QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
            QVERIFY2(accessible, qPrintable(Describe(control)));
            QVERIFY2(!accessible->text(QAccessible::Name).trimmed().isEmpty(), qPrintable(Describe(control)));
            if (picture)
                QVERIFY2(!accessible->text(QAccessible::Description).isEmpty(),
                         qPrintable(Describe(control)));
        }
    }
    // A text box is named by the caption beside it.
    QCOMPARE(QAccessible::queryAccessibleInterface(mainForm_->surnameBox())->text(QAccessible::Name),
             QStringLiteral("Cognome"));
    QCOMPARE(QAccessible::queryAccessibleInterface(verifica_->codeBox())->text(QAccessible::Name),
             QStringLiteral("Codice Fiscale/Partita IVA"));
    // A value label by its caption and its value.
    QCOMPARE(QAccessible::queryAccessibleInterface(mainForm_->codeLabel())->text(QAccessible::Name),
             QStringLiteral("Codice fiscale: BNCLCU85L43H501J"));
}

// The windows' font is the carried Liberation Sans, whatever is installed
// (this test also runs where fontconfig knows no such face), and every
// caption ends before the control it names.
void WindowReadabilityTest::captionsKeepToTheirBoxesInTheCarriedFont()
{
    int captions = 0;
    for (QWidget* window : Windows()) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            QCOMPARE(QFontInfo(label->font()).family(), QStringLiteral("Liberation Sans"));
            const QWidget* named = label->buddy();
            if (!named || named->y() > label->y() + label->height()
                || label->y() > named->y() + named->height())
                continue;
            QVERIFY2(label->x() + label->sizeHint().width() <= named->x(), qPrintable(Describe(label)));
            ++captions;
        }
        for (QWidget* control : ShownControls(window))
            QCOMPARE(QFontInfo(control->font()).family(), QStringLiteral("Liberation Sans"));
    }
    QVERIFY(captions >= 14);
}

QTEST_MAIN(WindowReadabilityTest)
#include "window_readability_test.moc"
