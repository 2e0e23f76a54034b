// SPDX-License-Identifier: MIT
#include "generation_test_support.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTest>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/storage/work_files.h"

TestWorkDirectory::TestWorkDirectory() : previous_(qgetenv("XDG_RUNTIME_DIR"))
{
    qputenv("XDG_RUNTIME_DIR", directory_.path().toLocal8Bit());
    cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
}

TestWorkDirectory::~TestWorkDirectory()
{
    qputenv("XDG_RUNTIME_DIR", previous_);
}

QString TestWorkDirectory::path() const
{
    QString work = QString::fromStdString(cf::WorkDirectory());
    work.chop(1);
    return work;
}

QString TestWorkDirectory::placeFile() const
{
    return path() + u'/' + QString::fromLatin1(cf::kPlaceFileName);
}

bool ShowActive(QWidget* window)
{
    window->show();
    QApplication::setActiveWindow(window);
    return QTest::qWaitForWindowActive(window);
}

void TypeKeys(QWidget* widget, const QString& keys)
{
    for (QChar c : keys)
        QTest::sendKeyEvent(QTest::Click, widget,
                            c.isDigit() ? Qt::Key(Qt::Key_0 + c.digitValue()) : Qt::Key_unknown, QString(c),
                            Qt::NoModifier);
}

TestDocumentsFolder::TestDocumentsFolder() : previous_(qgetenv("XDG_CONFIG_HOME"))
{
    QDir(directory_.path()).mkdir(QStringLiteral("Documenti"));
    QFile dirs(directory_.filePath(QStringLiteral("user-dirs.dirs")));
    if (dirs.open(QIODevice::WriteOnly))
        dirs.write("XDG_DOCUMENTS_DIR=\"" + QFile::encodeName(path()) + "\"\n");
    qputenv("XDG_CONFIG_HOME", directory_.path().toLocal8Bit());
}

TestDocumentsFolder::~TestDocumentsFolder()
{
    if (previous_.isNull())
        qunsetenv("XDG_CONFIG_HOME");
    else
        qputenv("XDG_CONFIG_HOME", previous_);
}

bool PlainUnder(const QImage& picture, const QRectF& area)
{
    const QRect pixels = area.toAlignedRect();
    if (!picture.rect().contains(pixels))
        return false;
    const QRgb colour = picture.pixel(pixels.topLeft());
    for (int y = pixels.top(); y <= pixels.bottom(); ++y)
        for (int x = pixels.left(); x <= pixels.right(); ++x)
            if (picture.pixel(x, y) != colour)
                return false;
    return true;
}
