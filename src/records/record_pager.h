#pragma once

#include <QString>
#include <QStringView>

#include <optional>

// Paging through a record file twenty records at a time, and which page
// commands are usable. Page numbers are 64-bit: a journal of a million
// records has fifty thousand pages.

inline constexpr qint64 RecordCountPerPage = 20;

// The smallest whole number of pages that holds `recordCount` records.
qint64 PageCountOf(qint64 recordCount);

// The count line: "共有 n 条记录（共 p 页，每页最多显示 20 条记录。）".
QString RecordCountLine(qint64 recordCount);
// "第 p 页".
QString PageCaption(qint64 page);

// The page commands 确定, 到第一页, ←上一页, 下一页→, 到最后页.
struct PageCommands {
    bool go = false;
    bool first = false;
    bool previous = false;
    bool next = false;
    bool last = false;

    bool operator==(const PageCommands &) const = default;
};

// The records to list: first..last, inclusive; `toEnd` lists from `first`
// to the end of the file instead.
struct PageRange {
    qint64 first = 1;
    qint64 last = 0;
    bool toEnd = false;

    bool operator==(const PageRange &) const = default;
};

// The state of the page commands of one listing. Each command sets the page,
// enables and disables commands, and says which records to list.
class RecordPager {
public:
    // A freshly counted file: no page chosen, every page command disabled.
    void Reset(qint64 recordCount);

    qint64 RecordCount() const { return recordCount_; }
    qint64 PageCount() const { return pageCount_; }
    // 0 before a page is chosen.
    qint64 CurrentPage() const { return currentPage_; }
    const PageCommands &Commands() const { return commands_; }

    // 确定 with the typed page: nothing when the text is not a whole number
    // (the box is then just emptied); a number below 1 goes to page 1, one
    // above the page count to the last page.
    std::optional<PageRange> GoTo(QStringView typed);
    // The page that holds record `number` (1-based), gone to as 确定 goes to
    // a typed page.
    PageRange PageHolding(qint64 number);
    PageRange First();
    PageRange Previous();
    PageRange Next();
    PageRange Last();

    // Nothing can be listed: every page command disabled.
    void DisableAll() { commands_ = {}; }

private:
    static PageRange RangeOf(qint64 page);
    PageRange GoToPage(qint64 page);

    qint64 recordCount_ = 0;
    qint64 pageCount_ = 0;
    qint64 currentPage_ = 0;
    PageCommands commands_;
};
