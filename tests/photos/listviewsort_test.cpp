// The order of a list by a column: comparison by type, the header clicks, and the photos of a
// local folder listed newest first.
#include "photos/listviewsort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>

#include "photos/localphotos.h"
#include "tests/support/scratchdir.h"

namespace tarmel::photos {
namespace {

using T = ColumnSortType;

TEST(CompareSortTexts, ByTypeAndAsTextWhenNotAValue) {
    struct Case {
        T type;
        const char* a;
        const char* b;
        int order;
    } cases[] = {
        {T::Text, "Abc", "abc", -1},  // case counts: upper case first
        {T::Text, "b", "ab", 1},
        {T::Integer, "9", "10", -1},
        {T::Integer, "9", "abc", -1},  // text against a number: "9" < "a"
        {T::Integer, "10", "9x", -1},  // "1" < "9" as texts
        {T::Decimal, "2.5", "10", -1},
        {T::Decimal, "2.50", "2.5", 0},
        {T::Date, "02/03/2010", "01/04/2010", -1},
        {T::Date, "02/03/10", "01/03/2010", 1},
        {T::Time, "09:00:00", "18:00", -1},
        {T::Time, "25:00", "09:00", 1},  // no time: compared as text
        {T::DateTime, "02/03/10 09:00:00", "02/03/10 18:00:00", -1},
        {T::DateTime, "02/03/10 09:00:00", "01/03/10 10:00:00", 1},
        {T::DateTime, "31/12/99 23:00:00", "01/01/00 00:00:00", -1},  // 1999 before 2000
        {T::DateTime, "", "01/01/00 00:00:00", -1},
    };
    for (const Case& c : cases) {
        const int order = CompareSortTexts(c.a, c.b, c.type);
        EXPECT_EQ((order > 0) - (order < 0), c.order) << c.a << " / " << c.b;
    }
}

TEST(ListViewSort, HeaderClicksChooseColumnAndDirection) {
    ListViewSort sort{{T::Text, T::DateTime}, 1, true};
    const std::vector<ListRow> rows = {{"b.jpg", "01/03/10 10:00:00"},
                                       {"c.jpg", "02/03/10 09:00:00"},
                                       {"a.jpg", "02/03/10 18:00:00"}};
    auto names = [&rows, &sort] {
        std::vector<ListRow> sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&sort](const ListRow& x, const ListRow& y) { return sort.before(x, y); });
        std::string out;
        for (const ListRow& r : sorted) out += r[0].substr(0, 1);
        return out;
    };
    EXPECT_EQ(names(), "acb") << "newest first";
    const std::pair<int, const char*> clicks[] = {
        {0, "abc"},  // the name: ascending
        {0, "cba"},  // again: descending
        {1, "bca"},  // the date: ascending
        {5, "bca"},  // a column the rows do not have: all equal, order kept
    };
    for (const auto& [column, expected] : clicks) {
        sort.columnClicked(column);
        EXPECT_EQ(names(), expected) << "click on " << column;
    }
    EXPECT_EQ(sort.typeOf(5), T::Text);
}

TEST(ListLocalPhotos, JpegFilesOnlyWithTheirTime) {
    testsupport::ScratchDir dir;
    const std::filesystem::path folder = dir.file("photos");
    std::filesystem::create_directories(folder / "x.jpg");  // a folder, whatever its name
    for (const char* name : {"a.jpg", "B.JPG", "notes.txt", "c.jpeg"}) std::ofstream(folder / name);
    const std::chrono::sys_seconds noon =
        std::chrono::sys_days{std::chrono::year{2010} / 3 / 2} + std::chrono::hours{12};
    const auto when = std::filesystem::file_time_type::clock::from_sys(noon);
    std::filesystem::last_write_time(folder / "a.jpg", when);

    std::vector<LocalPhoto> photos = ListLocalPhotos(folder);
    std::sort(photos.begin(), photos.end(),
              [](const LocalPhoto& x, const LocalPhoto& y) { return x.name < y.name; });
    ASSERT_EQ(photos.size(), 2u);
    EXPECT_EQ(photos[0].name, "B.JPG");
    EXPECT_EQ(photos[1].name, "a.jpg");
    EXPECT_EQ(photos[1].modified.substr(0, 8), "02/03/10");
    EXPECT_EQ(photos[1].modified.size(), 17u) << photos[1].modified;
    EXPECT_TRUE(ListLocalPhotos(dir.file("absent")).empty());
    EXPECT_TRUE(ListLocalPhotos("").empty());
}

}  // namespace
}  // namespace tarmel::photos
