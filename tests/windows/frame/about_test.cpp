// SPDX-License-Identifier: MIT
// The about window: its texts, the help buttons that show the pages in the
// program's help viewer, the contact links and the title drawn on paint.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

#include "engine/places/embedded_resources.h"
#include "engine/storage/work_files.h"
#include "platform/message_box.h"
#include "platform/shell_open.h"
#include "widgets/help_viewer.h"
#include "windows/frame/about.h"

using namespace cf::frame;
using cf::widgets::HelpViewer;

class AboutTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void showsVersionAndTexts();
    void drawsRedTitleOverGreyShadow();
    void helpButtonsShowThePagesInTheViewer();
    void viewerFollowsPageLinksAndHandsOthersToTheDesktop();
    void onlyTheLinkLabelsOpenContacts();
    void linksShowTheLinkCursor();
    void linksOpenFromTheKeyboard();
    void helpPagesAreTheSourceFiles();

private:
    static QString WorkFilePath(const QString& name);
    static QByteArray Resource(int id);

    QTemporaryDir workDirectory_;
    QByteArray previousRuntimeDir_;
};

void AboutTest::init()
{
    QVERIFY(workDirectory_.isValid());
    previousRuntimeDir_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(workDirectory_.path()));
}

void AboutTest::cleanup()
{
    // The directory itself stays, private as it was made.
    QDir directory(WorkFilePath({}));
    for (const QString& name : directory.entryList(QDir::Files | QDir::Hidden))
        directory.remove(name);
    qputenv("XDG_RUNTIME_DIR", previousRuntimeDir_);
}

QString AboutTest::WorkFilePath(const QString& name)
{
    return QString::fromStdString(cf::WorkDirectory()) + name;
}

QByteArray AboutTest::Resource(int id)
{
    const auto bytes = cf::ResourceBytes(id);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

void AboutTest::showsVersionAndTexts()
{
    About about;
    QCOMPARE(about.size(), QSize(356, 298));
    QCOMPARE(about.palette().color(QPalette::Window), QColor(255, 255, 192));

    const QString version = about.findChild<QLabel*>("Label1")->text();
    QCOMPARE(version, QStringLiteral("Versione 1.1.0"));
    QVERIFY(QRegularExpression(QStringLiteral("^Versione \\d+\\.\\d+\\.\\d+$")).match(version).hasMatch());
    // The place data's licences ask for their sources to be named.
    const QString credits = about.findChild<QLabel*>("lblFonti")->text();
    for (const char* source : {"ANPR", "ISTAT", "Agenzia delle Entrate"})
        QVERIFY(credits.contains(QLatin1String(source)));

    QCOMPARE(about.findChild<QLabel*>("Label2_1")->text(),
             QStringLiteral("Programma di gestione codici fiscali. Creazione, verifica, stampa ed "
                            "archiviazione codici."));
    QCOMPARE(about.findChild<QLabel*>("Label2_3")->text(), QStringLiteral("E-mail:"));
    QCOMPARE(about.findChild<QLabel*>("Label2_4")->text(), QStringLiteral("Sito Internet:"));
    QCOMPARE(about.findChild<QLabel*>("Label2_5")->text(), QString::fromLatin1(kContactEmail));
    QCOMPARE(about.findChild<QLabel*>("Label2_6")->text(), QString::fromLatin1(kContactWebsite));

    auto* command1 = about.findChild<QPushButton*>("Command1");
    auto* command2 = about.findChild<QPushButton*>("Command2");
    QCOMPARE(command1->text(), QStringLiteral("Richiamare Codice Fiscale dalla riga di comando"));
    QCOMPARE(command2->text(), QStringLiteral("Informazioni sulla codificazione delle persone fisiche"));
    QCOMPARE(command1->geometry(), QRect(72, 139, 265, 25));
    QCOMPARE(command2->geometry(), QRect(72, 176, 265, 25));

    auto* logo = about.findChild<QLabel*>("Image1");
    QCOMPARE(logo->geometry(), QRect(40, 19, 50, 52));
    QVERIFY(!logo->pixmap().isNull());

    // The one-line captions fit their text, and the links do not overlap
    // the captions before them.
    for (const char* name : {"Label2_0", "Label2_2", "Label2_3", "Label2_4", "Label2_5", "Label2_6"}) {
        auto* label = about.findChild<QLabel*>(name);
        QVERIFY2(label->width() >= label->sizeHint().width(), name);
        QVERIFY2(label->x() + label->sizeHint().width() <= about.width(), name);
    }
    QVERIFY(about.findChild<QLabel*>("Label2_3")->geometry().right()
            < about.findChild<QLabel*>("Label2_5")->geometry().left());
    QVERIFY(about.findChild<QLabel*>("Label2_4")->geometry().right()
            < about.findChild<QLabel*>("Label2_6")->geometry().left());
}

void AboutTest::drawsRedTitleOverGreyShadow()
{
    About about;
    const QImage image = about.grab().toImage();
    int red = 0;
    int grey = 0;
    for (int y = 20; y < 70; ++y) {
        for (int x = 120; x < 340; ++x) {
            const QColor colour = image.pixelColor(x, y);
            red += colour == QColor(255, 0, 0);
            grey += colour == QColor(128, 128, 128);
        }
    }
    QVERIFY2(red > 200, qPrintable(QString::number(red)));
    QVERIFY2(grey > 20, qPrintable(QString::number(grey)));
    // Nothing of the title above or left of the shadow's corner.
    for (int x = 0; x < 356; ++x)
        QCOMPARE(image.pixelColor(x, 19), QColor(255, 255, 192));
}

void AboutTest::helpButtonsShowThePagesInTheViewer()
{
    cf::platform::ShellOpenRecorder shell;
    cf::platform::MessageBoxRecorder boxes;
    About about;
    about.show();
    QVERIFY(QTest::qWaitForWindowExposed(&about));

    // Each button shows its page in the one viewer, from memory: no browser,
    // no file in the work directory.
    const std::pair<const char*, QString> pages[] = {
        {"Command1", QStringLiteral("Richiamare Codice Fiscale dalla riga di comando")},
        {"Command2", QStringLiteral("Informazioni sulla codificazione delle persone fisiche")},
        {"Command1", QStringLiteral("Richiamare Codice Fiscale dalla riga di comando")}};
    for (const auto& [button, heading] : pages) {
        QTest::mouseClick(about.findChild<QPushButton*>(button), Qt::LeftButton);
        HelpViewer* viewer = cf::widgets::OpenHelpViewer();
        QVERIFY(viewer);
        QVERIFY(viewer->isVisible());
        QVERIFY2(viewer->browser()->toPlainText().contains(heading), button);
        QCOMPARE(viewer->windowTitle(), viewer->browser()->documentTitle());
        QVERIFY(viewer->windowTitle().startsWith(QStringLiteral("Codice fiscale – ")));
    }
    const QWidgetList windows = QApplication::topLevelWidgets();
    QCOMPARE(std::ranges::count_if(windows,
                                   [](QWidget* w) { return w->objectName() == QLatin1String("HelpViewer"); }),
             std::ptrdiff_t{1});
    QVERIFY(shell.urls().empty());
    QVERIFY(boxes.requests().empty());
    QVERIFY(QDir(WorkFilePath({})).entryList(QDir::Files).isEmpty());
    cf::widgets::OpenHelpViewer()->close();
    QTRY_VERIFY(!cf::widgets::OpenHelpViewer());
}

void AboutTest::viewerFollowsPageLinksAndHandsOthersToTheDesktop()
{
    cf::platform::ShellOpenRecorder shell;
    cf::widgets::ShowHelp(QStringLiteral("varnel.htm"));
    HelpViewer* viewer = cf::widgets::OpenHelpViewer();
    QVERIFY(viewer);

    // A link: where the viewer then stands, and the URLs the desktop got.
    struct Row {
        QString link;
        QString source;
        int desktopUrls;
    };
    const Row rows[] = {
        {QStringLiteral("#luoghi"), QStringLiteral("varnel.htm#luoghi"), 0},
        {QStringLiteral("codicefiscale.htm#omocodia"), QStringLiteral("codicefiscale.htm#omocodia"), 0},
        {QStringLiteral("mailto:info@progettocodicefiscale.it"), QStringLiteral("codicefiscale.htm#omocodia"),
         1},
        {QStringLiteral("https://progettocodicefiscale.it"), QStringLiteral("codicefiscale.htm#omocodia"), 2},
        {QStringLiteral("varnel.htm"), QStringLiteral("varnel.htm"), 2},
    };
    for (const Row& row : rows) {
        emit viewer->browser()->anchorClicked(QUrl(row.link));
        QCOMPARE(viewer->browser()->source().toString(), row.source);
        QCOMPARE(shell.urls().size(), std::size_t(row.desktopUrls));
    }
    QCOMPARE(shell.urls()[0].scheme(), QStringLiteral("mailto"));
    QVERIFY(viewer->browser()->toPlainText().contains(QStringLiteral("Richiamare Codice Fiscale")));

    // A page the program does not carry shows nothing, and Esc closes.
    QVERIFY(!viewer->browser()
                 ->loadResource(QTextDocument::HtmlResource, QUrl(QStringLiteral("altro.htm")))
                 .isValid());
    viewer->show();
    QTest::keyClick(viewer->browser(), Qt::Key_Escape);
    QTRY_VERIFY(!cf::widgets::OpenHelpViewer());
}

void AboutTest::onlyTheLinkLabelsOpenContacts()
{
    cf::platform::ShellOpenRecorder shell;
    About about;

    for (const char* caption : {"Label2_0", "Label2_1", "Label2_2", "Label2_3", "Label2_4", "Label1"})
        QTest::mouseClick(about.findChild<QLabel*>(caption), Qt::LeftButton);
    QVERIFY(shell.urls().empty());

    // A right click, or a press that ends off the link, is no click.
    auto* email = about.findChild<QLabel*>("Label2_5");
    QTest::mouseClick(email, Qt::RightButton);
    QTest::mousePress(email, Qt::LeftButton, {}, QPoint(2, 2));
    QTest::mouseRelease(email, Qt::LeftButton, {}, QPoint(-20, -20));
    QVERIFY(shell.urls().empty());

    QTest::mouseClick(email, Qt::LeftButton);
    QTest::mouseClick(about.findChild<QLabel*>("Label2_6"), Qt::LeftButton);
    QCOMPARE(shell.urls().size(), std::size_t{2});
    QCOMPARE(shell.urls()[0], QUrl(QStringLiteral("mailto:info@progettocodicefiscale.it")));
    QCOMPARE(shell.urls()[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(shell.urls()[1], QUrl(QStringLiteral("https://progettocodicefiscale.it")));
    QVERIFY(!QFile::exists(WorkFilePath(QStringLiteral("varnel.htm"))));
}

// Tab reaches every command, the links included; Enter or Space opens a
// link, which shows the focus in the selection colours.
void AboutTest::linksOpenFromTheKeyboard()
{
    cf::platform::ShellOpenRecorder shell;
    About about;
    about.show();
    QApplication::setActiveWindow(&about);
    QVERIFY(QTest::qWaitForWindowActive(&about));
    auto* email = about.findChild<QLabel*>("Label2_5");
    auto* web = about.findChild<QLabel*>("Label2_6");

    QList<QWidget*> reached;
    about.findChild<QPushButton*>("Command1")->setFocus();
    for (int i = 0; i < 4; ++i) {
        reached.append(QApplication::focusWidget());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    QCOMPARE(QApplication::focusWidget(), reached.front());  // round, no trap
    for (QWidget* widget : {static_cast<QWidget*>(email), static_cast<QWidget*>(web)})
        QVERIFY(reached.contains(widget));

    email->setFocus();
    QCOMPARE(email->backgroundRole(), QPalette::Highlight);
    QTest::keyClick(email, Qt::Key_Return);
    web->setFocus();
    QCOMPARE(email->backgroundRole(), QPalette::Window);
    QTest::keyClick(web, Qt::Key_Space);
    QCOMPARE(shell.urls().size(), std::size_t{2});
    QCOMPARE(shell.urls()[0].scheme(), QStringLiteral("mailto"));
    QCOMPARE(shell.urls()[1], QUrl(QStringLiteral("https://progettocodicefiscale.it")));
}

void AboutTest::linksShowTheLinkCursor()
{
    About about;
    for (const char* link : {"Label2_5", "Label2_6"}) {
        auto* label = about.findChild<QLabel*>(link);
        QCOMPARE(label->cursor().shape(), Qt::BitmapCursor);
        QVERIFY(!label->cursor().pixmap().isNull());
        QVERIFY(label->font().bold());
        QVERIFY(label->font().underline());
        QCOMPARE(label->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    }
    QCOMPARE(about.findChild<QLabel*>("Label2_3")->cursor().shape(), Qt::ArrowCursor);
}

void AboutTest::helpPagesAreTheSourceFiles()
{
    // The program carries the committed pages byte for byte, each with the
    // style sheet they share written in at its marker.
    QFile sheet(QStringLiteral(CF_SOURCE_DIR "/resources/help.css"));
    QVERIFY(sheet.open(QIODevice::ReadOnly));
    const QByteArray shared = sheet.readAll();
    for (const auto& [id, name] : {std::pair{cf::kCommandLineHelpResource, "varnel.htm"},
                                   std::pair{cf::kCodeHelpResource, "codicefiscale.htm"}}) {
        QFile source(QStringLiteral(CF_SOURCE_DIR "/resources/") + QString::fromLatin1(name));
        QVERIFY(source.open(QIODevice::ReadOnly));
        QByteArray page = source.readAll();
        QCOMPARE(page.count("/* help.css */\n"), 1);
        QCOMPARE(Resource(id), page.replace("/* help.css */\n", shared));
    }
}

QTEST_MAIN(AboutTest)
#include "about_test.moc"
