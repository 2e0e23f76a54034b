// SPDX-License-Identifier: MIT
// The windows as a user of a dark desktop theme, a screen reader, a larger
// desktop font or a system without Liberation Sans meets them: every
// caption and value stays readable (WCAG contrast) and whole, every control
// is named for assistive technology, the windows draw in the sans face of
// the font rule, and the captions keep to their boxes.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QTableView>
#include <QTest>

#include <memory>
#include <optional>

#include "contrast_ratio.h"
#include "generation_test_support.h"
#include "platform/message_box.h"
#include "sample_person.h"
#include "widgets/status_panes.h"
#include "widgets/toolbar.h"
#include "windows/archive/archivio.h"
#include "windows/frame/about.h"
#include "windows/frame/principale.h"
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

// The text of the control that its box cuts off; empty when all of it
// shows. Labels show their size hint, line edits their text within the frame
// and the 2-pixel margins Qt keeps, buttons their caption within the
// style's contents box, tables each visible cell.
QString CutText(const QWidget* control)
{
    const QFontMetrics metrics = control->fontMetrics();
    if (const auto* label = qobject_cast<const QLabel*>(control)) {
        if (label->text().isEmpty() || !label->pixmap().isNull())
            return {};
        const bool whole = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                             : label->sizeHint().width() <= label->width()
                                                   && label->sizeHint().height() <= label->height();
        return whole ? QString() : label->text();
    }
    if (const auto* box = qobject_cast<const QLineEdit*>(control)) {
        const int frame = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, box);
        const bool whole = metrics.horizontalAdvance(box->text()) <= box->width() - 2 * frame - 4
                           && metrics.height() <= box->height() - 2 * frame;
        return box->text().isEmpty() || whole ? QString() : box->text();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QSize needed = metrics.size(Qt::TextShowMnemonic, button->text());
        return needed.width() <= room.width() && needed.height() <= room.height() ? QString()
                                                                                  : button->text();
    }
    if (const auto* table = qobject_cast<const QTableView*>(control)) {
        const int margins =
            2 * (table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1);
        for (int row = 0; row < table->model()->rowCount(); ++row) {
            for (int column = 0; column < table->model()->columnCount(); ++column) {
                const QString text = table->model()->index(row, column).data().toString();
                if (!table->isColumnHidden(column)
                    && (metrics.horizontalAdvance(text) + margins > table->columnWidth(column)
                        || metrics.height() > table->rowHeight(row)))
                    return text;
            }
        }
    }
    return {};
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
    void windowsDrawInTheSansFace();
    void captionsKeepToTheirBoxes();
    void nothingIsCutAsTheDesktopFontGrows_data();
    void nothingIsCutAsTheDesktopFontGrows();

private:
    void openWindows();
    void cleanupWindows();
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
    openWindows();
}

// Every window, showing a person, in the application's font.
void WindowReadabilityTest::openWindows()
{
    cleanupWindows();
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
    cleanupWindows();
    recorder_.reset();
    work_.reset();
}

void WindowReadabilityTest::cleanupWindows()
{
    about_.reset();
    archivio_.reset();
    verifica_.reset();
    card_.reset();
    mainForm_.reset();
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

// The windows' font is the installed Liberation Sans. This test also runs
// where fontconfig knows DejaVu alone (fonts_without_liberation.conf, with
// CF_TEST_SANS_FAMILY naming the face expected there): the common sans face
// DejaVu Sans stands in, never DejaVu's mathematical serif face.
void WindowReadabilityTest::windowsDrawInTheSansFace()
{
    const QString family = qEnvironmentVariable("CF_TEST_SANS_FAMILY", QStringLiteral("Liberation Sans"));
    for (QWidget* window : Windows()) {
        for (QLabel* label : window->findChildren<QLabel*>())
            QCOMPARE(QFontInfo(label->font()).family(), family);
        for (QWidget* control : ShownControls(window))
            QCOMPARE(QFontInfo(control->font()).family(), family);
    }
}

// In Liberation Sans, with Arial's metrics, every caption ends before the
// control it names. (A wider stand-in may run over: its captions stay
// readable, if not within their boxes.)
void WindowReadabilityTest::captionsKeepToTheirBoxes()
{
    int captions = 0;
    for (QWidget* window : Windows()) {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            const QWidget* named = label->buddy();
            if (!named || named->y() > label->y() + label->height()
                || label->y() > named->y() + named->height())
                continue;
            QVERIFY2(label->x() + label->sizeHint().width() <= named->x(), qPrintable(Describe(label)));
            ++captions;
        }
    }
    QVERIFY(captions >= 14);
}

void WindowReadabilityTest::nothingIsCutAsTheDesktopFontGrows_data()
{
    QTest::addColumn<double>("factor");
    QTest::newRow("default font") << 1.0;
    QTest::newRow("1.25 times") << 1.25;
    QTest::newRow("1.5 times") << 1.5;
}

// Qt's font, or the platform's text scaling, set larger for low vision: the
// windows keep their size at the default font and grow with a larger one,
// and no caption or value is cut, in the frame's toolbar and status bar
// either.
void WindowReadabilityTest::nothingIsCutAsTheDesktopFontGrows()
{
    QFETCH(double, factor);
    const QFont desktop = QApplication::font();
    QFont larger = desktop;
    larger.setPointSizeF(desktop.pointSizeF() * factor);
    QApplication::setFont(larger);
    const auto restore = qScopeGuard([&desktop] { QApplication::setFont(desktop); });
    openWindows();
    cf::frame::PrincipaleOptions options;
    options.endProgram = [](int) {};
    options.archivePath = work_->path() + QStringLiteral("/codarc.dat");
    cf::frame::Principale frame(options);
    frame.start();
    frame.grab();

    // 5,610 × 4,470 twips, 374 × 298 pixels at the default font.
    QVERIFY(qAbs(mainForm_->width() - 374 * factor) <= 1 && qAbs(mainForm_->height() - 298 * factor) <= 1);
    QStringList cut;
    int checked = 0;
    QList<QWidget*> windows = Windows();
    windows.append(&frame);
    for (QWidget* window : windows) {
        for (QWidget* control : ShownControls(window)) {
            if (const QString text = CutText(control); !text.isEmpty())
                cut << Describe(control) + QStringLiteral(": ") + text;
            ++checked;
        }
    }
    const QString values[] = {
        QString::fromStdString(kPerson.code),      QString::fromStdString(kPerson.surname),
        QString::fromStdString(kPerson.firstName), QString::fromStdString(kPerson.sex),
        QString::fromStdString(kPerson.place),     QString::fromStdString(kPerson.province),
        QString::fromStdString(kPerson.birthDate)};
    for (int field = 1; field <= 7; ++field) {
        if (card_->label(field)->text() != values[field - 1]
            || !card_->cardPicture()->rect().contains(card_->label(field)->geometry()))
            cut << QStringLiteral("Tesserino/field %1: ").arg(field) + values[field - 1];
    }
    const cf::widgets::Toolbar& toolbar = frame.toolbar();
    const QFontMetrics captions = frame.toolbarSurface()->fontMetrics();
    for (int button = 1; button <= toolbar.ButtonCount(); ++button) {
        const QRect box = toolbar.ButtonRect(button);
        if (captions.horizontalAdvance(toolbar.Caption(button)) > box.width()
            || box.bottom() >= frame.toolbarSurface()->height())
            cut << QStringLiteral("toolbar: ") + toolbar.Caption(button);
    }
    const auto* panes = frame.findChild<cf::widgets::StatusPanes*>();
    QVERIFY(panes);
    for (const QString& text :
         {QStringLiteral("          Codice fiscale"), cf::frame::StatusDateText(QDate::currentDate())})
        if (panes->PaneText(0) != text && panes->PaneText(1) != text)
            cut << QStringLiteral("status bar: ") + text;
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("; "))));
    QVERIFY(checked > 60);
}

QTEST_MAIN(WindowReadabilityTest)
#include "window_readability_test.moc"
