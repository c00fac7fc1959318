#include "records/record_pager.h"

#include <algorithm>

qint64 PageCountOf(qint64 recordCount)
{
    return recordCount <= 0 ? 0 : (recordCount + RecordCountPerPage - 1) / RecordCountPerPage;
}

QString RecordCountLine(qint64 recordCount)
{
    return QStringLiteral("共有 ") + QString::number(recordCount) + QStringLiteral(" 条记录（共 ") +
           QString::number(PageCountOf(recordCount)) + QStringLiteral(" 页，每页最多显示 20 条记录。）");
}

QString PageCaption(qint64 page)
{
    return QStringLiteral("第 ") + QString::number(page) + QStringLiteral(" 页");
}

void RecordPager::Reset(qint64 recordCount)
{
    recordCount_ = recordCount;
    pageCount_ = PageCountOf(recordCount);
    currentPage_ = 0;
    commands_ = {};
}

PageRange RecordPager::RangeOf(qint64 page)
{
    return {(page - 1) * RecordCountPerPage + 1, page * RecordCountPerPage, false};
}

std::optional<PageRange> RecordPager::GoTo(QStringView typed)
{
    bool converted = false;
    const qint64 page = typed.trimmed().toLongLong(&converted);
    if (!converted)
        return std::nullopt;
    return GoToPage(page);
}

PageRange RecordPager::PageHolding(qint64 number)
{
    return GoToPage(PageCountOf(number));
}

PageRange RecordPager::GoToPage(qint64 page)
{
    page = std::min(std::max<qint64>(page, 1), pageCount_);
    currentPage_ = page;
    if (page == 1)
        return First();
    if (page == pageCount_)
        return Last();
    commands_ = {true, true, true, true, true};
    return RangeOf(page);
}

PageRange RecordPager::First()
{
    currentPage_ = 1;
    commands_.first = false;
    commands_.previous = false;
    if (pageCount_ > 1) {
        commands_.go = true;
        commands_.next = true;
        commands_.last = true;
    }
    return RangeOf(1);
}

PageRange RecordPager::Previous()
{
    currentPage_ = std::max<qint64>(currentPage_ - 1, 1);
    if (currentPage_ == 1)
        return First();
    commands_.next = true;
    commands_.last = true;
    return RangeOf(currentPage_);
}

PageRange RecordPager::Next()
{
    currentPage_ = std::min(currentPage_ + 1, pageCount_);
    if (currentPage_ == pageCount_)
        return Last();
    commands_.first = true;
    commands_.previous = true;
    return RangeOf(currentPage_);
}

PageRange RecordPager::Last()
{
    currentPage_ = pageCount_;
    commands_.next = false;
    commands_.last = false;
    if (pageCount_ > 1) {
        commands_.go = true;
        commands_.first = true;
        commands_.previous = true;
    }
    PageRange range = RangeOf(currentPage_);
    range.toEnd = true;
    return range;
}
