#include "ui/widgets/chinese_file_dialog.h"

#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLocale>
#include <QTreeView>

#include <array>
#include <utility>

namespace {

// The columns of the file list, as QFileSystemModel numbers them.
enum FileColumn { NameColumn, SizeColumn, TypeColumn, DateColumn };

// The widest text each column shows, which sets its width: Qt sizes them
// for shorter English texts.
constexpr std::array<std::pair<FileColumn, const char16_t *>, 3> WidestTexts{{
    {SizeColumn, u"1023.9 MB"},
    {TypeColumn, u"KDF 文件"},
    {DateColumn, u"2026/12/30 23:59"},
}};
constexpr int ColumnPadding = 24;

QLocale ChineseLocale()
{
    return QLocale(QLocale::Chinese, QLocale::China);
}

QString SizeText(qint64 bytes)
{
    if (bytes < 1024)
        return QString::number(bytes) + QStringLiteral(" 字节");
    return ChineseLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat);
}

class ChineseFileListModel final : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role != Qt::DisplayRole || !files || index.column() == NameColumn)
            return QIdentityProxyModel::data(index, role);
        const QModelIndex source = mapToSource(index);
        if (index.column() == DateColumn)
            return ChineseLocale().toString(files->lastModified(source), QLocale::ShortFormat);
        if (index.column() == SizeColumn)
            return files->isDir(source) ? QString() : SizeText(files->size(source));
        if (files->isDir(source))
            return QStringLiteral("文件夹");
        const QString suffix = files->fileInfo(source).suffix();
        return suffix.isEmpty() ? QStringLiteral("文件") : suffix.toUpper() + QStringLiteral(" 文件");
    }
};

} // namespace

std::unique_ptr<QFileDialog> MakeChineseFileDialog(QWidget *parent, const QString &title, const QString &folder)
{
    auto dialog = std::make_unique<QFileDialog>(parent, title, folder);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setLocale(ChineseLocale());
    dialog->setProxyModel(new ChineseFileListModel(dialog.get()));
    if (auto *details = dialog->findChild<QTreeView *>()) {
        const QFontMetrics metrics(details->font());
        for (const auto &[column, text] : WidestTexts)
            details->header()->resizeSection(column, metrics.horizontalAdvance(QString::fromUtf16(text)) + ColumnPadding);
    }
    return dialog;
}
