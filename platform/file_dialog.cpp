// SPDX-License-Identifier: MIT
#include "platform/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QStandardPaths>

namespace cf::platform {
namespace {

SaveDialogRecorder* activeRecorder = nullptr;

QString DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

// The name in the folder, or, when a file has it already, the first free one
// of "name (2).pdf", "name (3).pdf"...; a slash in the name becomes a dash.
QString FreePath(const QDir& folder, QString fileName)
{
    fileName.replace(QLatin1Char('/'), QLatin1Char('-'));
    const QFileInfo name(fileName);
    QString path = folder.filePath(fileName);
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = folder.filePath(
            QStringLiteral("%1 (%2).%3").arg(name.completeBaseName()).arg(n).arg(name.suffix()));
    return path;
}

}  // namespace

SaveDialogRecorder::SaveDialogRecorder()
{
    Q_ASSERT(activeRecorder == nullptr);
    activeRecorder = this;
}

SaveDialogRecorder::~SaveDialogRecorder()
{
    activeRecorder = nullptr;
}

QString SaveDialogRecorder::Answer(const SaveDialogRequest& request)
{
    requests_.push_back(request);
    if (answers_.empty())
        return {};
    const QString answer = answers_.front();
    answers_.pop_front();
    return answer;
}

namespace {

// Runs a file dialog over the active window (or the recorder's answer).
QString RunFileDialog(const SaveDialogRequest& request, QFileDialog::AcceptMode mode, const QString& suffix)
{
    if (activeRecorder)
        return activeRecorder->Answer(request);

    QWidget* const owner = QApplication::activeWindow();
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.setNameFilter(request.filter);
    // A name typed without a suffix gets it before the dialog asks whether
    // to replace an existing file; a file chosen over an existing one is
    // replaced only once the user confirms it.
    if (!suffix.isEmpty())
        dialog.setDefaultSuffix(suffix);
    if (mode == QFileDialog::AcceptSave)
        dialog.selectFile(request.suggestedPath);
    else
        dialog.setDirectory(request.suggestedPath);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (owner)
        owner->activateWindow();
    return accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first() : QString();
}

}  // namespace

QString AskPdfFileName(const QString& fileName)
{
    return RunFileDialog({QStringLiteral("Salva in un file PDF"), FreePath(QDir(DocumentsFolder()), fileName),
                          QStringLiteral("Documenti PDF (*.pdf)")},
                         QFileDialog::AcceptSave, QStringLiteral("pdf"));
}

QString AskTableFileName(const QString& fileName)
{
    return RunFileDialog({QStringLiteral("Esporta l'archivio"), FreePath(QDir(DocumentsFolder()), fileName),
                          QStringLiteral("Foglio OpenDocument (*.ods);;File CSV (*.csv)")},
                         QFileDialog::AcceptSave, QStringLiteral("ods"));
}

QString AskTableToImport()
{
    return RunFileDialog({QStringLiteral("Importa persone nell'archivio"), DocumentsFolder(),
                          QStringLiteral("Fogli OpenDocument e file CSV (*.ods *.csv)")},
                         QFileDialog::AcceptOpen, {});
}

}  // namespace cf::platform
