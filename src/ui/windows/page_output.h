#pragma once

#include "ui/windows/print_page.h"

#include <QString>

#include <functional>
#include <optional>

class DialogService;
class QWidget;

// The machine's printers, as far as printing a cast needs them.
class Printers {
public:
    virtual ~Printers() = default;
    virtual bool HasDefaultPrinter() const = 0;
    // Prints the page on the default printer without a dialog; the reason
    // when it cannot be painted or the printing system refuses the job.
    virtual std::optional<QString> PrintOnDefaultPrinter(const PrintPage &page, const QString &title) = 0;
};

// The printers CUPS knows. The page is painted onto a QPrinter set up for
// the default printer (its page size, high resolution, colour when the
// printer has it) and handed to CUPS as a job, whose refusal is reported;
// Qt's own hand-over to CUPS drops that answer.
class SystemPrinters final : public Printers {
public:
    bool HasDefaultPrinter() const override;
    std::optional<QString> PrintOnDefaultPrinter(const PrintPage &page, const QString &title) override;
};

// Writes the page as a one-page PDF file titled `title`, whose text reads
// back as the characters printed; the reason when the file cannot be written. An existing file at `path` is replaced only once
// the new one is complete.
std::optional<QString> WritePdfFile(const PrintPage &page, const QString &title, const QString &path);

// Where a PDF is proposed: the user's documents folder, made when missing,
// or the home folder when there is none.
QString DocumentsFolderOrHome();

// A cast ready to go out: the page, its document title and the file name
// proposed for its PDF.
struct PrintJob {
    PrintPage page;
    QString title;
    QString pdfFileName;
};

// What sending a page out uses of the rest of the program.
struct PageOutput {
    DialogService *dialogs = nullptr;
    Printers *printers = nullptr;
    std::function<QString()> pdfFolder = DocumentsFolderOrHome;
};

enum class PrintOutcome { Printed, SavedAsPdf, NotWanted, Failed };

// Prints the job on the default printer at once. With no printer it says so
// and offers a PDF file instead, in a save dialog over `owner`. Every
// failure gets a message.
PrintOutcome PrintOrOfferPdf(const PrintJob &job, const PageOutput &output, QWidget *owner);
