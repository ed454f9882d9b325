// Delimited text: field quoting, and the runs table exported as a spreadsheet file.

#include "data/Cp1251.h"
#include "data/Csv.h"
#include "table/TableExport.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

using test::ParseCsv;

const std::string Awkward = "Ралли \"Мк; 2\"\tзима"; // separator, quote, tab and Cyrillic letters

TEST(Csv, FieldsSurviveQuotingAndTsvRowsStayOneLine) {
    std::string csv;
    AppendCsvField(csv, Awkward, ';');
    EXPECT_EQ(csv, "\"Ралли \"\"Мк; 2\"\"\tзима\"");
    csv += ';';
    AppendCsvField(csv, "plain, with comma", ';'); // not the separator here: left alone
    csv += ';';
    AppendCsvField(csv, "two\nlines", ';');
    EXPECT_EQ(ParseCsv(csv, ';'), (std::vector<std::vector<std::string>>{{Awkward, "plain, with comma", "two\nlines"}}));

    std::string tsv;
    AppendTsvField(tsv, Awkward + "\r\nконец");
    EXPECT_EQ(tsv, "Ралли  Мк; 2  зима  конец");

    EXPECT_EQ(SpreadsheetSeparator(","), ';');
    EXPECT_EQ(SpreadsheetSeparator("."), ',');
}

TEST(TableExport, WritesTheShownColumnsAsTheCellsShowThem) {
    RunData data;
    data.CarList = {NameEntry{Utf8ToCp1251(Awkward)}, NameEntry{"Vortan GT"}};
    data.ClassList = {NameEntry{"A1"}};
    data.ProfList = {NameEntry{"Tester"}};
    for (NameList* list : {&data.WetnessList, &data.SurfAgeList, &data.TyresList, &data.DamageList,
                           &data.WeatherList})
        for (NameEntry& e : *list)
            e.Name = "Dry";
    SelectionState sel;
    for (int i = 1; i <= 3; ++i) {
        RunRecord r;
        r.Finished = true;
        r.RunNo = 10 + i;
        r.SelNo = i;
        r.CarIdx = (i + 1) % 2;
        r.Split1 = 20 * i;
        r.Split2 = 40 * i + 0.5;
        r.Finish = 83.456 * i;
        sel.Selection.push_back(r);
    }
    sel.SelCount = 3;
    DisplayState disp;
    disp.NumMode = NumberMode::Grayed;
    disp.Relative = true;
    disp.SelCur = 2;
    const std::vector<int> columns{5, 1, 0};
    const std::vector<std::string> captions{"Финиш", "Машина", "Номер проезда"};

    for (const std::string dec : {",", "."}) {
        const TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{.DecimalSep = dec});
        const std::string bytes = ExportTableCsv(snap, columns, captions);
        ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
        EXPECT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
        EXPECT_EQ(bytes.find("\r\n"), bytes.find('\n') - 1); // every line ends with CR LF

        std::vector<std::vector<std::string>> expected{captions};
        for (int row = 1; row <= 3; ++row)
            expected.push_back({CellText(snap, row, 5), CellText(snap, row, 1), CellText(snap, row, 0)});
        EXPECT_EQ(ParseCsv(bytes.substr(3), SpreadsheetSeparator(dec)), expected) << dec;
    }
    // What the cells show: signed relative times with the user's decimal comma, the grayed number.
    const TableSnapshot snap = FillRunsTable(data, sel, disp, Conventions{.DecimalSep = ","});
    EXPECT_EQ(ParseCsv(ExportTableCsv(snap, columns, captions).substr(3), ';')[1],
              (std::vector<std::string>{"-1:23,46", Awkward, "1 / 11"}));
}

} // namespace
} // namespace kel
