#include "ui/windows/page_output.h"

#include "ui/windows/dialog_service.h"
#include "ui/windows/pdf_ideographs.h"

#include <QBuffer>
#include <QDir>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cups/cups.h>

namespace {

// Puts the PDF at `path` back with its radicals named as ideographs, so its
// text reads as printed; the reason when it cannot.
std::optional<QString> NameIdeographsIn(const QString &path)
{
    QFile written(path);
    if (!written.open(QIODevice::ReadOnly))
        return written.errorString();
    const QByteArray pdf = written.readAll();
    written.close();
    const QByteArray named = WithIdeographsForRadicals(pdf);
    if (named == pdf)
        return std::nullopt;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(named) != named.size() || !file.commit())
        return file.errorString();
    return std::nullopt;
}

} // namespace

bool SystemPrinters::HasDefaultPrinter() const
{
    return !QPrinterInfo::defaultPrinter().isNull();
}

std::optional<QString> SystemPrinters::PrintOnDefaultPrinter(const PrintPage &page, const QString &title)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return QStringLiteral("没有默认打印机。");
    const QTemporaryDir folder;
    if (!folder.isValid())
        return QStringLiteral("无法建立打印用的临时文件。");
    const QString pageFile = folder.filePath(QStringLiteral("page.pdf"));
    {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setColorMode(info.supportedColorModes().contains(QPrinter::Color) ? QPrinter::Color
                                                                                 : QPrinter::GrayScale);
        printer.setDocName(title);
        printer.setOutputFileName(pageFile);
        if (!PaintPrintPageOn(printer, page))
            return QStringLiteral("无法生成打印页面。");
    }
    if (const std::optional<QString> fault = NameIdeographsIn(pageFile))
        return fault;
    // A queue with an instance ("printer/instance") takes jobs under its own name.
    const QByteArray queue = info.printerName().section(QLatin1Char('/'), 0, 0).toLocal8Bit();
    if (cupsPrintFile(queue.constData(), QFile::encodeName(pageFile).constData(), title.toUtf8().constData(), 0,
                      nullptr) == 0)
        return QString::fromUtf8(cupsLastErrorString());
    return std::nullopt;
}

std::optional<QString> WritePdfFile(const PrintPage &page, const QString &title, const QString &path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return file.errorString();
    QBuffer painted;
    painted.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&painted);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Ravezaz"));
        writer.setPageSize(QPageSize(QPageSize::A4));
        if (!PaintPrintPageOn(writer, page)) {
            file.cancelWriting();
            return QStringLiteral("无法生成PDF页面。");
        }
    }
    const QByteArray pdf = WithIdeographsForRadicals(painted.data());
    if (file.write(pdf) != pdf.size()) {
        const QString fault = file.errorString();
        file.cancelWriting();
        return fault;
    }
    if (!file.commit())
        return file.errorString();
    return std::nullopt;
}

QString DocumentsFolderOrHome()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir().mkpath(documents) && QFileInfo(documents).isWritable())
        return documents;
    return QDir::homePath();
}

namespace {

PrintOutcome SaveAsPdf(const PrintJob &job, const PageOutput &output, QWidget *owner)
{
    const QString question = QStringLiteral("没有找到可用的打印机。是否将此卦保存为PDF文件？");
    if (!output.dialogs->AskYesNo(owner, question, ProgramTitle(), true))
        return PrintOutcome::NotWanted;
    const QString proposed = QDir(output.pdfFolder()).filePath(job.pdfFileName);
    const std::optional<QString> path =
        output.dialogs->AskSaveFile(owner, QStringLiteral("保存为PDF文件"), proposed, QStringLiteral("PDF文件 (*.pdf)"));
    if (!path)
        return PrintOutcome::NotWanted;
    if (const std::optional<QString> fault = WritePdfFile(job.page, job.title, *path)) {
        output.dialogs->ShowMessage(owner,
                                    QStringLiteral("无法保存PDF文件：\n%1\n\n%2\n请另选一个可以写入的文件夹。")
                                        .arg(QDir::toNativeSeparators(*path), *fault),
                                    ProgramTitle(), DialogService::Icon::Warning);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::SavedAsPdf;
}

} // namespace

PrintOutcome PrintOrOfferPdf(const PrintJob &job, const PageOutput &output, QWidget *owner)
{
    if (!output.printers->HasDefaultPrinter())
        return SaveAsPdf(job, output, owner);
    if (const std::optional<QString> fault = output.printers->PrintOnDefaultPrinter(job.page, job.title)) {
        output.dialogs->ShowMessage(owner, QStringLiteral("打印失败，打印机没有接受此打印任务。\n\n%1").arg(*fault),
                                    ProgramTitle(), DialogService::Icon::Warning);
        return PrintOutcome::Failed;
    }
    return PrintOutcome::Printed;
}
