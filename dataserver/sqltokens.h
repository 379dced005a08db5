// A small SQL tokenizer: enough to tell literals, quoted names, dates and comments from the words
// and punctuation around them, so that a translation never changes what is inside them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarmel::dataserver {

// Literal: '...' ('' inside). Quoted: "..." ("" inside), `...` (`` inside) or [...] (no escape).
// Date: #...#. Comment: -- up to the line feed (excluded), or /* ... */ (not nested).
// Word: a run of ASCII letters, digits, "_", "$" and bytes from 0x80. Punct: any other byte.
enum class Tok { Blank, Comment, Word, Literal, Quoted, Date, Punct };

struct Token {
    Tok kind;
    std::string_view text;  // a view into the tokenized text
};

bool IsWordChar(unsigned char c);

// Splits the text into tokens; returns false with a message on an unterminated construct.
bool Tokenize(std::string_view sql, std::vector<Token>& out, std::string& error);

bool IsPunct(const Token& t, char c);
bool IsWord(const Token& t, std::string_view w);  // w in any ASCII case
bool IsSpace(const Token& t);                     // a blank or a comment

// The name a Word stands for (its text) or a Quoted token (without delimiters and escapes).
std::string NameOf(const Token& t);

// Index of the next token that is not blank or comment, or tokens.size().
size_t NextSolid(const std::vector<Token>& tokens, size_t from);
// Whether the next solid token after tokens[i] is "(" (a call, when tokens[i] is a name).
bool FollowedByParen(const std::vector<Token>& tokens, size_t i);

}  // namespace tarmel::dataserver
