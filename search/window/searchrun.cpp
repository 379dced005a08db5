// A search run: the panel's criteria remembered and turned into the SELECT, sent to "AxQuery" with
// a row limit, and the answer listed in the result grid.
#include <QComboBox>
#include <QHeaderView>
#include <QPainter>

#include <algorithm>
#include <array>

#include "app/settingsfile.h"
#include "formdesc/window/fieldcontrols.h"
#include "mainwindow/axtarmelimpl1.h"
#include "mainwindow/toolkit/grid.h"
#include "search/searchquery.h"
#include "search/searchresults.h"
#include "server/xml/texttools.h"

namespace tarmel {

namespace {

using form::L;
using form::Q;

constexpr int kFirstRows = 50;
constexpr const char* kResultFile = "/XmlSInf.xml";

// The row images: another dealership, another site, one of the user's sites.
const QPixmap& RowImage(int image) {
    static const std::array<QPixmap, 3> kImages = [] {
        const QColor colours[] = {QColor(200, 40, 40), QColor(230, 150, 20), QColor(40, 160, 60)};
        std::array<QPixmap, 3> images;
        for (size_t i = 0; i < images.size(); ++i) {
            QPixmap picture(14, 14);
            picture.fill(Qt::transparent);
            QPainter painter(&picture);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setBrush(colours[i]);
            painter.setPen(Qt::NoPen);
            painter.drawEllipse(1, 1, 12, 12);
            images[i] = picture;
        }
        return images;
    }();
    return kImages[size_t(std::clamp(image - kOtherDealership, 0, 2))];
}

ui::SortKind GridSort(SearchSort sort) {
    switch (sort) {
    case SearchSort::Number: return ui::SortKind::Number;
    case SearchSort::Date: return ui::SortKind::Date;
    case SearchSort::Text: break;
    }
    return ui::SortKind::Text;
}

void ApplyLayout(ui::Grid& grid, const SearchGridLayout& layout) {
    QHeaderView* header = grid.horizontalHeader();
    for (int c = 0; c < kSearchColumns && c < grid.columnCount(); ++c) {
        grid.horizontalHeaderItem(c)->setText(Q(layout.headers[size_t(c)]));
        const int width = layout.widths[size_t(c)];
        grid.setColumnWidth(c, width > 0 ? width : header->defaultSectionSize());
        grid.setColumnSort(c, GridSort(layout.sorts[size_t(c)]));
    }
    grid.setColumnHidden(0, true);
    header->setSortIndicatorShown(true);
    header->setSortIndicator(layout.sortedColumn, Qt::AscendingOrder);
}

}  // namespace

void TAxTarmel::HttpGetSearchInfo(int step) {
    const bool vehicle = Record.RecordKind != "_TCL";
    const std::string text = CleanSearchText(L(Text(QStringLiteral("ncbSearch"))));
    auto enabled = [this](const char* button) {
        return Control(QString::fromLatin1(button))->isEnabled();
    };
    const int kind = SearchKindFromButtons(vehicle, enabled("TSNVO"), enabled("TSImmat"),
                                           enabled("TSClient"), enabled("TSMobile"));
    auto* types = Ctl<QComboBox>(QStringLiteral("ncbTypeVO"));
    auto* sites = Ctl<QComboBox>(QStringLiteral("ncbSite"));
    {
        // Each write rewrites and syncs the whole file: only what changed is written.
        SettingsFile settings(Host.IniFileName);
        auto remember = [&settings](const char* key, const std::string& value) {
            if (settings.GetTagRegistry(key) != value) settings.SetTagRegistry(key, value);
        };
        if (vehicle) {
            remember("svTypeVO", L(types->currentText()));
            remember("svSite", L(sites->currentText()));
            remember("svText1", text);
            remember("svOpt1", std::to_string(kind));
        } else {
            remember("svText2", text);
            remember("svOpt2", std::to_string(kind));
        }
    }

    SearchCriteria criteria;
    criteria.kind = kind;
    criteria.text = text;
    criteria.site = L(sites->currentText());
    criteria.familyPosition = types->currentIndex();
    criteria.withFirstName = Search.WithFirstName;
    criteria.firstName = L(Text(QStringLiteral("aCliPrenom")));
    criteria.exact = Search.ExactSearch;
    criteria.preset = Search.PresetSearch;
    if (criteria.preset)
        criteria.presetClause = SettingsFile(Host.IniFileName).GetTagRegistry("WhereClause");
    criteria.userConcession = Host.UserConcession;
    const SearchQuery query = BuildSearchQuery(criteria);
    SetText(QStringLiteral("LbSearch"), Q(SearchTextCaption(Search.ExactSearch)));
    Search.WithFirstName = false;

    if (step == 0) Search.SearchMaxRows = kFirstRows;
    Search.SearchMaxRows += step;
    Server.HttpExecute(Host.BaseHRef + "AxQuery?XMLC_OutputFormat=XML&SQL=" + query.sent +
                           "&MaxRows=" + std::to_string(Search.SearchMaxRows),
                       Host.WorkDir + kResultFile);
    // A failed search leaves the rows of the one before.
    if (!Text(QStringLiteral("LbDebugInfo0")).isEmpty()) return;

    const auto document = LoadTextFile(Host.WorkDir + kResultFile);
    const SearchAnswer answer = ReadSearchAnswer(TXml(document.value_or(std::string())), kind,
                                                 Host.UserConcession, Host.UserSite);
    ApplyPlan(ControlPlan().Show("JvXPBtnSearchPlus", SearchPlusVisible(answer, kind)));
    SetText(QStringLiteral("ncbLabel"), Q(SearchCountLabel(answer)));

    auto* grid = Ctl<ui::Grid>(QStringLiteral("ngSearch"));
    const SearchGridLayout layout = SearchLayoutFor(kind);
    Search.Kind = kind;
    Search.SearchColumn = layout.searchColumn;
    grid->setUpdatesEnabled(false);
    grid->setRowCount(0);
    ApplyLayout(*grid, layout);
    grid->setRowCount(int(answer.rows.size()));
    for (int r = 0; r < int(answer.rows.size()); ++r) {
        const SearchRow& row = answer.rows[size_t(r)];
        grid->setCellText(r, 0, Q(row.id));
        grid->setCellImage(r, 1, RowImage(row.image));
        for (int c = 0; c < 5; ++c) grid->setCellText(r, c + 2, Q(row.info[size_t(c)]));
    }
    grid->setUpdatesEnabled(true);
}

void TAxTarmel::JvXPBtnSearchPlusClick() { HttpGetSearchInfo(kFirstRows); }

}  // namespace tarmel
