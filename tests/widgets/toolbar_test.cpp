// SPDX-License-Identifier: MIT
#include "widgets/toolbar.h"
#include "widgets/tooltip_window.h"
#include "widgets/widget_images.h"

#include <QAccessible>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using cf::widgets::Toolbar;
using cf::widgets::TooltipWindow;

namespace {

// The main window's toolbar: six buttons, separators before 3 and 5.
struct Frame {
    explicit Frame(bool withButtons = true)
    {
        window.resize(420, 300);
        surface = new QWidget(&window);
        surface->setGeometry(0, 0, 420, 91);
        timer = new QTimer(&window);
        window.show();
        toolbar.Create(&window, surface, QImage(cf::widget_images::kToolbarStrip), timer);
        if (!withButtons)
            return;
        const char* const buttons[][2] = {
            {"Creazione", "Crea codice fiscale"},   {"Verifica", "Verifica codice fiscale"},
            {"Archivio", "Archivio codici"},        {"Stampa", "Stampa codice fiscale"},
            {"Info", "Informazioni sul programma"}, {"Esci", "Uscita dal programma"}};
        for (const auto& button : buttons)
            toolbar.AddButton(button[0], button[1]);
        toolbar.AddBar(3);
        toolbar.AddBar(5);
        toolbar.SetShowText(true);
        toolbar.SetBitmapSize(25, 25);
        toolbar.EnableButton(4, false);
        toolbar.Refresh();
    }

    QImage picture() const { return surface->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // True when the dotted focus mark is drawn inside button `button`.
    bool showsFocusMark(int button) const
    {
        const QImage shown = picture();
        const QRect box = toolbar.ButtonRect(button).adjusted(3, 3, -4, -4);
        const QRgb text = colour(QPalette::ButtonText);
        int marked = 0;
        for (int x = box.left(); x <= box.right(); ++x)
            marked += shown.pixel(x, box.top()) == text ? 1 : 0;
        return marked > box.width() / 4;
    }
    QRgb pixel(int x, int y) const { return picture().pixel(x, y); }
    QRgb colour(QPalette::ColorRole role) const { return surface->palette().color(role).rgb(); }

    QWidget window;
    QWidget* surface = nullptr;
    QTimer* timer = nullptr;
    Toolbar toolbar;
};

}  // namespace

class ToolbarTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        if (TooltipWindow* tip = TooltipWindow::Current())
            tip->SetCaption(QString());
    }

    void laysOutTheMainWindowsButtons()
    {
        Frame frame;
        QCOMPARE(frame.surface->fontMetrics().height(), 13);
        const int lefts[] = {12, 72, 138, 198, 264, 324};
        for (int i = 1; i <= 6; ++i)
            QCOMPARE(frame.toolbar.ButtonLeft(i), lefts[i - 1]);
        QCOMPARE(frame.toolbar.ButtonSize(), QSize(60, 46));
        QCOMPARE(frame.toolbar.BarHeight(), 54);
        QCOMPARE(frame.surface->height(), 55);

        // Separator lines at x 134/135 and 260/261, shadow then highlight.
        for (int x : {134, 260}) {
            QCOMPARE(frame.pixel(x, 20), frame.colour(QPalette::Dark));
            QCOMPARE(frame.pixel(x + 1, 20), frame.colour(QPalette::Light));
        }
    }

    void hitTestIncludesEdgesAndSkipsGaps()
    {
        Frame frame;
        Toolbar& bar = frame.toolbar;
        QCOMPARE(bar.MouseUpEvent({12, 4}), 1);    // top-left corner
        QCOMPARE(bar.MouseUpEvent({72, 20}), 2);   // shared edge: the higher number
        QCOMPARE(bar.MouseUpEvent({132, 50}), 2);  // bottom-right corner
        QCOMPARE(bar.MouseUpEvent({133, 20}), 0);  // separator gap
        QCOMPARE(bar.MouseUpEvent({100, 51}), 0);  // below the buttons
        QCOMPARE(bar.MouseUpEvent({11, 20}), 0);   // grip
        QCOMPARE(bar.MouseUpEvent({390, 20}), 0);  // empty space
        QCOMPARE(bar.MouseUpEvent({230, 20}), 0);  // disabled Stampa
        QCOMPARE(bar.MouseUpEvent({350, 20}), 6);  // Esci
        frame.surface->setFixedWidth(340);
        QCOMPARE(bar.MouseUpEvent({345, 20}), 0);  // right of the surface
    }

    void mouseUpReportsTheButtonUnderTheRelease()
    {
        Frame frame;
        Toolbar& bar = frame.toolbar;
        QCOMPARE(bar.MouseDownEvent(Qt::LeftButton, {20, 20}), 1);
        QCOMPARE(bar.MouseUpEvent({80, 20}), 2);
        QCOMPARE(bar.MouseDownEvent(Qt::LeftButton, {20, 20}), 1);
        QCOMPARE(bar.MouseUpEvent({-5, 20}), 0);

        // Moves within one button report nothing new.
        QCOMPARE(bar.MouseMoveEvent(Qt::NoButton, {20, 20}), 1);
        QCOMPARE(bar.MouseMoveEvent(Qt::NoButton, {21, 22}), 0);
        QCOMPARE(bar.MouseMoveEvent(Qt::NoButton, {80, 22}), 2);

        QSignalSpy clicked(&bar, &Toolbar::ButtonClicked);
        QTest::mouseClick(frame.surface, Qt::LeftButton, {}, QPoint(350, 20));
        QTest::mouseClick(frame.surface, Qt::LeftButton, {}, QPoint(230, 20));
        QCOMPARE(clicked.count(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 6);
    }

    void framesHoveredAndPressedButtons()
    {
        Frame frame;
        const QRgb light = frame.colour(QPalette::Light);
        const QRgb dark = frame.colour(QPalette::Dark);
        const QRgb face = frame.colour(QPalette::Button);

        frame.toolbar.MouseMoveEvent(Qt::NoButton, {30, 20});
        QCOMPARE(frame.pixel(12, 4), light);  // raised
        QCOMPARE(frame.pixel(72, 20), dark);
        QCOMPARE(frame.pixel(40, 50), dark);

        frame.toolbar.MouseDownEvent(Qt::LeftButton, {30, 20});
        QCOMPARE(frame.pixel(12, 4), dark);  // sunken
        QCOMPARE(frame.pixel(72, 20), light);
        QCOMPARE(frame.pixel(40, 50), light);

        // A disabled button is never framed.
        frame.toolbar.MouseMoveEvent(Qt::NoButton, {230, 20});
        QCOMPARE(frame.pixel(198, 4), face);
        QCOMPARE(frame.pixel(258, 20), face);
    }

    void disabledButtonShowsTheThirdRowAndAnEmbossedCaption()
    {
        Frame frame;
        const QImage strip = QImage(cf::widget_images::kToolbarStrip).convertToFormat(QImage::Format_RGB32);
        const QImage picture = frame.picture();
        // Stampa's picture lies at x 198 + 18, y 8; the strip's grey of 192
        // stands for the face colour, 128 for the shadow, white for the highlight.
        int compared = 0;
        for (int y = 0; y < 25; ++y)
            for (int x = 0; x < 25; ++x) {
                const QRgb source = strip.pixel(75 + x, 50 + y);
                if (source == qRgb(128, 128, 128)) {
                    QCOMPARE(picture.pixel(216 + x, 8 + y), frame.colour(QPalette::Dark));
                    ++compared;
                }
            }
        QVERIFY(compared > 20);

        // The caption is drawn twice: highlight, then shadow one pixel up-left.
        bool highlight = false;
        bool shadow = false;
        for (int y = 35; y < 50; ++y)
            for (int x = 199; x < 258; ++x) {
                highlight |= picture.pixel(x, y) == frame.colour(QPalette::Light);
                shadow |= picture.pixel(x, y) == frame.colour(QPalette::Dark);
                QVERIFY(picture.pixel(x, y) != frame.colour(QPalette::ButtonText));
            }
        QVERIFY(highlight && shadow);
    }

    void remapsTheStripToTheSystemColours()
    {
        Frame frame;
        const QImage strip = QImage(cf::widget_images::kToolbarStrip).convertToFormat(QImage::Format_RGB32);
        int probe = 380;
        for (const auto& colours :
             {std::array<QColor, 3>{QColor(250, 240, 200), QColor(30, 60, 90), QColor(200, 0, 0)},
              std::array<QColor, 3>{QColor(10, 120, 10), QColor(0, 0, 200), QColor(255, 255, 0)}}) {
            QPalette palette = frame.surface->palette();
            palette.setColor(QPalette::Button, colours[0]);
            palette.setColor(QPalette::Dark, colours[1]);
            palette.setColor(QPalette::Light, colours[2]);
            frame.surface->setPalette(palette);
            // The next paint sees the change.
            frame.toolbar.MouseMoveEvent(Qt::NoButton, {++probe, 30});
            const QImage picture = frame.picture();
            QCOMPARE(picture.pixelColor(390, 30), colours[0]);
            // Creazione's normal picture at x 12 + 18, y 8.
            for (int y = 0; y < 25; ++y)
                for (int x = 0; x < 25; ++x) {
                    const QRgb source = strip.pixel(x, y);
                    const QColor shown = picture.pixelColor(30 + x, 8 + y);
                    if (source == qRgb(192, 192, 192))
                        QCOMPARE(shown, colours[0]);
                    else if (source == qRgb(128, 128, 128))
                        QCOMPARE(shown, colours[1]);
                    else if (source == qRgb(255, 255, 255))
                        QCOMPARE(shown, colours[2]);
                    else
                        QCOMPARE(shown.rgb(), source);
                }
        }
    }

    void toolbarWithoutButtonsPaintsNothing()
    {
        Frame frame(false);
        QPalette palette = frame.surface->palette();
        palette.setColor(QPalette::Window, QColor(255, 0, 255));
        frame.surface->setPalette(palette);
        frame.surface->setAutoFillBackground(true);
        frame.toolbar.Refresh();
        frame.toolbar.MouseMoveEvent(Qt::NoButton, {20, 20});
        frame.toolbar.MouseDownEvent(Qt::LeftButton, {20, 20});
        QCOMPARE(frame.toolbar.MouseUpEvent({20, 20}), 0);
        frame.toolbar.EnableButton(1, false);
        QCOMPARE(frame.surface->height(), 91);
        const QImage picture = frame.picture();
        for (int y = 0; y < picture.height(); y += 7)
            for (int x = 0; x < picture.width(); x += 7)
                QCOMPARE(picture.pixel(x, y), qRgb(255, 0, 255));
    }

    void wideCaptionWidensAllButtons()
    {
        Frame frame;
        const QString caption = "Informazioni varie";
        const int wide = frame.surface->fontMetrics().horizontalAdvance(caption) + 4;
        QVERIFY(wide > 60);
        frame.toolbar.AddButton(caption, "tip");
        QCOMPARE(frame.toolbar.ButtonSize().width(), wide);
        QCOMPARE(frame.toolbar.ButtonLeft(2), 12 + wide);
        QCOMPARE(frame.toolbar.ButtonLeft(7), 12 + 6 * wide + 12);
    }

    void keyboardMovesBetweenEnabledButtonsAndPresses()
    {
        Frame frame;
        auto* box = new QLineEdit(&frame.window);
        box->setGeometry(10, 150, 100, 24);
        box->show();
        frame.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame.window));
        box->setFocus();
        QVERIFY(frame.surface->focusPolicy() & Qt::TabFocus);
        QCOMPARE(frame.toolbar.FocusedButton(), 0);

        // F10 from anywhere in the window.
        QTest::keyClick(box, Qt::Key_F10);
        QVERIFY(frame.surface->hasFocus());
        QCOMPARE(frame.toolbar.FocusedButton(), 1);
        QVERIFY(frame.showsFocusMark(1));

        const std::pair<Qt::Key, int> moves[] = {{Qt::Key_Right, 2}, {Qt::Key_Right, 3}, {Qt::Key_Right, 5},
                                                 {Qt::Key_End, 6},   {Qt::Key_Right, 6}, {Qt::Key_Left, 5},
                                                 {Qt::Key_Left, 3},  {Qt::Key_Home, 1},  {Qt::Key_Left, 1}};
        for (const auto& [key, button] : moves) {
            QTest::keyClick(frame.surface, key);
            QCOMPARE(frame.toolbar.FocusedButton(), button);
        }
        QVERIFY(frame.showsFocusMark(1));
        QVERIFY(!frame.showsFocusMark(2));

        QSignalSpy clicked(&frame.toolbar, &Toolbar::ButtonClicked);
        QTest::keyClick(frame.surface, Qt::Key_Return);
        QTest::keyClick(frame.surface, Qt::Key_End);
        QTest::keyClick(frame.surface, Qt::Key_Space);
        QCOMPARE(clicked.size(), 2);
        QCOMPARE(clicked.at(0).at(0).toInt(), 1);
        QCOMPARE(clicked.at(1).at(0).toInt(), 6);

        // A button switched off loses the mark to the next enabled one.
        frame.toolbar.EnableButton(4, true);
        QTest::keyClick(frame.surface, Qt::Key_Left);
        QTest::keyClick(frame.surface, Qt::Key_Left);
        QCOMPARE(frame.toolbar.FocusedButton(), 4);
        frame.toolbar.EnableButton(4, false);
        QCOMPARE(frame.toolbar.FocusedButton(), 5);

        // Esc goes back where F10 came from; without the focus, no mark.
        QTest::keyClick(frame.surface, Qt::Key_Escape);
        QVERIFY(box->hasFocus());
        QCOMPARE(frame.toolbar.FocusedButton(), 0);
        QVERIFY(!frame.showsFocusMark(5));
    }

    void shortcutsPressTheirButtonsAndShowInTheTooltips()
    {
        Frame frame;
        auto* box = new QLineEdit(&frame.window);
        box->setGeometry(10, 150, 100, 24);
        box->show();
        for (int button = 1; button <= 6; ++button)
            frame.toolbar.SetShortcut(button, QKeySequence(Qt::ALT | Qt::Key(Qt::Key_0 + button)));
        frame.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame.window));
        box->setFocus();

        QCOMPARE(frame.toolbar.ToolTip(1), QString("Crea codice fiscale (Alt+1)"));
        QCOMPARE(frame.toolbar.ToolTip(6), QString("Uscita dal programma (Alt+6)"));
        QSignalSpy clicked(&frame.toolbar, &Toolbar::ButtonClicked);
        QTest::keyClick(box, Qt::Key_2, Qt::AltModifier);
        QTest::keyClick(box, Qt::Key_4, Qt::AltModifier);  // Stampa is disabled
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 2);

        frame.toolbar.MouseMoveEvent(Qt::NoButton, {80, 20});
        frame.toolbar.TimerEvent();
        QCOMPARE(TooltipWindow::Current()->Caption(), QString(" Verifica codice fiscale (Alt+2) "));
    }

    void screenReadersSeeTheButtons()
    {
        Frame frame;
        frame.toolbar.SetShortcut(1, QKeySequence(Qt::ALT | Qt::Key_1));
        QAccessibleInterface* bar = QAccessible::queryAccessibleInterface(frame.surface);
        QVERIFY(bar);
        QCOMPARE(bar->role(), QAccessible::ToolBar);
        QCOMPARE(bar->childCount(), 6);
        const QStringList captions = {"Creazione", "Verifica", "Archivio", "Stampa", "Info", "Esci"};
        for (int i = 0; i < 6; ++i) {
            QAccessibleInterface* button = bar->child(i);
            QVERIFY(button);
            QCOMPARE(button->role(), QAccessible::PushButton);
            QCOMPARE(button->text(QAccessible::Name), captions[i]);
            QCOMPARE(button->text(QAccessible::Description), frame.toolbar.ToolTip(i + 1));
            QCOMPARE(button->state().disabled, i == 3);
            QCOMPARE(button->parent(), bar);
            QCOMPARE(bar->indexOfChild(button), i);
            QCOMPARE(bar->child(i), button);  // the same interface every time
        }
        QCOMPARE(bar->child(0)->text(QAccessible::Description), QString("Crea codice fiscale (Alt+1)"));

        // The press action runs an enabled button's command only.
        QSignalSpy clicked(&frame.toolbar, &Toolbar::ButtonClicked);
        for (const int i : {3, 4}) {
            QAccessibleActionInterface* action = bar->child(i)->actionInterface();
            QVERIFY(action);
            QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
            action->doAction(QAccessibleActionInterface::pressAction());
        }
        QCOMPARE(clicked.size(), 1);
        QCOMPARE(clicked.at(0).at(0).toInt(), 5);

        // Focus and enabling follow the toolbar.
        frame.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&frame.window));
        frame.surface->setFocus();
        QTest::keyClick(frame.surface, Qt::Key_Right);
        QVERIFY(bar->child(1)->state().focused);
        QVERIFY(!bar->child(0)->state().focused);
        QCOMPARE(bar->focusChild(), bar->child(1));
        frame.toolbar.EnableButton(4, true);
        QVERIFY(!bar->child(3)->state().disabled);
        const QRect second = bar->child(1)->rect();
        QCOMPARE(bar->childAt(second.center().x(), second.center().y()), bar->child(1));
    }

    void showsTheTooltipAfterARest()
    {
        Frame frame;
        frame.toolbar.MouseMoveEvent(Qt::NoButton, {80, 20});
        QVERIFY(frame.timer->isActive());
        QCOMPARE(frame.timer->interval(), 500);
        frame.toolbar.TimerEvent();
        QVERIFY(!frame.timer->isActive());
        QVERIFY(TooltipWindow::Current() != nullptr);
        QCOMPARE(TooltipWindow::Current()->Caption(), QString(" Verifica codice fiscale "));

        frame.toolbar.MouseMoveEvent(Qt::NoButton, {81, 20});
        QCOMPARE(TooltipWindow::Current(), nullptr);

        // Over empty space there is no tip; leaving stops the timer.
        frame.toolbar.MouseMoveEvent(Qt::NoButton, {390, 20});
        frame.toolbar.TimerEvent();
        QCOMPARE(TooltipWindow::Current(), nullptr);
        frame.toolbar.MouseMoveEvent(Qt::NoButton, {390, 200});
        QVERIFY(!frame.timer->isActive());
    }
};

QTEST_MAIN(ToolbarTest)
#include "toolbar_test.moc"
