// Access-dialect translation over a small SQL tokenizer.
#include "dataserver/dialect.h"

#include <vector>

#include "dataserver/datetext.h"
#include "dataserver/textutil.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

namespace {

enum class Tok { Blank, Comment, Word, Literal, Quoted, Date, Punct };

struct Token {
    Tok kind;
    std::string_view text;
};

bool IsWordChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// Splits the text into tokens; returns false with a message on an unterminated construct.
bool Tokenize(std::string_view sql, std::vector<Token>& out, std::string& error) {
    size_t i = 0;
    const size_t n = sql.size();
    auto closeQuoted = [&](size_t start, char close, bool doubledEscapes) -> size_t {
        size_t j = start + 1;
        while (j < n) {
            if (sql[j] == close) {
                if (doubledEscapes && j + 1 < n && sql[j + 1] == close) {
                    j += 2;
                    continue;
                }
                return j + 1;
            }
            ++j;
        }
        return std::string_view::npos;
    };
    while (i < n) {
        char c = sql[i];
        size_t start = i;
        if (IsBlank(c)) {
            while (i < n && IsBlank(sql[i])) ++i;
            out.push_back({Tok::Blank, sql.substr(start, i - start)});
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            while (i < n && sql[i] != '\n') ++i;
            out.push_back({Tok::Comment, sql.substr(start, i - start)});
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            size_t end = sql.find("*/", i + 2);
            if (end == std::string_view::npos) {
                error = tarmel::Latin1FromUtf8("Commentaire non terminé dans la requête");
                return false;
            }
            i = end + 2;
            out.push_back({Tok::Comment, sql.substr(start, i - start)});
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            char close = c == '[' ? ']' : c;
            size_t end = closeQuoted(i, close, c != '[');
            if (end == std::string_view::npos) {
                error = c == '\'' ? tarmel::Latin1FromUtf8("Texte non terminé dans la requête")
                                  : tarmel::Latin1FromUtf8(
                                        "Nom entre délimiteurs non terminé dans la requête");
                return false;
            }
            i = end;
            out.push_back({c == '\'' ? Tok::Literal : Tok::Quoted, sql.substr(start, i - start)});
        } else if (c == '#') {
            size_t end = sql.find('#', i + 1);
            if (end == std::string_view::npos) {
                error = tarmel::Latin1FromUtf8("Date non terminée dans la requête");
                return false;
            }
            i = end + 1;
            out.push_back({Tok::Date, sql.substr(start, i - start)});
        } else if (IsWordChar(static_cast<unsigned char>(c))) {
            while (i < n && IsWordChar(static_cast<unsigned char>(sql[i]))) ++i;
            out.push_back({Tok::Word, sql.substr(start, i - start)});
        } else {
            ++i;
            out.push_back({Tok::Punct, sql.substr(start, 1)});
        }
    }
    return true;
}

bool IsPunct(const Token& t, char c) {
    return t.kind == Tok::Punct && t.text[0] == c;
}
bool IsWord(const Token& t, std::string_view w) {
    return t.kind == Tok::Word && EqualsNoCase(t.text, w);
}
bool IsSpace(const Token& t) {
    return t.kind == Tok::Blank || t.kind == Tok::Comment;
}

// Index of the next token that is not blank or comment, or tokens.size().
size_t NextSolid(const std::vector<Token>& tokens, size_t from) {
    while (from < tokens.size() && IsSpace(tokens[from])) ++from;
    return from;
}

}  // namespace

DialectResult TranslateDialect(std::string_view sql) {
    DialectResult result;
    std::vector<Token> tokens;
    if (!Tokenize(sql, tokens, result.error)) return result;

    // A trailing ";" (after the last solid token) is dropped.
    size_t last = tokens.size();
    while (last > 0 && IsSpace(tokens[last - 1])) --last;
    size_t dropSemicolon = std::string_view::npos;
    if (last > 0 && IsPunct(tokens[last - 1], ';')) dropSemicolon = last - 1;

    std::string& out = result.sql;
    out.reserve(sql.size() + 16);
    // One entry per open parenthesis: true when it opened an isNull( call.
    std::vector<bool> parens;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (i == dropSemicolon) continue;
        switch (t.kind) {
            case Tok::Date: {
                std::string iso;
                if (!IsoFromAccessDate(t.text.substr(1, t.text.size() - 2), iso)) {
                    result.error = tarmel::Latin1FromUtf8("Date invalide dans la requête : ") +
                                   std::string(t.text);
                    return result;
                }
                out += '\'';
                out += iso;
                out += '\'';
                break;
            }
            case Tok::Word: {
                if (IsWord(t, "delete")) {
                    size_t star = NextSolid(tokens, i + 1);
                    if (star < tokens.size() && IsPunct(tokens[star], '*')) {
                        size_t from = NextSolid(tokens, star + 1);
                        if (from < tokens.size() && IsWord(tokens[from], "from")) {
                            out += t.text;
                            out += ' ';
                            i = from - 1;  // continue with "From"
                            break;
                        }
                    }
                }
                if (IsWord(t, "isnull")) {
                    size_t open = NextSolid(tokens, i + 1);
                    if (open < tokens.size() && IsPunct(tokens[open], '(')) {
                        out += "((";
                        parens.push_back(true);
                        i = open;
                        break;
                    }
                }
                out += t.text;
                break;
            }
            case Tok::Punct:
                if (t.text[0] == '(') {
                    parens.push_back(false);
                } else if (t.text[0] == ')' && !parens.empty()) {
                    bool wasIsNull = parens.back();
                    parens.pop_back();
                    if (wasIsNull) {
                        out += ") IS NULL)";
                        break;
                    }
                }
                out += t.text;
                break;
            default:
                out += t.text;
                break;
        }
    }
    for (bool isNull : parens) {
        if (isNull) {
            result.error =
                tarmel::Latin1FromUtf8("Parenthèse manquante après isNull dans la requête");
            result.sql.clear();
            return result;
        }
    }
    result.ok = true;
    return result;
}

}  // namespace tarmel::dataserver
