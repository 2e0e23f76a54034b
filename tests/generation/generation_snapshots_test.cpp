// Renders the generation windows to PNG files (snapshots/ in the build
// folder) for a person to look at.

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTest>

#include "generation/main_form.h"
#include "generation/place_list_loader.h"
#include "generation/splash.h"
#include "generation/tesserino.h"
#include "generation_test_support.h"
#include "platform/message_box.h"

using namespace cf::generation;

class GenerationSnapshotsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(QDir().mkpath(QStringLiteral(CF_SNAPSHOT_DIR))); }
    void renderWindows();

private:
    static void Save(QWidget& widget, const char* name)
    {
        const QImage image = widget.grab().toImage();
        QVERIFY(!image.isNull());
        QVERIFY(image.save(QStringLiteral(CF_SNAPSHOT_DIR "/%1.png").arg(QLatin1String(name))));
    }
};

void GenerationSnapshotsTest::renderWindows()
{
    TestWorkDirectory work;
    cf::platform::MessageBoxRecorder recorder;
    MainForm form;
    QVERIFY(ShowActive(&form));
    Save(form, "main_form_empty");

    form.Text2()->setText(QStringLiteral("Bianchi"));
    form.Text3()->setText(QStringLiteral("Lucia"));
    form.Text5()->setText(QStringLiteral("F"));
    form.Text4()->setText(QStringLiteral("03/07/85"));
    form.Combo1()->setText(QStringLiteral("Roma"));
    std::optional<cf::Person> values;
    form.setCardPresenter([&values](const cf::Person& shown) { values = shown; });
    form.Command1()->click();
    QVERIFY(values);
    form.ShowWindow();
    Save(form, "main_form_filled");

    QTest::mouseClick(form.findChild<QLabel*>(QStringLiteral("Picture1")), Qt::LeftButton);
    Save(form, "main_form_drop_down");

    Tesserino card;
    card.Fill(*values);
    QVERIFY(ShowActive(&card));
    Save(card, "card");
    const QPointF onLink = card.label(8)->rect().center();
    QMouseEvent move(QEvent::MouseMove, onLink, card.label(8)->mapToGlobal(onLink), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(card.label(8), &move);
    QVERIFY(card.linkHighlighted());
    Save(card, "card_link_highlighted");

    Splash splash;
    splash.show();
    DrawProgress(*splash.picScor(), 100, 45, QStringLiteral("Caricamento in corso..."));
    Save(splash, "splash");
}

QTEST_MAIN(GenerationSnapshotsTest)
#include "generation_snapshots_test.moc"
