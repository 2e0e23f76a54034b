// SPDX-License-Identifier: MIT
#pragma once
// Shared set-up of the generation window tests.

#include <QImage>
#include <QRectF>
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

// A documents folder of the user's ("Documenti" in a temporary directory,
// through XDG_CONFIG_HOME's user-dirs.dirs) for as long as the object lives.
class TestDocumentsFolder {
public:
    TestDocumentsFolder();
    ~TestDocumentsFolder();
    QString path() const { return directory_.filePath(QStringLiteral("Documenti")); }

private:
    QTemporaryDir directory_;
    QByteArray previous_;
};

// Shows a window and makes it the active one, so that it takes the focus.
bool ShowActive(QWidget* window);

// Types each character as a key of its own, beyond Latin-1 too, into the
// widget that has the focus or is given.
void TypeKeys(QWidget* widget, const QString& keys);

// True when the picture is of one colour under `area` (in its pixels): a
// text placed there stands on an empty field, not on a line or an edge.
bool PlainUnder(const QImage& picture, const QRectF& area);
