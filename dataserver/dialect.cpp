// Access-dialect translation over a small SQL tokenizer.
#include "dataserver/dialect.h"

#include <vector>

#include "dataserver/datetext.h"
#include "dataserver/sqltokens.h"
#include "server/xml/texttools.h"

namespace tarmel::dataserver {

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
