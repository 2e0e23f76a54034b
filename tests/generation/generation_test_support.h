#pragma once
// Shared set-up of the generation window tests.

#include <QTemporaryDir>
#include <QWidget>

// A private runtime directory (XDG_RUNTIME_DIR) whose work folder holds a
// fresh "varnel.cod" for as long as the object lives.
class TestWorkDirectory {
public:
    TestWorkDirectory();
    ~TestWorkDirectory();
    // The program's work folder in it, without the final '/'.
    QString path() const;
    QString placeFile() const;

private:
    QTemporaryDir directory_;
    QByteArray previous_;
};

// Shows a window and makes it the active one, so that it takes the focus.
bool ShowActive(QWidget* window);
