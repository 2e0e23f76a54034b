#include "generation_test_support.h"

#include <QApplication>
#include <QTest>

#include "engine/embedded_resources.h"
#include "engine/place_table.h"
#include "engine/work_files.h"

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
