// SPDX-License-Identifier: MIT
#include "windows/archive/archive_transfer_commands.h"

#include <QDate>
#include <QMenu>

#include <algorithm>

#include "command_line/archive_files.h"
#include "engine/storage/archive_file.h"
#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "widgets/twips.h"

namespace cf::archive {
namespace {

const QString kTitle = QStringLiteral("Codice fiscale");
// A message box lists at most this many refused rows.
constexpr std::size_t kListedRefusals = 15;

std::string PathOf(const QString& archivePath)
{
    return archivePath.isEmpty() ? ArchivePath() : archivePath.toStdString();
}

QString ImportReport(const TransferOutcome& outcome)
{
    QString text = QString::fromStdString(outcome.message);
    if (outcome.refusals.empty())
        return text;
    text += QStringLiteral("\n\nRighe scartate, non scritte nell'archivio:\n");
    const std::size_t listed = std::min(outcome.refusals.size(), kListedRefusals);
    text += QString::fromStdString(RefusalList(
        {outcome.refusals.begin(), outcome.refusals.begin() + static_cast<std::ptrdiff_t>(listed)}));
    if (outcome.refusals.size() > listed)
        text += QStringLiteral("… e altre %1.").arg(outcome.refusals.size() - listed);
    return text;
}

}  // namespace

QPushButton* AddTransferCommands(QWidget* window, const QString& archivePath, std::function<void()> imported)
{
    auto* button = new QPushButton(QStringLiteral("Es&porta / importa"), window);
    button->setObjectName(QStringLiteral("cmdEsportaImporta"));
    button->setGeometry(twips::Rect(5400, 150, 1800, 375));
    auto* menu = new QMenu(button);
    menu->addAction(QStringLiteral("&Esporta l'archivio in un foglio o file CSV…"), button,
                    [archivePath] { ExportArchiveToChosenFile(archivePath); });
    menu->addAction(QStringLiteral("&Importa persone da un foglio o file CSV…"), button,
                    [archivePath, imported] {
                        if (ImportChosenFile(archivePath) && imported)
                            imported();
                    });
    button->setMenu(menu);
    button->show();
    return button;
}

void ExportArchiveToChosenFile(const QString& archivePath)
{
    const QString file = platform::AskTableFileName(
        QStringLiteral("Archivio codici %1.ods").arg(QDate::currentDate().toString(Qt::ISODate)));
    if (file.isEmpty())
        return;
    const TransferOutcome outcome = ExportArchive(PathOf(archivePath), file.toStdString());
    platform::ShowMessage(outcome.exitStatus == 0 ? MessageIcon::Information : MessageIcon::Critical, kTitle,
                          QString::fromStdString(outcome.message));
}

bool ImportChosenFile(const QString& archivePath)
{
    const QString file = platform::AskTableToImport();
    if (file.isEmpty())
        return false;
    const TransferOutcome outcome = ImportIntoArchive(PathOf(archivePath), file.toStdString(), Today());
    const MessageIcon icon = outcome.exitStatus == 0   ? MessageIcon::Information
                             : outcome.exitStatus == 1 ? MessageIcon::Exclamation
                                                       : MessageIcon::Critical;
    platform::ShowMessage(icon, kTitle, ImportReport(outcome));
    return outcome.persons > 0;
}

}  // namespace cf::archive
