// The pieces of the demo dealership generator: a seeded random source, calendar days, French
// names and numbers, the catalogue of lists, the dealership group, the records and the photos.
// Every text handed to the database is Latin-1, as the client sends and reads it.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dataserver/sqlsession.h"

namespace tarmel::dataserver::demo {

// splitmix64: the same sequence for a seed on every platform and compiler, unlike the standard
// distributions.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t Next();
    // Uniform in [low, high].
    int Range(int low, int high);
    bool Chance(int percent) { return Range(1, 100) <= percent; }
    template <typename T>
    const T& Pick(const std::vector<T>& items) {
        return items[static_cast<size_t>(Range(0, static_cast<int>(items.size()) - 1))];
    }

private:
    uint64_t state_;
};

// Calendar days counted from 1970-01-01.
int DaysFromCivil(int year, int month, int day);
std::string IsoDate(int days);  // "yyyy-mm-dd"
// The fixed day the demo's dates are counted back from, so a seed always gives the same file.
constexpr int kAnchorYear = 2026, kAnchorMonth = 11, kAnchorDay = 30;
int AnchorDay();

// A prepared INSERT whose values are bound by column name; unbound columns stay NULL.
class Inserter {
public:
    Inserter(SqlSession& db, std::string_view table, std::initializer_list<const char*> columns);
    ~Inserter();
    Inserter(const Inserter&) = delete;
    Inserter& operator=(const Inserter&) = delete;

    Inserter& Text(const char* column, std::string_view latin1);
    Inserter& Utf8(const char* column, std::string_view utf8);  // converted to Latin-1
    Inserter& Int(const char* column, int64_t value);
    Inserter& Real(const char* column, double value);
    Inserter& Date(const char* column, int days);  // ISO text
    // Runs the statement and clears the bindings; false (with error set) on failure.
    bool Run();
    const std::string& error() const { return error_; }

private:
    int Index(const char* column);
    std::unique_ptr<SqlStatement> stmt_;
    std::string table_;
    std::map<std::string, int, std::less<>> index_;
    std::string error_;
};

// ---- French people, places and numbers -------------------------------------------------------

struct Person {
    std::string civility;   // "M." / "Mme" (Latin-1)
    std::string firstName;  // Latin-1
    std::string lastName;   // Latin-1
};
struct Address {
    std::string street;  // Latin-1
    std::string cp;
    std::string town;  // Latin-1
};
Person RandomPerson(Random& rng);
Address RandomAddress(Random& rng, std::string_view concession);
std::string RandomPlate(Random& rng);                                  // "AB-123-CD"
std::string RandomLandline(Random& rng, std::string_view concession);  // "0472123456"
std::string RandomMobile(Random& rng);                                 // "0612345678"
std::string EmailOf(const Person& person, Random& rng);
std::string RandomVin(Random& rng, std::string_view make);
std::string RandomCompany(Random& rng);  // a buyer from the trade (Latin-1)

// ---- Catalogue: value lists, makes, models, versions -------------------------------------------

struct NewModel {
    const char* make;
    const char* model;
    std::vector<const char*> versions;  // version types (trims)
    int basePrice;                      // euros, catalogue price of the first version
};
struct UsedModel {
    const char* make;
    const char* model;
};
const std::vector<NewModel>& NewModels();
const std::vector<UsedModel>& UsedModels();
// The parameter list of a type (UTF-8 items, in list order), as seeded into ListRubrics.
const std::vector<const char*>& ParameterList(std::string_view type);
// Option lists of the list-box fields: code and label (UTF-8).
struct Option {
    const char* code;
    const char* label;
};
const std::vector<Option>& OptionList(std::string_view key);
// Every option list key, in document order.
const std::vector<const char*>& OptionListKeys();
// Every parameter list type seeded into ListRubrics, in document order.
const std::vector<const char*>& ParameterListTypes();
// The VAT rate of a dealership in percent, as its value lists send it ("TauxTVA").
double VatPercent(std::string_view concession);

bool SeedCatalogue(SqlSession& db, std::string& error);

// ---- The dealership group ---------------------------------------------------------------------

struct SiteDef {
    const char* site;
    const char* concession;
    const char* label;  // UTF-8
    const char* makes;  // makes sold, searched as text
    double fileFee;     // fixed file-handling fee
};
const std::vector<SiteDef>& Sites();
struct StaffDef {
    int idCom;
    const char* name;   // UTF-8
    const char* sites;  // ";"-separated
    const char* concession;
    const char* role;  // UTF-8
};
const std::vector<StaffDef>& Staff();
bool SeedGroup(SqlSession& db, std::string& error);

// ---- Records ------------------------------------------------------------------------------------

// Identifiers come from one counter, as the server's own inserts take them.
struct IdCounter {
    int64_t next = 1;
    int64_t Take() { return next++; }
};
bool SeedVehicles(SqlSession& db, Random& rng, int count, IdCounter& ids, int photoVehicles,
                  const std::string& photoDir, std::string& error);
bool SeedClients(SqlSession& db, Random& rng, int count, IdCounter& ids, std::string& error);

// ---- Photos
// ---------------------------------------------------------------------------------------

// Writes a baseline JPEG of a stylised car in the given body colour (RGB); false on error.
bool WriteCarJpeg(const std::string& path, int width, int height, uint32_t rgb, int variant,
                  std::string& error);

}  // namespace tarmel::dataserver::demo
