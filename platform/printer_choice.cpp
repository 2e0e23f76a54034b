// SPDX-License-Identifier: MIT
#include "platform/printer_choice.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <memory>

#include "platform/print_job.h"

namespace cf::platform {
namespace {

PrinterChoiceRecorder* activeRecorder = nullptr;

// The destination of a list entry.
constexpr int kKindRole = Qt::UserRole;
constexpr int kNameRole = Qt::UserRole + 1;

const QString kPdfEntry = QStringLiteral("Salva come PDF");

// Where the printouts went last in this run.
PrintTarget& Remembered()
{
    static PrintTarget target = PrintTarget::DefaultPrinter();
    return target;
}

PrintTarget TargetOf(const QListWidgetItem* item)
{
    return {static_cast<PrintTarget::Kind>(item->data(kKindRole).toInt()), item->data(kNameRole).toString()};
}

QString StateText(PrinterInfo::State state)
{
    switch (state) {
    case PrinterInfo::State::Stopped:
        return QStringLiteral("ferma");
    case PrinterInfo::State::Refusing:
        return QStringLiteral("rifiuta i lavori");
    case PrinterInfo::State::Ready:
        break;
    }
    return QStringLiteral("pronta");
}

}  // namespace

QString PrinterEntry(const PrinterInfo& printer, bool isDefault)
{
    QString text = printer.name;
    if (isDefault)
        text += QStringLiteral(" (predefinita)");
    text += QStringLiteral(" — ") + StateText(printer.state);
    if (!printer.reason.isEmpty())
        text += QStringLiteral(": ") + printer.reason;
    return text;
}

PrinterDialog::PrinterDialog(const PrintTarget& proposed, QWidget* parent)
    : QDialog(parent), proposed_(proposed.isPdf() ? PrintTarget::PdfFile() : proposed)
{
    setWindowTitle(QStringLiteral("Stampa"));
    auto* layout = new QVBoxLayout(this);
    auto* caption = new QLabel(QStringLiteral("&Stampa su:"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("printerList"));
    list_->setAccessibleName(QStringLiteral("Stampa su"));
    caption->setBuddy(list_);
    note_ = new QLabel(QStringLiteral("Ricerca delle stampanti…"), this);
    note_->setObjectName(QStringLiteral("printerNote"));
    note_->setWordWrap(true);
    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    layout->addWidget(caption);
    layout->addWidget(list_);
    layout->addWidget(note_);
    layout->addWidget(buttons_);
    resize(420, 260);

    connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    connect(list_, &QListWidget::currentItemChanged, this, &PrinterDialog::OnSelectionChanged);

    // Until the server answers: the proposal and a PDF file.
    if (proposed_.kind == PrintTarget::Kind::Printer)
        AddEntry(proposed_.name, proposed_);
    else if (proposed_.kind == PrintTarget::Kind::DefaultPrinter)
        AddEntry(QStringLiteral("Stampante predefinita"), proposed_);
    AddEntry(kPdfEntry, PrintTarget::PdfFile());
    Select(proposed_);
}

void PrinterDialog::Start()
{
    auto printers = std::make_shared<PrinterList>();
    task_ = new ServerTask([printers](ServerWatch& watch) { *printers = ListPrinters(watch); }, this);
    connect(task_, &ServerTask::finished, this, [this, printers](ServerWatch::Stop stop) {
        if (stop == ServerWatch::Stop::None) {
            ShowPrinters(*printers);
        } else {
            PrinterList none;
            none.failure = NoAnswerFailure();
            ShowPrinters(none);
        }
    });
}

void PrinterDialog::ShowPrinters(const PrinterList& printers)
{
    list_->clear();
    bool proposalListed = false;
    for (const PrinterInfo& printer : printers.printers) {
        AddEntry(PrinterEntry(printer, printer.name == printers.defaultPrinter),
                 PrintTarget::Printer(printer.name));
        list_->item(list_->count() - 1)->setToolTip(printer.description);
        proposalListed |= proposed_ == PrintTarget::Printer(printer.name);
    }
    AddEntry(kPdfEntry, PrintTarget::PdfFile());

    QString note = printers.failure.description;
    if (proposalListed || proposed_.isPdf()) {
        Select(proposed_);
    } else if (!printers.defaultPrinter.isEmpty()) {
        Select(PrintTarget::Printer(printers.defaultPrinter));
    } else {
        Select(PrintTarget::PdfFile());
        if (note.isEmpty())
            note = QStringLiteral("Nessuna stampante predefinita");
    }
    if (proposed_.kind == PrintTarget::Kind::Printer && !proposalListed && printers.failure.number == 0)
        note = QStringLiteral("La stampante «%1» non c'è più").arg(proposed_.name);
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
}

PrintTarget PrinterDialog::selected() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item ? TargetOf(item) : PrintTarget::PdfFile();
}

void PrinterDialog::AddEntry(const QString& text, const PrintTarget& target)
{
    auto* item = new QListWidgetItem(text, list_);
    item->setData(kKindRole, static_cast<int>(target.kind));
    item->setData(kNameRole, target.name);
}

void PrinterDialog::Select(const PrintTarget& target)
{
    for (int row = 0; row < list_->count(); ++row)
        if (TargetOf(list_->item(row)) == target)
            list_->setCurrentRow(row);
}

// The button says what will happen.
void PrinterDialog::OnSelectionChanged()
{
    buttons_->button(QDialogButtonBox::Ok)
        ->setText(selected().isPdf() ? QStringLiteral("Salva") : QStringLiteral("Stampa"));
}

std::optional<PrintTarget> ChoosePrinter()
{
    if (activeRecorder)
        return activeRecorder->Answer();
    QWidget* const owner = QApplication::activeWindow();
    PrinterDialog dialog(Remembered(), owner);
    dialog.Start();
    const bool accepted = dialog.exec() == QDialog::Accepted;
    if (owner)
        owner->activateWindow();
    if (!accepted)
        return std::nullopt;
    Remembered() = dialog.selected();
    return dialog.selected();
}

PrinterChoiceRecorder::PrinterChoiceRecorder()
{
    Q_ASSERT(activeRecorder == nullptr);
    activeRecorder = this;
}

PrinterChoiceRecorder::~PrinterChoiceRecorder()
{
    activeRecorder = nullptr;
}

std::optional<PrintTarget> PrinterChoiceRecorder::Answer()
{
    requests_.push_back(remembered_);
    if (answers_.empty())
        return std::nullopt;
    const std::optional<PrintTarget> answer = answers_.front();
    answers_.pop_front();
    if (answer)
        remembered_ = answer->isPdf() ? PrintTarget::PdfFile() : *answer;
    return answer;
}

}  // namespace cf::platform
