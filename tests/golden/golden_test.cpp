// Golden cases of the form engine, without a window: each folder of cases/ holds the structure
// description and the record document the server answered, the host's request and the user's
// edits; the load is planned field by field as the tab builder plans it, the edits are applied
// as the field handlers apply them, and the plan and the pages' statements must match the
// expected files. TARMEL_GOLDEN_WRITE=1 writes the actual outputs into the folders instead.
//
// Files are Latin-1 bytes. In plan.txt a value's backslash, CR, LF and tab are written \\ \r \n \t.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "formdesc/fieldentry.h"
#include "formdesc/fieldrules.h"
#include "formdesc/valuesource.h"
#include "record/fieldplan.h"
#include "record/loaddecision.h"
#include "record/statements.h"
#include "tests/support/scratchdir.h"

namespace tarmel {
namespace {

namespace fs = std::filesystem;

// Stands for a field's control: the statement builder only asks whether a field has one.
QWidget* const kControl = reinterpret_cast<QWidget*>(static_cast<std::uintptr_t>(0x10));

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (size_t at; (at = line.find(separator, from)) != std::string::npos; from = at + 1)
        parts.push_back(line.substr(from, at - from));
    parts.push_back(line.substr(from));
    return parts;
}

std::string Escaped(const std::string& value) {
    std::string out;
    for (const char c : value) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out;
}

// request.txt: customer (the client label, empty when no client is shown), idTypeVO, idUser,
// newRecord (0/1), userConcession, today (dd/mm/yyyy).
struct HostRequest {
    std::string customer;
    LoadRequest load;
    std::string userConcession;
    Date today;
};

HostRequest ReadRequest(const fs::path& path) {
    std::map<std::string, std::string> keys;
    for (const std::string& line : Lines(testsupport::readFile(path.string()))) {
        const size_t equals = line.find('=');
        if (equals != std::string::npos) keys[line.substr(0, equals)] = line.substr(equals + 1);
    }
    for (const char* key : {"customer", "idTypeVO", "idUser", "newRecord", "userConcession", "today"})
        EXPECT_TRUE(keys.count(key)) << path << " lacks " << key;
    HostRequest r;
    r.customer = keys["customer"];
    r.load.customerShown = !r.customer.empty();
    r.load.idTypeVO = std::atoi(keys["idTypeVO"].c_str());
    r.load.idUser = keys["idUser"];
    r.load.newRecord = keys["newRecord"] == "1";
    r.userConcession = keys["userConcession"];
    r.today = ParseShortDate(keys["today"]).value_or(Date{});
    EXPECT_NE(r.today.year, 0) << path << ": today is no date";
    return r;
}

struct PlannedPage {
    int number = 0;
    PageEntry entry;
    std::vector<TsDesc> descriptors;
    std::vector<FieldPlan> plans;
};

struct Outputs {
    std::string plan, statements;
};

// The descriptor the tab builder makes of an entry, before its values.
TsDesc DescriptorOf(const FieldEntry& entry) {
    TsDesc desc;
    TakeDescription(desc, entry);
    return desc;
}

Outputs RunCase(const fs::path& dir) {
    const HostRequest request = ReadRequest(dir / "request.txt");
    TXml structure, document;
    structure.setText(testsupport::readFile((dir / "structure.xml").string()));
    document.setText(testsupport::readFile((dir / "record.xml").string()));

    DateLimits limits;
    const LoadDecision load = DecideLoad(document, request.load, limits);
    EXPECT_EQ(load.user.concession, request.userConcession) << "the document is not the user's";

    // The documents the pages read, as the header phase leaves them: a client document is the
    // client too; another dealership's record leaves both empty.
    TXml record = document, client;
    if (request.load.customerShown) client = document;
    if (load.emptyPages) {
        record.setText({});
        client.setText({});
    }
    FieldContext context;
    context.groupNames = load.groupNames;
    context.rights = load.rights;
    context.newRecord = request.load.newRecord;
    context.vehicleState = SelectedVehicleSource(client, 0).vehicleState;
    context.today = request.today;

    std::vector<PlannedPage> pages;
    std::vector<std::string> keys;
    for (int number = 0; number < kPageCount; ++number) {
        PageEntry entry = FindPageEntry(structure, load.kind.kind, number);
        if (!entry.found) continue;
        keys.push_back(entry.fieldKey);
        pages.push_back({number, std::move(entry), {}, {}});
    }
    const FieldEntriesByKey entries = ReadFieldEntries(structure, keys);

    for (PlannedPage& page : pages) {
        const TXml source = page.number == 9   ? RecordElementSource(record, load.kind.table)
                            : page.number == 8 ? FirstVehicleSource(client)
                                               : load.recordSource;
        for (const FieldEntry& entry : entries.at(page.entry.fieldKey)) {
            TsDesc desc = DescriptorOf(entry);
            FieldInput input;
            input.number = page.number;
            input.desc = &desc;
            input.element = ValueElement(desc, true, entry.vInfoHasSeparator);
            input.box = {entry.place.left, entry.place.top, entry.place.width, entry.place.height};
            input.enabledCode = entry.place.enabledCode;
            const FieldPlan plan = PlanField(input, source, context);
            desc.storedValue = plan.storedValue;
            desc.currentValue = plan.value;
            // With no form, a field gets the control the builder creates; a button is no value.
            if (plan.createControl && desc.controlKind != kind::Button) desc.boundControl = kControl;
            page.descriptors.push_back(desc);
            page.plans.push_back(plan);
        }
    }

    // An edit types into the page's last field of that column; a field without an enabled
    // control cannot be typed into, so its value stays.
    int lineNumber = 0;
    for (const std::string& line : Lines(testsupport::readFile((dir / "edits.txt").string()))) {
        ++lineNumber;
        if (line.empty()) continue;
        const std::vector<std::string> parts = Split(line, '\t');
        if (parts.size() != 3) {
            ADD_FAILURE() << "edits.txt:" << lineNumber << " is not page<TAB>column<TAB>value";
            continue;
        }
        const int number = std::atoi(parts[0].c_str());
        TsDesc* target = nullptr;
        FieldPlan* plan = nullptr;
        for (PlannedPage& page : pages) {
            if (page.number != number) continue;
            for (size_t i = 0; i < page.descriptors.size(); ++i) {
                if (page.descriptors[i].columnName != parts[1]) continue;
                target = &page.descriptors[i];
                plan = &page.plans[i];
            }
        }
        if (target == nullptr) {
            ADD_FAILURE() << "edits.txt:" << lineNumber << ": page " << number << " has no field "
                          << parts[1];
            continue;
        }
        if (target->boundControl != nullptr && plan->enabled)
            target->currentValue = EditValue(parts[2], target->dataType);
    }

    StatementContext statement;
    statement.table = pages.empty() || pages.front().number != 0 ? "" : pages.front().entry.tableTag;
    statement.family = load.kind.family();
    statement.recordTypeCode = request.load.customerShown ? "" : load.kind.typeCode;
    statement.idTypeVO = request.load.idTypeVO;
    statement.clientId = request.customer;
    statement.idUser = request.load.idUser;
    statement.concession = load.user.concession;
    statement.today = request.today;

    Outputs out;
    for (const PlannedPage& page : pages) {
        for (size_t i = 0; i < page.descriptors.size(); ++i) {
            const TsDesc& d = page.descriptors[i];
            const FieldPlan& p = page.plans[i];
            out.plan += "page " + std::to_string(page.number) + " " + d.columnName +
                        " value=" + Escaped(p.value) +
                        " stored=" + Escaped(p.storedValue) + " rights=" + (p.rights ? "1" : "0") +
                        " enabled=" + (p.enabled ? "1" : "0") + " visible=" + (p.visible ? "1" : "0") +
                        "\n";
        }
        statement.page = page.number;
        statement.insert = request.load.newRecord;
        const PageStatement result = BuildPageStatement(page.descriptors, statement);
        out.statements += "page " + std::to_string(page.number) + ": ";
        out.statements += result.refusal.empty() ? result.statement : "refused: " + result.refusal;
        out.statements += "\n";
    }
    return out;
}

// Every line that differs, with its number, so a changed rule shows where it lands.
std::string Diff(const std::string& expected, const std::string& actual) {
    const std::vector<std::string> e = Lines(expected), a = Lines(actual);
    std::string out;
    for (size_t i = 0; i < std::max(e.size(), a.size()); ++i) {
        const std::string* left = i < e.size() ? &e[i] : nullptr;
        const std::string* right = i < a.size() ? &a[i] : nullptr;
        if (left && right && *left == *right) continue;
        out += "  line " + std::to_string(i + 1) + ":\n";
        out += "    expected: " + (left ? *left : std::string("(none)")) + "\n";
        out += "    actual:   " + (right ? *right : std::string("(none)")) + "\n";
    }
    return out;
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& item : fs::directory_iterator(TARMEL_GOLDEN_CASES))
        if (item.is_directory()) names.push_back(item.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class GoldenCase : public testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, PlanAndStatements) {
    const fs::path dir = fs::path(TARMEL_GOLDEN_CASES) / GetParam();
    const Outputs actual = RunCase(dir);
    const char* write = std::getenv("TARMEL_GOLDEN_WRITE");
    if (write != nullptr && std::string(write) == "1") {
        testsupport::writeFile((dir / "plan.txt").string(), actual.plan);
        testsupport::writeFile((dir / "statements.txt").string(), actual.statements);
        GTEST_SKIP() << "wrote " << dir;
    }
    for (const auto& [file, text] : {std::pair{"statements.txt", &actual.statements},
                                     std::pair{"plan.txt", &actual.plan}}) {
        ASSERT_TRUE(fs::exists(dir / file)) << dir / file << " is missing";
        const std::string expected = testsupport::readFile((dir / file).string());
        EXPECT_TRUE(expected == *text) << GetParam() << "/" << file << " differs:\n"
                                       << Diff(expected, *text);
    }
}

std::string TestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, testing::ValuesIn(CaseNames()), TestName);

TEST(GoldenCases, EveryFolderIsComplete) {
    const std::vector<std::string> names = CaseNames();
    EXPECT_GE(names.size(), 7u);
    for (const std::string& name : names) {
        for (const char* file : {"structure.xml", "record.xml", "request.txt", "edits.txt",
                                 "statements.txt", "plan.txt"})
            EXPECT_TRUE(fs::exists(fs::path(TARMEL_GOLDEN_CASES) / name / file)) << name << "/" << file;
    }
}

}  // namespace
}  // namespace tarmel
