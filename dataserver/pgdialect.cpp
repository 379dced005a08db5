// The PostgreSQL pass: names quoted with the schema's spelling, aliases kept as declared, and the
// few words and placeholders PostgreSQL spells otherwise.
#include "dataserver/pgdialect.h"

#include <algorithm>

#include "dataserver/pgclientlimits.h"
#include "dataserver/sqltokens.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

void NameSpelling::Add(std::string_view name) {
    byLowerName_.emplace(LowerAscii(name), std::string(name));
}

const std::string* NameSpelling::Find(std::string_view name) const {
    auto it = byLowerName_.find(LowerAscii(name));
    return it == byLowerName_.end() ? nullptr : &it->second;
}

namespace {

using Aliases = std::unordered_map<std::string, std::string>;  // lower-cased -> as declared

bool StartsWithDigit(std::string_view w) {
    return !w.empty() && w[0] >= '0' && w[0] <= '9';
}

void AppendQuoted(std::string& out, std::string_view name) {
    out += '"';
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// The names declared by "AS name" that are not the schema's. The AS of CAST(x AS type) names a
// type; AS before SELECT, VALUES or WITH starts a query, and before a call it names no column.
Aliases CollectAliases(const std::vector<Token>& tokens, const NameSpelling& names) {
    Aliases aliases;
    std::vector<bool> castParens;  // one per open "(": whether it opened a CAST
    size_t lastSolid = tokens.size();
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (IsSpace(t)) continue;
        if (IsPunct(t, '(')) {
            castParens.push_back(lastSolid < tokens.size() && IsWord(tokens[lastSolid], "cast"));
        } else if (IsPunct(t, ')') && !castParens.empty()) {
            castParens.pop_back();
        } else if (IsWord(t, "as") && (castParens.empty() || !castParens.back())) {
            const size_t n = NextSolid(tokens, i + 1);
            if (n < tokens.size() &&
                (tokens[n].kind == Tok::Word || tokens[n].kind == Tok::Quoted) &&
                !IsWord(tokens[n], "select") && !IsWord(tokens[n], "values") &&
                !IsWord(tokens[n], "with") && !StartsWithDigit(tokens[n].text) &&
                !FollowedByParen(tokens, n)) {
                std::string name = NameOf(tokens[n]);
                if (!name.empty() && !names.Find(name)) aliases.emplace(LowerAscii(name), name);
            }
        }
        lastSolid = i;
    }
    return aliases;
}

PgKind KindOf(const Token& first) {
    if (IsWord(first, "select")) return PgKind::Select;
    if (IsWord(first, "insert")) return PgKind::Insert;
    if (IsWord(first, "update")) return PgKind::Update;
    if (IsWord(first, "delete")) return PgKind::Delete;
    return PgKind::Other;
}

// "$n", apart from a word before or after it that would otherwise take it in.
void AppendPlaceholder(std::string& out, size_t n, bool wordAfter) {
    if (!out.empty() && IsWordChar(static_cast<unsigned char>(out.back()))) out += ' ';
    out += '$';
    out += std::to_string(n);
    if (wordAfter) out += ' ';
}

// The digits of the server's "?N" (the word right after the "?"), empty for a bare "?".
std::string_view PlaceholderDigits(const std::vector<Token>& tokens, size_t i) {
    if (i + 1 >= tokens.size() || tokens[i + 1].kind != Tok::Word) return {};
    const std::string_view w = tokens[i + 1].text;
    const bool number = w.size() < 10 && std::all_of(w.begin(), w.end(),
                                                     [](char c) { return c >= '0' && c <= '9'; });
    return number ? w : std::string_view();
}

// Writes a word or quoted name: the schema's spelling, an alias, or the PostgreSQL word.
void AppendName(std::string& out, const std::vector<Token>& tokens, size_t i,
                const NameSpelling& names, const Aliases& aliases) {
    const Token& t = tokens[i];
    if (t.kind == Tok::Word && StartsWithDigit(t.text)) {
        out += t.text;
        return;
    }
    const std::string name = NameOf(t);
    if (const std::string* spelling = names.Find(name)) {
        AppendQuoted(out, *spelling);
        return;
    }
    const bool call = FollowedByParen(tokens, i);
    if (auto alias = aliases.find(LowerAscii(name)); alias != aliases.end() && !call) {
        AppendQuoted(out, alias->second);
    } else if (t.kind == Tok::Quoted) {
        AppendQuoted(out, name);
    } else if (IsWord(t, "like")) {
        out += "ILIKE";
    } else if (IsWord(t, "ifnull") && call) {
        out += "coalesce";
    } else {
        out += t.text;
    }
}

}  // namespace

PgStatement ToPostgres(std::string_view sql, const NameSpelling& names, PgSource source) {
    PgStatement result;
    std::vector<Token> tokens;
    if (!Tokenize(sql, tokens, result.error)) return result;
    if (source == PgSource::Client) {
        result.error = PgClientRefusal(tokens, names);
        if (!result.error.empty()) return result;
    }

    const size_t first = NextSolid(tokens, 0);
    if (first < tokens.size()) result.kind = KindOf(tokens[first]);
    if (result.kind == PgKind::Insert) {
        const size_t into = NextSolid(tokens, first + 1);
        const size_t table = NextSolid(tokens, into + 1);
        if (table < tokens.size() && IsWord(tokens[into], "into") &&
            (tokens[table].kind == Tok::Word || tokens[table].kind == Tok::Quoted)) {
            const std::string name = NameOf(tokens[table]);
            const std::string* spelling = names.Find(name);
            result.insertTable = spelling ? *spelling : name;
        }
    }

    const Aliases aliases = CollectAliases(tokens, names);
    std::string& out = result.sql;
    out.reserve(sql.size() + sql.size() / 4);
    size_t highest = 0;  // the server's largest placeholder number so far
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        const bool wordNext = i + 1 < tokens.size() && tokens[i + 1].kind == Tok::Word;
        if (t.kind == Tok::Word || t.kind == Tok::Quoted) {
            AppendName(out, tokens, i, names, aliases);
        } else if (source == PgSource::Client && IsPunct(t, ':') && wordNext) {
            const std::string param = ":" + std::string(tokens[++i].text);
            auto known = std::find(result.params.begin(), result.params.end(), param);
            if (known == result.params.end()) {
                result.params.push_back(param);
                known = result.params.end() - 1;
            }
            AppendPlaceholder(out, static_cast<size_t>(known - result.params.begin()) + 1, false);
        } else if (source == PgSource::Server && IsPunct(t, '?')) {
            // "?N" takes its number, a bare "?" the one after the largest so far.
            const std::string_view digits = PlaceholderDigits(tokens, i);
            const size_t n = digits.empty() ? highest + 1 : std::stoul(std::string(digits));
            if (!digits.empty()) ++i;
            highest = std::max(highest, n);
            result.params.push_back("?" + std::string(digits));
            AppendPlaceholder(out, n, digits.empty() && wordNext);
        } else {
            out += t.text;
        }
    }
    result.ok = true;
    return result;
}

std::string StatementVerb(std::string_view sql) {
    std::vector<Token> tokens;
    std::string error;
    if (!Tokenize(sql, tokens, error)) return {};
    std::string verb;
    size_t i = NextSolid(tokens, 0);
    for (int words = 0; words < 2 && i < tokens.size() && tokens[i].kind == Tok::Word; ++words) {
        if (!verb.empty()) verb += ' ';
        for (char c : tokens[i].text) verb += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
        if (!ChangesSchema(verb)) break;
        i = NextSolid(tokens, i + 1);
    }
    return verb;
}

bool ChangesSchema(std::string_view verb) {
    for (std::string_view v : {"CREATE", "DROP", "ALTER", "COMMENT", "GRANT", "REVOKE"}) {
        if (verb.substr(0, v.size()) == v && (verb.size() == v.size() || verb[v.size()] == ' ')) {
            return true;
        }
    }
    return false;
}

}  // namespace tarmel::dataserver
