// The SQL tokenizer shared by the dialect translations.
#include "dataserver/sqltokens.h"

#include "server/xml/texttools.h"

namespace tarmel::dataserver {

bool IsWordChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c >= 0x80;
}

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

}  // namespace

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

std::string NameOf(const Token& t) {
    if (t.kind != Tok::Quoted) return std::string(t.text);
    const char close = t.text[0] == '[' ? ']' : t.text[0];
    const std::string_view inner = t.text.substr(1, t.text.size() - 2);
    std::string name;
    for (size_t i = 0; i < inner.size(); ++i) {
        name += inner[i];
        if (close != ']' && inner[i] == close) ++i;  // the second of a doubled delimiter
    }
    return name;
}

size_t NextSolid(const std::vector<Token>& tokens, size_t from) {
    while (from < tokens.size() && IsSpace(tokens[from])) ++from;
    return from;
}

bool FollowedByParen(const std::vector<Token>& tokens, size_t i) {
    const size_t next = NextSolid(tokens, i + 1);
    return next < tokens.size() && IsPunct(tokens[next], '(');
}

}  // namespace tarmel::dataserver
