// SPDX-License-Identifier: MIT
#include "windows/generation/place_list_loader.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <cstdlib>
#include <memory>

#include "engine/places/place_catalog.h"
#include "engine/places/place_labels.h"
#include "engine/places/place_table.h"
#include "engine/storage/work_files.h"
#include "platform/message_box.h"
#include "widgets/multi_column_list.h"
#include "windows/generation/splash.h"

namespace cf::generation {
namespace {

const QString kCaption = QStringLiteral("Caricamento in corso...");

// The splash window and the hourglass for the time of the loading; both go
// when this goes, whichever way the loading ends.
class LoadingScreen {
public:
    LoadingScreen()
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Qt re-creates a shown window whose flags change, so the topmost
        // flag is set before the window is first shown.
        splash_->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        splash_->show();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~LoadingScreen()
    {
        splash_->setWindowFlag(Qt::WindowStaysOnTopHint, false);
        splash_->close();
        splash_.reset();
        QApplication::restoreOverrideCursor();
    }
    LoadingScreen(const LoadingScreen&) = delete;
    LoadingScreen& operator=(const LoadingScreen&) = delete;

    ProgressBox& progressBox() { return *splash_->progressBox(); }

private:
    std::unique_ptr<Splash> splash_ = std::make_unique<Splash>();
};

QString Latin1(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The rows from `first` on. A row that is the table's own shows its label
// (the province beside a namesake); any other shows its name.
QList<QStringList> Rows(std::span<const PlaceRow> rows, std::size_t first)
{
    const PlaceCatalog& table = PlaceCatalog::Embedded();
    QList<QStringList> result;
    result.reserve(static_cast<qsizetype>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const PlaceRow& row = rows[i];
        const std::size_t index = first + i;
        const bool tableRow = index < table.Rows().size() && table.Rows()[index].name == row.name
                              && table.Rows()[index].code == row.code;
        const QString name = tableRow ? QString::fromStdString(PlaceListLabel(table, static_cast<int>(index)))
                                      : Latin1(row.name);
        result.append({name, Latin1(row.code), Latin1(row.province)});
    }
    return result;
}

void ReportLoadingError(const QFile& file)
{
    // Description, " - ", then the error number with a blank for its sign.
    const QString text = QStringLiteral("Impossibile leggere \"%1\": %2 -  %3")
                             .arg(file.fileName(), file.errorString())
                             .arg(static_cast<int>(file.error()));
    platform::ShowMessage(MessageIcon::Exclamation,
                          QStringLiteral("Errore durante il caricamento dell'applicazione"), text);
}

}  // namespace

PlaceListLoad LoadPlaceList(widgets::MultiColumnList& list, const PlaceListHooks& hooks)
{
    const std::string path = WorkDirectory() + kPlaceFileName;
    auto screen = std::make_unique<LoadingScreen>();

    if (!FileExists(path)) {
        screen.reset();
        platform::ShowMessage(MessageIcon::Exclamation, QStringLiteral("Codice fiscale"),
                              QStringLiteral("Non esiste l'archivio dati!"));
        if (hooks.endProgram)
            hooks.endProgram();
        else
            std::exit(EXIT_FAILURE);
        return PlaceListLoad::FileMissing;
    }

    QFile file(QString::fromStdString(path));
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFile::NoError) {
        screen.reset();
        ReportLoadingError(file);
        return PlaceListLoad::Failed;
    }

    const std::vector<PlaceRow> rows =
        ParsePlaceTable(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    const std::span<const PlaceRow> all(rows);
    // Step k ends after row ceil(k * n / 20): 20 steps whatever the count,
    // the last one with the last row.
    const std::size_t count = rows.size();
    std::size_t added = 0;
    constexpr std::size_t steps = kProgressSteps;
    for (int step = 1; step <= kProgressSteps; ++step) {
        const std::size_t end = (static_cast<std::size_t>(step) * count + steps - 1) / steps;
        list.AddItems(Rows(all.subspan(added, end - added), added));
        added = end;
        const int progress = step * 100 / kProgressSteps;
        DrawProgress(screen->progressBox(), 100, progress, kCaption);
        if (hooks.progressDrawn)
            hooks.progressDrawn(progress);
    }
    list.SetListIndex(-1);
    return PlaceListLoad::Loaded;
}

}  // namespace cf::generation
