// SPDX-License-Identifier: MIT
#include "platform/file_dialog.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QStandardPaths>

namespace cf::platform {
namespace {

SaveDialogRecorder* activeRecorder = nullptr;

QString DocumentsFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
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

QString AskPdfFileName(const QString& fileName)
{
    const SaveDialogRequest request{QStringLiteral("Salva in un file PDF"),
                                    QDir(DocumentsFolder()).filePath(fileName),
                                    QStringLiteral("Documenti PDF (*.pdf)")};
    if (activeRecorder)
        return activeRecorder->Answer(request);

    QWidget* const owner = QApplication::activeWindow();
    QFileDialog dialog(owner, request.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(request.filter);
    // A name typed without ".pdf" gets it before the dialog asks whether to
    // replace an existing file.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.selectFile(request.suggestedPath);
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (owner)
        owner->activateWindow();
    return accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().first() : QString();
}

}  // namespace cf::platform
