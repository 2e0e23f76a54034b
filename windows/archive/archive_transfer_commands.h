// SPDX-License-Identifier: MIT
#pragma once
// The archive window's export and import: a button "Esporta / importa" at
// the window's top right whose menu exports the archive to a sheet or CSV
// file and imports persons from one, through the file dialogs of platform/.
// The outcome shows in a message box; the refused rows are listed in it.

#include <QPushButton>
#include <QString>

#include <functional>

namespace cf::archive {

// Adds the button to `window` (the archive window) for the archive at
// `archivePath`; `imported` is called after persons were appended, so that
// the window can be loaded again. Returns the button.
QPushButton* AddTransferCommands(QWidget* window, const QString& archivePath, std::function<void()> imported);

// The commands themselves, as the menu runs them.
void ExportArchiveToChosenFile(const QString& archivePath);
// True when persons were appended.
bool ImportChosenFile(const QString& archivePath);

}  // namespace cf::archive
