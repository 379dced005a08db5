// The client statement's limits on the PostgreSQL path, checked token by token.
#include "dataserver/pgclientlimits.h"

#include <string_view>

#include "dataserver/textutil.h"

namespace tarmel::dataserver {

namespace {

// Keywords that may stand before "(" without calling a function.
constexpr std::string_view kKeywordsBeforeParen[] = {
    "all",      "and",      "any",       "as",     "between", "by",     "case",  "cast",
    "conflict", "distinct", "else",      "except", "exists",  "filter", "from",  "having",
    "ilike",    "in",       "intersect", "is",     "join",    "like",   "limit", "not",
    "offset",   "on",       "or",        "over",   "select",  "set",    "some",  "then",
    "union",    "using",    "values",    "when",   "where"};

constexpr std::string_view kFunctions[] = {"abs",       "avg",     "coalesce", "count", "ifnull",
                                           "length",    "lower",   "ltrim",    "max",   "min",
                                           "nullif",    "replace", "round",    "rtrim", "substr",
                                           "substring", "sum",     "trim",     "upper"};

// Names that reach the catalog without a "pg_" prefix: its schemas, the types whose values are
// catalog lookups, and the keywords that answer the session's identity.
constexpr std::string_view kCatalogNames[] = {
    "regclass",        "regcollation", "regconfig",    "regdictionary",     "regnamespace",
    "regoper",         "regoperator",  "regproc",      "regprocedure",      "regrole",
    "regtype",         "current_user", "session_user", "current_role",      "current_schema",
    "current_catalog", "system_user",  "user",         "information_schema"};

template <size_t N>
bool InList(std::string_view word, const std::string_view (&list)[N]) {
    for (std::string_view w : list) {
        if (EqualsNoCase(w, word)) return true;
    }
    return false;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c, char lower) {
    return c == lower || c == lower - 'a' + 'A';
}

// A number as every PostgreSQL version reads it whole: digits, then an exponent "e" with digits
// (or without, before the "-" or "+" of "1e-5"). Older versions split "1abc" into 1 and abc.
bool IsWholeNumber(std::string_view w) {
    size_t i = 0;
    while (i < w.size() && IsDigit(w[i])) ++i;
    if (i < w.size() && IsLetter(w[i], 'e')) ++i;
    while (i < w.size() && IsDigit(w[i])) ++i;
    return i == w.size();
}

// Whether PostgreSQL may start a token with this word's last letter: the word is that letter
// alone, or a number ending in it ("1e'x'" is 1 then e'x' in older versions).
bool EndsInPrefixLetter(std::string_view w, char lower) {
    if (w.empty() || !IsLetter(w.back(), lower)) return false;
    return w.size() == 1 || IsDigit(w[0]);
}

std::string Refused(std::string_view why, std::string_view what) {
    return Msg("Requête refusée : ") + Msg(why) + std::string(what);
}

std::string CatalogRefusal(std::string_view name, std::string_view written) {
    if (StartsWithNoCase(name, "pg_") || InList(name, kCatalogNames)) {
        return Refused("accès au catalogue non autorisé : ", written);
    }
    return {};
}

bool IsAt(const std::vector<Token>& tokens, size_t i, Tok kind) {
    return i < tokens.size() && tokens[i].kind == kind;
}

std::string WordRefusal(const std::vector<Token>& tokens, size_t i, bool inInsert,
                        const NameSpelling& names) {
    const std::string_view w = tokens[i].text;
    if (w.find('$') != std::string_view::npos) return Refused("syntaxe non autorisée : ", w);
    if (IsDigit(w[0]) && !IsWholeNumber(w)) return Refused("syntaxe non autorisée : ", w);
    if (std::string c = CatalogRefusal(w, w); !c.empty()) return c;
    // E'...' reads backslash escapes, U&"..." and U&'...' Unicode escapes.
    if (EndsInPrefixLetter(w, 'e') && IsAt(tokens, i + 1, Tok::Literal)) {
        return Refused("syntaxe non autorisée : ",
                       std::string(w) + std::string(tokens[i + 1].text));
    }
    if (EndsInPrefixLetter(w, 'u') && i + 1 < tokens.size() && IsPunct(tokens[i + 1], '&') &&
        (IsAt(tokens, i + 2, Tok::Literal) || IsAt(tokens, i + 2, Tok::Quoted))) {
        return Refused("syntaxe non autorisée : ", std::string(w) + "&");
    }
    // Outside INSERT INTO, an INTO creates a table (SELECT ... INTO).
    if (!inInsert && IsWord(tokens[i], "into")) return Refused("syntaxe non autorisée : ", w);
    if (FollowedByParen(tokens, i) && !InList(w, kKeywordsBeforeParen) && !InList(w, kFunctions) &&
        !names.Find(w)) {
        return Refused("fonction non autorisée : ", w);
    }
    return {};
}

std::string QuotedRefusal(const std::vector<Token>& tokens, size_t i, const NameSpelling& names) {
    const std::string name = NameOf(tokens[i]);
    if (std::string c = CatalogRefusal(name, tokens[i].text); !c.empty()) return c;
    // A quoted name before "(" calls a function as surely as a word does.
    if (FollowedByParen(tokens, i) && !InList(name, kFunctions) && !names.Find(name)) {
        return Refused("fonction non autorisée : ", tokens[i].text);
    }
    return {};
}

std::string CommentRefusal(std::string_view c) {
    // PostgreSQL nests block comments and ends a line comment at a CR too.
    const bool block = c.size() > 1 && c[1] == '*';
    if (block && c.find("/*", 2) != std::string_view::npos) {
        return Refused("syntaxe non autorisée : ", c);
    }
    if (!block && c.find('\r') < c.size() - 1) return Refused("syntaxe non autorisée : ", c);
    return {};
}

std::string PunctRefusal(const std::vector<Token>& tokens, size_t i) {
    switch (tokens[i].text[0]) {
        case ';':
            return Msg("Requête refusée : une seule instruction par requête");
        case '?':
            return Refused("syntaxe non autorisée : ", "?");
        case ':':
            if (i + 1 < tokens.size() && IsPunct(tokens[i + 1], ':')) {
                return Refused("syntaxe non autorisée : ", "::");
            }
            if (IsAt(tokens, i + 1, Tok::Word)) {
                const std::string_view name = tokens[i + 1].text;
                if (name != "NewID" && name != "NewIDbis") {
                    return Refused("paramètre inconnu :", name);
                }
            }
            return {};
        default:
            return {};
    }
}

}  // namespace

std::string PgClientRefusal(const std::vector<Token>& tokens, const NameSpelling& names) {
    const size_t first = NextSolid(tokens, 0);
    const bool inInsert = first < tokens.size() && IsWord(tokens[first], "insert");
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        std::string refusal;
        switch (t.kind) {
            case Tok::Word:
                // The name of a parameter is checked with its ":".
                if (i > 0 && IsPunct(tokens[i - 1], ':')) break;
                refusal = WordRefusal(tokens, i, inInsert, names);
                break;
            case Tok::Quoted:
                refusal = QuotedRefusal(tokens, i, names);
                break;
            case Tok::Comment:
                refusal = CommentRefusal(t.text);
                break;
            case Tok::Punct:
                refusal = PunctRefusal(tokens, i);
                break;
            case Tok::Date:  // left by a text that skipped the Access pass: "#" is an operator
                refusal = Refused("syntaxe non autorisée : ", t.text);
                break;
            case Tok::Blank:
            case Tok::Literal:
                break;
        }
        if (!refusal.empty()) return refusal;
    }
    return {};
}

}  // namespace tarmel::dataserver
